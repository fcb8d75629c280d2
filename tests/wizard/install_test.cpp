// A real windowed install in this process: the progress page while the
// payload unpacks, the window live meanwhile, keys ignored during the
// unpack, the preference file, and no player after a failed unpack.  The
// player of these payloads cannot start, so Install returns to the test.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <Xm/Xm.h>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "harness.h"
#include "installer.h"
#include "wizard.h"

// What the test saw from inside the unpack, through a timer that only the
// install's own event handling can run.
struct Observations {
    std::vector<float> percentages;
    std::vector<int> pages;
    int barColumnsFilled = -1;
    bool covered = false, repainted = false, keysSent = false;
    std::string labelPixels;
} seen;

static std::string PixelsOf(Widget w) {
    XImage *image = Snapshot(w);
    std::string pixels(image->data, image->bytes_per_line * image->height);
    XDestroyImage(image);
    return pixels;
}

// Hides the window under another one and takes that one away again.
static void CoverAndUncover() {
    Display *display = XtDisplay(pAppShell);
    XSetWindowAttributes attributes;
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    Window cover =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, 1280, 1024, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, cover);
    XSync(display, False);
    XDestroyWindow(display, cover);
    XSync(display, False);
}

// Counts the filled columns of the bar's top row.
static int FilledColumns() {
    Pixel foreground = 0;
    XtVaGetValues(page3progressbar, XmNforeground, &foreground, nullptr);
    XImage *image = Snapshot(page3progressbar);
    int filled = 0;
    while (filled < image->width && XGetPixel(image, filled, 0) == foreground)
        filled++;
    XDestroyImage(image);
    return filled;
}

static void Record();

// Runs between two chunks of the unpack, whenever the install handles events.
static void Observe(XtPointer, XtIntervalId *) {
    if (fPercentDone > 0 && fPercentDone < 100) // unpacking
        Record();
    XtAppAddTimeOut(pAppContext, 1, Observe, nullptr);
}

// Takes note of the unpack's state and tries the window and the keys.
static void Record() {
    seen.percentages.push_back(fPercentDone);
    seen.pages.push_back(PageInView());
    if (fPercentDone > 20 && !seen.covered) {
        seen.labelPixels = PixelsOf(page3progresslabel);
        CoverAndUncover();
        seen.covered = true;
    } else if (seen.covered && !seen.repainted) {
        seen.repainted = PixelsOf(page3progresslabel) == seen.labelPixels;
    }
    // the keys are handled here too: only after the repaint has been seen
    if (fPercentDone > 60 && !seen.keysSent) {
        seen.keysSent = true;
        seen.barColumnsFilled = FilledColumns();
        for (const char *key : {"a", "b", "Return", "f"})
            PressKey(key);
    }
}

// A product big enough to take many chunks: incompressible data.
static std::string BigProduct(const std::string &player, int mode) {
    std::string product = MakeProduct(player, mode);
    std::string command = "head -c 24000000 /dev/urandom > '" + product + "/share/media.bin'";
    EXPECT_EQ(system(command.c_str()), 0);
    return product;
}

TEST(WindowedInstall, UnpacksOnTheProgressPageWithTheWindowLive) {
    std::string home = TemporaryDirectory();
    setenv("HOME", home.c_str(), 1);
    WriteFile(home + "/.Telquist_AmbriumSDK_60", "Bandwidth=1\nOld=stuff\nMore=lines\n");
    std::string installer = TemporaryDirectory() + "/installer.bin";
    WriteInstallerFile(installer, PackDirectory(BigProduct("not a program\n", 0755)));
    UseInstallerFile(installer);
    StartWizard();
    std::string destination = TemporaryDirectory();
    XtAppAddTimeOut(pAppContext, 1, Observe, nullptr);
    InstallInto(destination);

    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    EXPECT_EQ(DialogText(), "Installation failed for unknown reason");
    EXPECT_EQ(PageInView(), 3);
    EXPECT_EQ(fPercentDone, 100.0f);
    ASSERT_GT(seen.percentages.size(), 10u) << "the window was not serviced while unpacking";
    for (size_t i = 1; i < seen.percentages.size(); i++)
        ASSERT_GE(seen.percentages[i], seen.percentages[i - 1]) << "a second install started";
    for (int page : seen.pages)
        ASSERT_EQ(page, 3) << "a key switched pages during the unpack";
    EXPECT_TRUE(seen.repainted) << "the label was not repainted during the unpack";
    EXPECT_GT(seen.barColumnsFilled, 0);
    EXPECT_EQ(ReadFile(destination + "/share/readme"), "Zorvane 8\n");
    EXPECT_EQ(ReadFile(home + "/.Telquist_AmbriumSDK_60"),
              "Bandwidth=10485800\nMaxBandwidth=10485800\n");
}

