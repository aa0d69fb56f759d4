// What the browser backend's device families share among themselves. Every
// key and mouse event from the page lands here; the devices read it once per
// frame.
#pragma once

#include "platform/common/press_latch.h"
#include "platform/common/touch_model.h"

#include <cstdint>

// The selector of the page's canvas, which shows the picture and takes the mouse.
inline constexpr const char* WEB_CANVAS = "#canvas";

struct WebInputState {
    uint8_t keys[256];     // by set-1 scan code, PLAT_KEY_DOWN while held
    PressLatch keyLatch;   // presses since the keyboard's last read
    PressLatch asyncLatch; // presses since the live key state was last asked
    bool buttons[4];       // left, right, middle, back
    PressLatch buttonLatch;
    double motionX; // motion since the mouse's last read, in picture pixels
    double motionY;
    int32_t wheel;
    uint8_t typed[64]; // key taps from the page's number field, in order
    int typedCount;
    bool typedUp; // the last tap was read down; the next read shows it up
};

extern WebInputState g_webInput;

// Starts listening to the page's keys and mouse (once the window exists).
void WebListen();
// Starts or stops following fingers on the canvas; forgets any touch.
void WebTouchListen(bool on);
// Forgets the touch under way and what it holds (the page lost the focus).
void WebTouchForget();
// Once a mouse read: what the fingers make of it (web_touch.cpp).
TouchRead WebTouchRead();
// The game waits for typed digits, or no longer: no touch clicks meanwhile.
void WebTouchTextInput(bool on);
// Where the game's menu and field lie, for the fingers.
void WebTouchSetAreas(const PlatPointerAreas& areas);
// A player's gesture: sound may start now.
void WebNoteGesture();
// Picture pixels per page pixel of the canvas as shown.
double WebPictureScale();
// Stops listening, lets the pointer go and forgets held keys (the game ended).
void WebStopListening();
// Gives the page its turn (Asyncify): events, drawing and sound go on while
// the game's loop sleeps out the rest of its frame. Once a frame at least;
// `drawn` says whether the frame put anything on the canvas.
void WebGiveBrowserTurn(bool drawn);
// Pictures and sounds from the page's data, the player's files from the
// folder kept in IndexedDB (web_file.cpp); before the game starts.
void WebUseFilePlaces();
// Work in pieces (web_data.cpp): gives the browser its turn when the thread
// has been busy for a few milliseconds since the last one (a turn of the
// game's loop counts, which WebNoteTurnGiven says): the start's pieces, each
// file the game opens, a picture converted whole.
void WebTurnIfBusy();
void WebNoteTurnGiven();
// Makes what the page does not download (the backdrop); before the game starts.
void WebPaintData();
// Remembers the reason for a failure, for PlatLastError().
void WebSetLastError(const char* what);
