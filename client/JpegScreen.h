// Pictures of the A/V stream and of recorded files into a screen: one JPEG decoded by libjpeg into the
// window's JPEG image object and shown, stretched to the screen's bounds, in the screen's image control.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>

class TImage;
class TJPEGImage;

// False, with the screen as it was, when the bytes are not a complete picture; a damaged picture never
// ends the program.
bool ShowJpegPicture(TJPEGImage& jpeg, TImage& screen, const BYTE* data, std::size_t length);
