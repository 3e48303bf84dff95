// The command receiver's window side: what each packet from the recorder changes on screen, the
// recorder's status and device events, the application messages and the multicast join.
#include "client/main.h"

#include "client/LinkNumbers.h"
#include "client/Placement.h"
#include "client/formupdatestat.h"

#include "controls/BmButton.h"
#include "controls/BmGauge.h"
#include "net/WSocket.h"
#include "playback/Backup.h"
#include "playback/FileList.h"
#include "playback/download.h"
#include "setup/Menu.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Threads.h"
#include "platform/vcl/WinUser.h"

#include <memory>

namespace {

void Trace(const char* method, const std::string& message) {
    DebugTrace((std::string("TFrmMain::") + method).c_str(), message);
}

// Caption of the disk-error box: a further error event shows nothing new while one is open.
constexpr const char* kDiskErrorCaption = "Disk_Error"; // untranslated: the box is found again by this title

BYTE DiskErrorPending = 0;

// The name a file announcement gave, or its kind's number when it named none.
std::string AnnouncedFileName(const TReceivedUnit& unit) {
    const std::string name = QelFileName(unit.FileKind, unit.Disk);
    return name.empty() ? std::to_string(unit.FileKind) : name;
}

struct TRecordStateLook {
    TColor color;
    BYTE remoteRecording;
};
// By record state 0..3: the "REC" label's colour, and whether the recorder records on our request.
constexpr TRecordStateLook kRecordStateLooks[] = {{0xFFFFFF, 0}, {0x008000, 0}, {0x0000FF, 1}, {0x00FFFF, 0}};

} // namespace

void TFrmMain::CliSocketDataAvailable(TObject* sender, WORD) {
    ReceiveCommandData(CliSocket, sender);
}

void TFrmMain::ExecuteMsgCommands(TObject*, const NetMsgPacket& packet) {
    switch (packet.Type()) {
    case NETMSG:
        Trace("ExecuteMsgCommands",
              Format("Type:NETMSG command %u retcommand %u arg0 %u arg1 %u arg2 %u result %u",
                     packet.Command(), packet.RetCommand(), packet.Arg0(), packet.Arg1(), packet.Arg2(),
                     packet.Result()));
        switch (packet.Command()) {
        case NETCMD_REPLY:
            ExecuteReply(packet);
            break;
        case NETCMD_FILE:
            Trace("ExecuteMsgCommands", Format("PACKET_CMD_FILE_RECEIVE Size:%u", packet.Arg0()));
            FileReceiveFailed = 0;
            break;
        case NETCMD_DEVICE_EVENT:
            ExecuteDeviceEvent(packet.Arg0(), packet.Arg1());
            break;
        default:
            break;
        }
        break;
    case QELMSG:
        ExecuteDeviceMessage(packet);
        break;
    default:
        Trace("ExecuteMsgCommands", "Error, Msg Type:Undefined!");
        break;
    }
}

void TFrmMain::ExecuteReply(const NetMsgPacket& reply) {
    // Slot, reply fields and the file request's acknowledgement; the acknowledgement pumps, so
    // whatever follows may be handled before the rest of this.
    NoteReply(reply);
    switch (reply.RetCommand()) {
    case NETCMD_PASSWORD:
        PasswordAnswered = 1;
        if (reply.Result() != 0) {
            PostMessage(Handle(), kMsgLoginAccepted, 0, 0);
            SetControlsEnabled(false);
            if (frmFileList != nullptr) frmFileList->Hide();
            FileListShown = 0;
        } else {
            PostMessage(Handle(), kMsgLoginRefused, 0, 0);
        }
        break;
    case NETCMD_CAMERA_INFO:
        VideoStandard = static_cast<int>(reply.Arg0());
        MaxCamera = static_cast<int>(reply.Arg1());
        if (frmMenu != nullptr) {
            frmMenu->VideoStandard = VideoStandard;
            frmMenu->MaxCamera = MaxCamera;
        }
        Trace("ExecuteMsgCommands", Format("received Max Camera %d ", MaxCamera));
        break;
    case NETCMD_STATUS:
        ShowRecorderStatus(reply.Arg0(), reply.Arg1());
        break;
    case NETCMD_BACKUP_SIZE:
        BackupSizeBytes = reply.Arg0();
        BackupSizeKB = BackupKilobytes(BackupSizeBytes);
        if (frmBackup != nullptr && frmBackup->AwaitsSize()) {
            frmBackup->SetBackupSize(BackupSizeKB);
            frmBackup->Show();
        }
        break;
    default:
        break;
    }
}

