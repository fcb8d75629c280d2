// Checking the payload of the installer's own file without unpacking it: a
// sound gzip stream (checksum and length, member after member, as gunzip
// takes it) or zstd stream (frame after frame, with their content
// checksums) holding a tar archive, read header by header as the bytes come
// out, with an executable ./zorvane at its top.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
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
    GNU_SPARSE_EXTENDED = 482,           // in a sparse file's header: more map blocks follow
    GNU_SPARSE_EXTENSION_EXTENDED = 504, // the same in each of those blocks
};

// Where the gzip stream stands: inside a member, right after one (where
// another may begin), or in the zeros that gunzip allows at the end.
enum GzipPhase { IN_MEMBER, AFTER_MEMBER, IN_ZEROS };

// What a path of the unpacked tree is once tar has made it.
enum PathKind { REGULAR_FILE, DIRECTORY, OTHER_FILE };

// A path that the archive makes: its kind and, for a file, whether its
// owner may run it.
struct MadePath {
    PathKind kind;
    bool executable;
};

// The walk through the tar archive as its bytes come out of the gzip stream.
struct TarWalk {
    unsigned char header[TAR_BLOCK];
    size_t gathered = 0;         // bytes of the next header gathered so far
    unsigned long long skip = 0; // bytes of member data and padding still to pass
    unsigned long long keep = 0; // of those, bytes to keep in extension
    char extensionType = 0;      // 'L' or 'K' (GNU long names) or 'x' (pax record) being read
    std::string extension;
    std::string nextName;                 // the next member's name, from an extension
    std::string nextLink;                 // the next member's link target, from an extension
    long long nextSize = -1;              // the next member's size, from a pax record
    bool sparseMap = false;               // the next block continues a GNU sparse member's map
    unsigned long long sparseData = 0;    // the data of that member, which follows its map
    std::map<std::string, MadePath> made; // what tar has made so far, by normalised name
    unsigned long long members = 0;
    bool ended = false, broken = false;
    const char *fault = nullptr; // why the archive is broken, where known
};

// Notes that tar fails on the archive, and why.
static void Break(TarWalk *walk, const char *reason) {
    walk->broken = true;
    walk->fault = reason;
}

// Reads a number field of a tar header as tar does: blanks or NULs alone
// are 0; else octal digits after blanks (and one leading NUL) up to a blank,
// a NUL or the field's end, or GNU's base-256 form for large values.
static bool ParseNumber(const unsigned char *field, size_t width, unsigned long long *value) {
    *value = 0;
    if (field[0] & 0x80) {
        if (field[0] & 0x40) // negative
            return false;
        *value = field[0] & 0x3f;
        for (size_t i = 1; i < width; i++) {
            if (*value >> 55) // beyond what a file offset holds
                return false;
            *value = *value << 8 | field[i];
        }
        return true;
    }
    size_t i = field[0] == '\0' ? 1 : 0;
    while (i < width && field[i] == ' ')
        i++;
    for (; i < width && field[i] >= '0' && field[i] <= '7'; i++) {
        if (*value >> 60)
            return false;
        *value = *value * 8 + (field[i] - '0');
    }
    return i == width || field[i] == ' ' || field[i] == '\0';
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

// A member's name as tar unpacks it: without leading slashes, empty and
// "." components; false when a ".." component makes tar refuse it.
static bool NormalisedName(const std::string &name, std::string *normalised) {
    normalised->clear();
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = std::min(name.find('/', start), name.size());
        std::string component = name.substr(start, end - start);
        start = end + 1;
        if (component == "..")
            return false;
        if (component.empty() || component == ".")
            continue;
        *normalised += (normalised->empty() ? "" : "/") + component;
    }
    return true;
}

// Whether a pax record's value is a decimal number of at most largest.
static bool PaxNumber(const std::string &value, unsigned long long largest) {
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    unsigned long long number = strtoull(value.c_str(), nullptr, 10);
    return errno == 0 && number <= largest;
}

