// The number-entry screen, and the two screens built on it: the new-game
// dialog and the credits.
#pragma once

#include "screens/screen_layout.h"

#include <cstdint>

constexpr int32_t ENTRY_TEXT_SIZE = 256;
constexpr int32_t MIN_FIELD_SIZE = 11;
constexpr int32_t MAX_FIELD_SIZE = 25;
constexpr int32_t MAX_MINE_COUNT = 625;
constexpr const char* PROMPT_FIELD_SIZE = "Please enter game field size:";
constexpr const char* PROMPT_MINE_COUNT = "Please enter desired mines count:";
constexpr const char* CREDIT_LINE = "Dellomar ++ - made by the Dellomar team. Thanks for playing!";

extern bool g_entryActive;
extern int32_t g_entryValue;
extern char g_entryText[ENTRY_TEXT_SIZE];
extern int32_t g_entryLength;

// One frame of the entry screen; its starter calls it while g_entryActive holds.
void EntryFrame(const char* prompt);
void NewGameDialog();
void CreditsScreen();
void EntryScreenReset();
