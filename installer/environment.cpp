// Holding the installer against what its parent process hands it.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "environment.h"
#include "installer.h"

extern char **environ;

// Variables through which tar and gzip take options or change how they read.
static const char *const OPTION_VARIABLES[] = {"TAR_OPTIONS", "TAPE", "GZIP", "GZIP_OPT",
                                               "POSIXLY_CORRECT"};

// Gives the signals whose default the installer relies on their default back.
static void ResetSignals(void) {
    // a wait for gunzip and tar needs SIGCHLD's default; a broken pipe is handled where it occurs
    static const int RELIED_ON[] = {SIGCHLD, SIGPIPE};
    sigset_t unblocked;
    sigemptyset(&unblocked);
    for (int signal : RELIED_ON) {
        ::signal(signal, SIG_DFL);
        sigaddset(&unblocked, signal);
    }
    sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
}

// Fills a closed standard descriptor with one that refuses all input and
// output, so that no file opened later is taken for it.
static void FillStandardDescriptors(void) {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; fd++) {
        if (fcntl(fd, F_GETFD) >= 0)
            continue;
        // the wrong direction on purpose: reads and writes through it fail as on a closed one
        int null = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
}

// Settles signals and descriptors before anything else runs.
void SettleEnvironment(void) {
    ResetSignals();
    FillStandardDescriptors();
}

// Whether path names an executable regular file.
static bool IsExecutableFile(const std::string &path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The search path: PATH, or the system's default where PATH is unset.
static std::string SearchPath(void) {
    const char *path = getenv("PATH");
    if (path != nullptr)
        return path;
    size_t length = confstr(_CS_PATH, nullptr, 0);
    std::string standard(length, '\0');
    confstr(_CS_PATH, &standard[0], length);
    return standard.c_str();
}

// Finds a program in the search path's absolute directories only: an empty
// element or a relative one would name whatever directory the installer is in.
bool FindProgram(const char *name, std::string *found) {
    std::string path = SearchPath();
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        std::string directory = path.substr(start, end - start);
        start = end + 1;
        if (directory.empty() || directory[0] != '/')
            continue;
        std::string candidate = directory + "/" + name;
        if (IsExecutableFile(candidate)) {
            *found = candidate;
            return true;
        }
    }
    return false;
}

// Whether an environment entry sets one of the option variables.
static bool SetsOptions(const char *entry) {
    for (const char *name : OPTION_VARIABLES) {
        size_t length = strlen(name);
        if (strncmp(entry, name, length) == 0 && entry[length] == '=')
            return true;
    }
    return false;
}

// The environment without the option variables, made once.
char **ChildEnvironment(void) {
    static std::vector<char *> kept;
    if (kept.empty()) {
        for (char **entry = environ; *entry != nullptr; entry++)
            if (!SetsOptions(*entry))
                kept.push_back(*entry);
        kept.push_back(nullptr);
    }
    return kept.data();
}
