#include "tests/test_support.h"

#include "app/app_shell.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "field/mine_field.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

void GameTest::SetUp()
{
    ResetHeadlessGame();
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
    ResetHeadlessGame();
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

std::vector<std::string> SaveFilesHere()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        std::string name = entry.path().filename().string();
        if (name.rfind("save.gm", 0) == 0) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
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

Bitmap MakePicture(int32_t width, int32_t height,
                   const std::function<uint16_t(int32_t, int32_t)>& value)
{
    Bitmap bitmap{};
    bitmap.infoHeader.biWidth = width;
    bitmap.infoHeader.biHeight = height;
    bitmap.infoHeader.biBitCount = 16;
    // Allocated the way the loader allocates, so BitmapUnload can free it.
    bitmap.pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(width * height * 2)));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint16_t pixel = value(x, y);
            std::memcpy(bitmap.pixels + 2 * (y * width + x), &pixel, 2);
        }
    }
    return bitmap;
}
