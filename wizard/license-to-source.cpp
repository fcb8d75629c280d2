// Checks a license agreement against the form that the license page shows
// (exactly 24,409 characters in 709 lines, each ending in a newline, at most
// 40 columns wide with tabs to the next multiple of 8, the first line empty)
// and, given an output file, turns it into the compiled-in string.
//   usage: license-to-source LICENSE.txt [OUTPUT.cpp]
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

static const size_t REQUIRED_CHARACTERS = 24409;
static const size_t REQUIRED_LINES = 709;
static const int MAX_COLUMNS = 40;
static const int TAB_WIDTH = 8;

// Prints one broken rule, naming the file.
static void Complain(const std::string &file, const std::string &problem) {
    fprintf(stderr, "license-to-source: %s: %s\n", file.c_str(), problem.c_str());
}

// Width of a line on screen, a tab advancing to the next multiple of 8.
static int Columns(const std::string &line) {
    int column = 0;
    for (char c : line)
        column = c == '\t' ? (column / TAB_WIDTH + 1) * TAB_WIDTH : column + 1;
    return column;
}

// True for the characters a line may hold: printable ASCII and the tab.
static bool Allowed(unsigned char c) {
    return c == '\t' || (c >= 0x20 && c <= 0x7e);
}

// Checks every line; reports the first line that breaks each rule.
static bool CheckLines(const std::string &file, const std::string &text) {
    bool good = true, reportedWidth = false, reportedCharacter = false;
    std::istringstream lines(text);
    std::string line;
    for (size_t number = 1; std::getline(lines, line); number++) {
        if (number == 1 && !line.empty()) {
            Complain(file, "the first line must be empty.");
            good = false;
        }
        if (!reportedWidth && Columns(line) > MAX_COLUMNS) {
            Complain(file, "line " + std::to_string(number) + " is " +
                               std::to_string(Columns(line)) +
                               " columns wide; at most 40 are allowed (a tab advances to the "
                               "next multiple of 8).");
            good = false;
            reportedWidth = true;
        }
        for (unsigned char c : line) {
            if (!reportedCharacter && !Allowed(c)) {
                char problem[128];
                snprintf(problem, sizeof problem,
                         "line %zu holds the byte 0x%02x; only printable ASCII and tabs are "
                         "allowed.",
                         number, c);
                Complain(file, problem);
                good = false;
                reportedCharacter = true;
            }
        }
    }
    return good;
}

// Checks the length, the line count, the final newline and every line.
static bool CheckLicense(const std::string &file, const std::string &text) {
    bool good = CheckLines(file, text);
    if (text.size() != REQUIRED_CHARACTERS) {
        Complain(file, "the text must be exactly 24409 characters long; it has " +
                           std::to_string(text.size()) + ".");
        good = false;
    }
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    if (lines != REQUIRED_LINES) {
        Complain(file,
                 "the text must have exactly 709 lines; it has " + std::to_string(lines) + ".");
        good = false;
    }
    if (text.empty() || text.back() != '\n') {
        Complain(file, "the last line must end in a newline.");
        good = false;
    }
    return good;
}

// The text as a C++ string literal, one source line per text line.
static std::string Literal(const std::string &text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\' || c == '?')
            out += '\\', out += c;
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n\"\n\"";
        else
            out += c;
    }
    return out + "\"";
}

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: license-to-source LICENSE.txt [OUTPUT.cpp]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        Complain(argv[1], "cannot be read.");
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!CheckLicense(argv[1], text))
        return 1;
    if (argc == 3) {
        std::ofstream out(argv[2]);
        out << "// Made from " << argv[1] << " by license-to-source.\n"
            << "extern const char license_text[];\nconst char license_text[] =\n"
            << Literal(text) << ";\n";
        if (!out.flush()) {
            Complain(argv[2], "cannot be written.");
            return 1;
        }
    }
    return 0;
}
