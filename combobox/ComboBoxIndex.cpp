// DtComboBox: an index of the texts of the list's items, so that adding an
// item that is not in the list yet (the usual case) needs no walk through
// the whole list.  It only ever says "certainly not there" or "perhaps
// there"; a compound-string comparison along the list decides the latter.
#include <cstdlib>
#include <string>
#include <unordered_map>

#include <Xm/XmP.h>

#include "ComboBoxI.h"

struct _DtComboBoxItemIndex {
    std::unordered_map<size_t, int> textCounts;     // text hash -> items with it
    XmStringTable table = nullptr;                  // the list's table and count
    int count = 0;                                  // when last brought up to date
};

// Appends a text component to key; wide characters as multibyte text, so
// that the same text keys alike whatever form it takes.
static void AppendText(std::string &key, XmStringComponentType type, unsigned int length,
                       XtPointer value)
{
    if (type == XmSTRING_COMPONENT_TEXT || type == XmSTRING_COMPONENT_LOCALE_TEXT) {
        key.append((const char *)value, length);
    } else if (type == XmSTRING_COMPONENT_WIDECHAR_TEXT) {
        std::wstring wide((const wchar_t *)value, length / sizeof(wchar_t));
        size_t size = wcstombs(nullptr, wide.c_str(), 0);
        if (size != (size_t)-1) {
            std::string text(size, '\0');
            wcstombs(&text[0], wide.c_str(), size);
            key += text;
        }
    }
}

// A hash of an item's text components: items that compare equal have the
// same text, so they hash alike.
static size_t TextHash(XmString item)
{
    std::string key;
    XmStringContext context;
    if (item && XmStringInitContext(&context, item)) {
        for (;;) {
            unsigned int length = 0;
            XtPointer value = nullptr;
            XmStringComponentType type = XmStringGetNextTriple(context, &length, &value);
            AppendText(key, type, length, value);
            XtFree((char *)value);
            if (type == XmSTRING_COMPONENT_END)
                break;
        }
        XmStringFreeContext(context);
    }
    return std::hash<std::string>()(key);
}

// Notes the list's table and count as those the index describes.
static void MarkUpToDate(DtComboBoxItemIndex *index, DtComboBoxWidget cb)
{
    index->table = ListItems(cb);
    index->count = ListItemCount(cb);
}

// Indexes the list's items from scratch.
static DtComboBoxItemIndex *BuildIndex(DtComboBoxWidget cb)
{
    DtComboBoxItemIndex *index = new DtComboBoxItemIndex;
    MarkUpToDate(index, cb);
    index->textCounts.reserve(index->count);
    for (int i = 0; i < index->count && index->table; i++)
        index->textCounts[TextHash(index->table[i])]++;
    return index;
}

// The index if it still describes the list: one changed behind the combo
// box's back is dropped.
static DtComboBoxItemIndex *ValidIndex(DtComboBoxWidget cb)
{
    DtComboBoxItemIndex *index = cb->combo_box.itemIndex;
    if (index && (index->table != ListItems(cb) || index->count != ListItemCount(cb))) {
        ForgetItemIndex(cb);
        return nullptr;
    }
    return index;
}

Boolean ListMayHold(DtComboBoxWidget cb, XmString item)
{
    DtComboBoxItemIndex *index = ValidIndex(cb);
    if (!index)
        index = cb->combo_box.itemIndex = BuildIndex(cb);
    return index->textCounts.count(TextHash(item)) > 0;
}

void IndexItem(DtComboBoxWidget cb, XmString item, int change)
{
    DtComboBoxItemIndex *index = ValidIndex(cb);
    if (!index)
        return;
    auto entry = index->textCounts.emplace(TextHash(item), 0).first;
    entry->second += change;
    if (entry->second <= 0)
        index->textCounts.erase(entry);
}

void IndexFollowsList(DtComboBoxWidget cb)
{
    if (cb->combo_box.itemIndex)
        MarkUpToDate(cb->combo_box.itemIndex, cb);
}

void ForgetItemIndex(DtComboBoxWidget cb)
{
    delete cb->combo_box.itemIndex;
    cb->combo_box.itemIndex = nullptr;
}
