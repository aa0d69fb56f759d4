// One fixed game played through AppMain on the fake backend: clicks, flags,
// mines, Save, Load, a new game typed into the dialog, more play, the credits.
// What it leaves is a record of every frame it saw presented and of every
// version of the saved game, which a rebuilt or reset game must match exactly.
#pragma once

#include <string>
#include <vector>

// Runs the game in the current folder (with the game data copied in) and
// returns one line per presented frame seen and per saved game written.
std::vector<std::string> PlayScriptedGame();
