// The installer core: program-wide state and the routines that the entry
// point, the install action and the wizard share.
#ifndef ZORVANE_INSTALLER_H
#define ZORVANE_INSTALLER_H

#include <X11/Intrinsic.h>
#include <cstdio>
#include <string>

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

// A printf format filled with the arguments.
std::string Formatted(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Whether any failure has been reported so far.
bool FailureReported(void);

// Whether the installer's own file can be found and read; false, with the
// failure reported, when it cannot.
bool OwnFileReadable(void);

// Whether the destination's file system has room for the product; false,
// with the refusal reported, when it has not.
bool RoomForProduct(const char *destination);

// Checks the payload of length bytes at the file's position, read from the
// installer's own file, without unpacking it, and gives a one-line verdict;
// returns the exit status.
int CheckPayload(FILE *self, long long length);

// What is wrong with the gzip stream or the tar archive of the payload of
// length bytes at the file's position, which it reads; null when both are sound.
const char *PayloadFault(FILE *file, long long length);

// Runs the installer's own option that the whole command line names, if any,
// and ends the program with its status; returns when it names none.
void RunChosenOption(int argc, char **argv);

// Unpacks the payload carried by the installer's own file into destination;
// true when the product was unpacked.
bool Extract(char *destination);

#endif
