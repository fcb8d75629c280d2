// Every text the installer core shows, each defined once.  Those with %s
// take the path named in the comment above them.
#ifndef ZORVANE_MESSAGES_H
#define ZORVANE_MESSAGES_H

#define MSG_NO_DESTINATION "You must specify a destination directory."

// The installer's own file, three times.
#define MSG_EXECUTABLE_NOT_FOUND                                                                   \
    "unable to find location of executable %s to self-extract.  Please run \n%s with an "          \
    "absolute path (e.g. ./%s)\n"

// The installer's own file, twice.
#define MSG_EXECUTABLE_UNREADABLE "unable to read %s.  Please do chmod 0500 %s and try again\n"

// The destination.
#define MSG_CANNOT_MAKE_DIRECTORY "Can not make directory %s"

// The destination.
#define MSG_CANNOT_WRITE_DIRECTORY "Can not write to directory %s"

#define MSG_NO_WRITE_PERMISSION "You do not have write permission for the destination directory."

#define MSG_UNPACK_FAILED                                                                          \
    "Installation failed.  Perhaps the destination directory is unwriteable or you\nare out of "   \
    "disk space?\n"

// The installer's own file.
#define MSG_DAMAGED_INSTALLER                                                                      \
    "The installer file %s is damaged or incomplete (an interrupted download, perhaps); it "       \
    "holds no product that can be installed."

// The destination.
#define MSG_DESTINATION_NOT_DIRECTORY                                                              \
    "The destination %s is not a directory that can be entered; nothing was installed."

#define MSG_LAUNCH_FAILED "Installation failed for unknown reason"

// Motif asked for a JPEG image, which the installer cannot read.
#define MSG_NO_JPEG_SUPPORT "This installer does not read JPEG images."

#endif
