// DtComboBox: a Motif manager that shows a text field or a label beside an
// arrow; the arrow drops down a scrolled list in a pop-up shell.
//
// This file holds the class record, the resources, the life of an instance
// (initialize, geometry, set_values, destroy) and the public functions.  The
// drop-down, the actions and the drawn arrow live in ComboBoxDropDown.cpp.
#include <climits>
#include <strings.h>
#include <vector>

#include <Xm/XmP.h>
#include <Xm/DrawP.h>
#include <Xm/ArrowB.h>
#include <Xm/DrawnB.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/ListP.h>
#include <Xm/Separator.h>
#include <Xm/TextF.h>
#include <X11/Shell.h>

#include "ComboBoxI.h"

static void ClassInitialize();
static void Initialize(Widget request, Widget w, ArgList args, Cardinal *count);
static void Destroy(Widget w);
static void Resize(Widget w);
static void Redisplay(Widget w, XEvent *event, Region region);
static Boolean SetValues(Widget current, Widget request, Widget w, ArgList args, Cardinal *count);
static XtGeometryResult GeometryManager(Widget child, XtWidgetGeometry *request,
                                        XtWidgetGeometry *reply);
static XmNavigability WidgetNavigable(Widget w);
static XmImportOperator ImportUnchanged(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetArrowSize(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetLabelString(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListItemCount(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListItems(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListFontList(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListMarginHeight(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListMarginWidth(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListSpacing(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetListTopItemPosition(Widget w, int offset, XtArgVal *value);
static void _DtComboBoxGetTextField(Widget w, int offset, XtArgVal *value);

// Shared by every combo box of the process.
static XmString defaultLabelString;
static Visual *popupVisual;
static int popupDepth;
static XtTranslations comboTable, labelTable, textFieldTable, listCancelTable;

static const char invalidAlignment[] =
    "DtComboButtonWidget: Invalid alignment resource (defaulting to XmALIGNMENT_BEGINNING).";
static const char invalidOrientation[] =
    "DtComboButtonWidget: Invalid orientation resource (defaulting to ComboOrientationRight).";
static const char invalidVisibleItemCount[] =
    "DtComboButtonWidget: Invalid visibleItemCount resource (defaulting to 10).";
static const char invalidTopItemPosition[] =
    "DtComboButtonWidget: Invalid topItemPosition resource (defaulting to 1).";
static const char cannotSetPoppedUp[] =
    "DtComboButtonWidget: Unable to set poppedUp resource.";
static const char invalidItemCount[] =
    "DtComboButtonWidget: Invalid itemCount resource (defaulting to 0).";
static const char invalidSelectedPosition[] =
    "DtComboButtonWidget: Invalid selectedPosition resource (defaulting to 0).";
static const char invalidType[] =
    "DtComboButtonWidget: Invalid type resource (defaulting to ComboTypeLabel).";
static const char invalidArrowType[] =
    "DtComboButtonWidget: Invalid arrowType resource (defaulting to ComboArrowDrawn).";
static const char cannotSetTextField[] =
    "DtComboButtonWidget: Unable to set textField resource.";
static const char itemToSetNotFound[] =
    "DtComboBoxWidget: Unable to find item to set (ZVKDtComboBoxSetItem).";
static const char itemToSelectNotFound[] =
    "DtComboBoxWidget: Unable to find item to select (ZVKDtComboBoxSelectItem).";

static const Dimension unsetSpacing = 0xFFFF;
static const int defaultVisibleItemCount = 10;
static const Dimension smallestArrow = 13;

static XtActionsRec actions[] = {
    {"ComboBoxFocusIn", ComboBoxFocusIn},
    {"ComboBoxFocusOut", ComboBoxFocusOut},
    {"ComboBoxActivate", ComboBoxActivate},
    {"ComboBoxKbdCancel", ComboBoxKbdCancel},
};

#define offset(field) XtOffsetOf(DtComboBoxRec, combo_box.field)
static XtResource resources[] = {
    {DtNshadowThickness, XmCShadowThickness, XmRHorizontalDimension, sizeof(Dimension),
     XtOffsetOf(DtComboBoxRec, manager.shadow_thickness), XmRImmediate, (XtPointer)1},
    {DtNactivateCallback, XmCCallback, XmRCallback, sizeof(XtCallbackList),
     offset(activateCallback), XmRCallback, nullptr},
    {DtNalignment, XmCAlignment, XmRAlignment, sizeof(unsigned char),
     offset(alignment), XmRImmediate, (XtPointer)XmALIGNMENT_BEGINNING},
    {DtNarrowSpacing, DtCArrowSpacing, XmRHorizontalDimension, sizeof(Dimension),
     offset(arrowSpacing), XmRImmediate, (XtPointer)0},
    {DtNarrowType, DtCArrowType, DtRArrowType, sizeof(unsigned char),
     offset(arrowType), XmRImmediate, (XtPointer)ComboArrowDrawn},
    {DtNcolumns, XmCColumns, XmRShort, sizeof(short),
     offset(columns), XmRImmediate, (XtPointer)20},
    {DtNfocusCallback, XmCCallback, XmRCallback, sizeof(XtCallbackList),
     offset(focusCallback), XmRCallback, nullptr},
    {DtNhorizontalSpacing, DtCHorizontalSpacing, XmRHorizontalDimension, sizeof(Dimension),
     offset(horizontalSpacing), XmRImmediate, (XtPointer)(long)unsetSpacing},
    {DtNitemCount, XmCItemCount, XmRInt, sizeof(int),
     offset(itemCount), XmRImmediate, (XtPointer)0},
    {DtNitems, XmCItems, XmRXmStringTable, sizeof(XmStringTable),
     offset(items), XmRImmediate, nullptr},
    {DtNlabelString, XmCXmString, XmRXmString, sizeof(XmString),
     offset(labelString), XmRImmediate, nullptr},
    {DtNlist, DtCList, XmRWidget, sizeof(Widget),
     offset(list), XmRImmediate, nullptr},
    {DtNlistFontList, DtCListFontList, XmRFontList, sizeof(XmFontList),
     offset(listFontList), XmRImmediate, nullptr},
    {DtNlistMarginHeight, DtCListMarginHeight, XmRVerticalDimension, sizeof(Dimension),
     offset(listMarginHeight), XmRImmediate, (XtPointer)2},
    {DtNlistMarginWidth, DtCListMarginWidth, XmRHorizontalDimension, sizeof(Dimension),
     offset(listMarginWidth), XmRImmediate, (XtPointer)2},
    {DtNlistSpacing, DtCListSpacing, XmRDimension, sizeof(Dimension),
     offset(listSpacing), XmRImmediate, (XtPointer)0},
    {DtNlosingFocusCallback, XmCCallback, XmRCallback, sizeof(XtCallbackList),
     offset(losingFocusCallback), XmRCallback, nullptr},
    {DtNmarginHeight, XmCMarginHeight, XmRVerticalDimension, sizeof(Dimension),
     offset(marginHeight), XmRImmediate, (XtPointer)2},
    {DtNmarginWidth, XmCMarginWidth, XmRHorizontalDimension, sizeof(Dimension),
     offset(marginWidth), XmRImmediate, (XtPointer)2},
    {DtNmaxLength, XmCMaxLength, XmRInt, sizeof(int),
     offset(maxLength), XmRImmediate, (XtPointer)INT_MAX},
    {DtNmenuPostCallback, XmCCallback, XmRCallback, sizeof(XtCallbackList),
     offset(menuPostCallback), XmRCallback, nullptr},
    {DtNorientation, XmCOrientation, DtRComboOrientation, sizeof(unsigned char),
     offset(orientation), XmRImmediate, (XtPointer)ComboOrientationRight},
    {DtNpoppedUp, DtCPoppedUp, XmRBoolean, sizeof(Boolean),
     offset(poppedUp), XmRImmediate, (XtPointer)False},
    {DtNrecomputeSize, XmCRecomputeSize, XmRBoolean, sizeof(Boolean),
     offset(recomputeSize), XmRImmediate, (XtPointer)True},
    {DtNselectedItem, XmCXmString, XmRXmString, sizeof(XmString),
     offset(selectedItem), XmRImmediate, nullptr},
    {DtNselectedPosition, DtCSelectedPosition, XmRInt, sizeof(int),
     offset(selectedPosition), XmRImmediate, (XtPointer)0},
    {DtNselectionCallback, XmCCallback, XmRCallback, sizeof(XtCallbackList),
     offset(selectionCallback), XmRCallback, nullptr},
    {DtNtextField, DtCTextField, XmRWidget, sizeof(Widget),
     offset(textField), XmRImmediate, nullptr},
    {DtNtopItemPosition, XmCTopItemPosition, XmRInt, sizeof(int),
     offset(topItemPosition), XmRImmediate, (XtPointer)1},
    {DtNtype, DtCType, DtRType, sizeof(unsigned char),
     offset(type), XmRImmediate, (XtPointer)ComboTypeLabel},
    {DtNupdateLabel, DtCUpdateLabel, XmRBoolean, sizeof(Boolean),
     offset(updateLabel), XmRImmediate, (XtPointer)True},
    {DtNvisibleItemCount, XmCVisibleItemCount, XmRInt, sizeof(int),
     offset(visibleItemCount), XmRImmediate, (XtPointer)(long)defaultVisibleItemCount},
    {DtNverticalSpacing, DtCVerticalSpacing, XmRVerticalDimension, sizeof(Dimension),
     offset(verticalSpacing), XmRImmediate, (XtPointer)(long)unsetSpacing},
    {DtNrenderTable, XmCRenderTable, XmRRenderTable, sizeof(XmRenderTable),
     offset(renderTable), XmRImmediate, nullptr},
    {DtNvalueChangedCallback, XmCCallback, XmRCallback, sizeof(XtCallbackList),
     offset(valueChangedCallback), XmRCallback, nullptr},
};

static XmSyntheticResource syntheticResources[] = {
    {DtNarrowSize, sizeof(Dimension), offset(arrowSize),
     _DtComboBoxGetArrowSize, ImportUnchanged},
    {DtNlabelString, sizeof(XmString), offset(labelString),
     _DtComboBoxGetLabelString, ImportUnchanged},
    {DtNitemCount, sizeof(int), offset(itemCount),
     _DtComboBoxGetListItemCount, ImportUnchanged},
    {DtNitems, sizeof(XmStringTable), offset(items),
     _DtComboBoxGetListItems, ImportUnchanged},
    {DtNlistFontList, sizeof(XmFontList), offset(listFontList),
     _DtComboBoxGetListFontList, ImportUnchanged},
    {DtNlistMarginHeight, sizeof(Dimension), offset(listMarginHeight),
     _DtComboBoxGetListMarginHeight, ImportUnchanged},
    {DtNlistMarginWidth, sizeof(Dimension), offset(listMarginWidth),
     _DtComboBoxGetListMarginWidth, ImportUnchanged},
    {DtNlistSpacing, sizeof(Dimension), offset(listSpacing),
     _DtComboBoxGetListSpacing, ImportUnchanged},
    {DtNtopItemPosition, sizeof(int), offset(topItemPosition),
     _DtComboBoxGetListTopItemPosition, ImportUnchanged},
    {DtNtextField, sizeof(Widget), offset(textField),
     _DtComboBoxGetTextField, ImportUnchanged},
};
#undef offset

static XmBaseClassExtRec baseClassExtension = {
    nullptr,                            // next_extension
    NULLQUARK,                          // record_type, XmQmotif at class init
    XmBaseClassExtVersion,              // version
    sizeof(XmBaseClassExtRec),          // record_size
    XmInheritInitializePrehook,         // initializePrehook
    XmInheritSetValuesPrehook,          // setValuesPrehook
    XmInheritInitializePosthook,        // initializePosthook
    XmInheritSetValuesPosthook,         // setValuesPosthook
    XmInheritClass,                     // secondaryObjectClass
    XmInheritSecObjectCreate,           // secondaryObjectCreate
    XmInheritGetSecResData,             // getSecResData
    {0},                                // flags
    XmInheritGetValuesPrehook,          // getValuesPrehook
    XmInheritGetValuesPosthook,         // getValuesPosthook
    XmInheritClassPartInitPrehook,      // classPartInitPrehook
    XmInheritClassPartInitPosthook,     // classPartInitPosthook
    nullptr,                            // ext_resources
    nullptr,                            // compiled_ext_resources
    0,                                  // num_ext_resources
    False,                              // use_sub_resources
    WidgetNavigable,                    // widgetNavigable
    XmInheritFocusChange,               // focusChange
    nullptr,                            // wrapperData
};

DtComboBoxClassRec dtComboBoxClassRec = {
    {   // core
        (WidgetClass)&xmManagerClassRec,    // superclass
        "DtComboBox",                       // class_name
        sizeof(DtComboBoxRec),              // widget_size
        ClassInitialize,                    // class_initialize
        nullptr,                            // class_part_initialize
        False,                              // class_inited
        Initialize,                         // initialize
        nullptr,                            // initialize_hook
        XtInheritRealize,                   // realize
        actions,                            // actions
        XtNumber(actions),                  // num_actions
        resources,                          // resources
        XtNumber(resources),                // num_resources
        NULLQUARK,                          // xrm_class
        True,                               // compress_motion
        XtExposeCompressMaximal,            // compress_exposure
        True,                               // compress_enterleave
        False,                              // visible_interest
        Destroy,                            // destroy
        Resize,                             // resize
        Redisplay,                          // expose
        SetValues,                          // set_values
        nullptr,                            // set_values_hook
        XtInheritSetValuesAlmost,           // set_values_almost
        nullptr,                            // get_values_hook
        nullptr,                            // accept_focus
        XtVersion,                          // version
        nullptr,                            // callback_private
        XtInheritTranslations,              // tm_table
        XtInheritQueryGeometry,             // query_geometry
        XtInheritDisplayAccelerator,        // display_accelerator
        &baseClassExtension,                // extension
    },
    {   // composite
        GeometryManager,                    // geometry_manager
        XtInheritChangeManaged,             // change_managed
        XtInheritInsertChild,               // insert_child
        XtInheritDeleteChild,               // delete_child
        nullptr,                            // extension
    },
    {   // constraint
        nullptr,                            // resources
        0,                                  // num_resources
        0,                                  // constraint_size
        nullptr,                            // initialize
        nullptr,                            // destroy
        nullptr,                            // set_values
        nullptr,                            // extension
    },
    {   // manager
        XmInheritTranslations,              // translations
        syntheticResources,                 // syn_resources
        XtNumber(syntheticResources),       // num_syn_resources
        nullptr,                            // syn_constraint_resources
        0,                                  // num_syn_constraint_resources
        XmInheritParentProcess,             // parent_process
        nullptr,                            // extension
    },
    {   // combo box
        nullptr,                            // extension
    },
};

extern "C" {
WidgetClass dtComboBoxWidgetClass = (WidgetClass)&dtComboBoxClassRec;
}

// ---------------------------------------------------------------------------
// Small helpers

// Parses a translation table on first use only: the toolkit never frees
// parsed tables, so parsing for every instance would grow without end.
static XtTranslations ParsedOnce(XtTranslations *table, const char *source)
{
    if (!*table)
        *table = XtParseTranslationTable(source);
    return *table;
}

// Warns through the toolkit, so that applications can catch the message.
static void Warn(Widget w, const char *message)
{
    XtAppWarning(XtWidgetToApplicationContext(w), message);
}

// The arrow width for a content height h: 45 per cent, never below 13.
static Dimension ArrowWidth(int h)
{
    int width = (int)(h * 0.45);
    return width < smallestArrow ? smallestArrow : (Dimension)width;
}

// The text field or the label, whichever the variant shows.
static Widget ContentChild(DtComboBoxWidget cb)
{
    return cb->combo_box.type == ComboTypeTextField ? cb->combo_box.textField
                                                    : cb->combo_box.labelWidget;
}

// Width of the separator in the label variant; the text field has none.
static Dimension SeparatorWidth(DtComboBoxWidget cb)
{
    if (cb->combo_box.type == ComboTypeTextField || !cb->combo_box.separatorWidget)
        return 0;
    return XtWidth(cb->combo_box.separatorWidget);
}

// Resizes a child keeping its border; X refuses windows of size 0.
static void ResizeChild(Widget child, int width, int height)
{
    XtResizeWidget(child, width < 1 ? 1 : width, height < 1 ? 1 : height,
                   XtBorderWidth(child));
}

// The list's count and table are read from its record: they are wanted
// several times for every item added, and a get-values call would cost more
// than the adding itself.
int ListItemCount(DtComboBoxWidget cb)
{
    return ((XmListWidget)cb->combo_box.list)->list.itemCount;
}

XmStringTable ListItems(DtComboBoxWidget cb)
{
    return ((XmListWidget)cb->combo_box.list)->list.items;
}

// The list's item at the current position, or none when out of range.
static XmString CurrentListItem(DtComboBoxWidget cb)
{
    XmStringTable items = ListItems(cb);
    int position = cb->combo_box.selectedPosition;
    if (!items || position < 0 || position >= ListItemCount(cb))
        return nullptr;
    return items[position];
}

// Index of the first list item equal to item, or -1.
static int FindItem(DtComboBoxWidget cb, XmString item)
{
    XmStringTable items = ListItems(cb);
    int count = ListItemCount(cb);
    if (!item || !items || !ListMayHold(cb, item))
        return -1;
    for (int i = 0; i < count; i++)
        if (XmStringCompare(item, items[i]))
            return i;
    return -1;
}

// Public functions accept only combo boxes.
static DtComboBoxWidget AsComboBox(Widget w)
{
    if (!w || !XtIsSubclass(w, dtComboBoxWidgetClass))
        return nullptr;
    return (DtComboBoxWidget)w;
}

// ---------------------------------------------------------------------------
// Keeping the field or label in step with the list

// Reads the list's state back into the combo box's own resource fields.
static void CopyListState(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    XtVaGetValues(p->list,
                  XmNitemCount, &p->itemCount,
                  XmNitems, &p->items,
                  XmNfontList, &p->listFontList,
                  XmNlistMarginHeight, &p->listMarginHeight,
                  XmNlistMarginWidth, &p->listMarginWidth,
                  XmNlistSpacing, &p->listSpacing,
                  XmNtopItemPosition, &p->topItemPosition,
                  nullptr);
}

char *FirstTextSegment(XmString string)
{
    XmStringContext context;
    if (!string || !XmStringInitContext(&context, string))
        return nullptr;
    char *text = nullptr;
    for (;;) {
        unsigned int length = 0;
        XtPointer value = nullptr;
        XmStringComponentType type = XmStringGetNextTriple(context, &length, &value);
        if (type == XmSTRING_COMPONENT_END) {
            XtFree((char *)value);
            break;
        }
        if (type == XmSTRING_COMPONENT_TEXT || type == XmSTRING_COMPONENT_LOCALE_TEXT) {
            text = XtMalloc(length + 1);
            memcpy(text, value, length);
            text[length] = '\0';
            XtFree((char *)value);
            break;
        }
        XtFree((char *)value);
    }
    XmStringFreeContext(context);
    return text;
}

// Drops the memory of a reported edit: the text field shows an item again.
static void ForgetReportedText(DtComboBoxWidget cb)
{
    XtFree(cb->combo_box.reportedText);
    cb->combo_box.reportedText = nullptr;
}

// Sets the text field's text.  The same text again is left alone: setting
// it would only call the value-changed callbacks and redraw, for every one
// of many items added in a row.
static void SetFieldText(Widget textField, const char *text)
{
    char *shown = XmTextFieldGetString(textField);
    if (!shown || strcmp(shown, text) != 0)
        XmTextFieldSetString(textField, const_cast<char *>(text));
    XtFree(shown);
}

void ShowItemInTextField(DtComboBoxWidget cb, XmString item)
{
    if (!item) {
        int count = ListItemCount(cb);
        unsigned position = (unsigned)cb->combo_box.selectedPosition;
        if (count > 0 && position >= (unsigned)count)
            return;             // keep the text until the position is valid again
        item = CurrentListItem(cb);
    }
    cb->combo_box.selectedItem = item;
    ForgetReportedText(cb);
    char *text = FirstTextSegment(item);
    SetFieldText(cb->combo_box.textField, text ? text : "");
    XtFree(text);
}

void ShowItemInLabel(DtComboBoxWidget cb, XmString item, Boolean forceLabel)
{
    DtComboBoxPart *p = &cb->combo_box;
    XmString shown;
    if (!item)
        item = CurrentListItem(cb);
    if (forceLabel || !p->updateLabel) {
        shown = p->labelString ? p->labelString : defaultLabelString;
    } else {
        XmString copy = XmStringCopy(item ? item : defaultLabelString);
        if (p->labelString)
            XmStringFree(p->labelString);
        p->labelString = copy;
        shown = item ? item : copy;
    }
    p->selectedItem = item;
    XtVaSetValues(p->labelWidget, XmNlabelString, shown, nullptr);
}

// Widens *widest and heightens *tallest to take in s, drawn in the label's fonts.
static void TakeInExtent(DtComboBoxWidget cb, XmString s, Dimension *widest, Dimension *tallest)
{
    XmFontList fontList = nullptr;
    XtVaGetValues(cb->combo_box.labelWidget, XmNfontList, &fontList, nullptr);
    Dimension w = 0, h = 0;
    if (s)
        XmStringExtent(fontList, s, &w, &h);
    if (w > *widest) *widest = w;
    if (h > *tallest) *tallest = h;
}

// Gives the label the size of the widest and tallest text it may show.
static void SizeLabel(DtComboBoxWidget cb, Dimension widest, Dimension tallest)
{
    DtComboBoxPart *p = &cb->combo_box;
    p->labelMaxWidth = widest + 4;
    p->labelMaxHeight = tallest;
    ResizeChild(p->labelWidget, p->labelMaxWidth, p->labelMaxHeight);
}

// Sizes the label to the widest and tallest of the items (or the label string).
static void MeasureLabel(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    XmStringTable items = ListItems(cb);
    Dimension widest = 0, tallest = 0;
    int count = ListItemCount(cb);
    if (items && count > 0 && p->updateLabel) {
        for (int i = 0; i < count; i++)
            TakeInExtent(cb, items[i], &widest, &tallest);
    } else {
        TakeInExtent(cb, p->labelString ? p->labelString : defaultLabelString, &widest,
                     &tallest);
    }
    SizeLabel(cb, widest, tallest);
}

// Measures the label after one item joined a list that had others: the
// item can only widen it, so the others need no measuring again.
static void MeasureLabelForAddedItem(DtComboBoxWidget cb, XmString item, int countBefore)
{
    DtComboBoxPart *p = &cb->combo_box;
    if (countBefore == 0 || !p->updateLabel) {
        MeasureLabel(cb);
        return;
    }
    Dimension widest = p->labelMaxWidth - 4, tallest = p->labelMaxHeight;
    TakeInExtent(cb, item, &widest, &tallest);
    SizeLabel(cb, widest, tallest);
}

// Shows the current item in whichever child the variant has.
static void ShowCurrentItem(DtComboBoxWidget cb, Boolean forceLabel)
{
    if (cb->combo_box.type == ComboTypeTextField)
        ShowItemInTextField(cb, nullptr);
    else
        ShowItemInLabel(cb, nullptr, forceLabel);
}

// Has the list highlight the current item after its items changed.
static void HighlightCurrentItem(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    if (CurrentListItem(cb) && !XmListPosSelected(p->list, p->selectedPosition + 1))
        XmListSelectPos(p->list, p->selectedPosition + 1, False);
}

void CurrentItemMayHaveChanged(DtComboBoxWidget cb, XEvent *event)
{
    DtComboBoxPart *p = &cb->combo_box;
    XmString current = CurrentListItem(cb);
    XmString last = p->reportedItem;
    // The same string of the list is the same item: no comparing, for every
    // one of many items added in a row.
    if (current && current == p->reportedListItem)
        return;
    p->reportedListItem = current;
    if (current ? last && XmStringCompare(current, last) : !last)
        return;
    if (last)
        XmStringFree(last);
    p->reportedItem = current ? XmStringCopy(current) : nullptr;
    if (!p->valueChangedCallback)
        return;
    ComboBoxCallbackStruct call = {XmCR_VALUE_CHANGED, event, current, p->selectedPosition};
    XtCallCallbackList((Widget)cb, p->valueChangedCallback, &call);
}

// ---------------------------------------------------------------------------
// Resource checks and children

// Puts invalid resource values right, with a warning for each.  The list
// would read past the end of its table, so a count above the items at hand
// (none without a table; available when known, else -1) is invalid too.
// Positions that the program did not give (the same as in old, the values
// before a change; none at creation) follow the items without a word: an
// empty combo box has no current item, and the first item becomes it.
static void CheckResourceValues(DtComboBoxWidget cb, int available, const DtComboBoxPart *old)
{
    DtComboBoxPart *p = &cb->combo_box;
    Widget w = (Widget)cb;
    if (p->alignment > XmALIGNMENT_END) {
        Warn(w, invalidAlignment);
        p->alignment = XmALIGNMENT_BEGINNING;
    }
    if (p->orientation > ComboOrientationRight) {
        Warn(w, invalidOrientation);
        p->orientation = ComboOrientationRight;
    }
    if (!p->items)
        available = 0;
    if (p->itemCount < 0 || (available >= 0 && p->itemCount > available)) {
        Warn(w, invalidItemCount);
        p->itemCount = 0;
    }
    Boolean outside = (unsigned)p->selectedPosition >= (unsigned)p->itemCount;
    if (outside && p->itemCount > 0 && (!old || p->selectedPosition != old->selectedPosition))
        Warn(w, invalidSelectedPosition);
    if (outside)
        p->selectedPosition = 0;
    if (p->visibleItemCount < 1) {
        Warn(w, invalidVisibleItemCount);
        p->visibleItemCount = defaultVisibleItemCount;
    }
    if (p->topItemPosition < 1 || (p->topItemPosition > 1 && p->topItemPosition > p->itemCount)) {
        if (!old || p->topItemPosition != old->topItemPosition)
            Warn(w, invalidTopItemPosition);
        p->topItemPosition = 1;
    }
    if (p->type > ComboTypeTextField) {
        Warn(w, invalidType);
        p->type = ComboTypeLabel;
    }
    if (p->arrowType > ComboArrowDrawn) {
        Warn(w, invalidArrowType);
        p->arrowType = ComboArrowDrawn;
    }
}

// Hands the text field's callbacks on to the combo box's lists of those names.
static void AddForwarders(DtComboBoxWidget cb, Widget textField)
{
    XtAddCallback(textField, XmNlosingFocusCallback, ForwardLosingFocus, cb);
    XtAddCallback(textField, XmNactivateCallback, ForwardActivate, cb);
    XtAddCallback(textField, XmNfocusCallback, ForwardFocus, cb);
}

// Makes the text field: at creation "Text", steady and with narrow margins;
// on a later change of type "ComboBoxTextField".
static Widget CreateTextField(DtComboBoxWidget cb, Boolean atCreation)
{
    Arg args[6];
    Cardinal n = 0;
    XtSetArg(args[n], XmNcolumns, cb->combo_box.columns); n++;
    XtSetArg(args[n], XmNmaxLength, cb->combo_box.maxLength); n++;
    XtSetArg(args[n], XmNmarginWidth, atCreation ? 1 : 2); n++;
    XtSetArg(args[n], XmNmarginHeight, atCreation ? 1 : 2); n++;
    if (atCreation) {
        XtSetArg(args[n], XmNblinkRate, 0); n++;
    }
    if (cb->combo_box.renderTable) {
        XtSetArg(args[n], XmNrenderTable, cb->combo_box.renderTable); n++;
    }
    Widget textField = XtCreateWidget(atCreation ? "Text" : "ComboBoxTextField",
                                      xmTextFieldWidgetClass, (Widget)cb, args, n);
    XtOverrideTranslations(textField, ParsedOnce(&textFieldTable, textFieldTranslations));
    AddForwarders(cb, textField);
    return textField;
}

// Makes the label that shows the current item in the label variant.
static Widget CreateLabel(DtComboBoxWidget cb, const char *name)
{
    Widget label = XtVaCreateWidget(name, xmLabelWidgetClass, (Widget)cb,
                                    XmNalignment, (int)cb->combo_box.alignment,
                                    XmNrecomputeSize, False,
                                    XmNmarginLeft, 2,
                                    XmNmarginRight, 2,
                                    XmNmarginWidth, 0,
                                    XmNmarginHeight, 0,
                                    XmNstringDirection, (int)cb->manager.string_direction,
                                    nullptr);
    if (cb->combo_box.renderTable)
        XtVaSetValues(label, XmNrenderTable, cb->combo_box.renderTable, nullptr);
    XtOverrideTranslations(label, ParsedOnce(&labelTable, labelTranslations));
    return label;
}

static Widget CreateSeparator(DtComboBoxWidget cb)
{
    return XtVaCreateWidget("ComboBoxSeparator", xmSeparatorWidgetClass, (Widget)cb,
                            XmNorientation, XmVERTICAL, nullptr);
}

// Makes the arrow child of the kind arrowType asks for.
static void CreateArrow(DtComboBoxWidget cb)
{
    Arg args[5];
    Cardinal n = 0;
    XtSetArg(args[n], XmNtraversalOn, False); n++;
    XtSetArg(args[n], XmNhighlightThickness, 0); n++;
    XtSetArg(args[n], XmNshadowThickness, 0); n++;
    Widget arrow;
    if (cb->combo_box.arrowType == ComboArrowButton) {
        XtSetArg(args[n], XmNarrowDirection, XmARROW_DOWN); n++;
        XtSetArg(args[n], XmNforeground, cb->core.background_pixel); n++;
        arrow = XtCreateManagedWidget("ComboBoxArrow", xmArrowButtonWidgetClass,
                                      (Widget)cb, args, n);
    } else {
        arrow = XtCreateManagedWidget("ComboBoxArrow", xmDrawnButtonWidgetClass,
                                      (Widget)cb, args, n);
        XtAddCallback(arrow, XmNexposeCallback, PaintDrawnArrow, cb);
    }
    XtAddCallback(arrow, XmNactivateCallback, PostList, cb);
    XtAddCallback(arrow, XmNarmCallback, DropOnArrowPress, cb);
    cb->combo_box.arrowButton = arrow;
}

// A colormap of the drop-down's visual: the screen's own for its default
// visual, else one made once for each screen and kept for the process.
static Colormap PopupColormap(Screen *screen)
{
    if (popupVisual == DefaultVisualOfScreen(screen) && popupDepth == DefaultDepthOfScreen(screen))
        return DefaultColormapOfScreen(screen);
    struct Made { Screen *screen; Visual *visual; Colormap colormap; };
    static std::vector<Made> made;
    for (const Made &m : made)
        if (m.screen == screen && m.visual == popupVisual)
            return m.colormap;
    Colormap colormap = XCreateColormap(DisplayOfScreen(screen), RootWindowOfScreen(screen),
                                        popupVisual, AllocNone);
    made.push_back({screen, popupVisual, colormap});
    return colormap;
}

// One 16-bit colour channel placed in a TrueColor pixel's mask.
static Pixel ChannelBits(unsigned short value, unsigned long mask)
{
    int shift = 0, width = 0;
    while (mask && !((mask >> shift) & 1))
        shift++;
    while ((mask >> (shift + width)) & 1)
        width++;
    return ((Pixel)(value >> (16 - width)) << shift) & mask;
}

// The pixel of the drop-down's visual for the colour of one of the combo
// box's pixels.  A TrueColor pixel is made of the colour masks alone: the
// server's colormap of a 32-bit visual refuses to look up a pixel with its
// alpha bits set, which it hands out itself.
static Pixel PopupPixel(DtComboBoxWidget cb, Colormap colormap, Pixel pixel)
{
    XColor color;
    color.pixel = pixel;
    XQueryColor(XtDisplay(cb), cb->core.colormap, &color);
    if (popupVisual->c_class == TrueColor)
        return ChannelBits(color.red, popupVisual->red_mask) |
               ChannelBits(color.green, popupVisual->green_mask) |
               ChannelBits(color.blue, popupVisual->blue_mask);
    return XAllocColor(XtDisplay(cb), colormap, &color) ? color.pixel : 0;
}

// Makes the pop-up shell, its frame and the scrolled list.
static void CreateDropDown(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    Arg shellArgs[6];
    Cardinal s = 0;
    XtSetArg(shellArgs[s], XmNoverrideRedirect, True); s++;
    XtSetArg(shellArgs[s], XmNallowShellResize, True); s++;
    XtSetArg(shellArgs[s], XmNsaveUnder, True); s++;
    // Without ZVKDtInitComboBox the shell takes the combo box's own visual:
    // a depth of 0 would leave the toolkit no drawable to make GCs for.
    if (popupVisual && popupDepth > 0) {
        XtSetArg(shellArgs[s], XmNvisual, popupVisual); s++;
        XtSetArg(shellArgs[s], XmNdepth, popupDepth); s++;
        XtSetArg(shellArgs[s], XmNcolormap, PopupColormap(XtScreen(cb))); s++;
    }
    p->popupShell = XtCreatePopupShell("ComboBoxMenuShell", topLevelShellWidgetClass,
                                       (Widget)cb, shellArgs, s);
    p->popupFrame = XtVaCreateManagedWidget("ComboBoxRowColumn", xmFrameWidgetClass,
                                            p->popupShell, nullptr);
    Arg args[14];
    Cardinal n = 0;
    XtSetArg(args[n], XmNuserData, cb); n++;
    Colormap colormap = 0;
    XtVaGetValues(p->popupShell, XmNcolormap, &colormap, nullptr);
    if (colormap != cb->core.colormap) {
        XtSetArg(args[n], XmNbackground, PopupPixel(cb, colormap, cb->core.background_pixel)); n++;
        XtSetArg(args[n], XmNforeground, PopupPixel(cb, colormap, cb->manager.foreground)); n++;
    }
    if (p->listFontList) {
        XtSetArg(args[n], XmNfontList, p->listFontList); n++;
    }
    XtSetArg(args[n], XmNitemCount, p->itemCount); n++;
    XtSetArg(args[n], XmNitems, p->items); n++;
    XtSetArg(args[n], XmNlistMarginHeight, p->listMarginHeight); n++;
    XtSetArg(args[n], XmNlistMarginWidth, p->listMarginWidth); n++;
    XtSetArg(args[n], XmNlistSpacing, p->listSpacing); n++;
    XtSetArg(args[n], XmNstringDirection, cb->manager.string_direction); n++;
    XtSetArg(args[n], XmNtopItemPosition, p->topItemPosition); n++;
    XtSetArg(args[n], XmNvisibleItemCount, DropDownRows(cb, p->itemCount)); n++;
    XtSetArg(args[n], XmNlistSizePolicy, XmRESIZE_IF_POSSIBLE); n++;
    static char listName[] = "List";
    p->list = XmCreateScrolledList(p->popupFrame, listName, args, n);
    XtOverrideTranslations(p->list, ParsedOnce(&listCancelTable, listCancelTranslations));
}

// Connects the list and the shell to the drop-down's handlers.
static void HookUpDropDown(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    XtAddCallback(p->list, XmNdefaultActionCallback, ListItemChosen, cb);
    XtAddCallback(p->list, XmNbrowseSelectionCallback, ListItemChosen, cb);
    XtInsertEventHandler(p->list,
                         ButtonPressMask | ButtonReleaseMask | FocusChangeMask | KeyPressMask,
                         True, ListGrabHandler, cb, XtListHead);
    XtInsertEventHandler(p->popupShell, ButtonPressMask | ButtonReleaseMask, True,
                         ShellPressHandler, cb, XtListHead);
    XtInsertEventHandler(p->popupShell, StructureNotifyMask, False, ShellSizeHandler, cb,
                         XtListHead);
}

// ---------------------------------------------------------------------------
// Geometry and drawing

// Asks the parent for the size that fits the children.
static void RequestPreferredSize(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    Widget content = ContentChild(cb);
    int shadow = cb->manager.shadow_thickness;
    int width = 2 * shadow + 2 * p->horizontalSpacing + SeparatorWidth(cb) + p->arrowSpacing +
                XtWidth(content) + 2 * p->marginWidth + ArrowWidth(XtHeight(content));
    int height = XtHeight(content) + 2 * shadow + 2 * p->verticalSpacing + 2 * p->marginHeight;
    XtMakeResizeRequest((Widget)cb, (Dimension)width, (Dimension)height, nullptr, nullptr);
    p->lastWidth = XtWidth(cb);
    p->lastHeight = XtHeight(cb);
}

// Gives the children their sizes for the combo box's current size.
static void SizeChildren(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    short shadow = cb->manager.shadow_thickness;
    short innerHeight = XtHeight(cb) - 2 * shadow - 2 * p->marginHeight - 2 * p->verticalSpacing;
    short separatorHeight;
    if (innerHeight > 0) {
        separatorHeight = innerHeight + 2 * p->verticalSpacing;
    } else {
        innerHeight = 1;
        separatorHeight = 1;
    }
    short innerWidth = XtWidth(cb) - 2 * shadow - 2 * p->marginWidth - 2 * p->horizontalSpacing;
    Boolean isLabel = p->type == ComboTypeLabel;
    if (isLabel && innerHeight > (int)p->labelMaxHeight)
        innerHeight = p->labelMaxHeight;
    if (!isLabel)
        innerHeight = XtHeight(p->textField);
    Dimension arrowWidth = ArrowWidth(innerHeight);
    short contentWidth = innerWidth - (arrowWidth + SeparatorWidth(cb) + p->arrowSpacing);
    if (contentWidth <= 0)
        contentWidth = 1;
    if (isLabel) {
        if (contentWidth > (int)p->labelMaxWidth)
            contentWidth = p->labelMaxWidth;
        Widget label = p->labelWidget;
        if (XtWidth(label) != contentWidth || XtHeight(label) != innerHeight)
            ResizeChild(label, contentWidth, innerHeight);
        Widget separator = p->separatorWidget;
        if (XtHeight(separator) != separatorHeight)
            ResizeChild(separator, XtWidth(separator), separatorHeight);
    } else if (XtWidth(p->textField) != contentWidth) {
        ResizeChild(p->textField, contentWidth, XtHeight(p->textField));
    }
    Widget arrow = p->arrowButton;
    if (XtWidth(arrow) != arrowWidth || XtHeight(arrow) != innerHeight)
        ResizeChild(arrow, arrowWidth, innerHeight < smallestArrow ? smallestArrow : innerHeight);
}

// Centres a child of the given height in the available height.
static Position CentredY(Position y0, int available, int height)
{
    return available - height < 0 ? y0 : y0 + (available - height) / 2;
}

// Sizes the children and moves them to their places.
static void PlaceChildren(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    int shadow = cb->manager.shadow_thickness;
    Position x0 = shadow + p->marginWidth + p->horizontalSpacing;
    Position y0 = shadow + p->marginHeight + p->verticalSpacing;
    int available = XtHeight(cb) - 2 * y0;
    SizeChildren(cb);
    Widget content = ContentChild(cb);
    Widget arrow = p->arrowButton;
    Widget separator = p->type == ComboTypeLabel ? p->separatorWidget : nullptr;
    Position contentY = CentredY(y0, available, XtHeight(content));
    Position arrowY = CentredY(y0, available, XtHeight(arrow));
    Position separatorY = y0 - p->verticalSpacing;
    if (p->orientation == 0) {
        XtMoveWidget(arrow, x0, arrowY);
        Position x = x0 + XtWidth(arrow);
        if (separator) {
            XtMoveWidget(separator, x, separatorY);
            x += XtWidth(separator);
        }
        x += p->arrowSpacing;
        XtMoveWidget(content, x, contentY);
    } else {
        XtMoveWidget(content, x0, contentY);
        Position x = XtWidth(cb) - x0 - XtWidth(arrow);
        if (separator) {
            x -= XtWidth(separator);
            XtMoveWidget(separator, x, separatorY);
            x += XtWidth(separator);
        }
        XtMoveWidget(arrow, x, arrowY);
    }
}

// Fills four margin bands of a widget of the given size.
static void FillMargins(DtComboBoxWidget cb, GC gc, int width, int height)
{
    int mw = cb->combo_box.marginWidth, mh = cb->combo_box.marginHeight;
    XRectangle bands[4] = {
        {0, 0, (unsigned short)width, (unsigned short)mh},
        {0, (short)(height - mh), (unsigned short)width, (unsigned short)mh},
        {0, 0, (unsigned short)mw, (unsigned short)height},
        {(short)(width - mw), 0, (unsigned short)mw, (unsigned short)height},
    };
    XFillRectangles(XtDisplay(cb), XtWindow(cb), gc, bands, 4);
}

void PaintFocusRing(DtComboBoxWidget cb, Boolean draw)
{
    if (!XtIsRealized((Widget)cb))
        return;
    if (!draw)
        FillMargins(cb, cb->manager.background_GC, cb->combo_box.lastWidth,
                    cb->combo_box.lastHeight);
    else if (XmGetFocusWidget((Widget)cb) == (Widget)cb)
        FillMargins(cb, cb->manager.highlight_GC, XtWidth(cb), XtHeight(cb));
}

// Clears a band of the window; a band of no size clears nothing (X would
// take a zero size as "up to the window's edge").
static void ClearBand(DtComboBoxWidget cb, int x, int y, int width, int height)
{
    if (width > 0 && height > 0)
        XClearArea(XtDisplay(cb), XtWindow(cb), x, y, width, height, False);
}

// Clears the shadow drawn at the last size, and the focus ring.
static void EraseShadow(DtComboBoxWidget cb, Boolean allSides)
{
    DtComboBoxPart *p = &cb->combo_box;
    int s = cb->manager.shadow_thickness;
    if (s != 0 && XtIsRealized((Widget)cb)) {
        int mw = p->marginWidth, mh = p->marginHeight;
        int lw = p->lastWidth, lh = p->lastHeight;
        if (allSides) {
            ClearBand(cb, mw, mh, lw - 2 * mw, s);
            ClearBand(cb, mw, mh, s, lh - 2 * mh);
        }
        ClearBand(cb, mw, lh - mh - s, lw - 2 * mw, s);
        ClearBand(cb, lw - mw - s, mh, s, lh - 2 * mh);
    }
    PaintFocusRing(cb, False);
}

// Draws the raised shadow inside the margins, then the focus ring.
static void PaintShadow(DtComboBoxWidget cb)
{
    int s = cb->manager.shadow_thickness;
    if (s != 0 && XtIsRealized((Widget)cb)) {
        int mw = cb->combo_box.marginWidth, mh = cb->combo_box.marginHeight;
        XmeDrawShadows(XtDisplay(cb), XtWindow(cb), cb->manager.top_shadow_GC,
                       cb->manager.bottom_shadow_GC, mw, mh, XtWidth(cb) - 2 * mw,
                       XtHeight(cb) - 2 * mh, s, XmSHADOW_OUT);
    }
    PaintFocusRing(cb, True);
}

// Lays the combo box out again after a change of its children or resources.
static void Relayout(DtComboBoxWidget cb)
{
    EraseShadow(cb, True);
    if (cb->combo_box.recomputeSize)
        RequestPreferredSize(cb);
    PlaceChildren(cb);
    PaintShadow(cb);
}

// ---------------------------------------------------------------------------
// Class procedures

// The orientation that a resource-file text names: the constant's name, or
// "left" or "right", in any case; -1 for none.
static int OrientationNamed(const char *name)
{
    static const struct { const char *name; int value; } names[] = {
        {"ComboOrientationLeft", ComboOrientationLeft},
        {"left", ComboOrientationLeft},
        {"ComboOrientationRight", ComboOrientationRight},
        {"right", ComboOrientationRight},
        {"0", ComboOrientationLeft},
        {"1", ComboOrientationRight},
    };
    for (const auto &entry : names)
        if (strcasecmp(name, entry.name) == 0)
            return entry.value;
    return -1;
}

// Converts a resource-file orientation by name.
static Boolean CvtStringToComboOrientation(Display *display, XrmValue *, Cardinal *,
                                           XrmValue *from, XrmValue *to, XtPointer *)
{
    static unsigned char value;
    int named = OrientationNamed((const char *)from->addr);
    if (named < 0) {
        XtDisplayStringConversionWarning(display, (const char *)from->addr,
                                         DtRComboOrientation);
        return False;
    }
    value = (unsigned char)named;
    if (!to->addr) {
        to->addr = (XPointer)&value;
    } else if (to->size < sizeof value) {
        to->size = sizeof value;
        return False;
    } else {
        *(unsigned char *)to->addr = value;
    }
    to->size = sizeof value;
    return True;
}

// Marks the base-class extension as Motif's and teaches resource files the
// orientation's names.
static void ClassInitialize()
{
    baseClassExtension.record_type = XmQmotif;
    XtSetTypeConverter(XtRString, DtRComboOrientation, CvtStringToComboOrientation, nullptr, 0,
                       XtCacheAll, nullptr);
}

// Makes the children of the variant, the arrow and the drop-down.
static void Initialize(Widget, Widget w, ArgList, Cardinal *)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)w;
    DtComboBoxPart *p = &cb->combo_box;
    XtOverrideTranslations(w, ParsedOnce(&comboTable, comboTranslations));

    if (!defaultLabelString)
        defaultLabelString = XmStringCreateSimple(const_cast<char *>("ComboBox"));
    Boolean labelWithoutItems = p->labelString && !p->items;
    // Our own copy from the start: showing an item replaces (frees) it.
    p->labelString = XmStringCopy(p->labelString ? p->labelString : defaultLabelString);

    p->textField = p->labelWidget = p->separatorWidget = nullptr;
    p->lastWidth = p->lastHeight = 0;
    p->reportedText = nullptr;
    p->itemIndex = nullptr;
    p->grabRetry = 0;
    p->grabTriesLeft = 0;
    p->pointerGrabbed = p->keyboardGrabbed = False;
    p->droppedByPress = p->focusLent = False;
    p->poppedUp = False;
    p->reportedItem = nullptr;
    p->reportedListItem = nullptr;
    CheckResourceValues(cb, -1, nullptr);

    if (p->type == ComboTypeTextField) {
        p->textField = CreateTextField(cb, True);
        XtManageChild(p->textField);
        if (p->horizontalSpacing == unsetSpacing) p->horizontalSpacing = 0;
        if (p->verticalSpacing == unsetSpacing) p->verticalSpacing = 0;
    } else {
        cb->manager.shadow_thickness = 2;
        p->labelWidget = CreateLabel(cb, "Label");
        XtVaSetValues(p->labelWidget, XmNlabelString, defaultLabelString, nullptr);
        XtManageChild(p->labelWidget);
        if (p->horizontalSpacing == unsetSpacing) p->horizontalSpacing = 1;
        if (p->verticalSpacing == unsetSpacing) p->verticalSpacing = 2;
        p->separatorWidget = CreateSeparator(cb);
        XtManageChild(p->separatorWidget);
    }
    CreateArrow(cb);
    CreateDropDown(cb);

    // The program hears of changes to the current item made after creation.
    XtCallbackList valueChanged = p->valueChangedCallback;
    p->valueChangedCallback = nullptr;
    if (p->selectedItem)
        ZVKDtComboBoxSelectItem(w, p->selectedItem);
    else
        XmListSelectPos(p->list, p->selectedPosition + 1, False);
    p->valueChangedCallback = valueChanged;
    CopyListState(cb);
    XtManageChild(p->list);

    XtRealizeWidget(p->popupShell);
    FitDropDown(cb);
    HookUpDropDown(cb);

    if (p->type == ComboTypeTextField) {
        ShowItemInTextField(cb, nullptr);
    } else {
        MeasureLabel(cb);
        ShowItemInLabel(cb, nullptr, labelWithoutItems);
    }
    RequestPreferredSize(cb);
    PlaceChildren(cb);
    XmString current = CurrentListItem(cb);
    if (p->reportedItem)
        XmStringFree(p->reportedItem);
    p->reportedItem = current ? XmStringCopy(current) : nullptr;
    // On the shell: its callbacks run before the toolkit's own that drop the
    // grab on it.
    XtAddCallback(p->popupShell, XmNdestroyCallback, TakeDownBeforeDestroy, cb);
}

// Frees our copies of the label string, the reported item and edit; the
// toolkit destroys the children.
static void Destroy(Widget w)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)w;
    if (cb->combo_box.labelString)
        XmStringFree(cb->combo_box.labelString);
    cb->combo_box.labelString = nullptr;
    if (cb->combo_box.reportedItem)
        XmStringFree(cb->combo_box.reportedItem);
    cb->combo_box.reportedItem = nullptr;
    ForgetReportedText(cb);
    ForgetItemIndex(cb);
}

// Lays the children out for the new size and redraws the frame.
static void Resize(Widget w)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)w;
    EraseShadow(cb, True);
    PlaceChildren(cb);
    PaintShadow(cb);
    cb->combo_box.lastWidth = XtWidth(w);
    cb->combo_box.lastHeight = XtHeight(w);
    ListChanged(cb);
}

// Draws the shadow and focus ring; the children draw themselves.
static void Redisplay(Widget w, XEvent *, Region)
{
    PaintShadow((DtComboBoxWidget)w);
}

// Grants the text field a new width or height and lays out around it.
static XtGeometryResult GeometryManager(Widget child, XtWidgetGeometry *request,
                                        XtWidgetGeometry *)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)XtParent(child);
    if (child != cb->combo_box.textField || !(request->request_mode & (CWWidth | CWHeight)))
        return XtGeometryNo;
    if (request->request_mode & XtCWQueryOnly)
        return XtGeometryYes;
    Dimension width = request->request_mode & CWWidth ? request->width : XtWidth(child);
    Dimension height = request->request_mode & CWHeight ? request->height : XtHeight(child);
    XtResizeWidget(child, width, height, XtBorderWidth(child));
    Relayout(cb);
    return XtGeometryYes;
}

// Motif's test whether the widget's shell holds an exclusive tab group; the
// installed headers do not declare it.
extern "C" Boolean _XmShellIsExclusive(Widget w);

// Tells Motif's traversal whether the combo box or its text field takes focus.
static XmNavigability WidgetNavigable(Widget w)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)w;
    if (!XtIsSensitive(w) || !cb->manager.traversal_on)
        return XmNOT_NAVIGABLE;
    XmNavigationType type = cb->manager.navigation_type;
    if (type == XmSTICKY_TAB_GROUP || type == XmEXCLUSIVE_TAB_GROUP ||
        (type == XmTAB_GROUP && !_XmShellIsExclusive(w)))
        return cb->combo_box.type == ComboTypeTextField ? XmDESCENDANTS_TAB_NAVIGABLE
                                                        : XmTAB_NAVIGABLE;
    return XmDESCENDANTS_NAVIGABLE;
}

