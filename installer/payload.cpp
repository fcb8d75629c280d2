// Finding the payload behind the executable image and streaming it out.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "installer.h"
#include "messages.h"
#include "payload.h"
#include "unpack.h"
#include "wizard.h"

// Reads the last block of the file into tail; the count read, 0 on failure.
static size_t ReadTail(FILE *file, char *tail, off_t *size) {
    if (fseeko(file, 0, SEEK_END) != 0 || (*size = ftello(file)) < 0)
        return 0;
    off_t start = *size > BLOCK_SIZE ? *size - BLOCK_SIZE : 0;
    if (fseeko(file, start, SEEK_SET) != 0)
        return 0;
    return fread(tail, 1, BLOCK_SIZE, file);
}

// Parses the trailer text (blanks, then decimal digits, then its end) into
// length; false when it is anything else or not positive.
static bool ParseLength(const char *text, const char *end, long long *length) {
    char *stop;
    errno = 0;
    *length = strtoll(text, &stop, 10);
    bool digits = stop > text && stop[-1] >= '0' && stop[-1] <= '9';
    return digits && stop == end && errno == 0 && *length > 0;
}

// Locates the payload through the trailer at the end of the file.
bool FindPayload(FILE *file, long long *length) {
    char tail[BLOCK_SIZE];
    off_t size;
    size_t n = ReadTail(file, tail, &size);
    if (n == 0)
        return false;
    tail[n - 1] = '\0'; // the closing newline, never examined
    const char *opening = static_cast<const char *>(memrchr(tail, '\n', n - 1));
    if (!opening || !ParseLength(opening, tail + n - 1, length))
        return false;
    off_t trailer = tail + n - opening;
    if (*length > size - trailer)
        return false;
    return fseeko(file, size - trailer - *length, SEEK_SET) == 0;
}

// Opens the installer's own file at its payload.
FILE *OpenPayload(long long *length, std::string *failure) {
    FILE *file = fopen(ppArgv[0], "rbe");
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
