// DtComboBox: the drop-down list, its grabs, the actions and translations,
// the callbacks the combo box calls, and the painting of the drawn arrow.
#include <unistd.h>

#include <Xm/XmP.h>
#include <Xm/ListP.h>
#include <Xm/TextF.h>

#include "ComboBoxI.h"

const char comboTranslations[] =
    "<FocusIn>: ComboBoxFocusIn()\n"
    "<FocusOut>: ComboBoxFocusOut()\n"
    "<Key>osfDown: ComboBoxActivate()\n"
    "<Btn1Down>,<Btn1Up>: ComboBoxActivate()\n"
    "<Key>osfSelect: ComboBoxActivate()\n"
    "~s ~m ~a <Key>space: ComboBoxActivate()";

const char labelTranslations[] =
    "<Key>osfDown: ComboBoxActivate(label)\n"
    "<Btn1Down>,<Btn1Up>: ComboBoxActivate(label)\n"
    "<Key>osfSelect: ComboBoxActivate(label)\n"
    "~s ~m ~a <Key>space: ComboBoxActivate(label)";

// The keyboard's focus stays in the text field, so it drops the list down
// itself.
const char textFieldTranslations[] =
    "<Key>osfDown: ComboBoxActivate(text)";

const char listCancelTranslations[] =
    "<Key>osfCancel: ListKbdCancel() ComboBoxKbdCancel()";

static const char cannotGrabPointer[] = "DtComboBoxWidget: Unable to grab the pointer.";
static const char cannotGrabKeyboard[] = "DtComboBoxWidget: Unable to grab the keyboard.";

static const int grabTries = 5;

// True between a press and its release in any combo box's list.
static Boolean listButtonDown = False;

// ---------------------------------------------------------------------------
// Grabs

// Grabs the pointer for w with the menu cursor, retrying for a few seconds
// while another client holds it.
static void GrabPointer(Widget w)
{
    Cursor cursor = XmGetMenuCursor(XtDisplay(w));
    for (int attempt = 1; attempt <= grabTries; attempt++) {
        if (XtGrabPointer(w, True, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                          cursor, CurrentTime) == GrabSuccess)
            return;
        if (attempt < grabTries)
            sleep(1);
    }
    XtAppWarning(XtWidgetToApplicationContext(w), cannotGrabPointer);
}