// Stores an imported synthetic value as it is.
static XmImportOperator ImportUnchanged(Widget, int, XtArgVal *)
{
    return XmSYNTHETIC_LOAD;
}

static void _DtComboBoxGetArrowSize(Widget w, int, XtArgVal *value)
{
    *value = (XtArgVal)XtHeight(((DtComboBoxWidget)w)->combo_box.arrowButton);
}

static void _DtComboBoxGetLabelString(Widget w, int, XtArgVal *value)
{
    XmString label = ((DtComboBoxWidget)w)->combo_box.labelString;
    *value = (XtArgVal)(label ? XmStringCopy(label) : nullptr);
}

// Reads one 32-bit or pointer resource of the list.
static XtArgVal ListValue(Widget w, const char *name)
{
    XtArgVal value = 0;
    XtVaGetValues(((DtComboBoxWidget)w)->combo_box.list, name, &value, nullptr);
    return value;
}

// Reads one 16-bit resource of the list.
static XtArgVal ListDimension(Widget w, const char *name)
{
    Dimension value = 0;
    XtVaGetValues(((DtComboBoxWidget)w)->combo_box.list, name, &value, nullptr);
    return value;
}

static void _DtComboBoxGetListItemCount(Widget w, int, XtArgVal *value)
{
    *value = (int)ListValue(w, XmNitemCount);
}

