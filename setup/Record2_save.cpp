// OK and CANCEL of the recording page: the table into config.ini, the schedule window's edits made final
// and sent to the recorder, or dropped.
#include "setup/Record2.h"

#include "client/LinkWait.h"
#include "client/Wait.h"
#include "client/main.h"
#include "setup/Menu.h"
#include "setup/PageSupport.h"
#include "setup/SetupUpload.h"

#include "platform/core/FileUtils.h"

using namespace setup_pages;

namespace {

constexpr DWORD kScheduleReplyMs = 4000;

struct TScheduleFile {
    const char* name;
    DWORD kind;
    DWORD modifiedBit;
};
// holiday.ini first: the recorder reads the schedule with its holidays.
constexpr TScheduleFile kScheduleFiles[] = {{"holiday.ini", 6, 1}, {"schedule.dat", 3, 2}};

} // namespace

bool TfrmRecord2::SendScheduleFiles() {
    const std::string folder = SetupFolder();
    for (const TScheduleFile& file : kScheduleFiles) {
        // One after the other, each with its own reply: a late reply to the first is not the second's.
        const TUploadEnd end = SendSetupFile(file.name, file.kind, kScheduleReplyMs);
        switch (end) {
        case TUploadEnd::Accepted:
            // The recorder has it: the word tells APPLY so, and CANCEL has nothing left to take back.
            Modified |= file.modifiedBit;
            DeleteFile(folder + "temp_" + file.name);
            break;
        case TUploadEnd::NoFile:
            // A file that is not here is not announced.
            break;
        case TUploadEnd::Terminated:
        case TUploadEnd::Ended:
            return false;
        default:
            if (FrmWait != nullptr) FrmWait->Close();
            ReportUploadEnd(this, end, LangText(60113));
            return false;
        }
    }
    for (const TScheduleFile& file : kScheduleFiles)
        DeleteFile(folder + "temp_" + file.name);
    return true;
}

void TfrmRecord2::EmptyPageLists() {
    for (TComboBox* list : {cmbImage, cmbImage_e, cmbCur_group, cmbPre_rec_e, cmbDuration_e})
        list->Clear();
}

void TfrmRecord2::btnOkClick(TObject*) {
    // A second OK while the first one's wait pumps messages would send everything twice.
    if (FrmMain != nullptr && FrmMain->Activities.RefusesPresses()) return;
    if (Config.Loaded())
        SaveRecordChanges(*Config.Ini, kConfigSection, Loaded, LoadedGroup, PageSettings(),
                          cmbCur_group->ItemIndex());
    // What is written is what a further OK compares with.
    Loaded = PageSettings();
    LoadedGroup = cmbCur_group->ItemIndex();
    // The schedule window's copies stay until the recorder has the files, so CANCEL can still drop them.
    if (!SetupLinkUp()) {
        SetupBoxOver(this, LangText(59869), LangText(59872), 0);
        return;
    }
    if (FrmWait != nullptr) FrmWait->Show();
    if (!SendScheduleFiles()) return;
    Modified |= 3;
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

// The modified word keeps what an earlier OK of this pass sent: those files are on the recorder.
void TfrmRecord2::btnCancelClick(TObject*) {
    // Refused while OK waits for the recorder, as a second OK is: it would restore files being sent.
    if (FrmMain != nullptr && FrmMain->Activities.RefusesPresses()) return;
    TakeBack();
}

void TfrmRecord2::TakeBack() {
    RestoreCopy("temp_holiday.ini", "holiday.ini");
    RestoreCopy("temp_schedule.dat", "schedule.dat");
    EmptyPageLists();
    if (frmMenu != nullptr) {
        frmMenu->SetEnabled(true);
        frmMenu->Show();
    }
    Close();
}
