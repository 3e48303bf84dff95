#include "client/JpegScreen.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/GraphicsErrors.h"
#include "platform/vcl/Jpeg.h"

bool ShowJpegPicture(TJPEGImage& jpeg, TImage& screen, const BYTE* data, std::size_t length) {
    try {
        jpeg.LoadFromMemory(data, length);
    } catch (const EJPEG&) {
        return false;
    }
    screen.Picture()->Assign(&jpeg);
    return true;
}
