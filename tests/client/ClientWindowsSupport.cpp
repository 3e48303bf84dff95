#include "tests/client/ClientWindowsSupport.h"

#include "client/AudioLibrary.h"
#include "playback/Backup.h"
#include "playback/FileList.h"
#include "playback/FileTable.h"
#include "playback/HtmlMap.h"
#include "playback/LocalSearch.h"
#include "playback/Print.h"
#include "playback/SearchDevice.h"
#include "playback/download.h"
#include "recdb/Calendar.h"
#include "recdb/HourTable.h"
#include "recdb/Loglist.h"
#include "recdb/MinTable.h"
#include "recdb/Search.h"
#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Config.h"
#include "setup/CreateFolder.h"
#include "setup/Device.h"
#include "setup/Info.h"
#include "setup/Menu.h"
#include "setup/Multicast.h"
#include "setup/Network.h"
#include "setup/Record2.h"
#include "setup/SaveFolder.h"
#include "setup/Schedule.h"
#include "setup/Syslog.h"
#include "setup/System.h"
#include "setup/TimeTable.h"
#include "setup/Upload.h"
#include "setup/Vidstd.h"

#include "platform/audio/WaveOut.h"
#include "platform/vcl/FormReader.h"
#include "platform/win/Modules.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

namespace client_tests {

namespace {

std::atomic<bool> gAudioPresent{true};

void RegisterAudioResolver() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterModuleResolver([](const std::string& path) -> std::optional<TBuiltinModule> {
            if (!gAudioPresent.load() || path != "g726lib.dll") return std::nullopt;
            return TBuiltinModule{"g726lib.dll", {}, nullptr};
        });
    });
}

} // namespace

void SetAudioLibraryPresent(bool present) {
    gAudioPresent.store(present);
}

void UseBuiltInSoundWithoutDevice(bool on) {
    if (on) RegisterAudioLibrary();
    wave_out_testing::SetDeviceName(on ? "harbek_no_such_device" : "");
}

void ForgetHarbekWindows() {
    FrmMain = nullptr;
    FrmLog = nullptr;
    FrmUpdateStatus = nullptr;
    frmAboutDlg = nullptr;
    frmMenu = nullptr;
    frmDevice = nullptr;
    frmSystem = nullptr;
    frmMulticast = nullptr;
    frmNetwork = nullptr;
    frmCamera = nullptr;
    frmAlarm = nullptr;
    frmRecord2 = nullptr;
    frmCalendar = nullptr;
    frmHourTable = nullptr;
    frmMinTable = nullptr;
    FrmWait = nullptr;
    frmVidstd = nullptr;
    frmSaveFolder = nullptr;
    frmCreateFolder = nullptr;
    frmUpload = nullptr;
    frmLoglist = nullptr;
    frmSchedule = nullptr;
    frmPrint = nullptr;
    frmTimeTable = nullptr;
    frmConfig = nullptr;
    frmSysLog = nullptr;
    frmFileList = nullptr;
    frmInfo = nullptr;
    frmDownload = nullptr;
    FrmSerDevice = nullptr;
    FrmFileTable = nullptr;
    frmSearch = nullptr;
    frmBackup = nullptr;
    frmLocalSearch = nullptr;
    FrmHtmlMap = nullptr;
}

int InkIn(const form_testing::TSnapshot& picture, TForm* form, TControl* control, int inset) {
    // The picture starts at the form's outer corner; the client area at its client origin.
    const TPoint origin = form->ClientOrigin();
    const TPoint at = control->ClientToScreen(Point(0, 0));
    const int left = at.X - origin.X + (origin.X - form->Left()) + inset;
    const int top = at.Y - origin.Y + (origin.Y - form->Top()) + inset;
    const int right = std::min(left + control->Width() - 2 * inset, picture.Width);
    const int bottom = std::min(top + control->Height() - 2 * inset, picture.Height);
    std::map<TColor, int> colours;
    int pixels = 0;
    for (int y = std::max(top, 0); y < bottom; ++y)
        for (int x = std::max(left, 0); x < right; ++x) {
            ++colours[picture.At(x, y)];
            ++pixels;
        }
    int most = 0;
    for (const auto& [colour, count] : colours)
        most = std::max(most, count);
    return pixels - most;
}

std::string ClientWindows::BuildResources() {
    return std::string(std::getenv("HARBEK_BINARY")) + "/client/resources";
}

std::string ClientWindows::SnapshotPath(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(std::getenv("HARBEK_BINARY")) / "snapshots/client";
    std::filesystem::create_directories(folder);
    return (folder / (name + ".png")).string();
}

void ClientWindows::SetUp() {
    RegisterAudioResolver();
    SetAudioLibraryPresent(true);
    home_ = std::make_unique<testing_support::TempDir>();
    scratch_ = std::make_unique<testing_support::TempDir>();
    env_.push_back(std::make_unique<testing_support::ScopedEnv>("HARBEK_HOME", home_->Str().c_str()));
    env_.push_back(std::make_unique<testing_support::ScopedEnv>("HARBEK_REGISTRY",
                                                                scratch_->File("registry.ini").c_str()));
    env_.push_back(std::make_unique<testing_support::ScopedEnv>("HARBEK_LANGID", "1033"));
    // The user's folders (where the choosers start) are the test's own.
    env_.push_back(std::make_unique<testing_support::ScopedEnv>("HOME", home_->Path().c_str()));
    env_.push_back(
        std::make_unique<testing_support::ScopedEnv>("XDG_CONFIG_HOME", scratch_->File("config").c_str()));
    savedRoot_ = FormResourceRoot();
    SetFormResourceRoot(BuildResources());
    Application->Initialize();
    // A desktop of a known size, larger than the offscreen one.
    Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));
}

void ClientWindows::TearDown() {
    Screen->SetTestGeometry(TRect{}, TRect{});
    form_testing::ResetApplication();
    ForgetHarbekWindows();
    SetFormResourceRoot(savedRoot_);
    while (!env_.empty())
        env_.pop_back();
    SetAudioLibraryPresent(true);
}

void ClientWindows::CreateClientWindows() {
    Application->CreateForm(FrmMain);
    Application->CreateForm(FrmLog);
    Application->CreateForm(FrmUpdateStatus);
    Application->CreateForm(frmAboutDlg);
    Application->CreateForm(FrmWait);
}

void ClientWindows::StartMain() {
    FrmMain->Show();
    form_testing::ProcessEvents();
}

void ClientWindows::SetLanguageId(const char* id) {
    env_.push_back(std::make_unique<testing_support::ScopedEnv>("HARBEK_LANGID", id));
}

std::string ClientWindows::ResourceRootWithoutLanguages() {
    const std::filesystem::path root = scratch_->Path() / "resources";
    std::filesystem::create_directories(root);
    for (const char* folder : {"forms", "skins"})
        std::filesystem::create_directory_symlink(std::filesystem::path(BuildResources()) / folder,
                                                  root / folder);
    return root.string();
}

} // namespace client_tests
