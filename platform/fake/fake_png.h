// A PNG writer with no dependencies (uncompressed deflate blocks), enough to
// look at the frames the fake display presented.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: width × height pixels of red, green, blue bytes, rows top-down.
bool FakeWritePngRgb(const std::string& path, int width, int height,
                     const std::vector<uint8_t>& rgb);
