// Shared by the file tests: a game in a scratch folder, things planted in it,
// and the board as a save writes it.
#pragma once

#include "tests/test_support.h"

#include <string>
#include <sys/stat.h>
#include <vector>

class FileTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    mode_t previousUmask_ = 0;
};

enum class Plant { Fifo, Folder, Socket, Regular };
void PlantHere(Plant kind, const std::string& name);
void LinkHere(const std::string& name, const std::string& target);
// "fifo", "folder", "socket", "file", "link to <target>" or "missing", never following.
std::string WhatIsHere(const std::string& name);
std::string ReadText(const std::string& name);
mode_t ModeOf(const std::string& name);
// The current board as SaveGame writes it.
std::string BoardText();
// A saved game of side 11 full of flagged mines: nothing like a fresh board.
std::string OtherSaveText();
