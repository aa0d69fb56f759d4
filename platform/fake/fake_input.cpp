#include "platform/fake/fake_input.h"

#include "platform/common/device_state.h"
#include "platform/common/touch_model.h"
#include "platform/fake/fake_core.h"
#include "platform/input.h"

#include <array>
#include <cassert>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

struct PlatInputTag {
    bool released = false;
};

struct PlatInputDeviceTag {
    PlatInputDeviceKind kind = PlatInputDeviceKind::Keyboard;
    bool formatSet = false;
    PlatInputDataFormat format = PlatInputDataFormat::Keyboard;
    bool acquired = false;
    bool released = false;
};

namespace {

using KeyState = std::array<uint8_t, PLAT_KEYBOARD_STATE_SIZE>;

std::vector<std::unique_ptr<PlatInputTag>> s_interfaces;
std::vector<std::unique_ptr<PlatInputDeviceTag>> s_devices;
std::deque<KeyState> s_keyQueue;
std::deque<FakeMouseStep> s_mouseQueue;
KeyState s_keysNow{};
FakeMouseStep s_mouseNow{};
int s_keyboardReads = 0;
int s_mouseReads = 0;
TouchModel s_touch{};
double s_touchMs = 0;
struct Finger {
    long id;
    double x;
    double y;
};
std::vector<Finger> s_fingers;
bool s_textInput = false;
bool s_haveAreas = false;
PlatPointerAreas s_areas{};

std::string DeviceCall(const PlatInputDeviceTag* device, const char* step)
{
    return std::string(device->kind == PlatInputDeviceKind::Keyboard ? "Keyboard" : "Mouse") + step;
}

bool CallFails(const std::string& name, int* result)
{
    return FakeCall(name.c_str(), result);
}

// A step on a live device, which the test may have asked to fail: true then,
// with *result the failure to give.
bool StepFails(PlatInputDevice device, const char* step, int* result)
{
    assert(device != nullptr && !device->released);
    *result = 0;
    return CallFails(DeviceCall(device, step), result);
}

const PlatInputDeviceTag* FindLive(PlatInputDeviceKind kind)
{
    for (const auto& device : s_devices) {
        if (!device->released && device->kind == kind) {
            return device.get();
        }
    }
    return nullptr;
}

// An emptied queue starts afresh, so that the memory it holds does not depend
// on how long it once was (long runs compare heap use).
template <typename Queue>
void TakeFront(Queue& queue)
{
    queue.pop_front();
    if (queue.empty()) {
        Queue().swap(queue);
    }
}

void FillKeyboard(void* state)
{
    if (!s_keyQueue.empty()) {
        s_keysNow = s_keyQueue.front();
        TakeFront(s_keyQueue);
    }
    std::memcpy(state, s_keysNow.data(), s_keysNow.size());
    ++s_keyboardReads;
}

// As the web page does: a cursor on its way to a finger takes the whole read.
void AddTouch(PlatMouseState* out)
{
    TouchRead touch = TouchModelRead(&s_touch, s_touchMs);
    if (touch.placing) {
        *out = PlatMouseState{touch.dx, touch.dy, 0, {}};
        return;
    }
    out->dx += touch.dx;
    out->dy += touch.dy;
    for (int i = 0; i < 2; ++i) {
        out->buttons[i] |= touch.buttons[i] ? PLAT_KEY_DOWN : 0;
    }
}

Finger* FindFinger(long id)
{
    for (Finger& finger : s_fingers) {
        if (finger.id == id) {
            return &finger;
        }
    }
    return nullptr;
}

void ForgetFinger(long id)
{
    std::erase_if(s_fingers, [id](const Finger& finger) { return finger.id == id; });
}

void FillMouse(void* state)
{
    if (!s_mouseQueue.empty()) {
        s_mouseNow = s_mouseQueue.front();
        TakeFront(s_mouseQueue);
    } else {
        s_mouseNow.dx = s_mouseNow.dy = s_mouseNow.dz = 0;
    }
    PlatMouseState out{s_mouseNow.dx, s_mouseNow.dy, s_mouseNow.dz, {}};
    for (int i = 0; i < 4; ++i) {
        out.buttons[i] = s_mouseNow.buttons[i] ? PLAT_KEY_DOWN : 0;
    }
    AddTouch(&out);
    std::memcpy(state, &out, sizeof(out));
    // Motion is reported once; the buttons stay as they are.
    s_mouseNow.dx = s_mouseNow.dy = s_mouseNow.dz = 0;
    ++s_mouseReads;
}

} // namespace

