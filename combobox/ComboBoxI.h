// Routines that ComboBox.cpp (class, geometry, public functions) and
// ComboBoxDropDown.cpp (drop-down, actions, arrow painting) share.
// Not installed: nothing outside the widget's own sources includes it.
#ifndef DT_COMBOBOXI_H
#define DT_COMBOBOXI_H

#include "ComboBoxP.h"

// Translation tables, parsed by initialize and set_values.
extern const char comboTranslations[];
extern const char labelTranslations[];
extern const char textFieldTranslations[];
extern const char listCancelTranslations[];

// Kept in ComboBox.cpp.
void ShowItemInTextField(DtComboBoxWidget cb, XmString item);
void ShowItemInLabel(DtComboBoxWidget cb, XmString item, Boolean forceLabel);
void PaintFocusRing(DtComboBoxWidget cb, Boolean draw);
char *FirstTextSegment(XmString string);
int ListItemCount(DtComboBoxWidget cb);
XmStringTable ListItems(DtComboBoxWidget cb);
// Calls the value-changed callbacks when the current item is no longer the
// one they were last told of.
void CurrentItemMayHaveChanged(DtComboBoxWidget cb, XEvent *event);

// Kept in ComboBoxIndex.cpp: the index of the items' texts.  ListMayHold is
// False only for an item certainly not in the list.  IndexItem counts an
// item in (change 1) or out (change -1) before the list takes or drops it;
// IndexFollowsList then accepts the list's new table.
Boolean ListMayHold(DtComboBoxWidget cb, XmString item);
void IndexItem(DtComboBoxWidget cb, XmString item, int change);
void IndexFollowsList(DtComboBoxWidget cb);
void ForgetItemIndex(DtComboBoxWidget cb);

// Kept in ComboBoxDropDown.cpp.
void ComboBoxFocusIn(Widget w, XEvent *event, String *params, Cardinal *count);
void ComboBoxFocusOut(Widget w, XEvent *event, String *params, Cardinal *count);
void ComboBoxActivate(Widget w, XEvent *event, String *params, Cardinal *count);
void ComboBoxKbdCancel(Widget w, XEvent *event, String *params, Cardinal *count);
// The drop-down's rows for count items: one for each, at most
// visibleItemCount, at least one.
int DropDownRows(DtComboBoxWidget cb, int count);
// Sizes the drop-down to the items for dropping down under the combo box:
// shellWidth and shellHeight become its size.
void FitDropDown(DtComboBoxWidget cb);
// Refits a dropped-down list to items or list resources that changed; one
// not down is fitted when it drops down next.
void ListChanged(DtComboBoxWidget cb);
void PostList(Widget w, XtPointer client, XtPointer call);
// The arrow's arm callback: a press drops the list at once, and the release
// that ends it may choose an item, as in an option menu.
void DropOnArrowPress(Widget arrow, XtPointer client, XtPointer call);
// The combo box's destroy callback: no grab outlives the drop-down.
void TakeDownBeforeDestroy(Widget w, XtPointer client, XtPointer call);
void UnpostList(DtComboBoxWidget cb);
void ListItemChosen(Widget list, XtPointer client, XtPointer call);
void ListGrabHandler(Widget list, XtPointer client, XEvent *event, Boolean *more);
void ShellPressHandler(Widget shell, XtPointer client, XEvent *event, Boolean *more);
void ShellSizeHandler(Widget shell, XtPointer client, XEvent *event, Boolean *more);
void PaintDrawnArrow(Widget w, XtPointer client, XtPointer call);
void ForwardLosingFocus(Widget w, XtPointer client, XtPointer call);
void ForwardActivate(Widget w, XtPointer client, XtPointer call);
void ForwardFocus(Widget w, XtPointer client, XtPointer call);

#endif
