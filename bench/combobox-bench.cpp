// Measures the combo box on its heavy paths: adding many distinct items one
// by one with the uniqueness check, and creating and destroying many combo
// boxes (memory growth).  Run through bench/combobox-bench.sh.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <malloc.h>

#include <Xm/Xm.h>
#include <Xm/BulletinB.h>

#include "ComboBox.h"

// Bytes the allocator has handed out and not had back.
static size_t BytesInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

static Widget NewComboBox(Widget parent)
{
    Arg args[1];
    XtSetArg(args[0], DtNtype, ComboTypeTextField);
    Widget combo = ZVKDtCreateComboBox(parent, const_cast<char *>("combo"), args, 1);
    XtManageChild(combo);
    return combo;
}

// Seconds to add count distinct items one by one, each checked for uniqueness.
static double TimeUniqueAdds(Widget parent, int count)
{
    Widget combo = NewComboBox(parent);
    auto start = std::chrono::steady_clock::now();
    char text[64];
    for (int i = 0; i < count; i++) {
        snprintf(text, sizeof text, "/opt/zorvane8/item-%06d", i);
        XmString item = XmStringCreateLtoR(text, const_cast<char *>(XmSTRING_DEFAULT_CHARSET));
        ZVKDtComboBoxAddItem(combo, item, 0, True);
        XmStringFree(item);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    XtDestroyWidget(combo);
    return seconds;
}

// Creates and destroys count combo boxes, letting the toolkit finish each
// destruction; returns the growth of the heap in bytes.
static long CreateAndDestroy(XtAppContext app, Widget parent, int count)
{
    XmString title = XmStringCreateLocalized(const_cast<char *>("Destination"));
    auto once = [&]() {
        Arg args[1];
        XtSetArg(args[0], DtNlabelString, title);
        Widget combo = ZVKDtCreateComboBox(parent, const_cast<char *>("combo"), args, 1);
        XmString item = XmStringCreateLocalized(const_cast<char *>("/opt/zorvane8"));
        ZVKDtComboBoxAddItem(combo, item, 0, True);
        XmStringFree(item);
        XtDestroyWidget(combo);
        while (XtAppPending(app))
            XtAppProcessEvent(app, XtIMAll);
    };
    for (int i = 0; i < 50; i++)    // warm the toolkit's caches first
        once();
    size_t before = BytesInUse();
    for (int i = 0; i < count; i++)
        once();
    XmStringFree(title);
    return (long)BytesInUse() - (long)before;
}

int main(int argc, char **argv)
{
    XtAppContext app;
    Widget top = XtVaOpenApplication(&app, "ComboBoxBench", nullptr, 0, &argc, argv, nullptr,
                                     applicationShellWidgetClass, nullptr);
    Widget board = XtVaCreateManagedWidget("board", xmBulletinBoardWidgetClass, top, nullptr);
    XtRealizeWidget(top);

    double previous = 0;
    for (int count : {1000, 5000, 10000}) {
        double seconds = TimeUniqueAdds(board, count);
        printf("add %5d unique items: %.3f s", count, seconds);
        if (previous > 0)
            printf(" (x%.1f)", seconds / previous);
        printf("\n");
        previous = seconds;
    }
    long growth = CreateAndDestroy(app, board, 1000);
    printf("create+destroy 1000 combo boxes: heap grew by %ld bytes (%.1f per box)\n", growth,
           growth / 1000.0);
    return 0;
}
