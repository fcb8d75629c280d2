/* A plain C Motif program built against the installed combo box: it fills a
 * text-field combo box, selects an item and checks what the text field shows. */
#include <stdio.h>
#include <string.h>

#include <Xm/Xm.h>
#include <Xm/TextF.h>
#include <ComboBox.h>

/* Names of the program's own that the widget used internally once. */
const char labelTranslations[] = "the program's own";
const char comboTranslations[] = "the program's own";
void ForwardActivate(void);
void ForwardActivate(void)
{
}

int main(int argc, char **argv)
{
    XtAppContext app;
    Widget top = XtVaOpenApplication(&app, "Installed", NULL, 0, &argc, argv, NULL,
                                     applicationShellWidgetClass, NULL);
    const char *texts[] = {"/opt/zorvane8", "/usr/local/zorvane8"};
    Arg args[1];
    Widget combo, field = NULL;
    XmString item;
    char *value;
    int i, count = 0, ok;

    ZVKDtInitComboBox(DefaultVisualOfScreen(XtScreen(top)), DefaultDepthOfScreen(XtScreen(top)));
    XtSetArg(args[0], DtNtype, ComboTypeTextField);
    combo = ZVKDtCreateComboBox(top, "combo", args, 1);
    for (i = 0; i < 2; i++) {
        item = XmStringCreateLtoR((char *)texts[i], XmSTRING_DEFAULT_CHARSET);
        ZVKDtComboBoxAddItem(combo, item, i + 1, True);
        XmStringFree(item);
    }
    item = XmStringCreateLtoR((char *)texts[1], XmSTRING_DEFAULT_CHARSET);
    ZVKDtComboBoxSelectItem(combo, item);
    XmStringFree(item);
    XtManageChild(combo);
    XtRealizeWidget(top);

    XtVaGetValues(combo, DtNtextField, &field, DtNitemCount, &count, NULL);
    value = XmTextFieldGetString(field);
    ok = count == 2 && strcmp(value, texts[1]) == 0;
    printf("%s: %d items, text field shows \"%s\"\n", ok ? "ok" : "wrong", count, value);
    XtFree(value);
    return ok ? 0 : 1;
}
