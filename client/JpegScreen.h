// Pictures of the A/V stream and of recorded files into a screen: one JPEG decoded by libjpeg into the
// window's JPEG image object and shown, stretched to the screen's bounds, in the screen's image control.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>

class TImage;
class TJPEGImage;

// False, with the screen as it was, when the bytes are not a complete picture; a damaged picture never
// ends the program. A screen at most half as wide as the picture (`pictureWidth`, as the frame gives
// it; 0 when unknown) gets the picture decoded at half its size, which libjpeg does in a fraction of
// the time and with a better filter than a stretch.
bool ShowJpegPicture(TJPEGImage& jpeg, TImage& screen, const BYTE* data, std::size_t length,
                     DWORD pictureWidth = 0);
