// The combo box's resources, children, warnings and resource changes.
#include "ComboBoxTesting.h"

#include <climits>

#include <Xm/ArrowB.h>
#include <Xm/BulletinB.h>
#include <Xm/DrawnB.h>
#include <Xm/List.h>

using namespace testing_support;

namespace {

using ComboBoxTest = ComboBoxFixture;

const char alignmentWarning[] =
    "DtComboButtonWidget: Invalid alignment resource (defaulting to XmALIGNMENT_BEGINNING).";
const char orientationWarning[] =
    "DtComboButtonWidget: Invalid orientation resource (defaulting to ComboOrientationRight).";
const char itemCountWarning[] =
    "DtComboButtonWidget: Invalid itemCount resource (defaulting to 0).";
const char positionWarning[] =
    "DtComboButtonWidget: Invalid selectedPosition resource (defaulting to 0).";

TEST_F(ComboBoxTest, ResourcesAreDeclaredInTheClassOrderWithTheirTypes)
{
    struct Declared { std::string name, cls, type; Cardinal size; };
    const Cardinal d = sizeof(Dimension), c = sizeof(unsigned char), i = sizeof(int),
                   p = sizeof(XtPointer);
    const std::vector<Declared> expected = {
        {"shadowThickness", "ShadowThickness", "HorizontalDimension", d},
        {"activateCallback", "Callback", "Callback", p},
        {"alignment", "Alignment", "Alignment", c},
        {"arrowSpacing", "ArrowSpacing", "HorizontalDimension", d},
        {"arrowType", "ArrowType", "ArrowType", c},
        {"columns", "Columns", "Short", sizeof(short)},
        {"focusCallback", "Callback", "Callback", p},
        {"horizontalSpacing", "HorizontalSpacing", "HorizontalDimension", d},
        {"itemCount", "ItemCount", "Int", i},
        {"items", "Items", "XmStringTable", p},
        {"labelString", "XmString", "XmString", p},
        {"list", "List", "Widget", p},
        {"listFontList", "ListFontList", "FontList", p},
        {"listMarginHeight", "ListMarginHeight", "VerticalDimension", d},
        {"listMarginWidth", "ListMarginWidth", "HorizontalDimension", d},
        {"listSpacing", "ListSpacing", "Dimension", d},
        {"losingFocusCallback", "Callback", "Callback", p},
        {"marginHeight", "MarginHeight", "VerticalDimension", d},
        {"marginWidth", "MarginWidth", "HorizontalDimension", d},
        {"maxLength", "MaxLength", "Int", i},
        {"menuPostCallback", "Callback", "Callback", p},
        {"orientation", "Orientation", "ComboOrientation", c},
        {"poppedUp", "PoppedUp", "Boolean", sizeof(Boolean)},
        {"recomputeSize", "RecomputeSize", "Boolean", sizeof(Boolean)},
        {"selectedItem", "XmString", "XmString", p},
        {"selectedPosition", "SelectedPosition", "Int", i},
        {"selectionCallback", "Callback", "Callback", p},
        {"textField", "TextField", "Widget", p},
        {"topItemPosition", "TopItemPosition", "Int", i},
        {"type", "Type", "Type", c},
        {"updateLabel", "UpdateLabel", "Boolean", sizeof(Boolean)},
        {"visibleItemCount", "VisibleItemCount", "Int", i},
        {"verticalSpacing", "VerticalSpacing", "VerticalDimension", d},
    };
    Make({});   // the class is initialized: the list includes the manager's own
    XtResourceList resources = nullptr;
    Cardinal count = 0;
    XtGetResourceList(dtComboBoxWidgetClass, &resources, &count);
    std::vector<Declared> ours;
    for (Cardinal n = 0; n < count; n++)
        for (const Declared &e : expected)
            if (e.name == resources[n].resource_name)
                ours.push_back({resources[n].resource_name, resources[n].resource_class,
                                resources[n].resource_type, resources[n].resource_size});
    XtFree((char *)resources);
    ASSERT_EQ(ours.size(), expected.size());
    for (size_t n = 0; n < expected.size(); n++) {
        EXPECT_EQ(ours[n].name, expected[n].name) << n;
        EXPECT_EQ(ours[n].cls, expected[n].cls) << ours[n].name;
        EXPECT_EQ(ours[n].type, expected[n].type) << ours[n].name;
        EXPECT_EQ(ours[n].size, expected[n].size) << ours[n].name;
    }
}

TEST_F(ComboBoxTest, TextFieldVariantHasDocumentedDefaults)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    Dimension shadow, arrowSpacing, hSpacing, vSpacing, lmh, lmw, ls, mh, mw;
    unsigned char alignment, arrowType, orientation;
    short columns;
    int itemCount, maxLength, position, top, visible;
    Boolean poppedUp, recompute, update;
    XtVaGetValues(combo, DtNshadowThickness, &shadow, DtNalignment, &alignment,
                  DtNarrowSpacing, &arrowSpacing, DtNarrowType, &arrowType, DtNcolumns, &columns,
                  DtNhorizontalSpacing, &hSpacing, DtNverticalSpacing, &vSpacing,
                  DtNitemCount, &itemCount, DtNlistMarginHeight, &lmh, DtNlistMarginWidth, &lmw,
                  DtNlistSpacing, &ls, DtNmarginHeight, &mh, DtNmarginWidth, &mw,
                  DtNmaxLength, &maxLength, DtNorientation, &orientation,
                  DtNpoppedUp, &poppedUp, DtNrecomputeSize, &recompute,
                  DtNselectedPosition, &position, DtNtopItemPosition, &top,
                  DtNupdateLabel, &update, DtNvisibleItemCount, &visible, nullptr);
    EXPECT_EQ(shadow, 1);
    EXPECT_EQ(alignment, XmALIGNMENT_BEGINNING);
    EXPECT_EQ(arrowSpacing, 0);
    EXPECT_EQ(arrowType, ComboArrowDrawn);
    EXPECT_EQ(columns, 20);
    EXPECT_EQ(hSpacing, 0);
    EXPECT_EQ(vSpacing, 0);
    EXPECT_EQ(itemCount, 0);
    EXPECT_EQ(lmh, 2);
    EXPECT_EQ(lmw, 2);
    EXPECT_EQ(ls, 0);
    EXPECT_EQ(mh, 2);
    EXPECT_EQ(mw, 2);
    EXPECT_EQ(maxLength, INT_MAX);
    EXPECT_EQ(orientation, 1);
    EXPECT_FALSE(poppedUp);
    EXPECT_TRUE(recompute);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(top, 1);
    EXPECT_TRUE(update);
    EXPECT_EQ(visible, 10);
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ComboBoxTest, ChildrenCarryTheirResourceNames)
{
    Widget text = Make({A(DtNtype, ComboTypeTextField)}, "text");
    Widget label = Make({}, "label");
    Widget field = nullptr, list = nullptr;
    XtVaGetValues(text, DtNtextField, &field, DtNlist, &list, nullptr);
    EXPECT_STREQ(XtName(field), "Text");
    EXPECT_STREQ(XtName(list), "List");
    EXPECT_STREQ(XtName(XtParent(XtParent(list))), "ComboBoxRowColumn");
    EXPECT_STREQ(XtName(XtParent(XtParent(XtParent(list)))), "ComboBoxMenuShell");
    EXPECT_NE(XtNameToWidget(text, "ComboBoxArrow"), nullptr);
    EXPECT_NE(XtNameToWidget(label, "Label"), nullptr);
    EXPECT_NE(XtNameToWidget(label, "ComboBoxSeparator"), nullptr);
    EXPECT_EQ(XtNameToWidget(label, "Text"), nullptr);
    XtVaGetValues(label, DtNtextField, &field, nullptr);
    EXPECT_EQ(field, nullptr);
}

