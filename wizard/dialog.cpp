// The error dialog through which every failure of the install reaches the
// user: the error symbol, the message and one OK button.
#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include "build.h"
#include "wizard.h"

Widget ErrorDialog;

// Makes the dialog, unmanaged, over the application shell.
void CreateErrorDialog()
{
    ErrorDialog = XmCreateErrorDialog(pAppShell, const_cast<char *>("ErrorDialog"), nullptr, 0);
    XtVaSetValues(XtParent(ErrorDialog), XtNtitle, "Error", nullptr);
    XtVaSetValues(ErrorDialog, XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL, XmNnoResize, True,
                  nullptr);
    XtUnmanageChild(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_HELP_BUTTON));
    XtUnmanageChild(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_CANCEL_BUTTON));
}
