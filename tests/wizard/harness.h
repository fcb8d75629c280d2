// Drives the wizard built in the test's own process: real X events through
// XTest on the private display that tests/with-x provides, and helpers to
// read what the window shows.
#ifndef ZORVANE_TESTS_WIZARD_HARNESS_H
#define ZORVANE_TESTS_WIZARD_HARNESS_H

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <functional>
#include <string>
#include <vector>

// Builds the window with these command-line words after the program name.
void BuildWithOptions(const std::vector<std::string> &options = {});
// Builds the window with these command-line words after the program name and
// waits until it is mapped and has the keyboard focus.
void StartWizard(const std::vector<std::string> &options = {});
// Handles events until the condition holds or the time runs out; the result
// is the condition's last value.  The default time allows for a loaded machine.
bool WaitFor(const std::function<bool()> &condition, int milliseconds = 60000);
// Handles events for a while.
void Settle(int milliseconds = 300);
// Handles the events that the server holds for the wizard, round trip after
// round trip, until it holds none: what this process's own requests and
// input caused has then been handled.
void Drain();
// What the wizard shows now, for a failure's message: the page, the unpack's
// progress, the error dialog and the keyboard focus.
std::string WizardState();

// Presses and releases a key by keysym name ("Return", "a"), with Shift when asked.
void PressKey(const char *keysym, bool shift = false);
// Types a text of letters, digits, '/' and '.'.
void Type(const std::string &text);
// Clicks the first pointer button in the middle of a widget.
void Click(Widget w);

// The page in view: 1, 2 or 3, or 0 when the forms say none or several.
int PageInView();
Widget FocusWidget();
// The destination's text field and its text.
Widget DestinationField();
std::string DestinationText();
void SetDestinationText(const std::string &text);
// A label's or the error dialog's text, line breaks as newlines.
std::string LabelText(Widget label);
std::string DialogText();
// What a widget's window shows now, read back from the server; the caller
// destroys the image.
XImage *Snapshot(Widget w);
// True once the error dialog is up.
bool DialogShown();
// The texts of the combo box's list, in order.
std::vector<std::string> Candidates();

// A fresh directory under the system's temporary directory, removed at exit.
std::string TemporaryDirectory();
// Writes a self-extracting file: some image bytes, the payload, the trailer.
void WriteInstallerFile(const std::string &path, const std::string &payload);
// A gzip'd tar payload of the files in directory, made by the real tar.
std::string PackDirectory(const std::string &directory);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::string &content, int mode = 0644);
// Makes path the installer's own file, as if the program had been started under it.
void UseInstallerFile(const std::string &path);
// A product directory whose player is "zorvane" with the given text and mode.
std::string MakeProduct(const std::string &player, int mode);
// A self-extracting file of a sound product whose player cannot start, so
// that a windowed install returns to the test with the launch's message.
std::string InstallerWhosePlayerCannotStart();
// Goes to page 2, puts destination into the text field and presses Finish.
void InstallInto(const std::string &destination);
// Gives up root for the unprivileged user "nobody"; false when that fails.
bool BecomeNobody();

#endif