TEST_F(ComboBoxTest, ChildrenAreMadeWithTheirSettings)
{
    Widget text = Make({A(DtNtype, ComboTypeTextField), A(DtNcolumns, 12), A(DtNmaxLength, 40),
                        A(DtNarrowType, ComboArrowButton)}, "text");
    short columns = 0;
    int maxLength = 0, blinkRate = -1;
    Dimension marginWidth = 0, marginHeight = 0;
    XtVaGetValues(Part(text).textField, XmNcolumns, &columns, XmNmaxLength, &maxLength,
                  XmNblinkRate, &blinkRate, XmNmarginWidth, &marginWidth,
                  XmNmarginHeight, &marginHeight, nullptr);
    EXPECT_EQ(columns, 12);
    EXPECT_EQ(maxLength, 40);
    EXPECT_EQ(blinkRate, 0);
    EXPECT_EQ(marginWidth, 1);
    EXPECT_EQ(marginHeight, 1);

    Boolean traversal = True;
    Dimension highlight = 9, shadow = 9;
    unsigned char direction = 0;
    Pixel foreground = 0;
    XtVaGetValues(Part(text).arrowButton, XmNtraversalOn, &traversal,
                  XmNhighlightThickness, &highlight, XmNshadowThickness, &shadow,
                  XmNarrowDirection, &direction, XmNforeground, &foreground, nullptr);
    EXPECT_FALSE(traversal);
    EXPECT_EQ(highlight, 0);
    EXPECT_EQ(shadow, 0);
    EXPECT_EQ(direction, XmARROW_DOWN);
    EXPECT_EQ(foreground, text->core.background_pixel);

    Boolean overrideRedirect = False, saveUnder = False, allowResize = False;
    XtVaGetValues(Part(text).popupShell, XmNoverrideRedirect, &overrideRedirect,
                  XmNsaveUnder, &saveUnder, XmNallowShellResize, &allowResize, nullptr);
    EXPECT_TRUE(overrideRedirect && saveUnder && allowResize);
    unsigned char sizePolicy = 0;
    XtPointer userData = nullptr;
    XtVaGetValues(Part(text).list, XmNlistSizePolicy, &sizePolicy, XmNuserData, &userData,
                  nullptr);
    EXPECT_EQ(sizePolicy, XmRESIZE_IF_POSSIBLE);
    EXPECT_EQ(userData, (XtPointer)text);

    Widget label = Make({A(DtNalignment, XmALIGNMENT_END)}, "label");
    Boolean recompute = True;
    Dimension left = 0, right = 0;
    unsigned char alignment = 0, orientation = 0;
    XtVaGetValues(Part(label).labelWidget, XmNrecomputeSize, &recompute, XmNmarginLeft, &left,
                  XmNmarginRight, &right, XmNmarginWidth, &marginWidth,
                  XmNmarginHeight, &marginHeight, XmNalignment, &alignment, nullptr);
    EXPECT_FALSE(recompute);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 2);
    EXPECT_EQ(marginWidth, 0);
    EXPECT_EQ(marginHeight, 0);
    EXPECT_EQ(alignment, XmALIGNMENT_END);
    XtVaGetValues(Part(label).separatorWidget, XmNorientation, &orientation, nullptr);
    EXPECT_EQ(orientation, XmVERTICAL);

    // A text field made by a change of type has wider margins.
    XtVaSetValues(label, DtNtype, ComboTypeTextField, nullptr);
    XtVaGetValues(Part(label).textField, XmNmarginWidth, &marginWidth,
                  XmNmarginHeight, &marginHeight, nullptr);
    EXPECT_EQ(marginWidth, 2);
    EXPECT_EQ(marginHeight, 2);
}

