// Checking the payload of the installer's own file without unpacking it: a
// sound gzip stream (checksum and length, member after member, as gunzip
// takes it) or zstd stream (frame after frame, with their content
// checksums) holding a tar archive, read header by header as the bytes come
// out, with an executable ./zorvane at its top.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

#include "installer.h"
#include "messages.h"
#include "zstd-payload.h"

enum {
    TAR_BLOCK = 512,
    CHUNK = 1 << 16,
    LONGEST_EXTENSION = 1 << 20, // a GNU long name or a pax record
    GZIP_MAGIC = 0x1f,
};

// Where the gzip stream stands: inside a member, right after one (where
// another may begin), or in the zeros that gunzip allows at the end.
enum GzipPhase { IN_MEMBER, AFTER_MEMBER, IN_ZEROS };

// The walk through the tar archive as its bytes come out of the gzip stream.
struct TarWalk {
    unsigned char header[TAR_BLOCK];
    size_t gathered = 0;         // bytes of the next header gathered so far
    unsigned long long skip = 0; // bytes of member data and padding still to pass
    unsigned long long keep = 0; // of those, bytes to keep in extension
    char extensionType = 0;      // 'L' (GNU long name) or 'x' (pax record) being read
    std::string extension;
    std::string nextName;    // the next member's name, from an extension
    long long nextSize = -1; // the next member's size, from a pax record
    unsigned long long members = 0;
    bool player = false, ended = false, broken = false;
};

// Reads a number field of a tar header: octal digits between blanks and
// NULs, or GNU's base-256 form for large values.
static bool ParseNumber(const unsigned char *field, size_t width, unsigned long long *value) {
    *value = 0;
    if (field[0] & 0x80) {
        if (field[0] & 0x40) // negative
            return false;
        *value = field[0] & 0x3f;
        for (size_t i = 1; i < width; i++) {
            if (*value >> 56)
                return false;
            *value = *value << 8 | field[i];
        }
        return true;
    }
    size_t i = 0;
    while (i < width && field[i] == ' ')
        i++;
    size_t digits = i;
    for (; i < width && field[i] >= '0' && field[i] <= '7'; i++)
        *value = *value * 8 + (field[i] - '0');
    if (i == digits)
        return false;
    for (; i < width; i++)
        if (field[i] != ' ' && field[i] != '\0')
            return false;
    return true;
}

// Whether the header's checksum matches its bytes, summed as unsigned bytes
// or, as some old tars did, as signed ones.
static bool ChecksumMatches(const unsigned char *header) {
    unsigned long long recorded;
    if (!ParseNumber(header + 148, 8, &recorded))
        return false;
    long long unsignedSum = 0, signedSum = 0;
    for (int i = 0; i < TAR_BLOCK; i++) {
        unsigned char byte = i >= 148 && i < 156 ? ' ' : header[i];
        unsignedSum += byte;
        signedSum += static_cast<signed char>(byte);
    }
    return static_cast<long long>(recorded) == unsignedSum ||
           static_cast<long long>(recorded) == signedSum;
}

// A text field of a header, which ends at its first NUL or its width.
static std::string Field(const unsigned char *field, size_t width) {
    const char *text = reinterpret_cast<const char *>(field);
    return std::string(text, strnlen(text, width));
}

// The member's name as the header gives it, with the POSIX prefix.
static std::string HeaderName(const unsigned char *header) {
    std::string name = Field(header, 100);
    if (memcmp(header + 257, "ustar", 6) == 0 && header[345] != '\0')
        return Field(header + 345, 155) + "/" + name;
    return name;
}

// Whether a member's name is the player's at the archive's top.
static bool IsPlayerName(const std::string &name) {
    size_t start = 0;
    while (name.compare(start, 2, "./") == 0)
        start += 2;
    return name.compare(start, std::string::npos, "zorvane") == 0;
}

