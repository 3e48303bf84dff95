#include "platform/vcl/Buttons.h"

#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsQt.h"

#include <QPixmap>
#include <QPushButton>

#include <algorithm>

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {
    glyph_->OnChange = [this](TObject*) { UpdateIcon(); };
}

TBitBtn::~TBitBtn() {
    glyph_->OnChange = nullptr;
}

void TBitBtn::SetKind(TBitBtnKind value) {
    kind_ = value;
    struct KindInfo {
        const char* caption;
        int result;
    };
    static const KindInfo kinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                     {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                     {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                     {"&Ignore", mrIgnore}, {"&All", mrAll}};
    if (value == bkCustom) return;
    SetCaption(kinds[value].caption);
    SetModalResult(kinds[value].result);
    if (value == bkOK || value == bkYes) SetDefault(true);
    if (value == bkCancel || value == bkNo) SetCancel(true);
}

void TBitBtn::SetGlyph(const TBitmap* value) {
    glyph_->Assign(value);
}

void TBitBtn::SetNumGlyphs(TNumGlyphs value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    UpdateIcon();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    layout_ = value;
    Peer()->inner->setLayoutDirection(value == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TBitBtn::UpdateIcon() {
    auto* button = static_cast<QPushButton*>(Peer()->inner.data());
    if (glyph_->Empty()) {
        button->setIcon(QIcon());
        return;
    }
    QImage image = vcl_qt::ToQImage(*glyph_).convertToFormat(QImage::Format_ARGB32);
    const int width = std::max(image.width() / numGlyphs_, 1);
    image = image.copy(0, 0, width, image.height());
    // The bottom-left pixel's colour is the glyph's background.
    const QRgb background = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (background & 0xFFFFFF)) row[x] = 0;
    }
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(image.size());
}

void TBitBtn::Click() {
    if (kind_ == bkClose) {
        if (TForm* form = ParentForm()) {
            form->Close();
            TWinControl::Click();
            return;
        }
    }
    TButton::Click();
}

bool TBitBtn::ReadProperty(TPropertyReader& r) {
    if (r.Is("Kind")) {
        SetKind(r.Enum<TBitBtnKind>({{"bkCustom", bkCustom},
                                     {"bkOK", bkOK},
                                     {"bkCancel", bkCancel},
                                     {"bkHelp", bkHelp},
                                     {"bkYes", bkYes},
                                     {"bkNo", bkNo},
                                     {"bkClose", bkClose},
                                     {"bkAbort", bkAbort},
                                     {"bkRetry", bkRetry},
                                     {"bkIgnore", bkIgnore},
                                     {"bkAll", bkAll}}));
    } else if (r.Is("Glyph.FileName")) {
        const std::string file = r.FileName();
        if (file.empty())
            glyph_->FreeImage();
        else
            glyph_->LoadFromFile(file);
        UpdateIcon();
    } else if (r.Is("Glyph.Data")) {
        r.Fail("glyphs are given by file name (Glyph.FileName), not as data");
    } else if (r.Is("NumGlyphs")) {
        SetNumGlyphs(r.Integer());
    } else if (r.Is("Layout")) {
        SetLayout(r.Enum<TButtonLayout>({{"blGlyphLeft", blGlyphLeft},
                                         {"blGlyphRight", blGlyphRight},
                                         {"blGlyphTop", blGlyphTop},
                                         {"blGlyphBottom", blGlyphBottom}}));
    } else if (r.Is("Spacing")) {
        SetSpacing(r.Integer());
    } else if (r.Is("Margin")) {
        SetMargin(r.Integer());
    } else {
        return TButton::ReadProperty(r);
    }
    return true;
}