TEST_F(ComboBoxTest, LabelVariantTakesFocusItselfTextFieldVariantThroughItsField)
{
    Widget label = Make({}, "label");
    Widget text = Make({A(DtNtype, ComboTypeTextField), A(XmNy, 60)}, "text");
    ShowWindow(window);
    EXPECT_TRUE(XmIsTraversable(label));
    EXPECT_FALSE(XmIsTraversable(text));
    EXPECT_TRUE(XmIsTraversable(Part(text).textField));

    XtSetSensitive(window, False);      // an insensitive ancestor
    EXPECT_FALSE(XmIsTraversable(label));
    XtSetSensitive(window, True);
    XtVaSetValues(label, XmNtraversalOn, False, nullptr);
    EXPECT_FALSE(XmIsTraversable(label));
    XtVaSetValues(label, XmNtraversalOn, True, nullptr);

    // Once the shell has an exclusive tab group, plain tab groups take no focus.
    XtVaCreateManagedWidget("exclusive", xmBulletinBoardWidgetClass, window, XmNy, 120,
                            XmNnavigationType, XmEXCLUSIVE_TAB_GROUP, nullptr);
    EXPECT_FALSE(XmIsTraversable(label));
    XtVaSetValues(label, XmNnavigationType, XmSTICKY_TAB_GROUP, nullptr);
    EXPECT_TRUE(XmIsTraversable(label));
}

