#include "ComboBoxTesting.h"

#include <unistd.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <Xm/BulletinB.h>
#include <Xm/Label.h>
#include <Xm/TextF.h>

namespace testing_support {

static XtAppContext app;
static Display *display;
static Widget applicationShell;
static std::vector<std::string> warnings;

static void CollectWarning(String message)
{
    warnings.push_back(message);
}

// Opens the display once for the whole test program.
static void OpenApplication()
{
    if (display)
        return;
    static char name[] = "comboboxtest";
    static char *argv[] = {name, nullptr};
    int argc = 1;
    applicationShell = XtVaOpenApplication(&app, "ComboBoxTest", nullptr, 0, &argc, argv,
                                           nullptr, applicationShellWidgetClass,
                                           XmNmappedWhenManaged, False, nullptr);
    display = XtDisplay(applicationShell);
    XtAppSetWarningHandler(app, CollectWarning);
    XtVaSetValues(applicationShell, XmNwidth, 1, XmNheight, 1, nullptr);
    XtRealizeWidget(applicationShell);
}

XtAppContext App()
{
    OpenApplication();
    return app;
}

Display *TheDisplay()
{
    OpenApplication();
    return display;
}

std::vector<std::string> &Warnings()
{
    return warnings;
}

Widget NewWindow(int x, int y)
{
    OpenApplication();
    Widget shell = XtVaCreatePopupShell("window", topLevelShellWidgetClass, applicationShell,
                                        XmNx, x, XmNy, y, XmNallowShellResize, True,
                                        nullptr);
    // A bulletin board keeps its children where they are put and grants
    // their size requests, so the combo boxes get what they ask for.
    Widget board = XtVaCreateManagedWidget("board", xmBulletinBoardWidgetClass, shell,
                                           XmNmarginWidth, 0, XmNmarginHeight, 0, nullptr);
    warnings.clear();
    return board;
}

void ShowWindow(Widget window)
{
    XtPopup(XtParent(window), XtGrabNone);
    Settle();
}

void CloseWindow(Widget window)
{
    XtDestroyWidget(XtParent(window));
    Settle();
    warnings.clear();
}

void Settle()
{
    int quiet = 0;
    while (quiet < 3) {
        XSync(display, False);
        if (XtAppPending(app)) {
            while (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            quiet = 0;
        } else {
            quiet++;
            usleep(20000);
        }
    }
}

void WaitUntil(const std::function<bool()> &done)
{
    for (int waited = 0; !done() && waited < 10000; waited += 10) {
        XSync(display, False);
        while (XtAppPending(app))
            XtAppProcessEvent(app, XtIMAll);
        usleep(10000);
    }
    Settle();
}

void MovePointerTo(int rootX, int rootY)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    Settle();
}

void ClickAt(int rootX, int rootY, unsigned button)
{
    MovePointerTo(rootX, rootY);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    Settle();
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    Settle();
}

void RootPosition(Widget w, int *x, int *y)
{
    Position rx = 0, ry = 0;
    XtTranslateCoords(w, 0, 0, &rx, &ry);
    *x = rx;
    *y = ry;
}

void ClickWidget(Widget w, unsigned button)
{
    int x, y;
    RootPosition(w, &x, &y);
    ClickAt(x + XtWidth(w) / 2, y + XtHeight(w) / 2, button);
}

// Presses and releases one key, holding a modifier key (or none) down.
static void FakeKey(KeySym keysym, KeySym modifier)
{
    KeyCode modifierCode = XKeysymToKeycode(display, modifier);
    KeyCode code = XKeysymToKeycode(display, keysym);
    if (modifier != NoSymbol)
        XTestFakeKeyEvent(display, modifierCode, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (modifier != NoSymbol)
        XTestFakeKeyEvent(display, modifierCode, False, CurrentTime);
}

void PressKey(const char *keysymName, bool shift)
{
    FakeKey(XStringToKeysym(keysymName), shift ? XK_Shift_L : NoSymbol);
    Settle();
}

void PressKeyWithAlt(const char *keysymName)
{
    FakeKey(XStringToKeysym(keysymName), XK_Alt_L);
    Settle();
}

void TypeText(const char *text)
{
    for (const char *c = text; *c; c++) {
        char name[2] = {*c, '\0'};
        KeySym keysym = *c == '/' ? XK_slash : *c == '_' ? XK_underscore : XStringToKeysym(name);
        FakeKey(keysym, *c == '_' || (*c >= 'A' && *c <= 'Z') ? XK_Shift_L : NoSymbol);
    }
    Settle();
}

XmString Xms(const char *text)
{
    return XmStringCreateLtoR(const_cast<char *>(text),
                              const_cast<char *>(XmSTRING_DEFAULT_CHARSET));
}

std::string Text(XmString s)
{
    char *text = nullptr;
    if (!s || !XmStringGetLtoR(s, const_cast<char *>(XmSTRING_DEFAULT_CHARSET), &text))
        return "";
    std::string result = text ? text : "";
    XtFree(text);
    return result;
}

std::string TextFieldValue(Widget textField)
{
    char *value = XmTextFieldGetString(textField);
    std::string result = value ? value : "";
    XtFree(value);
    return result;
}

std::string LabelText(Widget label)
{
    XmString s = nullptr;
    XtVaGetValues(label, XmNlabelString, &s, nullptr);
    std::string result = Text(s);
    XmStringFree(s);
    return result;
}

std::string ShownText(Widget combo)
{
    DtComboBoxPart &part = Part(combo);
    return part.type == ComboTypeTextField ? TextFieldValue(part.textField)
                                           : LabelText(part.labelWidget);
}

Widget NewComboBox(Widget parent, const char *name, ArgList args, Cardinal count)
{
    Widget combo = ZVKDtCreateComboBox(parent, const_cast<char *>(name), args, count);
    XtManageChild(combo);
    return combo;
}

void AddItems(Widget combo, std::initializer_list<const char *> texts)
{
    for (const char *text : texts) {
        XmString item = Xms(text);
        ZVKDtComboBoxAddItem(combo, item, 0, True);
        XmStringFree(item);
    }
}

}  // namespace testing_support
