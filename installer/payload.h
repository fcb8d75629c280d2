// Reading the payload out of the installer's own file: the image, then the
// payload of L bytes, then the trailer "\n" L "\n".
#ifndef ZORVANE_PAYLOAD_H
#define ZORVANE_PAYLOAD_H

#include <cstdio>
#include <functional>
#include <string>

// The size of every read from the installer's file.
enum { BLOCK_SIZE = 8192 };

// Reads the trailer of file, stores the payload's length and leaves the file
// at the payload's first byte.  False unless the file ends in exactly a
// newline, decimal digits and a newline, worth a length that fits before them.
bool FindPayload(FILE *file, long long *length);

// Opens the installer's own file at its payload's first byte and stores the
// payload's length; null, with the message for the user in failure, when
// the file cannot be read or holds no payload.
FILE *OpenPayload(long long *length, std::string *failure);

// Reads the length of the payload's contents as its gzip trailer records it
// (modulo 2^32) from the payload of length bytes at the file's position,
// which stays where it is.  False when it cannot be read.
bool RecordedUnpackedLength(FILE *file, long long length, unsigned long long *unpacked);

// Takes a run of bytes; false when it cannot, which ends the stream.
using BytesTaker = std::function<bool(const char *data, size_t count)>;

// Writes the length bytes that follow the file's position into fd, one block
// at a time, keeping fPercentDone up to date.  False when the file ends early
// or fd stops taking the bytes, or a signal tells the program to end.
bool FeedPayload(FILE *file, long long length, int fd);

// The same with each block handed to take instead of written into a file.
bool FeedPayloadTo(FILE *file, long long length, const BytesTaker &take);

// Writes all of data into fd; false when fd refuses it (a closed pipe, say)
// or a signal tells the program to end.
bool WriteAll(int fd, const char *data, size_t count);

#endif