static void _DtComboBoxGetListItems(Widget w, int, XtArgVal *value)
{
    *value = ListValue(w, XmNitems);
}

static void _DtComboBoxGetListFontList(Widget w, int, XtArgVal *value)
{
    *value = ListValue(w, XmNfontList);
}

static void _DtComboBoxGetListMarginHeight(Widget w, int, XtArgVal *value)
{
    *value = ListDimension(w, XmNlistMarginHeight);
}

static void _DtComboBoxGetListMarginWidth(Widget w, int, XtArgVal *value)
{
    *value = ListDimension(w, XmNlistMarginWidth);
}

static void _DtComboBoxGetListSpacing(Widget w, int, XtArgVal *value)
{
    *value = ListDimension(w, XmNlistSpacing);
}

static void _DtComboBoxGetListTopItemPosition(Widget w, int, XtArgVal *value)
{
    *value = (int)ListValue(w, XmNtopItemPosition);
}

// The text field only while the combo box shows it.
static void _DtComboBoxGetTextField(Widget w, int, XtArgVal *value)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)w;
    *value = (XtArgVal)(cb->combo_box.type == ComboTypeTextField ? cb->combo_box.textField
                                                                 : nullptr);
}

// ---------------------------------------------------------------------------
// Resource changes

// Passes changed list resources on to the list; returns whether any were.
static Boolean UpdateList(DtComboBoxWidget old, DtComboBoxWidget cb)
{
    DtComboBoxPart *o = &old->combo_box, *p = &cb->combo_box;
    Arg args[10];
    Cardinal n = 0;
    if (p->itemCount != o->itemCount) {
        XtSetArg(args[n], XmNitemCount, p->itemCount); n++;
    }
    if (p->items != o->items) {
        XtSetArg(args[n], XmNitems, p->items); n++;
        if (p->itemCount == o->itemCount) {
            XtSetArg(args[n], XmNitemCount, p->itemCount); n++;
        }
    }
    if (p->listFontList != o->listFontList) {
        XtSetArg(args[n], XmNfontList, p->listFontList); n++;
    }
    if (p->listMarginHeight != o->listMarginHeight) {
        XtSetArg(args[n], XmNlistMarginHeight, p->listMarginHeight); n++;
    }
    if (p->listMarginWidth != o->listMarginWidth) {
        XtSetArg(args[n], XmNlistMarginWidth, p->listMarginWidth); n++;
    }
    if (p->listSpacing != o->listSpacing) {
        XtSetArg(args[n], XmNlistSpacing, p->listSpacing); n++;
    }
    if (cb->manager.string_direction != old->manager.string_direction) {
        XtSetArg(args[n], XmNstringDirection, cb->manager.string_direction); n++;
    }
    if (p->topItemPosition != o->topItemPosition) {
        XtSetArg(args[n], XmNtopItemPosition, p->topItemPosition); n++;
    }
    // visibleItemCount is the drop-down's most rows: fitting passes it on.
    if (n == 0 && p->visibleItemCount == o->visibleItemCount)
        return False;
    if (n > 0)
        XtSetValues(p->list, args, n);
    if (p->items != o->items || p->itemCount != o->itemCount) {
        ForgetItemIndex(cb);
        p->reportedListItem = nullptr;
    }
    ListChanged(cb);
    return True;
}

