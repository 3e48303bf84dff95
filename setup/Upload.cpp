#include "setup/Upload.h"

#include "client/AddressBook.h"
#include "client/LinkNumbers.h"
#include "client/LinkWait.h"
#include "client/formupdatestat.h"
#include "client/main.h"
#include "setup/PageSupport.h"

#include "controls/BmGauge.h"
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/FileUtils.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/Dialogs.h"

#include <vector>

using namespace setup_pages;

TFormVar<TfrmUpload> frmUpload;

namespace {

// A destination that never answers the connect is given up after this long.
constexpr DWORD kUploadConnectLimitMs = 20000;

void MoveLine(TListBox* from, TListBox* to) {
    const int index = from->ItemIndex();
    if (index < 0 || index >= from->Items()->Count()) return;
    to->Items()->Add(from->Items()->Strings(index));
    from->Items()->Delete(index);
}

void MoveAll(TListBox* from, TListBox* to) {
    TStrings* items = from->Items();
    for (int i = 0; i < items->Count(); ++i)
        to->Items()->Add(items->Strings(i));
    for (int i = items->Count() - 1; i >= 0; --i)
        items->Delete(i);
}

} // namespace

TfrmUpload::TfrmUpload(TComponent* owner) : TForm(owner) {
    LoadDefinition("Upload", Bindings());
}

const TFormBindings& TfrmUpload::Bindings() {
    static const TFormBindings bindings = TFormBindings()
                                              .AddField("Label1", &TfrmUpload::Label1)
                                              .AddField("lbIPAddress", &TfrmUpload::lbIPAddress)
                                              .AddField("btnRight", &TfrmUpload::btnRight)
                                              .AddField("btnRightAll", &TfrmUpload::btnRightAll)
                                              .AddField("btnLeft", &TfrmUpload::btnLeft)
                                              .AddField("btnLeftAll", &TfrmUpload::btnLeftAll)
                                              .AddField("Label2", &TfrmUpload::Label2)
                                              .AddField("lbDestAddress", &TfrmUpload::lbDestAddress)
                                              .AddField("Label3", &TfrmUpload::Label3)
                                              .AddField("edtPath", &TfrmUpload::edtPath)
                                              .AddField("btnBrowse", &TfrmUpload::btnBrowse)
                                              .AddField("btnOk", &TfrmUpload::btnOk)
                                              .AddField("BtnCancel", &TfrmUpload::BtnCancel)
                                              .AddField("ListBox1", &TfrmUpload::ListBox1)
                                              .AddMethod("FormShow", &TfrmUpload::FormShow)
                                              .AddMethod("FormClose", &TfrmUpload::FormClose)
                                              .AddMethod("btnRightClick", &TfrmUpload::btnRightClick)
                                              .AddMethod("btnLeftClick", &TfrmUpload::btnLeftClick)
                                              .AddMethod("btnRightAllClick", &TfrmUpload::btnRightAllClick)
                                              .AddMethod("btnLeftAllClick", &TfrmUpload::btnLeftAllClick)
                                              .AddMethod("btnBrowseClick", &TfrmUpload::btnBrowseClick)
                                              .AddMethod("BtnCancelClick", &TfrmUpload::BtnCancelClick)
                                              .AddMethod("btnOkClick", &TfrmUpload::btnOkClick);
    return bindings;
}

std::string TfrmUpload::AddressBookPath() const {
    return SetupFolder() + "ipaddress.lst";
}

void TfrmUpload::Log(const std::string& line) {
    ListBox1->Items()->Add(line);
}

void TfrmUpload::FormShow(TObject*) {
    const std::string path = AddressBookPath();
    DebugTrace("TfrmUpload::FormShow", Format("file_name = (%s)", path.c_str()));
    lbIPAddress->Items()->Clear();
    for (const std::string& line : ReadAddressBook(path))
        lbIPAddress->Items()->Add(line);
    lbDestAddress->Items()->Clear();
    edtPath->SetText("");
}

void TfrmUpload::FormClose(TObject*, TCloseAction&) {
    const std::string path = AddressBookPath();
    DebugTrace("TfrmUpload::FormClose", Format("file_name = (%s)", path.c_str()));
    // The chosen recorders go back into the address book.
    MoveAll(lbDestAddress, lbIPAddress);
    std::vector<std::string> lines;
    for (int i = 0; i < lbIPAddress->Items()->Count(); ++i)
        lines.push_back(lbIPAddress->Items()->Strings(i));
    if (!WriteAddressBook(path, lines)) DebugTrace("TfrmUpload::FormClose", "cannot write the address book");
}

void TfrmUpload::btnRightClick(TObject*) {
    MoveLine(lbIPAddress, lbDestAddress);
}

void TfrmUpload::btnLeftClick(TObject*) {
    MoveLine(lbDestAddress, lbIPAddress);
}

void TfrmUpload::btnRightAllClick(TObject*) {
    MoveAll(lbIPAddress, lbDestAddress);
}

void TfrmUpload::btnLeftAllClick(TObject*) {
    MoveAll(lbDestAddress, lbIPAddress);
}

