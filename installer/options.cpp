// The installer's own options, which need no display.  One table holds
// them all and also yields the usage text; an option is taken only when it
// is the whole command line with its argument, so that everything else
// (toolkit options included) reaches the wizard.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "installer.h"
#include "messages.h"
#include "payload.h"
#include "unpack.h"

// One option: its name, the word after it (or null), what it does, and the
// procedure that does it and returns the exit status.
struct InstallerOption {
    const char *name;
    const char *argument;
    const char *description;
    int (*run)(char *argument);
};

static int SilentInstall(char *directory);
static int Check(char *);
static int List(char *);
static int Help(char *);
static int Version(char *);

static const InstallerOption options[] = {
    {"-s", "DIRECTORY", "installs into DIRECTORY (made if need be) without a window",
     SilentInstall},
    {"--check", nullptr, "checks this file: trailer, gzip or zstd stream, tar, player", Check},
    {"--list", nullptr, "lists the files of the product, like tar tvf", List},
    {"--help", nullptr, "shows this text", Help},
    {"--version", nullptr, "shows the product and the installer's version", Version},
};

// Installs into the directory with no window; 1 when anything failed.
static int SilentInstall(char *directory) {
    pLocation = directory;
    Install(nullptr, nullptr, nullptr);
    return FailureReported() ? EXIT_FAILURE : EXIT_SUCCESS;
}

// Opens the installer's own file at its payload; null, with the failure
// reported, when it cannot be found or read or holds no payload.
static FILE *OpenOwnPayload(long long *length) {
    std::string failure;
    FILE *self = OwnFileReadable() ? OpenPayload(length, &failure) : nullptr;
    if (!failure.empty())
        ReportError(failure.c_str());
    return self;
}

// Checks the installer's own file and prints a one-line verdict.
static int Check(char *) {
    long long length;
    FILE *self = OpenOwnPayload(&length);
    if (self == nullptr)
        return EXIT_FAILURE;
    int status = CheckPayload(self, length);
    fclose(self);
    return status;
}

// Lists the payload's members through tar.
static int List(char *) {
    long long length;
    FILE *self = OpenOwnPayload(&length);
    if (self == nullptr)
        return EXIT_FAILURE;
    fflush(stdout); // before tar writes there
    bool listed = ListPayload(self, length);
    fclose(self);
    if (!listed)
        ReportFormatted(MSG_LIST_FAILED, ppArgv[0]);
    return listed ? EXIT_SUCCESS : EXIT_FAILURE;
}

// Prints the usage text, made from the table.
static int Help(char *) {
    printf(HELP_INTRO, ppArgv[0]);
    for (const InstallerOption &option : options) {
        std::string usage =
            std::string(option.name) + " " + (option.argument ? option.argument : "");
        printf("  %-14s %s\n", usage.c_str(), option.description);
    }
    printf(HELP_STATUSES);
    return EXIT_SUCCESS;
}

// Prints the product and the installer's version.
static int Version(char *) {
    printf(MSG_VERSION "\n", ZORVANE_INSTALLER_VERSION);
    return EXIT_SUCCESS;
}

// Runs the option that the whole command line names, if any, and ends the
// program with its status; returns when the command line names none.
void RunChosenOption(int argc, char **argv) {
    for (const InstallerOption &option : options) {
        int words = option.argument ? 2 : 1;
        if (argc == words + 1 && strcmp(argv[1], option.name) == 0) {
            bIsSilent = 1;
            exit(option.run(argv[2])); // the directory of -s, else the list's null
        }
    }
}