// Grabs the keyboard for w, retrying like GrabPointer.
static void GrabKeyboard(Widget w)
{
    for (int attempt = 1; attempt <= grabTries; attempt++) {
        if (XtGrabKeyboard(w, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess)
            return;
        if (attempt < grabTries)
            sleep(1);
    }
    XtAppWarning(XtWidgetToApplicationContext(w), cannotGrabKeyboard);
}

// ---------------------------------------------------------------------------
// Actions

void ComboBoxFocusIn(Widget w, XEvent *, String *, Cardinal *)
{
    PaintFocusRing((DtComboBoxWidget)w, True);
}

void ComboBoxFocusOut(Widget w, XEvent *, String *, Cardinal *)
{
    PaintFocusRing((DtComboBoxWidget)w, False);
}

// Drops the list down; with a parameter the action runs on the label or
// the text field, a child of the combo box.
void ComboBoxActivate(Widget w, XEvent *, String *, Cardinal *count)
{
    Widget combo = *count > 0 ? XtParent(w) : w;
    if (!XtIsSubclass(combo, dtComboBoxWidgetClass))
        return;
    DtComboBoxWidget cb = (DtComboBoxWidget)combo;
    PostList(cb->combo_box.arrowButton, cb, nullptr);
}

// Takes the list down from the cancel key; w is the list.
void ComboBoxKbdCancel(Widget w, XEvent *, String *, Cardinal *)
{
    XtPointer combo = nullptr;
    XtVaGetValues(w, XmNuserData, &combo, nullptr);
    if (combo)
        UnpostList((DtComboBoxWidget)combo);
}

// ---------------------------------------------------------------------------
// Dropping down and taking down

// Calls the text field's activate callbacks, once for each edit, when its
// text is no longer the current item's, so that the program sees what was typed.
static void ReportEditedText(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    XmStringTable items = ListItems(cb);
    char *value = XmTextFieldGetString(p->textField);
    char *itemText = nullptr;
    if (items && p->selectedPosition >= 0 && p->selectedPosition < ListItemCount(cb))
        itemText = FirstTextSegment(items[p->selectedPosition]);
    Boolean same = value && itemText && strcmp(value, itemText) == 0;
    Boolean neither = !value && !itemText;
    Boolean reported = value && p->reportedText && strcmp(value, p->reportedText) == 0;
    XtFree(itemText);
    if (same || neither || reported) {
        XtFree(value);
        return;
    }
    XtFree(p->reportedText);
    p->reportedText = value;
    XmAnyCallbackStruct call = {XmCR_ACTIVATE, nullptr};
    XtCallCallbacks(p->textField, XmNactivateCallback, &call);
}

// Calls the menu-post callbacks; returns False when they destroyed the widget.
static Boolean NotifyMenuPost(DtComboBoxWidget cb)
{
    if (XtHasCallbacks((Widget)cb, DtNmenuPostCallback) != XtCallbackHasSome)
        return True;
    XmAnyCallbackStruct call = {ComboReasonMenuPost, nullptr};
    XtCallCallbackList((Widget)cb, cb->combo_box.menuPostCallback, &call);
    return !cb->core.being_destroyed;
}

// Where the drop-down's top-left corner goes: under the combo box,
// overlapping its bottom margin.
static void DropDownOrigin(DtComboBoxWidget cb, int *x, int *y)
{
    Position rootX, rootY;
    XtTranslateCoords((Widget)cb, XtX(cb), XtY(cb), &rootX, &rootY);
    *x = rootX - XtX(cb);
    *y = rootY - XtY(cb) + XtHeight(cb) - cb->combo_box.marginHeight;
}

int DropDownRows(DtComboBoxWidget cb, int count)
{
    int most = cb->combo_box.visibleItemCount;
    int rows = count < most ? count : most;
    return rows < 1 ? 1 : rows;
}

// The size the frame in the drop-down asks for, with its border.
static void FramePreferredSize(DtComboBoxWidget cb, int *width, int *height)
{
    Widget frame = cb->combo_box.popupFrame;
    XtWidgetGeometry preferred;
    XtQueryGeometry(frame, nullptr, &preferred);
    int border = 2 * XtBorderWidth(frame);
    *width = (preferred.request_mode & CWWidth ? preferred.width : XtWidth(frame)) + border;
    *height = (preferred.request_mode & CWHeight ? preferred.height : XtHeight(frame)) + border;
}

void FitDropDown(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    Widget shell = p->popupShell;
    int rows = DropDownRows(cb, ListItemCount(cb));
    int x, y;
    DropDownOrigin(cb, &x, &y);
    int widest = WidthOfScreen(XtScreen(cb)) - x;
    if (widest < 1)
        widest = 1;
    // The shell takes the size that its frame asks for, at least the combo
    // box's width and at most what the screen leaves, until the frame asks
    // for no other: a list given another width shows or hides a scroll bar
    // across its foot, and a list given another height takes other rows.
    int width = 0, height = 0;
    for (int tries = 0; tries < 4; tries++) {
        if (((XmListWidget)p->list)->list.visibleItemCount != rows)
            XtVaSetValues(p->list, XmNvisibleItemCount, rows, nullptr);
        FramePreferredSize(cb, &width, &height);
        if (width < XtWidth(cb))
            width = XtWidth(cb);
        if (width > widest)
            width = widest;
        if (width == XtWidth(shell) && height == XtHeight(shell))
            break;
        XtResizeWidget(shell, width, height, XtBorderWidth(shell));
    }
    p->shellWidth = width;
    p->shellHeight = height;
}

// Places the fitted shell under the combo box, cut at the screen's bottom.
static void PlaceShell(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    int x, y;
    DropDownOrigin(cb, &x, &y);
    int height = p->shellHeight;
    int screenHeight = HeightOfScreen(XtScreen(cb));
    if (y + height > screenHeight)
        height = screenHeight - y;
    // A combo box beyond the edge still gets a drop-down that X accepts.
    if (height < 1)
        height = 1;
    XtVaSetValues(p->popupShell, XmNx, x, XmNy, y, XmNwidth, p->shellWidth, XmNheight, height,
                  nullptr);
}

void ListChanged(DtComboBoxWidget cb)
{
    if (!cb->combo_box.poppedUp)
        return;
    FitDropDown(cb);
    PlaceShell(cb);
}

// Puts the list's location cursor on the current item and brings it into
// view, so that the keys browse on from the item that the combo box shows.
static void MarkCurrentItem(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    int position = p->selectedPosition + 1;
    if (position < 1 || position > ListItemCount(cb))
        return;
    XmListSetKbdItemPos(p->list, position);
    int top = 0, rows = 0;
    XtVaGetValues(p->list, XmNtopItemPosition, &top, XmNvisibleItemCount, &rows, nullptr);
    if (position < top)
        XmListSetPos(p->list, position);
    else if (position >= top + rows)
        XmListSetBottomPos(p->list, position);
}

void PostList(Widget, XtPointer client, XtPointer)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    DtComboBoxPart *p = &cb->combo_box;
    XmStringTable items = ListItems(cb);
    if (p->type == ComboTypeTextField)
        ReportEditedText(cb);
    if (!items || ListItemCount(cb) == 0 || p->poppedUp)
        return;
    if (!NotifyMenuPost(cb))
        return;
    FitDropDown(cb);
    PlaceShell(cb);
    MarkCurrentItem(cb);
    p->poppedUp = True;
    XtPopup(p->popupShell, XtGrabNone);
    GrabPointer(p->popupShell);
    GrabKeyboard(p->list);
    XtAddGrab(p->popupShell, True, True);
    XDefineCursor(XtDisplay(cb), XtWindow(p->popupShell), XmGetMenuCursor(XtDisplay(cb)));
}

