// Unpacking the payload that follows the installer's executable image.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "installer.h"
#include "messages.h"
#include "ownership.h"
#include "payload.h"
#include "rollback.h"
#include "unpack.h"

static const char PREFERENCES_FILE[] = ".Telquist_AmbriumSDK_60";
static const char PREFERENCES[] = "Bandwidth=10485800\nMaxBandwidth=10485800\n";

// Takes away the destination if this run made it, then reports the failure.
static bool Fail(const std::string &message) {
    RemoveMadeDestination();
    ReportError(message.c_str());
    return false;
}

// The message for an unpack that failed: a damaged installer when the
// payload at offset is, else the destination or the disk is to blame.
static std::string UnpackFailure(FILE *self, off_t payload, long long length) {
    if (fseeko(self, payload, SEEK_SET) == 0 && PayloadFault(self, length) != nullptr)
        return Formatted(MSG_DAMAGED_INSTALLER, ppArgv[0]);
    return MSG_UNPACK_FAILED;
}

// Whether the unpack left the player, an executable regular ./zorvane, in
// the working directory.
static bool PlayerUnpacked(void) {
    struct stat status;
    return lstat("zorvane", &status) == 0 && S_ISREG(status.st_mode) &&
           access("zorvane", X_OK) == 0;
}

// Enters the destination and unpacks the payload there; false, with the
// failure reported, when either fails.
static bool UnpackInto(FILE *self, long long length, char *destination) {
    if (const char *missing = MissingUnpacker()) // found before the destination is entered
        return Fail(Formatted(MSG_PROGRAM_MISSING, missing));
    mkdir(destination, 0700);
    if (chdir(destination) != 0)
        return Fail(Formatted(MSG_DESTINATION_NOT_DIRECTORY, destination));
    off_t payload = ftello(self);
    if (!UnpackPayload(self, length))
        return Fail(UnpackFailure(self, payload, length));
    if (!PlayerUnpacked())
        return Fail(Formatted(MSG_NO_PLAYER, ppArgv[0]));
    return true;
}

// Opens the preference file for writing, emptied, if its name is free or
// holds a regular file of its own; a link, a FIFO, a device or a file with
// other names as well is left alone, so the file cannot lead elsewhere.
static FILE *OpenPreferences(const std::string &path) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return nullptr;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    FILE *file = nullptr;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1 &&
        ftruncate(fd, 0) == 0)
        file = fdopen(fd, "w");
    if (file == nullptr)
        close(fd);
    return file;
}

// Leaves the player's streaming settings in the user's home directory; a
// home that is unknown or refuses the file leaves the player its defaults.
static void WritePreferences(void) {
    const char *home = getenv("HOME");
    std::string component;
    const char *reason;
    if (!home || (geteuid() == 0 && !OnlyRootControls(home, &component, &reason)))
        return; // as root, not into a home that another user could redirect
    FILE *preferences = OpenPreferences(std::string(home) + "/" + PREFERENCES_FILE);
    if (!preferences)
        return;
    fprintf(preferences, "%s", PREFERENCES);
    fclose(preferences);
}

// Unpacks the payload of the installer's own file into destination; a
// destination that this run made goes again when the unpack fails.
bool Extract(char *destination) {
    long long length;
    std::string failure;
    FILE *self = OpenPayload(&length, &failure);
    if (!self)
        return Fail(failure);
    bool unpacked = UnpackInto(self, length, destination);
    fclose(self);
    if (!unpacked)
        return false;
    ForgetMadeDestination();
    if (!bIsSilent)
        WritePreferences();
    return true;
}
