// Unpacking the payload that follows the installer's executable image.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "installer.h"
#include "messages.h"
#include "payload.h"
#include "unpack.h"

static const char PREFERENCES_FILE[] = ".Telquist_AmbriumSDK_60";
static const char PREFERENCES[] = "Bandwidth=10485800\nMaxBandwidth=10485800\n";

// Feeds the payload through "gunzip | tar" into the working directory; true
// when every byte went in and both programs succeeded.
static bool Unpack(FILE *self, long long length) {
    pid_t gunzip, tar;
    int input = StartUnpack(&gunzip, &tar);
    if (input < 0)
        return false;
    bool fed = FeedPayload(self, length, input);
    bool finished = FinishUnpack(input, gunzip, tar);
    return fed && finished;
}

// Finds the payload, enters the destination and unpacks there; false, with
// the failure reported, when any of it fails.
static bool UnpackInto(FILE *self, char *destination) {
    long long length;
    if (!FindPayload(self, &length)) {
        ReportFormatted(MSG_DAMAGED_INSTALLER, ppArgv[0]);
        return false;
    }
    mkdir(destination, 0700);
    if (chdir(destination) != 0) {
        ReportFormatted(MSG_DESTINATION_NOT_DIRECTORY, destination);
        return false;
    }
    if (!Unpack(self, length)) {
        ReportError(MSG_UNPACK_FAILED);
        return false;
    }
    return true;
}

// Leaves the player's streaming settings in the user's home directory; a
// home that is unknown or refuses the file leaves the player its defaults.
static void WritePreferences(void) {
    const char *home = getenv("HOME");
    if (!home)
        return;
    std::string path = std::string(home) + "/" + PREFERENCES_FILE;
    FILE *preferences = fopen(path.c_str(), "we");
    if (!preferences)
        return;
    fprintf(preferences, "%s", PREFERENCES);
    fclose(preferences);
}

// Unpacks the payload of the installer's own file into destination.
bool Extract(char *destination) {
    FILE *self = fopen(ppArgv[0], "rbe");
    if (!self) {
        ReportFormatted(MSG_EXECUTABLE_UNREADABLE, ppArgv[0], ppArgv[0]);
        return false;
    }
    bool unpacked = UnpackInto(self, destination);
    fclose(self);
    if (unpacked && !bIsSilent)
        WritePreferences();
    return unpacked;
}
