// The unpacking pipeline "gunzip | tar", run in the working directory.
#ifndef ZORVANE_UNPACK_H
#define ZORVANE_UNPACK_H

#include <sys/types.h>

// Starts gunzip feeding tar; returns the pipe into gunzip, or -1 when either
// program cannot be started.
int StartUnpack(pid_t *gunzip, pid_t *tar);

// Closes the pipe into gunzip and waits for both programs; true when both
// ended with status 0.
bool FinishUnpack(int input, pid_t gunzip, pid_t tar);

#endif
