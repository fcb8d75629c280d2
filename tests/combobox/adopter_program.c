/* An adopter's program, built against the installed combo box and driven by
 * real pointer and key events (xdotool) under a window manager.  A second
 * client beside it checks that the combo box hands the pointer and keyboard
 * back: a press anywhere outside the dropped list takes it down, whether or
 * not the pointer visited the list; a press on the arrow dragged to an item
 * chooses it; a combo box destroyed while its list is down leaves no grab
 * behind; a drop-down of the screen's 32-bit visual shows; opening and
 * closing the list tells the text field's focus callbacks nothing. */
#define _POSIX_C_SOURCE 200809L
#include <stdio.h>
#include <string.h>
#include <stdlib.h>
#include <time.h>
#include <X11/Xutil.h>
#include <Xm/Xm.h>
#include <Xm/BulletinB.h>
#include <Xm/List.h>
#include <Xm/TextF.h>
#include <ComboBox.h>

static XtAppContext app;
static Display *display, *other;
static Window otherWindow;
static int otherPresses, failures, focusCalls, chosen = -1;
static char otherTyped[32];

static void Check(int ok, const char *what, const char *variant)
{
    printf("%s: %s (%s)\n", ok ? "ok" : "FAILED", what, variant);
    if (!ok)
        failures++;
}

/* The second client counts its presses and keeps what is typed to it. */
static void ServeOther(void)
{
    XEvent event;
    char text[8];
    int n;
    while (XPending(other)) {
        XNextEvent(other, &event);
        if (event.type == ButtonPress) {
            otherPresses++;
            XSetInputFocus(other, otherWindow, RevertToParent, CurrentTime);
        } else if (event.type == KeyPress) {
            n = XLookupString(&event.xkey, text, sizeof text - 1, NULL, NULL);
            text[n] = '\0';
            if (strlen(otherTyped) + n < sizeof otherTyped)
                strcat(otherTyped, text);
        }
    }
}

