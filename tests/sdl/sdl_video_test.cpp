// Opens the game's display on the SDL backend, draws known pictures into the
// back buffer, presents them and checks that the window shows exactly them,
// scaled. Then, as the game redraws its whole picture every frame: a flip of
// the same picture puts nothing new on the screen, a flip that moved the lamp
// puts only about the lamp's part there and the screen shows it, and in an X
// server the screen, read back from the server, is whole again after another
// window covered it. With "paced", then runs a second of frames as the game
// does (flip, then the 10 ms wait), once changing the picture every frame and
// once not, and checks that none is shorter than 10 ms and that a renderer
// without vertical sync, or a flip with nothing to show, sleeps in its flip
// rather than leaving the wait to spin. Exit status 0 when every picture
// arrived and the pace held.
//   dellomar_sdl_video_test [frames] [paced]
#include "app/app_shell.h"
#include "screens/frame_clock.h"
#include "display/display_device.h"
#include "display/sprite.h"
#include "display/text.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_video.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int32_t W = 800;
constexpr int32_t H = 600;

bool OpenWindow()
{
    return OpenMainWindow(nullptr) == 0;
}

// Every pixel distinct from its neighbours in some channel, different per frame.
uint16_t PatternPixel(int32_t x, int32_t y, int32_t frame)
{
    return static_cast<uint16_t>(
        PackRGB565((x * 5 + frame * 40) & 255, (y * 3 + x) & 255, (x ^ y) * 7 + frame * 90));
}

// Draws a frame through the game's own calls, with the lamp `lampStep` steps
// along; returns the back buffer as drawn.
std::vector<uint16_t> DrawFrame(int32_t frame, Sprite* lamp, int32_t lampStep)
{
    SurfaceFill(g_backSurface, 0, nullptr);
    BackBufferLock();
    std::vector<uint16_t> drawn;
    if (g_backBits == nullptr) {
        return drawn;
    }
    const int32_t line = g_backPitch / 2;
    for (int32_t y = 0; y < H; ++y) {
        for (int32_t x = 0; x < W; ++x) {
            g_backBits[y * line + x] = PatternPixel(x, y, frame);
        }
    }
    lamp->x = -30 + lampStep * 7;
    lamp->y = H - 50;
    SpriteDraw(lamp, g_backBits, g_backPitch, 1);
    DrawTextAt(635, 260, "Well done!!");
    for (int32_t y = 0; y < H; ++y) {
        drawn.insert(drawn.end(), g_backBits + y * line, g_backBits + y * line + W);
    }
    BackBufferUnlock();
    return drawn;
}

// Each picture pixel, sampled at its centre in the scaled output.
int CountMismatches(const std::vector<uint16_t>& drawn, const SdlCapturedFrame& shown)
{
    if (shown.viewWidth <= 0 || shown.viewHeight <= 0 || shown.pixels.empty()) {
        return W * H;
    }
    int mismatches = 0;
    for (int32_t y = 0; y < H; ++y) {
        const int oy = shown.viewY + static_cast<int>((y + 0.5) * shown.viewHeight / H);
        for (int32_t x = 0; x < W; ++x) {
            const int ox = shown.viewX + static_cast<int>((x + 0.5) * shown.viewWidth / W);
            if (ox < 0 || oy < 0 || ox >= shown.width || oy >= shown.height) {
                ++mismatches;
                continue;
            }
            const uint32_t argb = shown.pixels[static_cast<size_t>(oy * shown.width + ox)];
            const uint16_t pixel = drawn[static_cast<size_t>(y * W + x)];
            const bool same = ((argb >> 19) & 31u) == ((pixel >> 11) & 31u) &&
                              ((argb >> 10) & 63u) == ((pixel >> 5) & 63u) &&
                              ((argb >> 3) & 31u) == (pixel & 31u);
            mismatches += same ? 0 : 1;
        }
    }
    return mismatches;
}

// The lamp: a ring with a transparent middle.
bool MakeLamp(Sprite* lamp, Bitmap* picture)
{
    picture->infoHeader.biWidth = 120;
    picture->infoHeader.biHeight = 120;
    picture->infoHeader.biBitCount = 16;
    picture->pixels = static_cast<uint8_t*>(std::calloc(120 * 120, 2));
    if (picture->pixels == nullptr) {
        return false;
    }
    for (int32_t y = 0; y < 120; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            const int32_t d = (x - 60) * (x - 60) + (y - 60) * (y - 60);
            const uint16_t pixel = d > 45 * 45 && d < 59 * 59 ? 0xFFE0 : 0;
            picture->pixels[2 * (y * 120 + x)] = static_cast<uint8_t>(pixel);
            picture->pixels[2 * (y * 120 + x) + 1] = static_cast<uint8_t>(pixel >> 8);
        }
    }
    return SpriteCreate(lamp, 0, 0, 120, 120, 16) == 1 &&
           SpriteGrab(lamp, picture, 0, 0, GRAB_PIXEL) == 1;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "sdl_video_test (%s): %s: %s\n", SDL_GetCurrentVideoDriver(), what,
                 PlatLastError());
    return 1;
}

