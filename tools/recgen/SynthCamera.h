// Synthetic camera pictures: a moving pattern in the camera's own colour with the camera number and the
// frame time drawn in, compressed with libjpeg.
#pragma once

#include "platform/core/Types.h"

#include <vector>

namespace recgen {

class SynthCamera {
public:
    // channel 1..4; quality 1..100.
    SynthCamera(int channel, int width, int height, int quality = 60);

    // One JPEG picture of the frame `tick` (any counter that moves the pattern) at `time`.
    std::vector<BYTE> Picture(DWORD time, DWORD tick);

    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    void DrawPattern(DWORD tick);
    void DrawText(const char* text, int x, int y, int scale);

    int channel_;
    int width_;
    int height_;
    int quality_;
    std::vector<BYTE> rgb_;
};

} // namespace recgen
