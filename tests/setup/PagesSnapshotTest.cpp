// Pictures of every setup page filled from a recorder's config.ini, written under the build folder
// for a person to look at.
#include "tests/setup/PagesRig.h"

#include "setup/Alarm.h"
#include "setup/Camera.h"
#include "setup/Device.h"
#include "setup/Info.h"
#include "setup/Menu.h"
#include "setup/Multicast.h"
#include "setup/Network.h"
#include "setup/System.h"

#include <cstdlib>
#include <filesystem>

namespace setup_test {

namespace {

std::string PagePicture(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(std::getenv("HARBEK_BINARY")) / "snapshots/setup";
    std::filesystem::create_directories(folder);
    return (folder / ("page_" + name + ".png")).string();
}

void Picture(TForm* form, const std::string& name) {
    form_testing::ProcessEvents();
    const std::string path = PagePicture(name);
    form_testing::SaveFormSnapshot(form, path);
    EXPECT_GT(std::filesystem::file_size(path), 0u) << name;
}

} // namespace

using SetupPagePictures = PagesRig;

TEST_F(SetupPagePictures, EveryPageFilledFromTheRecordersFile) {
    OpenSetupMenu();
    ASSERT_TRUE(frmMenu->Visible());
    Picture(frmMenu, "menu");
    frmMenu->btnNetworkClick(frmMenu->btnNetwork);
    Picture(frmNetwork, "network");
    frmNetwork->btnMulticastClick(frmNetwork->btnMulticast);
    Picture(frmMulticast, "multicast");
    frmMulticast->btnCancelClick(frmMulticast->btnCancel);
    frmNetwork->btnOkClick(frmNetwork->btnOk);
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    Picture(frmSystem, "system");
    frmSystem->btnCancelClick(frmSystem->btnCancel);
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    Picture(frmDevice, "device");
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    Picture(frmCamera, "camera");
    frmCamera->btnCancelClick(frmCamera->btnCancel);
    frmDevice->btnAlarmClick(frmDevice->btnAlarm);
    frmAlarm->cmbCam->SetItemIndex(1);
    frmAlarm->cmbCamChange(frmAlarm->cmbCam);
    Picture(frmAlarm, "alarm");
    frmAlarm->btnCancelClick(frmAlarm->btnCancel);
    frmDevice->btnPrevClick(frmDevice->btnPrev);
    frmMenu->btnInfoClick(frmMenu->btnInfo);
    Picture(frmInfo, "info");
    EXPECT_EQ(frmInfo->Label4->Caption(), "HARBEK SIM");
}

} // namespace setup_test
