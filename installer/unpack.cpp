// Running gunzip and tar, found on the search path, with a pipe between them;
// a zstd payload is decoded in this process and tar alone runs.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "environment.h"
#include "payload.h"
#include "rollback.h"
#include "unpack.h"
#include "zstd-payload.h"

enum { PIPE_CAPACITY = 1 << 20 };

static char gunzipName[] = "gunzip";
static char tarName[] = "tar";
static char extractFlags[] = "-xof";
static char listFlags[] = "-tvf";
static char standardInput[] = "-";
// keep the owners and modes of directories that exist already (the destination's own)
static char keepDirectories[] = "--no-overwrite-dir";
// busybox's tar has no such option: keeping every mode the process gives
// (umask applied) keeps an existing directory's, and -o keeps its owner
static char keepProcessModes[] = "--no-same-permissions";
static char *gunzipArguments[] = {gunzipName, nullptr};
static char *gnuExtractArguments[] = {tarName, extractFlags, standardInput, keepDirectories,
                                      nullptr};
static char *busyboxExtractArguments[] = {tarName, extractFlags, standardInput,
                                          keepProcessModes, nullptr};
static char *listArguments[] = {tarName, listFlags, standardInput, nullptr};

// The signals that end a program from outside: Ctrl-C, kill, a hang-up.
static const int INTERRUPTIONS[] = {SIGINT, SIGTERM, SIGHUP};
enum { INTERRUPTION_COUNT = sizeof INTERRUPTIONS / sizeof INTERRUPTIONS[0] };

// The programs of the pipeline under way, -1 when none runs, and the signal
// that interrupted it, 0 while none has.
static pid_t nGunzip = -1, nTar = -1;
static volatile sig_atomic_t nInterruption = 0;
// The signal that ended tar in the last pipeline, 0 if none did.
static int nTarKiller = 0;

// gunzip and tar as found on the search path before the unpack; empty
// while not found.
static std::string sGunzipPath, sTarPath;

// Finds gunzip and tar; the name of the first missing, or null.
const char *MissingUnpacker(void) {
    if (!FindProgram(gunzipName, &sGunzipPath))
        return gunzipName;
    if (!FindProgram(tarName, &sTarPath))
        return tarName;
    return nullptr;
}

