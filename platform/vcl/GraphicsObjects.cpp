// Pens, brushes and fonts.
#include "platform/core/Threads.h"
#include "platform/vcl/FontMap.h"
#include "platform/vcl/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

namespace {

// The owner's lock, when there is one, for the length of one change.
class TOwnerLock {
public:
    explicit TOwnerLock(CRITICAL_SECTION* lock) : lock_(lock) {
        if (lock_) EnterCriticalSection(lock_);
    }
    ~TOwnerLock() {
        if (lock_) LeaveCriticalSection(lock_);
    }
    TOwnerLock(const TOwnerLock&) = delete;
    TOwnerLock& operator=(const TOwnerLock&) = delete;

private:
    CRITICAL_SECTION* lock_;
};

} // namespace

// ---- TPen ----

void TPen::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    width = std::max(1, width);
    if (width_ == width) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode) {
    if (mode_ == mode) return;
    mode_ = mode;
    Changed();
}

void TPen::Assign(const TPersistent* source) {
    const auto* pen = dynamic_cast<const TPen*>(source);
    if (!pen) {
        TPersistent::Assign(source);
        return;
    }
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
}

// ---- TBrush ----

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor color) {
    if (color_ == color && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear)
        style_ = bsSolid; // a colour makes a clear brush solid again, as in the class library
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* pattern) {
    if (!pattern || pattern->Empty()) {
        bitmap_.reset();
    } else {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(pattern);
        if (bitmap_->Width() > 8 || bitmap_->Height() > 8) {
            auto part =
                std::make_unique<TBitmap>(std::min(8, bitmap_->Width()), std::min(8, bitmap_->Height()));
            part->Canvas()->Draw(0, 0, bitmap_.get());
            bitmap_ = std::move(part);
        }
    }
    Changed();
}

void TBrush::Assign(const TPersistent* source) {
    const auto* brush = dynamic_cast<const TBrush*>(source);
    if (!brush) {
        TPersistent::Assign(source);
        return;
    }
    color_ = brush->color_;
    style_ = brush->style_;
    if (brush->bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(brush->bitmap_.get());
    } else {
        bitmap_.reset();
    }
    Changed();
}

// ---- TFont ----

TFont::TFont() = default;

TFont::~TFont() {
    if (handle_) DeleteObject(handle_);
}

void TFont::Modified() {
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
    Changed();
}

void TFont::SetName(const TFontName& name) {
    TOwnerLock lock(OwnerCriticalSection());
    if (name.empty() || name_ == name) return;
    name_ = name;
    Modified();
}

int TFont::Size() const {
    if (height_ < 0) return static_cast<int>(std::lround(-height_ * 72.0 / PixelsPerInch));
    return static_cast<int>(std::lround(height_ * 72.0 / PixelsPerInch));
}

void TFont::SetSize(int points) {
    SetHeight(-static_cast<int>(std::lround(points * static_cast<double>(PixelsPerInch) / 72.0)));
}

void TFont::SetHeight(int pixels) {
    TOwnerLock lock(OwnerCriticalSection());
    if (height_ == pixels) return;
    height_ = pixels;
    Modified();
}

void TFont::SetStyle(TFontStyles style) {
    TOwnerLock lock(OwnerCriticalSection());
    if (style_ == style) return;
    style_ = style;
    Modified();
}

void TFont::SetColor(TColor color) {
    TOwnerLock lock(OwnerCriticalSection());
    if (color_ == color) return;
    color_ = color;
    Changed(); // the face is unchanged: the handle stays
}

void TFont::SetCharset(TFontCharset charset) {
    TOwnerLock lock(OwnerCriticalSection());
    if (charset_ == charset) return;
    charset_ = charset;
    Modified();
}

void TFont::SetPitch(TFontPitch pitch) {
    TOwnerLock lock(OwnerCriticalSection());
    if (pitch_ == pitch) return;
    pitch_ = pitch;
    Modified();
}

std::string TFont::MappedName() const {
    return MapFontFamily(name_, charset_, pitch_ == fpFixed);
}

LOGFONT TFont::LogFont() const {
    LOGFONT lf;
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic) ? 1 : 0;
    lf.lfUnderline = style_.Contains(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = style_.Contains(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfPitchAndFamily = pitch_ == fpFixed      ? FIXED_PITCH
                          : pitch_ == fpVariable ? VARIABLE_PITCH
                                                 : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    return lf;
}

HFONT TFont::Handle() {
    TOwnerLock lock(OwnerCriticalSection());
    if (!handle_) {
        const LOGFONT lf = LogFont();
        handle_ = CreateFontIndirect(&lf);
    }
    return handle_;
}

void TFont::SetHandle(HFONT font) {
    TOwnerLock lock(OwnerCriticalSection());
    LOGFONT lf;
    if (GetObject(font, sizeof lf, &lf) == 0) return;
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    TFontStyles style;
    if (lf.lfWeight >= 600) style << fsBold;
    if (lf.lfItalic) style << fsItalic;
    if (lf.lfUnderline) style << fsUnderline;
    if (lf.lfStrikeOut) style << fsStrikeOut;
    style_ = style;
    charset_ = lf.lfCharSet;
    const int pitch = lf.lfPitchAndFamily & 3;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    Modified();
}

void TFont::Assign(const TPersistent* source) {
    const auto* font = dynamic_cast<const TFont*>(source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    TOwnerLock lock(OwnerCriticalSection());
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    Modified();
}
