// The progress bar of page 3: a bar filled from the left in the drawing
// area's foreground colour, with the percentage written over it in white.
#include <X11/Xlib.h>
#include <Xm/Xm.h>
#include <cstdio>

#include "installer.h"
#include "wizard.h"

int nLastWidth = 0;

// Width in pixels of the filled part of a bar `width` pixels wide.
static int FilledWidth(Dimension width) {
    // Exact in extended precision: one rounding, then truncation.
    return static_cast<int>(static_cast<long double>(width) * fPercentDone / 100.0);
}

// Writes the percentage over the bar, centred when the bar's font is loaded.
static void DrawPercentage(Widget w, Dimension width, Dimension height) {
    char text[16];
    int length = snprintf(text, sizeof text, "%d%%", static_cast<int>(fPercentDone));
    int x = width / 2;
    int y = height / 2;
    if (pFont != nullptr) {
        y = pFont->ascent + (static_cast<int>(height) - pFont->ascent - pFont->descent) / 2;
        x = (static_cast<int>(width) - XTextWidth(pFont, text, length)) / 2;
    }
    XSetForeground(XtDisplay(w), gcDraw, WhitePixelOfScreen(XtScreen(w)));
    XDrawString(XtDisplay(w), XtWindow(w), gcDraw, x, y, text, length);
}

// Redraws the bar from fPercentDone, but only when its filled width changed.
void DrawProgress(Widget w, XtPointer, XtPointer) {
    if (!XtIsRealized(w))
        return;
    Dimension width = 0, height = 0;
    Pixel foreground = 0, background = 0;
    XtVaGetValues(w, XtNwidth, &width, XtNheight, &height, XtNforeground, &foreground,
                  XtNbackground, &background, nullptr);
    int filled = FilledWidth(width);
    if (filled == nLastWidth)
        return;
    nLastWidth = filled;

    Display *display = XtDisplay(w);
    Window window = XtWindow(w);
    XSetForeground(display, gcDraw, background);
    XFillRectangle(display, window, gcDraw, filled + 1, 0, width, height);
    XSetForeground(display, gcDraw, foreground);
    XFillRectangle(display, window, gcDraw, 0, 0, filled, height);
    DrawPercentage(w, width, height);
}

// Redraws the bar and handles every pending event, timers included, so that
// the window stays live while the payload unpacks.  Nothing waits here for
// an event that has not come yet.
void ShowProgress() {
    if (pAppContext == nullptr) // no window has been built
        return;
    DrawProgress(page3progressbar, nullptr, nullptr);
    XtInputMask pending;
    while ((pending = XtAppPending(pAppContext)) != 0)
        XtAppProcessEvent(pAppContext, pending);
}
