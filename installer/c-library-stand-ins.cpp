// Stand-ins for two parts of the C library that the self-contained image
// must not or need not carry.  dlopen: libX11 loads the cursor-theme library
// with it, and in a static program that would bring the machine's own
// libX11 and C library, of whatever version, into the process; refused
// here, libX11 draws X's core cursors, alike on every machine.  Regular
// expressions: Motif's file-selection filter is their only user, and the
// installer shows no file selection; every pattern is refused, which Motif
// takes as a directory with no matching entries.
#include <dlfcn.h>
#include <regex.h>

extern "C" {

// No shared library is ever loaded.
void *dlopen(const char *, int) noexcept { return nullptr; }
void *dlsym(void *__restrict, const char *__restrict) noexcept { return nullptr; }

// No pattern is ever compiled, so none is ever matched.
int regcomp(regex_t *__restrict, const char *__restrict, int) noexcept { return REG_ESPACE; }
int regexec(const regex_t *__restrict, const char *__restrict, size_t, regmatch_t *, int) noexcept {
    return REG_NOMATCH;
}
void regfree(regex_t *) noexcept {}
}
