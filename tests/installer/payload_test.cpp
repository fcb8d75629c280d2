// The installer's reading of its own file: the trailer rules, the arithmetic
// of the example file, the block-by-block feed, and a real unpack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "environment.h"
#include "installer.h"
#include "payload.h"

// The installer's own file is the one that the test names, not this test program.
const char *OwnFilePath(void) {
    return ppArgv[0];
}

namespace {

// The example installer: 5,890,331 bytes, an image of 1,090,640, a payload of
// 4,799,682 and the trailer "\n4799682\n".
const long long kImageSize = 1090640;
const long long kPayloadSize = 4799682;
const char kTrailer[] = "\n4799682\n";

// A directory of its own for each test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        char pattern[] = "/tmp/payload-test.XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir() { Run("rm -rf '" + path + "'"); }
    std::string operator/(const std::string &name) const { return path + "/" + name; }
    std::string path;

    static int Run(const std::string &command) { return system(command.c_str()); }
};

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// An image of the given size: bytes that look nothing like a trailer.
std::string Image(long long size) {
    std::string image(size, '\0');
    for (long long i = 0; i < size; i++)
        image[i] = static_cast<char>("\x7f"
                                     "ELF\n 123"[i % 8]);
    return image;
}

// A real gzip'd tar of a product (./zorvane and a data file of random bytes),
// padded to exactly size bytes with a gzip header comment, which gunzip skips.
std::string GzipOfExactSize(const TempDir &dir, long long size) {
    TempDir::Run("mkdir -p '" + dir / "product" + "' && cd '" + dir / "product" +
                 "' && printf '#!/bin/sh\\n' > zorvane && chmod 755 zorvane && "
                 "head -c 4600000 /dev/urandom > data && "
                 "tar -cf - ./zorvane ./data | gzip -n -1 > '" +
                 dir / "plain.gz" + "'");
    std::string plain = ReadFile(dir / "plain.gz");
    long long comment = size - static_cast<long long>(plain.size()) - 1;
    EXPECT_GT(comment, 0);
    std::string padded = plain.substr(0, 10) + std::string(comment, 'c') + '\0' + plain.substr(10);
    padded[3] = 0x10; // FCOMMENT
    return padded;
}

// Opens a file whose trailer is to be read.
FILE *Open(const std::string &path) {
    FILE *file = fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr) << path;
    return file;
}

// What FindPayload makes of the file at path: the payload's length and the
// file position it leaves behind, or -1 and -1 when it refuses the file.
using Found = std::pair<long long, long long>;

Found Locate(const std::string &path) {
    FILE *file = Open(path);
    long long length = 0;
    Found found(-1, -1);
    if (FindPayload(file, &length))
        found = {length, ftello(file)};
    fclose(file);
    return found;
}

struct TrailerCase {
    const char *name;
    std::string tail;
};

TEST(Trailer, ExampleFileHasItsPayloadRightAfterTheImage) {
    TempDir dir;
    WriteFile(dir / "installer", Image(kImageSize) + std::string(kPayloadSize, 'p') + kTrailer);
    EXPECT_EQ(Locate(dir / "installer"), Found(kPayloadSize, kImageSize));
}

TEST(Trailer, SmallFileIsReadFromItsStart) {
    TempDir dir;
    WriteFile(dir / "installer", "P\n1\n");
    EXPECT_EQ(Locate(dir / "installer"), Found(1, 0));
}