// Hides the shell and lets go of the grabs; a release in the list leaves the
// pointer grab alone.
static void TakeListDown(DtComboBoxWidget cb, Boolean releasePointer)
{
    DtComboBoxPart *p = &cb->combo_box;
    p->poppedUp = False;
    XtPopdown(p->popupShell);
    if (releasePointer)
        XtUngrabPointer(p->popupShell, CurrentTime);
    XtUngrabKeyboard(p->list, CurrentTime);
    XtRemoveGrab(p->popupShell);
    if (p->type == ComboTypeTextField)
        XmProcessTraversal(p->textField, XmTRAVERSE_CURRENT);
}

void UnpostList(DtComboBoxWidget cb)
{
    if (cb->combo_box.poppedUp)
        TakeListDown(cb, True);
}

// The list's chosen item becomes current; a choice that took the list down
// is reported through the selection callbacks.
void ListItemChosen(Widget, XtPointer client, XtPointer call)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    DtComboBoxPart *p = &cb->combo_box;
    XmListCallbackStruct *chosen = (XmListCallbackStruct *)call;
    int position = chosen->item_position - 1;
    XmStringTable items = ListItems(cb);
    if (!items || position < 0 || position >= ListItemCount(cb))
        return;
    // The list frees the callback's copy of the item; keep its own.
    XmString item = items[position];
    p->selectedPosition = position;
    if (p->type == ComboTypeTextField)
        ShowItemInTextField(cb, item);
    else
        ShowItemInLabel(cb, item, False);
    if (chosen->reason == XmCR_DEFAULT_ACTION)
        UnpostList(cb);
    if (p->poppedUp)
        return;
    ComboBoxCallbackStruct selection = {ComboReasonSelect, chosen->event, item,
                                        p->selectedPosition};
    XtCallCallbackList((Widget)cb, p->selectionCallback, &selection);
}

// Whether the press hit the list or one of its scroll bars.
static Boolean PressOnList(DtComboBoxWidget cb, Window window)
{
    Widget list = cb->combo_box.list;
    Widget bars[2] = {nullptr, nullptr};
    XtVaGetValues(XtParent(list), XmNhorizontalScrollBar, &bars[0],
                  XmNverticalScrollBar, &bars[1], nullptr);
    if (window == XtWindow(list))
        return True;
    for (Widget bar : bars)
        if (bar && XtIsRealized(bar) && window == XtWindow(bar))
            return True;
    return False;
}

