#include "setup/SetupUpload.h"

#include "client/LinkNumbers.h"
#include "client/LinkWait.h"
#include "client/main.h"
#include "setup/PageSupport.h"

#include "net/WSocket.h"

#include "platform/core/FileUtils.h"

using namespace setup_pages;

namespace {

// How long a reply still due to an earlier upload may take before it is given up.
constexpr DWORD kDueReplyLimitMs = 5000;

} // namespace

bool SetupLinkUp() {
    return FrmMain != nullptr && FrmMain->CliSocket != nullptr && FrmMain->CliSocket->State() == wsConnected;
}

TUploadEnd SendSetupFile(const std::string& name, DWORD kind, DWORD limitMs) {
    std::string bytes;
    if (!ReadFileBytes(SetupFolder() + name, kMaxSetupFileBytes, bytes)) return TUploadEnd::NoFile;
    CActivities& record = FrmMain->Activities;
    const auto ended = [&] { return !record.Running(TActivity::SetupPass); };
    if (ended()) return TUploadEnd::Ended;
    if (!SetupLinkUp()) return TUploadEnd::LinkLost;
    // Replies carry no mark of their upload, only their order: one still due to an earlier upload comes
    // first, or is given up, before this one goes.
    if (FrmMain->UploadRepliesDue() > 0) {
        const TWaitEnd due = PumpUntil(
            TActivity::SetupPass, record, [] { return FrmMain->UploadRepliesDue() == 0 || !SetupLinkUp(); },
            kDueReplyLimitMs);
        if (due == TWaitEnd::Terminated) return TUploadEnd::Terminated;
        if (ended()) return TUploadEnd::Ended;
        if (!SetupLinkUp()) return TUploadEnd::LinkLost;
        FrmMain->ForgetDueUploadReplies();
    }
    // The pass ended meanwhile stops the wait: whoever ended it has told the user.
    const int sent = FrmMain->SendFileUpload(kind, bytes, TActivity::SetupPass);
    // The closing of a link lost meanwhile took the pass and told the user.
    if (ended()) return TUploadEnd::Ended;
    if (sent != static_cast<int>(bytes.size()) || !SetupLinkUp()) return TUploadEnd::LinkLost;
    const std::uint64_t upload = FrmMain->LastUpload();
    const TWaitEnd end = PumpUntil(
        TActivity::SetupPass, record, [&] { return FrmMain->UploadReply(upload) || !SetupLinkUp(); },
        limitMs);
    if (end == TWaitEnd::Terminated) return TUploadEnd::Terminated;
    if (ended()) return TUploadEnd::Ended;
    const std::optional<int> reply = FrmMain->UploadReply(upload);
    if (!reply) return SetupLinkUp() ? TUploadEnd::Unanswered : TUploadEnd::LinkLost;
    return *reply != 0 ? TUploadEnd::Accepted : TUploadEnd::Refused;
}

void ReportUploadEnd(TForm* over, TUploadEnd end, const std::string& kept) {
    std::string text;
    switch (end) {
    case TUploadEnd::Refused:
        text = LangText(60114) + "\n" + kept;
        break;
    case TUploadEnd::Unanswered:
        text = LangText(60115) + "\n" + kept;
        break;
    case TUploadEnd::LinkLost:
        text = LangText(59869);
        break;
    default:
        return;
    }
    SetupBoxOver(over, text, LangText(59872), 0);
}