void TfrmUpload::btnBrowseClick(TObject*) {
    std::string folder = edtPath->Text();
    // untranslated: long-standing fixed text
    if (SelectDirectory("Select Directory", "", folder)) edtPath->SetText(folder);
}

void TfrmUpload::BtnCancelClick(TObject*) {
    Close();
}

void TfrmUpload::btnOkClick(TObject*) {
    // A second OK inside the upload's own waits would start a second upload within the first.
    if (FrmMain != nullptr && FrmMain->Activities.RefusesPresses()) return;
    if (edtPath->Text().empty()) {
        SetupBox("Select source directroy", "Select Directory", 0); // untranslated: long-standing fixed text
        return;
    }
    if (lbDestAddress->Items()->Count() == 0) {
        SetupBox("Select destination IP", "Select IP", 0); // untranslated: long-standing fixed text
        return;
    }
    std::string bytes;
    if (!ReadFileBytes(edtPath->Text() + "/config.ini", kMaxSetupFileBytes, bytes)) {
        SetupBox("Can't find file!", "Search Fail", 0); // untranslated: long-standing fixed text
        return;
    }
    if (FrmMain == nullptr) return;
    if (FrmUpdateStatus != nullptr) {
        FrmUpdateStatus->Show();
        FrmUpdateStatus->ResetProgress();
        FrmUpdateStatus->ProgressTransfer->SetMaximumLevel(static_cast<int>(bytes.size()));
        FrmUpdateStatus->ProgressUpdate->SetMaximumLevel(lbDestAddress->Items()->Count());
    }
    // The link this replaces is left on purpose: that is no loss to report.
    FrmMain->HeartbeatArmed = 0;
    for (int i = 0; i < lbDestAddress->Items()->Count(); ++i) {
        SendTo(lbDestAddress->Items()->Strings(i), bytes);
        if (Application->Terminated()) return;
        if (FrmUpdateStatus != nullptr) FrmUpdateStatus->ProgressUpdate->SetCurrentLevel(i + 1);
    }
    // The last recorder gets a moment to take the file before its link is closed.
    if (PumpFor(TActivity::Link, FrmMain->Activities, 1000) == TWaitEnd::Terminated) return;
    if (FrmUpdateStatus != nullptr) {
        FrmUpdateStatus->Close();
        FrmUpdateStatus->ResetProgress();
    }
    FrmMain->CliSocket->Close();
}

void TfrmUpload::SendTo(const std::string& destination, const std::string& bytes) {
    TWSocket* socket = FrmMain->CliSocket;
    socket->Close();
    Log("Disconnect"); // untranslated: the upload log's technical lines
    std::string host, port;
    bool hasPort = false;
    SplitAddressBookEntry(destination, host, port, hasPort);
    if (!hasPort || host.empty() || !ValidPortText(port)) {
        Log(Format(LangText(60119).c_str(), destination.c_str()));
        return;
    }
    socket->SetAddr(host);
    socket->SetPort(port);
    socket->SetProto("tcp");
    // Each recorder's connection is a link of its own, which the sends below wait on.
    FrmMain->Activities.Begin(TActivity::Link);
    socket->Connect();
    if (PumpUntil(
            TActivity::Link, FrmMain->Activities, [socket] { return socket->State() != wsConnecting; },
            kUploadConnectLimitMs) == TWaitEnd::Terminated)
        return;
    Log("Connect(" + host + ":" + port + ")"); // untranslated: the upload log's technical lines
    if (socket->State() != wsConnected) {
        // Nothing can reach a recorder that did not answer; the next one is tried. No closing event
        // comes for a connection that never was, so its link ends here.
        Log(LangText(60120));
        FrmMain->Activities.End(TActivity::Link);
        socket->Close();
        return;
    }
    if (FrmUpdateStatus != nullptr) FrmUpdateStatus->ProgressTransfer->SetCurrentLevel(0);
    const int total = static_cast<int>(bytes.size());
    Log(Format("Len = %d", total));       // untranslated: the upload log's technical lines
    Log(Format("File Read : %d", total)); // untranslated: the upload log's technical lines
    // The announcement and the bytes, with nothing between them.
    const int sent = FrmMain->SendFileUpload(QELFILE_CONFIG, bytes);
    if (total == 0) return;
    Log(Format("File Sent : %d", sent)); // untranslated: the upload log's technical lines
    // untranslated: the upload log's technical lines
    Log(Format("File Sending : %d/%d(send/total)", sent, total));
    Log(Format("Total read : %d", total)); // untranslated: the upload log's technical lines
    if (sent < total)
        DebugTrace("TfrmUpload::btnOkClick", Format("Error: only %d/%d bytes sent!", sent, total));
    if (FrmUpdateStatus != nullptr) FrmUpdateStatus->ProgressTransfer->SetCurrentLevel(sent > 0 ? sent : 0);
    // The progress shows before the next recorder.
    PumpFor(TActivity::Link, FrmMain->Activities, 0);
}
