// Finding the payload behind the executable image and streaming it out.
#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "environment.h"
#include "installer.h"
#include "messages.h"
#include "payload.h"
#include "unpack.h"
#include "wizard.h"

// Opens the installer's own file at its payload.
FILE *OpenPayload(long long *length, std::string *failure) {
    FILE *file = fopen(OwnFilePath(), "rbe");
    if (file == nullptr) {
        *failure = Formatted(MSG_EXECUTABLE_UNREADABLE, ppArgv[0], ppArgv[0]);
        return nullptr;
    }
    if (!FindPayload(file, length)) {
        *failure = Formatted(MSG_DAMAGED_INSTALLER, ppArgv[0]);
        fclose(file);
        return nullptr;
    }
    return file;
}

// Reads the length that the payload's gzip trailer records for its contents.
bool RecordedUnpackedLength(FILE *file, long long length, unsigned long long *unpacked) {
    const off_t count = 4;
    off_t start = ftello(file);
    unsigned char size[count];
    if (start < 0 || length < count ||
        pread(fileno(file), size, count, start + length - count) != count)
        return false;
    // little-endian, as gzip writes it
    *unpacked =
        size[0] | size[1] << 8 | size[2] << 16 | static_cast<unsigned long long>(size[3]) << 24;
    return true;
}

// Writes all of data into fd; false when fd refuses it (a closed pipe, say).
bool WriteAll(int fd, const char *data, size_t count) {
    while (count > 0) {
        ssize_t written = write(fd, data, count);
        if (written < 0 && errno == EINTR && !UnpackInterrupted())
            continue;
        if (written <= 0)
            return false;
        data += written;
        count -= written;
    }
    return true;
}

// Streams the payload block by block; the trailer is cut off the last reads.
static bool StreamBlocks(FILE *file, long long length, const BytesTaker &take) {
    char block[BLOCK_SIZE];
    long long fed = 0;
    size_t count;
    while (!UnpackInterrupted() && (count = fread(block, 1, sizeof block, file)) > 0) {
        if (static_cast<long long>(count) > length - fed)
            count = length - fed;
        if (!take(block, count))
            return false;
        fed += count;
        fPercentDone = static_cast<float>(static_cast<double>(fed) / length * 100.0);
        if (!bIsSilent)
            ShowProgress();
    }
    return fed == length && !ferror(file);
}

// Streams the payload into fd.
bool FeedPayload(FILE *file, long long length, int fd) {
    return FeedPayloadTo(
        file, length, [fd](const char *data, size_t count) { return WriteAll(fd, data, count); });
}

// Streams the payload into take without dying when a pipe's reader has gone.
bool FeedPayloadTo(FILE *file, long long length, const BytesTaker &take) {
    // a reader that stops early must fail the install, not kill the installer
    struct sigaction ignore = {}, previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    bool fed = StreamBlocks(file, length, take);
    sigaction(SIGPIPE, &previous, nullptr);
    return fed;
}
