// The range and gauge bars in form definitions: their published properties by name, and their
// registration with the form reader.
#include "bitmap32/Bmp32_RangeBars.h"

#include "platform/vcl/FormReader.h"
#include "platform/vcl/PropertyReaders.h"

#include <mutex>

namespace Bmp32_RangeBars {

bool TArrowBar::ReadProperty(TPropertyReader& Reader) {
    TPropertyReader& r = Reader;
    if (r.Is("Backgnd")) {
        SetBackgnd(r.Enum<TRBBackgnd>({{"bgPattern", bgPattern}, {"bgSolid", bgSolid}}));
    } else if (r.Is("BorderStyle")) {
        SetBorderStyle(r.Enum<TBorderStyle>({{"bsNone", bsNone}, {"bsSingle", bsSingle}}));
    } else if (r.Is("ButtonSize")) {
        SetButtonSize(r.Integer());
    } else if (r.Is("HandleColor")) {
        SetHandleColor(ReadColorValue(r));
    } else if (r.Is("ButtonColor")) {
        SetButtonColor(ReadColorValue(r));
    } else if (r.Is("HighLightColor")) {
        SetHighLightColor(ReadColorValue(r));
    } else if (r.Is("ShadowColor")) {
        SetShadowColor(ReadColorValue(r));
    } else if (r.Is("BorderColor")) {
        SetBorderColor(ReadColorValue(r));
    } else if (r.Is("Kind")) {
        SetKind(r.Enum<TScrollBarKind>({{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}}));
    } else if (r.Is("ShowArrows")) {
        SetShowArrows(r.Boolean());
    } else if (r.Is("ShowHandleGrip")) {
        SetShowHandleGrip(r.Boolean());
    } else if (r.Is("Style")) {
        SetStyle(r.Enum<TRBStyle>({{"rbsDefault", rbsDefault}, {"rbsMac", rbsMac}}));
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else if (r.Is("OnUserChange")) {
        OnUserChange = r.Event<TNotifyEvent>();
    } else {
        return TCustomControl::ReadProperty(Reader);
    }
    return true;
}

bool TCustomRangeBar::ReadProperty(TPropertyReader& Reader) {
    if (Reader.Is("Increment")) {
        const int v = Reader.Integer();
        if (v < 0 || v > 0xFFFF) Reader.Fail("Increment must lie in 0..65535");
        SetIncrement(static_cast<TRBIncrement>(v));
    } else if (Reader.Is("Range")) {
        SetRange(Reader.Integer());
    } else if (Reader.Is("Window")) {
        SetWindow(Reader.Integer());
    } else if (Reader.Is("Position")) {
        SetPosition(static_cast<float>(Reader.Float()));
    } else {
        return TArrowBar::ReadProperty(Reader);
    }
    return true;
}

bool TCustomGaugeBar::ReadProperty(TPropertyReader& Reader) {
    if (Reader.Is("HandleSize")) {
        SetHandleSize(Reader.Integer());
    } else if (Reader.Is("LargeChange")) {
        SetLargeChange(Reader.Integer());
    } else if (Reader.Is("SmallChange")) {
        SetSmallChange(Reader.Integer());
    } else if (Reader.Is("Max")) {
        SetMax(Reader.Integer());
    } else if (Reader.Is("Min")) {
        SetMin(Reader.Integer());
    } else if (Reader.Is("Position")) {
        SetPosition(Reader.Integer());
    } else {
        return TArrowBar::ReadProperty(Reader);
    }
    return true;
}

void RegisterRangeBars() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterComponentClass<TRangeBar>("TRangeBar");
        RegisterComponentClass<TGaugeBar>("TGaugeBar");
    });
}

} // namespace Bmp32_RangeBars
