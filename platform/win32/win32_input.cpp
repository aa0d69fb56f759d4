// The input seam on the native polled input devices. Every call hands back
// the native result code unchanged: the game treats only exactly 0 as success.
#include "platform/input.h"
#include "platform/win32/win32_internal.h"

#include <dinput.h>

namespace {

IDirectInput8A* Native(PlatInput input)
{
    return reinterpret_cast<IDirectInput8A*>(input);
}

IDirectInputDevice8A* Native(PlatInputDevice device)
{
    return reinterpret_cast<IDirectInputDevice8A*>(device);
}

} // namespace

int PlatInputCreate(PlatInstance instance, uint32_t version, PlatInput* input)
{
    void* created = nullptr;
    HRESULT result =
        DirectInput8Create(Win32Instance(instance), version, IID_IDirectInput8A, &created, nullptr);
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
    HRESULT result = Native(input)->CreateDevice(which, &created, nullptr);
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
    return Win32Result(Native(device)->SetCooperativeLevel(Win32Window(window), flags));
}

int PlatInputSetDataFormat(PlatInputDevice device, PlatInputDataFormat format)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    const DIDATAFORMAT* native =
        format == PlatInputDataFormat::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse;
    return Win32Result(Native(device)->SetDataFormat(native));
}

int PlatInputAcquire(PlatInputDevice device)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    return Win32Result(Native(device)->Acquire());
}

int PlatInputUnacquire(PlatInputDevice device)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    return Win32Result(Native(device)->Unacquire());
}

int PlatInputGetDeviceState(PlatInputDevice device, uint32_t size, void* state)
{
    if (device == nullptr || state == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    return Win32Result(Native(device)->GetDeviceState(size, state));
}

void PlatInputDeviceRelease(PlatInputDevice device)
{
    if (device != nullptr) {
        Native(device)->Release();
    }
}

void PlatInputRelease(PlatInput input)
{
    if (input != nullptr) {
        Native(input)->Release();
    }
}
