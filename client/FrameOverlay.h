// The overlays drawn from a video frame's side data: the camera title, the four signal lamps, the GPS
// text (position and speed) and the tacho text (speed and engine speed), and the position the map
// follows. Pure text work; the main window puts the results into its labels.
#pragma once

#include "formats/QelSideData.h"

#include <optional>
#include <span>
#include <string>

inline constexpr std::size_t kCameraTitleMax = 11;

// The next block of the walk: its kind (QELSIDE_TEXT, a typed block's kind) or QELSIDE_END at the end of
// the side data and at a block that is cut short, too small for its kind or reaches past the payload
// (`malformed` tells the two ends apart).
int ParseFrameSideData(QelFrameSideData& walker, QelSideBlock& block, bool* malformed = nullptr);

struct GpsReading {
    double latitude = 0;      // degrees, south negative, rounded to six decimals
    double longitude = 0;     // west negative
    std::string latitudeText; // "%.6f"
    std::string longitudeText;
    std::string text; // the three overlay lines
};
GpsReading ReadGpsFix(const QelGpsFix& fix);

// "%d KM/H\n%d RPM".
std::string TachoText(const QelTacho& tacho);

// A title from a text block: at most 11 bytes, ending at the first NUL, never ending inside a UTF-8
// character.
std::string CameraTitleFromText(std::span<const BYTE> text);

struct FrameOverlayUpdate {
    int titleChannel = 0; // 1..4: the title of that camera is set to `title`
    std::string title;
    std::optional<DWORD> lamps; // lamp bits when a lamps block came
    // When set, all four GPS (tacho) labels get the text; which of them show is the menu's choice.
    // A GPS block gives the GPS text and empties the tacho text, a tacho block the other way round:
    // the later one wins, so the two never lie over each other and a reading that stops coming goes.
    // A frame without side data empties both; side data without either block leaves both.
    std::optional<std::string> gpsText;
    std::optional<std::string> tachoText;
    // When set, the map is to be centred on these "%.6f" texts.
    bool moveMap = false;
    std::string mapLatitude;
    std::string mapLongitude;
    bool malformed = false; // the walk ended at a bad block
};

// The overlays of a video frame of `channel` (1..4; others set no title). A GPS fix that differs from
// the position last drawn (`lastLatitude`, `lastLongitude`) becomes the new one, and moves the map
// once its page has loaded.
FrameOverlayUpdate ReadFrameOverlay(std::span<const BYTE> payload2, DWORD channel, double& lastLatitude,
                                    double& lastLongitude, bool mapPageLoaded);

// The screen (0..3) whose GPS or tacho label "ON" shows: screen 1 in the four-screen layout, else the
// selected camera's; -1 when no camera is selected.
int OverlayScreenOn(int screenCount, int selectedCamera);
