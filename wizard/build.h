// The steps of the window's build sequence, each done once by BuildWindow,
// and the data compiled into the program for them.
#ifndef ZORVANE_WIZARD_BUILD_H
#define ZORVANE_WIZARD_BUILD_H

#include <X11/Intrinsic.h>

// The logo, XPM 3 data made at build time from the vendor's XPM file.
extern const char *const logo_xpm[];
// The license agreement made at build time from the vendor's text file.
extern const char license_text[];

void UseEnvironmentLocale();
void FontListsAsFontSets(Display *display);
void FixWindowSize();
void PlaceWindow();
void CentreOverWindow(Widget dialog, XtPointer, XtPointer);
void CreateAcceleratorMenu();
void BuildLicensePage(Pixmap logo);
void BuildDestinationPage(Pixmap logo);
void BuildProgressPage(Pixmap logo);
void AddDestinationCandidates(Widget comboBox);
void CreateErrorDialog();
void RegisterCallbacks();

#endif
