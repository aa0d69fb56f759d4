// Shared set-up for tests: every test starts on a fresh fake backend, with the
// game's globals as at program start, inside a scratch folder of its own.
#pragma once

#include "display/bitmap_loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path workDir_;
    std::filesystem::path previousDir_;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
// Names in the working folder that begin with "save.gm", sorted: a save leaves
// "save.gm" alone, however it ended.
std::vector<std::string> SaveFilesHere();
// Replaces the board with one of side n holding mines exactly at `mines`,
// with true counts, every cell hidden.
void MakeBoard(int32_t n, const std::vector<std::pair<int, int>>& mines);

// A 16-bit picture held in memory, pixel (x, y) = value(x, y); BitmapUnload frees it.
Bitmap MakePicture(int32_t width, int32_t height,
                   const std::function<uint16_t(int32_t, int32_t)>& value);

// Copies the generated data folders of the built game into the working folder.
void CopyGameData();
