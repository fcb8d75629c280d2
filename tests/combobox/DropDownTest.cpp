// Dropping the list down and choosing from it with real pointer and key
// events, and what the callbacks are told.
#include "ComboBoxTesting.h"

#include <functional>

#include <Xm/List.h>

using namespace testing_support;

namespace {

struct Selection {
    int reason;
    int position;
    std::string item;
    bool hasEvent;
};

class ComboBoxDropDown : public ComboBoxFixture {
protected:
    ComboBoxDropDown() { windowX = windowY = 40; }

    // A combo box of the given type with three items, in a shown window.
    Widget Make(int type, bool withItems = true)
    {
        combo = ComboBoxFixture::Make({A(DtNtype, type)});
        if (withItems)
            AddItems(combo, {"one", "two", "three"});
        XtAddCallback(combo, DtNselectionCallback, RecordSelection, this);
        XtAddCallback(combo, DtNmenuPostCallback, RecordMenuPost, this);
        XtAddCallback(combo, DtNactivateCallback, RecordActivate, this);
        ShowWindow(window);
        return combo;
    }
    static void RecordSelection(Widget, XtPointer self, XtPointer call)
    {
        auto *s = (ComboBoxCallbackStruct *)call;
        ((ComboBoxDropDown *)self)
            ->selections.push_back({s->reason, s->position, Text(s->item), s->event != nullptr});
    }
    static void RecordMenuPost(Widget, XtPointer self, XtPointer call)
    {
        ((ComboBoxDropDown *)self)->menuPosts.push_back(((XmAnyCallbackStruct *)call)->reason);
    }
    static void RecordActivate(Widget, XtPointer self, XtPointer call)
    {
        ((ComboBoxDropDown *)self)->activations.push_back(((XmAnyCallbackStruct *)call)->reason);
    }

    void ClickArrow() { ClickWidget(Part(combo).arrowButton); }
    bool ShellShown()
    {
        XWindowAttributes attributes;
        XGetWindowAttributes(TheDisplay(), XtWindow(Part(combo).popupShell), &attributes);
        return attributes.map_state == IsViewable;
    }
    // Clicks the middle of the list item at a one-based position.
    void ClickListItem(int position)
    {
        Position ix, iy;
        Dimension iw, ih;
        ASSERT_TRUE(XmListPosToBounds(Part(combo).list, position, &ix, &iy, &iw, &ih));
        int lx, ly;
        RootPosition(Part(combo).list, &lx, &ly);
        ClickAt(lx + ix + iw / 2, ly + iy + ih / 2);
    }
    std::string Shown() { return ShownText(combo); }

    // The rows that the dropped-down list shows whole, and whether no
    // empty row is left under the last of them.
    struct Rows { int shown; bool noneEmpty; };
    Rows RowsShown()
    {
        Widget list = Part(combo).list;
        int count = 0, shown = 0, bottom = 0, rowHeight = 0;
        XtVaGetValues(list, XmNitemCount, &count, nullptr);
        for (int position = 1; position <= count; position++) {
            Position x, y;
            Dimension width, height;
            if (XmListPosToBounds(list, position, &x, &y, &width, &height) &&
                y + height <= XtHeight(list)) {
                shown++;
                bottom = y + height;
                rowHeight = height;
            }
        }
        return {shown, XtHeight(list) - bottom < rowHeight};
    }

