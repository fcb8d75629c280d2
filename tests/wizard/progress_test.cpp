// The progress bar as it appears on screen, read back pixel by pixel.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <Xm/Xm.h>
#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

#include "harness.h"
#include "installer.h"
#include "wizard.h"

using Pixels = std::set<std::pair<int, int>>;

// The bar's size and colours.
struct Bar {
    int width, height;
    Pixel foreground, background, white;
};

// Shows the progress page and returns the bar's size and colours.
static Bar ShowBar() {
    StartWizard();
    XtUnmanageChild(page1form);
    XtManageChild(page3form);
    EXPECT_TRUE(WaitFor([] { return XtIsRealized(page3progressbar); }))
        << "the progress bar was not realized in time; " << WizardState();
    Drain();
    Dimension width = 0, height = 0;
    Bar bar{};
    XtVaGetValues(page3progressbar, XmNwidth, &width, XmNheight, &height, XmNforeground,
                  &bar.foreground, XmNbackground, &bar.background, nullptr);
    bar.width = width;
    bar.height = height;
    bar.white = WhitePixelOfScreen(XtScreen(page3progressbar));
    return bar;
}

// Sets the percentage and redraws as Extract does after a chunk.
static void Draw(float percent) {
    fPercentDone = percent;
    DrawProgress(page3progressbar, nullptr, nullptr);
    XSync(XtDisplay(page3progressbar), False);
}

// The positions of the pixels of one colour.
static Pixels PixelsOf(XImage *image, Pixel colour) {
    Pixels found;
    for (int y = 0; y < image->height; y++)
        for (int x = 0; x < image->width; x++)
            if (XGetPixel(image, x, y) == colour)
                found.insert({x, y});
    return found;
}

// The pixels that text drawn at (x, y) in the bar's font would set.
static Pixels TextPixels(const Bar &bar, const char *text, int x, int y) {
    Display *display = XtDisplay(page3progressbar);
    Pixmap canvas = XCreatePixmap(display, XtWindow(page3progressbar), bar.width, bar.height,
                                  DefaultDepthOfScreen(XtScreen(page3progressbar)));
    GC gc = XCreateGC(display, canvas, 0, nullptr);
    XSetForeground(display, gc, bar.background);
    XFillRectangle(display, canvas, gc, 0, 0, bar.width, bar.height);
    XSetForeground(display, gc, bar.white);
    if (pFont)
        XSetFont(display, gc, pFont->fid);
    XDrawString(display, canvas, gc, x, y, text, strlen(text));
    XImage *image = XGetImage(display, canvas, 0, 0, bar.width, bar.height, AllPlanes, ZPixmap);
    Pixels pixels = PixelsOf(image, bar.white);
    XDestroyImage(image);
    XFreeGC(display, gc);
    XFreePixmap(display, canvas);
    return pixels;
}

// The text's place when the bar's 14-pixel font is loaded: centred.
static Pixels CentredText(const Bar &bar, const char *text) {
    int x = (bar.width - XTextWidth(pFont, text, strlen(text))) / 2;
    int y = pFont->ascent + (bar.height - pFont->ascent - pFont->descent) / 2;
    return TextPixels(bar, text, x, y);
}

TEST(ProgressBar, AtZeroPercentNothingIsDrawnNotEvenTheText) {
    Bar bar = ShowBar();
    Draw(0);
    XImage *image = Snapshot(page3progressbar);
    EXPECT_EQ(PixelsOf(image, bar.background).size(), size_t(bar.width * bar.height));
    XDestroyImage(image);
}

TEST(ProgressBar, TruncatesTheFilledWidthAndThePercentage) {
    Bar bar = ShowBar();
    ASSERT_NE(pFont, nullptr) << "the 14-pixel Helvetica font is missing";
    Draw(49.99f);
    int filled = static_cast<int>(bar.width * 0.4999);
    XImage *image = Snapshot(page3progressbar);
    for (int x = 0; x < filled; x++)
        ASSERT_EQ(XGetPixel(image, x, 0), bar.foreground) << "column " << x;
    for (int x = filled + 1; x < bar.width; x++)
        ASSERT_EQ(XGetPixel(image, x, 0), bar.background) << "column " << x;
    Pixels text = PixelsOf(image, bar.white);
    EXPECT_EQ(text, CentredText(bar, "49%"));
    EXPECT_NE(text, CentredText(bar, "50%"));
    XDestroyImage(image);
}

TEST(ProgressBar, AtOneHundredPercentTheWholeWidthIsFilled) {
    Bar bar = ShowBar();
    ASSERT_NE(pFont, nullptr);
    Draw(100);
    XImage *image = Snapshot(page3progressbar);
    for (int y = 0; y < bar.height; y++)
        for (int x = 0; x < bar.width; x++) {
            if (XGetPixel(image, x, y) != bar.white) {
                ASSERT_EQ(XGetPixel(image, x, y), bar.foreground) << x << "," << y;
            }
        }
    EXPECT_EQ(PixelsOf(image, bar.white), CentredText(bar, "100%"));
    XDestroyImage(image);
}

TEST(ProgressBar, ExposeWithAnUnchangedWidthDrawsNothing) {
    Bar bar = ShowBar();
    Draw(50);
    Display *display = XtDisplay(page3progressbar);
    XClearArea(display, XtWindow(page3progressbar), 0, 0, 0, 0, True);
    Drain();
    XImage *image = Snapshot(page3progressbar);
    EXPECT_EQ(PixelsOf(image, bar.background).size(), size_t(bar.width * bar.height));
    XDestroyImage(image);

    Draw(75);
    image = Snapshot(page3progressbar);
    EXPECT_EQ(XGetPixel(image, 0, 0), bar.foreground) << "a changed width draws again";
    XDestroyImage(image);
}

TEST(ProgressBar, WithoutTheFontTheTextStartsAtTheMiddle) {
    Bar bar = ShowBar();
    // as built on a server without the font: a GC with the default font
    pFont = nullptr;
    gcDraw = XCreateGC(XtDisplay(pAppShell), XtWindow(pAppShell), 0, nullptr);
    Draw(42);
    XImage *image = Snapshot(page3progressbar);
    Pixels text = PixelsOf(image, bar.white);
    EXPECT_EQ(text, TextPixels(bar, "42%", bar.width / 2, bar.height / 2));
    ASSERT_FALSE(text.empty());
    int leftmost = bar.width;
    for (const auto &pixel : text)
        leftmost = std::min(leftmost, pixel.first);
    EXPECT_GE(leftmost, bar.width / 2);
    XDestroyImage(image);
}
