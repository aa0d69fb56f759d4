// The display's log: written only while g_logFile is open, which the game
// never opens; kept for diagnosing a display on a new backend.
#include "display/display_device.h"

#include <cstdarg>
#include <cstdio>

int32_t LogPrintf(const char* format, ...)
{
    if (format == nullptr || g_logFile == nullptr) {
        return 0;
    }
    char message[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    std::fputs(message, g_logFile);
    std::fflush(g_logFile);
    return 1;
}