TEST(Trailer, DamagedTrailersAreRefused) {
    const TrailerCase cases[] = {
        {"empty file", ""},
        {"no newline in the last block", Image(200) + std::string(9000, '7') + "\n"},
        {"newline only before the last block", "\n" + std::string(9000, '7') + "\n"},
        {"no digits", Image(200) + "\nabc\n"},
        {"blanks only", Image(200) + "\n   \n"},
        {"text after the digits", Image(200) + "\n12abc\n"},
        {"zero length", Image(200) + "\n0\n"},
        {"negative length", Image(200) + "\n-12\n"},
        {"length beyond the file", Image(200) + "\n201\n"},
        {"length beyond 64 bits", Image(200) + "\n99999999999999999999999\n"},
        {"only the closing newline", "\n"},
        {"blanks before the digits", Image(200) + "\n  12\n"},
        {"a plus sign", Image(200) + "\n+12\n"},
        {"no closing newline", Image(200) + "\n12"},
        {"a byte in place of the closing newline", Image(200) + "\n12x"},
        {"a byte after the closing newline", Image(200) + "\n12\nx"},
        {"a blank before the closing newline", Image(200) + "\n12 \n"},
    };
    TempDir dir;
    for (const TrailerCase &c : cases) {
        WriteFile(dir / "installer", c.tail);
        EXPECT_EQ(Locate(dir / "installer"), Found(-1, -1)) << c.name;
    }
}

// Whether the file's end from offset on is exactly a trailer for length: the
// opening newline, the digits of length (leading zeros allowed) and the
// closing newline, all within the last block.
bool TrailerReadsBack(const std::string &file, size_t offset, long long length) {
    if (offset + 2 >= file.size() || file[offset] != '\n' || file.back() != '\n' ||
        file.size() - offset > BLOCK_SIZE)
        return false;
    std::string digits = file.substr(offset + 1, file.size() - offset - 2);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    return digits == std::to_string(length);
}

TEST(Trailer, RandomTailsNeverYieldALengthThatDoesNotFit) {
    std::mt19937 random(7);
    auto pick = [&random](long long low, long long high) {
        return std::uniform_int_distribution<long long>(low, high)(random);
    };
    const std::string likely("\n\n  \t0123456789+-x\0", 20);
    const std::string endings[] = {"\n", "", "x", "\n\n", " \n"};
    int accepted = 0;
    for (int round = 0; round < 5000; round++) {
        std::string tail(pick(1, BLOCK_SIZE + 500), '\0');
        for (char &byte : tail)
            byte =
                pick(0, 3) ? likely[pick(0, likely.size() - 1)] : static_cast<char>(pick(0, 255));
        std::string file = std::string(pick(0, 3000), 'p') + tail;
        // a sound trailer, or one whose number and ending are anything
        bool sound = pick(0, 2) == 0;
        long long length = sound ? pick(1, file.size()) : pick(-5, file.size() * 2);
        std::string number =
            sound || pick(0, 9) ? std::to_string(length) : std::string(pick(1, 30), '9');
        file += "\n" + std::string(sound ? 0 : pick(0, 3), ' ') + (sound || pick(0, 5) ? "" : "+") +
                number +
                (sound ? "\n" : endings[pick(0, std::size(endings) - 1)]);

        FILE *memory = fmemopen(&file[0], file.size(), "rb");
        ASSERT_NE(memory, nullptr);
        long long found = 0;
        bool taken = FindPayload(memory, &found);
        long long offset = ftello(memory);
        fclose(memory);
        if (sound) {
            ASSERT_TRUE(taken) << "round " << round;
            ASSERT_EQ(found, length) << "round " << round;
        }
        if (!taken)
            continue;
        accepted++;
        ASSERT_GT(found, 0) << "round " << round;
        ASSERT_GE(offset, 0) << "round " << round;
        ASSERT_TRUE(TrailerReadsBack(file, offset + found, found))
            << "round " << round << ": length " << found << " at " << offset;
    }
    EXPECT_GT(accepted, 1500) << accepted;
}

TEST(Trailer, NoCutPointOfAnInterruptedDownloadIsTakenForATrailer) {
    std::mt19937 random(15);
    std::string installer = Image(3000);
    for (int i = 0; i < 300000; i++)
        installer += static_cast<char>(random());
    installer += "\n300000\n";
    int taken = 0;
    for (size_t cut = 1; cut < installer.size(); cut++) {
        FILE *memory = fmemopen(&installer[0], cut, "rb");
        long long length;
        taken += FindPayload(memory, &length);
        fclose(memory);
    }
    EXPECT_EQ(taken, 0);
}