// Whether a pax record's value is a time as tar reads it: an optional minus
// sign, decimal digits and an optional fraction.
static bool PaxTime(const std::string &value) {
    size_t digits = value[0] == '-' ? 1 : 0;
    size_t point = value.find('.');
    std::string whole = value.substr(digits, point == std::string::npos ? point : point - digits);
    std::string fraction = point == std::string::npos ? "0" : value.substr(point + 1);
    return PaxNumber(whole, ~0ULL >> 1) && (fraction.empty() || PaxNumber(fraction, ~0ULL));
}

// Takes one pax record for the next member; false when tar refuses its value.
static bool TakePaxRecord(TarWalk *walk, const std::string &key, const std::string &value) {
    if (key == "path")
        walk->nextName = value;
    else if (key == "linkpath")
        walk->nextLink = value;
    else if (key == "size")
        return PaxNumber(value, ~0ULL >> 1) &&
               (walk->nextSize = strtoll(value.c_str(), nullptr, 10), true);
    else if (key == "uid" || key == "gid")
        return PaxNumber(value, 0xffffffffULL);
    else if (key == "mtime" || key == "atime" || key == "ctime")
        return !value.empty() && PaxTime(value);
    return true;
}

// Takes the records of a pax extension for the next member; false when one
// is malformed or holds a value that tar refuses.
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
        if (equals == std::string::npos ||
            !TakePaxRecord(walk, record.substr(0, equals), record.substr(equals + 1)))
            return false;
        at += length;
    }
    return true;
}