    Widget combo = nullptr;
    std::vector<Selection> selections;
    std::vector<int> menuPosts;
    std::vector<int> activations;
};

TEST_F(ComboBoxDropDown, ArrowDropsTheListUnderTheComboBoxAtLeastAsWide)
{
    Make(ComboTypeTextField);
    ClickArrow();
    ASSERT_TRUE(Part(combo).poppedUp);
    EXPECT_TRUE(ShellShown());
    int cx, cy;
    RootPosition(combo, &cx, &cy);
    Widget shell = Part(combo).popupShell;
    EXPECT_EQ(XtX(shell), cx);
    EXPECT_EQ(XtY(shell), cy + XtHeight(combo) - Part(combo).marginHeight);
    EXPECT_GE(XtWidth(shell), XtWidth(combo));
    ASSERT_EQ(menuPosts.size(), 1u);
    EXPECT_EQ(menuPosts[0], ComboReasonMenuPost);
    PressKey("Escape");
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_FALSE(ShellShown());
}

TEST_F(ComboBoxDropDown, WithoutItemsNothingDropsDown)
{
    Make(ComboTypeTextField, false);
    ClickArrow();
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_FALSE(ShellShown());
    EXPECT_TRUE(menuPosts.empty());
}

TEST_F(ComboBoxDropDown, KeysBrowseWithoutCallbackAndReturnChooses)
{
    Make(ComboTypeTextField);
    ClickArrow();
    PressKey("Down");
    EXPECT_TRUE(Part(combo).poppedUp);
    EXPECT_EQ(Shown(), "two");
    EXPECT_TRUE(selections.empty());
    PressKey("Down");
    PressKey("Return");
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_EQ(Shown(), "three");
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].reason, ComboReasonSelect);
    EXPECT_EQ(selections[0].position, 2);
    EXPECT_EQ(selections[0].item, "three");
    EXPECT_TRUE(selections[0].hasEvent);
    EXPECT_EQ(Part(combo).selectedPosition, 2);
    EXPECT_EQ(Text(Part(combo).selectedItem), "three");
}

TEST_F(ComboBoxDropDown, PointerChoosesAnItemAndTakesTheListDown)
{
    Make(ComboTypeTextField);
    ClickArrow();
    ClickListItem(2);
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_FALSE(ShellShown());
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].position, 1);
    EXPECT_EQ(selections[0].item, "two");
    EXPECT_EQ(Shown(), "two");
    // The application takes input again: the arrow drops the list once more.
    ClickArrow();
    EXPECT_TRUE(Part(combo).poppedUp);
}

// What browsing showed stays after Escape, and the value-changed callbacks
// heard of it.
TEST_F(ComboBoxDropDown, CancelKeepsWhatBrowsingShowed)
{
    Make(ComboTypeTextField);
    std::vector<std::string> changes;
    XtAddCallback(combo, DtNvalueChangedCallback, [](Widget, XtPointer seen, XtPointer call) {
        auto *s = (ComboBoxCallbackStruct *)call;
        ((std::vector<std::string> *)seen)->push_back(std::to_string(s->reason) + " " + Text(s->item));
    }, &changes);
    ClickArrow();
    PressKey("Down");
    PressKey("Escape");
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_EQ(Shown(), "two");
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(changes, std::vector<std::string>{std::to_string(XmCR_VALUE_CHANGED) + " two"});
}

TEST_F(ComboBoxDropDown, PressOutsideTakesTheListDownChoosingNothing)
{
    Make(ComboTypeTextField);
    ClickArrow();
    ClickAt(1000, 900);
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_FALSE(ShellShown());
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(Shown(), "one");
}

TEST_F(ComboBoxDropDown, PointerLeavingAndReenteringTheListStillChooses)
{
    Make(ComboTypeTextField);
    ClickArrow();
    Position ix, iy;
    Dimension iw, ih;
    ASSERT_TRUE(XmListPosToBounds(Part(combo).list, 3, &ix, &iy, &iw, &ih));
    int lx, ly;
    RootPosition(Part(combo).list, &lx, &ly);
    MovePointerTo(lx + ix + iw / 2, ly + iy + ih / 2);
    MovePointerTo(1000, 900);
    MovePointerTo(lx + ix + iw / 2, ly + iy + ih / 2);
    EXPECT_TRUE(Part(combo).poppedUp);
    ClickListItem(3);
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].item, "three");
}

