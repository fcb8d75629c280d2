// The checksum block: a fixed-size text block that mkinstaller puts between
// the image and the payload, where the trailer's arithmetic (the payload is
// the L bytes before it) does not see it.  It records the SHA-256 of the
// image and of the payload, and the product's version when the vendor gave
// one.  Installers made without it work as before.
//
//   ZORVANE-CHECKSUMS 1
//   image-sha256 <64 hexadecimal digits>
//   payload-sha256 <64 hexadecimal digits>
//   product-version <version>          (only when given)
//   <newlines up to the block's size>
//   END-ZORVANE-CHECKSUMS
#ifndef ZORVANE_CHECKSUMS_H
#define ZORVANE_CHECKSUMS_H

#include <cstdio>
#include <string>
#include <sys/types.h>

enum { CHECKSUM_BLOCK_SIZE = 256 };

// What a checksum block records.
struct ChecksumBlock {
    std::string imageSha256, payloadSha256, productVersion;
};

// Whether the bytes before the payload hold a block, none, or a damaged one.
enum BlockPresence { BLOCK_ABSENT, BLOCK_SOUND, BLOCK_DAMAGED };

// Reads the block that ends where the payload starts in file.
BlockPresence ReadChecksumBlock(FILE *file, off_t payloadStart, ChecksumBlock *block);

// The part of the installer whose bytes no longer match the block ("image"
// or "payload"), or null when both match.
const char *DamagedPart(FILE *file, off_t payloadStart, long long length,
                        const ChecksumBlock &block);

// Checks the block of the installer's own file, open with the payload of
// length bytes at its position (where it is left); reports a damaged part
// and returns false.
bool ChecksumsMatch(FILE *self, long long length);

// The product version recorded in the installer's own file, or "".
std::string RecordedProductVersion(void);

#endif
