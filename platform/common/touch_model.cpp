#include "platform/common/touch_model.h"

#include <cmath>

namespace {

// Far enough left and up to reach the corner where the game stops its cursor
// from anywhere it may be.
constexpr double PUSH_TO_CORNER = -16777216.0;
// Before the game has told its cells, about half of one.
constexpr double DEFAULT_SLOP = 12;
// Motion and places handed over stay well inside 32 bits.
constexpr double PIXEL_LIMIT = 1e9;

double Clamp(double value, double low, double high)
{
    return value < low ? low : (value > high ? high : value);
}

int32_t Pixels(double value)
{
    return static_cast<int32_t>(std::trunc(Clamp(value, -PIXEL_LIMIT, PIXEL_LIMIT)));
}

// Whole pixels go to the game; the fractions wait for the next read.
int32_t TakeWhole(double* motion)
{
    int32_t whole = Pixels(*motion);
    *motion -= whole;
    return whole;
}

bool Inside(const PlatArea& area, double x, double y)
{
    return x >= area.left && y >= area.top && x < area.right && y < area.bottom;
}

bool OnMenu(const TouchModel* model, double x, double y)
{
    return model->haveAreas && Inside(model->areas.menu, x, y);
}

// Moving less than this (picture pixels) from where it started is still a tap.
double Slop(const TouchModel* model)
{
    return model->haveAreas && model->areas.cell > 0 ? model->areas.cell / 2.0 : DEFAULT_SLOP;
}

TouchGesture* Followed(TouchModel* model, long id)
{
    if (!model->following || model->followed != id || model->count == 0) {
        return nullptr;
    }
    return &model->line[model->count - 1];
}

bool HasFinger(const TouchModel* model, long id)
{
    for (int i = 0; i < model->fingerCount; ++i) {
        if (model->fingers[i] == id) {
            return true;
        }
    }
    return false;
}

void AddFinger(TouchModel* model, long id)
{
    if (model->fingerCount < TOUCH_FINGERS) {
        model->fingers[model->fingerCount++] = id;
    }
}

void RemoveFinger(TouchModel* model, long id)
{
    for (int i = 0; i < model->fingerCount; ++i) {
        if (model->fingers[i] == id) {
            model->fingers[i] = model->fingers[--model->fingerCount];
            return;
        }
    }
}

// The followed touch does nothing more: a press not yet read is dropped, a
// held button is let go at the next read.
void Spoil(TouchModel* model)
{
    if (!model->following) {
        return;
    }
    TouchGesture& gesture = model->line[model->count - 1];
    gesture.live = false;
    if (gesture.press == TouchPress::Waiting) {
        gesture.press = TouchPress::None;
    }
    model->following = false;
}

TouchKind KindAt(const TouchModel* model, double x, double y)
{
    if (model->textInput) {
        return TouchKind::Entry;
    }
    if (OnMenu(model, x, y)) {
        return TouchKind::Menu;
    }
    return model->arrowInMenu ? TouchKind::Return : TouchKind::Pad;
}

// Where the cursor goes to bring the hot spot under the finger, kept over the
// field so that the lamp, not the arrow, comes back.
void PlaceHotSpot(const TouchModel* model, TouchGesture* gesture, double x, double y)
{
    const PlatArea& field = model->areas.field;
    if (field.right > field.left && field.bottom > field.top) {
        x = Clamp(x, field.left, field.right - 1.0);
        y = Clamp(y, field.top, field.bottom - 1.0);
    }
    gesture->placeX = x - model->areas.hotSpotX;
    gesture->placeY = y - model->areas.hotSpotY;
}

void Begin(TouchModel* model, long id, double x, double y, double ms)
{
    if (model->count == TOUCH_QUEUE) {
        return; // too far ahead of the game's reads: this touch does nothing
    }
    TouchGesture gesture{};
    gesture.kind = KindAt(model, x, y);
    gesture.live = true;
    gesture.startX = gesture.lastX = x;
    gesture.startY = gesture.lastY = y;
    gesture.startMs = ms;
    if (gesture.kind == TouchKind::Menu) {
        gesture.place = 2;
        gesture.placeX = x;
        gesture.placeY = y;
        gesture.button = 0;
        gesture.press = TouchPress::Waiting;
        model->arrowInMenu = true;
    } else if (gesture.kind == TouchKind::Return) {
        gesture.place = 2;
        PlaceHotSpot(model, &gesture, x, y);
        model->arrowInMenu = false;
    }
    model->line[model->count++] = gesture;
    model->following = true;
    model->followed = id;
}

// A menu touch moves the arrow with the finger; a touchpad's motion waits
// until it is a drag, so that a tap or a long press never moves the lamp, and
// stops while its click is being read, so that the click lands where it was
// made.
bool MotionGoesOut(const TouchGesture& gesture)
{
    if (gesture.kind == TouchKind::Menu) {
        return true;
    }
    return gesture.moved && gesture.press != TouchPress::Waiting &&
           gesture.press != TouchPress::Shown;
}

bool Finished(const TouchGesture& gesture)
{
    if (gesture.live || gesture.place != 0 || gesture.press == TouchPress::Waiting ||
        gesture.press == TouchPress::Shown) {
        return false;
    }
    return !MotionGoesOut(gesture) ||
           (std::trunc(gesture.motionX) == 0 && std::trunc(gesture.motionY) == 0);
}

void DropFinished(TouchModel* model)
{
    int done = 0;
    while (done < model->count && Finished(model->line[done])) {
        ++done;
    }
    if (done == 0) {
        return;
    }
    for (int i = done; i < model->count; ++i) {
        model->line[i - done] = model->line[i];
    }
    model->count -= done;
}

void FireLongPress(TouchModel* model, double ms)
{
    if (!model->following) {
        return;
    }
    TouchGesture& gesture = model->line[model->count - 1];
    if (gesture.kind == TouchKind::Pad && !gesture.moved && gesture.press == TouchPress::None &&
        ms - gesture.startMs >= TOUCH_LONG_PRESS_MS) {
        gesture.button = 1;
        gesture.press = TouchPress::Waiting;
        model->longPressed = true;
    }
}

// Placing takes two reads with no button: into the corner, then to the point.
TouchRead PlacingRead(const TouchModel* model, TouchGesture* gesture)
{
    TouchRead read{};
    read.placing = true;
    if (gesture->place == 2) {
        read.dx = Pixels(PUSH_TO_CORNER);
        read.dy = Pixels(PUSH_TO_CORNER);
        gesture->place = 1;
        return read;
    }
    double cornerX = static_cast<double>(model->areas.field.left) - model->areas.hotSpotX;
    double cornerY = static_cast<double>(model->areas.field.top) - model->areas.hotSpotY;
    double dx = std::floor(gesture->placeX) - cornerX;
    double dy = std::floor(gesture->placeY) - cornerY;
    if (MotionGoesOut(*gesture)) {
        dx += TakeWhole(&gesture->motionX);
        dy += TakeWhole(&gesture->motionY);
    }
    read.dx = Pixels(dx);
    read.dy = Pixels(dy);
    gesture->place = 0;
    return read;
}

void ReadButtons(TouchGesture* gesture, TouchRead* read)
{
    if (gesture->press == TouchPress::Waiting) {
        read->buttons[gesture->button] = true;
        gesture->press = TouchPress::Shown;
    } else if (gesture->press == TouchPress::Shown) {
        bool held = gesture->kind == TouchKind::Menu && gesture->live && !gesture->leftMenu;
        read->buttons[gesture->button] = held;
        if (!held) {
            gesture->press = TouchPress::Done;
        }
    }
}

} // namespace