// Replaces the arrow by one of the other kind.
static void ReplaceArrow(DtComboBoxWidget old, DtComboBoxWidget cb)
{
    Widget arrow = cb->combo_box.arrowButton;
    XtRemoveCallback(arrow, XmNactivateCallback, PostList, cb);
    if (old->combo_box.arrowType == ComboArrowDrawn)
        XtRemoveCallback(arrow, XmNexposeCallback, PaintDrawnArrow, cb);
    XtDestroyWidget(arrow);
    CreateArrow(cb);
}

// Shows the text field in place of the label; returns whether it was made now.
static Boolean SwitchToTextField(DtComboBoxWidget old, DtComboBoxWidget cb)
{
    DtComboBoxPart *o = &old->combo_box, *p = &cb->combo_box;
    Boolean made = !p->textField;
    if (made) {
        p->textField = CreateTextField(cb, False);
        if (p->horizontalSpacing == o->horizontalSpacing) p->horizontalSpacing = 0;
        if (p->verticalSpacing == o->verticalSpacing) p->verticalSpacing = 0;
    }
    if (p->separatorWidget) XtUnmanageChild(p->separatorWidget);
    if (p->labelWidget) XtUnmanageChild(p->labelWidget);
    XtManageChild(p->textField);
    return made;
}

