// Stand-ins for what the self-contained image must not or need not carry,
// and the name look-ups that it keeps within itself.
// dlopen: libX11 loads the cursor-theme library with it, and in a static
// program that would bring the machine's own libX11 and C library, of
// whatever version, into the process; refused here, libX11 draws X's core
// cursors, alike on every machine.  Regular expressions: Motif's
// file-selection filter is their only user, and the installer shows no file
// selection; every pattern is refused, which Motif takes as a directory with
// no matching entries.  Session management: only Xt's session shell talks
// to a session manager, and the installer's shell is an application shell;
// none is ever reached, as where none runs.  Linked before the libraries,
// these keep out the C library's loader entry points, its regex engine, and
// libSM and libICE with the name look-ups they bring.
#include <cstdio>
#include <dlfcn.h>
#include <nss.h>
#include <regex.h>

#include <X11/SM/SMlib.h>

// Keeps the user and host look-ups (Motif's and Xt's home without HOME, a
// display named by host) to the sources that the image carries: the files
// in /etc and DNS.  Any other source that /etc/nsswitch.conf names (compat,
// systemd, sss, ...) is a module of the machine's C library, and loading
// one of another version crashes a static program.  Runs before main.
__attribute__((constructor)) static void KeepNameLookupsInImage(void) {
    __nss_configure_lookup("passwd", "files");
    __nss_configure_lookup("group", "files");
    __nss_configure_lookup("hosts", "files dns");
    __nss_configure_lookup("services", "files");
}

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

// No connection to a session manager is ever opened.
SmcConn SmcOpenConnection(char *, SmPointer, int, int, unsigned long, SmcCallbacks *, const char *,
                          char **clientId, int errorLength, char *error) {
    if (clientId != nullptr)
        *clientId = nullptr;
    if (error != nullptr && errorLength > 0)
        snprintf(error, errorLength, "no session management in this program");
    return nullptr;
}

// With no connection, there is nothing to say to a session manager.
SmcCloseStatus SmcCloseConnection(SmcConn, int, char **) { return SmcClosedNow; }
void SmcModifyCallbacks(SmcConn, unsigned long, SmcCallbacks *) {}
void SmcSetProperties(SmcConn, int, SmProp **) {}
void SmcDeleteProperties(SmcConn, int, char **) {}
Status SmcInteractRequest(SmcConn, int, SmcInteractProc, SmPointer) { return 0; }
Status SmcRequestSaveYourselfPhase2(SmcConn, SmcSaveYourselfPhase2Proc, SmPointer) { return 0; }
void SmcInteractDone(SmcConn, Bool) {}
void SmcSaveYourselfDone(SmcConn, Bool) {}
char *SmcClientID(SmcConn) { return nullptr; }
IceConn SmcGetIceConnection(SmcConn) { return nullptr; }
IceProcessMessagesStatus IceProcessMessages(IceConn, IceReplyWaitInfo *, Bool *) {
    return IceProcessMessagesConnectionClosed;
}
int IceConnectionNumber(IceConn) { return -1; }
}
