// --check against GNU tar: hand-made archives that each judge with real
// gunzip | tar and with the installer's --check and -s, which must agree; -s
// takes its new destination away when no executable regular ./zorvane results.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string kEnd(1024, '\0');
const std::string kScript = "#!/bin/sh\n";

// A number field of width bytes: octal digits and a NUL.
std::string Octal(unsigned long long value, size_t width) {
    std::string digits(width - 1, '0');
    for (size_t i = width - 1; i-- > 0; value /= 8)
        digits[i] = static_cast<char>('0' + value % 8);
    return digits + '\0';
}

// A GNU tar header; fields replaces bytes (offset, bytes) before the checksum.
std::string Header(const std::string &name, unsigned long long size, char type = '0',
                   unsigned mode = 0755, const std::string &link = "",
                   const std::vector<std::pair<size_t, std::string>> &fields = {}) {
    std::string header(512, '\0');
    header.replace(0, name.size(), name);
    header.replace(100, 8, Octal(mode, 8));
    header.replace(108, 8, Octal(0, 8));
    header.replace(116, 8, Octal(0, 8));
    header.replace(124, 12, Octal(size, 12));
    header.replace(136, 12, Octal(1700000000, 12));
    header[156] = type;
    header.replace(157, link.size(), link);
    header.replace(257, 8, std::string("ustar  \0", 8));
    for (const auto &field : fields)
        header.replace(field.first, field.second.size(), field.second);
    header.replace(148, 8, std::string(8, ' '));
    unsigned sum = 0;
    for (unsigned char byte : header)
        sum += byte;
    header.replace(148, 7, Octal(sum, 7));
    return header;
}

// Member data padded to whole blocks.
std::string Data(const std::string &bytes) {
    return bytes + std::string((512 - bytes.size() % 512) % 512, '\0');
}

// A pax extended header of one record for the member that follows.
std::string Pax(const std::string &key, const std::string &value) {
    std::string record = " " + key + "=" + value + "\n";
    size_t length = record.size() + 1;
    while (std::to_string(length).size() + record.size() != length)
        length++;
    record = std::to_string(length) + record;
    return Header("./PaxHeaders/zorvane", record.size(), 'x', 0644) + Data(record);
}

// The player, an executable regular ./zorvane, with header fields replaced.
std::string Player(const std::vector<std::pair<size_t, std::string>> &fields = {},
                   const std::string &name = "./zorvane") {
    return Header(name, kScript.size(), '0', 0755, "", fields) + Data(kScript);
}

// A GNU sparse member of 4 chunks in its header and a fifth in an extension block.
std::string SparseMember() {
    std::vector<std::pair<size_t, std::string>> map;
    for (int i = 0; i < 4; i++) {
        map.push_back({386 + i * 24, Octal(i * 4096, 12)});
        map.push_back({398 + i * 24, Octal(512, 12)});
    }
    map.push_back({482, std::string(1, '\1')});
    map.push_back({483, Octal(9 * 4096, 12)});
    std::string extension(512, '\0');
    extension.replace(0, 12, Octal(8 * 4096, 12));
    extension.replace(12, 12, Octal(512, 12));
    return Header("./data", 5 * 512, 'S', 0644, "", map) + extension + std::string(5 * 512, 'x');
}

