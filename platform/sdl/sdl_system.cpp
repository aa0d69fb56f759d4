// The window, its events, the tick counter and the live key state on SDL.
// Messages go through the shared queue; closing the window from the desktop,
// SIGINT, SIGTERM and SIGHUP all post the close that Escape does.
#include "platform/common/last_error.h"
#include "platform/common/message_queue.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/system.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

SDL_Window* s_window = nullptr;
PlatWindow s_platWindow = nullptr;
volatile std::sig_atomic_t s_signalled = 0;
// Never cleared: the entry screens may ask after the quit request was posted.
volatile std::sig_atomic_t s_endRequested = 0;

void OnSignal(int)
{
    s_signalled = 1;
    s_endRequested = 1;
}

// An empty variable names nothing, for SDL as for the game: "DISPLAY= dellomar"
// sets no display.
const char* EnvSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

// SDL quietly falls back to a driver that shows nothing when no display is
// reachable; the game only accepts those drivers when the user asked for them.
bool DriverAcceptable(const char* driver)
{
    if (driver == nullptr) {
        return false;
    }
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) {
        return true;
    }
    const char* asked = EnvSet("SDL_VIDEODRIVER");
    return asked != nullptr && std::strstr(asked, driver) != nullptr;
}

// With nothing to connect to, asking SDL would only make its drivers complain
// on stderr before they give up.
bool DisplayReachable()
{
    return EnvSet("SDL_VIDEODRIVER") != nullptr || EnvSet("DISPLAY") != nullptr ||
           EnvSet("WAYLAND_DISPLAY") != nullptr;
}

const char* const NO_DISPLAY_SET = "no display is set (DISPLAY and WAYLAND_DISPLAY are empty or "
                                   "unset; SDL_VIDEODRIVER=dummy runs without one)";

bool HasVideoDriver(const std::string& name)
{
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        if (SDL_strcasecmp(SDL_GetVideoDriver(i), name.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

// When SDL_VIDEODRIVER (a comma-separated list, as SDL reads it) names only
// drivers this SDL was built without, says so and what it has instead; empty
// when any of them exists, as then that driver is what failed.
std::string UnknownDriverFailure()
{
    const char* asked = EnvSet("SDL_VIDEODRIVER");
    if (asked == nullptr) {
        return "";
    }
    std::string list = asked;
    for (size_t start = 0; start <= list.size();) {
        size_t end = std::min(list.find(',', start), list.size());
        if (end > start && HasVideoDriver(list.substr(start, end - start))) {
            return "";
        }
        start = end + 1;
    }
    std::string known;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        known += (i == 0 ? "" : ", ") + std::string(SDL_GetVideoDriver(i));
    }
    const bool several = list.find(',') != std::string::npos;
    return std::string(several ? "the video drivers \"" : "the video driver \"") + list +
           "\" named in SDL_VIDEODRIVER " + (several ? "are" : "is") +
           " not available (available: " + known + ")";
}

// True when the process can open only a few more files: SDL's drivers then
// fail one after the other, and only its offscreen one is left, which reads
// as "no display" although the display is there.
bool ShortOfFiles(rlim_t* limit)
{
    constexpr int WANTED = 8; // more than any of SDL's drivers opens to start
    int opened[WANTED];
    int count = 0;
    int failure = 0;
    while (count < WANTED) {
        int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            failure = errno;
            break;
        }
        opened[count++] = fd;
    }
    for (int i = 0; i < count; ++i) {
        close(opened[i]);
    }
    rlimit files{};
    *limit = getrlimit(RLIMIT_NOFILE, &files) == 0 ? files.rlim_cur : 0;
    return failure == EMFILE || failure == ENFILE;
}

// Names what kept the game from its display: the limit on open files, or
// the display itself (then followed by `hint`).
std::string DisplayFailure(const char* hint)
{
    rlim_t limit = 0;
    if (ShortOfFiles(&limit)) {
        return "too few files may be open at once to reach the display (open file limit " +
               std::to_string(limit) + ", see ulimit -n)";
    }
    const char* name = EnvSet("DISPLAY");
    if (name == nullptr) {
        name = EnvSet("WAYLAND_DISPLAY");
    }
    if (name == nullptr) {
        return NO_DISPLAY_SET;
    }
    return std::string("the display ") + name + " could not be opened" + hint;
}

// With no window manager nobody else gives the window the keyboard. Asked
// again whenever the window is shown, since a renderer may remake it.
void TakeFocus()
{
    SDL_RaiseWindow(s_window);
    if (SDL_SetWindowInputFocus(s_window) != 0) {
        SDL_ClearError();
    }
}

// Under an address-space limit SDL's drivers fail in many ways, and all of
// them when nothing more can be mapped; a failed step that leaves no room for
// a few more megabytes was out of memory, whatever it said.
bool OutOfMemory()
{
    const char* detail = SDL_GetError();
    if (detail != nullptr && (strcasestr(detail, "out of memory") != nullptr ||
                              strcasestr(detail, "cannot allocate memory") != nullptr ||
                              strcasestr(detail, "failed to map segment") != nullptr)) {
        return true;
    }
    constexpr size_t PROBE_BYTES = size_t{32} << 20;
    void* probe = mmap(nullptr, PROBE_BYTES, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (probe == MAP_FAILED) {
        return errno == ENOMEM;
    }
    munmap(probe, PROBE_BYTES);
    return false;
}

// The reason a step of opening the window failed; null keeps the one given.
void NoteOpeningFailure(const char* what)
{
    if (OutOfMemory()) {
        NoteLastError("ran out of memory while opening the window");
    } else if (what != nullptr) {
        SdlSetLastError(what);
    }
}

// The desktop or a signal asks the game to end: the same close the game
// posts for Escape.
void PostWindowClose()
{
    if (s_platWindow != nullptr) {
        QueuePost(s_platWindow, PLAT_MSG_DESTROY, 0, 0);
    }
}

} // namespace

SDL_Window* SdlMainWindow()
{
    return s_window;
}

void SdlSetLastError(const char* what)
{
    std::string reason = what;
    const char* detail = SDL_GetError();
    if (detail != nullptr && detail[0] != '\0') {
        reason += ": ";
        reason += detail;
    }
    NoteLastError(reason);
}

void SdlInstallSignalHandlers()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // A save under way finishes its writes rather than failing half-way.
    action.sa_flags = SA_RESTART;
    // A closing terminal or session (SIGHUP) ends the game like SIGTERM does.
    for (int number : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(number, &action, nullptr);
    }
    // Past a file-size limit a write fails with EFBIG and Save gives up as on a
    // full disk; the default action would kill the game mid-save.
    signal(SIGXFSZ, SIG_IGN);
}

