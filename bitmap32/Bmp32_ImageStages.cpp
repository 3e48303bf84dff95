// The image's paint stages: the stage list, the buffer paint that runs them per invalid rectangle,
// each stage's drawing, and PaintTo.
#include "bitmap32/Bmp32_Image.h"

#include "platform/core/StrUtils.h"

#include <algorithm>

namespace Bmp32_Image {

// ---- TPaintStages ----

TPaintStage* TPaintStages::Add() {
    FItems.push_back(TPaintStage{});
    return &FItems.back();
}

TPaintStage* TPaintStages::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    return &*FItems.insert(FItems.begin() + Index, TPaintStage{});
}

void TPaintStages::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EListError("Invalid stage index");
    FItems.erase(FItems.begin() + Index);
}

// ---- the stages of an image ----

void TCustomImage32::InitDefaultStages() {
    const TPaintStage stages[] = {{true, true, PST_CLEAR_BACKGND, 0},
                                  {true, false, PST_CONTROL_FRAME, 0},
                                  {true, true, PST_DRAW_BITMAP, 0},
                                  {true, false, PST_BITMAP_FRAME, 0},
                                  {true, true, PST_DRAW_LAYERS, LOB_VISIBLE}};
    for (const TPaintStage& stage : stages)
        *FPaintStages->Add() = stage;
}

TPaintStageHandler TCustomImage32::HandlerOf(std::uint32_t Stage) {
    switch (Stage) {
    case PST_CUSTOM:
        return &TCustomImage32::ExecCustom;
    case PST_CLEAR_BUFFER:
        return &TCustomImage32::ExecClearBuffer;
    case PST_CLEAR_BACKGND:
        return &TCustomImage32::ExecClearBackgnd;
    case PST_DRAW_BITMAP:
        return &TCustomImage32::ExecDrawBitmap;
    case PST_DRAW_LAYERS:
        return &TCustomImage32::ExecDrawLayers;
    case PST_CONTROL_FRAME:
        return &TCustomImage32::ExecControlFrame;
    case PST_BITMAP_FRAME:
        return &TCustomImage32::ExecBitmapFrame;
    default:
        return nullptr;
    }
}

void TCustomImage32::RunStage(const TPaintStage& Stage, TBitmap32* Dest, int StageNum) {
    if (TPaintStageHandler handler = HandlerOf(Stage.Stage)) (this->*handler)(Dest, StageNum);
}

void TCustomImage32::DoPaintBuffer() {
    const bool optimizing = FRepaintOptimizer->Enabled();
    if (optimizing) FRepaintOptimizer->BeginPaintBuffer();
    // After a resize or a full invalidation the whole buffer is new: rectangles collected before it
    // would leave the rest of it unpainted.
    if (FForceFullRepaint) FInvalidRects->Clear();
    UpdateCache();
    FPaintStageHandlers.clear();
    FPaintStageNum.clear();
    FPaintStageHandlers.reserve(static_cast<std::size_t>(FPaintStages->Count()));
    FPaintStageNum.reserve(static_cast<std::size_t>(FPaintStages->Count()));
    const bool designing = InDesignMode();
    for (int i = 0; i < FPaintStages->Count(); ++i) {
        const TPaintStage& stage = FPaintStages->Items(i);
        if (!((stage.DsgnTime && designing) || (stage.RunTime && !designing))) continue;
        if (TPaintStageHandler handler = HandlerOf(stage.Stage)) {
            FPaintStageNum.push_back(i);
            FPaintStageHandlers.push_back(handler);
        }
    }
    const auto runAll = [this] {
        for (std::size_t j = 0; j < FPaintStageHandlers.size(); ++j)
            (this->*FPaintStageHandlers[j])(FBuffer.get(), FPaintStageNum[j]);
    };
    FBuffer->BeginUpdate();
    try {
        if (FInvalidRects->Count() > 0) {
            for (int i = 0; i < FInvalidRects->Count(); ++i) {
                FBuffer->SetClipRect(*FInvalidRects->Items(i));
                runAll();
            }
            FBuffer->SetClipRect(GetViewportRect());
        } else {
            FBuffer->SetClipRect(GetViewportRect());
            runAll();
        }
    } catch (...) {
        FBuffer->EndUpdate();
        throw;
    }
    FBuffer->EndUpdate();
    if (optimizing) FRepaintOptimizer->EndPaintBuffer();
    FBufferValid = true;
}

void TCustomImage32::ExecCustom(TBitmap32* Dest, int StageNum) {
    OnPaintStage(this, Dest, static_cast<unsigned>(StageNum));
}

void TCustomImage32::ExecClearBuffer(TBitmap32* Dest, int) {
    Dest->Clear(Color32(Color()));
}