/* Lets both clients handle what came, until both are quiet for a moment. */
static void Settle(void)
{
    int quiet = 0;
    while (quiet < 8) {
        XSync(display, False);
        XSync(other, False);
        ServeOther();
        if (XtAppPending(app)) {
            while (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            quiet = 0;
        } else {
            struct timespec pause = {0, 25000000};
            quiet++;
            nanosleep(&pause, NULL);
        }
    }
}

static void Run(const char *command)
{
    if (system(command) != 0)
        fprintf(stderr, "failed: %s\n", command);
    Settle();
}

/* Moves the pointer to the middle of w, or of its item at a position. */
static void MoveTo(Widget w, int item)
{
    Position ix = 0, iy = 0;
    Dimension width = 0, height = 0;
    int x, y;
    Window child;
    char command[96];
    XtVaGetValues(w, XmNwidth, &width, XmNheight, &height, NULL);
    if (item > 0)
        XmListPosToBounds(w, item, &ix, &iy, &width, &height);
    XTranslateCoordinates(display, XtWindow(w), DefaultRootWindow(display), ix + width / 2,
                          iy + height / 2, &x, &y, &child);
    snprintf(command, sizeof command, "xdotool mousemove %d %d", x, y);
    Run(command);
}

static void ClickOn(Widget w)
{
    MoveTo(w, 0);
    Run("xdotool click 1");
}

static Boolean Dropped(Widget combo)
{
    Boolean down = False;
    XtVaGetValues(combo, DtNpoppedUp, &down, NULL);
    return down;
}

/* Whether the second client gets a click and typed text. */
static int OtherGetsInput(void)
{
    Window child;
    int x, y;
    char command[96];
    XTranslateCoordinates(other, otherWindow, DefaultRootWindow(other), 50, 50, &x, &y, &child);
    otherPresses = 0;
    otherTyped[0] = '\0';
    /* The first press, which takes a dropped list down, is the combo box's. */
    snprintf(command, sizeof command, "xdotool mousemove %d %d click 1", x, y);
    Run(command);
    Run("xdotool click 1");
    Run("xdotool key h i");
    if (otherPresses == 0 || strcmp(otherTyped, "hi") != 0)
        printf("the other client got %d presses and \"%s\"\n", otherPresses, otherTyped);
    return otherPresses > 0 && strcmp(otherTyped, "hi") == 0;
}

static void Chosen(Widget w, XtPointer client, XtPointer call)
{
    (void)w;
    (void)client;
    chosen = ((ComboBoxCallbackStruct *)call)->position;
}

static void FocusCalled(Widget w, XtPointer client, XtPointer call)
{
    (void)w;
    (void)client;
    (void)call;
    focusCalls++;
}

static Widget NewComboBox(Widget board, int type, int y)
{
    static const char *texts[] = {"alpha", "beta", "gamma"};
    Arg args[3];
    Widget combo;
    int i;
    XtSetArg(args[0], DtNtype, type);
    XtSetArg(args[1], XmNx, 10);
    XtSetArg(args[2], XmNy, y);
    combo = ZVKDtCreateComboBox(board, type ? "text" : "label", args, 3);
    for (i = 0; i < 3; i++) {
        XmString item = XmStringCreateLocalized((char *)texts[i]);
        ZVKDtComboBoxAddItem(combo, item, 0, True);
        XmStringFree(item);
    }
    XtAddCallback(combo, DtNselectionCallback, Chosen, NULL);
    XtAddCallback(combo, DtNfocusCallback, FocusCalled, NULL);
    XtAddCallback(combo, DtNlosingFocusCallback, FocusCalled, NULL);
    XtManageChild(combo);
    return combo;
}

static Widget Arrow(Widget combo)
{
    return XtNameToWidget(combo, "ComboBoxArrow");
}

static Widget List(Widget combo)
{
    Widget list = NULL;
    XtVaGetValues(combo, DtNlist, &list, NULL);
    return list;
}

/* A press outside the dropped list, after the pointer visited it or not. */
static void PressOutside(Widget board, Widget combo, const char *variant)
{
    int visited;
    for (visited = 0; visited <= 1; visited++) {
        ClickOn(board);
        ClickOn(Arrow(combo));
        Check(Dropped(combo), "the arrow drops the list", variant);
        if (visited)
            MoveTo(List(combo), 2);
        Check(OtherGetsInput() && !Dropped(combo),
              visited ? "after a visit to the list, a press in another program takes it down"
                      : "a press in another program takes the list down", variant);
    }
}

/* Opening and closing the list leaves the focus callbacks quiet. */
static void FocusStaysQuiet(Widget combo)
{
    ClickOn(XtNameToWidget(combo, "Text"));
    focusCalls = 0;
    ClickOn(Arrow(combo));
    Check(Dropped(combo), "the arrow drops the list", "focus");
    Run("xdotool key Escape");
    Check(!Dropped(combo) && focusCalls == 0,
          "opening and closing the list calls no focus callback", "focus");
}

/* A press on the arrow, dragged to the third item and released, chooses it. */
static void DragToItem(Widget board, Widget combo)
{
    ClickOn(board);
    MoveTo(Arrow(combo), 0);
    chosen = -1;
    Run("xdotool mousedown 1");
    Check(Dropped(combo), "a press on the arrow drops the list", "drag");
    MoveTo(List(combo), 3);
    Run("xdotool mouseup 1");
    Check(chosen == 2 && !Dropped(combo), "the release on an item chooses it", "drag");
    Check(OtherGetsInput(), "no grab is left after the drag", "drag");
}

/* Destroying a combo box while its list is down leaves no grab behind. */
static void DestroyWhileDropped(Widget board, Widget field)
{
    Widget combo = NewComboBox(board, ComboTypeTextField, 160);
    char *value;
    Settle();
    ClickOn(board);
    ClickOn(Arrow(combo));
    Check(Dropped(combo), "the list drops", "destroy");
    XtDestroyWidget(combo);
    Settle();
    ClickOn(field);
    Run("xdotool key x");
    value = XmTextFieldGetString(field);
    Check(strcmp(value, "x") == 0, "another field takes the click and the key", "destroy");
    XtFree(value);
    Check(OtherGetsInput(), "no grab is left", "destroy");
}

/* A drop-down of the screen's 32-bit TrueColor visual shows. */
static void DeepVisual(Widget board)
{
    XVisualInfo deep;
    XWindowAttributes attributes;
    Widget combo, shell;
    if (!XMatchVisualInfo(display, DefaultScreen(display), 32, TrueColor, &deep)) {
        Check(0, "the screen offers a 32-bit TrueColor visual", "visual");
        return;
    }
    ZVKDtInitComboBox(deep.visual, 32);
    combo = NewComboBox(board, ComboTypeLabel, 210);
    Settle();
    ClickOn(board);
    ClickOn(Arrow(combo));
    shell = XtParent(XtParent(XtParent(List(combo))));
    XGetWindowAttributes(display, XtWindow(shell), &attributes);
    Check(Dropped(combo) && attributes.depth == 32 && attributes.visual == deep.visual,
          "the drop-down shows with the 32-bit visual", "visual");
    Run("xdotool key Escape");
    Check(!Dropped(combo), "Escape takes it down", "visual");
}

int main(int argc, char **argv)
{
    Widget top, board, text, label, field;
    XSetWindowAttributes attributes;
    XWMHints hints;
    XSizeHints size;
    top = XtVaOpenApplication(&app, "Adopter", NULL, 0, &argc, argv, NULL,
                              applicationShellWidgetClass, XmNx, 20, XmNy, 20, NULL);
    display = XtDisplay(top);
    board = XtVaCreateManagedWidget("board", xmBulletinBoardWidgetClass, top,
                                    XmNwidth, 400, XmNheight, 260, NULL);
    text = NewComboBox(board, ComboTypeTextField, 10);
    label = NewComboBox(board, ComboTypeLabel, 60);
    field = XtVaCreateManagedWidget("field", xmTextFieldWidgetClass, board,
                                    XmNx, 10, XmNy, 110, NULL);
    XtRealizeWidget(top);

    other = XOpenDisplay(NULL);
    attributes.event_mask = ButtonPressMask | KeyPressMask;
    attributes.background_pixel = WhitePixel(other, DefaultScreen(other));
    otherWindow = XCreateWindow(other, DefaultRootWindow(other), 600, 100, 200, 200, 0,
                                CopyFromParent, InputOutput, CopyFromParent,
                                CWEventMask | CWBackPixel, &attributes);
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(other, otherWindow, &hints);
    size.flags = USPosition | USSize;
    size.x = 600;
    size.y = 100;
    size.width = size.height = 200;
    XSetWMNormalHints(other, otherWindow, &size);
    XMapWindow(other, otherWindow);
    Settle();
    Run("sleep 0.5");

    PressOutside(board, text, "text");
    PressOutside(board, label, "label");
    FocusStaysQuiet(text);
    DragToItem(board, text);
    DestroyWhileDropped(board, field);
    DeepVisual(board);
    XCloseDisplay(other);
    printf("%s: the adopter's program\n", failures ? "FAILED" : "done");
    return failures ? 1 : 0;
}
