// Zstd payloads, decoded in this process with libzstd's decoder, so that
// the user's machine needs no zstd program.  The decoder keeps at most the
// window that a frame asks for, and refuses a frame that asks for more than
// 128 MiB.
#define ZSTD_STATIC_LINKING_ONLY // ZSTD_getFrameHeader
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>
#include <zstd.h>

#include "installer.h"
#include "messages.h"
#include "unpack.h"
#include "zstd-payload.h"

// The bytes that every zstd frame begins with.
static const unsigned char ZSTD_FRAME_MAGIC[] = {0x28, 0xb5, 0x2f, 0xfd};

enum {
    BLOCK_HEADER_SIZE = 3,
    RESERVED_BLOCK = 3, // the block types: raw, run of one byte, compressed, reserved
    RUN_BLOCK = 1,
    CHECKSUM_SIZE = 4,
};

// A decoding under way: the library's context, the buffer for what it
// yields, where that goes, and what has been found so far.
struct ZstdDecoding {
    ZSTD_DCtx *context;
    const BytesTaker &take;
    std::vector<char> out;
    size_t wanted = 0; // 0 right after a frame's end, else more of the frame is due
    bool refused = false;
    const char *fault = nullptr;
};

// Reads count bytes at offset in the file without moving its position.
static bool ReadAt(FILE *file, off_t offset, void *data, size_t count) {
    return pread(fileno(file), data, count, offset) == static_cast<ssize_t>(count);
}

// Whether the payload at the file's position is a zstd stream.
bool PayloadIsZstd(FILE *file) {
    unsigned char magic[sizeof ZSTD_FRAME_MAGIC];
    off_t start = ftello(file);
    return start >= 0 && ReadAt(file, start, magic, sizeof magic) &&
           memcmp(magic, ZSTD_FRAME_MAGIC, sizeof magic) == 0;
}

// Passes over the blocks of the frame that begin at offset; the offset
// after its last block, or -1 when they do not end before end.
static off_t PassBlocks(FILE *file, off_t at, off_t end) {
    for (;;) {
        unsigned char header[BLOCK_HEADER_SIZE];
        if (end - at < BLOCK_HEADER_SIZE || !ReadAt(file, at, header, sizeof header))
            return -1;
        unsigned long bits =
            header[0] | header[1] << 8 | static_cast<unsigned long>(header[2]) << 16;
        unsigned type = bits >> 1 & 3;
        if (type == RESERVED_BLOCK)
            return -1;
        at += BLOCK_HEADER_SIZE + (type == RUN_BLOCK ? 1 : bits >> 3);
        if (bits & 1) // the frame's last block
            return at;
    }
}

// Adds up the content sizes that the frames' headers declare.
bool ZstdContentSize(FILE *file, long long length, unsigned long long *size) {
    off_t at = ftello(file), end = at + length;
    *size = 0;
    while (at >= 0 && at < end) {
        unsigned char bytes[ZSTD_FRAMEHEADERSIZE_MAX];
        size_t count = std::min<off_t>(sizeof bytes, end - at);
        ZSTD_frameHeader header;
        if (!ReadAt(file, at, bytes, count) || ZSTD_getFrameHeader(&header, bytes, count) != 0)
            return false;
        at += header.headerSize;
        if (header.frameType == ZSTD_skippableFrame) { // its content is never decoded
            at += header.frameContentSize;
            continue;
        }
        if (header.frameContentSize == ZSTD_CONTENTSIZE_UNKNOWN ||
            header.frameContentSize > ULLONG_MAX - *size)
            return false;
        *size += header.frameContentSize;
        at = PassBlocks(file, at, end);
        if (at >= 0 && header.checksumFlag)
            at += CHECKSUM_SIZE;
    }
    return at == end;
}

// Decodes a block of the payload and hands over all that comes out of it;
// false when the stream is at fault or take refuses.
static bool DecodeBlock(ZstdDecoding *decoding, const char *data, size_t count) {
    ZSTD_inBuffer in = {data, count, 0};
    ZSTD_outBuffer out;
    do { // until the block is used up and the decoder holds nothing back
        out = {decoding->out.data(), decoding->out.size(), 0};
        size_t result = ZSTD_decompressStream(decoding->context, &out, &in);
        if (ZSTD_isError(result)) {
            decoding->fault = ZSTD_getErrorName(result);
            return false;
        }
        decoding->wanted = result;
        if (out.pos > 0 && !decoding->take(decoding->out.data(), out.pos)) {
            decoding->refused = true;
            return false;
        }
    } while (in.pos < in.size || out.pos == out.size);
    return true;
}

// Decodes the payload and hands what comes out to take.
bool DecodeZstdPayload(FILE *file, long long length, const BytesTaker &take, const char **fault) {
    std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx *)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
    *fault = REASON_NO_MEMORY;
    if (!context || ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax,
                                                        LARGEST_WINDOW_LOG)))
        return false;
    ZstdDecoding decoding = {context.get(), take, std::vector<char>(ZSTD_DStreamOutSize())};
    bool fed = FeedPayloadTo(file, length, [&decoding](const char *data, size_t count) {
        return DecodeBlock(&decoding, data, count);
    });
    bool blameless = decoding.refused || UnpackInterrupted();
    if (decoding.fault == nullptr && !blameless && (!fed || decoding.wanted != 0))
        decoding.fault = REASON_ZSTD_CUT; // the stream ends inside a frame
    *fault = decoding.fault;
    return fed && decoding.fault == nullptr;
}

// Decodes the payload into fd and tells what is wrong with a faulty stream.
bool DecodeZstdInto(FILE *file, long long length, int fd) {
    const char *fault;
    bool decoded = DecodeZstdPayload(
        file, length, [fd](const char *data, size_t count) { return WriteAll(fd, data, count); },
        &fault);
    if (fault != nullptr)
        fprintf(stderr, MSG_PAYLOAD_CORRUPT "\n", ppArgv[0], fault);
    return decoded;
}
