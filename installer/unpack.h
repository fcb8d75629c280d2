// Running the payload through "gunzip | tar", in the working directory.
#ifndef ZORVANE_UNPACK_H
#define ZORVANE_UNPACK_H

#include <cstdio>

// Streams the length bytes of payload that follow the file's position
// through gunzip into tar, which unpacks them; true when every byte went in
// and both programs succeeded.
bool UnpackPayload(FILE *file, long long length);

// The same with tar listing the members on the standard output, like tar tvf.
bool ListPayload(FILE *file, long long length);

// Stops the pipeline under way, if there is one: ends both programs and
// waits for them, so that nothing more is unpacked.
void StopUnpack(void);

#endif
