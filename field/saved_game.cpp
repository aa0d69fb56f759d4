#include "field/saved_game.h"

#include "field/mine_field.h"
#include "platform/file.h"
#include "screens/play_screen.h"

#include <string>

namespace {

constexpr size_t HEADER_CHARS = 4;
// Side digits, line break and the largest body: nothing beyond it is ever read.
constexpr size_t MAX_USEFUL_BYTES = 4 + 2 * 25 * 25;

// Reads the file as text: a CR LF pair arrives as one LF, so the line break
// after the size is found whether the file was written here, on Windows or
// by an editor that keeps plain LF.
struct TextReader {
    std::string bytes;
    size_t at = 0;

    bool Next(char* c)
    {
        if (at >= bytes.size()) {
            return false;
        }
        *c = bytes[at++];
        if (*c == '\r' && at < bytes.size() && bytes[at] == '\n') {
            *c = '\n';
            ++at;
        }
        return true;
    }
};

bool ReadWholeFile(const char* path, std::string* bytes)
{
    PlatFile* file = PlatFileOpen(path, PlatFileMode::Read);
    if (file == nullptr) {
        return false;
    }
    // Every character read may be a CR LF pair, and one spare lets a final pair close.
    bytes->resize(2 * MAX_USEFUL_BYTES + 1);
    size_t got = PlatFileRead(file, bytes->data(), bytes->size());
    bytes->resize(got);
    PlatFileClose(file);
    return true;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The first line: at most four characters, ending after a line break within
// them. The side is the number at its start: blanks, an optional sign, digits.
bool ReadSide(TextReader* reader, int32_t* side)
{
    std::string line;
    char c = 0;
    while (line.size() < HEADER_CHARS && reader->Next(&c)) {
        line += c;
        if (c == '\n') {
            break;
        }
    }
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\n' ||
                               line[i] == '\r' || line[i] == '\v' || line[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    if (i >= line.size() || !IsDigit(line[i])) {
        return false;
    }
    int32_t value = 0;
    for (; i < line.size() && IsDigit(line[i]); ++i) {
        value = value * 10 + (line[i] - '0'); // at most four digits: no overflow
    }
    *side = negative ? -value : value;
    return true;
}

void ReadCells(TextReader* reader, int32_t side)
{
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y) {
            // Every cell takes two characters, whatever they are.
            char c = 0;
            if (!reader->Next(&c)) {
                return;
            }
            if (IsDigit(c)) {
                cellValue[x][y] = c - '0';
            }
            if (!reader->Next(&c)) {
                return;
            }
            if (c >= '0' && c <= '3') {
                cellState[x][y] = c - '0';
            }
        }
    }
}

char Digit(int32_t value)
{
    // Values and states are single digits by construction; anything else is
    // written as 0 rather than as a character the reader would misplace.
    return (value >= 0 && value <= 9) ? static_cast<char>('0' + value) : '0';
}

std::string SaveHeader()
{
    return std::to_string(fieldSize) + "\r\n";
}

std::string SaveColumn(int32_t x)
{
    std::string column;
    column.reserve(static_cast<size_t>(fieldSize) * 2);
    for (int32_t y = 0; y < fieldSize; ++y) {
        column += Digit(cellValue[x][y]);
        column += Digit(cellState[x][y]);
    }
    return column;
}

bool WriteAll(PlatFile* file, const std::string& bytes)
{
    return PlatFileWrite(file, bytes.data(), bytes.size()) == bytes.size();
}

bool WriteSaveTo(PlatFile* file)
{
    if (!WriteAll(file, SaveHeader())) {
        return false;
    }
    for (int32_t x = 0; x < fieldSize; ++x) {
        if (!WriteAll(file, SaveColumn(x))) {
            return false;
        }
    }
    return PlatFileFlush(file) == 0;
}

} // namespace

void SaveGame()
{
    if (!FieldHeld()) {
        return;
    }
    char tempName[PLAT_FILE_NAME_MAX];
    PlatFile* file = PlatFileCreateBeside(SAVE_FILE_NAME, tempName, sizeof tempName);
    if (file == nullptr) {
        return;
    }
    bool written = WriteSaveTo(file);
    bool closed = PlatFileClose(file) == 0;
    if (!written || !closed || PlatFileRename(tempName, SAVE_FILE_NAME) != 0) {
        PlatFileRemove(tempName);
    }
}

void LoadGame()
{
    TextReader reader;
    if (!ReadWholeFile(SAVE_FILE_NAME, &reader.bytes)) {
        return;
    }
    int32_t side = 0;
    // The play screen is laid out for at most 25 a side, and a mine needs an inner cell.
    if (!ReadSide(&reader, &side) || side < SAVE_MIN_SIZE || side > SAVE_MAX_SIZE) {
        return;
    }
    FreeField();
    fieldSize = side;
    g_mineCount = 1;
    GenerateField();
    LoadFieldGraphics();
    ReadCells(&reader, side);
}
