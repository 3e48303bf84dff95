// The image and paint-box controls in form definitions: created by class name with their stored
// properties, bad values refused with the reader's error; and the paint box's answers to messages.
#include "bitmap32/Bmp32_Image.h"
#include "platform/vcl/FormDefinition.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The hex text of a bitmap's Data stream: width, height, then the pixels.
std::string DataHex(std::int32_t w, std::int32_t h, const std::vector<std::uint32_t>& pixels) {
    std::string bytes;
    const auto put = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(static_cast<std::uint32_t>(w));
    put(static_cast<std::uint32_t>(h));
    for (std::uint32_t p : pixels)
        put(p);
    std::string hex;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02X", c);
        hex += two;
    }
    return hex;
}

class ImageForm : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterImageControls();
        previousRoot = FormResourceRoot();
        SetFormResourceRoot(dir.Path().string());
    }
    void TearDown() override {
        SetFormResourceRoot(previousRoot);
        form_testing::ResetApplication();
    }
    TForm* Load(const std::string& objects) {
        auto* form = new TForm(Application);
        const std::string text = "object Form1: TForm\n  Left = 0\n  Top = 0\n" + objects + "end\n";
        LoadComponentDefinition(form, ParseFormDefinition(text, "test.dfm"), "test.dfm", nullptr);
        return form;
    }
    testing_support::TempDir dir;
    std::string previousRoot;
};

