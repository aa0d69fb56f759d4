#pragma once

// The game saves into its working folder. A fuzzer must not leave files where
// it was started, nor move its own working folder (its corpus and crash paths
// may be relative), so each run steps into a temporary folder and back out.
void FuzzMakeScratchFolder();
void FuzzEnterScratchFolder();
void FuzzLeaveScratchFolder();
