#include "platform/common/last_error.h"

#include "platform/system.h"

namespace {

std::string s_lastError;

} // namespace

void NoteLastError(const std::string& what)
{
    s_lastError = what;
}

const char* PlatLastError()
{
    return s_lastError.c_str();
}
