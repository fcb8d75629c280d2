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

// The destination, the megabytes that the product needs and those free there.
#define MSG_NOT_ENOUGH_SPACE                                                                       \
    "There is not enough free space in %s: the product needs %llu MB and only %llu MB are free; "  \
    "nothing was installed."

// The installer's own file (after the toolkit's own line).
#define MSG_NO_DISPLAY                                                                             \
    "The installer's window needs an X display and none could be opened; to install without "      \
    "one, run: %s -s DIRECTORY"

// The installer's own file, the payload's length, the length of the archive
// it holds and the archive's member count.
#define MSG_CHECK_SOUND                                                                            \
    "The installer file %s is sound: its payload of %lld bytes holds a tar archive of %llu bytes " \
    "with %llu members, the player ./zorvane among them."

// The installer's own file and what is wrong with the payload, in words
// like gzip's, zstd's and tar's own.
#define MSG_PAYLOAD_CORRUPT                                                                        \
    "The installer file %s has a corrupt payload (%s); it cannot install the product."

// What can be wrong with a payload, beside the words of the gzip and zstd
// libraries.
#define REASON_GZIP_CUT "unexpected end of the gzip stream"
#define REASON_GZIP_TRAILING "trailing garbage after the gzip stream"
#define REASON_ZSTD_CUT "unexpected end of the zstd stream"
#define REASON_TAR_HEADER "unreadable tar header"
#define REASON_TAR_CUT "unexpected end of the tar archive"
#define REASON_NO_MEMORY "out of memory"
#define REASON_TAR_NUMBER "a number field of a tar header that tar cannot read"
#define REASON_PAX_RECORD "a pax record that tar refuses"
#define REASON_TAR_PARENT "a member name with a '..' component, which tar refuses"
#define REASON_TAR_INSIDE_FILE "a member inside one that is a file"
#define REASON_TAR_HARD_LINK "a hard link to no file made before it"

// The installer's own file and its damaged part (PART_IMAGE or PART_PAYLOAD).
#define MSG_PART_DAMAGED                                                                           \
    "The installer file %s is damaged: its %s does not match the SHA-256 checksum recorded when "  \
    "it was made; it cannot install the product."
#define PART_IMAGE "image"
#define PART_PAYLOAD "payload"

// The installer's own file.
#define MSG_CHECKSUM_BLOCK_DAMAGED                                                                 \
    "The installer file %s is damaged: its checksum block cannot be read; it cannot install the "  \
    "product."

// The product's version, recorded when the installer was made: after MSG_VERSION.
#define MSG_PRODUCT_VERSION ", product version %s"

// The installer's own file.
#define MSG_NO_PLAYER                                                                              \
    "The installer file %s holds no player: its payload has no executable ./zorvane, so it "       \
    "cannot install the product."

// The installer's own file.
#define MSG_LIST_FAILED                                                                            \
    "The payload of the installer file %s could not be listed in full; it is damaged."

// The program that the unpack needs and that the search path lacks.
#define MSG_PROGRAM_MISSING                                                                        \
    "The program %s, which the installer needs to unpack the product, is not in any "              \
    "directory of the search path (PATH)."

// --list when tar could not write the listing of a sound payload.
#define MSG_LIST_NOT_WRITTEN                                                                       \
    "The list of the product's files could not be written to the standard output."

// What the system said when the standard output refused an option's text.
#define MSG_OUTPUT_FAILED "The installer could not write to its standard output (%s)."

// As root: the destination, the component of its path that another user
// could change, and why (one of the REASON_ texts below).
#define MSG_UNSAFE_FOR_ROOT                                                                        \
    "As root, the installer does not install into %s: its path passes through %s, %s, so "         \
    "another user could send the product elsewhere; nothing was installed."
#define REASON_LINK_OF_OTHER_USER "a symbolic link that another user owns"
#define REASON_DIRECTORY_OF_OTHER_USER "a directory that another user owns"
#define REASON_DIRECTORY_OPEN_TO_OTHERS "a directory that other users may write"

// The installer's version.
#define MSG_VERSION "Zorvane 8, installer version %s"

// The usage text of --help, around the table of options.  The installer's
// own file.
#define HELP_INTRO                                                                                 \
    "This file installs the Zorvane 8 media player.  It holds the installer, the\n"                \
    "product as a tar payload compressed by gzip or zstd, and a trailer line with\n"               \
    "the payload's length.\n"                                                                      \
    "\n"                                                                                           \
    "Usage: %s [OPTION]\n"                                                                         \
    "\n"                                                                                           \
    "With no option the installer opens its window, the wizard, on the X display.\n"               \
    "The X toolkit's options work there, such as -display HOST:0 for another display\n"            \
    "and -xrm 'ZorvaneInstaller*RESOURCE: VALUE' for a resource.  The installer's\n"               \
    "own options need no display; each stands alone on the command line:\n"                        \
    "\n"

#define HELP_STATUSES                                                                              \
    "\n"                                                                                           \
    "Exit status: 0 when the install or the option succeeded (for --check: the file\n"             \
    "is sound) and when the wizard is cancelled; 1 on any failure, a damaged file or\n"            \
    "no display included.\n"

// Motif asked for a JPEG image, which the installer cannot read.
#define MSG_NO_JPEG_SUPPORT "This installer does not read JPEG images."

#endif
