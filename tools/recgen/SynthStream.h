// A synthetic recorder stream: video frames of every camera at the chosen rate with their side data,
// and one audio frame a second, in time order. The same frames feed the live stream of the simulated
// recorder and the recordings of the generated store.
#pragma once

#include "formats/QelAvFrame.h"
#include "formats/QelSideData.h"
#include "tools/recgen/SynthAudio.h"
#include "tools/recgen/SynthCamera.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace recgen {

// What the vehicle puts into every video frame beside the lamps and the camera's title. A vehicle has
// one GPS receiver and one tacho input: each moment's block is the same in every camera's frame.
// Mixed puts GPS on cameras 1 and 3 and tacho on 2 and 4, for the rule that the later block wins.
enum class SideDataPattern { None, Gps, Tacho, Mixed };
// "none", "gps", "tacho", "mixed"; an empty optional for any other text.
std::optional<SideDataPattern> SideDataPatternNamed(const std::string& name);

struct SynthStreamOptions {
    int cameras = 4;             // 1 or 4
    BYTE standard = QELSTD_NTSC; // 1 NTSC 30 fps, 2 PAL 25 fps
    bool large = false;          // 704 x 480 (NTSC) / 704 x 576 (PAL) instead of 352 x 240 / 352 x 288
    int framesPerSecond = 0;     // per camera; 0 = the standard's full rate
    int quality = 60;
    bool audio = true; // one G.726 frame a second on channel 1
    SideDataPattern sideData = SideDataPattern::Gps;
    std::vector<std::pair<DWORD, DWORD>> events; // [from, to) spans in which event states are set
};

// The event state a camera shows at a time: alarm and motion marks come and go in a fixed rhythm inside
// the event spans.
DWORD SynthEventState(const SynthStreamOptions& options, int channel, DWORD time);

// The side data of one video frame: the lamps, the pattern's GPS or tacho block, the camera's title.
// Empty for SideDataPattern::None.
std::vector<BYTE> SynthSideData(SideDataPattern pattern, int channel, DWORD time, DWORD tick);
// The GPS position along the simulated route at a time.
QelGpsFix SynthGpsFix(DWORD time, DWORD tick);

class SynthStream {
public:
    SynthStream(const SynthStreamOptions& options, DWORD startTime);

    // The next frame in time order.
    QelAvFrame Next();
    // Time of the frame Next() returns next, and its tick within the second.
    DWORD Time() const { return time_; }
    int Tick() const { return tick_; }
    int Rate() const { return rate_; }
    // Restarts at a new time (a search).
    void Seek(DWORD time);

private:
    SynthStreamOptions options_;
    std::vector<std::unique_ptr<SynthCamera>> cameras_;
    SynthAudio audio_;
    int rate_;
    DWORD time_;
    int tick_ = 0;   // frame slot within the second
    int camera_ = 0; // next camera within the slot
    bool audioDue_ = true;
    DWORD frameCount_ = 0;
};

} // namespace recgen
