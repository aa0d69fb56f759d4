#include "tests/test_support.h"

#include "app/app_shell.h"
#include "display/display_device.h"
#include "field/mine_field.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_core.h"
#include "screens/play_screen.h"
#include "sound/music_performance.h"
#include "sound/sound_effects.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// The fake backend's reset frees the objects these point at.
void ResetDisplayState()
{
    g_directDraw = nullptr;
    g_primarySurface = nullptr;
    g_backSurface = nullptr;
    g_backClipper = nullptr;
    g_windowClipper = nullptr;
    g_palette = nullptr;
    std::memset(g_paletteEntries, 0, sizeof g_paletteEntries);
    g_windowed = 0;
    g_screenWidth = 640;
    g_screenHeight = 480;
    g_screenBpp = 8;
    g_pixelFormat = 16;
    g_backBits = nullptr;
    g_backPitch = 0;
    g_logFile = nullptr;
}

// The handles point into the fake backend, which FakeResetAll empties.
void ResetInputAndSoundState()
{
    std::memset(g_keyState, 0, sizeof(g_keyState));
    g_mouseState = MouseState{};
    g_input = nullptr;
    g_keyboardDevice = nullptr;
    g_mouseDevice = nullptr;
    g_soundDevice = nullptr;
    g_soundFirstOpen = 1;
    for (SoundSlot& slot : g_soundSlots) {
        slot = SoundSlot{};
    }
    g_sndClick = g_sndBang = g_sndWellDone = SOUND_NONE;
    g_musicPerformance = nullptr;
    g_musicLoader = nullptr;
    for (MusicSlot& slot : g_musicSlots) {
        slot = MusicSlot{};
    }
    g_currentSegmentId = MUSIC_NONE;
}

} // namespace

void ResetGameState()
{
    ResetDisplayState();
    FreeField();
    fieldSize = DEFAULT_FIELD_SIZE;
    g_mineCount = DEFAULT_MINE_COUNT;
    g_fieldWon = false;
    g_mainWindow = nullptr;
    g_appInstance = nullptr;
    ResetInputAndSoundState();
    FakeResetAll();
}

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