TEST_F(ComboBoxDropDown, EditedTextIsReportedOnceWhenTheListDrops)
{
    Make(ComboTypeTextField);
    ClickArrow();                       // text equals the item: nothing to report
    PressKey("Escape");
    EXPECT_TRUE(activations.empty());
    ClickWidget(Part(combo).textField);
    PressKey("End");
    TypeText("x");
    ASSERT_EQ(Shown(), "onex");
    ClickArrow();
    ASSERT_EQ(activations.size(), 1u);
    EXPECT_EQ(activations[0], XmCR_ACTIVATE);
    PressKey("Escape");                 // the edit stays, but it was reported
    ClickArrow();
    EXPECT_EQ(activations.size(), 1u);
    PressKey("Escape");
    ClickWidget(Part(combo).textField);
    PressKey("End");
    TypeText("y");                      // a new edit is reported again
    ClickArrow();
    EXPECT_EQ(activations.size(), 2u);
    PressKey("Return");                 // choose "one" again: text and item agree
    ClickArrow();
    EXPECT_EQ(activations.size(), 2u);
}

// Another client holds the pointer and keyboard: the program goes on serving
// events while the combo box tries again, takes the grabs once they are free,
// and warns only when they never are.
TEST_F(ComboBoxDropDown, GrabsHeldElsewhereAreRetriedWhileEventsAreServed)
{
    Make(ComboTypeTextField);
    const std::vector<std::string> warned = {"DtComboBoxWidget: Unable to grab the pointer.",
                                             "DtComboBoxWidget: Unable to grab the keyboard."};
    for (bool freed : {true, false}) {
        Display *other = XOpenDisplay(nullptr);
        ASSERT_NE(other, nullptr);
        Window root = DefaultRootWindow(other);
        ASSERT_EQ(XGrabPointer(other, root, False, ButtonPressMask, GrabModeAsync,
                               GrabModeAsync, None, None, CurrentTime), GrabSuccess);
        ASSERT_EQ(XGrabKeyboard(other, root, False, GrabModeAsync, GrabModeAsync, CurrentTime),
                  GrabSuccess);
        XSync(other, False);
        XtCallActionProc(combo, const_cast<char *>("ComboBoxActivate"), nullptr, nullptr, 0);
        EXPECT_TRUE(Part(combo).poppedUp) << freed;
        EXPECT_TRUE(Warnings().empty()) << freed;
        if (freed) {
            XUngrabPointer(other, CurrentTime);
            XUngrabKeyboard(other, CurrentTime);
            XSync(other, False);
        }
        WaitUntil([&] {
            return !Warnings().empty() || (Part(combo).pointerGrabbed && Part(combo).keyboardGrabbed);
        });
        if (freed) {
            EXPECT_TRUE(Warnings().empty());
            EXPECT_EQ(XGrabPointer(other, root, False, ButtonPressMask, GrabModeAsync,
                                   GrabModeAsync, None, None, CurrentTime), AlreadyGrabbed);
        } else {
            EXPECT_EQ(Warnings(), warned);
        }
        XCloseDisplay(other);
        XtCallActionProc(Part(combo).list, const_cast<char *>("ComboBoxKbdCancel"), nullptr,
                         nullptr, 0);
        Settle();
        EXPECT_FALSE(Part(combo).poppedUp);
        EXPECT_FALSE(ShellShown());
        Warnings().clear();
    }
}

TEST_F(ComboBoxDropDown, DropDownIsCutAtTheScreensRightAndBottomEdges)
{
    CloseWindow(window);
    window = NewWindow(1200, 960);
    Make(ComboTypeTextField);
    XtVaSetValues(combo, DtNorientation, 0, nullptr);  // keep the arrow on the screen
    Settle();
    ClickArrow();
    ASSERT_TRUE(Part(combo).poppedUp);
    Widget shell = Part(combo).popupShell;
    int cx, cy;
    RootPosition(combo, &cx, &cy);
    EXPECT_EQ(XtX(shell), cx);
    EXPECT_EQ(XtX(shell) + XtWidth(shell), 1280);
    EXPECT_EQ(XtY(shell) + XtHeight(shell), 1024);
    EXPECT_LT(XtHeight(shell), Part(combo).shellHeight);
    PressKey("Escape");
}

