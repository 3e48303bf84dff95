#include "bitmap32/Bmp32_Persistent.h"

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

namespace Bmp32 {

void TNotifiablePersistent::Changed() {
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TNotifiablePersistent::BeginUpdate() {
    ++FUpdateCount;
}

void TNotifiablePersistent::EndUpdate() {
    if (FUpdateCount < 1) throw EAssertionFailed("Unpaired TThreadPersistent.EndUpdate");
    --FUpdateCount;
}

void TThreadPersistent::Lock() {
    ++FLockCount;
    EnterCriticalSection(&FLock);
}

void TThreadPersistent::Unlock() {
    LeaveCriticalSection(&FLock);
    --FLockCount;
}

bool TCustomMap::SetSize(int NewWidth, int NewHeight) {
    if (NewWidth < 0) NewWidth = 0;
    if (NewHeight < 0) NewHeight = 0;
    if (NewWidth == FWidth && NewHeight == FHeight) return false;
    ChangeSize(FWidth, FHeight, NewWidth, NewHeight);
    Changed();
    Resized();
    return true;
}

bool TCustomMap::SetSizeFrom(const TPersistent* Source) {
    if (!Source) return SetSize(0, 0);
    if (auto* map = dynamic_cast<const TCustomMap*>(Source)) return SetSize(map->Width(), map->Height());
    if (auto* graphic = dynamic_cast<const TGraphic*>(Source))
        return SetSize(graphic->Width(), graphic->Height());
    if (auto* control = dynamic_cast<const TControl*>(Source))
        return SetSize(control->Width(), control->Height());
    throw Exception("Can't set size from '" + Source->ClassName() + "'");
}

void TCustomMap::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) {
    Width = NewWidth;
    Height = NewHeight;
}

void TCustomMap::Resized() {
    if (OnResize) OnResize(this);
}

} // namespace Bmp32
