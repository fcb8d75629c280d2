// Where the window and the error dialog appear, and the hints that keep the
// window at its size: what mwm learns from the decoration hint alone, every
// other window manager learns from the size and function hints.
#include <X11/Shell.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <Xm/Xm.h>
#include <chrono>
#include <climits>
#include <poll.h>

#include "build.h"
#include "wizard.h"

// The thickness of the decorations that a window manager draws around a window.
struct Frame {
    long left = 0, right = 0, top = 0, bottom = 0;
};

// How long the window manager may take to tell the frame it will draw.
static const int FRAME_ANSWER_MILLISECONDS = 2000;

// Tells every window manager that the window keeps the size it was given.
void FixWindowSize() {
    Dimension width = 0, height = 0;
    XtVaGetValues(pAppShell, XtNwidth, &width, XtNheight, &height, nullptr);
    XtVaSetValues(pAppShell, XtNminWidth, width, XtNmaxWidth, width, XtNminHeight, height,
                  XtNmaxHeight, height, nullptr);
}

// Whether the user placed the window: -geometry with an offset, or the
// shell's x or y resource.
static bool PositionRequested() {
    String geometry = nullptr;
    XtVaGetValues(pAppShell, XtNgeometry, &geometry, nullptr);
    int x, y;
    unsigned int width, height;
    if (geometry != nullptr &&
        (XParseGeometry(geometry, &x, &y, &width, &height) & (XValue | YValue)) != 0)
        return true;
    struct {
        int x, y;
    } position;
    XtResource resources[] = {
        {const_cast<String>(XtNx), const_cast<String>(XtCPosition), const_cast<String>(XtRInt),
         sizeof(int), XtOffsetOf(decltype(position), x), const_cast<String>(XtRImmediate),
         reinterpret_cast<XtPointer>(INT_MIN)},
        {const_cast<String>(XtNy), const_cast<String>(XtCPosition), const_cast<String>(XtRInt),
         sizeof(int), XtOffsetOf(decltype(position), y), const_cast<String>(XtRImmediate),
         reinterpret_cast<XtPointer>(INT_MIN)},
    };
    XtGetApplicationResources(pAppShell, &position, resources, XtNumber(resources), nullptr, 0);
    return position.x != INT_MIN || position.y != INT_MIN;
}

// Whether the window manager names this hint among those it supports.
static bool WindowManagerSupports(Display *display, Atom hint) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display),
                       XInternAtom(display, "_NET_SUPPORTED", False), 0, LONG_MAX, False, XA_ATOM,
                       &type, &format, &count, &after, &data);
    bool supported = false;
    for (unsigned long i = 0; data != nullptr && format == 32 && i < count; i++)
        supported = supported || reinterpret_cast<Atom *>(data)[i] == hint;
    XFree(data);
    return supported;
}

// The frame that the window manager has announced on a window; none when
// it has announced nothing readable.
static Frame AnnouncedOn(Display *display, Window window, Atom extents) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    XGetWindowProperty(display, window, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                       &after, &data);
    Frame frame;
    if (data != nullptr && format == 32 && count == 4) {
        long *values = reinterpret_cast<long *>(data);
        frame = {values[0], values[1], values[2], values[3]};
    }
    XFree(data);
    return frame;
}

// Whether an event says that the window manager has announced a window's frame.
static Bool IsFrameAnnouncement(Display *, XEvent *event, XPointer extents) {
    return event->type == PropertyNotify &&
           event->xproperty.atom == *reinterpret_cast<Atom *>(extents);
}

// Asks the window manager to announce the frame that it will draw around
// the window, before the window is shown.
static void AskForFrame(Display *display, Window window, Atom request) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XSelectInput(display, window, attributes.your_event_mask | PropertyChangeMask);
    XEvent ask = {};
    ask.xclient.type = ClientMessage;
    ask.xclient.window = window;
    ask.xclient.message_type = request;
    ask.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ask);
    XFlush(display);
}

// Waits a while for the window manager's announcement; false when none came.
static bool FrameAnnounced(Display *display, Atom extents) {
    auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(FRAME_ANSWER_MILLISECONDS);
    XEvent answer;
    while (!XCheckIfEvent(display, &answer, IsFrameAnnouncement,
                          reinterpret_cast<XPointer>(&extents))) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
    return true;
}

// The frame that a window manager of today's desktops will draw around the
// window; none from the others, which do not tell.
static Frame AnnouncedFrame() {
    Display *display = XtDisplay(pAppShell);
    Window window = XtWindow(pAppShell);
    Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    if (!WindowManagerSupports(display, request))
        return Frame();
    AskForFrame(display, window, request);
    return FrameAnnounced(display, extents) ? AnnouncedOn(display, window, extents) : Frame();
}

// Shows the window centred on its screen, frame included, unless the user placed it.
void PlaceWindow() {
    if (PositionRequested())
        return;
    Frame frame = AnnouncedFrame();
    Dimension width = 0, height = 0, border = 0;
    XtVaGetValues(pAppShell, XtNwidth, &width, XtNheight, &height, XtNborderWidth, &border,
                  nullptr);
    Screen *screen = XtScreen(pAppShell);
    long outerWidth = width + 2 * border + frame.left + frame.right;
    long outerHeight = height + 2 * border + frame.top + frame.bottom;
    XtVaSetValues(pAppShell, XtNx, static_cast<Position>((WidthOfScreen(screen) - outerWidth) / 2),
                  XtNy, static_cast<Position>((HeightOfScreen(screen) - outerHeight) / 2), nullptr);
}

// The window manager's frame around a shown window (or the window itself
// where no window manager frames it), on the screen.
static XRectangle OuterBox(Display *display, Window window) {
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned int count;
        bool known = XQueryTree(display, window, &root, &parent, &children, &count);
        XFree(children);
        if (!known || parent == root)
            break;
        window = parent;
    }
    XWindowAttributes outer;
    XGetWindowAttributes(display, window, &outer);
    return {static_cast<short>(outer.x), static_cast<short>(outer.y),
            static_cast<unsigned short>(outer.width + 2 * outer.border_width),
            static_cast<unsigned short>(outer.height + 2 * outer.border_width)};
}

// Puts the error dialog in the middle of the window as it pops up, its
// frame reckoned as thick as the window's.
void CentreOverWindow(Widget dialog, XtPointer, XtPointer) {
    XRectangle outer = OuterBox(XtDisplay(pAppShell), XtWindow(pAppShell));
    Dimension width = 0, height = 0, dialogWidth = 0, dialogHeight = 0;
    XtVaGetValues(pAppShell, XtNwidth, &width, XtNheight, &height, nullptr);
    Widget shell = XtParent(dialog);
    XtVaGetValues(shell, XtNwidth, &dialogWidth, XtNheight, &dialogHeight, nullptr);
    int frameWidth = outer.width - width, frameHeight = outer.height - height;
    XtVaSetValues(
        shell, XtNx, static_cast<Position>(outer.x + (outer.width - dialogWidth - frameWidth) / 2),
        XtNy, static_cast<Position>(outer.y + (outer.height - dialogHeight - frameHeight) / 2),
        nullptr);
}