// The drop-down has a row for each item up to visibleItemCount, and is as
// wide as its widest item but at least as wide as the combo box and at most
// as the screen; it follows adds, deletes and a new table of items.
TEST_F(ComboBoxDropDown, DropDownFitsItsItemsWheneverTheyChange)
{
    Make(ComboTypeTextField);
    const std::string wide(60, 'W'), wider(400, 'W');
    XmString table[] = {Xms("x"), Xms("y"), Xms("z"), Xms("w"), Xms("v")};
    int cx, cy;
    RootPosition(combo, &cx, &cy);
    struct Step { const char *change; std::function<void()> make; int rows, width; };
    const Step steps[] = {
        {"three items", [] {}, 3, XtWidth(combo)},
        {"twelve items", [&] { AddItems(combo, {"4", "5", "6", "7", "8", "9", "10", "11", "12"}); },
         10, XtWidth(combo)},
        {"a wide item", [&] { AddItems(combo, {wide.c_str()}); }, 10, -1},
        {"the wide item deleted", [&] { ZVKDtComboBoxDeletePos(combo, 0); }, 10, XtWidth(combo)},
        {"two left", [&] { while (Part(combo).itemCount > 2) ZVKDtComboBoxDeletePos(combo, 1); },
         2, XtWidth(combo)},
        {"a new table of five",
         [&] { XtVaSetValues(combo, DtNitems, table, DtNitemCount, 5, nullptr); }, 5,
         XtWidth(combo)},
        {"at most four rows", [&] { XtVaSetValues(combo, DtNvisibleItemCount, 4, nullptr); }, 4,
         XtWidth(combo)},
        {"an item wider than the screen", [&] { AddItems(combo, {wider.c_str()}); }, 4,
         WidthOfScreen(XtScreen(combo)) - cx},
        {"fewer items", [&] { XtVaSetValues(combo, DtNitems, table, DtNitemCount, 5, nullptr); },
         4, XtWidth(combo)},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.change);
        step.make();
        Settle();
        ClickArrow();
        ASSERT_TRUE(Part(combo).poppedUp);
        Rows rows = RowsShown();
        EXPECT_EQ(rows.shown, step.rows);
        EXPECT_TRUE(rows.noneEmpty);
        int shellWidth = XtWidth(Part(combo).popupShell);
        if (step.width > 0) {
            EXPECT_EQ(shellWidth, step.width);
        } else {
            XmFontList fonts = nullptr;
            XtVaGetValues(Part(combo).list, XmNfontList, &fonts, nullptr);
            XmString item = Xms(wide.c_str());
            Dimension itemWidth = XmStringWidth(fonts, item);
            XmStringFree(item);
            EXPECT_GT(shellWidth, itemWidth);
            EXPECT_LT(shellWidth, itemWidth + 40);
        }
        // While down, the drop-down follows a combo box made wider.
        XtResizeWidget(combo, XtWidth(combo) + 30, XtHeight(combo), 0);
        Settle();
        EXPECT_EQ(XtWidth(Part(combo).popupShell), std::max(shellWidth, (int)XtWidth(combo)));
        XtResizeWidget(combo, XtWidth(combo) - 30, XtHeight(combo), 0);
        PressKey("Escape");
    }
    int most = 0;
    XtVaGetValues(combo, DtNvisibleItemCount, &most, nullptr);
    EXPECT_EQ(most, 4);
    for (XmString item : table)
        XmStringFree(item);
}

