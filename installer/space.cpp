// The room check before an install: the product's size, as the payload's
// gzip trailer or zstd frames record it, against the free space where it
// will land.
#include <string>
#include <sys/statvfs.h>
#include <unistd.h>

#include "installer.h"
#include "messages.h"
#include "payload.h"
#include "rollback.h"
#include "zstd-payload.h"

static const unsigned long long MEGABYTE = 1 << 20;
// tar's last record, which the end-of-archive blocks pad out
static const unsigned long long TAR_RECORD = 10240;

// The room that an unpacked tar stream of this length is sure to need: the
// stream less tar's own share, taken as an eighth of it (a header of 512
// bytes and up to 511 bytes of padding for each member) and the last record.
static unsigned long long RoomNeeded(unsigned long long tarLength) {
    unsigned long long allowance = tarLength / 8 + TAR_RECORD;
    return tarLength > allowance ? tarLength - allowance : 0;
}

// The bytes that this user may fill on the file system of path.
static bool FreeSpace(const char *path, unsigned long long *free) {
    struct statvfs status;
    if (statvfs(path, &status) != 0)
        return false;
    // root may also fill the blocks that the file system keeps back for it
    unsigned long long blocks = geteuid() == 0 ? status.f_bfree : status.f_bavail;
    *free = blocks * status.f_frsize;
    return true;
}

// The length of the tar stream as the payload's gzip trailer or the content
// sizes of its zstd frames record it.
static bool RecordedTarLength(unsigned long long *tarLength) {
    long long length;
    std::string failure; // reported by the unpack, which meets it again
    FILE *self = OpenPayload(&length, &failure);
    if (self == nullptr)
        return false;
    bool known = PayloadIsZstd(self) ? ZstdContentSize(self, length, tarLength)
                                     : RecordedUnpackedLength(self, length, tarLength);
    fclose(self);
    return known;
}

// Refuses the install, taking away a destination made for it, when the
// product cannot fit; an installer or a file system that cannot tell passes.
bool RoomForProduct(const char *destination) {
    unsigned long long tarLength, free;
    if (!RecordedTarLength(&tarLength) || !FreeSpace(destination, &free))
        return true;
    unsigned long long needed = RoomNeeded(tarLength);
    if (needed <= free)
        return true;
    RemoveMadeDestination();
    ReportFormatted(MSG_NOT_ENOUGH_SPACE, destination, (needed + MEGABYTE - 1) / MEGABYTE,
                    free / MEGABYTE);
    return false;
}
