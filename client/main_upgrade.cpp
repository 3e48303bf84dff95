// The firmware upgrade: the recorder checked, the image chosen and sent over the command connection,
// the recorder asked to install it, and the end of the installation.
#include "client/main.h"

#include "client/LinkNumbers.h"
#include "client/formupdatestat.h"

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/core/Threads.h"

#include <memory>
#include <optional>

namespace {

void Trace(const char* method, const std::string& message) {
    DebugTrace((std::string("TFrmMain::") + method).c_str(), message);
}

constexpr DWORD kUpgradeBlockBytes = 4096;
// untranslated: the firmware dialog's fixed filter
constexpr const char* kImageFilter = "System Image|*.BIN;*.TAR";
// The recorder gets a moment with the image before it is asked to install it.
constexpr int kInstallDelaySteps = 5;

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

void TFrmMain::PumpDelay(int count) {
    PumpFor(TActivity::Upgrade, Activities, static_cast<DWORD>(count) * 100);
}

void TFrmMain::BtnUpgradeClick(TObject*) {
    if (Activities.RefusesPresses()) return;
    if (CliSocket->State() != wsConnected) {
        ShowMessageBox(LoadLangString(59869), LoadLangString(59872), 0);
        return;
    }
    if (LoginOption == 1) {
        if (SendCommandAndWait(NETCMD_SYSINFO, 3, kReplyLimitMs) == 0) {
            EnableModeTabs(false);
            SetEnabled(true);
            AddDebugLine("TIME OUT:", NETCMD_SYSINFO);
            return;
        }
        if (ReplySlot == 2) {
            if (SendCommandAndWait(NETCMD_STATUS, 0, kReplyLimitMs) == 0) {
                EnableModeTabs(false);
                SetEnabled(true);
                AddDebugLine("TIME OUT:", NETCMD_STATUS);
                return;
            }
            if (ReplySlot == 1) {
                AddDebugLine("SUCCESS:", NETCMD_STATUS);
                if (RecorderStatus == 3) {
                    ShowMessageBox(LoadLangString(59868), LoadLangString(59859), 0);
                    SetEnabled(true);
                    return;
                }
            } else if (ReplySlot == 2) {
                SetEnabled(true);
                AddDebugLine("FAILED:", NETCMD_STATUS);
                return;
            }
        }
    }

    Sleep(100);
    TimerDialogPosition->SetEnabled(true);
    OpenDialog1->SetFilter(kImageFilter);
    if (!OpenDialog1->Execute()) return;
    const std::string path = OpenDialog1->FileName();
    if (ShowMessageBox(path, LoadLangString(59867), 1) != mrOk) return;

    // A missing, unreadable or empty image is refused before the recorder hears of it: an empty one
    // would be installed as if it were firmware.
    std::unique_ptr<TFileStream> image;
    std::int64_t size = 0;
    try {
        if (FileExists(path)) {
            image = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
            size = image->Size();
        }
    } catch (const Exception& e) {
        Trace("BtnUpgradeClick", e.Message);
        image.reset();
    }
    if (!image || size <= 0 || size > 0x7FFFFFFF) {
        ShowMessageBox(LoadLangString(59880) + "\n" + path, LoadLangString(59872), 0);
        return;
    }

    // The transfer's pumping must not send heartbeats between the image's bytes.
    const BYTE heartbeatWas = HeartbeatArmed;
    HeartbeatArmed = 0;
    Trace("BtnUpgradeClick", Format("About to send file:%s", path.c_str()));
    DisplayConnectionStatus(BaseName(path));
    Activities.Begin(TActivity::Upgrade);
    FrmUpdateStatus->Show();
    FrmUpdateStatus->ResetProgress();

    FrmUpdateStatus->ProgressTransfer->SetMaximumLevel(static_cast<int>(size));
    UploadAccepted = 0;
    SendNetPacketCommand(NETCMD_FILE, static_cast<DWORD>(size));
    // The image's own reply, not a late one to an earlier upload.
    const std::uint64_t upload = LastUpload();
    BYTE block[kUpgradeBlockBytes];
    std::int64_t total = 0;
    bool linkLost = false;
    for (;;) {
        int read = 0;
        try {
            read = image->Read(block, static_cast<int>(kUpgradeBlockBytes));
        } catch (const Exception& e) {
            Trace("BtnUpgradeClick", e.Message);
            read = 0;
        }
        if (read <= 0) break;
        const int sent = SocketSend(block, read);
        if (!UpgradeRunning()) {
            // A way out has ended it meanwhile. A link lost mid-transfer was not told (the heartbeat is
            // quiet while the image goes); the user's own disconnect needs no telling.
            if (DisconnectRequested == 0) ShowMessageBox(LoadLangString(59879), LoadLangString(59878), 0);
            return;
        }
        if (sent < 0 || CliSocket->State() != wsConnected) {
            linkLost = true;
            break;
        }
        total += sent;
        if (sent < read) Trace("BtnUpgradeClick", Format("Error: only %d/%d bytes sent!", sent, read));
        FrmUpdateStatus->ProgressTransfer->SetCurrentLevel(static_cast<int>(total));
        PumpFor(TActivity::Upgrade, Activities, 0);
        if (read < static_cast<int>(kUpgradeBlockBytes)) break;
    }
    image.reset();
    if (!linkLost && total < size) {
        // The file shrank or failed while it was read: the recorder waits for bytes that never come.
        Trace("BtnUpgradeClick", Format("Error: only %lld/%lld bytes read!", static_cast<long long>(total),
                                        static_cast<long long>(size)));
        Activities.End(TActivity::Upgrade);
        FrmUpdateStatus->Close();
        HeartbeatArmed = 0;
        CloseLinkSockets();
        ShowMessageBox(LoadLangString(59880) + "\n" + path, LoadLangString(59872), 0);
        return;
    }
    if (!linkLost) {
        HeartbeatArmed = PasswordOnlyLogin == 0 ? heartbeatWas : 0;
        PumpDelay(kInstallDelaySteps);
        if (!UpgradeRunning()) return;
        linkLost = CliSocket->State() != wsConnected;
    }
    if (linkLost) {
        Activities.End(TActivity::Upgrade);
        // The closing saw the heartbeat disarmed and said nothing; the user learns it here.
        HeartbeatArmed = 0;
        FrmUpdateStatus->Close();
        ShowMessageBox(LoadLangString(59879), LoadLangString(59878), 0);
        return;
    }
    if (const std::optional<int> reply = UploadReply(upload); reply && *reply != 1) {
        Trace("BtnUpgradeClick", Format("upload refused: %d", *reply));
        Activities.End(TActivity::Upgrade);
        FrmUpdateStatus->Close();
        ShowMessageBox(LoadLangString(59868), LoadLangString(59872), 0);
        return;
    }

    Trace("BtnUpgradeClick", "Calling MSG_FM_NETWORK_SYSTEM_UPGRADE");
    SendNetQelMsg(MSG_FM_NETWORK_SYSTEM_UPGRADE, 0, 0, 0, 0, 0, std::string());
}

void TFrmMain::UpgradeFinished(bool ours) {
    // The recorder restarts and drops the link: that is no loss.
    HeartbeatArmed = 0;
    HeartbeatMisses = 0;
    // A recorder that reports an installation this client did not start only restarts.
    if (!ours) return;
    FrmUpdateStatus->Close();
    DisplayConnectionStatus(LoadLangString(59833));
    ShowMessageBox(LoadLangString(59873), LoadLangString(59872), 0);
    SetControlsEnabled(true);
    BtnDisconnect->Hide();
    BtnConnect->SetVisible(true);
    Label2->SetCaption("");
    Label3->SetCaption("");
    CloseLinkSockets();
}

void TFrmMain::UpgradeRefused(DWORD errcode) {
    Trace("UpgradeRefused", Format("errcode %u", errcode));
    if (!UpgradeRunning()) return;
    Activities.End(TActivity::Upgrade);
    FrmUpdateStatus->Close();
    ShowMessageBox(LoadLangString(59868), LoadLangString(59872), 0);
}