// Takes the path and size that a pax record gives the next member; false
// when the record is malformed.
static bool ReadPaxRecords(TarWalk *walk) {
    const std::string &text = walk->extension;
    size_t at = 0;
    while (at < text.size()) {
        char *end;
        unsigned long long length = strtoull(text.c_str() + at, &end, 10);
        size_t keyStart = end - text.c_str() + 1;
        if (*end != ' ' || length > text.size() - at || keyStart >= at + length ||
            text[at + length - 1] != '\n')
            return false;
        std::string record = text.substr(keyStart, at + length - 1 - keyStart);
        size_t equals = record.find('=');
        if (equals == std::string::npos)
            return false;
        std::string key = record.substr(0, equals), value = record.substr(equals + 1);
        if (key == "path")
            walk->nextName = value;
        else if (key == "size")
            walk->nextSize = strtoll(value.c_str(), nullptr, 10);
        at += length;
    }
    return true;
}

// Puts a complete extension to use for the member that follows it.
static void EndExtension(TarWalk *walk) {
    if (walk->extensionType == 'L')
        walk->nextName = walk->extension.c_str(); // up to its NUL
    else if (!ReadPaxRecords(walk))
        walk->broken = true;
    walk->extensionType = 0;
}

// The data and padding that follow a header whose data is size bytes.
static unsigned long long Blocks(unsigned long long size) {
    return (size + TAR_BLOCK - 1) / TAR_BLOCK * TAR_BLOCK;
}

// Takes in a header that begins an extension for the next member.
static void StartExtension(TarWalk *walk, char type, unsigned long long size) {
    if (size > LONGEST_EXTENSION) {
        walk->broken = true;
        return;
    }
    walk->extensionType = type;
    walk->extension.clear();
    walk->keep = size;
    walk->skip = Blocks(size);
    if (size == 0)
        EndExtension(walk);
}

// Whether data follows a member's header: not for links, devices,
// directories and FIFOs.
static bool HasData(char type) {
    return type < '1' || type > '6';
}

// Takes in a member's header: counts it and notes whether it is the player.
static void ReadMember(TarWalk *walk, char type, unsigned long long size, unsigned long long mode) {
    std::string name = walk->nextName.empty() ? HeaderName(walk->header) : walk->nextName;
    if (walk->nextSize >= 0)
        size = walk->nextSize;
    walk->nextName.clear();
    walk->nextSize = -1;
    walk->members++;
    bool regular = type == '0' || type == '\0' || type == '7';
    if (IsPlayerName(name))
        walk->player = regular && (mode & 0100); // a later member of that name wins, as in tar
    walk->skip = HasData(type) ? Blocks(size) : 0;
}

// Takes in the header just gathered.
static void ReadHeader(TarWalk *walk) {
    const unsigned char *header = walk->header;
    if (std::all_of(header, header + TAR_BLOCK, [](unsigned char byte) { return byte == 0; })) {
        walk->ended = true; // the end-of-archive blocks; what follows is padding
        return;
    }
    unsigned long long size, mode;
    if (!ChecksumMatches(header) || !ParseNumber(header + 124, 12, &size) ||
        !ParseNumber(header + 100, 8, &mode)) {
        walk->broken = true;
        return;
    }
    char type = static_cast<char>(header[156]);
    if (type == 'L' || type == 'x')
        StartExtension(walk, type, size);
    else if (type == 'g' || type == 'K') // global pax records, GNU long link names
        walk->skip = Blocks(size);
    else
        ReadMember(walk, type, size, mode);
}

// Walks through the next bytes of the tar archive.
static void WalkTar(TarWalk *walk, const unsigned char *data, size_t count) {
    while (count > 0 && !walk->ended && !walk->broken) {
        size_t take;
        if (walk->skip > 0) {
            take = std::min<unsigned long long>(count, walk->skip);
            size_t kept = std::min<unsigned long long>(take, walk->keep);
            if (kept > 0) {
                walk->extension.append(reinterpret_cast<const char *>(data), kept);
                walk->keep -= kept;
                if (walk->keep == 0)
                    EndExtension(walk);
            }
            walk->skip -= take;
        } else {
            take = std::min<size_t>(count, TAR_BLOCK - walk->gathered);
            memcpy(walk->header + walk->gathered, data, take);
            walk->gathered += take;
            if (walk->gathered == TAR_BLOCK) {
                walk->gathered = 0;
                ReadHeader(walk);
            }
        }
        data += take;
        count -= take;
    }
}

