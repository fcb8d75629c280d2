// The installer core: program-wide state and the routines that the entry
// point, the install action and the wizard share.
#ifndef ZORVANE_INSTALLER_H
#define ZORVANE_INSTALLER_H

#include <X11/Intrinsic.h>

extern int bIsSilent;      // 0 at start, 1 once main has chosen a silent install
extern char *pLocation;    // silent mode: the destination, main's argv[2] itself
extern char **ppArgv;      // main's argv; element 0 names the installer's own file
extern float fPercentDone; // 0..100: share of the payload fed to the unpacker

// The install action: checks the destination, then unpacks the payload into it.
void Install(Widget, XtPointer, XtPointer);

// Ends the program.
void Quit(Widget, XtPointer, XtPointer);

// Shows a failure to the user.
void ReportError(const char *message);

// Shows a failure whose text is a printf format filled with the arguments.
void ReportFormatted(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Whether any failure has been reported so far.
bool FailureReported(void);

// Unpacks the payload carried by the installer's own file into destination;
// true when the product was unpacked.
bool Extract(char *destination);

#endif
