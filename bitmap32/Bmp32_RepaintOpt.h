// The repaint optimizer: collects the areas of a paint box's back buffer that changed since the last
// paint (reported areas and the old and new areas of changed layers) and hands the paint box a short
// list of rectangles to repaint and blit. The micro-tiles optimizer coarsens to whole tiles and then to
// full repaints when painting the rectangles turns out slower than painting everything.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Containers.h"
#include "bitmap32/Bmp32_Layers.h"
#include "bitmap32/Bmp32_MicroTiles.h"
#include "bitmap32/Bmp32_System.h"

#include <cstdint>
#include <vector>

namespace Bmp32_RepaintOpt {

class TCustomRepaintOptimizer {
public:
    TCustomRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects);
    // Unregisters every collection.
    virtual ~TCustomRepaintOptimizer();
    TCustomRepaintOptimizer(const TCustomRepaintOptimizer&) = delete;
    TCustomRepaintOptimizer& operator=(const TCustomRepaintOptimizer&) = delete;

    bool Enabled() const { return GetEnabled(); }
    void SetEnabled(bool Value) { DoSetEnabled(Value); }

    // A collection is registered once; its list notifications always reach the optimizer, its layer
    // and area notifications only while it is enabled.
    virtual void RegisterLayerCollection(TLayerCollection* Layers);
    virtual void UnregisterLayerCollection(TLayerCollection* Layers);

    virtual void BeginPaint() {}
    virtual void EndPaint() {}
    virtual void BeginPaintBuffer() {}
    virtual void EndPaintBuffer() {}

    virtual void Reset() = 0;
    virtual bool UpdatesAvailable() = 0;
    virtual void PerformOptimization() = 0;

    virtual void AreaUpdateHandler(TObject* Sender, const TRect& Area, std::uint32_t Info) = 0;
    virtual void LayerUpdateHandler(TObject* Sender, TCustomLayer* Layer) = 0;
    virtual void BufferResizedHandler(int NewWidth, int NewHeight) = 0;

    TBitmap32* Buffer() const { return FBuffer; }
    TRectList* InvalidRects() const { return FInvalidRects; }
    const std::vector<TLayerCollection*>& LayerCollections() const { return FLayerCollections; }

protected:
    virtual bool GetEnabled() const { return FEnabled; }
    virtual void DoSetEnabled(bool Value);
    virtual void LayerCollectionNotifyHandler(TLayerCollection* Sender, TLayerListNotification Action,
                                              TCustomLayer* Layer, int Index) = 0;
    void HookUpdates(TLayerCollection* Layers, bool Hook);

    bool FEnabled = false;
    std::vector<TLayerCollection*> FLayerCollections;
    TRectList* FInvalidRects;
    TBitmap32* FBuffer;
};

class TMicroTilesRepaintOptimizer : public TCustomRepaintOptimizer {
public:
    TMicroTilesRepaintOptimizer(TBitmap32* Buffer, TRectList* InvalidRects);
    ~TMicroTilesRepaintOptimizer() override;

    void Reset() override;
    bool UpdatesAvailable() override;
    void PerformOptimization() override;
    void BeginPaintBuffer() override;
    void EndPaintBuffer() override;

    void AreaUpdateHandler(TObject* Sender, const TRect& Area, std::uint32_t Info) override;
    void LayerUpdateHandler(TObject* Sender, TCustomLayer* Layer) override;
    void BufferResizedHandler(int NewWidth, int NewHeight) override;

    bool AdaptiveMode() const { return FAdaptiveMode; }
    void SetAdaptiveMode(bool Value);
    int PerformanceLevel() const { return FPerformanceLevel; }
    const TRect& BufferBounds() const { return FBufferBounds; }
    bool UpdatesPending() const { return FUpdatesPending; }
    // The area each layer covered at its last paint (nullptr for a layer it does not know).
    const TMicroTiles* OldInvalidTiles(TCustomLayer* Layer) { return FOldInvalidTilesMap.Get(Layer); }
    const TMicroTiles& InvalidTiles() const { return FInvalidTiles; }
    const TMicroTiles& ForcedInvalidTiles() const { return FForcedInvalidTiles; }

protected:
    void DoSetEnabled(bool Value) override;
    void LayerCollectionNotifyHandler(TLayerCollection* Sender, TLayerListNotification Action,
                                      TCustomLayer* Layer, int Index) override;

private:
    void ValidateWorkingTiles();
    void UpdateOldInvalidTiles();
    void DrawLayerToMicroTiles(TMicroTiles& DstTiles, TCustomLayer* Layer);
    void DrawMeasuringHandler(TObject* Sender, const TRect& Area, std::uint32_t Info);
    void AddArea(TMicroTiles& Tiles, const TRect& Area, std::uint32_t Info);
    void ResetAdaptiveMode();
    void BeginAdaption();
    void EndAdaption();
    void RemoveInvalidLayer(TCustomLayer* Layer);

    TRect FBufferBounds;
    TMicroTiles* FWorkMicroTiles = nullptr;
    TMicroTiles FTempTiles;
    TMicroTiles FInvalidTiles;
    TMicroTiles FForcedInvalidTiles;
    std::vector<TCustomLayer*> FInvalidLayers;
    TMicroTilesMap FOldInvalidTilesMap;
    bool FWorkingTilesValid = false;
    bool FOldTilesValid = false;
    bool FUpdatesPending = false;
    bool FAdaptiveMode = true;
    Bmp32_System::TPerfTimer FPerfTimer;
    int FPerformanceLevel = 0;
    std::int64_t FElapsedTimeForLastRepaint = 0;
    std::int64_t FElapsedTimeForFullSceneRepaint = 0;
    bool FAdaptionFailed = false;
    bool FTimedCheck = false;
    int FTimeDelta = 1000;
    DWORD FNextCheck = 0;
    std::int64_t FElapsedTimeOnLastPenalty = 0;
    int FOldInvalidRectsCount = 0;
};

using TCustomRepaintOptimizerClass = TCustomRepaintOptimizer* (*)(TBitmap32* Buffer, TRectList* InvalidRects);

} // namespace Bmp32_RepaintOpt

using namespace Bmp32_RepaintOpt;
