// Filling and driving the list through the public functions.
#include "ComboBoxTesting.h"

#include <algorithm>
#include <functional>
#include <random>

#include <Xm/List.h>
#include <Xm/TextF.h>

using namespace testing_support;

namespace {

class ComboBoxItems : public ComboBoxFixture {
protected:
    Widget Make(int type)
    {
        Widget combo = ComboBoxFixture::Make({A(DtNtype, type)});
        XtAddCallback(combo, DtNselectionCallback, CountSelection, this);
        return combo;
    }
    static void CountSelection(Widget, XtPointer self, XtPointer)
    {
        ((ComboBoxItems *)self)->selectionCalls++;
    }
    static void Add(Widget combo, const char *text, int position, Boolean unique)
    {
        XmString item = Xms(text);
        ZVKDtComboBoxAddItem(combo, item, position, unique);
        XmStringFree(item);
    }
    static void Select(Widget combo, const char *text)
    {
        XmString item = Xms(text);
        ZVKDtComboBoxSelectItem(combo, item);
        XmStringFree(item);
    }
    static int Count(Widget combo)
    {
        int count = -1;
        XtVaGetValues(combo, DtNitemCount, &count, nullptr);
        return count;
    }
    static std::vector<int> ListSelection(Widget combo)
    {
        int *positions = nullptr, count = 0;
        std::vector<int> result;
        if (XmListGetSelectedPos(Part(combo).list, &positions, &count))
            result.assign(positions, positions + count);
        XtFree((char *)positions);
        return result;
    }