// Starts the program at path with the given standard input, output and
// error output (-1: inherited), its signals as a program expects them;
// returns its process id, or -1.
static pid_t Spawn(const std::string &path, char *arguments[], int input, int output,
                   int errors = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    if (output >= 0)
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (errors >= 0)
        posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    int failed = path.empty() || posix_spawn(&pid, path.c_str(), &actions, &attributes, arguments,
                                             ChildEnvironment());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// Waits for a program; true when it ended with status 0.  The signal that
// ended it, if one did, goes to killer.  Once the program has been told to
// end, it ends the program waited for first.
static bool Succeeded(pid_t pid, int *killer = nullptr) {
    if (pid < 0)
        return false;
    int status;
    for (;;) {
        if (nInterruption != 0)
            kill(pid, SIGKILL);
        if (waitpid(pid, &status, 0) == pid)
            break;
        if (errno != EINTR)
            return false;
    }
    if (killer != nullptr)
        *killer = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Opens a pipe whose ends are not inherited, widened where the system allows
// so that a stage can run ahead of the next instead of waiting on it.
static int OpenPipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    fcntl(ends[1], F_SETPIPE_SZ, PIPE_CAPACITY);
    return 0;
}

// Closes the pipe into gunzip and waits for both programs; true when both
// ended with status 0.
static bool FinishPipeline(int input) {
    close(input);
    bool gunzipSucceeded = Succeeded(nGunzip);
    bool tarSucceeded = Succeeded(nTar, &nTarKiller);
    nGunzip = nTar = -1;
    return gunzipSucceeded && tarSucceeded;
}

// Starts the pipeline gunzip | tar with tar's arguments; returns the pipe
// into gunzip, or -1 when either program cannot be started.
static int StartPipeline(char *tarArguments[]) {
    int feed[2], link[2];
    if (OpenPipe(feed) != 0)
        return -1;
    if (OpenPipe(link) != 0) {
        close(feed[0]);
        close(feed[1]);
        return -1;
    }
    nGunzip = Spawn(sGunzipPath, gunzipArguments, feed[0], link[1]);
    nTar = Spawn(sTarPath, tarArguments, link[0], -1);
    close(feed[0]);
    close(link[0]);
    close(link[1]);
    if (nGunzip < 0 || nTar < 0) {
        FinishPipeline(feed[1]);
        return -1;
    }
    return feed[1];
}

// Notes a signal that tells the program to end; the pipeline stops at its
// next step.
static void Interrupt(int signal) {
    nInterruption = signal;
}

// Whether a signal has told the program to end while the pipeline runs.
bool UnpackInterrupted(void) {
    return nInterruption != 0;
}

// Catches the signals that end a program, those ignored aside, and keeps
// the dispositions they had.
static void CatchInterruptions(struct sigaction previous[]) {
    struct sigaction catching = {};
    catching.sa_handler = Interrupt; // no restart: a blocked write or wait returns
    sigemptyset(&catching.sa_mask);
    for (int i = 0; i < INTERRUPTION_COUNT; i++) {
        sigaction(INTERRUPTIONS[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN)
            sigaction(INTERRUPTIONS[i], &catching, nullptr);
    }
}

// Gives the signals back their dispositions; one that came meanwhile ends the
// program now, as it would have, once a destination made for the unpack is gone.
static void ReleaseInterruptions(const struct sigaction previous[]) {
    for (int i = 0; i < INTERRUPTION_COUNT; i++)
        sigaction(INTERRUPTIONS[i], &previous[i], nullptr);
    if (nInterruption != 0) {
        RemoveMadeDestination();
        raise(nInterruption);
    }
}

// Feeds the payload through gunzip into tar run with the given arguments.
static bool GunzipIntoTar(char *tarArguments[], FILE *file, long long length) {
    int input = StartPipeline(tarArguments);
    bool fed = input >= 0 && FeedPayload(file, length, input);
    bool finished = input >= 0 && FinishPipeline(input);
    return fed && finished;
}

// Whether tar takes the given arguments: it unpacks an empty archive (two
// zero blocks, which make nothing) with them.  Its output goes into a pipe
// that nobody reads, so that a complaint, the only thing it would write,
// also ends it by the broken-pipe signal.
static bool TarAccepts(char *arguments[]) {
    static const char emptyArchive[1024] = {};
    int feed[2], words[2];
    if (OpenPipe(feed) != 0)
        return false;
    if (OpenPipe(words) != 0) {
        close(feed[0]);
        close(feed[1]);
        return false;
    }
    close(words[0]);
    bool fed = write(feed[1], emptyArchive, sizeof emptyArchive) == sizeof emptyArchive;
    close(feed[1]);
    pid_t pid = fed ? Spawn(sTarPath, arguments, feed[0], words[1], words[1]) : -1;
    close(feed[0]);
    close(words[1]);
    return Succeeded(pid);
}

// tar's extract arguments as the tar at hand takes them: GNU tar's, else
// busybox's.  Both take no owner from the archive and leave an existing
// destination's owner and mode alone.
static char **ExtractArguments(void) {
    return TarAccepts(gnuExtractArguments) ? gnuExtractArguments : busyboxExtractArguments;
}

// Decodes the zstd payload in this process into tar run with the given
// arguments.
static bool DecodeIntoTar(char *tarArguments[], FILE *file, long long length) {
    int feed[2];
    if (OpenPipe(feed) != 0)
        return false;
    nTar = Spawn(sTarPath, tarArguments, feed[0], -1);
    close(feed[0]);
    bool fed = nTar >= 0 && DecodeZstdInto(file, length, feed[1]);
    close(feed[1]);
    bool finished = Succeeded(nTar, &nTarKiller);
    nTar = -1;
    return fed && finished;
}

// Unpacks the payload, as its first bytes tell, into tar run with the given
// arguments.
static bool RunPipeline(char *tarArguments[], FILE *file, long long length) {
    struct sigaction previous[INTERRUPTION_COUNT];
    CatchInterruptions(previous);
    bool unpacked = PayloadIsZstd(file) ? DecodeIntoTar(tarArguments, file, length)
                                        : GunzipIntoTar(tarArguments, file, length);
    ReleaseInterruptions(previous);
    return unpacked;
}

// Unpacks the payload into the working directory.
bool UnpackPayload(FILE *file, long long length) {
    return RunPipeline(ExtractArguments(), file, length);
}

// Lists the payload's members on the standard output.
bool ListPayload(FILE *file, long long length) {
    bool listed = RunPipeline(listArguments, file, length);
    if (nTarKiller == SIGPIPE) { // the reader of the listing went away
        raise(SIGPIPE);
        exit(EXIT_FAILURE);
    }
    return listed;
}

// Ends the pipeline under way, if any, before it unpacks any more.
void StopUnpack(void) {
    for (pid_t pid : {nGunzip, nTar}) {
        if (pid < 0)
            continue;
        kill(pid, SIGKILL);
        Succeeded(pid);
    }
    nGunzip = nTar = -1;
}