TEST(Trailer, OffsetsAndLengthsBeyond2GiBAreExact) {
    TempDir dir;
    const long long payload = 2500000000LL;
    const std::string trailer = "\n2500000000\n";
    const long long image = 2200000000LL;
    int fd = open((dir / "installer").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(ftruncate(fd, image + payload), 0); // sparse: no disk spent
    ASSERT_EQ(pwrite(fd, trailer.data(), trailer.size(), image + payload),
              static_cast<ssize_t>(trailer.size()));
    close(fd);
    EXPECT_EQ(Locate(dir / "installer"), Found(payload, image));
}

TEST(Feed, ExampleFileFeedsThePayloadAndNotOneByteOfTheTrailer) {
    TempDir dir;
    std::string payload(kPayloadSize, '\0');
    for (long long i = 0; i < kPayloadSize; i++)
        payload[i] = static_cast<char>(i * 7919 % 251);
    WriteFile(dir / "installer", Image(kImageSize) + payload + kTrailer);
    FILE *file = Open(dir / "installer");
    long long length = 0;
    ASSERT_TRUE(FindPayload(file, &length));

    int out = open((dir / "fed").c_str(), O_WRONLY | O_CREAT, 0600);
    fPercentDone = 0;
    EXPECT_TRUE(FeedPayload(file, length, out));
    close(out);
    EXPECT_TRUE(feof(file)) << "the reads go on to the end of the file";
    fclose(file);

    std::string fed = ReadFile(dir / "fed");
    EXPECT_EQ(fed.size(), static_cast<size_t>(kPayloadSize));
    EXPECT_TRUE(fed == payload);
    EXPECT_EQ(fPercentDone, 100.0f);
}

TEST(Feed, ReaderThatGoesAwayFailsTheFeedButNotTheProcess) {
    TempDir dir;
    WriteFile(dir / "installer", Image(100) + std::string(200000, 'p') + "\n200000\n");
    FILE *file = Open(dir / "installer");
    long long length = 0;
    ASSERT_TRUE(FindPayload(file, &length));
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]);
    EXPECT_FALSE(FeedPayload(file, length, pipeEnds[1]));
    close(pipeEnds[1]);
    fclose(file);

    struct sigaction now;
    sigaction(SIGPIPE, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "the broken-pipe signal is left as it was";
}

TEST(Feed, FileThatEndsBeforeThePayloadDoesFails) {
    TempDir dir;
    WriteFile(dir / "installer", std::string(1000, 'p'));
    FILE *file = Open(dir / "installer");
    int out = open((dir / "fed").c_str(), O_WRONLY | O_CREAT, 0600);
    EXPECT_FALSE(FeedPayload(file, 5000, out));
    close(out);
    fclose(file);
    EXPECT_EQ(ReadFile(dir / "fed").size(), 1000u);
}

TEST(Extract, ExampleFileUnpacksThroughRealGunzipAndTar) {
    TempDir dir;
    std::string payload = GzipOfExactSize(dir, kPayloadSize);
    ASSERT_EQ(static_cast<long long>(payload.size()), kPayloadSize);
    std::string installer = dir / "installer";
    WriteFile(installer, Image(kImageSize) + payload + kTrailer);
    ASSERT_EQ(ReadFile(installer).size(), 5890331u);
    ASSERT_EQ(mkdir((dir / "destination").c_str(), 0755), 0);

    char *argv[] = {&installer[0], nullptr};
    ppArgv = argv;
    bIsSilent = 1;
    fPercentDone = 0;
    char here[PATH_MAX];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    std::string destination = dir / "destination";
    Extract(&destination[0]);
    ASSERT_EQ(chdir(here), 0);

    EXPECT_FALSE(FailureReported());
    EXPECT_EQ(fPercentDone, 100.0f);
    EXPECT_TRUE(ReadFile(dir / "destination/data") == ReadFile(dir / "product/data"));
    struct stat player;
    ASSERT_EQ(stat((dir / "destination/zorvane").c_str(), &player), 0);
    EXPECT_EQ(player.st_mode & 07777, 0755u);
}

} // namespace