// Shows the label and separator in place of the text field; returns whether
// they were made now.
static Boolean SwitchToLabel(DtComboBoxWidget old, DtComboBoxWidget cb)
{
    DtComboBoxPart *o = &old->combo_box, *p = &cb->combo_box;
    Boolean made = !p->labelWidget;
    if (made) {
        p->labelWidget = CreateLabel(cb, "ComboBoxLabel");
        p->separatorWidget = CreateSeparator(cb);
        if (p->horizontalSpacing == o->horizontalSpacing) p->horizontalSpacing = 1;
        if (p->verticalSpacing == o->verticalSpacing) p->verticalSpacing = 2;
    } else if (cb->manager.string_direction != old->manager.string_direction) {
        XtVaSetValues(p->labelWidget, XmNstringDirection, (int)cb->manager.string_direction,
                      nullptr);
    }
    if (p->textField) XtUnmanageChild(p->textField);
    XtManageChild(p->labelWidget);
    XtManageChild(p->separatorWidget);
    return made;
}

// Passes changed columns and maxLength on to an existing text field.
static void UpdateTextField(DtComboBoxWidget old, DtComboBoxWidget cb)
{
    DtComboBoxPart *o = &old->combo_box, *p = &cb->combo_box;
    if (p->columns != o->columns)
        XtVaSetValues(p->textField, XmNcolumns, (int)p->columns, nullptr);
    if (p->maxLength != o->maxLength)
        XtVaSetValues(p->textField, XmNmaxLength, p->maxLength, nullptr);
}

