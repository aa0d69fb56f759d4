#include "sound/riff_reader.h"

#include <algorithm>
#include <cstring>

namespace {

int64_t WindowEnd(const RiffFile& riff)
{
    return riff.windowStart + static_cast<int64_t>(riff.windowLength);
}

// Reads the next block of the file into the window, keeping the tail of the
// previous block so that a short step back stays possible. False at the end.
bool RefillWindow(RiffFile* riff)
{
    size_t keep = std::min(riff->windowLength, RIFF_WINDOW_KEEP);
    std::memmove(riff->window, riff->window + (riff->windowLength - keep), keep);
    riff->windowStart = WindowEnd(*riff) - static_cast<int64_t>(keep);
    riff->windowLength = keep;
    size_t got = PlatFileRead(riff->file, riff->window + keep, RIFF_WINDOW_SIZE - keep);
    riff->windowLength += got;
    return got > 0;
}

uint32_t ReadLe32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// A target past the end of the file is allowed, as a seek would be; reads
// from there give nothing.
int SeekTo(RiffFile* riff, int64_t target)
{
    if (target < riff->windowStart) {
        return RIFF_ERR_CANNOT_SEEK;
    }
    while (target > WindowEnd(*riff)) {
        if (riff->fileSize >= 0 && WindowEnd(*riff) >= riff->fileSize) {
            break;
        }
        if (!RefillWindow(riff)) {
            break;
        }
    }
    riff->position = target;
    return RIFF_OK;
}

bool ChunkMatches(const RiffChunk& found, const RiffChunk& wanted, uint32_t flags)
{
    if ((flags & RIFF_FIND_RIFF) != 0) {
        return found.id == RIFF_ID_RIFF && found.formType == wanted.formType;
    }
    if ((flags & RIFF_FIND_CHUNK) != 0) {
        return found.id == wanted.id;
    }
    return true;
}

// The header at the current position: id, size, and for RIFF and LIST the
// form type. False when the file ends inside it.
bool ReadHeader(RiffFile* riff, RiffChunk* found)
{
    uint8_t header[8];
    if (RiffRead(riff, header, sizeof(header)) != sizeof(header)) {
        return false;
    }
    found->id = ReadLe32(header);
    found->size = ReadLe32(header + 4);
    found->formType = 0;
    found->dataOffset = riff->position;
    if (found->id == RIFF_ID_RIFF || found->id == RIFF_ID_LIST) {
        uint8_t form[4];
        if (RiffRead(riff, form, sizeof(form)) != sizeof(form)) {
            return false;
        }
        found->formType = ReadLe32(form);
    }
    return true;
}

int64_t ChunkEnd(const RiffChunk& chunk)
{
    return chunk.dataOffset + static_cast<int64_t>(chunk.size) + (chunk.size & 1u);
}

} // namespace

int RiffOpen(RiffFile* riff, const char* path)
{
    riff->file = PlatFileOpen(path, PlatFileMode::Read);
    if (riff->file == nullptr) {
        return RIFF_ERR_CANNOT_OPEN;
    }
    riff->fileSize = PlatFileSize(riff->file);
    riff->position = 0;
    riff->windowStart = 0;
    riff->windowLength = 0;
    return RIFF_OK;
}

int RiffDescend(RiffFile* riff, RiffChunk* chunk, const RiffChunk* parent, uint32_t flags)
{
    int64_t parentEnd = parent != nullptr ? parent->dataOffset + parent->size : -1;
    for (;;) {
        if (parentEnd >= 0 && riff->position + 8 > parentEnd) {
            return RIFF_ERR_CHUNK_NOT_FOUND;
        }
        RiffChunk found{};
        if (!ReadHeader(riff, &found)) {
            return RIFF_ERR_CHUNK_NOT_FOUND;
        }
        if (ChunkMatches(found, *chunk, flags)) {
            *chunk = found;
            return RIFF_OK;
        }
        if (flags == 0) {
            return RIFF_ERR_CHUNK_NOT_FOUND;
        }
        if (SeekTo(riff, ChunkEnd(found)) != RIFF_OK) {
            return RIFF_ERR_CANNOT_SEEK;
        }
    }
}

size_t RiffRead(RiffFile* riff, void* buffer, size_t size)
{
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < size) {
        if (riff->position < riff->windowStart) {
            break; // cannot happen through the public steps; never read stale bytes
        }
        if (riff->position >= WindowEnd(*riff)) {
            if (riff->position > WindowEnd(*riff) || !RefillWindow(riff)) {
                break;
            }
            continue;
        }
        auto at = static_cast<size_t>(riff->position - riff->windowStart);
        size_t n = std::min(size - done, riff->windowLength - at);
        std::memcpy(out + done, riff->window + at, n);
        done += n;
        riff->position += static_cast<int64_t>(n);
    }
    return done;
}

int RiffAscend(RiffFile* riff, const RiffChunk& chunk)
{
    return SeekTo(riff, ChunkEnd(chunk));
}

int RiffClose(RiffFile* riff)
{
    int result = PlatFileClose(riff->file);
    riff->file = nullptr;
    return result == 0 ? RIFF_OK : RIFF_ERR_CANNOT_SEEK;
}
