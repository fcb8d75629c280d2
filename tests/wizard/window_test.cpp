// The window as the user first sees it: size, title, decorations, when it is
// mapped, the license page, the layout and the resources that shape it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <Xm/Text.h>
#include <Xm/Xm.h>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "build.h"
#include "harness.h"
#include "wizard.h"

// A widget's place in its parent and its size.
struct Box {
    int x, y, width, height;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
};

static Box BoxOf(Widget w) {
    Position x = 0, y = 0;
    Dimension width = 0, height = 0;
    XtVaGetValues(w, XtNx, &x, XtNy, &y, XtNwidth, &width, XtNheight, &height, nullptr);
    return {x, y, width, height};
}

TEST(Window, Is489By350WithItsTitleAndNoResizeOrMaximise) {
    StartWizard();
    Display *display = XtDisplay(pAppShell);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, XtWindow(pAppShell), &attributes);
    EXPECT_EQ(attributes.width, 489);
    EXPECT_EQ(attributes.height, 350);
    char *title = nullptr;
    ASSERT_TRUE(XFetchName(display, XtWindow(pAppShell), &title));
    EXPECT_STREQ(title, "Zorvane 8 Installer");
    XFree(title);
}

TEST(Window, IsMappedOnlyAfterTheWholeWindowIsBuilt) {
    BuildWithOptions();
    // The map must be the build's last request: the window manager maps the
    // window only after the server has seen every other one.
    Display *display = XtDisplay(pAppShell);
    unsigned long lastRequest = NextRequest(display) - 1;
    XEvent event;
    auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    bool mapped;
    while (!(mapped = XCheckTypedWindowEvent(display, XtWindow(pAppShell), MapNotify, &event)) &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        XSync(display, False);
    }
    ASSERT_TRUE(mapped) << "no MapNotify within a minute; " << WizardState();
    EXPECT_GE(event.xmap.serial, lastRequest);
    EXPECT_TRUE(XtIsRealized(page1license));
    EXPECT_FALSE(XtIsManaged(page2form));
    EXPECT_FALSE(XtIsManaged(page3form));
    EXPECT_FALSE(XtIsManaged(ErrorDialog));
}

TEST(Window, StartsOnTheLicensePageWithTheFocusOnAccept) {
    StartWizard();
    EXPECT_EQ(PageInView(), 1);
    EXPECT_EQ(FocusWidget(), page1accept);
    EXPECT_EQ(LabelText(page1accept), "Accept >");
    EXPECT_EQ(LabelText(page1toplabel), "Installation and use of the Zorvane 8 requires\n"
                                        "acceptance of the following terms and conditions:");
    EXPECT_EQ(LabelText(page1bottomlabel),
              "Click \"Accept\" to accept the terms of the license agreement\n"
              "and continue with the Zorvane 8 Setup program.");
}

TEST(Window, LicenseScrollsVerticallyOnlyAndCannotBeEdited) {
    StartWizard();
    char *text = XmTextGetString(page1license);
    EXPECT_STREQ(text, license_text);
    XtFree(text);
    Widget horizontal = nullptr, vertical = nullptr;
    XtVaGetValues(page1licensewindow, XmNhorizontalScrollBar, &horizontal, XmNverticalScrollBar,
                  &vertical, nullptr);
    EXPECT_FALSE(XtIsManaged(horizontal));
    EXPECT_TRUE(XtIsManaged(vertical));
    Boolean cursorVisible = True;
    XtVaGetValues(page1license, XmNcursorPositionVisible, &cursorVisible, nullptr);
    EXPECT_FALSE(cursorVisible);

    Click(page1license);
    Type("xyz");
    text = XmTextGetString(page1license);
    EXPECT_STREQ(text, license_text) << "typing changed the license";
    XtFree(text);
}

TEST(Window, LaysOutLogoLeftFrameTitleOverTheEdgeAndButtonsBottomRight) {
    StartWizard();
    PressKey("Return");
    ASSERT_EQ(PageInView(), 2);
    for (Widget logo : {page1logo, page2logo}) {
        Box box = BoxOf(logo);
        EXPECT_EQ(box.x, 10);
        EXPECT_EQ(box.y, 10);
        EXPECT_EQ(box.width, 100);
        EXPECT_EQ(box.height, 236);
    }
    EXPECT_EQ(BoxOf(page1separator).y, BoxOf(page1logo).bottom() + 40);
    EXPECT_EQ(BoxOf(page1bottomlabel).y, BoxOf(page1logo).bottom());
    EXPECT_EQ(BoxOf(page1licensewindow).x, BoxOf(page1logo).right() + 10);
    EXPECT_EQ(BoxOf(page1licensewindow).right(), BoxOf(page1bottomlabel).right());

    Box frame = BoxOf(page2frame1), title = BoxOf(page2dirlabel);
    EXPECT_EQ(frame.x, BoxOf(page2logo).right() + 10);
    EXPECT_EQ(frame.y, 20);
    EXPECT_EQ(title.y, frame.y - 10);
    EXPECT_EQ(title.x, frame.x + 5);
    EXPECT_EQ(LabelText(page2dirlabel), "Destination Directory");

    for (Widget row : {page1buttons, page2buttons}) {
        Box buttons = BoxOf(row);
        EXPECT_EQ(buttons.bottom(), BoxOf(page2form).height - 10);
        EXPECT_EQ(buttons.right(), BoxOf(page2form).width - 10);
    }
    Box rowBox = BoxOf(page2buttons);
    Box finish = BoxOf(page2finish), next = BoxOf(page2next), back = BoxOf(page2back),
        cancel = BoxOf(page2cancel);
    EXPECT_EQ(finish.right(), rowBox.width - 10);
    EXPECT_EQ(next.right(), finish.x - 20);
    EXPECT_EQ(back.right(), next.x);
    EXPECT_EQ(cancel.right(), back.x - 20);
    EXPECT_EQ(finish.width, 75);
}

