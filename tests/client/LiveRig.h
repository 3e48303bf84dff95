// The live view's plain parts put together as the main window puts them, on a real socket against the
// simulated recorder running in the test's own process: the A/V socket reads what the receiver asks
// for, complete frames take their route, pictures go into four screen images, and each picture's side
// data is walked to see that it arrived whole (the main window draws none of it for live frames).
#pragma once

#include "client/AvFrameQueue.h"
#include "client/AvFrameRoute.h"
#include "client/FrameOverlay.h"
#include "client/JpegScreen.h"
#include "formats/AvStreamReceiver.h"
#include "net/WSocket.h"
#include "tests/tools/recsim/TestClient.h"
#include "tools/recsim/RecSim.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Jpeg.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace live_test {

inline recsim::RecSimOptions QuickSim() {
    recsim::RecSimOptions o;
    o.port = 0;
    o.realtime = false;
    o.quiet = true;
    return o;
}

// Real milliseconds: the simulator runs on its own threads.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Application->ProcessMessages();
        Sleep(0);
    }
    return true;
}

struct ArrivedFrame {
    BYTE kind = 0;
    DWORD channel = 0, frameTime = 0, subSecond = 0;
    bool drawn = false;     // a picture that decoded and went into its screen
    bool sideFault = false; // the overlay walk ended at a bad block
    bool operator==(const ArrivedFrame&) const = default;
};

class LiveRig {
public:
    explicit LiveRig(recsim::RecSimOptions options)
        : sim(std::make_unique<recsim::RecSim>(std::move(options))) {
        sim->Start();
        form = new TForm(Application);
        form->SetBounds(0, 0, 720, 500);
        for (int k = 0; k < 4; ++k) {
            auto* panel = new TPanel(form);
            panel->SetParent(form);
            panel->SetBounds(1 + (k % 2) * 345, 1 + (k / 2) * 236, 344, 235);
            screens[k] = new TImage(form);
            screens[k]->SetParent(panel);
            screens[k]->SetStretch(true);
            screens[k]->SetBounds(-8, -3, 360, 240);
        }
        receiver.SetSink([this](const CAvReceivedFrame& f) { OnFrame(f); });
        av = TCustomWSocket::Create<TWSocket>(nullptr);
        av->SetComponentOptions(TWSocketOptions{wsoNoReceiveLoop});
        av->OnDataAvailable = TDataAvailable([this](TObject*, WORD) { OnData(); });
        av->OnSessionClosed = TSessionClosed([this](TObject*, WORD) { ++closedEvents; });
    }
    ~LiveRig() {
        av->OnDataAvailable = nullptr;
        av->OnSessionClosed = nullptr;
        av->Free();
        sim->Stop();
        form_testing::ResetApplication();
    }
    LiveRig(const LiveRig&) = delete;
    LiveRig& operator=(const LiveRig&) = delete;

    // The log-in with the A/V connection on port + 1, then live view started.
    void StartLive() {
        cmd.Connect(sim->CommandPort());
        ASSERT_TRUE(recsim_test::Request(cmd, MakeNetCommand(NETCMD_SYSINFO, 3)));
        av->SetAddr("127.0.0.1");
        av->SetPort(std::to_string(sim->AvPort()));
        av->SetProto("tcp");
        av->Connect();
        ASSERT_TRUE(PumpUntil([&] { return av->State() == wsConnected; }, 5000));
        ASSERT_TRUE(sim->WaitForAvConnection(true, 2000));
        for (DWORD c : {NETCMD_LOGIN_OPTION, NETCMD_CAMERA_INFO, NETCMD_STATUS})
            ASSERT_TRUE(recsim_test::Request(cmd, MakeNetCommand(c, 0)));
        const auto pw = recsim_test::Request(cmd, MakePasswordPacket(1, "1234"));
        ASSERT_TRUE(pw);
        ASSERT_EQ(pw->Result(), 1u);
        switches.live = true;
        show.awaitingFirstPicture = true;
        const auto live = recsim_test::Request(cmd, MakeNetCommand(NETCMD_LIVE_START, 0));
        ASSERT_TRUE(live);
        ASSERT_EQ(live->Result(), 1u);
    }
    void StopLive() {
        switches.live = false;
        ASSERT_TRUE(recsim_test::Request(cmd, MakeNetCommand(NETCMD_LIVE_STOP, 0)));
    }

    void OnData() {
        ++dataEvents;
        const int n = av->Receive(receiver.ReadBuffer(), receiver.ReadSize());
        if (n > 0) receiver.Consume(receiver.ReadBuffer(), n);
    }

    void OnFrame(const CAvReceivedFrame& f) {
        const AvFrameRoute route = RouteAvFrame(f.info, switches, show);
        if (route.way == AvFrameWay::Queue) {
            queue.Push(f.info, f.Payload1());
            av->Pause();
            return;
        }
        ArrivedFrame a{f.info.kind, f.info.channel, f.info.frameTime, f.info.subSecond};
        if (route.closeWait) ++waitsClosed;
        if (route.drawPicture) {
            const auto p1 = f.Payload1();
            a.drawn =
                ShowJpegPicture(jpeg, *screens[route.timeChannel - 1], p1.data(), p1.size(), f.info.width);
            if (!a.drawn) ++pictureErrors;
            const FrameOverlayUpdate u =
                ReadFrameOverlay(f.Payload2(), f.info.channel, lastLatitude, lastLongitude, false);
            a.sideFault = u.malformed;
        }
        if (route.way != AvFrameWay::Drop) arrived.push_back(a);
    }

    std::unique_ptr<recsim::RecSim> sim;
    recsim_test::TestConnection cmd;
    TWSocket* av = nullptr;
    TForm* form = nullptr;
    TImage* screens[4] = {};
    TJPEGImage jpeg;
    CAvStreamReceiver receiver;
    AvFrameSwitches switches;
    AvShowState show;
    double lastLatitude = 0, lastLongitude = 0;
    CAvFrameQueue queue;
    std::vector<ArrivedFrame> arrived;
    int pictureErrors = 0;
    int waitsClosed = 0;
    int closedEvents = 0;
    std::uint64_t dataEvents = 0;
};

} // namespace live_test
