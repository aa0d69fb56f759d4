#include "tests/test_support.h"

#include "field/mine_field.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

void GameTest::SetUp()
{
    ResetGameState();
    previousDir_ = std::filesystem::current_path();
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    workDir_ = std::filesystem::temp_directory_path() /
               ("dellomar-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" +
                info->name());
    std::filesystem::remove_all(workDir_);
    std::filesystem::create_directories(workDir_);
    std::filesystem::current_path(workDir_);
}

void GameTest::TearDown()
{
    ResetGameState();
    std::filesystem::current_path(previousDir_);
    std::filesystem::remove_all(workDir_);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CopyGameData()
{
    for (const char* folder : {"Textures", "Sounds"}) {
        std::filesystem::path from = std::filesystem::path(DELLOMAR_GAME_DIR) / folder;
        if (std::filesystem::exists(from)) {
            std::filesystem::copy(from, folder,
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        }
    }
}

void MakeBoard(int32_t n, const std::vector<std::pair<int, int>>& mines)
{
    FreeField();
    fieldSize = n;
    g_mineCount = 0;
    GenerateField();
    for (auto [x, y] : mines) {
        cellValue[x][y] = MINE;
    }
    for (int32_t x = 0; x < n; ++x) {
        for (int32_t y = 0; y < n; ++y) {
            cellValue[x][y] = CountAdjacentMines(x, y);
        }
    }
}
