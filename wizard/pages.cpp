// The three pages of the window, laid out by Form attachments: the license
// agreement, the destination directory and the progress of the unpack.
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/Separator.h>
#include <Xm/Text.h>
#include <Xm/Xm.h>
#include <array>
#include <climits>
#include <initializer_list>

#include "ComboBox.h"
#include "build.h"
#include "wizard.h"

Widget page1form, page1logo, page1toplabel, page1bottomlabel, page1licensewindow, page1license,
    page1separator, page1buttons, page1finish, page1accept, page1back, page1cancel;
Widget page2form, page2logo, page2frame1, page2dircombobox, page2dirlabel, page2separator,
    page2buttons, page2finish, page2next, page2back, page2cancel;
Widget page3form, page3logo, page3progresslabel, page3progressframe, page3progressbar;
Widget pPage1Default, pPage2Default;

enum Edge { LEFT, TOP, RIGHT, BOTTOM };
const int NO_OFFSET = INT_MIN;

static const char *const attachmentResource[] = {XmNleftAttachment, XmNtopAttachment,
                                                 XmNrightAttachment, XmNbottomAttachment};
static const char *const widgetResource[] = {XmNleftWidget, XmNtopWidget, XmNrightWidget,
                                             XmNbottomWidget};
static const char *const offsetResource[] = {XmNleftOffset, XmNtopOffset, XmNrightOffset,
                                             XmNbottomOffset};

// Adds the attachment of one edge to an argument list; NO_OFFSET leaves the
// offset resource unset, so that the form's spacing applies.
static void Attach(Arg *args, Cardinal *count, Edge edge, unsigned char type, Widget to,
                   int offset) {
    XtSetArg(args[*count], const_cast<String>(attachmentResource[edge]), type);
    ++*count;
    if (to != nullptr) {
        XtSetArg(args[*count], const_cast<String>(widgetResource[edge]), to);
        ++*count;
    }
    if (offset != NO_OFFSET) {
        XtSetArg(args[*count], const_cast<String>(offsetResource[edge]), offset);
        ++*count;
    }
}

// Sets a label's text from a C string; a newline breaks the line.
static void SetLabelText(Widget label, const char *text) {
    XmString string = XmStringCreateLtoR(const_cast<char *>(text), XmSTRING_DEFAULT_CHARSET);
    XtVaSetValues(label, XmNlabelString, string, nullptr);
    XmStringFree(string);
}

// Makes a page form that fills the placeholder.
static Widget CreatePageForm(const char *name, bool managed) {
    Arg args[8];
    Cardinal n = 0;
    for (Edge edge : {LEFT, TOP, RIGHT, BOTTOM})
        Attach(args, &n, edge, XmATTACH_FORM, nullptr, 2);
    Widget form = XtCreateWidget(name, xmFormWidgetClass, placeholder, args, n);
    if (managed)
        XtManageChild(form);
    return form;
}

// Makes the logo at the top left of a page.
static Widget CreateLogo(Widget form, const char *name, Pixmap logo) {
    return XtVaCreateManagedWidget(name, xmLabelWidgetClass, form, XmNlabelType, XmPIXMAP,
                                   XmNlabelPixmap, logo, XmNmarginWidth, 0, XmNmarginHeight, 0,
                                   XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 10,
                                   XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 10, nullptr);
}

// Makes the separator 40 pixels below a page's logo.
static Widget CreateSeparator(Widget form, const char *name, Widget logo) {
    return XtVaCreateManagedWidget(name, xmSeparatorWidgetClass, form, XmNleftAttachment,
                                   XmATTACH_FORM, XmNleftOffset, 10, XmNtopAttachment,
                                   XmATTACH_WIDGET, XmNtopWidget, logo, XmNtopOffset, 40,
                                   XmNrightAttachment, XmATTACH_FORM, XmNrightOffset, 10, nullptr);
}

