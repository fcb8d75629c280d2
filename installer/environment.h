// What the installer takes from the process it was started by: signal
// dispositions, standard descriptors, the search path and the environment
// handed to gunzip and tar, and the way to its own file.
#ifndef ZORVANE_ENVIRONMENT_H
#define ZORVANE_ENVIRONMENT_H

#include <string>

// Undoes what a parent may have passed on that the installer relies on being
// the default: ignored or blocked child and broken-pipe signals, a closed
// standard descriptor that a later file would take the place of.
void SettleEnvironment(void);

// The path under which the installer's own file is opened: the kernel's
// name for the running program, or element 0 of ppArgv where there is none.
const char *OwnFilePath(void);

// Finds the program name in the absolute directories of PATH (the system's
// default path when PATH is unset); false when none holds it.
bool FindProgram(const char *name, std::string *path);

// The environment for gunzip and tar: the installer's own without the
// variables through which they take options.
char **ChildEnvironment(void);

#endif
