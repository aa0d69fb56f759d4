// Fingers on the game's picture, turned into the mouse the game reads. A cell
// is a fraction of a fingertip on a phone, and the numbers show only under the
// lamp, so over the field a finger works like a touchpad: a drag moves the
// lamp by the finger's motion, a quick tap is a left click at the lamp, a long
// press a right click at the lamp. Over the menu a finger is a pointer: the
// arrow goes where it touches and the left button stays down while it stays.
//
// The game reads only relative motion and finds clicks by comparing two reads,
// so every touch becomes a gesture with reads of its own: putting the cursor
// at a point takes two (one pushes it into the corner where the game stops
// it, the next moves it from there), a click takes a read with the button down
// and one with it up. Gestures wait in line, and each one's reads are all
// delivered before the next one's begin, so two touches quicker than the
// game's frames never mix: no press of one lands where another put the cursor.
//
// Plain data, fed by a backend with finger events in picture pixels and asked
// once per mouse read; nothing here knows a browser or a clock.
#pragma once

#include "platform/input.h"

#include <cstdint>

// Held still this long, a touch on the field is a right click.
constexpr double TOUCH_LONG_PRESS_MS = 500;
constexpr int TOUCH_FINGERS = 10;
// Touches waiting for their reads; a touch past these does nothing at all.
constexpr int TOUCH_QUEUE = 16;

enum class TouchKind : uint8_t {
    Pad,    // a touchpad over the field: motion, taps, long presses
    Menu,   // the arrow at the finger, the left button held
    Return, // the first touch on the field after the menu: the lamp to the finger, no click
    Entry,  // while the game waits for digits: motion only
};

enum class TouchPress : uint8_t {
    None,    // no button
    Waiting, // the button must read down once
    Shown,   // read down; a read with it up is owed
    Done,    // read down, then up
};

struct TouchGesture {
    TouchKind kind;
    bool live;     // its finger is followed still
    bool moved;    // went further than the slop from where it started: a drag
    bool leftMenu; // a menu touch that went off the menu: it moves the arrow no more
    int place;     // reads left of putting the cursor at (placeX, placeY)
    double placeX;
    double placeY;
    double startX;
    double startY;
    double startMs;
    double lastX;
    double lastY;
    double motionX; // finger motion not yet handed to the game
    double motionY;
    int button; // 0 left, 1 right
    TouchPress press;
};

// All zero is a model with no finger down and no areas told.
struct TouchModel {
    PlatPointerAreas areas;
    bool haveAreas;
    bool textInput;   // the game waits for digits
    bool arrowInMenu; // the last touch left the arrow on the menu
    bool longPressed; // a long press fired since TouchModelTakeLongPress
    bool following;   // the last gesture in line follows `followed`
    long followed;
    long fingers[TOUCH_FINGERS];
    int fingerCount;
    TouchGesture line[TOUCH_QUEUE]; // line[0] is read first
    int count;
};

// What one mouse read gets from the fingers. While `placing`, the cursor is
// on its way to a point: nothing else may move it or press a button.
struct TouchRead {
    int32_t dx;
    int32_t dy;
    bool buttons[2]; // left, right
    bool placing;
};

void TouchModelSetAreas(TouchModel* model, const PlatPointerAreas& areas);
void TouchModelTextInput(TouchModel* model, bool on);
// Finger events, positions in picture pixels, times in milliseconds.
void TouchModelDown(TouchModel* model, long id, double x, double y, double ms);
void TouchModelMove(TouchModel* model, long id, double x, double y);
void TouchModelUp(TouchModel* model, long id, double x, double y, double ms);
// The system took the finger away: it does nothing more, and holds nothing.
void TouchModelCancel(TouchModel* model, long id);
// Every finger is gone unseen (the page lost the focus): presses not yet read
// are dropped, held ones let go.
void TouchModelForget(TouchModel* model);
// Once per mouse read.
TouchRead TouchModelRead(TouchModel* model, double ms);
// Whether a long press fired since the last call (the backend may buzz).
bool TouchModelTakeLongPress(TouchModel* model);
