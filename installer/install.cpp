// The install action and the exit callback.
#include <Xm/Xm.h>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "environment.h"
#include "installer.h"
#include "messages.h"
#include "ownership.h"
#include "rollback.h"
#include "unpack.h"
#include "wizard.h"

// Whether the installer's own file can be found and read, for Extract to reopen it.
bool OwnFileReadable(void) {
    const char *self = ppArgv[0];
    struct stat status;
    if (stat(OwnFilePath(), &status) != 0) {
        ReportFormatted(MSG_EXECUTABLE_NOT_FOUND, self, self, self);
        return false;
    }
    int fd = open(OwnFilePath(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ReportFormatted(MSG_EXECUTABLE_UNREADABLE, self, self);
        return false;
    }
    close(fd);
    return true;
}

// Makes a destination that does not exist yet and proves it writable with a probe file.
static bool DestinationMade(const char *destination) {
    struct stat status;
    if (stat(destination, &status) == 0)
        return true;
    if (mkdir(destination, 0755) != 0) { // never open to others, whatever the umask
        ReportFormatted(MSG_CANNOT_MAKE_DIRECTORY, destination);
        return false;
    }
    RememberMadeDestination(destination);
    std::string probe = std::string(destination) + "/test";
    int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        ReportFormatted(MSG_CANNOT_WRITE_DIRECTORY, destination);
        return false;
    }
    close(fd);
    remove(probe.c_str());
    return true;
}

// Runs the checks in their fixed order and reports the first that fails.
static bool ReadyToInstall(const char *destination) {
    if (destination[0] == '\0') {
        ReportError(MSG_NO_DESTINATION);
        return false;
    }
    if (!OwnFileReadable() || !DestinationSafeForRoot(destination) || !DestinationMade(destination))
        return false;
    if (access(destination, W_OK) != 0) {
        ReportError(MSG_NO_WRITE_PERMISSION);
        return false;
    }
    return true;
}

// The destination as the user gave it: the command line's in a silent
// install, else the text in the destination page's combo box.
static std::string Destination(void) {
    if (bIsSilent)
        return pLocation;
    Widget textField = nullptr;
    XtVaGetValues(page2dircombobox, "textField", &textField, nullptr);
    char *value = nullptr;
    if (textField)
        XtVaGetValues(textField, XmNvalue, &value, nullptr);
    std::string destination = DestinationPath(value ? value : "");
    XtFree(value);
    return destination;
}

// Puts the progress page in place of whichever page started the install.
static void ShowProgressPage(void) {
    XtUnmanageChild(page1form);
    XtUnmanageChild(page2form);
    XtManageChild(page3form);
}

// Replaces the installer with the player just installed, started with "inst".
static void Launch(const std::string &destination) {
    std::string player = destination + "/zorvane";
    // Extract has entered the destination: a relative one is found from there.
    const char *file = destination[0] == '/' ? player.c_str() : "./zorvane";
    execl(file, player.c_str(), "inst", static_cast<char *>(nullptr));
    ReportError(MSG_LAUNCH_FAILED);
}

// Installs the product into the destination the user chose and, with the
// wizard, starts it; a second start while one runs is ignored.
void Install(Widget, XtPointer, XtPointer) {
    if (!bIsSilent && InstallUnderWay())
        return;
    std::string destination = Destination();
    if (!ReadyToInstall(destination.c_str())) {
        ForgetMadeDestination(); // a directory that the checks made stays, as it always has
        return;
    }
    if (!RoomForProduct(destination.c_str()))
        return;
    if (!bIsSilent)
        ShowProgressPage();
    bool unpacked = Extract(&destination[0]);
    if (!bIsSilent && unpacked)
        Launch(destination);
}

// Ends the program; an unpack under way stops first, and a destination that
// this run made for it goes.
void Quit(Widget, XtPointer, XtPointer) {
    StopUnpack();
    RemoveMadeDestination();
    exit(0);
}
