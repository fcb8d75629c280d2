// combobox-demo: a window with four combo boxes, the text-field and label
// variants with both kinds of arrow and the arrow on either side, for trying
// the widget by hand.  Choices are printed on the standard output.
//   usage: combobox-demo [toolkit options] [--post N]   (N: 1..4 drops that one down)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <Xm/Xm.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>

#include "ComboBox.h"

static const char *const directories[] = {
    "/opt/zorvane8", "/usr/local/zorvane8", "/home/user/zorvane8",
    "/srv/media/players/zorvane8", "/tmp/zorvane8",
};

struct DemoBox {
    const char *name;
    int type;
    int arrowType;
    int orientation;
    const char *caption;
};

static const DemoBox demoBoxes[] = {
    {"textRight", ComboTypeTextField, ComboArrowButton, 1, "Text field, arrow button at the right"},
    {"textLeft", ComboTypeTextField, ComboArrowDrawn, 0, "Text field, drawn arrow at the left"},
    {"labelRight", ComboTypeLabel, ComboArrowDrawn, 1, "Label, drawn arrow at the right"},
    {"labelLeft", ComboTypeLabel, ComboArrowButton, 0, "Label, arrow button at the left"},
};

// Prints each choice so that a person trying the demo sees the callback.
static void PrintSelection(Widget w, XtPointer, XtPointer call)
{
    ComboBoxCallbackStruct *selection = (ComboBoxCallbackStruct *)call;
    char *text = nullptr;
    XmStringGetLtoR(selection->item, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
    printf("%s: chose item %d \"%s\"\n", XtName(w), selection->position, text ? text : "");
    fflush(stdout);
    XtFree(text);
}

// Makes one captioned combo box filled with the candidate directories.
static Widget AddDemoBox(Widget parent, const DemoBox &box)
{
    XmString caption = XmStringCreateLocalized(const_cast<char *>(box.caption));
    XtVaCreateManagedWidget("caption", xmLabelWidgetClass, parent, XmNlabelString, caption,
                            nullptr);
    XmStringFree(caption);
    Arg args[3];
    XtSetArg(args[0], DtNtype, box.type);
    XtSetArg(args[1], DtNarrowType, box.arrowType);
    XtSetArg(args[2], DtNorientation, box.orientation);
    Widget combo = ZVKDtCreateComboBox(parent, const_cast<char *>(box.name), args, 3);
    for (size_t i = 0; i < sizeof directories / sizeof directories[0]; i++) {
        XmString item = XmStringCreateLtoR(const_cast<char *>(directories[i]),
                                           const_cast<char *>(XmSTRING_DEFAULT_CHARSET));
        ZVKDtComboBoxAddItem(combo, item, (int)i + 1, True);
        XmStringFree(item);
    }
    XtAddCallback(combo, DtNselectionCallback, PrintSelection, nullptr);
    XtManageChild(combo);
    return combo;
}

// Drops one combo box down once the window is up, for screenshots.
static void PostLater(XtPointer client, XtIntervalId *)
{
    Widget combo = (Widget)client;
    Widget arrow = XtNameToWidget(combo, "ComboBoxArrow");
    XtCallCallbacks(arrow, XmNactivateCallback, nullptr);
}

int main(int argc, char **argv)
{
    XtAppContext app;
    Widget top = XtVaOpenApplication(&app, "ComboBoxDemo", nullptr, 0, &argc, argv, nullptr,
                                     sessionShellWidgetClass, nullptr);
    int post = 0;
    if (argc == 3 && strcmp(argv[1], "--post") == 0)
        post = atoi(argv[2]);
    ZVKDtInitComboBox(DefaultVisualOfScreen(XtScreen(top)),
                      DefaultDepthOfScreen(XtScreen(top)));
    Widget column = XtVaCreateManagedWidget("column", xmRowColumnWidgetClass, top,
                                            XmNmarginWidth, 12, XmNmarginHeight, 12,
                                            XmNspacing, 6, nullptr);
    Widget combos[4];
    for (int i = 0; i < 4; i++)
        combos[i] = AddDemoBox(column, demoBoxes[i]);
    XtRealizeWidget(top);
    if (post >= 1 && post <= 4)
        XtAppAddTimeOut(app, 500, PostLater, combos[post - 1]);
    XtAppMainLoop(app);
    return 0;
}
