// Window controls that show 32-bit bitmaps.
//
// TCustomPaintBox32 owns a back buffer (a TBitmap32 a little larger than the control) and copies it to
// the screen, whole or by the rectangles its repaint optimizer found changed. TCustomImage32 paints
// into that buffer a TBitmap32 placed by its alignment and scale mode, through an ordered list of
// paint stages (background, bitmap, layers), and reports mouse events in control coordinates with the
// layer they went to; ControlToBitmap converts.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Containers.h"
#include "bitmap32/Bmp32_Layers.h"
#include "bitmap32/Bmp32_RepaintOpt.h"
#include "platform/vcl/Controls.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Bmp32_Image {

enum TBitmapAlign { baTopLeft, baCenter, baTile, baCustom };
enum TScaleMode { smNormal, smStretch, smScale, smResize, smOptimal, smOptimalScaled };
enum TPaintBoxOption { pboWantArrowKeys, pboAutoFocus };
using TPaintBoxOptions = TSet<TPaintBoxOption>;
enum TRepaintMode { rmFull, rmDirect, rmOptimizer };

// Paint stage codes.
inline constexpr std::uint32_t PST_CUSTOM = 1;
inline constexpr std::uint32_t PST_CLEAR_BUFFER = 2;
inline constexpr std::uint32_t PST_CLEAR_BACKGND = 3;
inline constexpr std::uint32_t PST_DRAW_BITMAP = 4;
inline constexpr std::uint32_t PST_DRAW_LAYERS = 5;
inline constexpr std::uint32_t PST_CONTROL_FRAME = 6;
inline constexpr std::uint32_t PST_BITMAP_FRAME = 7;

// The control's dialog code answer when arrow keys are wanted.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;

struct TSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const TSize&) const = default;
};

using TImgMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int, TCustomLayer*>;
using TImgMouseMoveEvent = TEvent<TObject*, TShiftState, int, int, TCustomLayer*>;
using TPaintStageEvent = TEvent<TObject*, TBitmap32*, unsigned>;

struct TPaintStage {
    bool DsgnTime = false;
    bool RunTime = true;
    std::uint32_t Stage = 0;
    std::uint32_t Parameter = 0;
};

class TPaintStages {
public:
    TPaintStage* Add();
    // Index is clamped to 0..Count.
    TPaintStage* Insert(int Index);
    // Raises EListError "Invalid stage index" outside 0..Count-1.
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    // No range check.
    TPaintStage& Items(int Index) { return FItems[static_cast<std::size_t>(Index)]; }
    const TPaintStage& Items(int Index) const { return FItems[static_cast<std::size_t>(Index)]; }

private:
    std::vector<TPaintStage> FItems;
};

// The optimizer every paint box makes.
extern TCustomRepaintOptimizerClass DefaultRepaintOptimizerClass;

class TCustomPaintBox32 : public TCustomControl {
public:
    TNotifyEvent OnGDIOverlay;

    explicit TCustomPaintBox32(TComponent* AOwner);
    ~TCustomPaintBox32() override;

    TBitmap32* Buffer() const { return FBuffer.get(); }
    int BufferOversize() const { return FBufferOversize; }
    // Negative values store 0.
    void SetBufferOversize(int Value);
    bool BufferValid() const { return FBufferValid; }
    void SetBufferValid(bool Value) { FBufferValid = Value; }
    TRepaintMode RepaintMode() const { return FRepaintMode; }
    void SetRepaintMode(TRepaintMode Value) { DoSetRepaintMode(Value); }
    TRectList* InvalidRects() const { return FInvalidRects.get(); }
    bool ForceFullRepaint() const { return FForceFullRepaint; }
    TCustomRepaintOptimizer* RepaintOptimizer() const { return FRepaintOptimizer.get(); }
    TPaintBoxOptions Options() const { return FOptions; }
    void SetOptions(TPaintBoxOptions Value) { FOptions = Value; }
    bool MouseInControl() const { return FMouseInControl; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    void Flush();
    void Flush(const TRect& SrcRect);
    virtual void ForceFullInvalidate();
    void Invalidate() override;
    void ResizeBuffer();
    virtual TRect GetViewportRect();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Adjusts a requested size to the content; true when the request stands.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);