void TouchModelSetAreas(TouchModel* model, const PlatPointerAreas& areas)
{
    model->areas = areas;
    model->haveAreas = true;
}

void TouchModelTextInput(TouchModel* model, bool on)
{
    model->textInput = on;
}

void TouchModelDown(TouchModel* model, long id, double x, double y, double ms)
{
    if (HasFinger(model, id)) {
        return;
    }
    AddFinger(model, id);
    if (model->fingerCount != 1) {
        Spoil(model); // two fingers: neither clicks nor holds
        return;
    }
    Begin(model, id, x, y, ms);
}

void TouchModelMove(TouchModel* model, long id, double x, double y)
{
    TouchGesture* gesture = Followed(model, id);
    if (gesture == nullptr) {
        return;
    }
    double dx = x - gesture->lastX;
    double dy = y - gesture->lastY;
    gesture->lastX = x;
    gesture->lastY = y;
    if (gesture->kind == TouchKind::Menu) {
        // Off the menu the button is let go with the arrow still on the menu,
        // so that lifting the finger over the field opens nothing.
        if (gesture->leftMenu || !OnMenu(model, x, y)) {
            gesture->leftMenu = true;
            return;
        }
    } else if (std::hypot(x - gesture->startX, y - gesture->startY) >= Slop(model)) {
        gesture->moved = true;
    }
    gesture->motionX += dx;
    gesture->motionY += dy;
}

void TouchModelUp(TouchModel* model, long id, double x, double y, double ms)
{
    TouchGesture* gesture = Followed(model, id);
    if (gesture != nullptr) {
        TouchModelMove(model, id, x, y);
        gesture->live = false;
        model->following = false;
        // A press let go before a read saw it held still counts, as a long one.
        if (gesture->kind == TouchKind::Pad && !gesture->moved &&
            gesture->press == TouchPress::None) {
            gesture->button = ms - gesture->startMs < TOUCH_LONG_PRESS_MS ? 0 : 1;
            gesture->press = TouchPress::Waiting;
        }
    }
    RemoveFinger(model, id);
}

void TouchModelCancel(TouchModel* model, long id)
{
    if (Followed(model, id) != nullptr) {
        Spoil(model);
    }
    RemoveFinger(model, id);
}

void TouchModelForget(TouchModel* model)
{
    Spoil(model);
    for (int i = 0; i < model->count; ++i) {
        if (model->line[i].press == TouchPress::Waiting) {
            model->line[i].press = TouchPress::None;
        }
    }
    model->fingerCount = 0;
}

TouchRead TouchModelRead(TouchModel* model, double ms)
{
    FireLongPress(model, ms);
    DropFinished(model);
    if (model->count == 0) {
        return TouchRead{};
    }
    TouchGesture* gesture = &model->line[0];
    // Nothing of a touch acts while the game waits for digits, nor after; a
    // push into the corner would carry the arrow away, as nothing stops it there.
    if (model->textInput) {
        if (gesture->press != TouchPress::None) {
            gesture->press = TouchPress::Done;
        }
        gesture->place = 0;
    }
    if (gesture->place > 0) {
        return PlacingRead(model, gesture);
    }
    TouchRead read{};
    bool motion = MotionGoesOut(*gesture);
    ReadButtons(gesture, &read);
    if (motion) {
        read.dx = TakeWhole(&gesture->motionX);
        read.dy = TakeWhole(&gesture->motionY);
    }
    return read;
}

bool TouchModelTakeLongPress(TouchModel* model)
{
    bool fired = model->longPressed;
    model->longPressed = false;
    return fired;
}
