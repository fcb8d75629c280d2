// Taking away the destination that this run made.  It is remembered by its
// parent directory, held open, and its name there, so that removing it works
// from any working directory and cannot be led elsewhere by a link.
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "rollback.h"

// The mount that a tree lies on: its device, and the mount's own number
// where the system tells it (0 where not), which also tells bind mounts apart.
struct Mount {
    dev_t device;
    unsigned long long id;
};

// The destination made by this run; no parent while none is remembered.
static struct {
    int parent = -1;
    std::string name;
    ino_t inode = 0;
    Mount mount = {};
} made;

// The mount that the file open at fd lies on.
static Mount MountOf(int fd, const struct stat &status) {
    struct statx extended;
    bool known = statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &extended) == 0 &&
                 (extended.stx_mask & STATX_MNT_ID) != 0;
    return {status.st_dev, known ? extended.stx_mnt_id : 0};
}

// The last name in a path, trailing slashes aside.
static std::string LastName(const char *path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return name.substr(name.find_last_of('/') + 1);
}

static void RemoveDirectory(int parent, const char *name, ino_t inode, const Mount &mount);

// Removes everything in the directory open at fd.
static void EmptyDirectory(int fd, const Mount &mount) {
    int listing = dup(fd); // closedir closes the descriptor it was given
    DIR *entries = listing < 0 ? nullptr : fdopendir(listing);
    if (entries == nullptr) {
        if (listing >= 0)
            close(listing);
        return;
    }
    while (struct dirent *entry = readdir(entries)) {
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0)
            continue;
        if (unlinkat(fd, entry->d_name, 0) != 0 && errno == EISDIR)
            RemoveDirectory(fd, entry->d_name, 0, mount);
    }
    closedir(entries);
}

// Removes the directory name in parent with all it holds, unless it is a
// link, lies on another mount or is not the inode expected (0: any).
static void RemoveDirectory(int parent, const char *name, ino_t inode, const Mount &mount) {
    int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status;
    if (fstat(fd, &status) == 0 && (inode == 0 || status.st_ino == inode)) {
        Mount here = MountOf(fd, status);
        if (here.device == mount.device && here.id == mount.id) {
            // a directory that the archive made read-only must let its entries go
            if ((status.st_mode & S_IRWXU) != S_IRWXU)
                fchmod(fd, (status.st_mode & 07777) | S_IRWXU);
            EmptyDirectory(fd, mount);
            unlinkat(parent, name, AT_REMOVEDIR);
        }
    }
    close(fd);
}

// Remembers the directory just made for the install, if it is still there.
void RememberMadeDestination(const char *destination) {
    ForgetMadeDestination();
    int fd = open(destination, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    int parent = openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string name = LastName(destination);
    struct stat status, there;
    if (parent >= 0 && fstat(fd, &status) == 0 &&
        fstatat(parent, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
        there.st_ino == status.st_ino && there.st_dev == status.st_dev) {
        made.parent = parent;
        made.name = name;
        made.inode = status.st_ino;
        made.mount = MountOf(fd, status);
    } else if (parent >= 0) {
        close(parent);
    }
    close(fd);
}

// Lets the remembered destination stay.
void ForgetMadeDestination(void) {
    if (made.parent >= 0)
        close(made.parent);
    made.parent = -1;
}

// Removes the remembered destination and forgets it.
void RemoveMadeDestination(void) {
    if (made.parent < 0)
        return;
    RemoveDirectory(made.parent, made.name.c_str(), made.inode, made.mount);
    ForgetMadeDestination();
}
