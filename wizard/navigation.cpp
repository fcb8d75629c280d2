// Page navigation: the switches between the license and destination pages,
// the keyboard focus that follows them, and the five keyboard accelerators
// carried by a popup menu that is never shown.
#include <Xm/Protocols.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>
#include <cstdint>

#include "build.h"
#include "installer.h"
#include "wizard.h"

Widget dummypopup;

// The progress page is in view from the start of an unpack to the end.
bool InstallUnderWay() {
    return page3form != nullptr && XtIsManaged(page3form);
}

// Raises a widget's window over the siblings that it overlaps.
static void Raise(Widget w) {
    XRaiseWindow(XtDisplay(w), XtWindow(w));
}

// Shows page 2, the destination directory, with the focus on Finish.
void ShowDestinationPage(Widget, XtPointer, XtPointer) {
    if (InstallUnderWay())
        return;
    XtManageChild(page2form);
    XtUnmanageChild(page1form);
    Raise(page2dirlabel);
    Raise(page2buttons);
    FocusDefault();
}

// Shows page 1, the license agreement, with the focus on "Accept >".
void ShowLicensePage(Widget, XtPointer, XtPointer) {
    if (InstallUnderWay())
        return;
    XtManageChild(page1form);
    XtUnmanageChild(page2form);
    FocusDefault();
}

// Puts the keyboard focus on the default button of the page in view.
void FocusDefault() {
    if (XtIsManaged(page1form))
        XmProcessTraversal(pPage1Default, XmTRAVERSE_CURRENT);
    else if (XtIsManaged(page2form))
        XmProcessTraversal(pPage2Default, XmTRAVERSE_CURRENT);
}

// Runs the default button of the page in view, as the Return key does.
void ActivateDefault() {
    if (XtIsManaged(page1form))
        XtCallCallbacks(pPage1Default, XmNactivateCallback, nullptr);
    else if (XtIsManaged(page2form))
        XtCallCallbacks(pPage2Default, XmNactivateCallback, nullptr);
}

// The destination's text field when it has the keyboard focus, else null.
static Widget FocusedTextField() {
    Widget textField = nullptr;
    XtVaGetValues(page2dircombobox, "textField", &textField, nullptr);
    if (textField != nullptr && textField == XmGetFocusWidget(pAppShell))
        return textField;
    return nullptr;
}

// Return runs the default button of the page in view.
static void ReturnKey(Widget, XtPointer, XtPointer) {
    ActivateDefault();
}

// The actions of the accelerators, in the order of the menu's buttons.
static const XtCallbackProc acceleratorActions[] = {ReturnKey, Quit, ShowLicensePage,
                                                    ShowDestinationPage, Install};
static const intptr_t ACCELERATORS = sizeof acceleratorActions / sizeof acceleratorActions[0];

// Turns an accelerator into its page action; typed into the focused text
// field, the key is text instead.
void HandleAccelerator(Widget, XtPointer clientData, XtPointer) {
    Widget textField = FocusedTextField();
    if (textField != nullptr) {
        XtDispatchEventToWidget(textField, XtLastEventProcessed(XtDisplay(pAppShell)));
        return;
    }
    intptr_t index = reinterpret_cast<intptr_t>(clientData);
    if (index >= 0 && index < ACCELERATORS)
        acceleratorActions[index](nullptr, nullptr, nullptr);
}

// Makes the hidden popup menu whose accelerators are the wizard's keys: each
// entry has no label, no mnemonic, an accelerator and no accelerator text.
void CreateAcceleratorMenu() {
    // clang-format off
    dummypopup = XmVaCreateSimplePopupMenu(placeholder, const_cast<char *>("dummypopup"),
        HandleAccelerator,
        XmVaPUSHBUTTON, nullptr, NoSymbol, "<Key>Return", nullptr,
        XmVaPUSHBUTTON, nullptr, NoSymbol, "<Key>C", nullptr,
        XmVaPUSHBUTTON, nullptr, NoSymbol, "<Key>B", nullptr,
        XmVaPUSHBUTTON, nullptr, NoSymbol, "<Key>A", nullptr,
        XmVaPUSHBUTTON, nullptr, NoSymbol, "<Key>F", nullptr,
        nullptr);
    // clang-format on
}

// Connects the buttons and the progress bar to their actions, in the order
// in which the pages list them; closing the window by its frame cancels, as
// Cancel does.
void RegisterCallbacks() {
    XtAddCallback(page1accept, XmNactivateCallback, ShowDestinationPage, nullptr);
    XtAddCallback(page1cancel, XmNactivateCallback, Quit, nullptr);
    XtAddCallback(page2back, XmNactivateCallback, ShowLicensePage, nullptr);
    XtAddCallback(page2cancel, XmNactivateCallback, Quit, nullptr);
    XtAddCallback(page2finish, XmNactivateCallback, Install, nullptr);
    XtAddCallback(page3progressbar, XmNexposeCallback, DrawProgress, nullptr);
    XmAddWMProtocolCallback(
        pAppShell,
        XmInternAtom(XtDisplay(pAppShell), const_cast<char *>("WM_DELETE_WINDOW"), False), Quit,
        nullptr);
}
