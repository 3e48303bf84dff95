// setup.ini: read once at start-up, written back at log-in, at shut-down and when a recording opens;
// where each folder chooser was last answered.
#include "client/main.h"

#include "formats/SetupIni.h"

#include "platform/core/Debug.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileUtils.h"
#include "platform/core/IniFiles.h"
#include "platform/core/Streams.h"
#include "platform/win/UserFolders.h"

namespace {

constexpr const char* kSetupIni = "setup.ini";
constexpr const char* kFoldersSection = "folders";

const char* ChooserKey(TFrmMain::TChooser kind) {
    switch (kind) {
    case TFrmMain::TChooser::Backup:
        return "backup";
    case TFrmMain::TChooser::StreamCopy:
        return "streamcopy";
    case TFrmMain::TChooser::LogList:
        return "loglist";
    default:
        return "snapshot";
    }
}

} // namespace

void TFrmMain::LoadSetupIni() {
    const std::string path = ProgramFolder + kSetupIni;
    if (!FileExists(path)) {
        try {
            TFileStream created(path, fmCreate);
        } catch (const EStreamError&) {
            // Without a file the defaults apply; the first save tries again.
        }
    }
    SetupIniFile = std::make_unique<TIniFile>(path);

    TSetupSettings settings{VideoStandard, OverlayColor, LastLatitude, LastLongitude};
    ReadSetupSettings(*SetupIniFile, settings);
    VideoStandard = settings.VideoStandard;
    OverlayColor = settings.OverlayColor;
    LastLatitude = settings.Latitude;
    LastLongitude = settings.Longitude;
    if (OverlayColor == kOverlayRed)
        MenuItemCOLORRED->SetChecked(true);
    else if (OverlayColor == kOverlayYellow)
        MenuItemCOLORYELLOW->SetChecked(true);
    else
        MenuItemCOLORBLUE->SetChecked(true);

    ApplyOverlayColor(OverlayColor);
    ApplyVideoStandard(VideoStandard);
}

void TFrmMain::SaveSetupIni() {
    if (!SetupIniFile) SetupIniFile = std::make_unique<TIniFile>(ProgramFolder + kSetupIni);
    try {
        WriteSetupSettings(*SetupIniFile,
                           TSetupSettings{VideoStandard, OverlayColor, LastLatitude, LastLongitude});
    } catch (const Exception& e) {
        DebugTrace("TFrmMain::SaveSetupIni", e.Message);
    }
}

std::string TFrmMain::ChooserStartFolder(TChooser kind) {
    if (!SetupIniFile) SetupIniFile = std::make_unique<TIniFile>(ProgramFolder + kSetupIni);
    const std::string last = SetupIniFile->ReadString(kFoldersSection, ChooserKey(kind), "");
    if (!last.empty() && DirectoryExists(last)) return last;
    switch (kind) {
    case TChooser::Snapshot:
        return UserPicturesFolder();
    case TChooser::LogList:
        return UserDocumentsFolder();
    default:
        return UserVideosFolder();
    }
}

void TFrmMain::RememberChosenFolder(TChooser kind, const std::string& folder) {
    if (folder.empty()) return;
    if (!SetupIniFile) SetupIniFile = std::make_unique<TIniFile>(ProgramFolder + kSetupIni);
    try {
        SetupIniFile->WriteString(kFoldersSection, ChooserKey(kind), ExcludeTrailingPathDelimiter(folder));
    } catch (const Exception& e) {
        DebugTrace("TFrmMain::RememberChosenFolder", e.Message);
    }
}
