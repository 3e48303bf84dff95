#include "bitmap32/Bmp32_RepaintOpt.h"

#include <algorithm>

namespace Bmp32_RepaintOpt {

// ---- TCustomRepaintOptimizer ----

TCustomRepaintOptimizer::TCustomRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects)
    : FInvalidRects(InvalidRects), FBuffer(Buffer) {}

TCustomRepaintOptimizer::~TCustomRepaintOptimizer() {
    while (!FLayerCollections.empty())
        TCustomRepaintOptimizer::UnregisterLayerCollection(FLayerCollections.back());
}

void TCustomRepaintOptimizer::HookUpdates(TLayerCollection* Layers, bool Hook) {
    if (Hook) {
        Layers->OnLayerUpdated = TLayerUpdateEvent(this, &TCustomRepaintOptimizer::LayerUpdateHandler);
        Layers->OnAreaUpdated = TAreaChangedEvent(this, &TCustomRepaintOptimizer::AreaUpdateHandler);
    } else {
        Layers->OnLayerUpdated = nullptr;
        Layers->OnAreaUpdated = nullptr;
    }
}

void TCustomRepaintOptimizer::RegisterLayerCollection(TLayerCollection* Layers) {
    if (!Layers) return;
    if (std::find(FLayerCollections.begin(), FLayerCollections.end(), Layers) != FLayerCollections.end())
        return;
    FLayerCollections.push_back(Layers);
    Layers->OnListNotify =
        TLayerListNotifyEvent(this, &TCustomRepaintOptimizer::LayerCollectionNotifyHandler);
    if (Enabled()) HookUpdates(Layers, true);
}

void TCustomRepaintOptimizer::UnregisterLayerCollection(TLayerCollection* Layers) {
    const auto it = std::find(FLayerCollections.begin(), FLayerCollections.end(), Layers);
    if (it == FLayerCollections.end()) return;
    Layers->OnListNotify = nullptr;
    HookUpdates(Layers, false);
    FLayerCollections.erase(it);
}

void TCustomRepaintOptimizer::DoSetEnabled(bool Value) {
    if (Value == FEnabled) return;
    for (TLayerCollection* layers : FLayerCollections)
        HookUpdates(layers, Value);
    FEnabled = Value;
}

// ---- TMicroTilesRepaintOptimizer ----

TMicroTilesRepaintOptimizer::TMicroTilesRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects)
    : TCustomRepaintOptimizer(Buffer, InvalidRects) {
    MicroTilesCreate(FTempTiles);
    MicroTilesCreate(FInvalidTiles);
    MicroTilesCreate(FForcedInvalidTiles);
}

TMicroTilesRepaintOptimizer::~TMicroTilesRepaintOptimizer() {
    while (!FLayerCollections.empty())
        UnregisterLayerCollection(FLayerCollections.back());
}

void TMicroTilesRepaintOptimizer::DoSetEnabled(bool Value) {
    if (Value == FEnabled) return;
    for (TLayerCollection* layers : FLayerCollections)
        HookUpdates(layers, Value);
    if (Value) {
        FEnabled = true;
        BufferResizedHandler(FBuffer->Width(), FBuffer->Height());
    } else {
        MicroTilesDestroy(FTempTiles);
        MicroTilesDestroy(FInvalidTiles);
        MicroTilesDestroy(FForcedInvalidTiles);
        FUpdatesPending = false;
        FOldTilesValid = false;
        FWorkingTilesValid = false;
        FOldInvalidTilesMap.ClearTiles();
        FInvalidLayers.clear();
    }
    FEnabled = Value;
}

void TMicroTilesRepaintOptimizer::BufferResizedHandler(int NewWidth, int NewHeight) {
    FBufferBounds = TRect{0, 0, NewWidth, NewHeight};
    Reset();
}

void TMicroTilesRepaintOptimizer::Reset() {
    FWorkingTilesValid = false;
    FOldTilesValid = false;
    UpdateOldInvalidTiles();
    MicroTilesClear(FForcedInvalidTiles, MICROTILE_FULL);
    FForcedInvalidTiles.BoundsUsedTiles =
        TRect{0, 0, FForcedInvalidTiles.Columns - 1, FForcedInvalidTiles.Rows - 1};
    FUpdatesPending = true;
}

void TMicroTilesRepaintOptimizer::ValidateWorkingTiles() {
    if (FWorkingTilesValid) return;
    MicroTilesSetSize(FTempTiles, FBufferBounds);
    MicroTilesSetSize(FInvalidTiles, FBufferBounds);
    MicroTilesSetSize(FForcedInvalidTiles, FBufferBounds);
    FWorkingTilesValid = true;
}

