#include "recdb/SearchWindowLayout.h"

#include "client/main.h"
#include "controls/imgframe.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include <algorithm>

namespace {

constexpr TColor kSkinBackground = static_cast<TColor>(0x00D8E9EC);
constexpr int kCaptionAllowance = 32;

} // namespace

void ReplaceSkinBackground(TImgFrame* image, int width, int height) {
    TBitmap* bitmap = image->Picture()->Bitmap();
    if (bitmap == nullptr || bitmap->Empty()) return;
    TCanvas* canvas = bitmap->Canvas();
    const TColor face = ColorToRGB(clBtnFace);
    const int w = std::min(width, bitmap->Width());
    const int h = std::min(height, bitmap->Height());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (canvas->Pixels(x, y) == kSkinBackground) canvas->SetPixels(x, y, face);
    image->Invalidate();
}

void PlaceTableWindow(TForm* form) {
    TRect main{};
    int mainWidth = 0;
    int mainHeight = 0;
    if (FrmMain != nullptr) {
        FrmMain->GetWorkArea(main);
        mainWidth = FrmMain->ClientWidth();
        mainHeight = FrmMain->ClientHeight();
    }
    const int w = form->ClientWidth();
    const int h = form->ClientHeight();
    int x = std::max(0, (mainWidth - w) / 2 + main.Left);
    int y = std::max(0, (mainHeight - h + kCaptionAllowance) / 2 + main.Top);
    const TRect area = Screen->WorkAreaRect();
    if (x + w > area.Right) x = area.Right - w;
    if (y + h + kCaptionAllowance > area.Bottom) y = area.Bottom - h - kCaptionAllowance;
    form->SetBounds(x, y, form->Width(), form->Height());
    form->SetTopmost(true);
}
