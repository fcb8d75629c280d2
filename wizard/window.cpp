// The installer's window, built whole before it is shown: the toolkit with
// the fallback resources, the logo, the three pages, the error dialog, the
// callbacks and the progress bar's drawing state.  Start reading at
// BuildWindow, which follows the build sequence step by step.
#include <X11/Shell.h>
#include <X11/xpm.h>
#include <Xm/Form.h>
#include <Xm/MwmUtil.h>
#include <Xm/Xm.h>

#include "build.h"
#include "wizard.h"

XtAppContext pAppContext;
Widget pAppShell;
Widget placeholder;
GC gcDraw;
XFontStruct *pFont;

static const char APPLICATION_CLASS[] = "ZorvaneInstaller";
static const char PROGRESS_FONT[] = "-adobe-helvetica-medium-r-*-*-14-*-*-*-*-*-*-*";
// Border, title bar, window menu and minimise button; no resize, no maximise.
static const int DECORATIONS =
    MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU | MWM_DECOR_MINIMIZE;
// What the window manager may do to the window: move, minimise and close
// it; neither resize nor maximise it.
static const int FUNCTIONS = MWM_FUNC_MOVE | MWM_FUNC_MINIMIZE | MWM_FUNC_CLOSE;

// Turns the compiled-in logo into a pixmap, taking the closest colours
// where exact ones cannot be had.
static Pixmap CreateLogoPixmap() {
    XpmAttributes attributes = {};
    attributes.valuemask = XpmCloseness;
    attributes.closeness = 65536;
    Pixmap logo = None, mask = None;
    XpmCreatePixmapFromData(XtDisplay(pAppShell), XtWindow(pAppShell),
                            const_cast<char **>(logo_xpm), &logo, &mask, &attributes);
    return logo;
}

// Makes the graphics context and the font with which the progress bar draws.
static void CreateProgressDrawing() {
    Display *display = XtDisplay(pAppShell);
    gcDraw = XCreateGC(display, XtWindow(pAppShell), 0, nullptr);
    pFont = XLoadQueryFont(display, PROGRESS_FONT);
    if (pFont != nullptr)
        XSetFont(display, gcDraw, pFont->fid);
}

// Builds the window in the order that keeps it hidden until it is whole,
// then maps it with page 1 in view.
void BuildWindow(int *argc, char **argv) {
    UseEnvironmentLocale();
    pAppShell =
        XtVaAppInitialize(&pAppContext, APPLICATION_CLASS, nullptr, 0, argc, argv,
                          const_cast<String *>(resources), XtNmappedWhenManaged, False,
                          XmNmwmDecorations, DECORATIONS, XmNmwmFunctions, FUNCTIONS, nullptr);
    FontListsAsFontSets(XtDisplay(pAppShell));
    XtRealizeWidget(pAppShell);
    FixWindowSize();
    PlaceWindow();
    Pixmap logo = CreateLogoPixmap();
    placeholder = XtVaCreateManagedWidget("placeholder", xmFormWidgetClass, pAppShell, nullptr);
    CreateAcceleratorMenu();
    BuildLicensePage(logo);
    BuildDestinationPage(logo);
    BuildProgressPage(logo);
    CreateErrorDialog();
    RegisterCallbacks();
    CreateProgressDrawing();
    XMapWindow(XtDisplay(pAppShell), XtWindow(pAppShell));
}

// The windowed start: the whole window, then the toolkit's main loop.
void BuildWizard(int *argc, char **argv) {
    BuildWindow(argc, argv);
    XtAppMainLoop(pAppContext);
}
