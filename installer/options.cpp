// The installer's own options, which need no display.  One table holds
// them all and also yields the usage text; an option is taken only when it
// is the whole command line with its argument, so that everything else
// (toolkit options included) reaches the wizard.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checksums.h"
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
static int Licenses(char *);

extern const char LICENSE_NOTICES[];

static const InstallerOption options[] = {
    {"-s", "DIRECTORY", "installs into DIRECTORY (made if need be) without a window",
     SilentInstall},
    {"--check", nullptr, "checks this file: trailer, checksums, gzip or zstd, tar, player", Check},
    {"--list", nullptr, "lists the files of the product, like tar tvf", List},
    {"--help", nullptr, "shows this text", Help},
    {"--version", nullptr, "shows the product and the installer's version", Version},
    {"--licenses", nullptr, "shows the licences of the libraries inside this file", Licenses},
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
    int status = ChecksumsMatch(self, length) ? CheckPayload(self, length) : EXIT_FAILURE;
    fclose(self);
    return status;
}

// Reports why a listing failed: a damaged payload at offset, or else an
// output that took no listing.
static void ReportListFailure(FILE *self, off_t payload, long long length) {
    if (fseeko(self, payload, SEEK_SET) == 0 && PayloadFault(self, length) == nullptr)
        ReportError(MSG_LIST_NOT_WRITTEN);
    else
        ReportFormatted(MSG_LIST_FAILED, ppArgv[0]);
}

// Lists the payload's members through tar.
static int List(char *) {
    long long length;
    FILE *self = OpenOwnPayload(&length);
    if (self == nullptr)
        return EXIT_FAILURE;
    if (const char *missing = MissingUnpacker()) {
        fclose(self);
        ReportFormatted(MSG_PROGRAM_MISSING, missing);
        return EXIT_FAILURE;
    }
    fflush(stdout); // before tar writes there
    off_t payload = ftello(self);
    bool listed = ListPayload(self, length);
    if (!listed)
        ReportListFailure(self, payload, length);
    fclose(self);
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
    printf(MSG_VERSION, ZORVANE_INSTALLER_VERSION);
    std::string product = RecordedProductVersion();
    if (!product.empty())
        printf(MSG_PRODUCT_VERSION, product.c_str());
    printf("\n");
    return EXIT_SUCCESS;
}

// Whether all that an option printed reached the standard output; reported
// when it did not (a full disk, say).
static bool OutputWritten(void) {
    if (fflush(stdout) == 0 && !ferror(stdout))
        return true;
    ReportFormatted(MSG_OUTPUT_FAILED, strerror(errno));
    return false;
}

// Prints the notices and licences of the libraries that the image carries
// and where their source and the installer's can be had.
static int Licenses(char *) {
    fputs(LICENSE_NOTICES, stdout);
    return EXIT_SUCCESS;
}

// Runs the option that the whole command line names, if any, and ends the
// program with its status; returns when the command line names none.
void RunChosenOption(int argc, char **argv) {
    for (const InstallerOption &option : options) {
        int words = option.argument ? 2 : 1;
        if (argc == words + 1 && strcmp(argv[1], option.name) == 0) {
            bIsSilent = 1;
            int status = option.run(argv[2]); // the directory of -s, else the list's null
            exit(OutputWritten() ? status : EXIT_FAILURE);
        }
    }
}
