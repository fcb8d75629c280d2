/*
 * DtComboBox: a Motif manager widget that shows an editable text field or a
 * read-only label beside an arrow; the arrow drops down a scrolled list of
 * compound strings, and choosing an item copies it into the field or label.
 *
 * Resources (name, class, type, default):
 *
 *   DtNshadowThickness     ShadowThickness     HorizontalDimension  1 (2 for a label)
 *   DtNactivateCallback    Callback            Callback             NULL
 *   DtNalignment           Alignment           Alignment            XmALIGNMENT_BEGINNING
 *   DtNarrowSpacing        ArrowSpacing        HorizontalDimension  0
 *   DtNarrowType           ArrowType           ArrowType            ComboArrowDrawn
 *   DtNcolumns             Columns             Short                20
 *   DtNfocusCallback       Callback            Callback             NULL
 *   DtNhorizontalSpacing   HorizontalSpacing   HorizontalDimension  0 text field, 1 label
 *   DtNitemCount           ItemCount           Int                  0
 *   DtNitems               Items               XmStringTable        NULL
 *   DtNlabelString         XmString            XmString             "ComboBox"
 *   DtNlist                List                Widget               (the list, read only)
 *   DtNlistFontList        ListFontList        FontList             NULL
 *   DtNlistMarginHeight    ListMarginHeight    VerticalDimension    2
 *   DtNlistMarginWidth     ListMarginWidth     HorizontalDimension  2
 *   DtNlistSpacing         ListSpacing         Dimension            0
 *   DtNlosingFocusCallback Callback            Callback             NULL
 *   DtNmarginHeight        MarginHeight        VerticalDimension    2
 *   DtNmarginWidth         MarginWidth         HorizontalDimension  2
 *   DtNmaxLength           MaxLength           Int                  2147483647
 *   DtNmenuPostCallback    Callback            Callback             NULL
 *   DtNorientation         Orientation         ComboOrientation     ComboOrientationRight
 *   DtNpoppedUp            PoppedUp            Boolean              False (read only)
 *   DtNrecomputeSize       RecomputeSize       Boolean              True
 *   DtNselectedItem        XmString            XmString             NULL
 *   DtNselectedPosition    SelectedPosition    Int                  0 (zero-based)
 *   DtNselectionCallback   Callback            Callback             NULL
 *   DtNtextField           TextField           Widget               (the text field, read only)
 *   DtNtopItemPosition     TopItemPosition     Int                  1
 *   DtNtype                Type                Type                 ComboTypeLabel
 *   DtNupdateLabel         UpdateLabel         Boolean              True
 *   DtNvisibleItemCount    VisibleItemCount    Int                  10 (the most rows shown)
 *   DtNverticalSpacing     VerticalSpacing     VerticalDimension    0 text field, 2 label
 *   DtNrenderTable         RenderTable         RenderTable          NULL (of the field and label)
 *   DtNvalueChangedCallback Callback           Callback             NULL
 *
 *   DtNarrowSize (get only): the height of the arrow.
 *
 * DtNarrowType and DtNtype have no string converters: give them as numbers
 * in argument lists.  DtNorientation takes ComboOrientationLeft or
 * ComboOrientationRight, in resource files also by name.  Getting DtNlabelString returns a copy that the caller
 * frees; getting DtNitems returns the list's own table.
 *
 * DtNselectionCallback and DtNmenuPostCallback get a ComboBoxCallbackStruct
 * (reason ComboReasonSelect) and an XmAnyCallbackStruct (reason
 * ComboReasonMenuPost, no event); DtNvalueChangedCallback gets a
 * ComboBoxCallbackStruct (reason XmCR_VALUE_CHANGED, item NULL when there is
 * no current item) whenever the current item changes; the activate and focus
 * callbacks pass on the text field's own call data.
 */
#ifndef DT_COMBOBOX_H
#define DT_COMBOBOX_H

