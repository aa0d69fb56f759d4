#include "platform/common/temp_names.h"

namespace {

constexpr const char* TEMP_MARK = ".new-";
constexpr char NAME_CHARS[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool IsTempChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string TempSuffix(const unsigned char* random)
{
    std::string suffix = TEMP_MARK;
    for (size_t i = 0; i < TEMP_RANDOM_BYTES; ++i) {
        suffix += NAME_CHARS[random[i] % (sizeof NAME_CHARS - 1)];
    }
    return suffix;
}

bool IsTempNameOf(const std::string& name, const std::string& targetBase)
{
    const std::string stem = targetBase + TEMP_MARK;
    if (name.size() != stem.size() + TEMP_RANDOM_BYTES || name.compare(0, stem.size(), stem) != 0) {
        return false;
    }
    for (size_t i = stem.size(); i < name.size(); ++i) {
        if (!IsTempChar(name[i])) {
            return false;
        }
    }
    return true;
}