// Gives the text field and the label the combo box's render table.
static void PassOnRenderTable(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    for (Widget child : {p->textField, p->labelWidget})
        if (child)
            XtVaSetValues(child, XmNrenderTable, p->renderTable, nullptr);
}

// Whether a change needs the children laid out again.
static Boolean NeedsRelayout(DtComboBoxWidget old, DtComboBoxWidget cb, Boolean measured)
{
    DtComboBoxPart *o = &old->combo_box, *p = &cb->combo_box;
    Boolean geometryChanged =
        p->type != o->type || p->arrowType != o->arrowType ||
        p->marginHeight != o->marginHeight || p->marginWidth != o->marginWidth ||
        p->horizontalSpacing != o->horizontalSpacing ||
        p->verticalSpacing != o->verticalSpacing ||
        cb->manager.shadow_thickness != old->manager.shadow_thickness ||
        p->orientation != o->orientation || p->arrowSpacing != o->arrowSpacing;
    return geometryChanged || (p->type == ComboTypeLabel && measured);
}

// Reacts to changed resources.
static Boolean SetValues(Widget current, Widget, Widget w, ArgList, Cardinal *)
{
    DtComboBoxWidget old = (DtComboBoxWidget)current, cb = (DtComboBoxWidget)w;
    DtComboBoxPart *o = &old->combo_box, *p = &cb->combo_box;
    // A count changed without a new table must fit the list's own table.
    CheckResourceValues(cb, p->items == o->items ? o->itemCount : -1, o);
    if (p->textField != o->textField) {
        Warn(w, cannotSetTextField);
        p->textField = o->textField;
    }
    if (p->poppedUp != o->poppedUp) {
        Warn(w, cannotSetPoppedUp);
        p->poppedUp = o->poppedUp;
    }
    p->list = o->list;          // the list cannot be replaced either
    UpdateList(old, cb);
    if (p->arrowType != o->arrowType)
        ReplaceArrow(old, cb);

    Boolean labelMade = False;
    if (p->type != o->type) {
        if (p->type == ComboTypeTextField)
            SwitchToTextField(old, cb);
        else
            labelMade = SwitchToLabel(old, cb);
        if (cb->manager.shadow_thickness == old->manager.shadow_thickness)
            cb->manager.shadow_thickness = p->type == ComboTypeTextField ? 1 : 2;
    }
    if (o->textField)
        UpdateTextField(old, cb);
    Boolean renderTableChanged = p->renderTable != o->renderTable;
    if (renderTableChanged)
        PassOnRenderTable(cb);

    Boolean itemsChanged = p->items != o->items || p->itemCount != o->itemCount;
    if (p->labelWidget && p->alignment != o->alignment)
        XtVaSetValues(p->labelWidget, XmNalignment, (int)p->alignment, nullptr);

    Boolean labelStringChanged = p->labelString != o->labelString;
    Boolean forceLabel = False;
    if (labelStringChanged) {
        p->labelString = p->labelString ? XmStringCopy(p->labelString) : nullptr;
        if (o->labelString)
            XmStringFree(o->labelString);
        forceLabel = p->items == o->items;
    }

    if (itemsChanged || p->alignment != o->alignment || p->type != o->type ||
        p->selectedPosition != o->selectedPosition || p->selectedItem != o->selectedItem ||
        p->labelWidget != o->labelWidget || p->updateLabel != o->updateLabel ||
        labelStringChanged) {
        if (p->selectedItem && p->selectedItem != o->selectedItem)
            ZVKDtComboBoxSelectItem(w, p->selectedItem);
        else
            XmListSelectPos(p->list, p->selectedPosition + 1, False);
        ShowCurrentItem(cb, forceLabel);
    }

    // The label takes the size of what it may show now.
    Boolean measured = p->labelWidget && (itemsChanged || labelMade || labelStringChanged ||
                                          renderTableChanged || p->updateLabel != o->updateLabel);
    if (measured)
        MeasureLabel(cb);

    if (NeedsRelayout(old, cb, measured)) {
        EraseShadow(old, True);
        if (p->recomputeSize)
            RequestPreferredSize(cb);
        PlaceChildren(cb);
        PaintShadow(cb);
    }
    CopyListState(cb);
    HighlightCurrentItem(cb);
    CurrentItemMayHaveChanged(cb, nullptr);
    return False;
}

