// The installer's window: three pages (license, destination, progress), the
// error dialog, page navigation with its keyboard accelerators, and the
// progress bar.  Everything is built once by BuildWizard before the window
// is shown; afterwards pages are switched by managing and unmanaging forms.
#ifndef ZORVANE_WIZARD_H
#define ZORVANE_WIZARD_H

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <string>

// Toolkit state made by the build and used by the installer's event pumping.
extern XtAppContext pAppContext;
extern Widget pAppShell;

// Every widget of the window, under its widget name.
extern Widget placeholder, dummypopup;
extern Widget page1form, page1logo, page1toplabel, page1bottomlabel, page1licensewindow,
    page1license, page1separator, page1buttons, page1finish, page1accept, page1back, page1cancel;
extern Widget page2form, page2logo, page2frame1, page2dircombobox, page2dirlabel, page2separator,
    page2buttons, page2finish, page2next, page2back, page2cancel;
extern Widget page3form, page3logo, page3progresslabel, page3progressframe, page3progressbar;
extern Widget ErrorDialog;

// The buttons that take the focus after a page switch and that Return runs.
extern Widget pPage1Default, pPage2Default;

// The progress bar's drawing state.
extern GC gcDraw;
extern XFontStruct *pFont;
extern int nLastWidth;

// The fallback resources: 52 lines and a terminating null entry.
extern const char *resources[];

// Builds the whole window and shows it; returns with the window mapped.
void BuildWindow(int *argc, char **argv);
// Builds the window, shows it and runs the toolkit's main loop; does not return.
void BuildWizard(int *argc, char **argv);

// A path (or a text holding one) as the window shows it in the locale.
std::string ShownInLocale(const std::string &path);
// The path that the destination's text names, byte for byte.
std::string DestinationPath(const std::string &text);

// Page navigation and the keyboard accelerators.
void ShowDestinationPage(Widget w, XtPointer clientData, XtPointer callData);
void ShowLicensePage(Widget w, XtPointer clientData, XtPointer callData);
void HandleAccelerator(Widget w, XtPointer clientData, XtPointer callData);
void FocusDefault();
void ActivateDefault();
// True while the progress page is in view: no page switch or second install then.
bool InstallUnderWay();

// Draws the progress bar from fPercentDone; the drawing area's expose callback.
void DrawProgress(Widget w, XtPointer clientData, XtPointer callData);
// Shows the progress after a chunk of the payload and keeps the window live.
void ShowProgress();

#endif
