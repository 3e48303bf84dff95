// Where the four screens go: the single and four-screen layouts inside the skin for both video
// standards, and the full-display mode. A pure function of the window's state, so that every rectangle
// is known without a window; the main window applies the result to its panels, screens and labels.
#pragma once

#include "platform/core/Types.h"

#include <array>
#include <optional>
#include <span>

struct LayoutBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const LayoutBox&) const = default;
};

struct ScreenLayoutInput {
    int videoStandard = 1; // 1 NTSC; any other value lays out the taller PAL screens
    int screenCount = 1;   // 4: four screens; anything else: the camera below alone
    int camera = 0;        // 0..3
    bool fullMode = false;
    int lastWidth = 0;    // width of the last picture: 352 gives the narrower screens
    int displayWidth = 0; // full mode: the display
    int displayHeight = 0;
    std::array<bool, 4> covert{};
};

struct ScreenLayout {
    // Full mode: the window at (0, 0) with this client size.
    std::optional<LayoutBox> window;
    std::optional<LayoutBox> panelScreen;
    // Panel1..4 and the screens inside them; nullopt keeps the old bounds.
    std::array<std::optional<LayoutBox>, 4> panels;
    std::array<bool, 4> panelVisible{};
    std::array<std::optional<LayoutBox>, 4> screens;
    std::array<bool, 4> screenVisible{};
    // Full mode: the quarter backgrounds Panel5..8.
    std::array<std::optional<LayoutBox>, 4> quarters;
    // The marks are hidden first, then moved: LabelS1 and each screen's A and M labels (-1 = stays).
    bool hideMarks = false;
    int markS1Left = -1;
    std::array<int, 4> markALeft{-1, -1, -1, -1};
    std::array<int, 4> markMLeft{-1, -1, -1, -1};
    // Full mode: time labels placed, shown and brought to the front; others listed are hidden.
    std::array<std::optional<TPoint>, 4> timeLabelShown;
    std::array<bool, 4> timeLabelHidden{};
    bool checkQuad = false;
    int checkCamera = -1; // 0..3: the camera's menu item is checked
};

ScreenLayout ComputeScreenLayout(const ScreenLayoutInput& in);

// The tops of the controls under the screens, by video standard.
struct ControlTop {
    const char* name;
    int ntsc;
    int pal;
};
std::span<const ControlTop> ControlTops();

// Left of BtnPlay, BtnPause, BtnStop and BtnNext.
std::array<int, 4> PlaybackButtonLefts(bool local);