static void RecordReason(Widget, XtPointer reasons, XtPointer call)
{
    ((std::vector<int> *)reasons)->push_back(((XmAnyCallbackStruct *)call)->reason);
}

TEST_F(ComboBoxTest, TextFieldFocusCallbacksReachTheComboBox)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    Widget other = Make({A(DtNtype, ComboTypeTextField), A(XmNy, 60)}, "other");
    std::vector<int> reasons;
    XtAddCallback(combo, DtNfocusCallback, RecordReason, &reasons);
    XtAddCallback(combo, DtNlosingFocusCallback, RecordReason, &reasons);
    ShowWindow(window);
    XSetInputFocus(TheDisplay(), XtWindow(XtParent(window)), RevertToParent, CurrentTime);
    Settle();
    ASSERT_TRUE(XmProcessTraversal(Part(combo).textField, XmTRAVERSE_CURRENT));
    Settle();
    ASSERT_TRUE(XmProcessTraversal(Part(other).textField, XmTRAVERSE_CURRENT));
    Settle();
    EXPECT_EQ(reasons, (std::vector<int>{XmCR_FOCUS, XmCR_LOSING_FOCUS}));
}

TEST_F(ComboBoxTest, TextFieldWithoutItemsStartsEmpty)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    EXPECT_EQ(TextFieldValue(Part(combo).textField), "");
    EXPECT_EQ(Part(combo).selectedItem, nullptr);
}

TEST_F(ComboBoxTest, LabelWithoutItemsShowsComboBox)
{
    Widget combo = Make({});
    EXPECT_EQ(LabelText(Part(combo).labelWidget), "ComboBox");
}

TEST_F(ComboBoxTest, LabelStringWithoutItemsIsShownThoughUpdateLabelIsOn)
{
    XmString title = Xms("Choose a drive");
    Widget combo = Make({A(DtNlabelString, (XtArgVal)title)});
    XmStringFree(title);   // the widget keeps its own copy
    EXPECT_EQ(LabelText(Part(combo).labelWidget), "Choose a drive");
    AddItems(combo, {"A:", "B:"});
    EXPECT_EQ(LabelText(Part(combo).labelWidget), "A:");
}

TEST_F(ComboBoxTest, LabelVariantAlwaysStartsWithShadowTwo)
{
    Widget label = Make({A(DtNshadowThickness, 5)}, "label");
    Widget text = Make({A(DtNtype, ComboTypeTextField), A(DtNshadowThickness, 5)}, "text");
    EXPECT_EQ(((XmManagerWidget)label)->manager.shadow_thickness, 2);
    EXPECT_EQ(((XmManagerWidget)text)->manager.shadow_thickness, 5);
    EXPECT_EQ(Part(label).horizontalSpacing, 1);
    EXPECT_EQ(Part(label).verticalSpacing, 2);
}

