// Starts a simulated recorder in-process for one test and logs a test client in.
#pragma once

#include "TestClient.h"
#include "tools/recsim/RecSim.h"

#include <gtest/gtest.h>

#include <memory>

namespace recsim_test {

// Any free ports, no pacing, a quick firmware run.
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
inline recsim::ReplyFault Delayed(int ms) {
    recsim::ReplyFault f;
    f.delayMs = ms;
    return f;
}
inline recsim::ReplyFault WithResult(DWORD result) {
    recsim::ReplyFault f;
    f.result = result;
    return f;
}

struct SimHarness {
    explicit SimHarness(recsim::RecSimOptions options = QuickOptions())
        : sim(std::make_unique<recsim::RecSim>(std::move(options))) {
        sim->Start();
    }
    recsim::RecSim& operator*() { return *sim; }
    recsim::RecSim* operator->() { return sim.get(); }
    std::unique_ptr<recsim::RecSim> sim;
};

// The full log-in: 101, A/V connection, 119, 107, 109, password. Returns the password reply's result.
inline DWORD FullLogin(recsim::RecSim& sim, TestConnection& cmd, TestConnection& av, DWORD level = 1,
                       const std::string& password = "1234") {
    cmd.Connect(sim.CommandPort());
    const auto sys = Request(cmd, MakeNetCommand(NETCMD_SYSINFO, 3));
    EXPECT_TRUE(sys);
    if (!sys) return 0;
    av.Connect(sim.AvPort());
    EXPECT_TRUE(sim.WaitForAvConnection(true, 2000));
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_LOGIN_OPTION, 0)));
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_CAMERA_INFO, 0)));
    EXPECT_TRUE(Request(cmd, MakeNetCommand(NETCMD_STATUS, 0)));
    const auto pw = Request(cmd, MakePasswordPacket(level, password));
    EXPECT_TRUE(pw);
    return pw ? pw->Result() : 0;
}

} // namespace recsim_test
