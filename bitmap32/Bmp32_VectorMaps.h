// TVectorMap: a grid of 16.16 displacement vectors with checked and interpolating access, merging of
// two maps and the binary mesh file.
//
// Mesh file, little-endian: i32 0x02000000, the 8 bytes "yfqLhseM" (compared ignoring case), i32 2,
// i32 Width, i32 Height, Width x Height pairs of 32-bit floats (X, Y) row after row, then 8 zero bytes
// that readers ignore. A file that is missing, of another format, negative in size or shorter than its
// vectors raises Exception and leaves the map as it was.
#pragma once

#include "bitmap32/Bmp32.h"
#include "platform/vcl/Events.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;

namespace Bmp32_VectorMaps {

enum TVectorCombineMode : std::uint8_t { vcmAdd, vcmReplace, vcmCustom };
// F the source vector, P the progress point (-1.0 .. 1.0 across the rectangle), B the destination
// vector to change in place.
using TVectorCombineEvent = TEvent<const TFixedPoint&, const TFixedPoint&, TFixedPoint&>;

inline constexpr std::uint32_t MeshSignature = 0x02000000;
inline constexpr std::uint32_t MeshVersion = 2;
inline constexpr char MeshIdentifier[] = "yfqLhseM";
inline constexpr int MeshHeaderSize = 24;

class TVectorMap : public TCustomMap {
public:
    TVectorCombineEvent OnVectorCombine;

    TVectorMap() = default;
    ~TVectorMap() override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0 || FVectors.empty(); }
    TRect BoundsRect() const { return TRect{0, 0, FWidth, FHeight}; }
    TFixedPoint* Vectors() { return FVectors.data(); }
    const TFixedPoint* Vectors() const { return FVectors.data(); }
    // All vectors zero; no change is reported.
    void Clear();

    TVectorCombineMode VectorCombineMode() const { return FVectorCombineMode; }
    void SetVectorCombineMode(TVectorCombineMode Value);

    // Unchecked: callers keep 0 <= X < Width, 0 <= Y < Height.
    TFixedPoint FixedVector(int X, int Y) const { return FVectors[Index(X, Y)]; }
    void SetFixedVector(int X, int Y, const TFixedPoint& V) { FVectors[Index(X, Y)] = V; }
    TFloatPoint FloatVector(int X, int Y) const { return FloatPoint(FixedVector(X, Y)); }
    void SetFloatVector(int X, int Y, const TFloatPoint& V) { SetFixedVector(X, Y, FixedPoint(V)); }
    // Outside the map: reads give (0, 0), writes do nothing.
    TFixedPoint FixedVectorS(int X, int Y) const;
    void SetFixedVectorS(int X, int Y, const TFixedPoint& V);
    TFloatPoint FloatVectorS(int X, int Y) const { return FloatPoint(FixedVectorS(X, Y)); }
    void SetFloatVectorS(int X, int Y, const TFloatPoint& V) { SetFixedVectorS(X, Y, FixedPoint(V)); }

    // Bilinear read at a 16.16 position; (0, 0) when its integer part is outside the map. The
    // unchecked write spreads V over the four neighbours and needs 0 <= X < Width - 1, 0 <= Y < Height - 1.
    TFixedPoint FixedVectorX(TFixed X, TFixed Y) const;
    void SetFixedVectorX(TFixed X, TFixed Y, const TFixedPoint& V);
    // The same with each neighbour checked: outside ones read as zero and are not written.
    TFixedPoint FixedVectorXS(TFixed X, TFixed Y) const;
    void SetFixedVectorXS(TFixed X, TFixed Y, const TFixedPoint& V);
    TFloatPoint FloatVectorF(float X, float Y) const { return FloatPoint(FixedVectorX(Fixed(X), Fixed(Y))); }
    void SetFloatVectorF(float X, float Y, const TFloatPoint& V) {
        SetFixedVectorX(Fixed(X), Fixed(Y), FixedPoint(V));
    }
    TFloatPoint FloatVectorFS(float X, float Y) const {
        return FloatPoint(FixedVectorXS(Fixed(X), Fixed(Y)));
    }
    void SetFloatVectorFS(float X, float Y, const TFloatPoint& V) {
        SetFixedVectorXS(Fixed(X), Fixed(Y), FixedPoint(V));
    }

    // SrcRect of Src combined into this map at (DstLeft, DstTop) by Src's VectorCombineMode, clipped to
    // both maps. Raises "Src is empty!" / "Base is empty!".
    void Merge(int DstLeft, int DstTop, const TVectorMap* Src, TRect SrcRect);
    // The smallest rectangle (right and bottom excluded) holding every non-zero vector; (0, 0, 0, 0)
    // for an empty map or one without non-zero vectors.
    TRect GetTrimmedBounds() const;

    // A missing file raises "File not found!".
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;
    // The same format from and to a stream's current position.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;

protected:
    void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) override;

private:
    std::size_t Index(int X, int Y) const { return static_cast<std::size_t>(Y) * FWidth + X; }
    bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }

    std::vector<TFixedPoint> FVectors;
    TVectorCombineMode FVectorCombineMode = vcmAdd;
};

} // namespace Bmp32_VectorMaps

using namespace Bmp32_VectorMaps;