TEST(Window, FallbackResourcesShapeTheButtons) {
    StartWizard();
    const struct {
        Widget button;
        const char *label, *mnemonic;
        bool sensitive;
    } buttons[] = {
        {page1finish, "Finish", "F", false}, {page1accept, "Accept >", "A", true},
        {page1back, "< Back", "B", false},   {page1cancel, "Cancel", "C", true},
        {page2finish, "Finish", "F", true},  {page2next, "Next >", "N", false},
        {page2back, "< Back", "B", true},    {page2cancel, "Cancel", "C", true},
    };
    for (const auto &b : buttons) {
        SCOPED_TRACE(XtName(b.button));
        KeySym mnemonic = NoSymbol;
        Dimension width = 0, marginHeight = 0, shadow = 0;
        XtVaGetValues(b.button, XmNmnemonic, &mnemonic, XmNwidth, &width, XmNmarginHeight,
                      &marginHeight, XmNshadowThickness, &shadow, nullptr);
        EXPECT_EQ(LabelText(b.button), b.label);
        EXPECT_EQ(mnemonic, XStringToKeysym(b.mnemonic));
        EXPECT_EQ(XtIsSensitive(b.button), b.sensitive);
        EXPECT_EQ(width, 75);
        EXPECT_EQ(marginHeight, 3);
        EXPECT_EQ(shadow, 1);
    }
}

TEST(Window, FallbackResourcesSetColoursAndTheProgressBar) {
    StartWizard();
    Display *display = XtDisplay(pAppShell);
    Colormap colours = DefaultColormap(display, DefaultScreen(display));
    auto rgb = [&](Pixel pixel) {
        XColor colour;
        colour.pixel = pixel;
        XQueryColor(display, colours, &colour);
        return (colour.red >> 8) << 16 | (colour.green >> 8) << 8 | colour.blue >> 8;
    };
    Pixel bar = 0, field = 0, form = 0, text = 0, topShadow = 0;
    Dimension barHeight = 0;
    XtVaGetValues(page3progressbar, XmNforeground, &bar, XmNheight, &barHeight, nullptr);
    XtVaGetValues(DestinationField(), XmNbackground, &field, nullptr);
    XtVaGetValues(page1form, XmNbackground, &form, nullptr);
    XtVaGetValues(page1toplabel, XmNforeground, &text, nullptr);
    XtVaGetValues(page1accept, XmNtopShadowColor, &topShadow, nullptr);
    EXPECT_EQ(rgb(bar), 0x3131ceu);
    EXPECT_EQ(rgb(field), 0xffffffu);
    EXPECT_EQ(rgb(form), 0xd0d0d0u);
    EXPECT_EQ(rgb(text), 0x000000u);
    EXPECT_EQ(rgb(topShadow), 0xffffffu);
    EXPECT_EQ(barHeight, 30);
    EXPECT_EQ(LabelText(page3progresslabel), "Installing...");
}

TEST(Window, ResourceOptionOnTheCommandLineChangesALabel) {
    StartWizard({"-xrm", "ZorvaneInstaller*page1accept.labelString: I agree"});
    EXPECT_EQ(LabelText(page1accept), "I agree");
    EXPECT_EQ(LabelText(page1cancel), "Cancel");
}

TEST(Window, ApplicationDefaultsFileReplacesTheFallbacksAsAWhole) {
    std::string directory = TemporaryDirectory();
    WriteFile(directory + "/ZorvaneInstaller", "*page1cancel.labelString: Leave\n");
    setenv("XFILESEARCHPATH", (directory + "/%N").c_str(), 1);
    StartWizard();
    EXPECT_EQ(LabelText(page1cancel), "Leave");
    // without the fallbacks a button shows its widget name
    EXPECT_EQ(LabelText(page1accept), "page1accept");
}
