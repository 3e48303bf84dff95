// The IPv4 edit: texts and numbers in and out, the caret moving between boxes as the user types,
// pastes refused whole, and the control's growth to fit its boxes.
#include "controls/IPEdit.h"
#include "tests/controls/ControlsTestSupport.h"

#include "platform/vcl/WinUser.h"

namespace {

using namespace controls_test;
using form_testing::PressKey;
using form_testing::TypeText;

class IPEditTest : public ControlsTest {
protected:
    jIPEdit* ip = nullptr;
    void SetUp() override {
        ControlsTest::SetUp();
        ip = Place<jIPEdit>(10, 10);
        ip->SetWidth(160);
    }
    // Keys as a person types them: each goes to whichever box has the focus.
    void Type(const std::string& text) {
        for (char c : text) {
            const WORD key =
                c == '.' ? VK_OEM_PERIOD : static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)));
            PressKey(form, key, TShiftState(), std::string(1, c));
        }
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (int i = 0; i < 4; ++i)
            texts.push_back(ip->Box(i)->Text());
        return texts;
    }
    int FocusedBox() {
        for (int i = 0; i < 4; ++i)
            if (ip->Box(i)->Focused()) return i;
        return -1;
    }
};

TEST_F(IPEditTest, TextGoesToTheBoxesModulo256) {
    struct Case {
        const char* start;
        const char* text;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"9.9.9.9", "10.0.300.7", {"10", "0", "44", "7"}},
        {"9.9.9.9", " 1.2 ", {"1", "2", "9", "9"}},
        {"9.9.9.9", "a.b.c.d", {"", "", "", ""}},
        {"9.9.9.9", "1.2.3.4.5", {"1", "2", "3", "4"}},
        {"9.9.9.9", "-1.256.511.0", {"-1", "0", "255", "0"}},
        {"9.9.9.9", "", {"", "9", "9", "9"}},
    };
    for (const Case& c : cases) {
        ip->SetText(c.start);
        ip->SetText(c.text);
        EXPECT_EQ(Boxes(), c.boxes) << c.text;
    }
    ip->SetText("192.168.0.1");
    EXPECT_EQ(ip->Text(), "192.168.0.1");
}

TEST_F(IPEditTest, ValueInAndOut) {
    ip->SetText("192.168.0.1");
    EXPECT_EQ(ip->Value(), 3232235521u);
    ip->SetValue(0);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(ip->Text(), "...");
    EXPECT_EQ(ip->Value(), 0u);
    ip->SetValue(0x0A000102);
    EXPECT_EQ(ip->Text(), "10.0.1.2");
    // Parts that are no byte do not spill into their neighbours.
    ip->SetText("1.-5.3.4");
    EXPECT_EQ(ip->Value(), 0x01FB0304u);
    ip->Box(2)->SetSelStart(0);
    ip->Box(2)->SetSelText("99"); // "993" typed, not yet left
    EXPECT_EQ(ip->Value() & 0xFFFF00FFu, 0x01FB0004u);
}

TEST_F(IPEditTest, ValuePartsStayInsideTheFourBoxes) {
    ip->SetText("10.20.30.40");
    const int reads[][2] = {{0, 10}, {3, 40}, {4, 0}, {-1, 0}, {1000000, 0}};
    for (const auto& r : reads)
        EXPECT_EQ(ip->ValueParts(r[0]), r[1]) << r[0];
    ip->SetValueParts(4, 1);
    ip->SetValueParts(-1, 1);
    EXPECT_EQ(ip->Text(), "10.20.30.40");
    ip->SetValueParts(1, 300);
    ip->SetValueParts(2, -3);
    EXPECT_EQ(ip->Text(), "10.44.-3.40");
    EXPECT_EQ(ip->ValueParts(2), -3); // as typed
}

TEST_F(IPEditTest, LeavingABoxNormalisesIt) {
    const char* cases[][2] = {{"300", "44"}, {"256", "0"}, {"007", "7"}, {"", ""}};
    for (const auto& c : cases) {
        ip->Box(1)->SetFocus();
        form_testing::ProcessEvents();
        ip->Box(1)->SetText(c[0]);
        ip->Box(2)->SetFocus();
        form_testing::ProcessEvents();
        EXPECT_EQ(ip->Box(1)->Text(), c[1]) << c[0];
    }
}