void TMicroTilesRepaintOptimizer::UpdateOldInvalidTiles() {
    if (FOldTilesValid) return;
    ValidateWorkingTiles();
    for (TLayerCollection* layers : FLayerCollections)
        for (int i = 0; i < layers->Count(); ++i) {
            TCustomLayer* layer = layers->Items(i);
            TMicroTiles* tiles = FOldInvalidTilesMap.Add(layer);
            MicroTilesSetSize(*tiles, FBufferBounds);
            DrawLayerToMicroTiles(*tiles, layer);
            layer->SetInvalid(false);
        }
    FInvalidLayers.clear();
    FOldTilesValid = true;
    FUpdatesPending = false;
}

bool TMicroTilesRepaintOptimizer::UpdatesAvailable() {
    UpdateOldInvalidTiles();
    return FUpdatesPending;
}

void TMicroTilesRepaintOptimizer::DrawMeasuringHandler(TObject*, const TRect& Area, std::uint32_t Info) {
    if (FWorkMicroTiles) AddArea(*FWorkMicroTiles, Area, Info);
}

void TMicroTilesRepaintOptimizer::DrawLayerToMicroTiles(TMicroTiles& DstTiles, TCustomLayer* Layer) {
    if (FBuffer->Empty()) return;
    FWorkMicroTiles = &DstTiles;
    FBuffer->BeginMeasuring(TAreaChangedEvent(this, &TMicroTilesRepaintOptimizer::DrawMeasuringHandler));
    try {
        Layer->DoPaint(FBuffer);
    } catch (...) {
        FBuffer->EndMeasuring();
        FWorkMicroTiles = nullptr;
        throw;
    }
    FBuffer->EndMeasuring();
    FWorkMicroTiles = nullptr;
}

void TMicroTilesRepaintOptimizer::AddArea(TMicroTiles& Tiles, const TRect& Area, std::uint32_t Info) {
    const bool round = FPerformanceLevel >= 1;
    if (Info & 0x40000000u) {
        const int width = static_cast<int>(Info & 0x00FFFFFFu);
        TRect line = Area;
        InflateArea(line, width, width);
        MicroTilesAddLine(Tiles, line.Left, line.Top, line.Right, line.Bottom, width, round);
    } else {
        MicroTilesAddRect(Tiles, Area, round);
    }
}

void TMicroTilesRepaintOptimizer::AreaUpdateHandler(TObject*, const TRect& Area, std::uint32_t Info) {
    ValidateWorkingTiles();
    AddArea(FForcedInvalidTiles, Area, Info);
    FUpdatesPending = true;
}

void TMicroTilesRepaintOptimizer::LayerUpdateHandler(TObject*, TCustomLayer* Layer) {
    if (!FOldTilesValid || !Layer || Layer->Invalid()) return;
    FInvalidLayers.push_back(Layer);
    Layer->SetInvalid(true);
    FUpdatesPending = true;
}

void TMicroTilesRepaintOptimizer::RemoveInvalidLayer(TCustomLayer* Layer) {
    FInvalidLayers.erase(std::remove(FInvalidLayers.begin(), FInvalidLayers.end(), Layer),
                         FInvalidLayers.end());
}

void TMicroTilesRepaintOptimizer::LayerCollectionNotifyHandler(TLayerCollection* Sender,
                                                               TLayerListNotification Action,
                                                               TCustomLayer* Layer, int) {
    // A disabled optimizer keeps no tiles; it only forgets the layers that go.
    if (!FEnabled) {
        if (Action == lnLayerDeleted) {
            RemoveInvalidLayer(Layer);
            FOldInvalidTilesMap.RemoveTiles(Layer);
        } else if (Action == lnCleared) {
            FOldInvalidTilesMap.ClearTiles();
            FInvalidLayers.clear();
        }
        return;
    }
    switch (Action) {
    case lnLayerAdded:
    case lnLayerInserted: {
        TMicroTiles* tiles = FOldInvalidTilesMap.Add(Layer);
        MicroTilesSetSize(*tiles, FBuffer->BoundsRect());
        FOldTilesValid = true;
        break;
    }
    case lnLayerDeleted:
        if (FOldTilesValid) {
            if (const TMicroTiles* tiles = FOldInvalidTilesMap.Get(Layer)) {
                ValidateWorkingTiles();
                MicroTilesUnion(FInvalidTiles, *tiles);
            }
            FUpdatesPending = true;
        }
        RemoveInvalidLayer(Layer);
        FOldInvalidTilesMap.RemoveTiles(Layer);
        break;
    case lnCleared:
        if (FOldTilesValid) {
            ValidateWorkingTiles();
            TPointerMapIterator it(&FOldInvalidTilesMap);
            while (it.Next())
                if (it.Data()) MicroTilesUnion(FInvalidTiles, *static_cast<TMicroTiles*>(it.Data()));
            FUpdatesPending = true;
            ResetAdaptiveMode();
        }
        FOldInvalidTilesMap.ClearTiles();
        FInvalidLayers.clear();
        FOldTilesValid = true;
        break;
    }
    (void)Sender;
}

