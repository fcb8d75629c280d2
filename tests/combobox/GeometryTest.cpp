// The combo box's layout arithmetic, its geometry manager and what it draws.
#include "ComboBoxTesting.h"

#include <Xm/ManagerP.h>

using namespace testing_support;

namespace {

class ComboBoxGeometry : public ComboBoxFixture {
protected:
    // A text-field combo box in a shown window, so that children's requests
    // reach its geometry manager.
    Widget TextCombo(const char *name = "text")
    {
        Widget combo = Make({A(DtNtype, ComboTypeTextField)}, name);
        ShowWindow(window);
        return combo;
    }
    Widget LabelCombo(int orientation, Dimension arrowSpacing)
    {
        Widget combo = Make({A(DtNorientation, orientation), A(DtNarrowSpacing, arrowSpacing)},
                            "label");
        AddItems(combo, {"short", "a rather longer item"});
        ShowWindow(window);
        return combo;
    }
    // Gives the text field a size of its own and has the combo box lay out
    // again and ask for its preferred size (a margin change and back).
    static void ResizeTextField(Widget combo, Dimension width, Dimension height)
    {
        Widget field = Part(combo).textField;
        XtResizeWidget(field, width, height, XtBorderWidth(field));
        XtVaSetValues(combo, DtNmarginWidth, 3, nullptr);
        XtVaSetValues(combo, DtNmarginWidth, 2, nullptr);
        Settle();
    }
    static Pixel PixelAt(Widget w, int x, int y)
    {
        XImage *image = XGetImage(XtDisplay(w), XtWindow(w), x, y, 1, 1, AllPlanes, ZPixmap);
        Pixel pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return pixel;
    }
    static XmManagerPart &Manager(Widget w) { return ((XmManagerWidget)w)->manager; }
};

TEST_F(ComboBoxGeometry, ArrowIsFortyFivePercentOfTheTextHeightButAtLeastThirteen)
{
    Widget combo = TextCombo();
    ResizeTextField(combo, 150, 25);
    EXPECT_EQ(XtWidth(Part(combo).arrowButton), 13);
    EXPECT_EQ(XtHeight(Part(combo).arrowButton), 25);
    ResizeTextField(combo, 150, 40);
    EXPECT_EQ(XtWidth(Part(combo).arrowButton), 18);
    EXPECT_EQ(XtHeight(Part(combo).arrowButton), 40);
}

// For 13 x 25: centre (6, 11), head 4 and half shaft 1, bar at 6 + 11 + 1.
TEST_F(ComboBoxGeometry, DrawnArrowIsAShaftAndHeadOverABar)
{
    Widget combo = TextCombo();
    ResizeTextField(combo, 150, 25);
    Widget arrow = Part(combo).arrowButton;
    ASSERT_EQ(XtWidth(arrow), 13);
    ASSERT_EQ(XtHeight(arrow), 25);
    Pixel foreground = 0;
    XtVaGetValues(arrow, XmNforeground, &foreground, nullptr);
    Pixel background = arrow->core.background_pixel;
    ASSERT_NE(foreground, background);
    struct Point { int x, y; };
    for (Point p : {Point{1, 18}, {6, 18}, {11, 18}, {6, 15}, {2, 11}, {10, 11}, {5, 7},
                    {7, 7}, {6, 9}})
        EXPECT_EQ(PixelAt(arrow, p.x, p.y), foreground) << p.x << "," << p.y;
    for (Point p : {Point{0, 18}, {12, 18}, {6, 17}, {6, 16}, {6, 6}, {4, 9}, {8, 9},
                    {1, 11}, {11, 11}})
        EXPECT_EQ(PixelAt(arrow, p.x, p.y), background) << p.x << "," << p.y;
}

// An insensitive combo box greys its drawn arrow: the bar is drawn through a
// half-tone, every other pixel left blank.
TEST_F(ComboBoxGeometry, DrawnArrowGreysOutWhenInsensitive)
{
    Widget combo = TextCombo();
    Widget arrow = Part(combo).arrowButton;
    Pixel foreground = 0;
    XtVaGetValues(arrow, XmNforeground, &foreground, nullptr);
    auto barPixels = [&] {
        int drawn = 0, y = XtWidth(arrow) / 2 + (XtHeight(arrow) - 3) / 2 + 1;
        for (int x = 1; x < XtWidth(arrow) - 1; x++)
            drawn += PixelAt(arrow, x, y) == foreground;
        return drawn;
    };
    int sensitive = barPixels();
    EXPECT_EQ(sensitive, XtWidth(arrow) - 2);
    XtSetSensitive(combo, False);
    Settle();
    int greyed = barPixels();
    EXPECT_GT(greyed, 0);
    EXPECT_LE(greyed, (sensitive + 1) / 2);
}

// The render table reaches the text field and the label.
TEST_F(ComboBoxGeometry, RenderTableReachesTheTextFieldAndTheLabel)
{
    Arg font[] = {{const_cast<char *>(XmNfontName), (XtArgVal) "fixed"},
                  {const_cast<char *>(XmNfontType), XmFONT_IS_FONT},
                  {const_cast<char *>(XmNloadModel), XmLOAD_IMMEDIATE}};
    XmRendition rendition = XmRenditionCreate(window, const_cast<char *>("big"),
                                              font, XtNumber(font));
    XmRenderTable table = XmRenderTableAddRenditions(nullptr, &rendition, 1, XmMERGE_NEW);
    Widget combo = Make({A(DtNtype, ComboTypeTextField), A(DtNrenderTable, (XtArgVal)table)});
    XtVaSetValues(combo, DtNtype, ComboTypeLabel, nullptr);
    for (Widget child : {Part(combo).textField, Part(combo).labelWidget}) {
        XmRenderTable given = nullptr;
        XtVaGetValues(child, XmNrenderTable, &given, nullptr);
        XmStringTag *tags = nullptr;
        int count = XmRenderTableGetTags(given, &tags);
        ASSERT_EQ(count, 1) << XtName(child);
        EXPECT_STREQ(tags[0], "big") << XtName(child);
        XtFree(tags[0]);
        XtFree((char *)tags);
    }
    XmRenditionFree(rendition);
    XmRenderTableFree(table);
}

TEST_F(ComboBoxGeometry, ShortTextFieldStillGetsAnArrowThirteenHigh)
{
    Widget combo = TextCombo();
    ResizeTextField(combo, 150, 8);
    EXPECT_EQ(XtHeight(Part(combo).arrowButton), 13);
    EXPECT_EQ(XtWidth(Part(combo).arrowButton), 13);
}

TEST_F(ComboBoxGeometry, RequestedSizeWrapsTheTextFieldInShadowAndMargins)
{
    Widget combo = TextCombo();
    for (Dimension height : {25, 40}) {
        ResizeTextField(combo, 200, height);
        Widget field = Part(combo).textField;
        EXPECT_EQ(XtWidth(field), 200);
        EXPECT_EQ(XtWidth(combo), 200 + 6 + (height == 25 ? 13 : 18));
        EXPECT_EQ(XtHeight(combo), height + 6);
        EXPECT_EQ(XtX(field), 3);
        EXPECT_EQ(XtY(field), 3);
        EXPECT_EQ(XtX(Part(combo).arrowButton), 3 + 200);
    }
}

TEST_F(ComboBoxGeometry, NarrowComboBoxGivesTheTextFieldWidthOne)
{
    Widget combo = TextCombo();
    XtVaSetValues(combo, DtNrecomputeSize, False, nullptr);
    XtVaSetValues(combo, XmNwidth, 12, nullptr);
    Settle();
    EXPECT_EQ(XtWidth(combo), 12);
    EXPECT_EQ(XtWidth(Part(combo).textField), 1);
}

TEST_F(ComboBoxGeometry, LabelNeverGrowsBeyondItsWidestItem)
{
    Widget combo = LabelCombo(1, 0);
    XtVaSetValues(combo, DtNrecomputeSize, False, nullptr);
    XtVaSetValues(combo, XmNwidth, 900, XmNheight, 200, nullptr);
    Settle();
    Widget label = Part(combo).labelWidget;
    EXPECT_GT(Part(combo).labelMaxWidth, 4);
    EXPECT_EQ(XtWidth(label), Part(combo).labelMaxWidth);
    EXPECT_EQ(XtHeight(label), Part(combo).labelMaxHeight);
}

TEST_F(ComboBoxGeometry, ArrowAtTheLeftComesBeforeSeparatorGapAndLabel)
{
    Widget combo = LabelCombo(0, 5);
    Widget arrow = Part(combo).arrowButton, separator = Part(combo).separatorWidget;
    Widget label = Part(combo).labelWidget;
    Position x0 = 2 + 2 + 1;    // shadow 2, margin 2, horizontal spacing 1
    EXPECT_EQ(XtX(arrow), x0);
    EXPECT_EQ(XtX(separator), x0 + XtWidth(arrow));
    EXPECT_EQ(XtY(separator), 2 + 2);
    EXPECT_EQ(XtX(label), XtX(separator) + XtWidth(separator) + 5);
}

TEST_F(ComboBoxGeometry, ArrowAtTheRightIsPinnedToTheEdge)
{
    Widget combo = LabelCombo(1, 5);
    XtVaSetValues(combo, DtNrecomputeSize, False, nullptr);
    XtVaSetValues(combo, XmNwidth, 500, nullptr);
    Settle();
    Widget arrow = Part(combo).arrowButton, separator = Part(combo).separatorWidget;
    Widget label = Part(combo).labelWidget;
    Position x0 = 2 + 2 + 1;
    EXPECT_EQ(XtX(label), x0);
    EXPECT_EQ(XtX(arrow) + XtWidth(arrow), 500 - x0);
    EXPECT_EQ(XtX(separator) + XtWidth(separator), XtX(arrow));
    EXPECT_GE(XtX(separator) - (XtX(label) + XtWidth(label)), 5);
}

TEST_F(ComboBoxGeometry, OnlyTheTextFieldMayAskForANewSize)
{
    Widget combo = TextCombo();
    Widget arrow = Part(combo).arrowButton;
    Dimension arrowWidth = XtWidth(arrow);
    XtVaSetValues(arrow, XmNwidth, arrowWidth + 40, nullptr);
    EXPECT_EQ(XtWidth(arrow), arrowWidth);
    Dimension comboWidth = XtWidth(combo);
    XtVaSetValues(Part(combo).textField, XmNcolumns, 40, XmNmarginHeight, 2, nullptr);
    Settle();
    EXPECT_GT(XtWidth(combo), comboWidth);
    EXPECT_EQ(XtHeight(Part(combo).textField), 25);
    EXPECT_EQ(XtWidth(Part(combo).arrowButton), 13);
    EXPECT_EQ(XtWidth(combo), XtWidth(Part(combo).textField) + 6 + 13);
    EXPECT_EQ(XtHeight(combo), 25 + 6);
}

TEST_F(ComboBoxGeometry, ShadowIsDrawnInsideTheMargins)
{
    Widget combo = TextCombo();
    ShowWindow(window);
    EXPECT_EQ(PixelAt(combo, 2, 2), Manager(combo).top_shadow_color);
    EXPECT_EQ(PixelAt(combo, XtWidth(combo) - 3, XtHeight(combo) - 3),
              Manager(combo).bottom_shadow_color);
    EXPECT_EQ(PixelAt(combo, 0, 0), combo->core.background_pixel);
}

TEST_F(ComboBoxGeometry, FocusRingFillsTheMarginsOnlyWhileTheLabelVariantHasFocus)
{
    Widget text = TextCombo();
    Widget label = LabelCombo(1, 0);
    XtVaSetValues(label, XmNy, 60, nullptr);
    ShowWindow(window);
    XSetInputFocus(XtDisplay(window), XtWindow(XtParent(window)), RevertToParent, CurrentTime);
    Settle();
    ASSERT_TRUE(XmProcessTraversal(label, XmTRAVERSE_CURRENT));
    Settle();
    EXPECT_EQ(XmGetFocusWidget(label), label);
    EXPECT_EQ(PixelAt(label, 0, 0), Manager(label).highlight_color);
    EXPECT_EQ(PixelAt(label, XtWidth(label) - 1, XtHeight(label) - 1),
              Manager(label).highlight_color);

    ASSERT_TRUE(XmProcessTraversal(Part(text).textField, XmTRAVERSE_CURRENT));
    Settle();
    EXPECT_EQ(PixelAt(label, 0, 0), label->core.background_pixel);
    EXPECT_EQ(PixelAt(text, 0, 0), text->core.background_pixel);
}

TEST_F(ComboBoxGeometry, GrowingAndShrinkingLeavesNoOldShadowBehind)
{
    Widget combo = TextCombo();
    XtVaSetValues(combo, DtNrecomputeSize, False, nullptr);
    ShowWindow(window);
    Dimension width = XtWidth(combo), height = XtHeight(combo);
    XtVaSetValues(combo, XmNwidth, width + 60, XmNheight, height + 20, nullptr);
    Settle();
    XtVaSetValues(combo, XmNwidth, width + 30, XmNheight, height + 10, nullptr);
    Settle();
    Pixel background = combo->core.background_pixel;
    // Where the bigger frame's bottom-right corner was, only background.
    EXPECT_EQ(PixelAt(combo, width + 30 - 1, height + 10 - 1), background);
    EXPECT_EQ(PixelAt(combo, width + 30 - 3, height + 10 - 3),
              Manager(combo).bottom_shadow_color);
}

}  // namespace