    int selectionCalls = 0;
};

TEST_F(ComboBoxItems, AddingShowsTheFirstItemAgainEachTime)
{
    Widget combo = Make(ComboTypeTextField);
    Add(combo, "/opt/zorvane8", 1, True);
    EXPECT_EQ(ShownText(combo), "/opt/zorvane8");
    XmTextFieldSetString(Part(combo).textField, const_cast<char *>("typed"));
    Add(combo, "/usr/local/zorvane8", 2, True);
    EXPECT_EQ(ShownText(combo), "/opt/zorvane8");
    Add(combo, "/home/user/zorvane8", 3, True);
    EXPECT_EQ(ShownText(combo), "/opt/zorvane8");
    EXPECT_EQ(Count(combo), 3);
    EXPECT_EQ(Part(combo).itemCount, 3);
    EXPECT_EQ(selectionCalls, 0);
}

TEST_F(ComboBoxItems, UniqueAddIgnoresAnItemAlreadyThereDuplicateAddKeepsIt)
{
    Widget combo = Make(ComboTypeTextField);
    Add(combo, "a", 0, True);
    Add(combo, "b", 0, True);
    Add(combo, "a", 0, True);
    EXPECT_EQ(Count(combo), 2);
    Add(combo, "a", 0, False);
    EXPECT_EQ(Count(combo), 3);
    XmStringTable items = nullptr;
    XtVaGetValues(combo, DtNitems, &items, nullptr);
    EXPECT_EQ(Text(items[2]), "a");
}

TEST_F(ComboBoxItems, NullItemOrOtherWidgetIsIgnored)
{
    Widget combo = Make(ComboTypeTextField);
    ZVKDtComboBoxAddItem(combo, nullptr, 0, True);
    XmString item = Xms("x");
    ZVKDtComboBoxAddItem(window, item, 0, True);
    XmStringFree(item);
    EXPECT_EQ(Count(combo), 0);
}

TEST_F(ComboBoxItems, SetItemScrollsButLeavesTheListsSelection)
{
    Widget combo = Make(ComboTypeTextField);
    AddItems(combo, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    ZVKDtComboBoxSelectItem(combo, Part(combo).items[0]);
    XmString eleven = Xms("11");
    ZVKDtComboBoxSetItem(combo, eleven);
    XmStringFree(eleven);
    EXPECT_EQ(ShownText(combo), "11");
    EXPECT_EQ(Part(combo).selectedPosition, 10);
    EXPECT_EQ(Part(combo).topItemPosition, 11);
    EXPECT_EQ(ListSelection(combo), std::vector<int>{1});
    EXPECT_EQ(selectionCalls, 0);
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ComboBoxItems, SelectItemMovesTheListsSelection)
{
    Widget combo = Make(ComboTypeLabel);
    AddItems(combo, {"red", "green", "blue"});
    Select(combo, "blue");
    EXPECT_EQ(ShownText(combo), "blue");
    EXPECT_EQ(Part(combo).selectedPosition, 2);
    EXPECT_EQ(ListSelection(combo), std::vector<int>{3});
    EXPECT_EQ(selectionCalls, 0);
}

TEST_F(ComboBoxItems, MissingItemsAreWarnedAboutAndChangeNothing)
{
    Widget combo = Make(ComboTypeTextField);
    AddItems(combo, {"here"});
    XmString missing = Xms("missing");
    ZVKDtComboBoxSetItem(combo, missing);
    ZVKDtComboBoxSelectItem(combo, missing);
    ZVKDtComboBoxSetItem(combo, nullptr);
    XmStringFree(missing);
    ASSERT_EQ(Warnings().size(), 3u);
    EXPECT_EQ(Warnings()[0], "DtComboBoxWidget: Unable to find item to set (ZVKDtComboBoxSetItem).");
    EXPECT_EQ(Warnings()[1],
              "DtComboBoxWidget: Unable to find item to select (ZVKDtComboBoxSelectItem).");
    EXPECT_EQ(ShownText(combo), "here");
}

TEST_F(ComboBoxItems, DeletingAnEarlierItemKeepsTheCurrentOne)
{
    for (int type : {ComboTypeTextField, ComboTypeLabel}) {
        Widget combo = Make(type);
        AddItems(combo, {"a", "b", "c", "d"});
        Select(combo, "c");
        ZVKDtComboBoxDeletePos(combo, 1);
        EXPECT_EQ(Part(combo).selectedPosition, 1) << type;
        EXPECT_EQ(ShownText(combo), "c") << type;
        ZVKDtComboBoxDeletePos(combo, 3);           // after the current one
        EXPECT_EQ(Part(combo).selectedPosition, 1) << type;
        EXPECT_EQ(ShownText(combo), "c") << type;
        EXPECT_EQ(Count(combo), 2);
        XtDestroyWidget(combo);
    }
}

TEST_F(ComboBoxItems, DeletingTheCurrentItemShowsTheOneNowInItsPlace)
{
    Widget combo = Make(ComboTypeTextField);
    AddItems(combo, {"a", "b", "c"});
    Select(combo, "b");
    ZVKDtComboBoxDeletePos(combo, 2);
    EXPECT_EQ(ShownText(combo), "c");
    EXPECT_EQ(Part(combo).selectedPosition, 1);
    ZVKDtComboBoxDeletePos(combo, 0);               // the last, which is current
    EXPECT_EQ(ShownText(combo), "a");
    EXPECT_EQ(Part(combo).selectedPosition, 0);
    EXPECT_EQ(Text(Part(combo).selectedItem), "a");
}

TEST_F(ComboBoxItems, EmptiedListClearsTheTextAndRestoresTheDefaultLabel)
{
    Widget text = Make(ComboTypeTextField);
    AddItems(text, {"only"});
    ZVKDtComboBoxDeletePos(text, 1);
    EXPECT_EQ(ShownText(text), "");
    EXPECT_EQ(Part(text).selectedPosition, 0);
    EXPECT_EQ(Part(text).selectedItem, nullptr);

    Widget label = Make(ComboTypeLabel);
    XtVaSetValues(label, XmNy, 60, nullptr);
    AddItems(label, {"first", "second"});
    ZVKDtComboBoxDeletePos(label, 2);
    ZVKDtComboBoxDeletePos(label, 1);
    EXPECT_EQ(ShownText(label), "ComboBox");
    // Positions outside the list change nothing.
    ZVKDtComboBoxDeletePos(label, 5);
    ZVKDtComboBoxDeletePos(label, -1);
    EXPECT_EQ(Count(label), 0);
}

TEST_F(ComboBoxItems, ItemsGrowTheLabelVariantToItsWidestItem)
{
    Widget combo = Make(ComboTypeLabel);
    ShowWindow(window);
    Dimension before = XtWidth(combo);
    AddItems(combo, {"x", "a considerably wider item than the default"});
    Settle();
    EXPECT_GT(XtWidth(combo), before);
    EXPECT_EQ(XtWidth(Part(combo).labelWidget), Part(combo).labelMaxWidth);
}

// The texts of the list, in order.
std::vector<std::string> ListTexts(Widget combo)
{
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(Part(combo).list, XmNitems, &items, XmNitemCount, &count, nullptr);
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++)
        texts.push_back(Text(items[i]));
    return texts;
}

// Random unique and plain adds, deletes, replacements of the whole table and
// changes made to the list behind the combo box's back, each checked against
// a plain model: what the combo box keeps to make unique adds fast must
// follow every change of the list.
TEST_F(ComboBoxItems, UniqueAddsStayUniqueThroughDeletesAndReplacements)
{
    Widget combo = Make(ComboTypeTextField);
    Widget list = Part(combo).list;
    std::vector<std::string> model;
    std::mt19937 random(9);
    auto pick = [&](size_t n) { return (int)(random() % n); };
    auto someText = [&] { return "item " + std::to_string(pick(40)); };
    for (int step = 0; step < 2000; step++) {
        std::string text = someText();
        XmString item = Xms(text.c_str());
        int position = pick(model.size() + 2);              // 0 appends
        auto at = position == 0 ? model.end() : model.begin() + position - 1;
        switch (pick(12)) {
        case 0:
        case 1:
            if (!model.empty()) {
                int doomed = pick(model.size() + 1);        // 0 deletes the last
                ZVKDtComboBoxDeletePos(combo, doomed);
                model.erase(doomed == 0 ? model.end() - 1 : model.begin() + doomed - 1);
            }
            break;
        case 2: {
            std::vector<XmString> table;
            model.clear();
            for (int n = pick(30); n > 0; n--) {
                model.push_back(someText());
                table.push_back(Xms(model.back().c_str()));
            }
            XtVaSetValues(combo, DtNitems, table.data(), DtNitemCount, (int)table.size(),
                          nullptr);
            for (XmString made : table)
                XmStringFree(made);
            break;
        }
        case 3:
            XmListAddItemUnselected(list, item, position);
            model.insert(at, text);
            break;
        case 4:
            ZVKDtComboBoxAddItem(combo, item, position, False);
            model.insert(at, text);
            break;
        default:
            ZVKDtComboBoxAddItem(combo, item, position, True);
            if (std::find(model.begin(), model.end(), text) == model.end())
                model.insert(at, text);
            break;
        }
        XmStringFree(item);
        ASSERT_EQ(ListTexts(combo), model) << "step " << step;
    }
    EXPECT_TRUE(Warnings().empty());
}

// The current item stays one item, whatever changes the items, and the
// value-changed callbacks hear of each change of it: in both variants, a
// change made by each public function or resource leaves the combo box
// showing the expected item (an empty one shows none) with no warning.
TEST_F(ComboBoxItems, CurrentItemStaysConsistentThroughEveryChange)
{
    struct Case {
        const char *name;
        std::function<void(Widget)> change;
        const char *current;        // nullptr: no current item
        int position;
        int valueChanges;
    };
    auto setItems = [](int count) {
        return [count](Widget combo) {
            std::vector<XmString> items;
            for (int i = 0; i < count; i++)
                items.push_back(Xms(i == 0 ? "first" : "other"));
            XtVaSetValues(combo, DtNitems, count ? items.data() : nullptr, DtNitemCount, count,
                          nullptr);
            for (XmString item : items)
                XmStringFree(item);
        };
    };
    const Case cases[] = {
        {"an add before the current item", [](Widget c) { Add(c, "zero", 1, True); }, "beta", 2, 0},
        {"an add after it", [](Widget c) { Add(c, "delta", 0, True); }, "beta", 1, 0},
        {"a delete before it", [](Widget c) { ZVKDtComboBoxDeletePos(c, 1); }, "beta", 0, 0},
        {"a delete of it", [](Widget c) { ZVKDtComboBoxDeletePos(c, 2); }, "gamma", 1, 1},
        {"emptying the items", setItems(0), nullptr, 0, 1},
        {"emptying, then one add", [&](Widget c) { setItems(0)(c); Add(c, "one", 0, True); },
         "one", 0, 2},
        {"replacing by items that end before it", setItems(1), "first", 0, 1},
        {"a selection", [](Widget c) { Select(c, "gamma"); }, "gamma", 2, 1},
        {"a new position", [](Widget c) { XtVaSetValues(c, DtNselectedPosition, 0, nullptr); },
         "alpha", 0, 1},
    };
    for (int type : {ComboTypeTextField, ComboTypeLabel}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (type ? " (text field)" : " (label)"));
            Widget combo = Make(type);
            AddItems(combo, {"alpha", "beta", "gamma"});
            Select(combo, "beta");
            int valueChanges = 0;
            XtAddCallback(combo, DtNvalueChangedCallback,
                          [](Widget, XtPointer count, XtPointer) { ++*(int *)count; },
                          &valueChanges);
            c.change(combo);
            XmString selected = nullptr;
            int position = -1;
            XtVaGetValues(combo, DtNselectedItem, &selected, DtNselectedPosition, &position,
                          nullptr);
            EXPECT_EQ(selected ? Text(selected) : "(none)", c.current ? c.current : "(none)");
            EXPECT_EQ(position, c.position);
            EXPECT_EQ(ShownText(combo), c.current ? c.current : type ? "" : "ComboBox");
            EXPECT_EQ(XmListPosSelected(Part(combo).list, c.position + 1), c.current != nullptr);
            EXPECT_EQ(valueChanges, c.valueChanges);
            EXPECT_EQ(Warnings(), std::vector<std::string>{});
            XtDestroyWidget(combo);
            Warnings().clear();
        }
    }
}