void TMicroTilesRepaintOptimizer::PerformOptimization() {
    if (FUpdatesPending) {
        ValidateWorkingTiles();
        const bool round = FPerformanceLevel > 0;
        for (TCustomLayer* layer : FInvalidLayers) {
            MicroTilesClearUsed(FTempTiles);
            DrawLayerToMicroTiles(FTempTiles, layer);
            MicroTilesUnion(FInvalidTiles, FTempTiles, round);
            TMicroTiles* old = FOldInvalidTilesMap.Add(layer);
            if (old->Count == 0) MicroTilesSetSize(*old, FBufferBounds);
            MicroTilesUnion(FInvalidTiles, *old, round);
            MicroTilesCopy(*old, FTempTiles);
            layer->SetInvalid(false);
        }
        FInvalidLayers.clear();
        MicroTilesCalcRects(FInvalidTiles, FInvalidRects, false, round);
        MicroTilesCalcRects(FForcedInvalidTiles, FInvalidRects, false, round);
    }
    BeginAdaption();
    MicroTilesClearUsed(FInvalidTiles);
    MicroTilesClearUsed(FForcedInvalidTiles);
}

void TMicroTilesRepaintOptimizer::BeginPaintBuffer() {
    if (FAdaptiveMode) FPerfTimer.Start();
}

void TMicroTilesRepaintOptimizer::EndPaintBuffer() {
    FUpdatesPending = false;
    EndAdaption();
}

void TMicroTilesRepaintOptimizer::SetAdaptiveMode(bool Value) {
    if (FAdaptiveMode == Value) return;
    FAdaptiveMode = Value;
    ResetAdaptiveMode();
}

void TMicroTilesRepaintOptimizer::ResetAdaptiveMode() {
    FTimeDelta = 1000;
    FAdaptionFailed = false;
    FPerformanceLevel = 0;
}

void TMicroTilesRepaintOptimizer::BeginAdaption() {
    if (!FAdaptiveMode || FPerformanceLevel < 1) return;
    const DWORD now = Bmp32_System::GetTickCount();
    if (static_cast<std::int32_t>(now - FNextCheck) > 0) {
        FPerformanceLevel = std::max(FPerformanceLevel - 1, 0);
        FTimedCheck = true;
        return;
    }
    if (!FAdaptionFailed && FInvalidRects->Count() < FOldInvalidRectsCount - 10) {
        FPerformanceLevel = std::max(FPerformanceLevel - 1, 0);
    } else if (FPerformanceLevel == 2) {
        FInvalidRects->Clear();
    }
}

void TMicroTilesRepaintOptimizer::EndAdaption() {
    const std::int64_t elapsed = FPerfTimer.ReadValue();
    const auto clampDelta = [](int v) { return std::clamp(v, 1000, 5000); };
    if (FInvalidRects->Count() == 0) {
        FElapsedTimeForFullSceneRepaint = elapsed;
    } else if (FAdaptiveMode) {
        const DWORD now = Bmp32_System::GetTickCount();
        if (elapsed > FElapsedTimeForFullSceneRepaint) {
            const int level = std::min(FPerformanceLevel + 1, 2);
            if (level != FPerformanceLevel) {
                FOldInvalidRectsCount = FInvalidRects->Count();
                FPerformanceLevel = level;
                if (FTimedCheck) {
                    FTimeDelta = clampDelta(FTimeDelta + 250);
                    FNextCheck = now + static_cast<DWORD>(FTimeDelta);
                    FElapsedTimeOnLastPenalty = elapsed;
                    FTimedCheck = false;
                }
                FAdaptionFailed = true;
            }
        } else if (elapsed == FElapsedTimeForFullSceneRepaint) {
            if (elapsed < FElapsedTimeOnLastPenalty && FTimedCheck) {
                FTimeDelta = clampDelta(FTimeDelta - 250);
                FNextCheck = now + static_cast<DWORD>(FTimeDelta);
                FTimedCheck = false;
            }
        } else {
            if (FTimedCheck) {
                FTimeDelta = 1000;
                FNextCheck = now + 1000;
                FTimedCheck = false;
                FAdaptionFailed = false;
            } else {
                if (FTimeDelta > 1000) {
                    FTimeDelta = clampDelta(FTimeDelta - 1000);
                    FNextCheck = now + static_cast<DWORD>(FTimeDelta);
                }
                FAdaptionFailed = false;
            }
        }
    }
    FElapsedTimeForLastRepaint = elapsed;
}

} // namespace Bmp32_RepaintOpt
