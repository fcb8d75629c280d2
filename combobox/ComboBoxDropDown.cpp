// DtComboBox: the drop-down list, its grabs, the actions and translations,
// the callbacks the combo box calls, and the painting of the drawn arrow.
#include <cwchar>
#include <cwctype>

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

// While another client holds the pointer or keyboard, the grabs are tried
// again in the background, so that the program goes on serving events.
static const int grabTries = 5;
static const unsigned long grabRetryMilliseconds = 200;

// True between a press and its release in any combo box's list.
static Boolean listButtonDown = False;

// ---------------------------------------------------------------------------
// Grabs

// Tries once to grab the pointer for the shell, with the menu cursor.  Owner
// events let the list and its scroll bars see the pointer as usual; a press
// or release anywhere else comes to the shell.
static Boolean TryGrabPointer(DtComboBoxWidget cb)
{
    Widget shell = cb->combo_box.popupShell;
    return XtGrabPointer(shell, True, ButtonPressMask | ButtonReleaseMask, GrabModeAsync,
                         GrabModeAsync, None, XmGetMenuCursor(XtDisplay(shell)),
                         CurrentTime) == GrabSuccess;
}

// Tries once to grab the keyboard for the list.
static Boolean TryGrabKeyboard(DtComboBoxWidget cb)
{
    return XtGrabKeyboard(cb->combo_box.list, False, GrabModeAsync, GrabModeAsync,
                          CurrentTime) == GrabSuccess;
}

static void TakeGrabs(DtComboBoxWidget cb);

// Tries the grabs again while the list is still down.
static void RetryGrabs(XtPointer client, XtIntervalId *)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    cb->combo_box.grabRetry = 0;
    if (cb->combo_box.poppedUp)
        TakeGrabs(cb);
}

// Takes the grabs that the drop-down does not hold yet; warns of those that
// every try failed to take.
static void TakeGrabs(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    if (!p->pointerGrabbed)
        p->pointerGrabbed = TryGrabPointer(cb);
    if (!p->keyboardGrabbed)
        p->keyboardGrabbed = TryGrabKeyboard(cb);
    if (p->pointerGrabbed && p->keyboardGrabbed)
        return;
    if (--p->grabTriesLeft > 0) {
        p->grabRetry = XtAppAddTimeOut(XtWidgetToApplicationContext((Widget)cb),
                                       grabRetryMilliseconds, RetryGrabs, cb);
        return;
    }
    XtAppContext app = XtWidgetToApplicationContext((Widget)cb);
    if (!p->pointerGrabbed)
        XtAppWarning(app, cannotGrabPointer);
    if (!p->keyboardGrabbed)
        XtAppWarning(app, cannotGrabKeyboard);
}

// Lets go of the drop-down's pointer and keyboard and of any pending retry.
static void ReleaseServerGrabs(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    if (p->grabRetry)
        XtRemoveTimeOut(p->grabRetry);
    p->grabRetry = 0;
    // The toolkit forgets a grab taken while a press's own grab is on, and
    // would then not let go of it: the server is told directly as well.
    if (p->pointerGrabbed) {
        XtUngrabPointer(p->popupShell, CurrentTime);
        XUngrabPointer(XtDisplay(cb), CurrentTime);
    }
    if (p->keyboardGrabbed) {
        XtUngrabKeyboard(p->list, CurrentTime);
        XUngrabKeyboard(XtDisplay(cb), CurrentTime);
    }
    p->pointerGrabbed = p->keyboardGrabbed = False;
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
    if (p->poppedUp)
        return;
    if (p->type == ComboTypeTextField)
        ReportEditedText(cb);
    if (!ListItems(cb) || ListItemCount(cb) == 0)
        return;
    if (!NotifyMenuPost(cb))
        return;
    FitDropDown(cb);
    PlaceShell(cb);
    MarkCurrentItem(cb);
    p->poppedUp = True;
    XtPopup(p->popupShell, XtGrabNone);
    p->grabTriesLeft = grabTries;
    TakeGrabs(cb);
    XtAddGrab(p->popupShell, True, True);
    XDefineCursor(XtDisplay(cb), XtWindow(p->popupShell), XmGetMenuCursor(XtDisplay(cb)));
}

