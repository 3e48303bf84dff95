// The base classes of the library's objects: change notification with nested updates, a lock for
// objects shared between threads, and a map of Width x Height cells.
#pragma once

#include "bitmap32/Bmp32_Types.h"
#include "platform/core/Threads.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Events.h"

#include <atomic>
#include <cstdint>

namespace Bmp32 {

HARBEK_DECLARE_EXCEPTION(EAssertionFailed, Exception);

using TAreaChangedEvent = TEvent<TObject*, const TRect&, std::uint32_t>;
// F is the source pixel, B the destination pixel to update, M the master alpha.
using TPixelCombineEvent = TEvent<TColor32, TColor32&, TColor32>;

class TNotifiablePersistent : public TPersistent {
public:
    TNotifyEvent OnChange;

    // OnChange(this) when no update is in progress.
    virtual void Changed();
    virtual void BeginUpdate();
    // Raises EAssertionFailed "Unpaired TThreadPersistent.EndUpdate" (count unchanged) when no update is
    // in progress. Does not call Changed by itself.
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    int FUpdateCount = 0;
};

class TThreadPersistent : public TNotifiablePersistent {
public:
    TThreadPersistent() = default;
    TThreadPersistent(const TThreadPersistent&) = delete;
    TThreadPersistent& operator=(const TThreadPersistent&) = delete;

    // Re-entrant. The count tells other threads whether the object is in use.
    void Lock();
    void Unlock();
    int LockCount() const { return FLockCount.load(); }

protected:
    CRITICAL_SECTION FLock;
    std::atomic<int> FLockCount{0};
};

class TCustomMap : public TThreadPersistent {
public:
    TNotifyEvent OnResize;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int NewWidth) { SetSize(NewWidth, FHeight); }
    void SetHeight(int NewHeight) { SetSize(FWidth, NewHeight); }

    // Negative sizes become 0. When the size differs: ChangeSize, Changed, Resized. True when it changed.
    virtual bool SetSize(int NewWidth, int NewHeight);
    // Another map's size, (0, 0) for nullptr; any other source raises "Can't set size from '<class>'".
    bool SetSizeFrom(const TPersistent* Source);
    virtual void Delete() { SetSize(0, 0); }
    virtual bool Empty() const { return FWidth == 0 || FHeight == 0; }

protected:
    virtual void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight);
    virtual void Resized();

    int FWidth = 0;
    int FHeight = 0;
};

} // namespace Bmp32