    void Dispatch(TMessage& Message) override;
    bool ReadProperty(TPropertyReader& Reader) override;
    void Loaded() override;
    // Runs the paint now: repaints the buffer when it is not valid and copies it to the control.
    void Paint() override;

protected:
    virtual void DoSetRepaintMode(TRepaintMode Value);
    virtual bool CustomRepaint();
    virtual bool InvalidRectsAvailable();
    virtual void DoPrepareInvalidRects();
    virtual void DoPaintBuffer();
    virtual void DoPaintGDIOverlay();
    virtual void DoBufferResized(int OldWidth, int OldHeight);
    virtual void MouseEnter();
    virtual void MouseLeave();
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The buffer's area reports in rmDirect: the area is repainted at once.
    void DirectAreaUpdateHandler(TObject* Sender, const TRect& Area, std::uint32_t Info);
    bool InDesignMode() const { return ComponentState().Contains(csDesigning); }

    std::unique_ptr<TBitmap32> FBuffer;
    int FBufferOversize = 40;
    bool FBufferValid = false;
    TRepaintMode FRepaintMode = rmFull;
    std::unique_ptr<TRectList> FInvalidRects;
    bool FForceFullRepaint = true;
    std::unique_ptr<TCustomRepaintOptimizer> FRepaintOptimizer;
    TPaintBoxOptions FOptions;
    bool FMouseInControl = false;
    bool FAutoSize = false;
    // While set, area reports collect rectangles without repainting (the custom-paint state).
    bool FCustomPaint = false;
};

class TPaintBox32 : public TCustomPaintBox32 {
public:
    TNotifyEvent OnPaintBuffer;

    explicit TPaintBox32(TComponent* AOwner) : TCustomPaintBox32(AOwner) {}
    bool ReadProperty(TPropertyReader& Reader) override;

protected:
    void DoPaintBuffer() override;
};

class TCustomImage32;
using TPaintStageHandler = void (TCustomImage32::*)(TBitmap32* Dest, int StageNum);

class TCustomImage32 : public TCustomPaintBox32 {
public:
    TNotifyEvent OnBitmapResize;
    TNotifyEvent OnChange;
    TNotifyEvent OnInitStages;
    // In control coordinates, with the layer the event went to (nullptr when none).
    TImgMouseEvent OnMouseDown;
    TImgMouseMoveEvent OnMouseMove;
    TImgMouseEvent OnMouseUp;
    TPaintStageEvent OnPaintStage;
    TNotifyEvent OnScaleChange;

    explicit TCustomImage32(TComponent* AOwner);
    ~TCustomImage32() override;

