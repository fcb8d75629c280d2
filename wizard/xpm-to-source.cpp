// Checks a logo against the form that the wizard's pages show (an XPM 3
// image 100 by 236 pixels in 255 colours, 2 characters per pixel, so that
// its values line reads "100 236 255 2") and, given an output file, turns it
// into the compiled-in XPM data.
//   usage: xpm-to-source LOGO.xpm [OUTPUT.cpp]
#include <X11/xpm.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

static const char REQUIRED_VALUES[] = "100 236 255 2";

// Prints one broken rule, naming the file.
static void Complain(const char *file, const std::string &problem) {
    fprintf(stderr, "xpm-to-source: %s: %s\n", file, problem.c_str());
}

// Checks the image's size, colours, characters per pixel and extras.
static bool CheckLogo(const char *file, const XpmImage &image, const XpmInfo &info) {
    bool good = true;
    if (image.width != 100 || image.height != 236) {
        Complain(file, "the logo must be 100 by 236 pixels; it is " + std::to_string(image.width) +
                           " by " + std::to_string(image.height) + ".");
        good = false;
    }
    if (image.ncolors != 255) {
        Complain(file, "the logo must have exactly 255 colours; it has " +
                           std::to_string(image.ncolors) + ".");
        good = false;
    }
    if (image.cpp != 2) {
        Complain(file, "the logo must use 2 characters per pixel; it uses " +
                           std::to_string(image.cpp) + ".");
        good = false;
    }
    if ((info.valuemask & XpmHotspot) || info.nextensions > 0) {
        Complain(file, "the logo must have no hotspot and no extensions.");
        good = false;
    }
    return good;
}

// One string of the XPM data as a C++ string literal.
static std::string Literal(const char *s) {
    std::string out = "\"";
    for (; *s; s++) {
        if (*s == '"' || *s == '\\' || *s == '?')
            out += '\\';
        out += *s;
    }
    return out + "\"";
}

// Writes the XPM data as the definition of logo_xpm.
static bool WriteSource(const char *input, const char *output, const XpmImage &image, char **data) {
    std::ofstream out(output);
    out << "// Made from " << input << " by xpm-to-source.\n"
        << "extern const char *const logo_xpm[];\nconst char *const logo_xpm[] = {\n";
    unsigned int strings = 1 + image.ncolors + image.height;
    for (unsigned int i = 0; i < strings; i++)
        out << "    " << Literal(data[i]) << ",\n";
    out << "};\n";
    return static_cast<bool>(out.flush());
}

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: xpm-to-source LOGO.xpm [OUTPUT.cpp]\n");
        return 2;
    }
    XpmImage image;
    XpmInfo info = {};
    info.valuemask = XpmReturnInfos | XpmReturnExtensions;
    int status = XpmReadFileToXpmImage(argv[1], &image, &info);
    if (status != XpmSuccess) {
        Complain(argv[1],
                 std::string("not a readable XPM 3 image (") + XpmGetErrorString(status) + ").");
        return 1;
    }
    if (!CheckLogo(argv[1], image, info))
        return 1;
    char **data = nullptr;
    if (XpmCreateDataFromXpmImage(&data, &image, nullptr) != XpmSuccess ||
        strcmp(data[0], REQUIRED_VALUES) != 0) {
        Complain(argv[1], "the values line must read \"100 236 255 2\".");
        return 1;
    }
    if (argc == 3 && !WriteSource(argv[1], argv[2], image, data)) {
        Complain(argv[2], "cannot be written.");
        return 1;
    }
    return 0;
}
