// Reading and checking the checksum block of an installer (checksums.h).
// mkinstaller writes it; the installer checks it for --check and reads the
// product's version from it for --version.
#include <cstring>
#include <sha2.h>
#include <unistd.h>

#include "checksums.h"
#include "installer.h"
#include "messages.h"
#include "payload.h"

// What mkinstaller looks for to tell an image built by this project from any
// other file.  Kept through the linker's garbage collection.
extern const char IMAGE_MARKER[];
__attribute__((used, retain)) const char IMAGE_MARKER[] = "ZORVANE8-INSTALLER-IMAGE/1";

static const char BLOCK_OPENING[] = "ZORVANE-CHECKSUMS 1\n";
static const char BLOCK_CLOSING[] = "END-ZORVANE-CHECKSUMS\n";

// Whether text is 64 lowercase hexadecimal digits.
static bool IsSha256(const std::string &text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// Takes one line of the block's body into block; false when it is unknown.
static bool TakeLine(const std::string &line, ChecksumBlock *block) {
    size_t space = line.find(' ');
    std::string key = line.substr(0, space),
                value = space == std::string::npos ? "" : line.substr(space + 1);
    if (key == "image-sha256")
        block->imageSha256 = value;
    else if (key == "payload-sha256")
        block->payloadSha256 = value;
    else if (key == "product-version" && !value.empty())
        block->productVersion = value;
    else
        return line.empty();
    return true;
}

// Parses the block's text; false when it is malformed.
static bool ParseBlock(const std::string &text, ChecksumBlock *block) {
    size_t start = strlen(BLOCK_OPENING), end = text.size() - strlen(BLOCK_CLOSING);
    while (start < end) {
        size_t newline = text.find('\n', start);
        if (newline == std::string::npos || newline > end ||
            !TakeLine(text.substr(start, newline - start), block))
            return false;
        start = newline + 1;
    }
    return IsSha256(block->imageSha256) && IsSha256(block->payloadSha256);
}

// Reads the block that ends where the payload starts in file.
BlockPresence ReadChecksumBlock(FILE *file, off_t payloadStart, ChecksumBlock *block) {
    char bytes[CHECKSUM_BLOCK_SIZE];
    if (payloadStart < CHECKSUM_BLOCK_SIZE ||
        pread(fileno(file), bytes, sizeof bytes, payloadStart - CHECKSUM_BLOCK_SIZE) !=
            sizeof bytes)
        return BLOCK_ABSENT;
    std::string text(bytes, sizeof bytes);
    bool opens = text.compare(0, strlen(BLOCK_OPENING), BLOCK_OPENING) == 0;
    bool closes =
        text.compare(text.size() - strlen(BLOCK_CLOSING), std::string::npos, BLOCK_CLOSING) == 0;
    if (!opens && !closes)
        return BLOCK_ABSENT;
    return opens && closes && ParseBlock(text, block) ? BLOCK_SOUND : BLOCK_DAMAGED;
}

// The SHA-256 of count bytes of file from offset, in hexadecimal; "" when
// they cannot all be read.
static std::string Sha256(FILE *file, off_t offset, long long count) {
    SHA2_CTX context;
    SHA256Init(&context);
    unsigned char chunk[BLOCK_SIZE * 8];
    while (count > 0) {
        ssize_t got = pread(fileno(file), chunk, std::min<long long>(sizeof chunk, count), offset);
        if (got <= 0)
            return "";
        SHA256Update(&context, chunk, got);
        offset += got;
        count -= got;
    }
    char digest[SHA256_DIGEST_STRING_LENGTH];
    return SHA256End(&context, digest);
}

// The part of the installer whose bytes no longer match the block, or null.
const char *DamagedPart(FILE *file, off_t payloadStart, long long length,
                        const ChecksumBlock &block) {
    if (Sha256(file, 0, payloadStart - CHECKSUM_BLOCK_SIZE) != block.imageSha256)
        return PART_IMAGE;
    if (Sha256(file, payloadStart, length) != block.payloadSha256)
        return PART_PAYLOAD;
    return nullptr;
}

// Checks the block of the installer's own file; false, reported, when damaged.
bool ChecksumsMatch(FILE *self, long long length) {
    ChecksumBlock block;
    off_t payloadStart = ftello(self);
    switch (ReadChecksumBlock(self, payloadStart, &block)) {
    case BLOCK_ABSENT:
        return true;
    case BLOCK_DAMAGED:
        ReportFormatted(MSG_CHECKSUM_BLOCK_DAMAGED, ppArgv[0]);
        return false;
    case BLOCK_SOUND:
        break;
    }
    const char *part = DamagedPart(self, payloadStart, length, block);
    if (part != nullptr)
        ReportFormatted(MSG_PART_DAMAGED, ppArgv[0], part);
    return part == nullptr;
}

// The product version recorded in the installer's own file, or "".
std::string RecordedProductVersion(void) {
    std::string failure;
    long long length;
    FILE *self = OpenPayload(&length, &failure);
    if (self == nullptr)
        return "";
    ChecksumBlock block;
    BlockPresence presence = ReadChecksumBlock(self, ftello(self), &block);
    fclose(self);
    return presence == BLOCK_SOUND ? block.productVersion : "";
}