TEST_F(ComboBoxTest, ItemsGivenAtCreationShowTheSelectedPosition)
{
    XmString items[3] = {Xms("one"), Xms("two"), Xms("three")};
    Widget combo = Make({A(DtNtype, ComboTypeTextField), A(DtNitems, (XtArgVal)items),
                         A(DtNitemCount, 3), A(DtNselectedPosition, 1)});
    EXPECT_EQ(TextFieldValue(Part(combo).textField), "two");
    int selected = 0, *positions = nullptr;
    XmListGetSelectedPos(Part(combo).list, &positions, &selected);
    ASSERT_EQ(selected, 1);
    EXPECT_EQ(positions[0], 2);
    XtFree((char *)positions);

    Widget byItem = Make({A(DtNtype, ComboTypeTextField), A(DtNitems, (XtArgVal)items),
                          A(DtNitemCount, 3), A(DtNselectedItem, (XtArgVal)items[2])}, "byItem");
    EXPECT_EQ(TextFieldValue(Part(byItem).textField), "three");
    EXPECT_EQ(Part(byItem).selectedPosition, 2);
    for (XmString item : items)
        XmStringFree(item);
}

TEST_F(ComboBoxTest, InvalidValuesAtCreationAreWarnedAboutAndCorrected)
{
    Widget combo = Make({A(DtNalignment, 5), A(DtNorientation, 2)});
    ASSERT_EQ(Warnings().size(), 2u);
    EXPECT_EQ(Warnings()[0], alignmentWarning);
    EXPECT_EQ(Warnings()[1], orientationWarning);
    EXPECT_EQ(Part(combo).alignment, XmALIGNMENT_BEGINNING);
    EXPECT_EQ(Part(combo).orientation, ComboOrientationRight);
    unsigned char labelAlignment = 9;
    XtVaGetValues(Part(combo).labelWidget, XmNalignment, &labelAlignment, nullptr);
    EXPECT_EQ(labelAlignment, XmALIGNMENT_BEGINNING);
}

TEST_F(ComboBoxTest, SelectedPositionOutsideTheItemsIsWarnedAbout)
{
    XmString items[3] = {Xms("one"), Xms("two"), Xms("three")};
    for (int position : {3, -1}) {
        Warnings().clear();
        Widget combo = Make({A(DtNtype, ComboTypeTextField), A(DtNitems, (XtArgVal)items),
                             A(DtNitemCount, 3), A(DtNselectedPosition, position)});
        ASSERT_EQ(Warnings().size(), 1u) << position;
        EXPECT_EQ(Warnings()[0], positionWarning);
        EXPECT_EQ(Part(combo).selectedPosition, 0);
        EXPECT_EQ(TextFieldValue(Part(combo).textField), "one");
    }
    Warnings().clear();
    Make({A(DtNselectedPosition, 7)}, "empty");
    EXPECT_TRUE(Warnings().empty());
    for (XmString item : items)
        XmStringFree(item);
}

TEST_F(ComboBoxTest, NegativeItemCountIsWarnedAbout)
{
    Widget combo = Make({A(DtNitemCount, -2)});
    ASSERT_FALSE(Warnings().empty());
    EXPECT_EQ(Warnings()[0], itemCountWarning);
    EXPECT_EQ(Part(combo).itemCount, 0);
}

// The list would read past the table: such a count is invalid as well.
TEST_F(ComboBoxTest, ItemCountBeyondTheItemsIsWarnedAbout)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField), A(DtNitemCount, 3)});
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0], itemCountWarning);
    EXPECT_EQ(Part(combo).itemCount, 0);
    XtCallActionProc(combo, const_cast<char *>("ComboBoxActivate"), nullptr, nullptr, 0);
    EXPECT_FALSE(Part(combo).poppedUp);

    AddItems(combo, {"a", "b"});
    Warnings().clear();
    XtVaSetValues(combo, DtNitemCount, 5, nullptr);
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0], itemCountWarning);
    EXPECT_EQ(Part(combo).itemCount, 0);
    EXPECT_EQ(ShownText(combo), "");

    AddItems(combo, {"a", "b", "c"});
    Warnings().clear();
    XtVaSetValues(combo, DtNitemCount, 2, nullptr);     // fewer is fine
    EXPECT_TRUE(Warnings().empty());
    EXPECT_EQ(Part(combo).itemCount, 2);
    XtVaSetValues(combo, DtNitems, nullptr, nullptr);   // a count with no table
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Part(combo).itemCount, 0);
}

