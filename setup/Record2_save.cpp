// OK and CANCEL of the recording page: the table into config.ini, the schedule window's edits made final
// and sent to the recorder, or dropped.
#include "setup/Record2.h"

#include "client/LinkWait.h"
#include "client/Wait.h"
#include "client/main.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"

#include "net/WSocket.h"
#include "platform/core/FileUtils.h"

#include <fstream>

using namespace setup_pages;

namespace {

constexpr DWORD kHolidayReplyMs = 4000;
// holiday.ini holds at most a key per day and schedule.dat 196 bytes; anything far larger is no setup
// file and is not sent.
constexpr std::streamoff kMaxSetupFileBytes = 1 << 20;

bool ReadSetupFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxSetupFileBytes) return false;
    in.seekg(0);
    bytes.assign(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    return in.gcount() == size;
}

} // namespace

bool TfrmRecord2::UploadSetupFile(const std::string& name, DWORD kind) {
    std::string bytes;
    if (FrmMain == nullptr || !ReadSetupFile(SetupFolder() + name, bytes)) return false;
    FrmMain->UploadAccepted = 0;
    FrmMain->SendFileUpload(kind, bytes);
    return true;
}

bool TfrmRecord2::WaitForUpload() {
    const TWaitEnd end = PumpUntil([] { return FrmMain->UploadAccepted != 0; }, kHolidayReplyMs);
    // A recorder that does not answer leaves the page as it was, without the wait window.
    if (end == TWaitEnd::TimedOut && FrmWait != nullptr) FrmWait->Close();
    return end == TWaitEnd::Done;
}

void TfrmRecord2::EmptyPageLists() {
    for (TComboBox* list : {cmbImage, cmbImage_e, cmbCur_group, cmbPre_rec_e, cmbDuration_e})
        list->Clear();
}

void TfrmRecord2::btnOkClick(TObject*) {
    if (uploading_) return;
    if (Config.Loaded()) {
        // A file without any section gets the recorder's own.
        const std::string section = Config.Sections->Count() > 0 ? Config.SectionName(0) : "config";
        SaveRecordKeys(*Config.Ini, section, PageSettings(), cmbCur_group->ItemIndex());
    }
    const std::string folder = SetupFolder();
    DeleteFile(folder + "temp_holiday.ini");
    DeleteFile(folder + "temp_schedule.dat");
    if (FrmMain == nullptr || FrmMain->CliSocket == nullptr || FrmMain->CliSocket->State() != wsConnected) {
        SetupBoxOver(this, LangText(59869), LangText(59872), 0);
        return;
    }
    uploading_ = true;
    const bool holidaySent = UploadSetupFile("holiday.ini", 6);
    if (FrmWait != nullptr) FrmWait->Show();
    // Only an upload that went out has a reply to wait for.
    const bool answered = !holidaySent || WaitForUpload();
    uploading_ = false;
    if (!answered) return;
    UploadSetupFile("schedule.dat", 3);
    Modified = 0;
    Modified |= 1;
    Modified |= 2;
    if (FrmWait != nullptr) FrmWait->Close();
    EmptyPageLists();
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Close();
}

void TfrmRecord2::RestoreCopy(const std::string& copy, const std::string& file) {
    const std::string folder = SetupFolder();
    if (!FileExists(folder + copy)) return;
    // The edited file stays until its copy is safely back in place.
    if (CopyFile(folder + copy, folder + file, FALSE)) DeleteFile(folder + copy);
}

void TfrmRecord2::btnCancelClick(TObject*) {
    RestoreCopy("temp_holiday.ini", "holiday.ini");
    RestoreCopy("temp_schedule.dat", "schedule.dat");
    EmptyPageLists();
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Modified = 0;
    Close();
}
