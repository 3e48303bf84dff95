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

#include "platform/vcl/StdCtrls.h"

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

// The page's picture for a person to look at; the control must show `text`, taken from the recorder's
// file, and the picture must show it there (more than a text cursor would). Returns what it showed.
int Picture(TForm* form, const std::string& name, TControl* control = nullptr, const std::string& text = "") {
    form_testing::ProcessEvents();
    form_testing::SaveFormSnapshot(form, PagePicture(name));
    if (control == nullptr) return 0;
    const auto* edit = dynamic_cast<TEdit*>(control);
    EXPECT_EQ(edit != nullptr ? edit->Text() : control->Caption(), text) << name;
    const int ink = client_tests::InkIn(form_testing::TakeSnapshot(form), form, control, 2);
    EXPECT_GT(ink, 60) << name;
    return ink;
}

} // namespace

using SetupPagePictures = PagesRig;

TEST_F(SetupPagePictures, PagesShowTheRecordersFile) {
    OpenSetupMenu();
    ASSERT_TRUE(frmMenu->Visible());
    Picture(frmMenu, "menu");
    frmMenu->btnNetworkClick(frmMenu->btnNetwork);
    Picture(frmNetwork, "network", frmNetwork->lbPort, "5000");
    frmNetwork->btnMulticastClick(frmNetwork->btnMulticast);
    Picture(frmMulticast, "multicast", frmMulticast->edtPort, "6000");
    frmMulticast->btnCancelClick(frmMulticast->btnCancel);
    frmNetwork->btnOkClick(frmNetwork->btnOk);
    frmMenu->btnSystemClick(frmMenu->btnSystem);
    const int title = Picture(frmSystem, "system", frmSystem->edtTitle, "BUS 12");
    // The measure reads the text: an empty title leaves at most the text cursor in its field.
    frmSystem->edtTitle->SetText("");
    form_testing::ProcessEvents();
    EXPECT_LT(client_tests::InkIn(form_testing::TakeSnapshot(frmSystem), frmSystem, frmSystem->edtTitle, 2),
              title / 4);
    frmSystem->btnCancelClick(frmSystem->btnCancel);
    frmMenu->btnDeviceClick(frmMenu->btnDevice);
    Picture(frmDevice, "device");
    frmDevice->btnCameraClick(frmDevice->btnCamera);
    Picture(frmCamera, "camera", frmCamera->edtTitle, "FRONT");
    frmCamera->btnCancelClick(frmCamera->btnCancel);
    frmDevice->btnAlarmClick(frmDevice->btnAlarm);
    frmAlarm->cmbCam->SetItemIndex(1);
    frmAlarm->cmbCamChange(frmAlarm->cmbCam);
    Picture(frmAlarm, "alarm");
    EXPECT_TRUE(frmAlarm->rbtClose->Checked()) << "camera 2 is NORMAL CLOSE in the file";
    frmAlarm->btnCancelClick(frmAlarm->btnCancel);
    frmDevice->btnPrevClick(frmDevice->btnPrev);
    frmMenu->btnInfoClick(frmMenu->btnInfo);
    Picture(frmInfo, "info", frmInfo->Label4, "HARBEK SIM");
}

} // namespace setup_test
