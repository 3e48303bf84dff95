// TPicture: one graphic of any class, loaded by file extension.
#include "platform/core/StrUtils.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Jpeg.h"

#include <filesystem>

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Attach(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->OnChange = TNotifyEvent([this](TObject*) { Changed(); });
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == graphic_.get()) return;
    Attach(graphic ? graphic->Clone() : nullptr);
}

TBitmap* TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get())) return bitmap;
    auto bitmap = std::make_unique<TBitmap>();
    if (graphic_) bitmap->Assign(graphic_.get());
    TBitmap* result = bitmap.get();
    Attach(std::move(bitmap));
    return result;
}

TIcon* TPicture::Icon() {
    if (auto* icon = dynamic_cast<TIcon*>(graphic_.get())) return icon;
    auto icon = std::make_unique<TIcon>();
    TIcon* result = icon.get();
    Attach(std::move(icon));
    return result;
}

namespace {

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& fileName) {
    const std::string ext = LowerCase(std::filesystem::path(fileName).extension().string());
    if (ext == ".bmp" || ext == ".dib") return std::make_unique<TBitmap>();
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif")
        return std::make_unique<TJPEGImage>();
    if (ext == ".ico") return std::make_unique<TIcon>();
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
}

} // namespace

void TPicture::LoadFromFile(const std::string& fileName) {
    std::unique_ptr<TGraphic> graphic;
    try {
        graphic = GraphicForExtension(fileName);
        graphic->LoadFromFile(fileName);
    } catch (...) {
        Attach(nullptr);
        throw;
    }
    Attach(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) const {
    if (!graphic_) throw EInvalidGraphicOperation("Cannot save an empty picture");
    graphic_->SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent* source) {
    if (!source) {
        Attach(nullptr);
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this) SetGraphic(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
        return;
    }
    TPersistent::Assign(source);
}
