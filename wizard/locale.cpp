// The window in the language of the user's environment: the toolkit in the
// locale that LANG, LC_ALL or LC_CTYPE names, the fonts of the fallback
// resources as font sets where one font cannot show that locale's text,
// and paths shown and read back in the locale's encoding.
#include <X11/Intrinsic.h>
#include <X11/Xresource.h>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <langinfo.h>
#include <string>
#include <vector>

#include "build.h"
#include "wizard.h"

// The one encoding that a single font always covers.
static const char ASCII_CODESET[] = "ANSI_X3.4-1968";
static const char FONT_LIST[] = "fontList";
// What a font set adds behind the resource's font, for the character sets
// that its face lacks (the locale's Cyrillic, Greek, Japanese, Korean and
// Chinese sets, say): a font of the same style and a legible size, then any
// font of the set.  In Motif's syntax, ';' separates the font set's names
// and the closing ':' makes the entry a font set.
static const char FONT_SET_FALLBACKS[] =
    ";-*-*-medium-r-normal--16-*-*-*-*-*-*-*;-*-*-*-*-*-*-*-*-*-*-*-*-*-*:";

// A font list resource as the database holds it.
struct FontListEntry {
    std::vector<XrmBinding> bindings;
    std::vector<XrmQuark> quarks;
    std::string value;
};

// Puts the toolkit into the locale of the user's environment; call before
// the toolkit is initialised.
void UseEnvironmentLocale() {
    XtSetLanguageProc(nullptr, nullptr, nullptr);
}

// Whether the locale's text needs more than the one font a name picks.
static bool LocaleNeedsFontSets() {
    return strcmp(nl_langinfo(CODESET), ASCII_CODESET) != 0;
}

// Whether a font list value names exactly one font, with no tag.
static bool NamesOneFont(const char *value) {
    return value[0] != '\0' && strpbrk(value, ",;:=") == nullptr;
}

// Collects the database's font list resources that name one font.
static Bool CollectSingleFonts(XrmDatabase *, XrmBindingList bindings, XrmQuarkList quarks,
                               XrmRepresentation *, XrmValue *value, XPointer closure) {
    size_t count = 0;
    while (quarks[count] != NULLQUARK)
        count++;
    const char *text = static_cast<const char *>(value->addr);
    if (count > 0 && quarks[count - 1] == XrmPermStringToQuark(FONT_LIST) && NamesOneFont(text)) {
        auto *found = reinterpret_cast<std::vector<FontListEntry> *>(closure);
        found->push_back({std::vector<XrmBinding>(bindings, bindings + count),
                          std::vector<XrmQuark>(quarks, quarks + count + 1), text});
    }
    return False;
}

// Makes every font list resource that names one font a font set led by
// that font, in locales whose text one font cannot show: the same face and
// size wherever the server has it, and a font for every other character set
// of the locale that the server has, so that none is missing.
void FontListsAsFontSets(Display *display) {
    if (!LocaleNeedsFontSets())
        return;
    XrmDatabase database = XtDatabase(display);
    std::vector<FontListEntry> found;
    XrmQuark any = NULLQUARK;
    XrmEnumerateDatabase(database, &any, &any, XrmEnumAllLevels, CollectSingleFonts,
                         reinterpret_cast<XPointer>(&found));
    for (FontListEntry &entry : found)
        XrmQPutStringResource(&database, entry.bindings.data(), entry.quarks.data(),
                              (entry.value + FONT_SET_FALLBACKS).c_str());
}

// A byte that is no character of the locale, shown as the character that it
// is in Latin-1 (the likeliest encoding of an older name), or as '?' where
// that is no printable character of the locale.
static std::string ShownByte(unsigned char byte) {
    const wchar_t latin1 = static_cast<wchar_t>(byte);
    char character[MB_LEN_MAX];
    mbstate_t state = {};
    size_t length = iswprint(latin1) ? wcrtomb(character, latin1, &state) : static_cast<size_t>(-1);
    return length == static_cast<size_t>(-1) ? std::string("?") : std::string(character, length);
}

// A path as a text in the locale's encoding, for a widget to show: its
// characters as they are, and each byte that is no character of a multibyte
// locale as a character that stands for it.
std::string ShownInLocale(const std::string &path) {
    if (MB_CUR_MAX == 1)
        return path;
    std::string shown;
    mbstate_t state = {};
    for (size_t at = 0; at < path.size();) {
        size_t length = mbrtowc(nullptr, path.data() + at, path.size() - at, &state);
        if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2)) {
            shown += ShownByte(static_cast<unsigned char>(path[at++]));
            state = {};
            continue;
        }
        shown.append(path, at, length);
        at += length;
    }
    return shown;
}