// The window may take a moment to appear; events keep the server happy meanwhile.
void Settle(uint32_t milliseconds)
{
    const uint32_t start = SDL_GetTicks();
    PlatMessage message{};
    while (SDL_GetTicks() - start < milliseconds) {
        while (PlatPeekMessage(&message)) {}
        SDL_Delay(10);
    }
}

double Seconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Frames as the play screen runs them, timed by the game's own tick counter;
// the picture is only filled, so that what is measured is the flip and the wait.
bool PaceHolds(bool changing)
{
    constexpr int FRAMES = 60;
    uint32_t shortest = UINT32_MAX;
    double asleep = 0.0;
    const double start = Seconds(CLOCK_MONOTONIC);
    const double startCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int frame = 0; frame < FRAMES; ++frame) {
        const uint32_t frameStart = FrameClockStart();
        PlatMessage message{};
        while (PlatPeekMessage(&message)) {}
        SurfaceFill(g_backSurface, changing ? static_cast<uint32_t>(frame * 2049) : 0x1234u,
                    nullptr);
        const double flipStart = Seconds(CLOCK_MONOTONIC);
        const double flipCpu = Seconds(CLOCK_THREAD_CPUTIME_ID);
        if (DisplayFlip() != 1) {
            std::fprintf(stderr, "sdl_video_test: a paced frame was not presented\n");
            return false;
        }
        asleep += (Seconds(CLOCK_MONOTONIC) - flipStart) -
                  (Seconds(CLOCK_THREAD_CPUTIME_ID) - flipCpu);
        FrameClockWait(10);
        shortest = std::min(shortest, PlatGetTickCount() - frameStart);
    }
    const double wall = Seconds(CLOCK_MONOTONIC) - start;
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - startCpu;
    const bool sleeps = (changing && std::strcmp(SdlVideoRendererName(), "software") != 0) ||
                        asleep > 0.25 * wall;
    std::printf("paced on %s/%s, %s picture: %.1f frames a second, shortest frame %u ms, %.0f%% "
                "of the time asleep in the flip, CPU %.0f%% of a core\n",
                SDL_GetCurrentVideoDriver(), SdlVideoRendererName(),
                changing ? "a changing" : "an unchanged", FRAMES / wall, shortest,
                100.0 * asleep / wall, 100.0 * cpu / wall);
    if (shortest < 10) {
        std::fprintf(stderr, "sdl_video_test: a frame took less than 10 ms\n");
    }
    if (!sleeps) {
        std::fprintf(stderr, "sdl_video_test: the flip did not sleep until the refresh\n");
    }
    return shortest >= 10 && sleeps;
}

// The game's window as the X server holds it, through a connection of our own
// (SDL's would lose its events to ours); null on another video driver.
struct XScreen {
    Display* display = nullptr;
    Window window = 0;
};

XScreen OpenXScreen()
{
    XScreen screen;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(SdlMainWindow(), &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return screen;
    }
    screen.display = XOpenDisplay(nullptr);
    screen.window = info.info.x11.window;
    return screen;
}

