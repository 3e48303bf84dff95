#include "tests/setup/SetupWindows.h"

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

#include <cstdlib>
#include <filesystem>

namespace setup_test {

namespace {

template <class T>
SetupWindow Window(const char* unit) {
    return SetupWindow{unit, [](TComponent* owner) -> TForm* { return new T(owner); }};
}

// The controls of the definition: the parts a composite control makes for itself are its own.
void Collect(TForm* form, TWinControl* parent, std::vector<TControl*>& out) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (control->Owner() != form) continue;
        out.push_back(control);
        if (auto* win = dynamic_cast<TWinControl*>(control)) Collect(form, win, out);
    }
}

} // namespace

const std::vector<SetupWindow>& SetupWindows() {
    static const std::vector<SetupWindow> windows = {
        Window<TfrmMenu>("Menu"),
        Window<TfrmDevice>("Device"),
        Window<TfrmSystem>("System"),
        Window<TfrmMulticast>("Multicast"),
        Window<TfrmNetwork>("Network"),
        Window<TfrmCamera>("Camera"),
        Window<TfrmAlarm>("Alarm"),
        Window<TfrmRecord2>("Record2"),
        Window<TfrmVidstd>("Vidstd"),
        Window<TfrmSaveFolder>("SaveFolder"),
        Window<TfrmCreateFolder>("CreateFolder"),
        Window<TfrmUpload>("Upload"),
        Window<TfrmSchedule>("Schedule"),
        Window<TfrmTimeTable>("TimeTable"),
        Window<TfrmConfig>("Config"),
        Window<TfrmSysLog>("Syslog"),
        Window<TfrmInfo>("Info"),
    };
    return windows;
}

std::string ResourceRoot() {
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::string staged = std::string(binary ? binary : ".") + "/client/resources";
    if (std::filesystem::exists(staged + "/forms")) return staged;
    const char* source = std::getenv("HARBEK_SOURCE");
    return std::string(source ? source : ".") + "/resources";
}

std::string SnapshotFolder() {
    const char* binary = std::getenv("HARBEK_BINARY");
    const std::string folder = std::string(binary ? binary : ".") + "/snapshots/setup";
    std::filesystem::create_directories(folder);
    return folder;
}

void SetupWindowTest::SetUp() {
    previousRoot_ = FormResourceRoot();
    SetFormResourceRoot(ResourceRoot());
}

void SetupWindowTest::TearDown() {
    form_testing::ResetApplication();
    SetFormResourceRoot(previousRoot_);
}

TForm* SetupWindowTest::Create(const std::string& unit) {
    for (const SetupWindow& w : SetupWindows())
        if (w.unit == unit) return w.create(Application);
    ADD_FAILURE() << "no setup window " << unit;
    return nullptr;
}

std::vector<TControl*> ControlsOf(TForm* form) {
    std::vector<TControl*> out;
    Collect(form, form, out);
    return out;
}

} // namespace setup_test
