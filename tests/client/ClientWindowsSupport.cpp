#include "tests/client/ClientWindowsSupport.h"

#include "platform/vcl/FormReader.h"
#include "platform/win/Modules.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
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
    savedRoot_ = FormResourceRoot();
    SetFormResourceRoot(BuildResources());
    Application->Initialize();
    // A desktop of a known size, larger than the offscreen one.
    Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));
}

void ClientWindows::TearDown() {
    Screen->SetTestGeometry(TRect{}, TRect{});
    form_testing::ResetApplication();
    FrmMain = nullptr;
    FrmLog = nullptr;
    FrmUpdateStatus = nullptr;
    frmAboutDlg = nullptr;
    FrmWait = nullptr;
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
