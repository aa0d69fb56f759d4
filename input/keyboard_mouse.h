// Keyboard and mouse: a snapshot of each, taken once per frame by polling.
// Nothing is queued; presses and releases are found by the screens, which
// compare a copy taken before the read with the record after it.
#pragma once

#include "platform/input.h"

#include <cstddef>
#include <cstdint>

// Scan codes of the keys the screens read.
constexpr uint8_t DIK_ESCAPE = 0x01;
constexpr uint8_t DIK_1 = 0x02;
constexpr uint8_t DIK_2 = 0x03;
constexpr uint8_t DIK_3 = 0x04;
constexpr uint8_t DIK_4 = 0x05;
constexpr uint8_t DIK_5 = 0x06;
constexpr uint8_t DIK_6 = 0x07;
constexpr uint8_t DIK_7 = 0x08;
constexpr uint8_t DIK_8 = 0x09;
constexpr uint8_t DIK_9 = 0x0A;
constexpr uint8_t DIK_0 = 0x0B;
constexpr uint8_t DIK_BACK = 0x0E;
constexpr uint8_t DIK_RETURN = 0x1C;
constexpr uint8_t DIK_F4 = 0x3E;
constexpr uint8_t DIK_F12 = 0x58;

constexpr size_t KEY_STATE_SIZE = 256;
constexpr uint8_t KEY_DOWN = PLAT_KEY_DOWN;

constexpr int MOUSE_BUTTON_LEFT = 0;
constexpr int MOUSE_BUTTON_RIGHT = 1;

// Filled by the platform in one piece, so it keeps the platform's layout.
struct MouseState {
    int32_t dx;
    int32_t dy;
    int32_t dz; // wheel; nothing reads it
    uint8_t buttons[4];
};
static_assert(sizeof(MouseState) == sizeof(PlatMouseState));
static_assert(offsetof(MouseState, dz) == offsetof(PlatMouseState, dz));
static_assert(offsetof(MouseState, buttons) == offsetof(PlatMouseState, buttons));

// 0x80 while the key is down, 0 while up; any non-zero byte counts as down.
extern uint8_t g_keyState[KEY_STATE_SIZE];
extern MouseState g_mouseState;
extern PlatInput g_input;
extern PlatInputDevice g_keyboardDevice;
extern PlatInputDevice g_mouseDevice;

// 1 on success, 0 on failure. The devices bind to g_mainWindow, so the window
// must exist first.
int InputOpen();
int KeyboardOpen();
int MouseOpen();
// 1 when the record was refreshed. An absent device zeroes its record.
int KeyboardRead();
int MouseRead();
void KeyboardClose();
void MouseClose();
void InputClose();
// Records cleared and handles dropped, as at program start.
void KeyboardMouseReset();
