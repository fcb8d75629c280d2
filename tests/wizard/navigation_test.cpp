// Moving between the pages by buttons and by keys, the focus after each
// switch, and the keys typed into the destination's text field.
#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include "harness.h"
#include "wizard.h"

TEST(Navigation, AcceptButtonShowsDestinationPageWithFocusOnFinish) {
    StartWizard();
    Click(page1accept);
    EXPECT_EQ(PageInView(), 2);
    EXPECT_EQ(FocusWidget(), page2finish);
}

TEST(Navigation, ReturnAndAKeyOnLicensePageActAsAccept) {
    for (const char *key : {"Return", "a"}) {
        SCOPED_TRACE(key);
        if (pAppShell == nullptr)
            StartWizard();
        else
            ShowLicensePage(nullptr, nullptr, nullptr);
        ASSERT_EQ(PageInView(), 1);
        PressKey(key);
        EXPECT_EQ(PageInView(), 2);
        EXPECT_EQ(FocusWidget(), page2finish);
    }
}

TEST(Navigation, BackButtonAndBKeyReturnToLicenseWithFocusOnAccept) {
    StartWizard();
    PressKey("Return");
    Click(page2back);
    EXPECT_EQ(PageInView(), 1);
    EXPECT_EQ(FocusWidget(), page1accept);
    PressKey("a");
    ASSERT_EQ(PageInView(), 2);
    PressKey("b");
    EXPECT_EQ(PageInView(), 1);
    EXPECT_EQ(FocusWidget(), page1accept);
}

TEST(Navigation, KeysForThePageInViewOnlyMoveTheFocus) {
    StartWizard();
    XmProcessTraversal(page1cancel, XmTRAVERSE_CURRENT);
    Drain();
    PressKey("b");
    EXPECT_EQ(PageInView(), 1);
    EXPECT_EQ(FocusWidget(), page1accept);
    PressKey("a");
    XmProcessTraversal(page2back, XmTRAVERSE_CURRENT);
    Drain();
    PressKey("a");
    EXPECT_EQ(PageInView(), 2);
    EXPECT_EQ(FocusWidget(), page2finish);
}

TEST(Navigation, NKeyHasNoActionOfItsOwn) {
    StartWizard();
    PressKey("Return");
    PressKey("n");
    EXPECT_EQ(PageInView(), 2);
    EXPECT_EQ(FocusWidget(), page2finish);
    EXPECT_FALSE(DialogShown());
}

TEST(Navigation, LettersAndReturnInTheTextFieldEditTheDestination) {
    StartWizard();
    PressKey("Return");
    Click(DestinationField());
    ASSERT_EQ(FocusWidget(), DestinationField());
    SetDestinationText("");
    Type("/tmp/abcfABCF");
    PressKey("Return");
    EXPECT_EQ(DestinationText(), "/tmp/abcfABCF");
    EXPECT_EQ(PageInView(), 2);
    EXPECT_EQ(FocusWidget(), DestinationField());
    EXPECT_FALSE(DialogShown());
}

// Pressing a key that ends the process, in a child process of its own.
static void PressAndExpectExit(const char *key, int page) {
    StartWizard();
    if (page == 2)
        PressKey("Return");
    PressKey(key);
    ADD_FAILURE() << "the process is still running";
    exit(1);
}

TEST(NavigationDeathTest, CancelKeyEndsTheProcessWithStatusZeroOnBothPages) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(PressAndExpectExit("c", 1), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(PressAndExpectExit("c", 2), testing::ExitedWithCode(0), "");
}

TEST(NavigationDeathTest, CancelButtonsEndTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartWizard();
            Click(page1cancel);
            exit(1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            StartWizard();
            PressKey("Return");
            Click(page2cancel);
            exit(1);
        },
        testing::ExitedWithCode(0), "");
}

// Moves the keyboard focus into the destination's text field with Tab alone.
static void TabToDestinationField() {
    for (int tabs = 0; tabs < 8 && FocusWidget() != DestinationField(); tabs++)
        PressKey("Tab");
    ASSERT_EQ(FocusWidget(), DestinationField());
}

static bool ListDroppedDown() {
    Boolean down = False;
    XtVaGetValues(page2dircombobox, "poppedUp", &down, nullptr);
    return down;
}

TEST(Navigation, KeyboardAloneChoosesADestinationFromTheList) {
    StartWizard();
    PressKey("Return");
    TabToDestinationField();
    PressKey("Down");
    ASSERT_TRUE(ListDroppedDown());
    for (size_t n = Candidates().size(); DestinationText() != "/opt/Zorvane8" && n > 0; n--)
        PressKey("Down");
    PressKey("Return");
    EXPECT_FALSE(ListDroppedDown());
    EXPECT_EQ(DestinationText(), "/opt/Zorvane8");
    EXPECT_EQ(PageInView(), 2);
    EXPECT_EQ(FocusWidget(), DestinationField());
    EXPECT_FALSE(DialogShown());
}

// The list holds the keyboard while it is down: the cancel key "c" only
// looks for an item there and leaves the installer running.
TEST(NavigationDeathTest, CancelKeyInTheDroppedListDoesNotEndTheInstaller) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartWizard();
            PressKey("Return");
            TabToDestinationField();
            PressKey("Down");
            PressKey("c");
            bool stillThere = ListDroppedDown() && PageInView() == 2;
            exit(stillThere ? 3 : 4);
        },
        testing::ExitedWithCode(3), "");
}
