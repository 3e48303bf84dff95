#include "bitmap32/Bmp32.h"
#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A component that keeps a bitmap under "Bitmap.", as the image controls do.
class TBitmapHolder : public TComponent {
public:
    explicit TBitmapHolder(TComponent* owner = nullptr) : TComponent(owner) {}
    TBitmap32 Bitmap;
    bool ReadProperty(TPropertyReader& reader) override {
        std::string rest;
        if (reader.HasPrefix("Bitmap.", &rest)) return Bitmap.ReadProperty(reader, rest);
        return TComponent::ReadProperty(reader);
    }
};

void Load(TBitmapHolder& holder, const std::string& properties) {
    const std::string text = "object Holder: TBitmapHolder\n" + properties + "end\n";
    LoadComponentDefinition(&holder, ParseFormDefinition(text, "holder.dfm"), "holder.dfm", nullptr);
}

TEST(Properties, FormDefinitionsSetTheBitmap) {
    TBitmapHolder holder;
    Load(holder, "  Bitmap.Data = {\n    0200000001000000 11223344 55667788}\n"
                 "  Bitmap.DrawMode = dmBlend\n  Bitmap.CombineMode = cmMerge\n  Bitmap.WrapMode = wmMirror\n"
                 "  Bitmap.MasterAlpha = 128\n  Bitmap.OuterColor = $FF00FF00\n"
                 "  Bitmap.ResamplerClassName = 'TNearestResampler'\n");
    TBitmap32& b = holder.Bitmap;
    ASSERT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 1);
    EXPECT_EQ(b.GetPixel(0, 0), 0x44332211u);
    EXPECT_EQ(b.GetPixel(1, 0), 0x88776655u);
    EXPECT_EQ(b.DrawMode(), dmBlend);
    EXPECT_EQ(b.CombineMode(), cmMerge);
    EXPECT_EQ(b.WrapMode(), wmMirror);
    EXPECT_EQ(b.MasterAlpha(), 128u);
    EXPECT_EQ(b.OuterColor(), 0xFF00FF00u);
    EXPECT_EQ(b.ResamplerClassName(), "TNearestResampler");
}

TEST(Properties, BadValuesNameTheProperty) {
    const char* bad[] = {
        "  Bitmap.Data = {0200000002000000 11223344}\n", // fewer pixels than the header promises
        "  Bitmap.Data = 'text'\n",
        "  Bitmap.DrawMode = dmSometimes\n",
        "  Bitmap.MasterAlpha = -1\n",
        "  Bitmap.Unknown = 1\n",
    };
    for (const char* p : bad) {
        TBitmapHolder holder;
        EXPECT_THROW(Load(holder, p), EFormDefinitionError) << p;
        EXPECT_TRUE(holder.Bitmap.Empty()) << p;
    }
}

TEST(Properties, DataIsStoredWhenItDiffersFromTheAncestor) {
    TBitmap32 a, b, empty;
    a.SetSize(2, 2);
    b.SetSize(2, 2);
    TPersistent other;
    EXPECT_TRUE(a.DataStored(nullptr));
    EXPECT_FALSE(empty.DataStored(nullptr));
    EXPECT_FALSE(a.DataStored(&b));
    b.SetPixel(0, 0, 1);
    EXPECT_TRUE(a.DataStored(&b));
    EXPECT_TRUE(empty.DataStored(&other));
}

} // namespace
