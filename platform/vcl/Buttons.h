// Buttons with a picture beside the caption.
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <memory>

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TNumGlyphs = int;

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    // A kind other than bkCustom sets the caption, the modal result and Default or Cancel.
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind value);
    // A strip of NumGlyphs pictures (normal, disabled, ...); the first is shown, its bottom-left
    // pixel's colour is transparent.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const TBitmap* value);
    TNumGlyphs NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(TNumGlyphs value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value) { spacing_ = value; }
    int Margin() const { return margin_; }
    void SetMargin(int value) { margin_ = value; }

    void Click() override;
    bool ReadProperty(TPropertyReader& reader) override;

private:
    void UpdateIcon();

    TBitBtnKind kind_ = bkCustom;
    std::unique_ptr<TBitmap> glyph_;
    TNumGlyphs numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    int margin_ = -1;
};