void FakeInputReset()
{
    s_interfaces.clear();
    s_devices.clear();
    s_keyQueue.clear();
    s_mouseQueue.clear();
    s_keysNow.fill(0);
    s_mouseNow = FakeMouseStep{};
    s_keyboardReads = 0;
    s_mouseReads = 0;
    s_touch = TouchModel{};
    s_touchMs = 0;
    s_fingers.clear();
    s_textInput = false;
    s_haveAreas = false;
    s_areas = PlatPointerAreas{};
}

void FakeTouchDown(long id, double x, double y)
{
    if (FindFinger(id) == nullptr) {
        s_fingers.push_back(Finger{id, x, y});
    }
    TouchModelDown(&s_touch, id, x, y, s_touchMs);
}

void FakeTouchMove(long id, double x, double y)
{
    if (Finger* finger = FindFinger(id)) {
        finger->x = x;
        finger->y = y;
    }
    TouchModelMove(&s_touch, id, x, y);
}

void FakeTouchUp(long id)
{
    Finger* finger = FindFinger(id);
    TouchModelUp(&s_touch, id, finger != nullptr ? finger->x : 0, finger != nullptr ? finger->y : 0,
                 s_touchMs);
    ForgetFinger(id);
}

void FakeTouchCancel(long id)
{
    TouchModelCancel(&s_touch, id);
    ForgetFinger(id);
}

void FakeTouchWait(double ms)
{
    s_touchMs += ms;
}

bool FakeInputTextInputOn()
{
    return s_textInput;
}

const PlatPointerAreas* FakeInputPointerAreas()
{
    return s_haveAreas ? &s_areas : nullptr;
}

void PlatStartTextInput()
{
    FakeNote("StartTextInput");
    s_textInput = true;
    TouchModelTextInput(&s_touch, true);
}

void PlatStopTextInput()
{
    FakeNote("StopTextInput");
    s_textInput = false;
    TouchModelTextInput(&s_touch, false);
}

void PlatSetPointerAreas(const PlatPointerAreas& areas)
{
    FakeNote("SetPointerAreas");
    s_areas = areas;
    s_haveAreas = true;
    TouchModelSetAreas(&s_touch, areas);
}

void FakeInputQueueKeys(std::initializer_list<uint8_t> downKeys)
{
    FakeInputQueueKeys(std::vector<uint8_t>(downKeys));
}

void FakeInputQueueKeys(const std::vector<uint8_t>& downKeys)
{
    KeyState state{};
    for (uint8_t code : downKeys) {
        state[code] = PLAT_KEY_DOWN;
    }
    s_keyQueue.push_back(state);
}

void FakeInputQueueMouse(int32_t dx, int32_t dy, bool left, bool right)
{
    FakeMouseStep step;
    step.dx = dx;
    step.dy = dy;
    step.buttons[0] = left;
    step.buttons[1] = right;
    s_mouseQueue.push_back(step);
}

void FakeInputQueueMouseStep(const FakeMouseStep& step)
{
    s_mouseQueue.push_back(step);
}

int FakeInputPendingKeys()
{
    return static_cast<int>(s_keyQueue.size());
}
int FakeInputPendingMouse()
{
    return static_cast<int>(s_mouseQueue.size());
}
int FakeInputKeyboardReads()
{
    return s_keyboardReads;
}
int FakeInputMouseReads()
{
    return s_mouseReads;
}