void SdlPumpEvents()
{
    if (s_signalled != 0) {
        s_signalled = 0;
        PostWindowClose();
    }
    if (s_window == nullptr) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_QUIT) {
            PostWindowClose();
        } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SHOWN) {
            TakeFocus();
        }
        SdlVideoNoteEvent(event);
        SdlInputNoteEvent(event);
    }
}

PlatWindow PlatCreateWindow(uint32_t, const char* className, const char* caption, uint32_t,
                            int32_t x, int32_t y, int32_t width, int32_t height, PlatInstance)
{
    if (!DisplayReachable()) {
        NoteLastError(NO_DISPLAY_SET);
        return nullptr;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::string unknown = UnknownDriverFailure();
        if (!unknown.empty()) {
            NoteLastError(unknown);
        } else {
            NoteOpeningFailure(DisplayFailure("").c_str());
        }
        return nullptr;
    }
    if (!DriverAcceptable(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        NoteLastError(DisplayFailure(" (set SDL_VIDEODRIVER to run without one)"));
        return nullptr;
    }
    // Borderless over the whole desktop; the picture is scaled to fit, so the
    // desktop's own video mode is never switched. Made borderless first and
    // then full screen, so the border hints are set whatever the desktop does.
    SDL_Rect desktop{x, y, width, height};
    SDL_GetDisplayBounds(0, &desktop);
    s_window = SDL_CreateWindow(caption, desktop.x, desktop.y, desktop.w, desktop.h,
                                SDL_WINDOW_BORDERLESS);
    if (s_window == nullptr) {
        rlim_t limit = 0;
        NoteOpeningFailure(ShortOfFiles(&limit) ? "the window could not be created: too few "
                                                  "files may be open at once (see ulimit -n)"
                                                : "the window could not be created");
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return nullptr;
    }
    SDL_SetWindowFullscreen(s_window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    // Made with the window, so that a window that opens can also show the game.
    if (!SdlVideoOpenRenderer(s_window)) {
        NoteOpeningFailure(nullptr);
        SDL_DestroyWindow(s_window);
        s_window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return nullptr;
    }
    TakeFocus();
    s_platWindow = QueueCreateWindow(className);
    if (s_platWindow == nullptr) {
        NoteLastError("the window class is not registered");
        SDL_DestroyWindow(s_window);
        s_window = nullptr;
        return nullptr;
    }
    QueueDispatch({s_platWindow, PLAT_MSG_CREATE, 0, 0});
    return s_platWindow;
}

bool PlatPeekMessage(PlatMessage* message)
{
    SdlPumpEvents();
    return QueuePeek(message);
}

int PlatShowCursor(bool show)
{
    return SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE) == SDL_ENABLE ? 0 : -1;
}

uint32_t PlatGetTickCount()
{
    // Milliseconds since boot, cut to 32 bits so that it wraps as the game expects.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u +
                  static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

int16_t PlatGetAsyncKeyState(int virtualKey)
{
    SdlPumpEvents();
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    bool down = false;
    if (virtualKey == PLAT_VK_ESCAPE) {
        down = keys[SDL_SCANCODE_ESCAPE] != 0;
    } else if (virtualKey == PLAT_VK_MENU) {
        down = keys[SDL_SCANCODE_LALT] != 0 || keys[SDL_SCANCODE_RALT] != 0;
    }
    // A tap since the previous question counts as down once.
    down = SdlTakeLivePress(virtualKey) || down;
    return down ? static_cast<int16_t>(-32768) : int16_t{0};
}

bool PlatEndRequested()
{
    return s_endRequested != 0;
}
