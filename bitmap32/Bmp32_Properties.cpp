// TBitmap32 in form definitions: the published properties and the Data stream.
#include "bitmap32/Bmp32.h"

#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/vcl/FormReader.h"

namespace Bmp32 {

bool TBitmap32::DataStored(const TPersistent* Ancestor) const {
    if (Ancestor) {
        auto* bitmap = dynamic_cast<const TBitmap32*>(Ancestor);
        return !bitmap || !Equal(bitmap);
    }
    return !Empty();
}

bool TBitmap32::ReadProperty(const TPropertyReader& Reader, std::string_view Name) {
    if (SameText(Name, "Data")) {
        if (Reader.Value().kind != TDfmValue::Binary) Reader.Fail("binary data expected");
        TStringStream stream(Reader.Value().text);
        try {
            ReadData(&stream);
        } catch (const EReadError& e) {
            Reader.Fail(e.Message);
        }
        return true;
    }
    if (SameText(Name, "DrawMode")) {
        SetDrawMode(Reader.Enum<TDrawMode>({{"dmOpaque", dmOpaque},
                                            {"dmBlend", dmBlend},
                                            {"dmCustom", dmCustom},
                                            {"dmTransparent", dmTransparent}}));
        return true;
    }
    if (SameText(Name, "CombineMode")) {
        SetCombineMode(Reader.Enum<TCombineMode>({{"cmBlend", cmBlend}, {"cmMerge", cmMerge}}));
        return true;
    }
    if (SameText(Name, "WrapMode")) {
        SetWrapMode(
            Reader.Enum<TWrapMode>({{"wmClamp", wmClamp}, {"wmRepeat", wmRepeat}, {"wmMirror", wmMirror}}));
        return true;
    }
    if (SameText(Name, "MasterAlpha") || SameText(Name, "OuterColor")) {
        const std::int64_t v = Reader.Int64();
        if (v < 0 || v > 0xFFFFFFFF)
            Reader.Fail(Format("%lld is out of the unsigned 32-bit range", static_cast<long long>(v)));
        if (SameText(Name, "MasterAlpha"))
            SetMasterAlpha(static_cast<std::uint32_t>(v));
        else
            SetOuterColor(static_cast<TColor32>(v));
        return true;
    }
    if (SameText(Name, "ResamplerClassName")) {
        SetResamplerClassName(Reader.String());
        return true;
    }
    return false;
}

} // namespace Bmp32