void TCustomImage32::ExecClearBackgnd(TBitmap32* Dest, int) {
    const TColor32 c = Color32(Color());
    if (FInvalidRects->Count() > 0) {
        for (int i = 0; i < FInvalidRects->Count(); ++i)
            Dest->FillRectS(*FInvalidRects->Items(i), c);
        return;
    }
    if (FBitmap->Empty() || FBitmap->DrawMode() != dmOpaque) {
        Dest->Clear(c);
        return;
    }
    const TRect& r = FCachedBitmapRect;
    const int w = Width(), h = Height();
    if (r.Left <= 0 && r.Right >= w && r.Top <= 0 && (r.Bottom >= h || FBitmapAlign == baTile)) return;
    Dest->FillRectS(0, 0, w, r.Top, c);
    Dest->FillRectS(0, r.Bottom, w, h, c);
    Dest->FillRectS(0, r.Top, r.Left, r.Bottom, c);
    Dest->FillRectS(r.Right, r.Top, w, r.Bottom, c);
}

void TCustomImage32::ExecDrawBitmap(TBitmap32* Dest, int) {
    if (FBitmap->Empty() || IsRectEmpty(FCachedBitmapRect)) return;
    FBitmap->Lock();
    try {
        if (FBitmapAlign == baTile) {
            const TRect& r = FCachedBitmapRect;
            const int tilesX = Dest->Width() / r.Right, tilesY = Dest->Height() / r.Bottom;
            for (int j = 0; j <= tilesY; ++j)
                for (int i = 0; i <= tilesX; ++i) {
                    TRect tile = r;
                    OffsetRect(tile, r.Right * i, r.Bottom * j);
                    FBitmap->DrawTo(Dest, tile);
                }
        } else {
            FBitmap->DrawTo(Dest, FCachedBitmapRect);
        }
    } catch (...) {
        FBitmap->Unlock();
        throw;
    }
    FBitmap->Unlock();
}

void TCustomImage32::ExecDrawLayers(TBitmap32* Dest, int StageNum) {
    const std::uint32_t mask = FPaintStages->Items(StageNum).Parameter;
    for (int i = 0; i < FLayers->Count(); ++i) {
        TCustomLayer* layer = FLayers->Items(i);
        if (layer->LayerOptions() & mask) layer->DoPaint(Dest);
    }
}

void TCustomImage32::ExecControlFrame(TBitmap32* Dest, int) {
    const TRect r{0, 0, Width(), Height()};
    ::DrawFocusRect(Dest->Canvas()->Handle(), &r);
}

void TCustomImage32::ExecBitmapFrame(TBitmap32* Dest, int) {
    Dest->Canvas()->DrawFocusRect(FCachedBitmapRect);
}

void TCustomImage32::DoPaintGDIOverlay() {
    for (int i = 0; i < FLayers->Count(); ++i) {
        TCustomLayer* layer = FLayers->Items(i);
        if (layer->LayerOptions() & LOB_GDI_OVERLAY) layer->PaintGDI(Canvas());
    }
    TCustomPaintBox32::DoPaintGDIOverlay();
}

bool TCustomImage32::InvalidRectsAvailable() {
    DoPrepareInvalidRects();
    return FInvalidRects->Count() > 0;
}

void TCustomImage32::PaintTo(TBitmap32* Dest, const TRect& DestRect) {
    const TRepaintMode oldMode = FRepaintMode;
    if (oldMode != rmFull) SetRepaintMode(rmFull);
    FCachedBitmapRect = DestRect;
    const int w = DestRect.Right - DestRect.Left, h = DestRect.Bottom - DestRect.Top;
    if (w >= 1 && h >= 1 && !FBitmap->Empty()) {
        FCachedXForm.ShiftX = DestRect.Left;
        FCachedXForm.ShiftY = DestRect.Top;
        FCachedXForm.ScaleX = MulDiv(w, 0x10000, FBitmap->Width());
        FCachedXForm.ScaleY = MulDiv(h, 0x10000, FBitmap->Height());
        FCachedXForm.RevScaleX = MulDiv(FBitmap->Width(), 0x10000, w);
        FCachedXForm.RevScaleY = MulDiv(FBitmap->Height(), 0x10000, h);
    } else {
        FCachedXForm = TXForm{};
    }
    FCacheValid = true;
    FPaintToMode = true;
    const auto finish = [this, oldMode] {
        FPaintToMode = false;
        FCacheValid = false;
        if (oldMode != rmFull) SetRepaintMode(oldMode);
    };
    try {
        for (int i = 0; i < FPaintStages->Count(); ++i)
            if (FPaintStages->Items(i).RunTime) RunStage(FPaintStages->Items(i), Dest, i);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

} // namespace Bmp32_Image
