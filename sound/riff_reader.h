// A small reader of RIFF files over the file layer, with the descend / read /
// ascend steps of the platform's multimedia file functions. The file layer
// only reads forwards, so the reader keeps a window of what it read last:
// an ascend may step back a little (a read that ran past a short chunk),
// never further than the window reaches.
#pragma once

#include "platform/file.h"

#include <cstddef>
#include <cstdint>

constexpr uint32_t RiffFourCC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr uint32_t RIFF_ID_RIFF = RiffFourCC('R', 'I', 'F', 'F');
constexpr uint32_t RIFF_ID_LIST = RiffFourCC('L', 'I', 'S', 'T');

// How RiffDescend looks for its chunk.
constexpr uint32_t RIFF_FIND_CHUNK = 0x10; // by id
constexpr uint32_t RIFF_FIND_RIFF = 0x20;  // a RIFF chunk of the given form type

constexpr int RIFF_OK = 0;
constexpr int RIFF_ERR_CANNOT_OPEN = 257;
constexpr int RIFF_ERR_CANNOT_SEEK = 263;
constexpr int RIFF_ERR_CHUNK_NOT_FOUND = 265;

constexpr size_t RIFF_WINDOW_SIZE = 4096;
// How far back the window always reaches after it has been refilled.
constexpr size_t RIFF_WINDOW_KEEP = 64;

struct RiffChunk {
    uint32_t id;
    uint32_t size;      // of the contents, not counting the pad byte
    uint32_t formType;  // RIFF and LIST chunks only
    int64_t dataOffset; // file offset of the contents (the form type of a RIFF chunk)
};

struct RiffFile {
    PlatFile* file;
    int64_t fileSize; // -1 when the file layer cannot tell
    int64_t position;
    int64_t windowStart; // file offset of window[0]
    size_t windowLength;
    uint8_t window[RIFF_WINDOW_SIZE];
};

int RiffOpen(RiffFile* riff, const char* path);
// On entry chunk->id (RIFF_FIND_CHUNK) or chunk->formType (RIFF_FIND_RIFF)
// names what to look for; the search starts at the current position and stays
// inside `parent` when one is given. On success the position is at the start
// of the contents (after the form type of a RIFF or LIST chunk).
int RiffDescend(RiffFile* riff, RiffChunk* chunk, const RiffChunk* parent, uint32_t flags);
// Bytes read; fewer than asked at the end of the file.
size_t RiffRead(RiffFile* riff, void* buffer, size_t size);
// Moves to just after the chunk's last byte and its pad byte.
int RiffAscend(RiffFile* riff, const RiffChunk& chunk);
int RiffClose(RiffFile* riff);
