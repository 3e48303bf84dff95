#include "playback/FileList.h"

#include "client/LinkWait.h"

#include "client/main.h"
#include "playback/FrameIndexScan.h"
#include "playback/Qelvidfile.h"

#include "formats/QelFrameIndex.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/WinUser.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

TFormVar<TfrmFileList> frmFileList;

namespace {

// Recordings carry their first frame's time to the second in their names.
constexpr std::size_t kRecordingNameLength = 14;

int Box(int textId, const std::string& extra = {}) {
    if (FrmMain == nullptr) return -1;
    std::string text = FrmMain->LoadLangString(textId);
    if (!extra.empty()) text += "\n" + extra;
    return FrmMain->ShowMessageBox(text, FrmMain->LoadLangString(59886), 0);
}

} // namespace

TfrmFileList::TfrmFileList(TComponent* owner) : TForm(owner) {
    LoadDefinition("FileList", Bindings());
}

const TFormBindings& TfrmFileList::Bindings() {
    static const TFormBindings bindings =
        TFormBindings()
            .AddField("ImgFrame1", &TfrmFileList::ImgFrame1)
            .AddField("BtnMinimize", &TfrmFileList::BtnMinimize)
            .AddField("BtnClose", &TfrmFileList::BtnClose)
            .AddField("lbFileList", &TfrmFileList::lbFileList)
            .AddField("ListBox2", &TfrmFileList::ListBox2)
            .AddMethod("FormShow", &TfrmFileList::FormShow)
            .AddMethod("BtnCloseClick", &TfrmFileList::BtnCloseClick)
            .AddMethod("BtnMinimizeClick", &TfrmFileList::BtnMinimizeClick)
            .AddMethod("ImgFrame1MouseDown", &TfrmFileList::ImgFrame1MouseDown)
            .AddMethod("lbFileListClick", &TfrmFileList::lbFileListClick);
    return bindings;
}

bool TfrmFileList::EnsureIndex(const std::string& name) {
    const std::string beside = folder_ + name + ".fdx";
    const std::int64_t size = FileSize(beside);
    if (size >= 1) {
        // An index that is there but cannot be read is reported, and left as it is.
        std::FILE* f = std::fopen(beside.c_str(), "rb");
        if (f == nullptr) {
            Box(59880, beside);
            return true;
        }
        std::fclose(f);
        // One that disagrees with its recording is built anew, as a missing one is.
        std::vector<DWORD> offsets;
        try {
            offsets = ReadQelIndexFile(beside);
        } catch (const Exception&) {
            offsets.clear();
        }
        if (FrameOffsetsFit(folder_ + name, offsets)) return true;
    }
    const std::string temporary = (FrmMain != nullptr ? FrmMain->ProgramFolder : std::string()) + "Temporary";
    ::mkdir(temporary.c_str(), 0777);
    struct stat st {};
    if (::stat(temporary.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Box(59883, temporary);
        return false;
    }
    WriteFrameOffsets(temporary + "/" + name + ".fdx", ScanFrameOffsets(folder_ + name));
    return true;
}

bool TfrmFileList::LoadFolder(const std::string& folder, const std::string& mask) {
    namespace fs = std::filesystem;
    folder_ = folder;
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
    mask_ = mask;
    fileCount_ = 0;
    scanEnded_ = false;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (!it->is_regular_file(kindError)) continue;
        const std::string name = it->path().filename().string();
        if (MatchesFileMask(name, mask_)) names.push_back(name);
    }
    if (names.empty()) return false;
    // The scan order decides nothing: the list box sorts, and the play list follows the list box.
    std::sort(names.begin(), names.end());
    lbFileList->Items()->Clear();
    if (FrmMain != nullptr && FrmMain->VideoReader != nullptr) FrmMain->VideoReader->ClearList();
    // The window keeps drawing while a long folder is indexed; presses wait for the list.
    CActivities* record = FrmMain != nullptr ? &FrmMain->Activities : nullptr;
    const bool ours = record != nullptr && !record->Running(TActivity::LocalTask);
    if (ours) record->Begin(TActivity::LocalTask);
    struct TEnd {
        CActivities* record;
        bool ours;
        ~TEnd() {
            if (ours) record->End(TActivity::LocalTask);
        }
    } end{record, ours};
    // The play list holds kPlayListSize recordings: the first of the folder are listed, the rest told.
    int leftOut = 0;
    std::string firstLeftOut;
    try {
        for (const std::string& name : names) {
            if (record != nullptr && PumpFor(TActivity::LocalTask, *record, 0) != TWaitEnd::TimedOut) {
                scanEnded_ = true;
                return false;
            }
            if (FileSize(folder_ + name) <= 0 || name.size() < kRecordingNameLength) continue;
            if (fileCount_ == kPlayListSize) {
                if (leftOut++ == 0) firstLeftOut = name;
                continue;
            }
            ++fileCount_;
            lbFileList->Items()->Add(name);
            if (!EnsureIndex(name)) return false;
        }
    } catch (const Exception& e) {
        Application->ShowException(e);
        return false;
    }
    if (FrmMain != nullptr && FrmMain->VideoReader != nullptr)
        for (int i = 0; i < fileCount_; ++i)
            FrmMain->VideoReader->SetListItem(folder_ + lbFileList->Items()->Strings(i), i);
    if (leftOut > 0 && FrmMain != nullptr)
        FrmMain->ShowMessageBox(
            Format(FrmMain->LoadLangString(60602).c_str(), kPlayListSize, leftOut, firstLeftOut.c_str()),
            FrmMain->LoadLangString(59886), 0);
    return fileCount_ != 0;
}

void TfrmFileList::FormShow(TObject*) {
    SetClientWidth(ImgFrame1->Width());
    SetClientHeight(ImgFrame1->Height());
    if (FrmMain == nullptr) return;
    SetTop(FrmMain->Top());
    SetLeft(std::max(0, FrmMain->Left() - Width()));
}

void TfrmFileList::BtnCloseClick(TObject*) {
    Close();
    if (FrmMain != nullptr) FrmMain->FileListShown = 0;
}

void TfrmFileList::BtnMinimizeClick(TObject*) {
    SetWindowState(wsMinimized);
}

void TfrmFileList::ImgFrame1MouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}

void TfrmFileList::lbFileListClick(TObject*) {
    const int row = lbFileList->ItemIndex();
    if (row < 0 || FrmMain == nullptr || FrmMain->VideoReader == nullptr) return;
    // Opening a file inside a wait would stop the reader the wait is for; the row playing stays chosen.
    if (FrmMain->Activities.RefusesPresses()) {
        lbFileList->SetItemIndex(FrmMain->PlayListPos);
        return;
    }
    const std::string name = FrmMain->VideoReader->GetListItem(row);
    if (!name.empty() && FileExists(name)) {
        FrmMain->BtnStopClick(FrmMain->BtnStop);
        FrmMain->LastTransportKey = 1;
        selectedIndex_ = row;
        FrmMain->PlayListPos = row;
        FrmMain->CurrentIndexPos = 0;
        FrmMain->OpenPlaybackFile(name);
        return;
    }
    Box(59880, name);
    lbFileList->SetItemIndex(FrmMain->PlayListPos);
}
