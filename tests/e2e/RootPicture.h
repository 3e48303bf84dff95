// The whole screen of an X display as a binary PPM picture, read over a connection of the test's own:
// what ImageMagick's import of the root window gives, without a program started for each picture.
#pragma once

#include <string>

struct _XDisplay;

namespace e2e {

class RootPicture {
public:
    // Throws when the display cannot be opened.
    explicit RootPicture(const std::string& display);
    ~RootPicture();
    RootPicture(const RootPicture&) = delete;
    RootPicture& operator=(const RootPicture&) = delete;

    // P6, maxval 255; throws when the screen cannot be read.
    std::string Ppm();

private:
    _XDisplay* display_;
};

} // namespace e2e