// Down or Alt+Down in the text field drops the list down as the arrow
// does, telling of an edit first; Up and Down browse on from the current
// item, Return chooses, Escape cancels, and the focus is back in the field.
TEST_F(ComboBoxDropDown, KeysInTheTextFieldDropTheListAndChooseFromIt)
{
    Make(ComboTypeTextField);
    for (bool alt : {false, true}) {
        SCOPED_TRACE(alt ? "Alt+Down" : "Down");
        selections.clear();
        menuPosts.clear();
        activations.clear();
        XmString two = Xms("two");
        ZVKDtComboBoxSetItem(combo, two);
        XmStringFree(two);
        ClickWidget(Part(combo).textField);
        PressKey("End");
        TypeText("x");
        alt ? PressKeyWithAlt("Down") : PressKey("Down");
        ASSERT_TRUE(Part(combo).poppedUp);
        EXPECT_EQ(menuPosts.size(), 1u);
        EXPECT_EQ(activations.size(), 1u);
        PressKey("Down");
        EXPECT_EQ(Shown(), "three");
        PressKey("Up");
        PressKey("Up");
        EXPECT_EQ(Shown(), "one");
        EXPECT_TRUE(selections.empty());
        PressKey("Return");
        EXPECT_FALSE(Part(combo).poppedUp);
        ASSERT_EQ(selections.size(), 1u);
        EXPECT_EQ(selections[0].item, "one");
        EXPECT_EQ(XmGetFocusWidget(combo), Part(combo).textField);

        PressKey("Down");
        PressKey("Down");
        PressKey("Escape");
        EXPECT_FALSE(Part(combo).poppedUp);
        EXPECT_EQ(Shown(), "two");
        EXPECT_EQ(selections.size(), 1u);
        EXPECT_EQ(XmGetFocusWidget(combo), Part(combo).textField);
    }
}

// A long list drops down with the current item in view and browses on from
// it; the wheel scrolls it and leaves it down.
TEST_F(ComboBoxDropDown, LongListShowsTheCurrentItemAndScrollsWithTheWheel)
{
    Make(ComboTypeTextField);
    for (int i = 4; i <= 30; i++)
        AddItems(combo, {std::to_string(i).c_str()});
    XmString item = Xms("25");
    ZVKDtComboBoxSetItem(combo, item);
    XmStringFree(item);
    ClickWidget(Part(combo).textField);
    PressKey("Down");
    ASSERT_TRUE(Part(combo).poppedUp);
    Position x, y;
    Dimension width, height;
    EXPECT_TRUE(XmListPosToBounds(Part(combo).list, 25, &x, &y, &width, &height));
    PressKey("Down");
    EXPECT_EQ(Shown(), "26");

    int lx, ly, top = 0, scrolled = 0;
    RootPosition(Part(combo).list, &lx, &ly);
    XtVaGetValues(Part(combo).list, XmNtopItemPosition, &top, nullptr);
    ClickAt(lx + 10, ly + 10, Button4);
    XtVaGetValues(Part(combo).list, XmNtopItemPosition, &scrolled, nullptr);
    EXPECT_LT(scrolled, top);
    ClickAt(lx + 10, ly + 10, Button5);
    ClickAt(lx + 10, ly + 10, Button5);
    XtVaGetValues(Part(combo).list, XmNtopItemPosition, &top, nullptr);
    EXPECT_GT(top, scrolled);
    EXPECT_TRUE(Part(combo).poppedUp);
    EXPECT_TRUE(selections.empty());
    PressKey("Escape");
}

// A printable key in the dropped list moves on to the next item that starts
// with it, round to the first again, as browsing does.
TEST_F(ComboBoxDropDown, TypedCharacterMovesToTheNextItemStartingWithIt)
{
    Make(ComboTypeTextField);
    AddItems(combo, {"Tea", "apple", "toast"});
    ClickArrow();
    for (const char *expected : {"two", "three", "Tea", "toast", "two"}) {
        PressKey("t");
        EXPECT_EQ(Shown(), expected);
    }
    PressKey("A", true);
    EXPECT_EQ(Shown(), "apple");
    EXPECT_TRUE(selections.empty());
    PressKey("Return");
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].item, "apple");
}

TEST_F(ComboBoxDropDown, LabelClickAndSpaceDropTheListDown)
{
    Make(ComboTypeLabel);
    ClickWidget(Part(combo).labelWidget);
    ASSERT_TRUE(Part(combo).poppedUp);
    PressKey("Down");
    PressKey("Return");
    EXPECT_EQ(Shown(), "two");
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].position, 1);

    ASSERT_TRUE(XmProcessTraversal(combo, XmTRAVERSE_CURRENT));
    Settle();
    PressKey("space", true);            // shift+space is not ours
    EXPECT_FALSE(Part(combo).poppedUp);
    PressKey("space");
    EXPECT_TRUE(Part(combo).poppedUp);
    PressKey("Escape");
}

}  // namespace