void TFrmMain::ShowRecordState(DWORD state, bool fromEvent) {
    if (state > 3) return;
    lbDebug->Items()->Add(RecordStateLogText(fromEvent, state)); // untranslated: the hidden debug list
    Label2->SetCaption("REC");                                   // untranslated: link-state word
    Label2->Font()->SetColor(kRecordStateLooks[state].color);
    RemoteRecording = kRecordStateLooks[state].remoteRecording;
    if (CurrentMode != kModeLive) return;
    if (state == RECSTATE_OFF) {
        BtnRemote_stop->Hide();
        BtnRemote_rec->SetVisible(true);
    } else if (state == RECSTATE_RECORDING) {
        BtnRemote_rec->Hide();
        BtnRemote_stop->SetVisible(true);
    }
}

void TFrmMain::ShowRecorderStatus(DWORD status, DWORD recordState) {
    RecorderStatus = static_cast<int>(status);
    RecordState = static_cast<int>(recordState);
    if (status == 1) {
        ShowRecordState(recordState, false);
        ForcedLocal = 0;
        return;
    }
    if (status != 2 && status != 3) return;
    // Inside a way out the road under way owns the window and the boxes.
    if (Activities.Ending()) return;
    if (CurrentMode == kModeLive || CurrentMode == kModeSearch) {
        ForcedLocal = 1;
        EndActivities(TWayOut::RecorderBusy);
    }
    DisplayConnectionStatus(LoadLangString(status == 2 ? 59838 : 59837));
    SetEnabled(true);
}

void TFrmMain::ExecuteDeviceEvent(DWORD kind, DWORD detail) {
    switch (kind) {
    case DEVEVENT_DISK_ERROR:
        ShowDiskError(detail);
        break;
    case DEVEVENT_RECORD_STATE:
        RecordState = static_cast<int>(detail);
        ShowRecordState(detail, true);
        break;
    case DEVEVENT_REMOTE_WORK:
        if (detail == 1 || detail == 2) {
            if (Activities.Ending()) break;
            if (CurrentMode == kModeLive || CurrentMode == kModeSearch) {
                ForcedLocal = 1;
                EndActivities(TWayOut::RemoteWorkEnded);
                // As the LOCAL tab leaves it when it completes.
                ForcedLocal = 0;
                ShowMessageBox(LoadLangString(59868), LoadLangString(59878), 0);
            }
            DisplayConnectionStatus(LoadLangString(detail == 1 ? 59838 : 59837));
            SetEnabled(true);
        } else if (detail == 3) {
            DisplayConnectionStatus(LoadLangString(59836));
            btnLive_m->SetEnabled(true);
            btnSer_m->SetEnabled(true);
            SetEnabled(true);
        }
        break;
    case DEVEVENT_BACKUP:
        if (detail == kBackupStreamEnd && StreamSaving()) {
            DrainAvStream();
            if (StreamSaving()) FinishBackupFiles(1);
        }
        break;
    default:
        break;
    }
}

void TFrmMain::ShowDiskError(DWORD detail) {
    static std::string text;
    if (detail == 0) {
        if (DiskErrorBox != nullptr) DiskErrorBox->SetModalResult(mrOk);
        return;
    }
    if (detail == 1) {
        DiskErrorPending = 1;
        text = "          EDISK_001HDD          "; // untranslated: the recorder's disk error code
    } else if (detail == 2) {
        DiskErrorPending = 1;
        text = "          EDISK_001CF          "; // untranslated: the recorder's disk error code
    }
    if (DiskErrorPending == 0 || DiskErrorBox != nullptr) return;
    std::unique_ptr<TForm> box(CreateMessageDialog(text, mtCustom, TMsgDlgButtons{mbOK}));
    box->SetCaption(kDiskErrorCaption);
    DiskErrorBox = box.get();
    ShowModalBox(box.get());
    DiskErrorBox = nullptr;
    DiskErrorPending = 0;
}

void TFrmMain::ExecuteDeviceMessage(const NetMsgPacket& message) {
    Trace("ExecuteMsgCommands", Format("Type:QELMSG msgid(%u) ret:%u errcode:%u", message.MsgId(),
                                       message.MsgRet(), message.ErrCode()));
    if (message.MsgId() == MSG_REPLY) {
        if (message.MsgRet() == MSG_FM_NETWORK_SYSTEM_UPGRADE) {
            if (message.ErrCode() == 0)
                DisplayConnectionStatus(LoadLangString(59834));
            else if (message.ErrCode() == 1) {
                // Over now: the recorder's restart may close the link before the message is handled,
                // and that is no loss.
                HeartbeatArmed = 0;
                const bool ours = UpgradeRunning();
                Activities.End(TActivity::Upgrade);
                PostMessage(Handle(), kMsgUpgradeFinished, ours ? 1 : 0, 0);
            } else {
                PostMessage(Handle(), kMsgUpgradeRefused, message.ErrCode(), 0);
            }
        } else if (message.MsgRet() == MSG_MULTICAST_GROUP && message.ErrCode() == 1) {
            PostMessage(Handle(), kMsgJoinMulticast, message.Param(1), static_cast<LPARAM>(message.Param(2)));
        }
        return;
    }
    if (message.MsgId() == MSG_FM_UPGRADE_PROGRESS) {
        const DWORD done = message.Param(1), total = message.Param(2);
        Trace("ExecuteMsgCommands", Format("Updated %u, total %u", done, total));
        if (FrmUpdateStatus == nullptr) return;
        if (!FrmUpdateStatus->Visible()) FrmUpdateStatus->Show();
        FrmUpdateStatus->ProgressUpdate->SetMaximumLevel(100);
        if (const std::optional<int> percent = ProgressPercent(done, total))
            FrmUpdateStatus->ProgressUpdate->SetCurrentLevel(*percent);
    }
}

