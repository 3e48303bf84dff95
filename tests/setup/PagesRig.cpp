#include "tests/setup/PagesRig.h"

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
#include "setup/Syslog.h"
#include "setup/System.h"
#include "setup/Upload.h"
#include "setup/Vidstd.h"

#include "controls/BmButton.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/mount.h>
#include <unistd.h>

namespace setup_test {

SmallDisk::SmallDisk(std::string folder) : folder_(std::move(folder)) {
    if (::geteuid() != 0)
        why_ = "mounting a small disk needs root";
    else if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") != 0)
        why_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
}

SmallDisk::~SmallDisk() {
    if (Mounted()) ::umount2(folder_.c_str(), MNT_DETACH);
}

void SmallDisk::Fill() {
    std::ofstream filler(folder_ + "/.filler", std::ios::binary);
    const std::string block(4096, 'F');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
}

void SmallDisk::Free() {
    std::remove((folder_ + "/.filler").c_str());
}

void SmallDisk::ReadOnly(bool on) {
    ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_NOSUID | MS_NODEV | (on ? MS_RDONLY : 0),
            "size=256k");
}

std::string RecorderConfigIni() {
    return "; written by the recorder\r\n"
           "[config]\r\n"
           "1_1_1=2\r\n"
           "2_1_1=3\r\n"
           "3_2_4=720\r\n"
           "27_1_1=BUS 12\r\n"
           "29_1_1=16820416\r\n"
           "30_1_1=16777215\r\n"
           "31_1_1=4261456064\r\n"
           "40_1_1=5000\r\n"
           "45_1_1=2\r\n"
           "47_1_1=3\r\n"
           "52_1_1=6000\r\n"
           "62_1_1=1\r\n"
           "63_1_1=4\r\n"
           "66_1_1=10\r\n"
           "21_1_2=1\r\n"
           "23_1_4=1\r\n"
           "25_1_1=70\r\n"
           "24_1_1=5\r\n"
           "34_1_1=FRONT\r\n"
           "34_1_2=REAR\r\n"
           "34_1_3=DOOR\r\n"
           "34_1_4=CABIN\r\n"
           "70_3_1=some recording value\r\n";
}

void PagesRig::SetUp() {
    LoginRig::SetUp();
    Application->CreateForm(frmMenu);
    Application->CreateForm(frmDevice);
    Application->CreateForm(frmSystem);
    Application->CreateForm(frmMulticast);
    Application->CreateForm(frmNetwork);
    Application->CreateForm(frmCamera);
    Application->CreateForm(frmAlarm);
    Application->CreateForm(frmRecord2);
    Application->CreateForm(frmVidstd);
    Application->CreateForm(frmSaveFolder);
    Application->CreateForm(frmCreateFolder);
    Application->CreateForm(frmUpload);
    Application->CreateForm(frmInfo);
    Application->CreateForm(frmSysLog);
    Application->CreateForm(frmConfig);
    storeDir_ = std::make_unique<testing_support::TempDir>();
    store_ = storeDir_->Str();
}

recsim::RecSim& PagesRig::StartRecorder(const std::string& configIni, recsim::RecSimOptions options) {
    std::ofstream(store_ + "config.ini", std::ios::binary) << configIni;
    options.store = store_;
    return StartSim(options);
}

recsim::RecSim& PagesRig::OpenSetupMenu(const std::string& configIni) {
    recsim::RecSim& sim = StartRecorder(configIni);
    LogIn(sim);
    // Through the button's own event, as a click reaches it.
    EXPECT_TRUE(FrmMain->BtnSetup->OnClick.Assigned());
    FrmMain->BtnSetup->OnClick(FrmMain->BtnSetup);
    return sim;
}

std::string PagesRig::ProgramFile(const std::string& name) const {
    std::ifstream in(HomeFile(name), std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void PagesRig::WriteProgramFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(HomeFile(name), std::ios::binary) << bytes;
}

std::string PagesRig::WithKey(const std::string& ini, const std::string& key,
                              const std::optional<std::string>& value) {
    std::string out;
    std::size_t lastKeyEnd = std::string::npos;
    bool replaced = false;
    std::size_t pos = 0;
    while (pos < ini.size()) {
        std::size_t end = ini.find('\n', pos);
        end = end == std::string::npos ? ini.size() : end + 1;
        const std::string line = ini.substr(pos, end - pos);
        if (line.rfind(key + "=", 0) == 0) {
            replaced = true;
            if (value) out += key + "=" + *value + "\r\n";
        } else {
            out += line;
        }
        if (line.find('=') != std::string::npos) lastKeyEnd = out.size();
        pos = end;
    }
    if (!replaced && value && lastKeyEnd != std::string::npos)
        out.insert(lastKeyEnd, key + "=" + *value + "\r\n");
    return out;
}

void PagesRig::AnswerYes() {
    whileBoxUp = [](TForm& box) { box.SetModalResult(mrYes); };
}

} // namespace setup_test