// The label takes in what it shows: a label string set later, and the
// default text of a label emptied of its short items.
TEST_F(ComboBoxItems, LabelIsMeasuredForWhatItShows)
{
    Widget combo = Make(ComboTypeLabel);
    ShowWindow(window);
    XmString title = Xms("Choose a fruit, please");
    XtVaSetValues(combo, DtNlabelString, title, nullptr);
    XmFontList fonts = nullptr;
    XtVaGetValues(Part(combo).labelWidget, XmNfontList, &fonts, nullptr);
    Dimension width = 0, height = 0;
    XmStringExtent(fonts, title, &width, &height);
    XmStringFree(title);
    EXPECT_GE(XtWidth(Part(combo).labelWidget), width);
    EXPECT_EQ(LabelText(Part(combo).labelWidget), "Choose a fruit, please");

    AddItems(combo, {"a", "b"});
    XtVaSetValues(combo, DtNitems, nullptr, DtNitemCount, 0, nullptr);
    XmString shown = Xms("ComboBox");
    XmStringExtent(fonts, shown, &width, &height);
    XmStringFree(shown);
    EXPECT_EQ(LabelText(Part(combo).labelWidget), "ComboBox");
    EXPECT_GE(XtWidth(Part(combo).labelWidget), width);
}

// Read-only and out-of-range resources are put right with a warning.
TEST_F(ComboBoxItems, ReadOnlyAndOutOfRangeResourcesArePutRight)
{
    Widget combo = Make(ComboTypeLabel);
    AddItems(combo, {"a", "b"});
    Widget field = combo;
    XtVaGetValues(combo, DtNtextField, &field, nullptr);
    EXPECT_EQ(field, nullptr);
    XtVaSetValues(combo, DtNtype, ComboTypeTextField, DtNtype, ComboTypeLabel, nullptr);
    XtVaSetValues(combo, DtNtype, ComboTypeTextField, nullptr);
    XtVaSetValues(combo, DtNtype, ComboTypeLabel, nullptr);
    XtVaGetValues(combo, DtNtextField, &field, nullptr);
    EXPECT_EQ(field, nullptr);
    Warnings().clear();

    XtVaSetValues(combo, DtNpoppedUp, True, DtNvisibleItemCount, 0, DtNtopItemPosition, 7,
                  nullptr);
    const std::vector<std::string> warned = {
        "DtComboButtonWidget: Invalid visibleItemCount resource (defaulting to 10).",
        "DtComboButtonWidget: Invalid topItemPosition resource (defaulting to 1).",
        "DtComboButtonWidget: Unable to set poppedUp resource."};
    EXPECT_EQ(Warnings(), warned);
    EXPECT_FALSE(Part(combo).poppedUp);
    EXPECT_EQ(Part(combo).visibleItemCount, 10);
    EXPECT_EQ(Part(combo).topItemPosition, 1);

    XtVaSetValues(combo, XtVaTypedArg, DtNorientation, XtRString, "left", 5, nullptr);
    EXPECT_EQ(Part(combo).orientation, ComboOrientationLeft);
    XtVaSetValues(combo, XtVaTypedArg, DtNorientation, XtRString, "ComboOrientationRight", 22,
                  nullptr);
    EXPECT_EQ(Part(combo).orientation, ComboOrientationRight);
}

TEST_F(ComboBoxItems, CreatingAndDestroyingManyComboBoxesKeepsWorking)
{
    XmString title = Xms("Title");
    for (int i = 0; i < 50; i++) {
        Arg args[] = {{const_cast<char *>(DtNlabelString), (XtArgVal)title}};
        Widget combo = NewComboBox(window, "many", args, 1);
        AddItems(combo, {"a", "b"});
        XtDestroyWidget(combo);
    }
    XmStringFree(title);
    Settle();
    EXPECT_TRUE(Warnings().empty());
}

}  // namespace
