// What root may install into: paths that no other user can change.
#ifndef ZORVANE_OWNERSHIP_H
#define ZORVANE_OWNERSHIP_H

#include <string>

// Whether a user other than root could change where path leads: false, with
// the component and why in component and reason, when the path passes
// through a symbolic link that another user owns, or a directory that
// another user owns or that others may write without the sticky bit.  Links
// that root owns are followed and their targets judged alike.
bool OnlyRootControls(const std::string &path, std::string *component, const char **reason);

// As root, whether the destination is one that only root controls; false,
// with the refusal reported, when it is not.  Other users pass.
bool DestinationSafeForRoot(const char *destination);

#endif