TEST_F(ImageForm, ImageLoadsItsStoredProperties) {
    const std::vector<std::uint32_t> pixels{0xFF112233, 0xFF445566, 0x80778899,
                                            0xFFAABBCC, 0xFFDDEEFF, 0x00000000};
    TForm* form = Load("  object Img: TImage32\n"
                       "    Left = 4\n"
                       "    Top = 5\n"
                       "    Width = 60\n"
                       "    Height = 50\n"
                       "    Bitmap.ResamplerClassName = 'TNearestResampler'\n"
                       "    Bitmap.Data = {" +
                       DataHex(3, 2, pixels) +
                       "}\n"
                       "    Bitmap.DrawMode = dmBlend\n"
                       "    BitmapAlign = baCenter\n"
                       "    Scale = 2.5\n"
                       "    ScaleMode = smScale\n"
                       "    RepaintMode = rmOptimizer\n"
                       "    Color = clWhite\n"
                       "    TabOrder = 1\n"
                       "  end\n"
                       "  object Box: TPaintBox32\n"
                       "    Left = 70\n"
                       "    Width = 10\n"
                       "    Height = 12\n"
                       "    Options = [pboAutoFocus, pboWantArrowKeys]\n"
                       "    RepaintMode = rmDirect\n"
                       "  end\n");
    auto* image = dynamic_cast<TImage32*>(form->FindComponent("Img"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ClassName(), "TImage32");
    EXPECT_EQ(image->Parent(), form);
    EXPECT_EQ(image->BoundsRect(), Rect(4, 5, 64, 55));
    ASSERT_EQ(image->Bitmap()->Width(), 3);
    ASSERT_EQ(image->Bitmap()->Height(), 2);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image->Bitmap()->GetPixel(i % 3, i / 3), pixels[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(image->Bitmap()->DrawMode(), dmBlend);
    EXPECT_EQ(image->Bitmap()->ResamplerClassName(), "TNearestResampler");
    EXPECT_EQ(image->BitmapAlign(), baCenter);
    EXPECT_EQ(image->ScaleX(), 2.5f);
    EXPECT_EQ(image->ScaleY(), 2.5f);
    EXPECT_EQ(image->ScaleMode(), smScale);
    EXPECT_EQ(image->RepaintMode(), rmOptimizer);
    EXPECT_TRUE(image->RepaintOptimizer()->Enabled());
    EXPECT_EQ(image->GetBitmapRect(), Rect(26, 22, 34, 27)); // 3 x 2 scaled 2.5 (round to even), centred
    auto* box = dynamic_cast<TPaintBox32*>(form->FindComponent("Box"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Options(), (TPaintBoxOptions{pboAutoFocus, pboWantArrowKeys}));
    EXPECT_EQ(box->RepaintMode(), rmDirect);
    EXPECT_FALSE(box->RepaintOptimizer()->Enabled());
}

TEST_F(ImageForm, StoredPictureMayComeFromAPictureFile) {
    TBitmap32 picture;
    picture.SetSize(7, 5);
    picture.Clear(0xFF204060);
    picture.SetPixel(6, 4, 0xFFFFFFFF);
    std::filesystem::create_directories(dir.Path() / "skins");
    picture.SaveToFile(dir.File("skins/still.bmp"));
    TForm* form = Load("  object Img: TImage32\n"
                       "    Bitmap.FileName = 'skins/still.bmp'\n"
                       "  end\n");
    auto* image = dynamic_cast<TImage32*>(form->FindComponent("Img"));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->Bitmap()->Width(), 7);
    EXPECT_EQ(image->Bitmap()->GetPixel(0, 0) & 0xFFFFFF, 0x204060u);
    EXPECT_EQ(image->Bitmap()->GetPixel(6, 4) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ImageForm, BadValuesAreRefusedByName) {
    const struct {
        const char* what;
        std::string property;
    } rows[] = {
        {"unknown alignment", "BitmapAlign = baSideways"},
        {"scale mode as a number", "ScaleMode = 2"},
        {"unknown repaint mode", "RepaintMode = rmSometimes"},
        {"scale as text", "Scale = 'big'"},
        {"unknown bitmap property", "Bitmap.Colour = 5"},
        {"data that promises more pixels than it holds",
         "Bitmap.Data = {" + DataHex(10, 10, {1, 2, 3}) + "}"},
        {"negative data size", "Bitmap.Data = {" + DataHex(-1, 4, {}) + "}"},
        {"data as text", "Bitmap.Data = 'pixels'"},
        {"a picture file that does not exist", "Bitmap.FileName = 'skins/none.bmp'"},
        {"unknown option", "Options = [pboEverything]"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_THROW(Load("  object Img: TImage32\n    " + row.property + "\n  end\n"), EFormDefinitionError);
        form_testing::ResetApplication();
    }
}

TEST_F(ImageForm, BitmapListKeepsItsBitmapsInOrder) {
    TForm* form = Load("  object List: TBitmap32List\n"
                       "    Bitmaps = <\n"
                       "      item\n"
                       "        Bitmap.Data = {" +
                       DataHex(1, 1, {0xFF010203}) +
                       "}\n"
                       "      end\n"
                       "      item\n"
                       "        Bitmap.Data = {" +
                       DataHex(2, 1, {0xFF0A0B0C, 0xFF0D0E0F}) +
                       "}\n"
                       "      end>\n"
                       "  end\n");
    auto* list = dynamic_cast<TBitmap32List*>(form->FindComponent("List"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Bitmaps()->Count(), 2);
    EXPECT_EQ(list->Bitmap(0)->GetPixel(0, 0), 0xFF010203u);
    EXPECT_EQ(list->Bitmap(1)->Width(), 2);
    EXPECT_EQ(list->Bitmaps()->Items(1)->Index(), 1);
    EXPECT_EQ(list->Bitmaps()->Owner(), list);

    // Assigning copies pixels into the item's own bitmap.
    TBitmap32 other;
    other.SetSize(3, 3);
    other.Clear(0xFF777777);
    list->SetBitmap(0, &other);
    other.Clear(0);
    EXPECT_EQ(list->Bitmap(0)->GetPixel(2, 2), 0xFF777777u);
    list->Bitmaps()->Insert(-3)->SetBitmap(&other);
    EXPECT_EQ(list->Bitmap(0)->Width(), 3);
    EXPECT_EQ(list->Bitmap(1)->GetPixel(0, 0), 0xFF777777u);
    TBitmap32Collection copy(nullptr);
    copy.Assign(list->Bitmaps());
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Items(2)->Bitmap()->GetPixel(1, 0), 0xFF0D0E0Fu);
    EXPECT_NE(copy.Items(2)->Bitmap(), list->Bitmap(2));
    for (int bad : {-1, 3}) {
        EXPECT_THROW(list->Bitmap(bad), EListError);
        EXPECT_THROW(list->Bitmaps()->Delete(bad), EListError);
    }
    list->Bitmaps()->Delete(0);
    EXPECT_EQ(list->Bitmaps()->Count(), 2);

    form_testing::ResetApplication();
    EXPECT_THROW(Load("  object List: TBitmap32List\n    Bitmaps = <\n      item\n        Bitmap.Width = 3\n"
                      "      end>\n  end\n"),
                 EFormDefinitionError);
}

TEST_F(ImageForm, PaintBoxAnswersItsMessages) {
    auto* form = new TForm(Application);
    auto* box = new TPaintBox32(form);
    box->SetParent(form);
    EXPECT_EQ(box->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
    box->SetOptions(TPaintBoxOptions{pboWantArrowKeys});
    EXPECT_EQ(box->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    EXPECT_EQ(box->Perform(WM_ERASEBKGND, 0, 0), 1) << "the buffer covers everything; nothing is erased";

    int enters = 0, leaves = 0;
    box->OnMouseEnter = [&](TObject*) { ++enters; };
    box->OnMouseLeave = [&](TObject*) { ++leaves; };
    box->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(box->MouseInControl());
    box->Perform(CM_MOUSEENTER, 0, 1); // a child's crossing, not the box's
    box->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(box->MouseInControl());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);

    // Flushing copies the buffer to the control without painting it again.
    int paints = 0;
    box->OnPaintBuffer = [&](TObject*) { ++paints; };
    box->SetBounds(0, 0, 20, 10);
    box->Buffer()->Clear(0xFF336699);
    box->Flush();
    box->Flush(Rect(2, 2, 4, 4));
    EXPECT_EQ(paints, 0);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 40, 30);
    form->Show();
    form_testing::ProcessEvents();
    EXPECT_GE(paints, 1);
}

} // namespace
