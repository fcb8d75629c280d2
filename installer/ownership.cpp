// Refusing, as root, a destination that another user could redirect.
#include <algorithm>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "installer.h"
#include "messages.h"
#include "ownership.h"

// How many links a path may pass through, as the system allows.
enum { MOST_LINKS = 40 };

// The components of a path, in order; "" and "." left out.
static std::vector<std::string> Components(const std::string &path) {
    std::vector<std::string> components;
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(path.find('/', start), path.size());
        std::string component = path.substr(start, end - start);
        if (!component.empty() && component != ".")
            components.push_back(component);
        start = end + 1;
    }
    return components;
}

// The path made absolute from the working directory.
static std::string Absolute(const std::string &path) {
    if (!path.empty() && path[0] == '/')
        return path;
    char here[PATH_MAX];
    return getcwd(here, sizeof here) ? std::string(here) + "/" + path : "/" + path;
}

// Why a user other than root could change the entry, or null.
static const char *OpenToOthers(const struct stat &status) {
    if (S_ISLNK(status.st_mode))
        return status.st_uid != 0 ? REASON_LINK_OF_OTHER_USER : nullptr;
    if (!S_ISDIR(status.st_mode))
        return nullptr;
    if (status.st_uid != 0)
        return REASON_DIRECTORY_OF_OTHER_USER;
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) && !(status.st_mode & S_ISVTX))
        return REASON_DIRECTORY_OPEN_TO_OTHERS;
    return nullptr;
}

// The directory that holds path, an absolute path of no trailing slash.
static std::string Parent(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Walks the path from the root as the system resolves it, judging each
// entry on the way; what does not exist yet ends the walk.
bool OnlyRootControls(const std::string &path, std::string *component, const char **reason) {
    std::vector<std::string> left = Components(Absolute(path));
    std::reverse(left.begin(), left.end()); // the next component last
    std::string reached = "/";
    int links = 0;
    for (;;) {
        struct stat status;
        if (lstat(reached.c_str(), &status) != 0)
            return true;
        if ((*reason = OpenToOthers(status)) != nullptr) {
            *component = reached;
            return false;
        }
        if (S_ISLNK(status.st_mode)) {
            char target[PATH_MAX];
            ssize_t length = readlink(reached.c_str(), target, sizeof target - 1);
            if (length < 0 || ++links > MOST_LINKS)
                return true; // the system cannot resolve the path either
            target[length] = '\0';
            reached = target[0] == '/' ? "/" : Parent(reached);
            std::vector<std::string> through = Components(target);
            left.insert(left.end(), through.rbegin(), through.rend());
            continue;
        }
        if (left.empty())
            return true;
        std::string next = left.back();
        left.pop_back();
        reached = next == ".." ? Parent(reached) : (reached == "/" ? "" : reached) + "/" + next;
    }
}

// Refuses, as root, a destination that another user could redirect.
bool DestinationSafeForRoot(const char *destination) {
    std::string component;
    const char *reason;
    if (geteuid() != 0 || OnlyRootControls(destination, &component, &reason))
        return true;
    ReportFormatted(MSG_UNSAFE_FOR_ROOT, destination, component.c_str(), reason);
    return false;
}
