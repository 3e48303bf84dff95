// The client's own windows logging in to simulated recorders: the connect dialog filled in and its OK
// pressed, every box answered and recorded, and what the recorder received at hand.
#pragma once

#include "tests/client/ClientWindowsSupport.h"

#include "client/LinkWait.h"
#include "net/WSocket.h"
#include "tools/recsim/RecSim.h"

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace client_tests {

inline recsim::RecSimOptions QuickSimOptions() {
    recsim::RecSimOptions o;
    o.port = 0;
    o.realtime = false;
    o.firmwareStepMs = 5;
    o.firmwareCloseMs = 50;
    o.quiet = true;
    return o;
}

inline recsim::ReplyFault SilentReply() {
    recsim::ReplyFault f;
    f.silent = true;
    return f;
}

inline recsim::ReplyFault ReplyResult(DWORD result) {
    recsim::ReplyFault f;
    f.result = result;
    return f;
}

// A box as the user saw it: caption and text.
struct TSeenBox {
    std::string caption;
    std::string text;
    bool operator==(const TSeenBox&) const = default;
};
inline void PrintTo(const TSeenBox& box, std::ostream* out) {
    *out << "[" << box.caption << ": " << box.text << "]";
}

// A loopback listener whose queue is full and never taken: a connection to it neither completes nor
// fails.
class StalledListener {
public:
    StalledListener();
    ~StalledListener();
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;
    int Port() const { return port_; }
    // A further connection stays pending.
    bool Full() const;

private:
    int listener_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

class LoginRig : public ClientWindows {
protected:
    void SetUp() override;
    void TearDown() override;
    // The windows made before start-up: the client's own.
    virtual void CreateWindows() { CreateClientWindows(); }

    // A simulated recorder that lives until the test ends.
    recsim::RecSim& StartSim(recsim::RecSimOptions options = QuickSimOptions());
    // Fills the dialog and presses OK; returns once the log-in has ended one way or the other.
    void LogIn(recsim::RecSim& sim, const std::string& password = "1234", int level = 1);
    void LogIn(const std::string& address, const std::string& port, const std::string& password, int level);
    // Pumps (real time) until the condition holds; false after the limit.
    static bool PumpReal(const std::function<bool()>& done, int ms = 5000);

    // The box a pair of language ids gives.
    TSeenBox Box(int captionId, int textId) const;
    std::vector<TSeenBox> Boxes() const;
    // Commands (type 16) the recorder received, in order.
    static std::vector<DWORD> Commands(recsim::RecSim& sim);
    std::vector<std::string> DebugLines() const;
    // The wait window is down and the main window takes input again.
    ::testing::AssertionResult Idle() const;
    bool LinkUp() const { return FrmMain->CliSocket->State() == wsConnected; }
    // Runs one second of the heartbeat timer.
    void HeartbeatTick() { FrmMain->TimerHeartBeatTimer(FrmMain->TimerHeartBeat); }

    std::vector<std::unique_ptr<recsim::RecSim>> sims_;
    std::unique_ptr<form_testing::ScopedModalAnswer> boxes_;
    std::vector<TSeenBox> seen_;
    // Called while a box is up, before it is answered.
    std::function<void(TForm&)> whileBoxUp;
};

} // namespace client_tests
