#include "client/JpegScreen.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/GraphicsErrors.h"
#include "platform/vcl/Jpeg.h"

namespace {

// The quad screens (360 wide) of 704-pixel pictures count as half.
constexpr DWORD kHalfTolerance = 32;

} // namespace

bool ShowJpegPicture(TJPEGImage& jpeg, TImage& screen, const BYTE* data, std::size_t length,
                     DWORD pictureWidth) {
    const int width = screen.Width();
    const TJPEGScale scale =
        width > 0 && static_cast<DWORD>(width) * 2 <= pictureWidth + kHalfTolerance ? jsHalf : jsFullSize;
    if (jpeg.Scale() != scale) {
        // Emptied first: a loaded image would decode its old picture again at the new scale.
        jpeg.Assign(nullptr);
        jpeg.SetScale(scale);
    }
    try {
        jpeg.LoadFromMemory(data, length);
    } catch (const EJPEG&) {
        return false;
    }
    screen.Picture()->Assign(&jpeg);
    return true;
}
