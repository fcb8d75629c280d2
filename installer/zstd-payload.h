// Payloads that are zstd streams: told apart by their first bytes, sized
// from their frames' headers and decoded inside the installer with libzstd.
#ifndef ZORVANE_ZSTD_PAYLOAD_H
#define ZORVANE_ZSTD_PAYLOAD_H

#include <cstdio>

#include "payload.h"

// The largest window, as a power of two, that a frame may ask the decoder
// to keep: 128 MiB.  A frame that asks for more is refused as damaged.
enum { LARGEST_WINDOW_LOG = 27 };

// Whether the payload at the file's position begins as a zstd frame does;
// the position stays.
bool PayloadIsZstd(FILE *file);

// Sums the content sizes that the frames of the zstd payload of length
// bytes at the file's position declare; the position stays.  False when a
// frame does not declare its size or the frames cannot be read.
bool ZstdContentSize(FILE *file, long long length, unsigned long long *size);

// Decodes the zstd payload of length bytes at the file's position, checking
// every frame's content checksum that it carries, and hands what comes out
// to take, keeping fPercentDone up to date as FeedPayload does.  True when
// the whole stream decoded and take took it all; otherwise fault is what is
// wrong with the stream, or null when the stream is not to blame (take
// refused, or a signal tells the program to end).
bool DecodeZstdPayload(FILE *file, long long length, const BytesTaker &take, const char **fault);

// Decodes the zstd payload into fd; a fault of the stream is told on the
// standard error stream, as gunzip tells its own.
bool DecodeZstdInto(FILE *file, long long length, int fd);

#endif
