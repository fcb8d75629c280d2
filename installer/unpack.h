// Running the payload through "gunzip | tar", in the working directory.
#ifndef ZORVANE_UNPACK_H
#define ZORVANE_UNPACK_H

#include <cstdio>

// Finds gunzip and tar on the search path for the pipelines to come; the
// name of the first that is missing, or null when both are there.
const char *MissingUnpacker(void);

// Streams the length bytes of payload that follow the file's position
// through gunzip into tar, which unpacks them; true when every byte went in
// and both programs succeeded.  A zstd payload is decoded in this process
// instead of by gunzip.  A signal that ends the program (Ctrl-C,
// kill, a hang-up) stops both programs and takes away a destination made
// for the unpack before it ends the program.
bool UnpackPayload(FILE *file, long long length);

// The same with tar listing the members on the standard output, like tar
// tvf.  A reader of that output that goes away ends the program as it ends
// tar (with status 1 and not a word where the broken-pipe signal is ignored).
bool ListPayload(FILE *file, long long length);

// Whether a signal has told the program to end while the pipeline runs; the
// feed stops then.
bool UnpackInterrupted(void);

// Stops the pipeline under way, if there is one: ends both programs and
// waits for them, so that nothing more is unpacked.
void StopUnpack(void);

#endif