// Puts a complete extension to use for the member that follows it.
static void EndExtension(TarWalk *walk) {
    if (walk->extensionType == 'L')
        walk->nextName = walk->extension.c_str(); // up to its NUL
    else if (walk->extensionType == 'K')
        walk->nextLink = walk->extension.c_str();
    else if (!ReadPaxRecords(walk))
        Break(walk, REASON_PAX_RECORD);
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

// What a member of this type makes: tar unpacks a type that it does not
// know as a regular file.
static PathKind KindOf(char type) {
    if (type == '5' || type == 'D')
        return DIRECTORY;
    if ((type >= '1' && type <= '6') || type == 'V')
        return OTHER_FILE;
    return REGULAR_FILE;
}

// Whether tar can make the member name: a hard link needs a file made before
// it, and no member lies inside a file.
static const char *PlacementFault(const TarWalk &walk, const std::string &name, char type,
                                  const std::string &link) {
    for (size_t slash = name.find('/'); slash != std::string::npos;
         slash = name.find('/', slash + 1)) {
        auto above = walk.made.find(name.substr(0, slash));
        if (above != walk.made.end() && above->second.kind == REGULAR_FILE)
            return REASON_TAR_INSIDE_FILE;
    }
    if (type != '1')
        return nullptr;
    auto target = walk.made.find(link);
    return target == walk.made.end() || target->second.kind == DIRECTORY ? REASON_TAR_HARD_LINK
                                                                         : nullptr;
}

// Takes in a member's header: notes what it makes, as tar would make it.
static void ReadMember(TarWalk *walk, char type, unsigned long long size, unsigned long long mode) {
    std::string given = walk->nextName.empty() ? HeaderName(walk->header) : walk->nextName;
    std::string givenLink =
        walk->nextLink.empty() ? Field(walk->header + 157, 100) : walk->nextLink;
    if (walk->nextSize >= 0)
        size = walk->nextSize;
    walk->nextName.clear();
    walk->nextLink.clear();
    walk->nextSize = -1;
    walk->members++;
    std::string name, link;
    PathKind kind = KindOf(type);
    if (!NormalisedName(given, &name) || (type == '1' && !NormalisedName(givenLink, &link)))
        return Break(walk, REASON_TAR_PARENT);
    if (kind == REGULAR_FILE && !given.empty() && given.back() == '/')
        return Break(walk, REASON_TAR_HEADER);
    if (const char *fault = PlacementFault(*walk, name, type, link))
        return Break(walk, fault);
    MadePath made = {kind, kind == REGULAR_FILE && (mode & 0100)};
    walk->made[name] = type == '1' ? walk->made[link] : made;
    walk->skip = HasData(type) ? Blocks(size) : 0;
    if (type == 'S' && walk->header[GNU_SPARSE_EXTENDED] != 0) {
        walk->sparseMap = true;
        walk->sparseData = walk->skip;
        walk->skip = 0;
    }
}

// Takes in a block that continues a GNU sparse member's map.
static void ReadSparseMap(TarWalk *walk) {
    if (walk->header[GNU_SPARSE_EXTENSION_EXTENDED] != 0)
        return;
    walk->sparseMap = false;
    walk->skip = walk->sparseData;
}

// Whether the number fields that tar reads from every header are readable;
// the size and the mode are kept.
static bool ReadNumbers(const unsigned char *header, unsigned long long *size,
                        unsigned long long *mode) {
    unsigned long long owner, group, time;
    return ParseNumber(header + 124, 12, size) && *size <= ~0ULL >> 1 &&
           ParseNumber(header + 100, 8, mode) && ParseNumber(header + 108, 8, &owner) &&
           ParseNumber(header + 116, 8, &group) && ParseNumber(header + 136, 12, &time);
}

// Takes in the header just gathered.
static void ReadHeader(TarWalk *walk) {
    const unsigned char *header = walk->header;
    if (walk->sparseMap)
        return ReadSparseMap(walk);
    if (std::all_of(header, header + TAR_BLOCK, [](unsigned char byte) { return byte == 0; })) {
        walk->ended = true; // the end-of-archive blocks; what follows is padding
        return;
    }
    unsigned long long size, mode;
    if (!ChecksumMatches(header))
        return Break(walk, REASON_TAR_HEADER);
    if (!ReadNumbers(header, &size, &mode))
        return Break(walk, REASON_TAR_NUMBER);
    char type = static_cast<char>(header[156]);
    if (type == 'L' || type == 'K' || type == 'x')
        StartExtension(walk, type, size);
    else if (type == 'g') // global pax records
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
        return walk.fault != nullptr ? walk.fault : REASON_TAR_HEADER;
    // tar takes a last header that the end cuts short for the end of the archive
    if (!walk.ended && (walk.skip > 0 || walk.sparseMap))
        return REASON_TAR_CUT;
    return nullptr;
}

// Whether the archive walked to its end makes an executable regular ./zorvane.
static bool MakesPlayer(const TarWalk &walk) {
    auto player = walk.made.find("zorvane");
    return player != walk.made.end() && player->second.kind == REGULAR_FILE &&
           player->second.executable;
}

// Decompresses and walks the payload of length bytes at the file's position;
// what is wrong with its gzip or zstd stream or its tar archive, or null.
static const char *WalkPayload(FILE *file, long long length, TarWalk *walk,
                               unsigned long long *unpacked) {
    const char *fault = PayloadIsZstd(file) ? DecodeZstdIntoWalk(file, length, walk, unpacked)
                                            : InflatePayload(file, length, walk, unpacked);
    return fault != nullptr ? fault : TarFault(*walk);
}

// What is wrong with the compressed stream or the tar archive of the payload of
// length bytes at the file's position, or null when both are sound.
const char *PayloadFault(FILE *file, long long length) {
    TarWalk walk;
    unsigned long long unpacked = 0;
    return WalkPayload(file, length, &walk, &unpacked);
}

// Checks the payload of length bytes at the file's position and gives the
// verdict on the installer's own file; the exit status.
int CheckPayload(FILE *self, long long length) {
    TarWalk walk;
    unsigned long long unpacked = 0;
    const char *fault = WalkPayload(self, length, &walk, &unpacked);
    if (fault != nullptr)
        ReportFormatted(MSG_PAYLOAD_CORRUPT, ppArgv[0], fault);
    else if (!MakesPlayer(walk))
        ReportFormatted(MSG_NO_PLAYER, ppArgv[0]);
    else
        printf(MSG_CHECK_SOUND "\n", ppArgv[0], length, unpacked, walk.members);
    return FailureReported() ? EXIT_FAILURE : EXIT_SUCCESS;
}
