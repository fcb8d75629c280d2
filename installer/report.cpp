// The one reporter of the installer's failures.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include <Xm/Xm.h>

#include "installer.h"
#include "wizard.h"

static int nFailures = 0;

// Puts a failure into the error dialog and pops it up over the wizard; a
// newline in the message breaks the dialog's line, and a path in it shows
// as the destination's text field shows it.
static void ShowInErrorDialog(const char *message) {
    std::string shown = ShownInLocale(message);
    XmString text = XmStringCreateLtoR(&shown[0], XmSTRING_DEFAULT_CHARSET);
    XtVaSetValues(ErrorDialog, XmNmessageString, text, nullptr);
    XmStringFree(text);
    XtManageChild(ErrorDialog);
}

// Shows a failure to the user: a line on the standard error stream in a
// silent install, the error dialog otherwise.
void ReportError(const char *message) {
    nFailures++;
    if (bIsSilent)
        fprintf(stderr, "%s\n", message);
    else
        ShowInErrorDialog(message);
}

// Fills a format with its arguments, whatever the length of its paths.
static std::string FormatList(const char *format, va_list arguments) {
    va_list measuring;
    va_copy(measuring, arguments);
    int length = vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::vector<char> text(length > 0 ? length + 1 : 1, '\0');
    if (length > 0)
        vsnprintf(text.data(), text.size(), format, arguments);
    return text.data();
}

// A text built from a format and its arguments.
std::string Formatted(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = FormatList(format, arguments);
    va_end(arguments);
    return text;
}

// Shows a failure built from a format.
void ReportFormatted(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = FormatList(format, arguments);
    va_end(arguments);
    ReportError(text.c_str());
}

// Whether the user has been shown a failure; a silent install then ends with status 1.
bool FailureReported(void) {
    return nFailures > 0;
}
