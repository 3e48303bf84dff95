// A command link without windows, on a real socket, against the simulated recorder running in the
// test's own process.
#pragma once

#include "client/CommandLink.h"
#include "client/LinkWait.h"
#include "net/WSocket.h"
#include "tools/recsim/RecSim.h"

#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace linktest {

// Any free ports, no pacing.
inline recsim::RecSimOptions QuickOptions() {
    recsim::RecSimOptions o;
    o.port = 0;
    o.realtime = false;
    o.firmwareStepMs = 5;
    o.firmwareCloseMs = 50;
    o.quiet = true;
    return o;
}

inline recsim::ReplyFault Silent() {
    recsim::ReplyFault f;
    f.silent = true;
    return f;
}
inline recsim::ReplyFault Delayed(int ms, std::optional<DWORD> result = std::nullopt) {
    recsim::ReplyFault f;
    f.delayMs = ms;
    f.result = result;
    return f;
}
inline recsim::ReplyFault WithResult(DWORD result) {
    recsim::ReplyFault f;
    f.result = result;
    return f;
}

// Real milliseconds, for waiting on the simulator's thread; the link's own waits read the tick.
inline bool PumpReal(const std::function<bool()>& done, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Application->ProcessMessages();
        Sleep(0);
    }
    return true;
}

class TestLink : public CCommandLink {
public:
    explicit TestLink(const std::string& folder = std::string()) {
        (void)Application->Handle();
        socket_ = TCustomWSocket::Create<TWSocket>(nullptr);
        socket_->OnDataAvailable =
            TDataAvailable([this](TObject* s, WORD) { ReceiveCommandData(socket_, s); });
        socket_->OnSendData = TSendData([this](TObject* s, int n) { CliSocketSendData(s, n); });
        socket_->OnDataSent = TDataSent([this](TObject* s, WORD e) { CliSocketDataSent(s, e); });
        socket_->OnSessionClosed = TSessionClosed([this](TObject*, WORD) {
            ++closed;
            ResetLink();
        });
        socket_->OnError = TNotifyEvent([this](TObject*) { ++errors; });
        Receiver.SetFolder(folder);
    }
    ~TestLink() override {
        socket_->OnDataAvailable = nullptr;
        socket_->OnSendData = nullptr;
        socket_->OnDataSent = nullptr;
        socket_->OnSessionClosed = nullptr;
        socket_->OnError = nullptr;
        socket_->Free();
    }

    bool Connect(int port) {
        ResetLink();
        // The waits of the link serve it: they end once it no longer runs.
        Activities.Begin(TActivity::Link);
        socket_->SetAddr("127.0.0.1");
        socket_->SetProto("tcp");
        socket_->SetPort(std::to_string(port));
        socket_->Connect();
        return PumpReal([&] { return socket_->State() == wsConnected; });
    }
    TWSocket* Socket() const { return socket_; }

    int closed = 0;
    int errors = 0;
    bool timerOn = false;
    std::vector<bool> timerSwitches;
    int level = 1;
    std::vector<NetMsgPacket> packets;
    std::vector<TReceivedUnit> files;
    std::function<void(const NetMsgPacket&)> onPacket;

protected:
    TWSocket* CommandSocket() const override { return socket_; }
    void SetHeartbeatTimer(bool enabled) override {
        timerOn = enabled;
        timerSwitches.push_back(enabled);
    }
    int PasswordLevel() override { return level; }
    void ExecuteMsgCommands(TObject*, const NetMsgPacket& packet) override {
        packets.push_back(packet);
        if (packet.Type() == NETMSG && packet.Command() == NETCMD_REPLY) NoteReply(packet);
        if (onPacket) onPacket(packet);
    }
    void FileFinished(const TReceivedUnit& unit) override { files.push_back(unit); }
    void FileAbandoned(const TReceivedUnit& unit) override { abandoned.push_back(unit); }

public:
    std::vector<TReceivedUnit> abandoned;

private:
    TWSocket* socket_ = nullptr;
};

struct Sim {
    explicit Sim(recsim::RecSimOptions options = QuickOptions())
        : sim(std::make_unique<recsim::RecSim>(std::move(options))) {
        sim->Start();
    }
    recsim::RecSim* operator->() { return sim.get(); }
    // Connected once both ends know it: what the simulator sends from then on reaches the link.
    bool Connect(TestLink& link) {
        return link.Connect(sim->CommandPort()) && sim->WaitForCommandConnection(true, 2000);
    }
    recsim::RecSim& operator*() { return *sim; }
    std::unique_ptr<recsim::RecSim> sim;
};

} // namespace linktest