// ---------------------------------------------------------------------------
// Public functions

extern "C" {

void ZVKDtInitComboBox(Visual *visual, int depth)
{
    popupVisual = visual;
    popupDepth = depth;
}

Widget ZVKDtCreateComboBox(Widget parent, char *name, ArgList args, Cardinal count)
{
    return XtCreateWidget(name, dtComboBoxWidgetClass, parent, args, count);
}

void ZVKDtComboBoxAddItem(Widget w, XmString item, int pos, Boolean unique)
{
    DtComboBoxWidget cb = AsComboBox(w);
    if (!cb || !item)
        return;
    if (unique && FindItem(cb, item) >= 0)
        return;
    DtComboBoxPart *p = &cb->combo_box;
    int countBefore = ListItemCount(cb);
    IndexItem(cb, item, 1);
    XmListAddItemUnselected(p->list, item, pos);
    IndexFollowsList(cb);
    CopyListState(cb);
    ListChanged(cb);
    // The current item stays current; into an empty list, the item becomes it.
    int added = pos < 1 || pos > countBefore ? countBefore : pos - 1;
    if (countBefore == 0)
        p->selectedPosition = 0;
    else if (added <= p->selectedPosition)
        p->selectedPosition++;
    ShowCurrentItem(cb, False);
    if (p->labelWidget) {
        MeasureLabelForAddedItem(cb, item, countBefore);
        if (p->type == ComboTypeLabel)
            Relayout(cb);
    }
    HighlightCurrentItem(cb);
    CurrentItemMayHaveChanged(cb, nullptr);
}

void ZVKDtComboBoxDeletePos(Widget w, int pos)
{
    DtComboBoxWidget cb = AsComboBox(w);
    if (!cb)
        return;
    DtComboBoxPart *p = &cb->combo_box;
    int count = ListItemCount(cb);
    int deleted = pos == 0 ? count - 1 : pos - 1;
    if (deleted < 0 || deleted >= count)
        return;
    IndexItem(cb, ListItems(cb)[deleted], -1);
    p->reportedListItem = nullptr;
    XmListDeletePos(p->list, pos);
    IndexFollowsList(cb);
    CopyListState(cb);
    ListChanged(cb);
    // Keep the position on the current item of the shortened list.
    int remaining = count - 1;
    if (deleted < p->selectedPosition)
        p->selectedPosition--;
    if (p->selectedPosition >= remaining)
        p->selectedPosition = remaining > 0 ? remaining - 1 : 0;
    ShowCurrentItem(cb, False);
    if (p->labelWidget) {
        MeasureLabel(cb);
        if (p->type == ComboTypeLabel)
            Relayout(cb);
    }
    HighlightCurrentItem(cb);
    CurrentItemMayHaveChanged(cb, nullptr);
}

void ZVKDtComboBoxSetItem(Widget w, XmString item)
{
    DtComboBoxWidget cb = AsComboBox(w);
    if (!cb)
        return;
    int found = FindItem(cb, item);
    if (found < 0) {
        Warn(w, itemToSetNotFound);
        return;
    }
    cb->combo_box.selectedPosition = found;
    ShowCurrentItem(cb, False);
    XmListSetPos(cb->combo_box.list, found + 1);
    CopyListState(cb);
    CurrentItemMayHaveChanged(cb, nullptr);
}

void ZVKDtComboBoxSelectItem(Widget w, XmString item)
{
    DtComboBoxWidget cb = AsComboBox(w);
    if (!cb)
        return;
    int found = FindItem(cb, item);
    if (found < 0) {
        Warn(w, itemToSelectNotFound);
        return;
    }
    cb->combo_box.selectedPosition = found;
    ShowCurrentItem(cb, False);
    XmListDeselectAllItems(cb->combo_box.list);
    XmListSelectPos(cb->combo_box.list, found + 1, False);
    CopyListState(cb);
    CurrentItemMayHaveChanged(cb, nullptr);
}

}
