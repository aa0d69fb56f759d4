// Names of the temporary files a save writes beside its target:
// "<target>.new-" and six letters or digits.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t TEMP_RANDOM_BYTES = 6;
// ".new-" and the random characters.
constexpr size_t TEMP_SUFFIX_LENGTH = 5 + TEMP_RANDOM_BYTES;

// The ending of a temporary name, made from TEMP_RANDOM_BYTES random bytes.
std::string TempSuffix(const unsigned char* random);
// True when `name` is a temporary name of the file named `targetBase`.
bool IsTempNameOf(const std::string& name, const std::string& targetBase);
