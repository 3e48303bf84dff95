// The texts the setup windows show: the captions of the definitions agree with the English language
// table, and every caption, in every language the windows load, fits the control that shows it.
#include "tests/setup/SetupWindows.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/DeviceContext.h"
#include "platform/vcl/StdCtrls.h"

#include <cstdlib>
#include <fstream>
#include <map>

namespace setup_test {
namespace {

// Where a window's language text goes: the form's caption when control is empty.
struct LanguageCaption {
    const char* unit;
    const char* control;
    int id;
};

const LanguageCaption kCaptions[] = {
    {"Menu", "", 59931},
    {"Menu", "btnDevice", 59930},
    {"Menu", "btnRecord", 59929},
    {"Menu", "btnSystem", 59928},
    {"Menu", "btnLoglist", 59927},
    {"Menu", "btnInfo", 59926},
    {"Menu", "btnOk", 59974},
    {"Menu", "btnCancel", 59980},
    {"Network", "", 59924},
    {"Network", "lb2", 59923},
    {"Network", "btnOk", 59981},
    {"Network", "btnCancel", 59980},
    {"System", "", 59891},
    {"System", "Label6", 59890},
    {"System", "btnOk", 59981},
    {"System", "btnCancel", 59980},
    {"Device", "", 59945},
    {"Device", "btnCamera", 59944},
    {"Device", "btnAlarm", 59943},
    {"Device", "btnPrev", 59978},
    {"Device", "btnCancel", 59980},
    {"Camera", "", 59953},
    {"Camera", "GroupBox1", 59952},
    {"Camera", "GroupBox2", 59951},
    {"Camera", "GroupBox5", 59950},
    {"Camera", "GroupBox3", 59949},
    {"Camera", "GroupBox6", 59948},
    {"Camera", "GroupBox4", 59947},
    {"Camera", "GroupBox7", 59946},
    {"Camera", "btnPrev", 59978},
    {"Camera", "btnCancel", 59980},
    {"Alarm", "", 59966},
    {"Alarm", "GroupBox1", 59965},
    {"Alarm", "GroupBox2", 59964},
    {"Alarm", "rbtOpen", 59963},
    {"Alarm", "rbtClose", 59962},
    {"Alarm", "btnPrev", 59978},
    {"Alarm", "btnCancel", 59980},
    {"Schedule", "", 59899},
    {"Schedule", "GroupBox1", 59898},
    {"Schedule", "btnTime_Table", 59897},
    {"Schedule", "btnHoliday", 59896},
    {"Schedule", "btnPrev", 59978},
    {"TimeTable", "", 59889},
    {"TimeTable", "lbMon", 59960},
    {"TimeTable", "lbTue", 59959},
    {"TimeTable", "lbWed", 59958},
    {"TimeTable", "lbThu", 59957},
    {"TimeTable", "lbFri", 59956},
    {"TimeTable", "lbSat", 59955},
    {"TimeTable", "lbSun", 59961},
    {"TimeTable", "lbHol", 59954},
    {"TimeTable", "btnPrev", 59978},
    {"Info", "", 59937},
    {"Info", "Label1", 59936},
    {"Info", "Label3", 59935},
    {"Info", "Label5", 59934},
    {"Info", "Label9", 59933},
    {"Info", "btnPrev", 59978},
    {"Vidstd", "", 59888},
    {"Vidstd", "Label1", 59887},
    {"Record2", "", 59921},
    {"Record2", "GroupBox1", 59918},
    {"Record2", "GroupBox2", 59910},
    {"Record2", "lbResolution", 59917},
    {"Record2", "lbResolution_e", 59917},
    {"Record2", "lbImage", 59916},
    {"Record2", "lbImage_e", 59916},
    {"Record2", "lbImage_cf", 59915},
    {"Record2", "lbImage_cf_e", 59915},
    {"Record2", "lbQuality", 59914},
    {"Record2", "lbQuality_e", 59914},
    {"Record2", "lbRecord", 59913},
    {"Record2", "lbRecord_e", 59913},
    {"Record2", "lbNetwork", 59912},
    {"Record2", "lbNetwork_e", 59912},
    {"Record2", "lbVoice", 59911},
    {"Record2", "lbVoice_e", 59911},
    {"Record2", "lbMotion_e", 59909},
    {"Record2", "lbMotionOut_e", 59908},
    {"Record2", "lbAlarmIn_e", 59907},
    {"Record2", "lbAlarmOut_e", 59908},
    {"Record2", "lbPre_rec_e", 59906},
    {"Record2", "lbDuration_e", 59905},
    {"Record2", "lbCur_group", 59904},
    {"Record2", "lbSchedule", 59903},
    {"Record2", "lbOverwrite", 59902},
    {"Record2", "lbStorage", 59901},
    {"Record2", "lbAutoBackup", 59900},
    {"Record2", "btnOk", 59981},
    {"Record2", "btnCancel", 59980},
};

// The languages the windows are shown in, with the face each picks for its language.
struct Language {
    const char* code;
    const char* font;
};
const Language kLanguages[] = {
    {"eng", "MS Sans Serif"}, {"jpn", "MS PGothic"}, {"kor", "\xEA\xB5\xB4\xEB\xA6\xBC"}, {"esp", "Arial"}};

std::map<int, std::string> ReadTable(const std::string& code) {
    const char* source = std::getenv("HARBEK_SOURCE");
    std::ifstream in(std::string(source ? source : ".") + "/resources/LANGUAGE/dll" + code + ".txt");
    std::map<int, std::string> table;
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        std::string text;
        for (std::size_t i = tab + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                const char c = line[++i];
                text += c == 'n' ? '\n' : c == 't' ? '\t' : c;
            } else {
                text += line[i];
            }
        }
        table[std::atoi(line.c_str())] = text;
    }
    return table;
}

