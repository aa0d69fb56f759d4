// Test hooks of the SDL display, for programs that check what reached the
// window.
#pragma once

#include <cstdint>
#include <vector>

// What the renderer drew for the last presented frame, read back just before
// it was shown: the whole output, `width` × `height` ARGB8888 pixels, rows
// back to back; the picture fills the view rectangle, the rest is bars.
struct SdlCapturedFrame {
    int width;
    int height;
    int viewX;
    int viewY;
    int viewWidth;
    int viewHeight;
    std::vector<uint32_t> pixels;
};

// While on, every present keeps a copy (this costs a read-back per frame).
void SdlVideoCapture(bool on);
const SdlCapturedFrame& SdlVideoCapturedFrame();
// The renderer in use ("software", "opengl", ...), or "" before there is one.
const char* SdlVideoRendererName();
// While off, a renderer without vertical sync presents without waiting for
// the next refresh (for measuring the present alone).
void SdlVideoPace(bool on);

// What the flips did, for programs that check that an unchanged picture puts
// nothing new on the screen.
struct SdlPresentStats {
    uint64_t flips;     // pictures given to the display to show
    uint64_t shown;     // of them, those that put something on the screen
    uint64_t pixelsPut; // screen pixels put (window surface) or picture pixels uploaded
    uint64_t exposures; // times the window asked to be shown whole again
};
const SdlPresentStats& SdlVideoPresentStats();
