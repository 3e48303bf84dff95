// Pictures of every setup window, with the kind of content they show in use, written under the build
// folder for a person to look at; and the few pixels that tell whether a window is drawn as laid out.
#include "tests/setup/SetupWindows.h"

#include "controls/imgframe.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

#include <filesystem>

namespace setup_test {
namespace {

class SetupSnapshotTest : public SetupWindowTest {};

void FillCombo(TForm* form, const std::string& name, const std::vector<std::string>& items, int index) {
    auto* combo = dynamic_cast<TComboBox*>(form_testing::FindControlByName(form, name));
    ASSERT_NE(combo, nullptr) << name;
    for (const std::string& item : items)
        combo->Items()->Add(item);
    combo->SetItemIndex(index);
}

void FillList(TForm* form, const std::string& name, const std::vector<std::string>& lines) {
    auto* list = dynamic_cast<TListBox*>(form_testing::FindControlByName(form, name));
    ASSERT_NE(list, nullptr) << name;
    for (const std::string& line : lines)
        list->Items()->Add(line);
}

std::vector<std::string> Numbered(int first, int last, const std::string& suffix) {
    std::vector<std::string> out;
    for (int i = first; i <= last; ++i)
        out.push_back(std::to_string(i) + suffix);
    return out;
}

// What a user sees in the lists and boxes once a window is in use.
void FillSample(TForm* form, const std::string& unit) {
    auto caption = [form](const char* name, const char* text) {
        form_testing::FindControlByName(form, name)->SetCaption(text);
    };
    if (unit == "System") {
        for (const char* when : {"Start", "End"}) {
            FillCombo(form, std::string("cmb") + when + "_m", Numbered(1, 12, ""), *when == 'S' ? 2 : 9);
            FillCombo(form, std::string("cmb") + when + "_w", Numbered(1, 5, ""), 4);
            FillCombo(form, std::string("cmb") + when + "_d",
                      {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"}, 0);
        }
    } else if (unit == "Camera" || unit == "Alarm") {
        FillCombo(form, "cmbCam", {"CAMERA 1", "CAMERA 2", "CAMERA 3", "CAMERA 4"}, 0);
        if (unit == "Camera") {
            std::vector<std::string> seq{"OFF"};
            for (const std::string& s : Numbered(1, 10, " Sec"))
                seq.push_back(s);
            FillCombo(form, "cmbSeq", seq, 3);
            form_testing::FindControlByName(form, "edtTitle")->SetText("GATE 1");
        }
    } else if (unit == "Record2") {
        FillCombo(form, "cmbImage", Numbered(1, 15, " IPS"), 2);
        FillCombo(form, "cmbImage_e", Numbered(0, 15, " IPS"), 5);
        FillCombo(form, "cmbImage_cf", Numbered(1, 6, " IPS"), 2);
        FillCombo(form, "cmbImage_e_cf", Numbered(0, 6, " IPS"), 3);
        FillCombo(form, "cmbPre_rec_e", Numbered(0, 5, " SEC"), 0);
        FillCombo(form, "cmbDuration_e", {"30 SEC", "60 SEC", "120 SEC", "180 SEC", "240 SEC"}, 1);
        FillCombo(form, "cmbCur_group", Numbered(1, 5, " GROUP"), 0);
    } else if (unit == "TimeTable") {
        auto* grid = dynamic_cast<TStringGrid*>(form_testing::FindControlByName(form, "StringGrid"));
        ASSERT_NE(grid, nullptr);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 24; ++c)
                grid->SetCells(c, r, (c + r) % 7 == 0 ? " " : std::to_string(1 + (c / 6 + r) % 5));
    } else if (unit == "Upload") {
        FillList(form, "lbIPAddress", {"192.168.0.10:5000", "192.168.0.11:5000", "recorder-bus-17:5000"});
        FillList(form, "lbDestAddress", {"10.1.20.30:5000"});
        form_testing::FindControlByName(form, "edtPath")->SetText("/home/user/recorders/fleet");
        FillList(
            form, "ListBox1",
            {"Disconnect", "Connect(10.1.20.30:5000)", "Len = 2048", "File Sent : 2048/2048(send/total)"});
    } else if (unit == "Syslog") {
        FillList(form, "lbLog",
                 {"Logged in", "SUCCESS:109", "SUCCESS:107", "SUCCESS:112",
                  "Remote operation stopped: recorder busy"});
    } else if (unit == "Info") {
        caption("Label2", "2.2.4.454");
        caption("Label4", "BUS 17");
        caption("Label6", "DVR-APP 1.8.0");
        caption("Label7", "HDD");
        caption("Label8", "212.4 GB free");
        caption("Label10", "192.168.0.10");
        caption("Label12", "00:1C:C0:12:34:56");
        caption("Label14", "1.03");
    } else if (unit == "SaveFolder") {
        form_testing::FindControlByName(form, "edtPath")
            ->SetText("/home/user/.local/share/Harbek/192.168.0.10");
    }
}

TEST_F(SetupSnapshotTest, EveryWindowIsPicturedInUse) {
    for (const SetupWindow& w : SetupWindows()) {
        SCOPED_TRACE(w.unit);
        TForm* form = w.create(Application);
        FillSample(form, w.unit);
        form->Show();
        const std::string file = SnapshotFolder() + "/" + w.unit + ".png";
        form_testing::SaveFormSnapshot(form, file);
        EXPECT_GT(std::filesystem::file_size(file), 1000u);
        const form_testing::TSnapshot picture = form_testing::TakeSnapshot(form);
        EXPECT_EQ(picture.Width, form->Width());
        EXPECT_EQ(picture.Height, form->Height());
        form->Hide();
    }
}

// A snapshot pixel at client coordinates of the form.
TColor ClientPixel(TForm* form, const form_testing::TSnapshot& picture, int x, int y) {
    return picture.At(x + form->ClientOrigin().X - form->Left(), y + form->ClientOrigin().Y - form->Top());
}

TEST_F(SetupSnapshotTest, ButtonsFillTheirWholeHeight) {
    TForm* form = Create("Menu");
    form->Show();
    const form_testing::TSnapshot picture = form_testing::TakeSnapshot(form);
    TControl* button = form_testing::FindControlByName(form, "btnDevice");
    const int x = button->Left() + button->Width() / 2;
    EXPECT_EQ(ClientPixel(form, picture, x, button->Top() - 3), ColorToRGB(form->Color()));
    EXPECT_NE(ClientPixel(form, picture, x, button->Top() + 3), ColorToRGB(form->Color()));
    EXPECT_NE(ClientPixel(form, picture, x, button->Top() + button->Height() - 4), ColorToRGB(form->Color()));
}

TEST_F(SetupSnapshotTest, SkinnedWindowsShowTheirPictureAndDarkFields) {
    TForm* config = Create("Config");
    config->Show();
    auto* background = dynamic_cast<TImgFrame*>(form_testing::FindControlByName(config, "ImgBackground"));
    ASSERT_NE(background, nullptr);
    form_testing::TSnapshot picture = form_testing::TakeSnapshot(config);
    for (const TPoint& p : {Point(5, 100), Point(160, 13), Point(200, 190)})
        EXPECT_EQ(ClientPixel(config, picture, p.X, p.Y),
                  background->Picture()->Bitmap()->Canvas()->Pixels(p.X, p.Y))
            << p.X << ", " << p.Y;
    TControl* edit = form_testing::FindControlByName(config, "Edit2");
    EXPECT_EQ(
        ClientPixel(config, picture, edit->Left() + edit->Width() - 6, edit->Top() + edit->Height() / 2),
        edit->Color());

    TForm* log = Create("Syslog");
    FillList(log, "lbLog", {"Logged in"});
    log->Show();
    picture = form_testing::TakeSnapshot(log);
    TControl* list = form_testing::FindControlByName(log, "lbLog");
    EXPECT_EQ(list->Color(), static_cast<TColor>(0x001F1B18));
    EXPECT_EQ(ClientPixel(log, picture, list->Left() + list->Width() / 2, list->Top() + list->Height() / 2),
              list->Color());
}

} // namespace
} // namespace setup_test
