// The reason for the last failure, which PlatLastError() gives, for the
// backends that keep it themselves (SDL, the web page).
#pragma once

#include <string>

void NoteLastError(const std::string& what);
