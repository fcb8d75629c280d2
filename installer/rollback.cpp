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
#include <vector>

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

// One directory on the way down through the tree being removed: its inode,
// its name in its parent, and the directories in it still to remove.
struct Level {
    ino_t inode;
    std::string name;
    std::vector<std::string> subdirectories;
};

// Lets the owner into a directory that the archive left closed (mode 0300
// or 0000): changes its mode through a handle that cannot follow a link.
static void MakeEnterable(int parent, const char *name) {
    int fd = openat(parent, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status;
    std::string handle = "/proc/self/fd/" + std::to_string(fd);
    if (fstat(fd, &status) == 0)
        chmod(handle.c_str(), (status.st_mode & 07777) | S_IRWXU);
    close(fd);
}

// Opens the directory name in parent for removing what it holds, unless it
// is a link, lies on another mount or is not the inode expected (0: any);
// -1 then.
static int OpenForRemoval(int parent, const char *name, ino_t inode, const Mount &mount) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = openat(parent, name, flags);
    if (fd < 0 && errno == EACCES) {
        MakeEnterable(parent, name);
        fd = openat(parent, name, flags);
    }
    if (fd < 0)
        return -1;
    struct stat status;
    bool same = fstat(fd, &status) == 0 && (inode == 0 || status.st_ino == inode);
    Mount here = same ? MountOf(fd, status) : Mount{};
    if (!same || here.device != mount.device || here.id != mount.id) {
        close(fd);
        return -1;
    }
    // a directory that the archive made read-only must let its entries go
    if ((status.st_mode & S_IRWXU) != S_IRWXU)
        fchmod(fd, (status.st_mode & 07777) | S_IRWXU);
    return fd;
}

// Enters a directory opened for removal: removes all but its directories,
// which it lists in level for removal one at a time.
static void EnterLevel(int fd, Level *level) {
    struct stat status;
    level->inode = fstat(fd, &status) == 0 ? status.st_ino : 0;
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
            level->subdirectories.push_back(entry->d_name);
    }
    closedir(entries);
}

// Opens the directory of levels[0..depth) again: through "..", when that
// is still the directory left, else down from top by the names.
static int ReopenLevel(int top, int child, const std::vector<Level> &levels, size_t depth,
                       const Mount &mount) {
    int fd = OpenForRemoval(child, "..", levels[depth - 1].inode, mount);
    for (size_t i = 0; fd < 0 && i < depth; i++) {
        int parent = i == 0 ? top : fd;
        fd = OpenForRemoval(parent, levels[i].name.c_str(), levels[i].inode, mount);
        if (i > 0)
            close(parent);
        if (fd < 0)
            return -1;
    }
    return fd;
}

// Removes the directory name in top with all it holds, unless it is a link,
// lies on another mount or is not the inode expected.  One directory is
// open at a time, whatever the tree's depth.
static void RemoveDirectory(int top, const char *name, ino_t inode, const Mount &mount) {
    std::vector<Level> levels(1);
    levels[0].name = name;
    int fd = OpenForRemoval(top, name, inode, mount);
    if (fd >= 0)
        EnterLevel(fd, &levels[0]);
    while (fd >= 0) {
        Level &level = levels.back();
        if (!level.subdirectories.empty()) {
            std::string next = level.subdirectories.back();
            level.subdirectories.pop_back();
            int child = OpenForRemoval(fd, next.c_str(), 0, mount);
            if (child < 0)
                continue; // a link put there meanwhile, or another mount: it stays
            close(fd);
            fd = child;
            levels.push_back(Level{0, next, {}});
            EnterLevel(fd, &levels.back());
            continue;
        }
        std::string done = level.name;
        levels.pop_back();
        int parent = levels.empty() ? top : ReopenLevel(top, fd, levels, levels.size(), mount);
        close(fd);
        if (parent >= 0)
            unlinkat(parent, done.c_str(), AT_REMOVEDIR);
        fd = levels.empty() ? -1 : parent;
    }
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