TEST_F(IPEditTest, ThreeDigitsMoveOnToTheNextBox) {
    ip->SetValue(0);
    ip->Box(0)->SetFocus();
    Type("192");
    EXPECT_EQ(FocusedBox(), 1);
    Type("16");
    EXPECT_EQ(FocusedBox(), 1);
    Type("81.2");
    EXPECT_EQ(ip->Text(), "192.168.1.2");
    EXPECT_EQ(FocusedBox(), 3);
}

TEST_F(IPEditTest, OnlyDigitsAreTyped) {
    ip->SetValue(0);
    TypeText(ip->Box(0), "1a-");
    EXPECT_EQ(ip->Box(0)->Text(), "1");
    TypeText(ip->Box(3), "7.");
    EXPECT_EQ(ip->Box(3)->Text(), "7");
    EXPECT_EQ(FocusedBox(), 3); // no box after the last
}

TEST_F(IPEditTest, ADotMovesOnAndSkipsOneClick) {
    int clicks = 0;
    ip->TControl::OnClick = [&](TObject*) { ++clicks; };
    ip->SetText("1.2.3.4");
    TypeText(ip->Box(0), ".");
    EXPECT_EQ(FocusedBox(), 1);
    EXPECT_EQ(ip->Box(1)->SelLength(), 1); // its text selected
    EXPECT_TRUE(ip->DotJump());
    form_testing::Click(ip->Box(1));
    EXPECT_EQ(clicks, 0);
    form_testing::Click(ip->Box(1));
    EXPECT_EQ(clicks, 1);
}

TEST_F(IPEditTest, BackspaceAtTheStartDeletesInThePreviousBox) {
    ip->SetText("10.123.5.6");
    ip->Box(2)->SetFocus();
    ip->Box(2)->SetSelStart(0);
    PressKey(ip->Box(2), VK_BACK);
    form_testing::ProcessEvents();
    EXPECT_EQ(FocusedBox(), 1);
    EXPECT_EQ(ip->Box(1)->Text(), "12");
    EXPECT_EQ(ip->Box(2)->Text(), "5");
}

TEST_F(IPEditTest, ArrowsHomeAndEndMoveBetweenBoxes) {
    ip->SetText("1.22.3.4");
    ip->Box(1)->SetFocus();
    ip->Box(1)->SetSelStart(0);
    PressKey(ip->Box(1), VK_LEFT);
    EXPECT_EQ(FocusedBox(), 0);
    ip->Box(0)->SetSelStart(1);
    PressKey(ip->Box(0), VK_RIGHT);
    EXPECT_EQ(FocusedBox(), 1);
    PressKey(ip->Box(1), VK_END);
    EXPECT_EQ(FocusedBox(), 3);
    PressKey(ip->Box(3), VK_HOME);
    EXPECT_EQ(FocusedBox(), 0);
    EXPECT_EQ(ip->Box(0)->SelStart(), 0);
}

TEST_F(IPEditTest, APasteOfAnythingButDigitsIsUndoneWhole) {
    ip->SetText("10.20.30.40");
    int changes = 0;
    ip->OnChange = [&](TObject*) { ++changes; };
    ip->Box(1)->SetFocus();
    ip->Box(1)->SelectAll();
    ip->Box(1)->SetSelText("1.2");
    EXPECT_EQ(ip->Box(1)->Text(), "20");
    ip->Box(1)->SelectAll();
    ip->Box(1)->SetSelText("7");
    EXPECT_EQ(ip->Box(1)->Text(), "7");
    EXPECT_GE(changes, 1);
}

TEST_F(IPEditTest, GrowsToFitItsBoxes) {
    auto* small = Place<jIPEdit>(10, 60);
    small->SetBounds(10, 60, 20, 5);
    TCanvas* canvas = small->Dot(0)->Canvas();
    canvas->Font()->Assign(small->Dot(0)->Font());
    const int frame = small->Width() - small->ClientWidth();
    const int needed = 4 * canvas->TextWidth("000") + 3 * small->Dot(0)->Width() + frame;
    EXPECT_EQ(small->Width(), needed);
    EXPECT_EQ(small->Height(), canvas->TextHeight("0") + frame);
    for (int i = 1; i < 4; ++i)
        EXPECT_GT(small->Box(i)->Left(), small->Box(i - 1)->Left());
}

TEST_F(IPEditTest, DisablingReachesEveryBox) {
    ip->SetEnabled(false);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(ip->Box(i)->Enabled());
    ip->SetEnabled(true);
    EXPECT_TRUE(ip->Box(3)->Enabled());
}

} // namespace
