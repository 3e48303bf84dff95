#include "platform/vcl/Clipbrd.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsQt.h"
#include "platform/vcl/QtSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* Board() {
    vcl_internal::EnsureGuiApplication();
    QClipboard* board = QGuiApplication::clipboard();
    if (!board) throw EInvalidOperation("The clipboard is not available");
    return board;
}

bool HasAlpha(const TGraphic& graphic) {
    if (auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) return bitmap->PixelFormat() == pf32bit;
    return dynamic_cast<const TIcon*>(&graphic) != nullptr;
}

} // namespace

void TClipboard::Assign(const TPersistent* source) {
    const TGraphic* graphic = dynamic_cast<const TGraphic*>(source);
    if (auto* picture = dynamic_cast<const TPicture*>(source)) {
        graphic = picture->Graphic();
        if (!graphic) {
            Clear();
            return;
        }
    }
    if (!graphic) {
        TPersistent::Assign(source);
        return;
    }
    if (graphic->Empty()) {
        Clear();
        return;
    }
    // The view shares the graphic's pixels: the clipboard keeps a copy of its own.
    Board()->setImage(vcl_qt::ToQImage(*graphic, HasAlpha(*graphic)).copy());
}

bool TClipboard::HasFormat(WORD format) const {
    const QMimeData* data = Board()->mimeData();
    return format == CF_BITMAP && data && data->hasImage();
}

void TClipboard::Clear() {
    Board()->clear();
}

void TClipboard::AssignTo(TPersistent* dest) const {
    auto* picture = dynamic_cast<TPicture*>(dest);
    auto* bitmap = dynamic_cast<TBitmap*>(dest);
    if (!picture && !bitmap) {
        TPersistent::AssignTo(dest);
        return;
    }
    const QImage image = Board()->image();
    if (image.isNull()) throw EInvalidGraphic("Unsupported clipboard format");
    if (bitmap) {
        vcl_qt::AssignQImage(*bitmap, image);
        return;
    }
    TBitmap pasted;
    vcl_qt::AssignQImage(pasted, image);
    picture->SetGraphic(&pasted);
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