    TBitmap32* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap32* Value);
    TBitmapAlign BitmapAlign() const { return FBitmapAlign; }
    void SetBitmapAlign(TBitmapAlign Value);
    TLayerCollection* Layers() const { return FLayers.get(); }
    void SetLayers(TLayerCollection* Value);
    float OffsetHorz() const { return FOffsetHorz; }
    void SetOffsetHorz(float Value);
    float OffsetVert() const { return FOffsetVert; }
    void SetOffsetVert(float Value);
    TPaintStages* PaintStages() const { return FPaintStages.get(); }
    float Scale() const { return FScaleX; }
    // Both scales; values below 0.001 store 0.001.
    void SetScale(float Value);
    float ScaleX() const { return FScaleX; }
    void SetScaleX(float Value);
    float ScaleY() const { return FScaleY; }
    void SetScaleY(float Value);
    TScaleMode ScaleMode() const { return FScaleMode; }
    void SetScaleMode(TScaleMode Value) { DoSetScaleMode(Value); }
    int UpdateCount() const { return FUpdateCount; }
    TPixelCombineEvent OnPixelCombine() const { return FBitmap->OnPixelCombine; }
    void SetOnPixelCombine(const TPixelCombineEvent& Value);

    virtual void BeginUpdate();
    virtual void Changed();
    // Raises EAssertionFailed "Unpaired EndUpdate call" below zero.
    virtual void EndUpdate();

    TPoint BitmapToControl(const TPoint& APoint);
    TPoint ControlToBitmap(const TPoint& APoint);
    virtual TRect GetBitmapRect();
    virtual TSize GetBitmapSize();
    void InvalidateCache();
    void UpdateCache();
    const TRect& CachedBitmapRect() const { return FCachedBitmapRect; }
    bool CacheValid() const { return FCacheValid; }
    bool PaintToMode() const { return FPaintToMode; }
    // Scale, scale and shift of the cached transform: ScaleX, ScaleY, ShiftX, ShiftY, RevScaleX,
    // RevScaleY, the scales in 16.16 and the shifts in plain pixels.
    struct TXForm {
        int ScaleX = 0x10000;
        int ScaleY = 0x10000;
        int ShiftX = 0;
        int ShiftY = 0;
        int RevScaleX = 0x10000;
        int RevScaleY = 0x10000;
        bool operator==(const TXForm&) const = default;
    };
    const TXForm& CachedXForm() const { return FCachedXForm; }

    // Runs the run-time stages into Dest with the bitmap placed in DestRect.
    virtual void PaintTo(TBitmap32* Dest, const TRect& DestRect);
    virtual void SetupBitmap(bool DoClear = false, TColor32 ClearColor = 0xFF000000);

    void Invalidate() override;
    void Loaded() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    bool ReadProperty(TPropertyReader& Reader) override;

protected:
    virtual void BitmapResized();
    virtual void BitmapChanged(const TRect& Area);
    virtual void DoInitStages();
    virtual void DoScaleChange();
    virtual void InitDefaultStages();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, TCustomLayer* Layer);
    virtual void MouseMove(TShiftState Shift, int X, int Y, TCustomLayer* Layer);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y, TCustomLayer* Layer);
    virtual void DoSetScaleMode(TScaleMode Value);
    virtual void ExecBitmapFrame(TBitmap32* Dest, int StageNum);
    virtual void ExecClearBuffer(TBitmap32* Dest, int StageNum);
    virtual void ExecClearBackgnd(TBitmap32* Dest, int StageNum);
    virtual void ExecControlFrame(TBitmap32* Dest, int StageNum);
    virtual void ExecCustom(TBitmap32* Dest, int StageNum);
    virtual void ExecDrawBitmap(TBitmap32* Dest, int StageNum);
    virtual void ExecDrawLayers(TBitmap32* Dest, int StageNum);

    void DoSetRepaintMode(TRepaintMode Value) override;
    bool InvalidRectsAvailable() override;
    void DoPaintBuffer() override;
    void DoPaintGDIOverlay() override;
    void MouseLeave() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    std::unique_ptr<TBitmap32> FBitmap;
    TBitmapAlign FBitmapAlign = baTopLeft;
    std::unique_ptr<TLayerCollection> FLayers;
    float FOffsetHorz = 0;
    float FOffsetVert = 0;
    std::unique_ptr<TPaintStages> FPaintStages;
    std::vector<TPaintStageHandler> FPaintStageHandlers;
    std::vector<int> FPaintStageNum;
    float FScaleX = 1.0f;
    float FScaleY = 1.0f;
    TScaleMode FScaleMode = smNormal;
    int FUpdateCount = 0;
    TRect FCachedBitmapRect;
    TXForm FCachedXForm;
    bool FCacheValid = false;
    bool FPaintToMode = false;