// Makes the form under the separator that holds a page's row of buttons.
static Widget CreateButtonRow(Widget form, const char *name, Widget separator) {
    return XtVaCreateManagedWidget(name, xmFormWidgetClass, form, XmNtopAttachment, XmATTACH_WIDGET,
                                   XmNtopWidget, separator, XmNtopOffset, 10, XmNrightAttachment,
                                   XmATTACH_FORM, XmNrightOffset, 10, XmNbottomAttachment,
                                   XmATTACH_FORM, XmNbottomOffset, 10, XmNleftAttachment,
                                   XmATTACH_FORM, XmNleftOffset, 10, nullptr);
}

// Makes a push button of a row, placed left of its neighbour (or at the
// row's right edge when it has none).
static Widget CreateButton(Widget row, const char *name, Widget neighbour, int gap) {
    Arg args[6];
    Cardinal n = 0;
    Attach(args, &n, RIGHT, neighbour ? XmATTACH_WIDGET : XmATTACH_FORM, neighbour, gap);
    Attach(args, &n, TOP, XmATTACH_FORM, nullptr, NO_OFFSET);
    return XtCreateManagedWidget(name, xmPushButtonWidgetClass, row, args, n);
}

// Makes a page's four buttons, named from the right: Finish, a gap of 20,
// two buttons side by side, a gap of 20, then Cancel.
static void CreateButtons(Widget row, std::array<const char *, 4> names,
                          std::array<Widget *, 4> buttons) {
    *buttons[0] = CreateButton(row, names[0], nullptr, 10);
    *buttons[1] = CreateButton(row, names[1], *buttons[0], 20);
    *buttons[2] = CreateButton(row, names[2], *buttons[1], NO_OFFSET);
    *buttons[3] = CreateButton(row, names[3], *buttons[2], 20);
}

// Makes the read-only, vertically scrolling text of the license agreement.
static void CreateLicenseText() {
    page1license = XmCreateScrolledText(page1form, const_cast<char *>("page1license"), nullptr, 0);
    XtVaSetValues(page1license, XmNeditable, False, XmNeditMode, XmMULTI_LINE_EDIT,
                  XmNcursorPositionVisible, False, nullptr);
    XmTextSetString(page1license, const_cast<char *>(license_text));
    page1licensewindow = XtParent(page1license);
    Widget horizontal = nullptr, vertical = nullptr;
    XtVaGetValues(page1licensewindow, XmNhorizontalScrollBar, &horizontal, nullptr);
    XtUnmanageChild(horizontal);
    XtVaGetValues(page1licensewindow, XmNverticalScrollBar, &vertical, nullptr);

    Arg args[12];
    Cardinal n = 0;
    Attach(args, &n, LEFT, XmATTACH_WIDGET, page1logo, 10);
    Attach(args, &n, TOP, XmATTACH_WIDGET, page1toplabel, NO_OFFSET);
    Attach(args, &n, RIGHT, XmATTACH_OPPOSITE_WIDGET, page1bottomlabel, NO_OFFSET);
    Attach(args, &n, BOTTOM, XmATTACH_WIDGET, page1bottomlabel, NO_OFFSET);
    XtSetValues(page1licensewindow, args, n);
    XtManageChild(page1licensewindow);
    XtManageChild(page1license);
    XtManageChild(vertical);
}