void DropOnArrowPress(Widget arrow, XtPointer client, XtPointer call)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    XEvent *event = ((XmAnyCallbackStruct *)call)->event;
    if (!event || event->type != ButtonPress)
        return;
    PostList(arrow, cb, nullptr);
    cb->combo_box.droppedByPress = cb->combo_box.poppedUp;
}

// Hides the shell and lets go of every grab; the text field takes the focus
// back from the list.
static void TakeListDown(DtComboBoxWidget cb)
{
    DtComboBoxPart *p = &cb->combo_box;
    p->poppedUp = False;
    p->droppedByPress = False;
    XtPopdown(p->popupShell);
    ReleaseServerGrabs(cb);
    XtRemoveGrab(p->popupShell);
    if (p->type == ComboTypeTextField)
        XmProcessTraversal(p->textField, XmTRAVERSE_CURRENT);
}

void UnpostList(DtComboBoxWidget cb)
{
    if (cb->combo_box.poppedUp)
        TakeListDown(cb);
}

// Makes the list's item at a zero-based position current; a choice that took
// the list down is reported through the selection callbacks.
static void ChooseItem(DtComboBoxWidget cb, int position, XEvent *event)
{
    DtComboBoxPart *p = &cb->combo_box;
    // The list frees its callbacks' copies of the item; keep its own.
    XmString item = ListItems(cb)[position];
    p->selectedPosition = position;
    if (p->type == ComboTypeTextField)
        ShowItemInTextField(cb, item);
    else
        ShowItemInLabel(cb, item, False);
    CurrentItemMayHaveChanged(cb, event);
    if (p->poppedUp || cb->core.being_destroyed)
        return;
    ComboBoxCallbackStruct selection = {ComboReasonSelect, event, item, p->selectedPosition};
    XtCallCallbackList((Widget)cb, p->selectionCallback, &selection);
}

void ListItemChosen(Widget, XtPointer client, XtPointer call)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    XmListCallbackStruct *chosen = (XmListCallbackStruct *)call;
    int position = chosen->item_position - 1;
    if (!ListItems(cb) || position < 0 || position >= ListItemCount(cb))
        return;
    if (chosen->reason == XmCR_DEFAULT_ACTION)
        UnpostList(cb);
    ChooseItem(cb, position, chosen->event);
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

// Ends the press on the arrow that dropped the list: the arrow lets go,
// and a release elsewhere than on the arrow or the list takes the list down.
static void EndArrowPress(DtComboBoxWidget cb, XEvent *event)
{
    DtComboBoxPart *p = &cb->combo_box;
    p->droppedByPress = False;
    Widget arrow = p->arrowButton;
    XtCallActionProc(arrow, "Disarm", event, nullptr, 0);
    if (event->xbutton.window != XtWindow(arrow))
        UnpostList(cb);
}

// A press outside the list, in this program or any other, takes the list
// down without a choice; so does the release that ends a press on the arrow
// away from it.
void ShellPressHandler(Widget, XtPointer client, XEvent *event, Boolean *)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    if (!cb->combo_box.poppedUp)
        return;
    // The press on the arrow that dropped the list comes here too.
    Boolean droppingPress = cb->combo_box.droppedByPress &&
                            event->xbutton.window == XtWindow(cb->combo_box.arrowButton);
    if (event->type == ButtonPress && !droppingPress && !PressOnList(cb, event->xbutton.window))
        UnpostList(cb);
    else if (event->type == ButtonRelease && cb->combo_box.droppedByPress)
        EndArrowPress(cb, event);
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

// Chooses the item under a release that ends a drag from the arrow, as an
// option menu does; a release under the last item chooses nothing.
static void ChooseItemUnderRelease(DtComboBoxWidget cb, XEvent *event)
{
    DtComboBoxPart *p = &cb->combo_box;
    int position = XmListYToPos(p->list, event->xbutton.y);
    p->droppedByPress = False;
    XtCallActionProc(p->arrowButton, "Disarm", event, nullptr, 0);
    TakeListDown(cb);
    if (position < 1 || position > ListItemCount(cb))
        return;
    XmListSelectPos(p->list, position, False);
    ChooseItem(cb, position - 1, event);
}