private:
    void BitmapResizeHandler(TObject* Sender);
    void BitmapFullChangeHandler(TObject* Sender);
    void BitmapAreaChangeHandler(TObject* Sender, const TRect& Area, std::uint32_t Info);
    void BitmapDirectAreaChangeHandler(TObject* Sender, const TRect& Area, std::uint32_t Info);
    // The bitmap area inflated by the resampler's reach, in control coordinates, once per tile copy.
    std::vector<TRect> MapBitmapArea(const TRect& Area);
    void LayerCollectionChangeHandler(TObject* Sender);
    void LayerCollectionGDIUpdateHandler(TObject* Sender);
    void LayerCollectionGetViewportScaleHandler(TObject* Sender, float& ScaleX, float& ScaleY);
    void LayerCollectionGetViewportShiftHandler(TObject* Sender, float& ShiftX, float& ShiftY);
    void ApplyAutoSize();
    void RunStage(const TPaintStage& Stage, TBitmap32* Dest, int StageNum);
    static TPaintStageHandler HandlerOf(std::uint32_t Stage);
};

class TImage32 : public TCustomImage32 {
public:
    explicit TImage32(TComponent* AOwner) : TCustomImage32(AOwner) {}
};

class TBitmap32Collection;

// One bitmap of a collection.
class TBitmap32Item : public TPersistent {
public:
    explicit TBitmap32Item(TBitmap32Collection* Collection);
    ~TBitmap32Item() override;
    TBitmap32Item(const TBitmap32Item&) = delete;
    TBitmap32Item& operator=(const TBitmap32Item&) = delete;

    TBitmap32* Bitmap() const { return FBitmap.get(); }
    // Copies into the owned bitmap.
    void SetBitmap(TBitmap32* Value) { FBitmap->Assign(Value); }
    TBitmap32Collection* Collection() const { return FCollection; }
    int Index() const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TBitmap32Collection;
    TBitmap32Collection* FCollection;
    std::unique_ptr<TBitmap32> FBitmap;
};

class TBitmap32Collection : public TPersistent {
public:
    explicit TBitmap32Collection(TPersistent* AOwner) : FOwner(AOwner) {}
    ~TBitmap32Collection() override;
    TBitmap32Collection(const TBitmap32Collection&) = delete;
    TBitmap32Collection& operator=(const TBitmap32Collection&) = delete;

    TBitmap32Item* Add();
    // Index is clamped to 0..Count.
    TBitmap32Item* Insert(int Index);
    // Raises EListError outside 0..Count-1.
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0..Count-1.
    TBitmap32Item* Items(int Index) const;
    TPersistent* Owner() const { return FOwner; }
    void Assign(const TPersistent* Source) override;

private:
    friend class TBitmap32Item;
    std::vector<std::unique_ptr<TBitmap32Item>> FItems;
    TPersistent* FOwner;
};

// A component holding a list of bitmaps.
class TBitmap32List : public TComponent {
public:
    explicit TBitmap32List(TComponent* AOwner);
    ~TBitmap32List() override;

    TBitmap32Collection* Bitmaps() const { return FBitmaps.get(); }
    void SetBitmaps(TBitmap32Collection* Value) { FBitmaps->Assign(Value); }
    // Raise EListError outside 0..Count-1.
    TBitmap32* Bitmap(int Index) const { return FBitmaps->Items(Index)->Bitmap(); }
    void SetBitmap(int Index, TBitmap32* Value) { FBitmaps->Items(Index)->SetBitmap(Value); }

    // Bitmaps = < item Bitmap.Data = { ... } end ... >
    bool ReadProperty(TPropertyReader& Reader) override;

private:
    std::unique_ptr<TBitmap32Collection> FBitmaps;
};

// Makes TPaintBox32, TImage32 and TBitmap32List known to the form-definition reader; again does
// nothing.
void RegisterImageControls();

} // namespace Bmp32_Image

using namespace Bmp32_Image;