TEST_F(ComboBoxTest, InvalidValuesInAChangeAreWarnedAboutAndCorrected)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    AddItems(combo, {"a", "b"});
    XtVaSetValues(combo, DtNalignment, 9, DtNorientation, 4, DtNselectedPosition, 2, nullptr);
    ASSERT_EQ(Warnings().size(), 3u);
    EXPECT_EQ(Warnings()[0], alignmentWarning);
    EXPECT_EQ(Warnings()[1], orientationWarning);
    EXPECT_EQ(Warnings()[2], positionWarning);
    EXPECT_EQ(Part(combo).selectedPosition, 0);
}

TEST_F(ComboBoxTest, TextFieldCannotBeReplaced)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    Widget field = Part(combo).textField;
    XtVaSetValues(combo, DtNtextField, window, nullptr);
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0], "DtComboButtonWidget: Unable to set textField resource.");
    Widget now = nullptr;
    XtVaGetValues(combo, DtNtextField, &now, nullptr);
    EXPECT_EQ(now, field);
}

TEST_F(ComboBoxTest, LabelStringIsGotAsACopyAndItemsAsTheListsTable)
{
    Widget combo = Make({});
    AddItems(combo, {"first", "second"});
    XmString label = nullptr;
    XmStringTable items = nullptr, listItems = nullptr;
    int count = 0;
    XtVaGetValues(combo, DtNlabelString, &label, DtNitems, &items, DtNitemCount, &count, nullptr);
    XtVaGetValues(Part(combo).list, XmNitems, &listItems, nullptr);
    EXPECT_EQ(Text(label), "first");
    // Each get is the caller's to free; the widget's own string stays good.
    XmString again = nullptr;
    XtVaGetValues(combo, DtNlabelString, &again, nullptr);
    XmStringFree(label);
    XmStringFree(again);
    EXPECT_EQ(Text(Part(combo).labelString), "first");
    EXPECT_EQ(items, listItems);
    EXPECT_EQ(count, 2);
}

TEST_F(ComboBoxTest, ListResourcesRoundTripThroughTheList)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField), A(DtNlistMarginHeight, 5),
                         A(DtNvisibleItemCount, 4)});
    AddItems(combo, {"1", "2", "3", "4", "5", "6"});
    XtVaSetValues(combo, DtNlistMarginWidth, 7, DtNlistSpacing, 3, DtNtopItemPosition, 2,
                  nullptr);
    Dimension lmh = 0, lmw = 0, spacing = 0, arrowSize = 0;
    int top = 0, visible = 0;
    XtVaGetValues(combo, DtNlistMarginHeight, &lmh, DtNlistMarginWidth, &lmw,
                  DtNlistSpacing, &spacing, DtNtopItemPosition, &top,
                  DtNvisibleItemCount, &visible, DtNarrowSize, &arrowSize, nullptr);
    EXPECT_EQ(lmh, 5);
    EXPECT_EQ(lmw, 7);
    EXPECT_EQ(spacing, 3);
    EXPECT_EQ(top, 2);
    EXPECT_EQ(visible, 4);
    EXPECT_EQ(arrowSize, XtHeight(Part(combo).arrowButton));
    Dimension listMargin = 0;
    XmFontList fonts = nullptr, listFonts = nullptr;
    XtVaGetValues(combo, DtNlistFontList, &fonts, nullptr);
    XtVaGetValues(Part(combo).list, XmNlistMarginWidth, &listMargin, XmNfontList, &listFonts,
                  nullptr);
    EXPECT_EQ(listMargin, 7);
    EXPECT_NE(fonts, nullptr);
    EXPECT_EQ(fonts, listFonts);
}

