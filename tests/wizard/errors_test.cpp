// Every failing check of a windowed install reaches the error dialog with
// its exact text; the dialog is titled "Error" and offers only OK.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <Xm/MessageB.h>
#include <Xm/Xm.h>
#include <sys/stat.h>
#include <unistd.h>

#include "harness.h"
#include "wizard.h"

// Waits for the dialog and checks its text, title, buttons and modality.
static void ExpectDialog(const std::string &text) {
    ASSERT_TRUE(WaitFor(DialogShown))
        << "no error dialog in time for: " << text << "; " << WizardState();
    EXPECT_EQ(DialogText(), text);
    char *title = nullptr;
    ASSERT_TRUE(XFetchName(XtDisplay(ErrorDialog), XtWindow(XtParent(ErrorDialog)), &title));
    EXPECT_STREQ(title, "Error");
    XFree(title);
    EXPECT_TRUE(XtIsManaged(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_OK_BUTTON)));
    EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_CANCEL_BUTTON)));
    EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_HELP_BUTTON)));
    unsigned char style = 0;
    Boolean fixedSize = False;
    XtVaGetValues(ErrorDialog, XmNdialogStyle, &style, XmNnoResize, &fixedSize, nullptr);
    EXPECT_EQ(style, XmDIALOG_FULL_APPLICATION_MODAL);
    EXPECT_TRUE(fixedSize);
}

TEST(Errors, EmptyDestination) {
    UseInstallerFile(InstallerWhosePlayerCannotStart());
    StartWizard();
    InstallInto("");
    ExpectDialog("You must specify a destination directory.");
    EXPECT_EQ(PageInView(), 2);
    Click(page2back);
    EXPECT_EQ(PageInView(), 2) << "the wizard took input while the dialog was up";
}

TEST(Errors, OwnFileNotFound) {
    UseInstallerFile("zorvane-gone");
    StartWizard();
    InstallInto(TemporaryDirectory());
    ExpectDialog("unable to find location of executable zorvane-gone to self-extract.  Please "
                 "run \nzorvane-gone with an absolute path (e.g. ./zorvane-gone)\n");
}

TEST(Errors, OwnFileUnreadable) {
    std::string installer = InstallerWhosePlayerCannotStart();
    chmod(installer.c_str(), 0);
    ASSERT_TRUE(getuid() != 0 || BecomeNobody());
    UseInstallerFile(installer);
    StartWizard();
    InstallInto(TemporaryDirectory());
    ExpectDialog("unable to read " + installer + ".  Please do chmod 0500 " + installer +
                 " and try again\n");
}

TEST(Errors, DestinationCannotBeMade) {
    UseInstallerFile(InstallerWhosePlayerCannotStart());
    StartWizard();
    std::string destination = TemporaryDirectory() + "/missing/Zorvane8";
    InstallInto(destination);
    ExpectDialog("Can not make directory " + destination);
}

TEST(Errors, NewDestinationRefusesTheProbeAndStays) {
    std::string installer = InstallerWhosePlayerCannotStart();
    std::string parent = TemporaryDirectory();
    ASSERT_TRUE(getuid() != 0 || BecomeNobody());
    umask(0222);
    UseInstallerFile(installer);
    StartWizard();
    std::string destination = parent + "/Zorvane8";
    InstallInto(destination);
    ExpectDialog("Can not write to directory " + destination);
    struct stat status;
    EXPECT_EQ(stat(destination.c_str(), &status), 0) << "the new directory was removed";
}

TEST(Errors, DestinationNotWritable) {
    std::string installer = InstallerWhosePlayerCannotStart();
    std::string destination = TemporaryDirectory() + "/locked";
    mkdir(destination.c_str(), 0555);
    ASSERT_TRUE(getuid() != 0 || BecomeNobody());
    UseInstallerFile(installer);
    StartWizard();
    InstallInto(destination);
    ExpectDialog("You do not have write permission for the destination directory.");
    EXPECT_EQ(PageInView(), 2);
}

TEST(Errors, DamagedInstallerFileOnTheProgressPage) {
    std::string installer = TemporaryDirectory() + "/damaged.bin";
    WriteFile(installer, std::string(20000, 'x'), 0755);
    UseInstallerFile(installer);
    StartWizard();
    InstallInto(TemporaryDirectory());
    ExpectDialog("The installer file " + installer +
                 " is damaged or incomplete (an interrupted download, perhaps); it holds no "
                 "product that can be installed.");
    EXPECT_EQ(PageInView(), 3);
}

TEST(Errors, PlayerThatCannotStartLeavesTheProgressPageWithTheDialog) {
    UseInstallerFile(InstallerWhosePlayerCannotStart());
    StartWizard();
    InstallInto(TemporaryDirectory());
    ExpectDialog("Installation failed for unknown reason");
    EXPECT_EQ(PageInView(), 3);
}

TEST(Errors, OkTakesTheDialogDownAndTheDestinationCanBeCorrected) {
    UseInstallerFile(InstallerWhosePlayerCannotStart());
    StartWizard();
    InstallInto("");
    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    Click(XmMessageBoxGetChild(ErrorDialog, XmDIALOG_OK_BUTTON));
    ASSERT_TRUE(WaitFor([] { return !DialogShown(); }))
        << "OK did not take the dialog down in time; " << WizardState();
    std::string destination = TemporaryDirectory();
    InstallInto(destination);
    ExpectDialog("Installation failed for unknown reason");
    EXPECT_EQ(ReadFile(destination + "/share/readme"), "Zorvane 8\n");
}