int FakeInputLiveObjects()
{
    int live = 0;
    for (const auto& input : s_interfaces) {
        live += input->released ? 0 : 1;
    }
    for (const auto& device : s_devices) {
        live += device->released ? 0 : 1;
    }
    return live;
}

bool FakeInputKeyboardAcquired()
{
    const PlatInputDeviceTag* device = FindLive(PlatInputDeviceKind::Keyboard);
    return device != nullptr && device->acquired;
}

bool FakeInputMouseAcquired()
{
    const PlatInputDeviceTag* device = FindLive(PlatInputDeviceKind::Mouse);
    return device != nullptr && device->acquired;
}

int PlatInputCreate(PlatInstance, uint32_t version, PlatInput* input)
{
    int result = 0;
    *input = nullptr;
    // A forced positive result still hands out the interface; only errors give none.
    if (FakeCall("InputCreate", &result) && result < 0) {
        return result;
    }
    if (version != PLAT_INPUT_VERSION) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    s_interfaces.push_back(std::make_unique<PlatInputTag>());
    *input = s_interfaces.back().get();
    return result;
}

int PlatInputCreateDevice(PlatInput input, PlatInputDeviceKind kind, PlatInputDevice* device)
{
    assert(input != nullptr && !input->released);
    PlatInputDeviceTag probe;
    probe.kind = kind;
    int result = 0;
    if (CallFails(DeviceCall(&probe, "CreateDevice"), &result)) {
        // A positive code still hands out the device; only errors give none.
        if (result < 0) {
            *device = nullptr;
            return result;
        }
    }
    s_devices.push_back(std::make_unique<PlatInputDeviceTag>(probe));
    *device = s_devices.back().get();
    return result;
}

int PlatInputSetCooperativeLevel(PlatInputDevice device, PlatWindow, uint32_t)
{
    int result = 0;
    return StepFails(device, "SetCooperativeLevel", &result) ? result : PLAT_INPUT_OK;
}

int PlatInputSetDataFormat(PlatInputDevice device, PlatInputDataFormat format)
{
    if (int result = 0; StepFails(device, "SetDataFormat", &result)) {
        return result;
    }
    if (device->acquired) {
        return PLAT_INPUT_ERR_GENERIC; // the format cannot change while acquired
    }
    device->formatSet = true;
    device->format = format;
    return PLAT_INPUT_OK;
}

int PlatInputAcquire(PlatInputDevice device)
{
    if (int result = 0; StepFails(device, "Acquire", &result)) {
        return result;
    }
    if (!device->formatSet) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    if (device->acquired) {
        return PLAT_INPUT_FALSE;
    }
    device->acquired = true;
    return PLAT_INPUT_OK;
}

int PlatInputUnacquire(PlatInputDevice device)
{
    if (int result = 0; StepFails(device, "Unacquire", &result)) {
        return result;
    }
    bool was = device->acquired;
    device->acquired = false;
    return was ? PLAT_INPUT_OK : PLAT_INPUT_FALSE;
}

int PlatInputGetDeviceState(PlatInputDevice device, uint32_t size, void* state)
{
    if (int result = 0; StepFails(device, "GetDeviceState", &result)) {
        return result;
    }
    StateSource source = StateSource::None;
    const int result = CheckStateRead(device->acquired, device->format, device->kind, size,
                                      &source);
    if (result != PLAT_INPUT_OK) {
        return result;
    }
    // The scripted states belong to the physical device, whatever format it reports in.
    if (source == StateSource::Keyboard) {
        FillKeyboard(state);
    } else if (source == StateSource::Mouse) {
        FillMouse(state);
    } else {
        std::memset(state, 0, size);
    }
    return PLAT_INPUT_OK;
}

void PlatInputDeviceRelease(PlatInputDevice device)
{
    assert(device != nullptr && !device->released);
    FakeNote(DeviceCall(device, "Release").c_str());
    device->released = true;
    device->acquired = false;
}

void PlatInputRelease(PlatInput input)
{
    assert(input != nullptr && !input->released);
    FakeNote("InputRelease");
    input->released = true;
}
