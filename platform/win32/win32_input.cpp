// The input seam on the native polled input devices. Every call hands back
// the native result code unchanged: the game treats only exactly 0 as success.
// Both devices also keep a buffer of their key and button changes, so that a
// press and release that both fall between two reads still read as down once.
#include "platform/common/press_latch.h"
#include "platform/input.h"
#include "platform/win32/win32_internal.h"

#include <dinput.h>

#include <cstddef>

// What each handle of this family stands for (see Win32Native).
IDirectInput8A* Win32NativeOf(PlatInput);
IDirectInputDevice8A* Win32NativeOf(PlatInputDevice);

namespace {

// Changes kept between two reads; far more than a frame's worth of taps.
constexpr DWORD BUFFERED_CHANGES = 64;

void KeepChanges(IDirectInputDevice8A* device)
{
    DIPROPDWORD property{};
    property.diph.dwSize = sizeof(property);
    property.diph.dwHeaderSize = sizeof(property.diph);
    property.diph.dwHow = DIPH_DEVICE;
    property.dwData = BUFFERED_CHANGES;
    // Without the buffer the device still reads its state, only taps are missed.
    device->SetProperty(DIPROP_BUFFERSIZE, &property.diph);
}

// The slot of a buffered change in the state layout read: the scan code for
// the keyboard, the button number for the mouse (motion has none).
int SlotOf(const DIDEVICEOBJECTDATA& change, bool keyboard)
{
    if (keyboard) {
        return static_cast<int>(change.dwOfs);
    }
    DWORD first = offsetof(DIMOUSESTATE, rgbButtons);
    return change.dwOfs >= first && change.dwOfs < first + 4
               ? static_cast<int>(change.dwOfs - first)
               : -1;
}

// Marks every key or button that went down since the previous read as down.
void FoldBufferedPresses(IDirectInputDevice8A* device, uint32_t size, void* state)
{
    bool keyboard = size == PLAT_KEYBOARD_STATE_SIZE;
    if (!keyboard && size != sizeof(DIMOUSESTATE)) {
        return;
    }
    PressLatch presses;
    PressLatchClear(&presses);
    DIDEVICEOBJECTDATA changes[BUFFERED_CHANGES];
    DWORD count = BUFFERED_CHANGES;
    // Drains the buffer; an overflow still hands back what it kept.
    while (!FAILED(device->GetDeviceData(sizeof(changes[0]), changes, &count, 0)) && count > 0) {
        for (DWORD i = 0; i < count; ++i) {
            if ((changes[i].dwData & 0x80) != 0) {
                PressLatchNoteDown(&presses, SlotOf(changes[i], keyboard));
            }
        }
        count = BUFFERED_CHANGES;
    }
    if (keyboard) {
        PressLatchFold(&presses, static_cast<uint8_t*>(state), PLAT_KEYBOARD_STATE_SIZE);
    } else {
        PressLatchFold(&presses, static_cast<DIMOUSESTATE*>(state)->rgbButtons, 4);
    }
}

} // namespace

int PlatInputCreate(PlatInstance instance, uint32_t version, PlatInput* input)
{
    void* created = nullptr;
    HRESULT result = DirectInput8Create(Win32Instance(instance), version, IID_IDirectInput8A,
                                        &created, nullptr);
    *input = FAILED(result) ? nullptr : static_cast<PlatInput>(created);
    return Win32Result(result);
}

int PlatInputCreateDevice(PlatInput input, PlatInputDeviceKind kind, PlatInputDevice* device)
{
    *device = nullptr;
    if (input == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    const GUID& which = kind == PlatInputDeviceKind::Keyboard ? GUID_SysKeyboard : GUID_SysMouse;
    IDirectInputDevice8A* created = nullptr;
    HRESULT result = Win32Native(input)->CreateDevice(which, &created, nullptr);
    if (!FAILED(result)) {
        *device = reinterpret_cast<PlatInputDevice>(created);
    }
    return Win32Result(result);
}

int PlatInputSetCooperativeLevel(PlatInputDevice device, PlatWindow window, uint32_t flags)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(device)->SetCooperativeLevel(Win32Window(window), flags));
}

int PlatInputSetDataFormat(PlatInputDevice device, PlatInputDataFormat format)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    const DIDATAFORMAT* native = format == PlatInputDataFormat::Keyboard ? &c_dfDIKeyboard
                                                                         : &c_dfDIMouse;
    HRESULT result = Win32Native(device)->SetDataFormat(native);
    if (!FAILED(result)) {
        KeepChanges(Win32Native(device));
    }
    return Win32Result(result);
}

int PlatInputAcquire(PlatInputDevice device)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(device)->Acquire());
}

int PlatInputUnacquire(PlatInputDevice device)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(device)->Unacquire());
}

int PlatInputGetDeviceState(PlatInputDevice device, uint32_t size, void* state)
{
    if (device == nullptr || state == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    HRESULT result = Win32Native(device)->GetDeviceState(size, state);
    if (result == DI_OK) {
        FoldBufferedPresses(Win32Native(device), size, state);
    }
    return Win32Result(result);
}

void PlatInputDeviceRelease(PlatInputDevice device)
{
    Win32Release(device);
}

void PlatInputRelease(PlatInput input)
{
    Win32Release(input);
}

// A Windows desktop takes digits from its keyboard and knows only a mouse;
// there is nothing to show or to follow.
void PlatStartTextInput() {}

void PlatStopTextInput() {}

void PlatSetPointerAreas(const PlatPointerAreas&) {}
