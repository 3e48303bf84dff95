#include "tests/setup/RecordRig.h"

#include "tools/recgen/SetupFiles.h"

#include "platform/vcl/FormTesting.h"

namespace setup_test {

std::string RecorderConfig() {
    return recgen::DefaultConfigIni(recgen::RecorderIdentity{});
}

std::string RecorderSchedule() {
    return recgen::DefaultScheduleDat();
}

std::string RecorderHolidays() {
    return recgen::DefaultHolidayIni();
}

void RecordRig::SetUp() {
    LoginRig::SetUp();
    Application->CreateForm(frmMenu);
    Application->CreateForm(frmVidstd);
    Application->CreateForm(frmRecord2);
    Application->CreateForm(frmCalendar);
    Application->CreateForm(frmSchedule);
    Application->CreateForm(frmTimeTable);
}

std::string RecordRig::Read(const std::string& name) const {
    return testing_support::ReadFileBytes(Folder(name));
}

void RecordRig::Write(const std::string& name, const std::string& bytes) const {
    testing_support::WriteFileBytes(Folder(name), bytes);
}

void RecordRig::StoreSetupFiles(const std::string& config) {
    Write("config.ini", config);
    Write("temp_config.ini", config);
    Write("schedule.dat", RecorderSchedule());
    Write("holiday.ini", RecorderHolidays());
}

void RecordRig::OpenPage(int cameras, int maxFrameRate) {
    frmMenu->MaxCamera = cameras;
    frmMenu->LoadConfigIni();
    frmRecord2->MaxFrameRate = maxFrameRate;
    frmRecord2->SetCurrentGroup(TfrmVidstd::GroupFromItem111(frmMenu->ReadConfigItem111()));
    frmRecord2->FillLists();
    frmRecord2->Show();
    // As the setup button leaves it: the page's uploads serve the pass, and the main window takes no input
    // (its shortcuts do not take the page's keys).
    FrmMain->Activities.Begin(TActivity::SetupPass);
    FrmMain->SetEnabled(false);
    form_testing::ProcessEvents();
}

void RecordRig::Pick(TComboBox* list, int index) {
    list->SetItemIndex(index);
    list->OnChange(list);
}

void RecordRig::ClickRadio(TRadioButton* radio) {
    form_testing::Click(radio);
}

std::string RecordRig::Shown(TComboBox* list) {
    const int i = list->ItemIndex();
    return i < 0 ? "" : list->Items()->Strings(i);
}

} // namespace setup_test

namespace setup_test {

std::string RecordRig::Picture(const std::string& name) {
    return SnapshotFolder() + "/" + name + ".png";
}

} // namespace setup_test