// Whether the text, drawn in the given face, fits the control that shows it: a label within its
// bounds (wrapped when it wraps), a button, radio button or group box within its width.
bool Fits(TControl* control, const std::string& fontName, const std::string& text, std::string& why) {
    TBitmap bitmap(1, 1);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->Assign(control->Font());
    canvas->Font()->SetName(fontName);
    if (auto* label = dynamic_cast<TLabel*>(control)) {
        HDC dc = canvas->Handle();
        SelectObject(dc, canvas->Font()->Handle());
        TRect r = Rect(0, 0, label->Width(), 0);
        const UINT flags = DT_NOPREFIX | DT_CALCRECT | (label->WordWrap() ? DT_WORDBREAK : 0);
        DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
        why = std::to_string(r.Width()) + " x " + std::to_string(r.Height()) + " in " +
              std::to_string(label->Width()) + " x " + std::to_string(label->Height());
        return r.Width() <= label->Width() && r.Height() <= label->Height();
    }
    int room = 0;
    if (dynamic_cast<TButton*>(control))
        room = control->Width() - 8;
    else if (dynamic_cast<TRadioButton*>(control) || dynamic_cast<TCheckBox*>(control) ||
             dynamic_cast<TGroupBox*>(control))
        room = control->Width() - 20;
    else
        return true; // shows no caption of its own
    const int width = canvas->TextWidth(text);
    why = std::to_string(width) + " in " + std::to_string(room);
    return width <= room;
}

class SetupCaptionsTest : public SetupWindowTest {};

TEST_F(SetupCaptionsTest, DefinitionsShowTheEnglishTexts) {
    const auto english = ReadTable("eng");
    ASSERT_FALSE(english.empty());
    for (const LanguageCaption& c : kCaptions) {
        SCOPED_TRACE(std::string(c.unit) + " " + c.control);
        ASSERT_TRUE(english.count(c.id)) << c.id;
        TForm* form = Create(c.unit);
        const std::string shown =
            *c.control ? form_testing::FindControlByName(form, c.control)->Caption() : form->Caption();
        EXPECT_EQ(shown, english.at(c.id));
        delete form;
    }
}

TEST_F(SetupCaptionsTest, GroupAndChannelTabsNameTheirNumbers) {
    const auto english = ReadTable("eng");
    TForm* form = Create("Record2");
    auto* groups = dynamic_cast<TPageControl*>(form_testing::FindControlByName(form, "PageControl1"));
    ASSERT_NE(groups, nullptr);
    ASSERT_EQ(groups->PageCount(), 5);
    for (int g = 0; g < 5; ++g) {
        TTabSheet* sheet = groups->Pages(g);
        EXPECT_EQ(sheet->Name(), "TabSheet" + std::to_string(g + 1));
        EXPECT_EQ(sheet->Caption(), english.at(59920) + std::to_string(g + 1));
        auto* channels = dynamic_cast<TPageControl*>(
            form_testing::FindControlByName(form, "PageControl" + std::to_string(g + 2)));
        ASSERT_NE(channels, nullptr);
        EXPECT_EQ(channels->Parent(), sheet);
        ASSERT_EQ(channels->PageCount(), 4);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(channels->Pages(c)->Caption(), english.at(59919) + std::to_string(c + 1));
    }
}

TEST_F(SetupCaptionsTest, EveryLanguageFitsItsControls) {
    for (const Language& language : kLanguages) {
        const auto table = ReadTable(language.code);
        ASSERT_FALSE(table.empty()) << language.code;
        for (const LanguageCaption& c : kCaptions) {
            if (!*c.control) continue; // a title bar takes any length
            TForm* form = Create(c.unit);
            TControl* control = form_testing::FindControlByName(form, c.control);
            std::string why;
            EXPECT_TRUE(Fits(control, language.font, table.at(c.id), why))
                << language.code << " " << c.unit << "." << c.control << " '" << table.at(c.id)
                << "': " << why;
            delete form;
        }
    }
}

TEST_F(SetupCaptionsTest, FixedCaptionsFitTheirControls) {
    for (const SetupWindow& w : SetupWindows()) {
        TForm* form = w.create(Application);
        for (TControl* control : ControlsOf(form)) {
            if (control->Caption().empty()) continue;
            std::string why;
            EXPECT_TRUE(Fits(control, control->Font()->Name(), control->Caption(), why))
                << w.unit << "." << control->Name() << " '" << control->Caption() << "': " << why;
        }
    }
}

} // namespace
} // namespace setup_test
