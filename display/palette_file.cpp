// Palette files serve the 8-bit display mode; the game opens its display at
// 16 bits, so nothing calls this while it runs. Kept with the mode it serves.
#include "display/display_device.h"

#include "platform/file.h"

namespace {

struct TextReader {
    PlatFile* file;
    unsigned char buffer[4096];
    size_t length;
    size_t position;
};

int Peek(TextReader& reader)
{
    if (reader.position == reader.length) {
        reader.length = PlatFileRead(reader.file, reader.buffer, sizeof reader.buffer);
        reader.position = 0;
        if (reader.length == 0) {
            return -1;
        }
    }
    return reader.buffer[reader.position];
}

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

// One decimal number the way "%d" takes it. Only the low 8 bits are kept by
// the caller, so the value may wrap.
bool ReadNumber(TextReader& reader, uint32_t* value)
{
    while (IsSpace(Peek(reader))) {
        ++reader.position;
    }
    bool negative = false;
    if (Peek(reader) == '-' || Peek(reader) == '+') {
        negative = Peek(reader) == '-';
        ++reader.position;
    }
    if (!IsDigit(Peek(reader))) {
        return false;
    }
    uint32_t number = 0;
    while (IsDigit(Peek(reader))) {
        number = number * 10u + static_cast<uint32_t>(Peek(reader) - '0');
        ++reader.position;
    }
    *value = negative ? 0u - number : number;
    return true;
}

} // namespace

int32_t LoadPaletteFile(const char* path, PlatPaletteEntry* entries256)
{
    PlatFile* file = PlatFileOpen(path, PlatFileMode::Read);
    if (file == nullptr) {
        return 0;
    }
    auto* reader = new TextReader{file, {}, 0, 0};
    // Entries a short or broken file does not reach keep their values.
    bool readable = true;
    for (int i = 0; i < 256 && readable; ++i) {
        uint8_t* fields[4] = {&entries256[i].red, &entries256[i].green, &entries256[i].blue,
                              &entries256[i].flags};
        for (uint8_t* field : fields) {
            uint32_t value = 0;
            readable = ReadNumber(*reader, &value);
            if (!readable) {
                break;
            }
            *field = static_cast<uint8_t>(value & 0xFFu);
        }
    }
    delete reader;
    PlatFileClose(file);
    return 1;
}