// What the server shows in the window, laid out as the last capture says the
// picture lies.
SdlCapturedFrame ReadXScreen(const XScreen& screen, const SdlCapturedFrame& layout)
{
    SdlCapturedFrame frame = layout;
    XImage* image = XGetImage(screen.display, screen.window, 0, 0,
                              static_cast<unsigned>(layout.width),
                              static_cast<unsigned>(layout.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        frame.pixels.clear();
        return frame;
    }
    for (int y = 0; y < layout.height; ++y) {
        for (int x = 0; x < layout.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const auto channel = [pixel](unsigned long mask) {
                int shift = 0;
                while (mask != 0 && (mask & 1u) == 0) {
                    mask >>= 1;
                    ++shift;
                }
                const unsigned long value = (pixel >> shift) & mask;
                return static_cast<uint32_t>(mask != 0 ? value * 255 / mask : 0);
            };
            frame.pixels[static_cast<size_t>(y * layout.width + x)] = 0xFF000000u |
                                                                      channel(image->red_mask)
                                                                          << 16 |
                                                                      channel(image->green_mask)
                                                                          << 8 |
                                                                      channel(image->blue_mask);
        }
    }
    XDestroyImage(image);
    return frame;
}

// Covers part of the game's window with another and takes it away again; true
// once the game's display has heard that its window was exposed.
bool CoverAndUncover(const XScreen& screen)
{
    const uint64_t exposures = SdlVideoPresentStats().exposures;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0xFF00FF;
    Window cover = XCreateWindow(screen.display, DefaultRootWindow(screen.display), 50, 40, 500,
                                 400, 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(screen.display, cover);
    XSync(screen.display, False);
    XWindowAttributes state{};
    for (int i = 0; i < 500 && XGetWindowAttributes(screen.display, cover, &state) != 0 &&
                    state.map_state != IsViewable;
         ++i) {
        SDL_Delay(10);
    }
    XUnmapWindow(screen.display, cover);
    XDestroyWindow(screen.display, cover);
    XSync(screen.display, False);
    PlatMessage message{};
    for (int i = 0; i < 500 && SdlVideoPresentStats().exposures == exposures; ++i) {
        while (PlatPeekMessage(&message)) {}
        SDL_Delay(10);
    }
    return SdlVideoPresentStats().exposures != exposures;
}

int ScreenMismatches(const XScreen& screen, const std::vector<uint16_t>& drawn)
{
    if (screen.display == nullptr) {
        return CountMismatches(drawn, SdlVideoCapturedFrame());
    }
    return CountMismatches(drawn, ReadXScreen(screen, SdlVideoCapturedFrame()));
}

// The game redraws its whole picture every frame; what reaches the screen is
// only what differs from the last frame shown.
int ChangesOnly(Sprite* lamp)
{
    const XScreen screen = OpenXScreen();
    const char* where = screen.display != nullptr ? "read back from the X server" : "captured";
    int failures = 0;
    const auto fail = [&failures](const char* what) {
        std::fprintf(stderr, "sdl_video_test: %s\n", what);
        ++failures;
    };
    std::vector<uint16_t> drawn = DrawFrame(10, lamp, 10);
    DisplayFlip();
    const SdlPresentStats before = SdlVideoPresentStats();
    for (int i = 0; i < 3; ++i) {
        DrawFrame(10, lamp, 10);
        DisplayFlip();
    }
    const SdlPresentStats unchanged = SdlVideoPresentStats();
    std::printf("unchanged: %llu flips put %llu pixels\n",
                static_cast<unsigned long long>(unchanged.flips - before.flips),
                static_cast<unsigned long long>(unchanged.pixelsPut - before.pixelsPut));
    if (unchanged.shown != before.shown || unchanged.pixelsPut != before.pixelsPut) {
        fail("a flip of an unchanged picture put something on the screen");
    }
    // The lamp one step on: a 120-pixel block, its old place and its new.
    drawn = DrawFrame(10, lamp, 11);
    DisplayFlip();
    const SdlCapturedFrame& shown = SdlVideoCapturedFrame();
    const uint64_t put = SdlVideoPresentStats().pixelsPut - unchanged.pixelsPut;
    const double scale = static_cast<double>(shown.viewWidth) / W;
    std::printf("lamp moved: %llu pixels put of %d\n", static_cast<unsigned long long>(put),
                shown.width * shown.height);
    if (put == 0 || static_cast<double>(put) > 130.0 * W * scale * scale * 1.2) {
        fail("a flip that moved the lamp put nothing or more than the lamp's rows");
    }
    int mismatches = ScreenMismatches(screen, drawn);
    std::printf("lamp moved, %s: %d pixels differ\n", where, mismatches);
    if (mismatches != 0) {
        fail("the moved lamp is not what the screen shows");
    }
    if (screen.display != nullptr) {
        if (!CoverAndUncover(screen)) {
            fail("the display never heard that its window was exposed");
        }
        DrawFrame(10, lamp, 11);
        DisplayFlip();
        mismatches = ScreenMismatches(screen, drawn);
        std::printf("exposed again, %s: %d pixels differ\n", where, mismatches);
        if (mismatches != 0) {
            fail("after it was covered the window is not whole");
        }
        XCloseDisplay(screen.display);
    }
    return failures;
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 3;
    if (!OpenWindow()) {
        return Fail("no window");
    }
    if (DisplayOpen(W, H, 16, 0) != 1) {
        return Fail("the display did not open");
    }
    if (g_pixelFormat != 16 || g_backPitch != 0) {
        return Fail("unexpected pixel format or lock state");
    }
    Settle(300);
    Sprite lamp{};
    Bitmap lampPicture{};
    if (!MakeLamp(&lamp, &lampPicture)) {
        return Fail("no lamp");
    }
    SdlVideoCapture(true);
    int failures = 0;
    for (int32_t frame = 0; frame < frames; ++frame) {
        std::vector<uint16_t> drawn = DrawFrame(frame, &lamp, frame);
        if (drawn.empty()) {
            return Fail("the back buffer could not be locked");
        }
        if (DisplayFlip() != 1) {
            return Fail("the frame was not presented");
        }
        const SdlCapturedFrame& shown = SdlVideoCapturedFrame();
        const int mismatches = CountMismatches(drawn, shown);
        std::printf("frame %d on %s/%s: output %dx%d, picture %dx%d at (%d,%d), %d pixels differ\n",
                    frame, SDL_GetCurrentVideoDriver(), SdlVideoRendererName(), shown.width,
                    shown.height, shown.viewWidth, shown.viewHeight, shown.viewX, shown.viewY,
                    mismatches);
        failures += mismatches != 0 ? 1 : 0;
        Settle(50);
    }
    failures += ChangesOnly(&lamp);
    SdlVideoCapture(false);
    if (argc > 2 && std::strcmp(argv[2], "paced") == 0) {
        failures += PaceHolds(true) ? 0 : 1;
        failures += PaceHolds(false) ? 0 : 1;
    }
    SpriteDestroy(&lamp);
    BitmapUnload(&lampPicture);
    DisplayClose();
    SDL_Quit();
    return failures == 0 ? 0 : 1;
}
