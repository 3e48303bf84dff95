// Icons: the largest image of an .ico file, with its transparency.
#include "platform/core/Streams.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/ImageData.h"
#include "platform/vcl/StreamBytes.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>

using vcl_internal::TImageData;

TIcon::TIcon() {
    SetTransparent(true);
}
TIcon::~TIcon() = default;

int TIcon::Width() const {
    return data_ ? data_->Width : 0;
}
int TIcon::Height() const {
    return data_ ? data_->Height : 0;
}

void TIcon::SetWidth(int) {
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}
void TIcon::SetHeight(int) {
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::LoadFromStream(TStream* stream) {
    data_.reset();
    file_.clear();
    std::unique_ptr<std::uint8_t[]> storage;
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    vcl_internal::StreamRemainder(stream, storage, bytes, size);
    // An icon file starts with a zero word and type 1; anything else is not one.
    if (size < 6 || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0) {
        Changed();
        throw EInvalidGraphic("Icon image is not valid");
    }
    vcl_qt::EnsureGuiApplication();
    QByteArray raw(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QImage best;
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        QImage image = reader.read();
        if (!image.isNull() && static_cast<qint64>(image.width()) * image.height() >
                                   static_cast<qint64>(best.width()) * best.height())
            best = image;
    }
    if (best.isNull()) {
        Changed();
        throw EInvalidGraphic("Icon image is not valid");
    }
    const QImage argb = best.convertToFormat(QImage::Format_ARGB32);
    auto data = TImageData::Create(argb.width(), argb.height(), false);
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(data->Row(y), argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * 4);
    data_ = std::move(data);
    file_.assign(reinterpret_cast<const char*>(bytes), size);
    Changed();
}

void TIcon::SaveToStream(TStream* stream) const {
    if (file_.empty()) throw EInvalidGraphicOperation("Cannot save an empty icon");
    stream->WriteBuffer(file_.data(), static_cast<std::int64_t>(file_.size()));
}

void TIcon::Assign(const TPersistent* source) {
    if (!source) {
        data_.reset();
        file_.clear();
        Changed();
        return;
    }
    if (const auto* icon = dynamic_cast<const TIcon*>(source)) {
        data_ = icon->data_;
        file_ = icon->file_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(this);
    return copy;
}
