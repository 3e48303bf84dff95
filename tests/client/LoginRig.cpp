#include "tests/client/LoginRig.h"

#include "playback/download.h"
#include "setup/Syslog.h"
#include "tests/support/TestSupport.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/FormTesting.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace client_tests {

namespace {

// Connected within a moment.
bool Completes(int fd) {
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, 200) != 1) return false;
    int error = 0;
    socklen_t len = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
    return error == 0;
}

} // namespace

StalledListener::StalledListener() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener_, 0);
    socklen_t len = sizeof a;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    // Fill the queue until a connection no longer completes.
    for (int i = 0; i < 8; ++i) {
        const int fd = testing_support::StartLoopbackConnect(port_);
        fillers_.push_back(fd);
        if (!Completes(fd)) break;
    }
}

StalledListener::~StalledListener() {
    for (int fd : fillers_)
        ::close(fd);
    if (listener_ >= 0) ::close(listener_);
}

bool StalledListener::Full() const {
    const int fd = testing_support::StartLoopbackConnect(port_);
    const bool stalled = !Completes(fd);
    ::close(fd);
    return stalled;
}

void LoginRig::SetUp() {
    ClientWindows::SetUp();
    CreateWindows();
    StartMain();
    // The tests drive the heartbeat's ticks themselves.
    FrmMain->TimerHeartBeat->SetInterval(0x7FFFFFFF);
    boxes_ = std::make_unique<form_testing::ScopedModalAnswer>([this](TForm& form) {
        auto* box = dynamic_cast<TMessageForm*>(&form);
        if (box == nullptr) return mrCancel;
        seen_.push_back({form.Caption(), box->MessageText()});
        if (whileBoxUp) whileBoxUp(form);
        return form.ModalResult() != mrNone ? form.ModalResult() : mrOk;
    });
}

void LoginRig::TearDown() {
    if (FrmMain != nullptr) {
        FrmMain->HeartbeatArmed = 0;
        FrmMain->AVDataCliSocket->Close();
        FrmMain->CliSocket->Close();
    }
    boxes_.reset();
    ClientWindows::TearDown();
    // Windows some tests add; the application took them down with the rest.
    frmSysLog = nullptr;
    frmDownload = nullptr;
    sims_.clear();
}

recsim::RecSim& LoginRig::StartSim(recsim::RecSimOptions options) {
    sims_.push_back(std::make_unique<recsim::RecSim>(std::move(options)));
    sims_.back()->Start();
    return *sims_.back();
}

void LoginRig::LogIn(recsim::RecSim& sim, const std::string& password, int level) {
    LogIn("127.0.0.1", std::to_string(sim.CommandPort()), password, level);
}

void LoginRig::LogIn(const std::string& address, const std::string& port, const std::string& password,
                     int level) {
    FrmMain->BtnConnectClick(FrmMain->BtnConnect);
    FrmLog->ebIP->SetText(address);
    FrmLog->ebPort->SetText(port);
    FrmLog->mePassword->SetText(password);
    (level == 1 ? FrmLog->rbtAdmin : FrmLog->rbtUser)->SetChecked(true);
    FrmLog->BtnOkClick(FrmLog->BtnOk);
    // The answer to the password may still be queued as a window message.
    form_testing::ProcessEvents();
}

bool LoginRig::PumpReal(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TSeenBox LoginRig::Box(int captionId, int textId) const {
    return {FrmMain->LoadLangString(captionId), FrmMain->LoadLangString(textId)};
}

std::vector<TSeenBox> LoginRig::Boxes() const {
    return seen_;
}

std::vector<DWORD> LoginRig::Commands(recsim::RecSim& sim) {
    std::vector<DWORD> out;
    for (const auto& p : sim.Log().Packets())
        if (p.packet.Type() == NETMSG) out.push_back(p.packet.Command());
    return out;
}

std::vector<std::string> LoginRig::DebugLines() const {
    std::vector<std::string> out;
    TStrings* items = FrmMain->lbDebug->Items();
    for (int i = 0; i < items->Count(); ++i)
        out.push_back(items->Strings(i));
    return out;
}

::testing::AssertionResult LoginRig::Idle() const {
    if (FrmWait->Visible()) return ::testing::AssertionFailure() << "the wait window is still up";
    if (!FrmMain->Enabled()) return ::testing::AssertionFailure() << "the main window is still disabled";
    return ::testing::AssertionSuccess();
}

} // namespace client_tests