void TFrmMain::FileProgress(const TReceivedUnit& unit) {
    if (!unit.Gauge || frmDownload == nullptr) return;
    if (!frmDownload->Visible()) {
        // The gauge shows the wait from here.
        CloseWait();
        frmDownload->Show();
    }
    frmDownload->ProgressTransfer->SetMaximumLevel(100);
    if (const std::optional<int> percent = ProgressPercent(unit.Received, unit.Size))
        frmDownload->ProgressTransfer->SetCurrentLevel(*percent);
}

void TFrmMain::FileFinished(const TReceivedUnit& unit) {
    FixTempIniSeparators();
    if (!unit.Gauge || frmDownload == nullptr) return;
    frmDownload->ProgressTransfer->SetCurrentLevel(0);
    frmDownload->Hide();
}

void TFrmMain::FileAbandoned(const TReceivedUnit& unit) {
    DisplayConnectionStatus(Format(LoadLangString(kFileNotWhole).c_str(), AnnouncedFileName(unit).c_str()));
}

void TFrmMain::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_USER:
        break;
    case kMsgUpgradeFinished:
        UpgradeFinished(message.WParam != 0);
        break;
    case kMsgUpgradeRefused:
        UpgradeRefused(static_cast<DWORD>(message.WParam));
        break;
    case kMsgLoginRefused:
        LoginRefused();
        break;
    case kMsgJoinMulticast:
        JoinMulticastGroup(static_cast<DWORD>(message.WParam), static_cast<DWORD>(message.LParam));
        break;
    case kMsgLoginAccepted:
        LoginAccepted();
        break;
    case WM_ENDSESSION:
        // Posted by the application for a termination signal (its number) or the desktop session's end.
        if (message.WParam != 0)
            EndProgram(message.LParam != 0 ? TEndRequest::Signal : TEndRequest::SessionEnd);
        break;
    default:
        TForm::Dispatch(message);
        return;
    }
    message.Result = 0;
}

void TFrmMain::JoinMulticastGroup(DWORD group, DWORD port, DWORD bufferBytes, DWORD pauseMs) {
    McastGroup = group;
    McastPort = port;
    if (port == 0) return;
    // A second announcement joins afresh instead of listening twice.
    if (SocketMcast->State() != wsClosed && SocketMcast->State() != wsInvalidState) SocketMcast->Close();
    try {
        SocketMcast->SetProto("udp");
        SocketMcast->SetAddr("0.0.0.0");
        SocketMcast->SetMultiCast(true);
        SocketMcast->SetReuseAddr(true);
        SocketMcast->SetMultiCastAddrStr(Format("%u.%u.%u.%u : %u", group >> 24, (group >> 16) & 0xFF,
                                                (group >> 8) & 0xFF, group & 0xFF, port));
        SocketMcast->SetPort(Format("%u", port));
        SocketMcast->Listen();
    } catch (const std::exception& e) {
        Trace("JoinMulticastGroup", e.what());
        return;
    }
    SocketMcast->SetBufSize(static_cast<int>(bufferBytes));
    Sleep(pauseMs);
    int size = 0, length = sizeof size;
    WSocket_getsockopt(SocketMcast->HSocket(), winsock::SOL_SOCKET, winsock::SO_RCVBUF,
                       reinterpret_cast<char*>(&size), &length);
    Trace("JoinMulticastGroup", Format("SO_RCVBUF %d", size));
    size = static_cast<int>(bufferBytes);
    WSocket_setsockopt(SocketMcast->HSocket(), winsock::SOL_SOCKET, winsock::SO_RCVBUF,
                       reinterpret_cast<const char*>(&size), sizeof size);
    length = sizeof size;
    WSocket_getsockopt(SocketMcast->HSocket(), winsock::SOL_SOCKET, winsock::SO_RCVBUF,
                       reinterpret_cast<char*>(&size), &length);
    Trace("JoinMulticastGroup", Format("SO_RCVBUF %d", size));
}

void TFrmMain::ShowModalBox(TForm* box) {
    PlaceOnArea(box, MainWindowRect.Left, MainWindowRect.Top, ClientWidth(), ClientHeight(), box->Width(),
                box->Height());
    MessageBeep(0);
    box->ShowModal();
}
