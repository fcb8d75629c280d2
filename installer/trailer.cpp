// Reading the trailer at the very end of an installer: a newline, the
// payload's length in decimal digits, a newline.  The installer and
// mkinstaller (through zorvane-payload-location) both read it here.
#include <cstring>
#include <sys/types.h>

#include "payload.h"

// Reads the last block of the file into tail; the count read, 0 on failure.
static size_t ReadTail(FILE *file, char *tail, off_t *size) {
    if (fseeko(file, 0, SEEK_END) != 0 || (*size = ftello(file)) < 0)
        return 0;
    off_t start = *size > BLOCK_SIZE ? *size - BLOCK_SIZE : 0;
    if (fseeko(file, start, SEEK_SET) != 0)
        return 0;
    return fread(tail, 1, BLOCK_SIZE, file);
}

// Parses the digits from text up to end into length; false unless they are
// one or more decimal digits, nothing else, worth a positive length.
static bool ParseLength(const char *text, const char *end, long long *length) {
    const long long largest = 0x7fffffffffffffffLL;
    if (text == end)
        return false;
    *length = 0;
    for (; text < end; text++) {
        if (*text < '0' || *text > '9')
            return false;
        int digit = *text - '0';
        if (*length > (largest - digit) / 10)
            return false;
        *length = *length * 10 + digit;
    }
    return *length > 0;
}

// Locates the payload through the trailer at the very end of the file.
bool FindPayload(FILE *file, long long *length) {
    char tail[BLOCK_SIZE];
    off_t size;
    size_t n = ReadTail(file, tail, &size);
    if (n < 3 || tail[n - 1] != '\n')
        return false;
    const char *opening = static_cast<const char *>(memrchr(tail, '\n', n - 1));
    if (!opening || !ParseLength(opening + 1, tail + n - 1, length))
        return false;
    off_t trailer = tail + n - opening;
    if (*length > size - trailer)
        return false;
    return fseeko(file, size - trailer - *length, SEEK_SET) == 0;
}