TEST_F(ComboBoxTest, NewItemsTableTakesTheUnchangedCountAlong)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    AddItems(combo, {"a", "b"});
    XmString items[2] = {Xms("x"), Xms("y")};
    XtVaSetValues(combo, DtNitems, items, nullptr);
    EXPECT_EQ(Part(combo).itemCount, 2);
    EXPECT_EQ(TextFieldValue(Part(combo).textField), "x");
    for (XmString item : items)
        XmStringFree(item);
}

TEST_F(ComboBoxTest, SwitchingTypeMakesNamedChildrenOnceAndReusesThem)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    AddItems(combo, {"alpha", "beta"});
    Widget field = Part(combo).textField;
    XtVaSetValues(combo, DtNtype, ComboTypeLabel, nullptr);
    Widget label = Part(combo).labelWidget;
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(XtName(label), "ComboBoxLabel");
    EXPECT_STREQ(XtName(Part(combo).separatorWidget), "ComboBoxSeparator");
    EXPECT_TRUE(XtIsManaged(label));
    EXPECT_FALSE(XtIsManaged(field));
    EXPECT_EQ(((XmManagerWidget)combo)->manager.shadow_thickness, 2);
    EXPECT_EQ(Part(combo).horizontalSpacing, 1);
    EXPECT_EQ(Part(combo).verticalSpacing, 2);
    EXPECT_EQ(LabelText(label), "alpha");

    XtVaSetValues(combo, DtNtype, ComboTypeTextField, nullptr);
    EXPECT_EQ(Part(combo).textField, field);
    EXPECT_TRUE(XtIsManaged(field));
    EXPECT_FALSE(XtIsManaged(label));
    EXPECT_EQ(((XmManagerWidget)combo)->manager.shadow_thickness, 1);

    Widget other = Make({}, "other");
    XtVaSetValues(other, DtNtype, ComboTypeTextField, DtNshadowThickness, 4, nullptr);
    EXPECT_STREQ(XtName(Part(other).textField), "ComboBoxTextField");
    EXPECT_EQ(((XmManagerWidget)other)->manager.shadow_thickness, 4);
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(ComboBoxTest, ChangingArrowTypeReplacesTheArrow)
{
    Widget combo = Make({A(DtNtype, ComboTypeTextField)});
    EXPECT_TRUE(XmIsDrawnButton(Part(combo).arrowButton));
    XtVaSetValues(combo, DtNarrowType, ComboArrowButton, nullptr);
    Settle();
    Widget arrow = Part(combo).arrowButton;
    EXPECT_TRUE(XmIsArrowButton(arrow));
    EXPECT_STREQ(XtName(arrow), "ComboBoxArrow");
    EXPECT_EQ(XtNameToWidget(combo, "ComboBoxArrow"), arrow);
    XtVaSetValues(combo, DtNarrowType, ComboArrowDrawn, nullptr);
    EXPECT_TRUE(XmIsDrawnButton(Part(combo).arrowButton));
}

TEST_F(ComboBoxTest, InvalidTypeAndArrowTypeFallBackToLabelAndDrawnArrow)
{
    Widget combo = Make({A(DtNtype, 7), A(DtNarrowType, 3)});
    ASSERT_EQ(Warnings().size(), 2u);
    EXPECT_EQ(Warnings()[0],
              "DtComboButtonWidget: Invalid type resource (defaulting to ComboTypeLabel).");
    EXPECT_EQ(Warnings()[1],
              "DtComboButtonWidget: Invalid arrowType resource (defaulting to ComboArrowDrawn).");
    EXPECT_NE(Part(combo).labelWidget, nullptr);
    EXPECT_TRUE(XmIsDrawnButton(Part(combo).arrowButton));
}

TEST_F(ComboBoxTest, LabelStringShownWhenUpdateLabelIsOff)
{
    Widget combo = Make({A(DtNupdateLabel, False)});
    AddItems(combo, {"first"});
    XmString title = Xms("Fixed title");
    XtVaSetValues(combo, DtNlabelString, title, nullptr);
    XmStringFree(title);
    EXPECT_EQ(LabelText(Part(combo).labelWidget), "Fixed title");
}

}  // namespace
