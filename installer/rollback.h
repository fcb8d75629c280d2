// Taking away, after a failed or cancelled install, the destination that
// this run made; a destination that existed before is never touched.
#ifndef ZORVANE_ROLLBACK_H
#define ZORVANE_ROLLBACK_H

// Remembers the directory just made for the install.
void RememberMadeDestination(const char *destination);

// Lets the remembered destination stay, whatever happens from now on.
void ForgetMadeDestination(void);

// Removes the remembered destination with all it holds, then forgets it.
// The removal never follows a symbolic link and never enters a directory on
// another mount.
void RemoveMadeDestination(void);

#endif