// Inflates the compressed bytes in the stream's input into the walk; null,
// or what is wrong with the gzip stream.
static const char *InflateChunk(z_stream *stream, GzipPhase *phase, TarWalk *walk,
                                unsigned long long *unpacked) {
    static unsigned char out[CHUNK];
    while (stream->avail_in > 0) {
        if (*phase == AFTER_MEMBER && stream->next_in[0] == GZIP_MAGIC) {
            inflateReset(stream);
            *phase = IN_MEMBER;
        }
        if (*phase != IN_MEMBER) {
            if (stream->next_in[0] != 0)
                return REASON_GZIP_TRAILING;
            *phase = IN_ZEROS;
            stream->next_in++;
            stream->avail_in--;
            continue;
        }
        stream->next_out = out;
        stream->avail_out = CHUNK;
        int status = inflate(stream, Z_NO_FLUSH);
        size_t produced = CHUNK - stream->avail_out;
        *unpacked += produced;
        WalkTar(walk, out, produced);
        if (status == Z_STREAM_END)
            *phase = AFTER_MEMBER;
        else if (status != Z_OK)
            return stream->msg != nullptr ? stream->msg : REASON_GZIP_CUT;
    }
    return nullptr;
}

// Inflates the payload of length bytes at the file's position into the
// walk; null when the gzip stream is sound, or what is wrong with it.
static const char *InflatePayload(FILE *file, long long length, TarWalk *walk,
                                  unsigned long long *unpacked) {
    z_stream stream = {};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return REASON_NO_MEMORY;
    std::vector<unsigned char> in(CHUNK);
    GzipPhase phase = IN_MEMBER;
    const char *failure = nullptr;
    for (long long left = length; left > 0 && failure == nullptr;) {
        size_t count = fread(in.data(), 1, std::min<long long>(CHUNK, left), file);
        if (count == 0)
            break;
        left -= count;
        stream.next_in = in.data();
        stream.avail_in = count;
        failure = InflateChunk(&stream, &phase, walk, unpacked);
    }
    inflateEnd(&stream);
    if (failure == nullptr && phase == IN_MEMBER)
        failure = REASON_GZIP_CUT;
    return failure;
}

// Decodes the zstd payload of length bytes at the file's position into the
// walk; null when the zstd stream is sound, or what is wrong with it.
static const char *DecodeZstdIntoWalk(FILE *file, long long length, TarWalk *walk,
                                      unsigned long long *unpacked) {
    const char *fault;
    DecodeZstdPayload(
        file, length,
        [walk, unpacked](const char *data, size_t count) {
            *unpacked += count;
            WalkTar(walk, reinterpret_cast<const unsigned char *>(data), count);
            return true;
        },
        &fault);
    return fault;
}

// What is wrong with a tar archive walked to its end, or null.
static const char *TarFault(const TarWalk &walk) {
    if (walk.broken)
        return REASON_TAR_HEADER;
    if (!walk.ended && (walk.gathered > 0 || walk.skip > 0))
        return REASON_TAR_CUT;
    return nullptr;
}

// Checks the payload of length bytes at the file's position and gives the
// verdict on the installer's own file; the exit status.
int CheckPayload(FILE *self, long long length) {
    TarWalk walk;
    unsigned long long unpacked = 0;
    const char *fault = PayloadIsZstd(self) ? DecodeZstdIntoWalk(self, length, &walk, &unpacked)
                                            : InflatePayload(self, length, &walk, &unpacked);
    if (fault == nullptr)
        fault = TarFault(walk);
    if (fault != nullptr)
        ReportFormatted(MSG_PAYLOAD_CORRUPT, ppArgv[0], fault);
    else if (!walk.player)
        ReportFormatted(MSG_NO_PLAYER, ppArgv[0]);
    else
        printf(MSG_CHECK_SOUND "\n", ppArgv[0], length, unpacked, walk.members);
    return FailureReported() ? EXIT_FAILURE : EXIT_SUCCESS;
}
