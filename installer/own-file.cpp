// The way to the installer's own file.
#include <cerrno>
#include <unistd.h>

#include "environment.h"
#include "installer.h"

// The running program's own file as the kernel knows it: a name found
// through PATH, or an argument 0 that its starter chose, may name another.
const char *OwnFilePath(void) {
    static const char SELF[] = "/proc/self/exe";
    return access(SELF, F_OK) == 0 || errno != ENOENT ? SELF : ppArgv[0];
}