TEST(WindowedInstall, FailedUnpackShowsItsMessageAndStartsNoPlayer) {
    std::string home = TemporaryDirectory();
    setenv("HOME", home.c_str(), 1);
    std::string marker = home + "/player-started";
    std::string product = MakeProduct("#!/bin/sh\ntouch '" + marker + "'\n", 0755);
    std::string command = "head -c 3000000 /dev/urandom > '" + product + "/share/media.bin'";
    ASSERT_EQ(system(command.c_str()), 0);
    std::string payload = PackDirectory(product);
    payload.resize(payload.size() - 4096); // the end of the gzip stream is lost
    std::string installer = TemporaryDirectory() + "/installer.bin";
    WriteInstallerFile(installer, payload);
    UseInstallerFile(installer);
    StartWizard();
    std::string destination = TemporaryDirectory();
    InstallInto(destination);

    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    EXPECT_EQ(DialogText(), "The installer file " + installer +
                                " is damaged or incomplete (an interrupted download, perhaps); "
                                "it holds no product that can be installed.");
    EXPECT_EQ(PageInView(), 3);
    // Install has returned: a player it started would have replaced this process
    struct stat status;
    EXPECT_EQ(stat(marker.c_str(), &status), -1) << "the player was started";
    EXPECT_EQ(stat((home + "/.Telquist_AmbriumSDK_60").c_str(), &status), -1);
}

TEST(WindowedInstall, FOnTheLicensePageInstallsTheFirstCandidateAlone) {
    std::string home = TemporaryDirectory();
    setenv("HOME", home.c_str(), 1);
    ASSERT_TRUE(getuid() != 0 || BecomeNobody()); // keeps /usr/local out of reach
    UseInstallerFile(InstallerWhosePlayerCannotStart());
    StartWizard();
    ASSERT_EQ(DestinationText(), home + "/Zorvane8");
    PressKey("f");
    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    EXPECT_EQ(PageInView(), 3) << "the license page stayed beside the progress page";
    EXPECT_EQ(ReadFile(home + "/Zorvane8/share/readme"), "Zorvane 8\n");
}

TEST(WindowedInstall, WithoutHomeTheInstallSucceedsWithoutPreferenceFile) {
    unsetenv("HOME");
    UseInstallerFile(InstallerWhosePlayerCannotStart());
    StartWizard();
    std::string destination = TemporaryDirectory();
    InstallInto(destination);
    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    EXPECT_EQ(DialogText(), "Installation failed for unknown reason") << "the unpack failed";
    EXPECT_EQ(ReadFile(destination + "/share/readme"), "Zorvane 8\n");
}

// Closes the window as a window manager does.
static void CloseWindow() {
    Display *display = XtDisplay(pAppShell);
    XEvent close = {};
    close.xclient.type = ClientMessage;
    close.xclient.window = XtWindow(pAppShell);
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, XtWindow(pAppShell), False, NoEventMask, &close);
}

static void PressCancelKey() {
    PressKey("c");
}

// How the test cancels, and the timer that does it while the payload unpacks.
static void (*cancelUnpack)();
static void CancelDuringUnpack(XtPointer, XtIntervalId *) {
    if (fPercentDone > 10)
        cancelUnpack();
    XtAppAddTimeOut(pAppContext, 1, CancelDuringUnpack, nullptr);
}

TEST(WindowedInstallDeathTest,
     CancelKeyOrClosingTheWindowEndsTheUnpackAndRemovesTheNewDestination) {
    // forked, not run again: the destination is the same in both processes,
    // and the child's end removes the test's temporary directories
    GTEST_FLAG_SET(death_test_style, "fast");
    for (void (*cancel)() : {PressCancelKey, CloseWindow}) {
        std::string installer = TemporaryDirectory() + "/installer.bin";
        WriteInstallerFile(installer, PackDirectory(BigProduct("not a program\n", 0755)));
        char pattern[] = "/tmp/wizard-cancelled.XXXXXX"; // outlives the installer's clean-up
        std::string parent = mkdtemp(pattern);
        std::string destination = parent + "/Zorvane8";
        cancelUnpack = cancel;
        EXPECT_EXIT(
            {
                UseInstallerFile(installer);
                StartWizard();
                XtAppAddTimeOut(pAppContext, 1, CancelDuringUnpack, nullptr);
                InstallInto(destination);
                exit(fPercentDone < 100 ? 2 : 1);
            },
            testing::ExitedWithCode(0), "");
        struct stat status;
        EXPECT_NE(stat(destination.c_str(), &status), 0) << "the new destination stayed";
        EXPECT_EQ(system(("rm -rf '" + parent + "'").c_str()), 0);
    }
}
