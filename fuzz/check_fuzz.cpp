// libFuzzer target for the payload checker behind --check: an input whose
// first byte is even is taken as a payload as it is (a gzip or zstd stream); an odd
// one has the rest gzip'd first, so that the fuzzer reaches the tar reader.
// Build and run it with `make fuzz`.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

#include "installer.h"
#include "payload.h"

// The reporter and the state that --check's verdict uses, which the checker
// alone does not need.
char **ppArgv = nullptr;
void ReportFormatted(const char *, ...) {}
bool FailureReported(void) {
    return false;
}

// The unpack's side of the zstd decoder, which the checker never calls.
bool UnpackInterrupted(void) {
    return false;
}
bool WriteAll(int, const char *, size_t) {
    return false;
}
bool FeedPayloadTo(FILE *, long long, const BytesTaker &) {
    return false;
}

// The bytes gzip'd into one member.
static std::vector<unsigned char> Gzipped(const uint8_t *data, size_t size) {
    z_stream stream = {};
    deflateInit2(&stream, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&stream, size));
    stream.next_in = const_cast<uint8_t *>(data);
    stream.avail_in = size;
    stream.next_out = out.data();
    stream.avail_out = out.size();
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Checks one input as a payload.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    std::vector<unsigned char> payload = data[0] % 2
                                             ? Gzipped(data + 1, size - 1)
                                             : std::vector<unsigned char>(data + 1, data + size);
    if (payload.empty())
        return 0;
    FILE *file = fmemopen(payload.data(), payload.size(), "rb");
    if (file == nullptr)
        return 0;
    PayloadFault(file, payload.size());
    fclose(file);
    return 0;
}