#include <Xm/Xm.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The names are (char *) so that C++ programs can pass them as String. */
#define DtNshadowThickness      ((char *)"shadowThickness")
#define DtNactivateCallback     ((char *)"activateCallback")
#define DtNalignment            ((char *)"alignment")
#define DtNarrowSpacing         ((char *)"arrowSpacing")
#define DtNarrowType            ((char *)"arrowType")
#define DtNcolumns              ((char *)"columns")
#define DtNfocusCallback        ((char *)"focusCallback")
#define DtNhorizontalSpacing    ((char *)"horizontalSpacing")
#define DtNitemCount            ((char *)"itemCount")
#define DtNitems                ((char *)"items")
#define DtNlabelString          ((char *)"labelString")
#define DtNlist                 ((char *)"list")
#define DtNlistFontList         ((char *)"listFontList")
#define DtNlistMarginHeight     ((char *)"listMarginHeight")
#define DtNlistMarginWidth      ((char *)"listMarginWidth")
#define DtNlistSpacing          ((char *)"listSpacing")
#define DtNlosingFocusCallback  ((char *)"losingFocusCallback")
#define DtNmarginHeight         ((char *)"marginHeight")
#define DtNmarginWidth          ((char *)"marginWidth")
#define DtNmaxLength            ((char *)"maxLength")
#define DtNmenuPostCallback     ((char *)"menuPostCallback")
#define DtNorientation          ((char *)"orientation")
#define DtNpoppedUp             ((char *)"poppedUp")
#define DtNrecomputeSize        ((char *)"recomputeSize")
#define DtNselectedItem         ((char *)"selectedItem")
#define DtNselectedPosition     ((char *)"selectedPosition")
#define DtNselectionCallback    ((char *)"selectionCallback")
#define DtNtextField            ((char *)"textField")
#define DtNtopItemPosition      ((char *)"topItemPosition")
#define DtNtype                 ((char *)"type")
#define DtNupdateLabel          ((char *)"updateLabel")
#define DtNvisibleItemCount     ((char *)"visibleItemCount")
#define DtNverticalSpacing      ((char *)"verticalSpacing")
#define DtNarrowSize            ((char *)"arrowSize")
#define DtNrenderTable          ((char *)"renderTable")
#define DtNvalueChangedCallback ((char *)"valueChangedCallback")

#define DtCArrowSpacing         ((char *)"ArrowSpacing")
#define DtCArrowType            ((char *)"ArrowType")
#define DtCHorizontalSpacing    ((char *)"HorizontalSpacing")
#define DtCList                 ((char *)"List")
#define DtCListFontList         ((char *)"ListFontList")
#define DtCListMarginHeight     ((char *)"ListMarginHeight")
#define DtCListMarginWidth      ((char *)"ListMarginWidth")
#define DtCListSpacing          ((char *)"ListSpacing")
#define DtCPoppedUp             ((char *)"PoppedUp")
#define DtCSelectedPosition     ((char *)"SelectedPosition")
#define DtCTextField            ((char *)"TextField")
#define DtCType                 ((char *)"Type")
#define DtCUpdateLabel          ((char *)"UpdateLabel")
#define DtCVerticalSpacing      ((char *)"VerticalSpacing")

#define DtRArrowType            ((char *)"ArrowType")
#define DtRType                 ((char *)"Type")
#define DtRComboOrientation     ((char *)"ComboOrientation")

extern WidgetClass dtComboBoxWidgetClass;

/* values of DtNtype */
enum { ComboTypeLabel = 0, ComboTypeTextField = 1 };

/* values of DtNarrowType */
enum { ComboArrowButton = 0, ComboArrowDrawn = 1 };

/* values of DtNorientation: where the arrow is */
enum { ComboOrientationLeft = 0, ComboOrientationRight = 1 };

/* callback reasons */
enum { ComboReasonSelect = 128, ComboReasonMenuPost = 129 };

typedef struct {
    int reason;
    XEvent *event;
    XmString item;      /* the list's own string: do not free */
    int position;       /* zero-based */
} ComboBoxCallbackStruct;

/* Sets the visual and depth of the drop-down of combo boxes created later. */
void ZVKDtInitComboBox(Visual *visual, int depth);

/* Creates an unmanaged combo box. */
Widget ZVKDtCreateComboBox(Widget parent, char *name, ArgList args, Cardinal count);

/* Adds a copy of item at pos (1 is first, 0 appends); with unique True an
 * item already in the list is not added again. */
void ZVKDtComboBoxAddItem(Widget w, XmString item, int pos, Boolean unique);

/* Deletes the item at pos (1 is first, 0 is the last). */
void ZVKDtComboBoxDeletePos(Widget w, int pos);

/* Makes item current and scrolls the list to it; the list's selection stays. */
void ZVKDtComboBoxSetItem(Widget w, XmString item);

/* Makes item current and selects it in the list. */
void ZVKDtComboBoxSelectItem(Widget w, XmString item);

#ifdef __cplusplus
}
#endif

#endif