// Page 1: the license agreement, with "Accept >" and Cancel.
void BuildLicensePage(Pixmap logo) {
    page1form = CreatePageForm("page1form", true);
    page1logo = CreateLogo(page1form, "page1logo", logo);
    page1toplabel = XtVaCreateManagedWidget(
        "page1toplabel", xmLabelWidgetClass, page1form, XmNalignment, XmALIGNMENT_BEGINNING,
        XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, page1logo, XmNleftOffset, 10,
        XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 10, XmNrightAttachment, XmATTACH_FORM,
        XmNrightOffset, 10, nullptr);
    SetLabelText(page1toplabel, "Installation and use of the Zorvane 8 requires\n"
                                "acceptance of the following terms and conditions:");
    page1bottomlabel = XtVaCreateManagedWidget(
        "page1bottomlabel", xmLabelWidgetClass, page1form, XmNalignment, XmALIGNMENT_BEGINNING,
        XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, page1logo, XmNleftOffset, 10,
        XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, page1logo, XmNrightAttachment,
        XmATTACH_FORM, XmNrightOffset, 15, nullptr);
    SetLabelText(page1bottomlabel, "Click \"Accept\" to accept the terms of the license agreement\n"
                                   "and continue with the Zorvane 8 Setup program.");
    CreateLicenseText();
    page1separator = CreateSeparator(page1form, "page1separator", page1logo);
    page1buttons = CreateButtonRow(page1form, "page1buttons", page1separator);
    CreateButtons(page1buttons, {"page1finish", "page1accept", "page1back", "page1cancel"},
                  {&page1finish, &page1accept, &page1back, &page1cancel});
    XtSetSensitive(page1finish, False);
    XmProcessTraversal(page1accept, XmTRAVERSE_CURRENT);
    pPage1Default = page1accept;
}

// Page 2: the destination directory in a combo box under a frame title,
// with "< Back", Finish and Cancel.
void BuildDestinationPage(Pixmap logo) {
    page2form = CreatePageForm("page2form", false);
    page2logo = CreateLogo(page2form, "page2logo", logo);
    page2frame1 = XtVaCreateManagedWidget(
        "page2frame1", xmFrameWidgetClass, page2form, XmNmarginHeight, 7, XmNmarginWidth, 7,
        XmNshadowType, XmSHADOW_ETCHED_IN, XmNheight, 45, XmNleftAttachment, XmATTACH_WIDGET,
        XmNleftWidget, page2logo, XmNleftOffset, 10, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset,
        20, XmNrightAttachment, XmATTACH_FORM, XmNrightOffset, 10, nullptr);
    Display *display = XtDisplay(page2form);
    ZVKDtInitComboBox(DefaultVisual(display, DefaultScreen(display)),
                      DefaultDepth(display, DefaultScreen(display)));
    page2dircombobox =
        XtVaCreateManagedWidget("page2dircombobox", dtComboBoxWidgetClass, page2frame1, "type",
                                ComboTypeTextField, "arrowType", ComboArrowButton, nullptr);
    AddDestinationCandidates(page2dircombobox);
    page2dirlabel = XtVaCreateManagedWidget(
        "page2dirlabel", xmLabelWidgetClass, page2form, XmNtopAttachment, XmATTACH_OPPOSITE_WIDGET,
        XmNtopWidget, page2frame1, XmNtopOffset, -10, XmNleftAttachment, XmATTACH_OPPOSITE_WIDGET,
        XmNleftWidget, page2frame1, XmNleftOffset, 5, nullptr);
    page2separator = CreateSeparator(page2form, "page2separator", page2logo);
    page2buttons = CreateButtonRow(page2form, "page2buttons", page2separator);
    CreateButtons(page2buttons, {"page2finish", "page2next", "page2back", "page2cancel"},
                  {&page2finish, &page2next, &page2back, &page2cancel});
    pPage2Default = page2finish;
}

// Page 3: the progress bar under its label; no buttons.
void BuildProgressPage(Pixmap logo) {
    page3form = CreatePageForm("page3form", false);
    page3logo = CreateLogo(page3form, "page3logo", logo);
    page3progresslabel = XtVaCreateManagedWidget(
        "page3progresslabel", xmLabelWidgetClass, page3form, XmNalignment, XmALIGNMENT_BEGINNING,
        XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, page3logo, XmNleftOffset, 10,
        XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 10, nullptr);
    page3progressframe = XtVaCreateManagedWidget(
        "page3progressframe", xmFrameWidgetClass, page3form, XmNshadowType, XmSHADOW_IN,
        XmNshadowThickness, 1, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, page3logo,
        XmNleftOffset, 10, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, page3progresslabel,
        XmNrightAttachment, XmATTACH_FORM, XmNrightOffset, 10, nullptr);
    page3progressbar = XtVaCreateManagedWidget("page3progressbar", xmDrawingAreaWidgetClass,
                                               page3progressframe, nullptr);
}
