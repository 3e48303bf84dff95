// TBmGauge: a level gauge drawn from a bitmap of two equal halves, the empty gauge first (top or left)
// and the full one second. _Horizontal: halves stacked, the level grows to the right; _Vertical: halves
// side by side, the level grows upward. The control is one half.
#pragma once

#include "controls/BmFrame.h"

namespace Bmgauge {

using Bmframe::TDirection;

class TBmGauge : public TGraphicControl {
public:
    explicit TBmGauge(TComponent* owner);
    ~TBmGauge() override;

    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* value);
    int CurrentLevel() const { return currentLevel_; }
    // A level above the maximum is ignored; there is no lower bound (drawn as empty).
    void SetCurrentLevel(int value);
    int MaximumLevel() const { return maximumLevel_; }
    // Redraws at once; the level is not adjusted.
    void SetMaximumLevel(int value);
    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection value);
    void FitSize();
    HPALETTE GetPalette() const { return nullptr; }
    // Pixels of the level part along the gauge: 0 when the maximum is not positive, never outside
    // 0..length; worked in 64 bits (a byte count of a large file on a wide gauge).
    static int LevelLength(long long level, long long maximum, int length);

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void Paint() override;

private:
    std::unique_ptr<TBitmap> bitmap_;
    int currentLevel_ = 50;
    int maximumLevel_ = 100;
    TDirection direction_ = Bmframe::_Horizontal;
};

} // namespace Bmgauge

using Bmgauge::TBmGauge;
