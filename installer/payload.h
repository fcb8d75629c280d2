// Reading the payload out of the installer's own file: the image, then the
// payload of L bytes, then the trailer "\n" L "\n".
#ifndef ZORVANE_PAYLOAD_H
#define ZORVANE_PAYLOAD_H

#include <cstdio>

// The size of every read from the installer's file.
enum { BLOCK_SIZE = 8192 };

// Reads the trailer of file, stores the payload's length and leaves the file
// at the payload's first byte.  False when the trailer is damaged or missing.
bool FindPayload(FILE *file, long long *length);

// Writes the length bytes that follow the file's position into fd, one block
// at a time, keeping fPercentDone up to date.  False when the file ends early
// or fd stops taking the bytes.
bool FeedPayload(FILE *file, long long length, int fd);

#endif