// Runs a shell command; its exit status.
int Shell(const std::string &command) {
    int status = system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A directory of its own, removed afterwards.
struct Scratch {
    std::string path;
    Scratch() {
        char pattern[] = "/tmp/check-test.XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Scratch() { Shell("rm -rf '" + path + "'"); }
};

// Writes the installer for the tar archive: image, gzip'd archive, trailer.
std::string MakeInstaller(const Scratch &scratch, const std::string &archive) {
    std::ofstream(scratch.path + "/case.tar", std::ios::binary) << archive;
    std::string installer = scratch.path + "/installer";
    EXPECT_EQ(Shell("cd '" + scratch.path + "' && gzip -n -c case.tar > case.gz && { cat '" +
                    INSTALLER_IMAGE + "' case.gz; printf '\\n%s\\n' $(wc -c < case.gz); } > " +
                    "installer && chmod 755 installer"),
              0);
    return installer;
}

// Whether real gunzip | tar unpacks the archive and leaves an executable
// regular ./zorvane.
bool TarMakesPlayer(const Scratch &scratch) {
    return Shell("cd '" + scratch.path +
                 "' && rm -rf unpacked && mkdir unpacked && cd unpacked && " +
                 "gunzip < ../case.gz | tar -xof - 2>/dev/null && [ -f zorvane ] && " +
                 "[ ! -L zorvane ] && [ -x zorvane ]") == 0;
}

struct ArchiveCase {
    const char *name;
    std::string archive;
    bool sound; // as GNU tar judges it
};

TEST(Check, AgreesWithGnuTarOnHandMadeArchives) {
    const std::string base256Size = std::string("\x80\0\0\0", 4) + std::string(8, '\xff');
    const ArchiveCase cases[] = {
        {"a plain player", Player() + kEnd, true},
        {"a uid that is no number", Player({{108, std::string("abcdefg\0", 8)}}) + kEnd, false},
        {"an mtime that is no number", Player({{136, "zzzzzzzzzzz"}}) + kEnd, false},
        {"a base-256 size of 2^64-1", Player({{124, base256Size}}) + kEnd, false},
        {"pax size=abc", Pax("size", "abc") + Player() + kEnd, false},
        {"pax mtime=xyz", Pax("mtime", "xyz") + Player() + kEnd, false},
        {"pax uid=-5", Pax("uid", "-5") + Player() + kEnd, false},
        {"pax mtime=-1.5", Pax("mtime", "-1.5") + Player() + kEnd, true},
        {"digits after a size's NUL",
         Player({{124, std::string("0000000012\0"
                                   "7",
                                   12)}}) +
             kEnd,
         true},
        {"blanks for a size", Header("./zorvane", 0, '0', 0755, "", {{124, "           "}}) + kEnd,
         true},
        {"a GNU sparse member whose map goes on in an extension block",
         Player() + SparseMember() + kEnd, true},
        {"cut inside the end-of-archive zeros", Player() + std::string(700, '\0'), true},
        {"cut inside the player's data", Header("./zorvane", 1000) + std::string(600, '#'), false},
        {"the player a hard link to an executable file",
         Header("./bin", 0, '5') + Player({}, "./bin/real") +
             Header("./zorvane", 0, '1', 0755, "./bin/real") + kEnd,
         true},
        {"the player a hard link to a file that is not executable",
         Player({{100, Octal(0644, 8)}}, "./real") + Header("./zorvane", 0, '1', 0755, "./real") +
             kEnd,
         false},
        {"the player a hard link to nothing", Header("./zorvane", 0, '1', 0755, "./real") + kEnd,
         false},
        {"the player named /zorvane", Player({}, "/zorvane") + kEnd, true},
        {"the player named a/../zorvane", Player({}, "a/../zorvane") + kEnd, false},
        {"the player named a/./zorvane", Player({}, "./a/./zorvane") + kEnd, false},
        {"./zorvane, then a directory ./zorvane/", Player() + Header("./zorvane/", 0, '5') + kEnd,
         false},
        {"./zorvane, then a file inside it",
         Player() + Header("./zorvane/x", 1, '0', 0644) + Data("x") + kEnd, false},
        {"a player of a type tar does not know",
         Header("./zorvane", kScript.size(), 'Q') + Data(kScript) + kEnd, true},
        {"the player a symbolic link", Header("./zorvane", 0, '2', 0777, "bin/real") + kEnd, false},
        {"no player", Header("./README", 0, '0', 0644) + kEnd, false},
    };
    for (const ArchiveCase &c : cases) {
        Scratch scratch;
        std::string installer = MakeInstaller(scratch, c.archive);
        EXPECT_EQ(TarMakesPlayer(scratch), c.sound) << c.name << ": GNU tar judges otherwise";
        EXPECT_EQ(Shell("'" + installer + "' --check > /dev/null 2>&1"), c.sound ? 0 : 1) << c.name;
        // -s keeps the same promise, and takes a destination it made away again
        std::string destination = scratch.path + "/destination";
        EXPECT_EQ(Shell("'" + installer + "' -s '" + destination + "' 2> /dev/null"),
                  c.sound ? 0 : 1)
            << c.name;
        struct stat made;
        EXPECT_EQ(lstat(destination.c_str(), &made) == 0, c.sound) << c.name;
    }
}

} // namespace
