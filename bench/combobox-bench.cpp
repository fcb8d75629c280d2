// Measures the combo box on its heavy paths: adding many distinct items one
// by one with the uniqueness check (10,000 within 0.2 s and 100,000 within
// 3 s in the text-field variant), and creating and destroying many combo
// boxes (memory growth).  Run through bench/combobox-bench.sh; the one
// argument is the number of runs of each size (5), the status is 1 when a
// median misses its target.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
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

static Widget NewComboBox(Widget parent, int type)
{
    Arg args[1];
    XtSetArg(args[0], DtNtype, type);
    Widget combo = ZVKDtCreateComboBox(parent, const_cast<char *>("combo"), args, 1);
    XtManageChild(combo);
    return combo;
}

// Seconds to add count distinct items one by one, each checked for
// uniqueness; negative when the list did not end up with all of them.
static double TimeUniqueAdds(Widget parent, int type, int count)
{
    Widget combo = NewComboBox(parent, type);
    auto start = std::chrono::steady_clock::now();
    char text[64];
    for (int i = 0; i < count; i++) {
        snprintf(text, sizeof text, "/opt/zorvane8/item-%06d", i);
        XmString item = XmStringCreateLtoR(text, const_cast<char *>(XmSTRING_DEFAULT_CHARSET));
        ZVKDtComboBoxAddItem(combo, item, 0, True);
        XmStringFree(item);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int added = 0;
    XtVaGetValues(combo, DtNitemCount, &added, nullptr);
    XtDestroyWidget(combo);
    return added == count ? seconds : -1;
}

// Times runs of unique adds and prints the median beside its target (0:
// none); negative when a run lost items.
static bool ReportUniqueAdds(Widget parent, int type, const char *variant, int count,
                             double target, int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; run++)
        times.push_back(TimeUniqueAdds(parent, type, count));
    std::sort(times.begin(), times.end());
    if (times.front() < 0) {
        printf("add %6d unique items, %s: the list lost items\n", count, variant);
        return false;
    }
    double seconds = times[times.size() / 2];
    printf("add %6d unique items, %s: %.3f s (median of %d)", count, variant, seconds, runs);
    if (target > 0)
        printf(" (target %.1f s: %s)", target, seconds <= target ? "met" : "MISSED");
    printf("\n");
    return target == 0 || seconds <= target;
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

    int repeats = argc > 1 ? atoi(argv[1]) : 5;
    if (repeats < 1)
        repeats = 1;
    struct Run { int type; const char *variant; int count; double target; };
    const Run runs[] = {
        {ComboTypeTextField, "text field", 1000, 0},
        {ComboTypeTextField, "text field", 10000, 0.2},
        {ComboTypeTextField, "text field", 100000, 3.0},
        {ComboTypeLabel, "label", 10000, 0},
        {ComboTypeLabel, "label", 100000, 0},
    };
    bool met = true;
    for (const Run &run : runs)
        met = ReportUniqueAdds(board, run.type, run.variant, run.count, run.target, repeats) && met;
    long growth = CreateAndDestroy(app, board, 1000);
    printf("create+destroy 1000 combo boxes: heap grew by %ld bytes (%.1f per box)\n", growth,
           growth / 1000.0);
    return met ? 0 : 1;
}