// The first character of an item's text, folded to lower case; 0 for none.
static wchar_t FoldedInitial(const char *text, size_t length)
{
    wchar_t initial = 0;
    mbstate_t state = mbstate_t();
    if (!text || mbrtowc(&initial, text, length, &state) > length)
        return 0;
    return towlower(initial);
}

// Moves on to the next item, round to the first, whose text starts with the
// typed character, whatever the case of either; returns whether the key
// was such a character.
static Boolean TypeAhead(DtComboBoxWidget cb, XKeyEvent *key)
{
    if (key->state & (ControlMask | Mod1Mask))
        return False;
    char typed[8];
    KeySym keysym;
    int length = XLookupString(key, typed, sizeof typed, &keysym, nullptr);
    wchar_t wanted = length > 0 ? FoldedInitial(typed, length) : 0;
    if (!iswprint(wanted) || iswspace(wanted))
        return False;
    Widget list = cb->combo_box.list;
    int count = ListItemCount(cb);
    int from = XmListGetKbdItemPos(list);
    for (int step = 1; step <= count; step++) {
        int position = (from - 1 + step) % count + 1;
        char *text = FirstTextSegment(ListItems(cb)[position - 1]);
        Boolean match = text && FoldedInitial(text, strlen(text)) == wanted;
        XtFree(text);
        if (match) {
            XmListSelectPos(list, position, True);
            MarkCurrentItem(cb);
            break;
        }
    }
    return True;
}

// Takes the list down on a release in it, before the list reports the
// choice.  The wheel only scrolls the list.
void ListGrabHandler(Widget, XtPointer client, XEvent *event, Boolean *more)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    DtComboBoxPart *p = &cb->combo_box;
    if (FromWheel(event))
        return;
    switch (event->type) {
    case ButtonPress:
        listButtonDown = True;
        p->droppedByPress = False;
        break;
    case ButtonRelease:
        if (p->poppedUp && p->droppedByPress && !listButtonDown) {
            ChooseItemUnderRelease(cb, event);
            *more = False;
        } else if (p->poppedUp) {
            TakeListDown(cb);
        }
        listButtonDown = False;
        break;
    case FocusOut:
        if (p->poppedUp) {
            p->keyboardGrabbed = TryGrabKeyboard(cb);
            XtSetKeyboardFocus(p->list, None);
        }
        break;
    case KeyPress:
        if (p->poppedUp && TypeAhead(cb, &event->xkey))
            *more = False;
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
    XtGCMask mask = GCForeground | GCLineWidth | GCLineStyle | GCFillStyle;
    // An insensitive arrow is drawn through a half-tone, greyed as Motif's
    // own insensitive buttons are.
    if (!XtIsSensitive(w)) {
        values.fill_style = FillStippled;
        values.stipple = XmGetPixmapByDepth(XtScreen(w), const_cast<char *>("50_foreground"),
                                            1, 0, 1);
        mask |= GCStipple;
    }
    GC gc = XtGetGC(w, mask, &values);
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
    if (mask & GCStipple)
        XmDestroyPixmap(XtScreen(w), values.stipple);
}

// The focus that the text field lends the dropped list is no loss to report.
void ForwardLosingFocus(Widget, XtPointer client, XtPointer call)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    if (cb->combo_box.poppedUp) {
        cb->combo_box.focusLent = True;
        return;
    }
    XtCallCallbacks((Widget)cb, DtNlosingFocusCallback, call);
}

void ForwardActivate(Widget, XtPointer client, XtPointer call)
{
    XtCallCallbacks((Widget)client, DtNactivateCallback, call);
}

// The focus coming back from the list is no gain to report.
void ForwardFocus(Widget, XtPointer client, XtPointer call)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    if (cb->combo_box.focusLent || cb->combo_box.poppedUp) {
        cb->combo_box.focusLent = cb->combo_box.poppedUp;
        return;
    }
    XtCallCallbacks((Widget)cb, DtNfocusCallback, call);
}

// The toolkit drops its own grab on the shell that it destroys.
void TakeDownBeforeDestroy(Widget, XtPointer client, XtPointer)
{
    DtComboBoxWidget cb = (DtComboBoxWidget)client;
    cb->combo_box.poppedUp = False;
    ReleaseServerGrabs(cb);
}
