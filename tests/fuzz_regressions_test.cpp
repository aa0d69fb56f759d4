// Every input a fuzzer ever broke the game with (tests/regressions/<target>/)
// and every seed of its corpus (fuzz/corpus/<target>/), fed through the same
// entry as the fuzzer, so the normal and the sanitizer builds replay them.
#include "fuzz/fuzz_entries.h"
#include "tests/test_support.h"

#include <algorithm>
#include <filesystem>

namespace {

using Entry = bool (*)(const uint8_t*, size_t);

struct Target {
    const char* name;
    Entry entry;
};

std::vector<std::filesystem::path> InputsOf(const char* target)
{
    const std::filesystem::path source = DELLOMAR_SOURCE_DIR;
    std::vector<std::filesystem::path> files;
    for (const auto& folder :
         {source / "tests" / "regressions" / target, source / "fuzz" / "corpus" / target}) {
        if (!std::filesystem::is_directory(folder)) {
            continue;
        }
        for (const auto& item : std::filesystem::directory_iterator(folder)) {
            if (item.is_regular_file() && item.path().filename() != ".gitkeep") {
                files.push_back(item.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void PrintTo(const Target& target, std::ostream* out)
{
    *out << target.name;
}

class FuzzRegressionTest : public GameTest, public testing::WithParamInterface<Target> {};

TEST_P(FuzzRegressionTest, EveryKeptInputRunsClean)
{
    const std::vector<std::filesystem::path> files = InputsOf(GetParam().name);
    EXPECT_FALSE(files.empty()) << "no seeds for " << GetParam().name;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<uint8_t> bytes = ReadFileBytes(file);
        EXPECT_TRUE(GetParam().entry(bytes.data(), bytes.size()));
    }
    FuzzSavedGameEnd();
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzRegressionTest,
                         testing::Values(Target{"bitmap", FuzzBitmapInput},
                                         Target{"wav", FuzzWavInput},
                                         Target{"saved_game", FuzzSavedGameInput}),
                         [](const testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
