// The error dialog through which every failure of the install reaches the
// user: the error symbol, the message and one OK button.
#include <Xm/MessageB.h>
#include <Xm/Xm.h>
#include <cstdlib>
#include <cstring>
#include <string>

#include "build.h"
#include "wizard.h"

Widget ErrorDialog;

// Motif copies HOME into a path buffer of 1024 bytes when it looks for the
// dialog's error symbol; a HOME that would overflow it is hidden meanwhile.
static const size_t HOME_MOTIF_CAN_TAKE = 900;

// Makes the dialog, unmanaged, over the application shell.
static void CreateDialog() {
    ErrorDialog = XmCreateErrorDialog(pAppShell, const_cast<char *>("ErrorDialog"), nullptr, 0);
    XtVaSetValues(XtParent(ErrorDialog), XtNtitle, "Error", nullptr);
    XtVaSetValues(ErrorDialog, XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL, XmNnoResize, True,
                  nullptr);
    XtUnmanageChild(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_HELP_BUTTON));
    XtUnmanageChild(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_CANCEL_BUTTON));
    XtVaSetValues(ErrorDialog, XmNdefaultPosition, False, nullptr);
    XtAddCallback(ErrorDialog, XmNmapCallback, CentreOverWindow, nullptr);
}

// Makes the dialog with HOME kept from Motif when it is too long for it.
void CreateErrorDialog() {
    const char *home = getenv("HOME");
    if (home == nullptr || strlen(home) < HOME_MOTIF_CAN_TAKE) {
        CreateDialog();
        return;
    }
    const std::string saved = home;
    unsetenv("HOME");
    CreateDialog();
    setenv("HOME", saved.c_str(), 1);
}
