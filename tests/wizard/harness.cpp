// The test harness: the wizard in this process, driven through XTest.
#include <gtest/gtest.h>

#include "harness.h"
#include "environment.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "installer.h"
#include "wizard.h"

static std::vector<std::string> arguments;
static std::vector<char *> argumentPointers;

static Display *TheDisplay() {
    return XtDisplay(pAppShell);
}

// Handles every event, timer and input that is pending now.
static void HandlePending() {
    XtInputMask pending;
    while ((pending = XtAppPending(pAppContext)) != 0)
        XtAppProcessEvent(pAppContext, pending);
}

bool WaitFor(const std::function<bool()> &condition, int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        XSync(TheDisplay(), False);
        HandlePending();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void Settle(int milliseconds) {
    WaitFor([] { return false; }, milliseconds);
}

void Drain() {
    XSync(TheDisplay(), False);
    while (XtAppPending(pAppContext) & XtIMXEvent) {
        HandlePending();
        XSync(TheDisplay(), False);
    }
}

// True when the X keyboard focus lies in the wizard's shell.
static bool ShellHasInputFocus() {
    Window focus;
    int revert;
    XGetInputFocus(TheDisplay(), &focus, &revert);
    for (Window w = focus; w != None && w != PointerRoot;) {
        if (w == XtWindow(pAppShell))
            return true;
        Window root, parent, *children = nullptr;
        unsigned int count;
        if (!XQueryTree(TheDisplay(), w, &root, &parent, &children, &count))
            return false;
        XFree(children);
        w = parent == root ? None : parent;
    }
    return false;
}

// True once the shell's window is viewable.
static bool ShellViewable() {
    XWindowAttributes attributes;
    return XGetWindowAttributes(TheDisplay(), XtWindow(pAppShell), &attributes) &&
           attributes.map_state == IsViewable;
}

void BuildWithOptions(const std::vector<std::string> &options) {
    arguments = {"zorvane-installer"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    argumentPointers.clear();
    for (std::string &argument : arguments)
        argumentPointers.push_back(&argument[0]);
    argumentPointers.push_back(nullptr);
    int count = static_cast<int>(arguments.size());
    if (ppArgv == nullptr)
        ppArgv = argumentPointers.data();
    BuildWindow(&count, argumentPointers.data());
}

void StartWizard(const std::vector<std::string> &options) {
    BuildWithOptions(options);
    ASSERT_TRUE(WaitFor(ShellViewable)) << "the window was not mapped in time; " << WizardState();
    if (!WaitFor(ShellHasInputFocus, 1500)) {
        Click(page1logo);
        ASSERT_TRUE(WaitFor(ShellHasInputFocus))
            << "the window did not take the focus in time; " << WizardState();
    }
    Drain();
}

void PressKey(const char *keysym, bool shift) {
    Display *display = TheDisplay();
    KeyCode shiftKey = XKeysymToKeycode(display, XStringToKeysym("Shift_L"));
    KeyCode key = XKeysymToKeycode(display, XStringToKeysym(keysym));
    ASSERT_NE(key, 0) << "no key for " << keysym;
    if (shift)
        XTestFakeKeyEvent(display, shiftKey, True, CurrentTime);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(display, shiftKey, False, CurrentTime);
    Drain();
}

void Type(const std::string &text) {
    for (char c : text) {
        if (c == '/')
            PressKey("slash");
        else if (c == '.')
            PressKey("period");
        else if (c >= 'A' && c <= 'Z')
            PressKey(std::string(1, static_cast<char>(c - 'A' + 'a')).c_str(), true);
        else
            PressKey(std::string(1, c).c_str());
    }
}

// Whether the pointer is at (x, y) on the screen.
static bool PointerAt(int x, int y) {
    Window root, child;
    int rootX, rootY, windowX, windowY;
    unsigned int buttons;
    XQueryPointer(TheDisplay(), DefaultRootWindow(TheDisplay()), &root, &child, &rootX, &rootY,
                  &windowX, &windowY, &buttons);
    return rootX == x && rootY == y;
}

void Click(Widget w) {
    Display *display = TheDisplay();
    Dimension width = 0, height = 0;
    Position left = 0, top = 0;
    XtVaGetValues(w, XtNwidth, &width, XtNheight, &height, XtNx, &left, XtNy, &top, nullptr);
    if (XtIsWidget(w)) // a gadget lies in its parent's window
        left = top = 0;
    Window child;
    int x, y;
    XTranslateCoordinates(display, XtWindowOfObject(w), DefaultRootWindow(display),
                          left + width / 2, top + height / 2, &x, &y, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    // The window manager may hold the pointer on a click until it has chosen
    // to pass the click on or to keep it (as it does from a window under a
    // modal dialog); a move after the click shows once it has let go.
    XTestFakeMotionEvent(display, DefaultScreen(display), x + 1, y, CurrentTime);
    ASSERT_TRUE(WaitFor([x, y] { return PointerAt(x + 1, y); }))
        << "the pointer was still held after the click on " << XtName(w) << "; "
        << WizardState();
    Drain();
}

int PageInView() {
    bool one = XtIsManaged(page1form), two = XtIsManaged(page2form), three = XtIsManaged(page3form);
    if (one + two + three != 1)
        return 0;
    return one ? 1 : two ? 2 : 3;
}

Widget FocusWidget() {
    return XmGetFocusWidget(pAppShell);
}

Widget DestinationField() {
    Widget textField = nullptr;
    XtVaGetValues(page2dircombobox, "textField", &textField, nullptr);
    return textField;
}

std::string DestinationText() {
    char *value = XmTextFieldGetString(DestinationField());
    std::string text = value;
    XtFree(value);
    return text;
}

void SetDestinationText(const std::string &text) {
    XmTextFieldSetString(DestinationField(), const_cast<char *>(text.c_str()));
}

// The text of a compound string, its line breaks as newlines.
static std::string Text(XmString string) {
    XmString separator = XmStringSeparatorCreate();
    Arg args[4];
    Cardinal n = 0;
    XtSetArg(args[n], XmNpattern, const_cast<char *>("\n"));
    n++;
    XtSetArg(args[n], XmNpatternType, XmCHARSET_TEXT);
    n++;
    XtSetArg(args[n], XmNsubstitute, separator);
    n++;
    XtSetArg(args[n], XmNincludeStatus, XmINSERT);
    n++;
    XmParseMapping newline = XmParseMappingCreate(args, n);
    char *text = static_cast<char *>(XmStringUnparse(string, nullptr, XmCHARSET_TEXT,
                                                     XmCHARSET_TEXT, &newline, 1, XmOUTPUT_ALL));
    std::string result = text ? text : "";
    XtFree(text);
    XmStringFree(separator);
    XmParseMappingFree(newline);
    return result;
}

std::string LabelText(Widget label) {
    XmString string = nullptr;
    XtVaGetValues(label, XmNlabelString, &string, nullptr);
    std::string text = Text(string);
    XmStringFree(string);
    return text;
}

std::string DialogText() {
    XmString string = nullptr;
    XtVaGetValues(ErrorDialog, XmNmessageString, &string, nullptr);
    std::string text = Text(string);
    XmStringFree(string);
    return text;
}

XImage *Snapshot(Widget w) {
    Dimension width = 0, height = 0;
    XtVaGetValues(w, XtNwidth, &width, XtNheight, &height, nullptr);
    return XGetImage(XtDisplay(w), XtWindow(w), 0, 0, width, height, AllPlanes, ZPixmap);
}

// The name of the X window that has the keyboard focus, or its number.
static std::string FocusWindowName() {
    Window focus;
    int revert;
    XGetInputFocus(TheDisplay(), &focus, &revert);
    if (focus == None || focus == PointerRoot)
        return focus == None ? "none" : "the pointer's window";
    char *name = nullptr;
    std::string described = std::to_string(focus);
    if (XFetchName(TheDisplay(), focus, &name) && name)
        described += " \"" + std::string(name) + "\"";
    XFree(name);
    return described;
}

std::string WizardState() {
    std::ostringstream state;
    XWindowAttributes window = {}, dialog = {};
    XGetWindowAttributes(TheDisplay(), XtWindow(pAppShell), &window);
    state << "page in view " << PageInView() << ", the window "
          << (window.map_state == IsViewable ? "shown" : "not shown") << ", " << fPercentDone
          << "% unpacked, the error dialog ";
    if (!XtIsManaged(ErrorDialog))
        state << "not up";
    else if (!XtIsRealized(ErrorDialog) ||
             !XGetWindowAttributes(TheDisplay(), XtWindow(ErrorDialog), &dialog) ||
             dialog.map_state != IsViewable)
        state << "managed but not shown";
    else
        state << "shown with \"" << DialogText() << "\"";
    state << ", the keyboard focus in window " << FocusWindowName();
    return state.str();
}

bool DialogShown() {
    return XtIsManaged(ErrorDialog) && XtIsRealized(ErrorDialog) && [] {
        XWindowAttributes attributes;
        XGetWindowAttributes(TheDisplay(), XtWindow(ErrorDialog), &attributes);
        return attributes.map_state == IsViewable;
    }();
}

std::vector<std::string> Candidates() {
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(page2dircombobox, "items", &items, "itemCount", &count, nullptr);
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++)
        texts.push_back(Text(items[i]));
    return texts;
}

// The directories made for the test, removed when the process ends.
static std::vector<std::string> madeDirectories;

std::string TemporaryDirectory() {
    char pattern[] = "/tmp/wizard-test.XXXXXX";
    std::string directory = mkdtemp(pattern);
    chmod(directory.c_str(), 0755); // open to others, root would refuse to install below it
    if (madeDirectories.empty())
        atexit([] {
            // an install has entered one of them: leave it before it goes
            if (chdir("/") != 0)
                perror("/");
            for (const std::string &made : madeDirectories)
                if (system(("rm -rf '" + made + "'").c_str()) != 0)
                    fprintf(stderr, "could not remove %s\n", made.c_str());
        });
    madeDirectories.push_back(directory);
    return directory;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string &path, const std::string &content, int mode) {
    std::ofstream(path, std::ios::binary) << content;
    chmod(path.c_str(), mode);
}

std::string PackDirectory(const std::string &directory) {
    std::string archive = directory + ".tar.gz";
    std::string command = "cd '" + directory + "' && tar -cf - . | gzip > '" + archive + "'";
    EXPECT_EQ(system(command.c_str()), 0) << command;
    return ReadFile(archive);
}

void WriteInstallerFile(const std::string &path, const std::string &payload) {
    std::string image(4096, '\x7f');
    WriteFile(path, image + payload + "\n" + std::to_string(payload.size()) + "\n", 0755);
}

bool BecomeNobody() {
    // hand the test's directories over first, so that they can still be removed
    for (const std::string &made : madeDirectories)
        if (system(("chown -R 65534:65534 '" + made + "'").c_str()) != 0)
            return false;
    return setgid(65534) == 0 && setuid(65534) == 0;
}

// The installer's own file is the one that the test chose, not this test program.
const char *OwnFilePath(void) {
    return ppArgv[0];
}

void UseInstallerFile(const std::string &path) {
    static std::string name;
    static char *argv[2];
    name = path;
    argv[0] = &name[0];
    argv[1] = nullptr;
    ppArgv = argv;
}

std::string MakeProduct(const std::string &player, int mode) {
    std::string product = TemporaryDirectory() + "/product";
    mkdir(product.c_str(), 0755);
    WriteFile(product + "/zorvane", player, mode);
    mkdir((product + "/share").c_str(), 0755);
    WriteFile(product + "/share/readme", "Zorvane 8\n");
    return product;
}

std::string InstallerWhosePlayerCannotStart() {
    std::string path = TemporaryDirectory() + "/installer.bin";
    // executable, so that the unpack takes it for the player, yet no program
    WriteInstallerFile(path, PackDirectory(MakeProduct("not a program\n", 0755)));
    return path;
}

void InstallInto(const std::string &destination) {
    if (PageInView() == 1)
        PressKey("Return");
    ASSERT_EQ(PageInView(), 2);
    SetDestinationText(destination);
    Click(page2finish);
}