// A press outside the list takes it down without a choice.
void ShellPressHandler(Widget, XtPointer client, XEvent *event, Boolean *)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    if (event->type != ButtonPress || !cb->combo_box.poppedUp)
        return;
    if (!PressOnList(cb, event->xbutton.window))
        UnpostList(cb);
}

// Drops the shell's notices of sizes that it no longer has.  The combo box
// sizes its shell itself, at times several times in a row; taking an old
// size up again would have the list lay itself out and ask for a size for
// it, and the shell would end up with that.
void ShellSizeHandler(Widget shell, XtPointer, XEvent *event, Boolean *more)
{
    if (event->type == ConfigureNotify &&
        (event->xconfigure.width != XtWidth(shell) || event->xconfigure.height != XtHeight(shell)))
        *more = False;
}

// Whether a button event comes from the wheel rather than a button.
static Boolean FromWheel(XEvent *event)
{
    return (event->type == ButtonPress || event->type == ButtonRelease) &&
           event->xbutton.button >= Button4;
}

// Hands the pointer to the list while it is inside it, and takes the list
// down on a release there, before the list reports the choice.  The wheel
// only scrolls the list.
void ListGrabHandler(Widget list, XtPointer client, XEvent *event, Boolean *)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    DtComboBoxPart *p = &cb->combo_box;
    if (FromWheel(event))
        return;
    switch (event->type) {
    case ButtonPress:
        listButtonDown = True;
        break;
    case ButtonRelease:
        if (p->poppedUp)
            TakeListDown(cb, False);
        listButtonDown = False;
        break;
    case EnterNotify:
        // Crossings made by grabs themselves would make us grab back and forth.
        if (event->xcrossing.mode == NotifyNormal && !listButtonDown)
            XtUngrabPointer(p->popupShell, CurrentTime);
        break;
    case LeaveNotify:
        if (event->xcrossing.mode == NotifyNormal && p->poppedUp && !listButtonDown)
            GrabPointer(list);
        break;
    case FocusOut:
        if (p->poppedUp) {
            GrabKeyboard(list);
            XtSetKeyboardFocus(list, None);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// The drawn arrow and the forwarded callbacks

void PaintDrawnArrow(Widget w, XtPointer, XtPointer)
{
    if (!XtIsRealized(w))
        return;
    unsigned width = XtWidth(w);
    int height = XtHeight(w);
    int cx = width / 2u;
    int cy = (height - 3) / 2;
    XGCValues values;
    XtVaGetValues(w, XmNforeground, &values.foreground, nullptr);
    values.line_width = 0;
    values.line_style = LineSolid;
    values.fill_style = FillSolid;
    GC gc = XtGetGC(w, GCForeground | GCLineWidth | GCLineStyle | GCFillStyle, &values);
    Display *display = XtDisplay(w);
    Window window = XtWindow(w);
    XDrawLine(display, window, gc, 1, cx + cy + 1, width - 2, cx + cy + 1);
    short a = (short)(cx * 0.8), b = (short)(cx * 0.3);
    XPoint outline[8] = {
        {(short)cx, (short)(cy + a)},       {(short)(cx - a), (short)cy},
        {(short)(cx - b), (short)cy},       {(short)(cx - b), (short)(cy - a)},
        {(short)(cx + b), (short)(cy - a)}, {(short)(cx + b), (short)cy},
        {(short)(cx + a), (short)cy},       {(short)cx, (short)(cy + a)},
    };
    XDrawLines(display, window, gc, outline, 8, CoordModeOrigin);
    XFillPolygon(display, window, gc, outline, 8, Convex, CoordModeOrigin);
    XtReleaseGC(w, gc);
}

void ForwardLosingFocus(Widget, XtPointer client, XtPointer call)
{
    XtCallCallbacks((Widget)client, DtNlosingFocusCallback, call);
}

void ForwardActivate(Widget, XtPointer client, XtPointer call)
{
    XtCallCallbacks((Widget)client, DtNactivateCallback, call);
}

void ForwardFocus(Widget, XtPointer client, XtPointer call)
{
    XtCallCallbacks((Widget)client, DtNfocusCallback, call);
}
