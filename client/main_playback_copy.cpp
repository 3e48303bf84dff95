// Copying the played stream: while a recording plays forward at normal speed, every frame the clock
// shows or plays goes into new recorded files under "Backup/", which are moved to a folder of the user's
// when the copy ends.
#include "client/main.h"

#include "formats/ByteOrder.h"

#include "controls/BmButton.h"
#include "playback/BackupMove.h"
#include "playback/Qelvidfile.h"

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/Dialogs.h"

#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The question before same-named files are replaced: a few of their names, and what No means.
std::string ReplaceQuestion(const TFrmMain& main, const std::vector<std::string>& names) {
    constexpr std::size_t kNamesShown = 5;
    std::string text = main.LoadLangString(60107) + "\n";
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        text += "  " + names[i] + "\n";
    if (names.size() > kNamesShown)
        text += "  " +
                Format(main.LoadLangString(60108).c_str(), static_cast<int>(names.size() - kNamesShown)) +
                "\n";
    return text + main.LoadLangString(60109);
}

} // namespace

void TFrmMain::BtnRecStartClick(TObject*) {
    if (PlaySpeed != 1 || PlayForward == 0 || LastTransportKey != kKeyPlay) {
        ShowMessageBox(LoadLangString(50394), LoadLangString(50991), 0);
        return;
    }
    StreamCopyRoot = ProgramFolder + "Backup/";
    if (!ForceDirectories(StreamCopyRoot)) {
        ShowMessageBox(LoadLangString(50395), LoadLangString(50396), 0);
        return;
    }
    StreamCopyWriter = std::make_unique<QelAvFileWriter>(StreamCopyRoot);
    StreamCopying = 1;
    BtnRecStart->Hide();
    BtnRecStop->SetVisible(true);
}

void TFrmMain::WriteStreamCopyFrame(const QelFrameRecord& record) {
    if (StreamCopying == 0 || !StreamCopyWriter) return;
    QelAvFrame frame;
    try {
        frame.info = QelFrameInfo::Decode(record.info.data(), record.info.size());
        const std::size_t pad1 = Pad32(frame.info.payloadLen1);
        const std::size_t pad2 = Pad32(frame.info.payloadLen2);
        // The ring's buffers hold the padded payloads as the file had them; a missing one stays zero.
        frame.payload.assign(pad1 + pad2, 0);
        if (record.payload1 && record.payloadLen1 == frame.info.payloadLen1)
            std::copy_n(record.payload1.get(), pad1, frame.payload.begin());
        if (record.payload2 && record.payloadLen2 == frame.info.payloadLen2)
            std::copy_n(record.payload2.get(), pad2,
                        frame.payload.begin() + static_cast<std::ptrdiff_t>(pad1));
        StreamCopyWriter->AddFrame(frame);
    } catch (const Exception&) {
        // A disk that fills up ends the copy; what was written stays, the user is told where.
        try {
            StreamCopyWriter->Finish(false);
        } catch (const Exception&) {
        }
        StreamCopyWriter.reset();
        StreamCopying = 0;
        BtnRecStop->Hide();
        BtnRecStart->SetVisible(true);
        ShowMessageBox(LoadLangString(50395), LoadLangString(50396), 0);
    }
}

int TFrmMain::MoveFiles(const std::string& source, const std::string& destination) {
    std::string folder = source;
    if (folder.size() >= 3 && folder.compare(folder.size() - 3, 3, "*.*") == 0)
        folder.resize(folder.size() - 3);
    std::error_code ec;
    if (!fs::is_directory(folder, ec) || !fs::is_directory(destination, ec)) return 1;
    if (fs::equivalent(folder, destination, ec)) return 0;
    // A folder inside the copies would be moved into itself, over and over.
    const BackupMovePlan plan = PlanBackupMove(folder, destination);
    if (plan.intoItself) return 1;
    bool replace = true;
    if (!plan.replaced.empty())
        replace = ShowMessageBox(ReplaceQuestion(*this, plan.replaced), LoadLangString(50396), 4) == mrYes;
    return MoveBackupEntries(folder, destination, replace) ? 0 : 1;
}

bool TFrmMain::FinishStreamCopyFile() {
    bool finished = true;
    try {
        if (StreamCopyWriter) StreamCopyWriter->Finish(false);
    } catch (const Exception&) {
        finished = false;
    }
    StreamCopyWriter.reset();
    StreamCopying = 0;
    return finished;
}

void TFrmMain::BtnRecStopClick(TObject*) {
    if (StreamCopying == 0) return;
    const bool finished = FinishStreamCopyFile();
    BtnPauseClick(this);
    StreamCopyTarget = ChooserStartFolder(TChooser::StreamCopy);
    TimerDialogPosition->SetEnabled(true);
    if (!finished) {
        ShowMessageBox(LoadLangString(50395), LoadLangString(50396), 0);
    } else if (SelectDirectory(LoadLangString(59827), "", StreamCopyTarget)) {
        RememberChosenFolder(TChooser::StreamCopy, StreamCopyTarget);
        SetEnabled(false);
        if (MoveFiles(StreamCopyRoot + "*.*", StreamCopyTarget) != 0)
            ShowMessageBox(LoadLangString(50395), LoadLangString(50396), 0);
    }
    SetEnabled(true);
    BtnRecStop->Hide();
    BtnRecStart->SetVisible(true);
    BtnPlayClick(this);
}
