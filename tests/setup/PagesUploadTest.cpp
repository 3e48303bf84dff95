// The configuration upload to several recorders: choosing from the address book, the refusals, and
// what each simulated recorder receives.
#include "tests/setup/PagesRig.h"

#include "client/formupdatestat.h"
#include "setup/Upload.h"

#include "tests/net/NetPeer.h"
#include "tests/support/TestSupport.h"

#include "platform/core/StrUtils.h"

#include <algorithm>
#include <fstream>

#include <filesystem>

namespace setup_test {

using client_tests::TSeenBox;

namespace {

std::vector<std::string> Lines(TListBox* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->Items()->Count(); ++i)
        out.push_back(list->Items()->Strings(i));
    return out;
}

} // namespace

class ConfigUpload : public PagesRig {
protected:
    void SetUp() override {
        PagesRig::SetUp();
        Application->CreateForm(FrmUpdateStatus);
    }
    // A folder holding a config.ini of its own.
    std::string SourceFolder(const std::string& bytes) {
        std::filesystem::create_directories(HomeFile("source"));
        std::ofstream(HomeFile("source/config.ini"), std::ios::binary) << bytes;
        return HomeFile("source");
    }
};

TEST_F(ConfigUpload, MovesLinesBetweenTheListsAndPutsChosenOnesBack) {
    WriteProgramFile("ipaddress.lst", "10.0.0.1:5000\r\n10.0.0.2:5000\r\n10.0.0.3:6000\r\n");
    frmUpload->Show();
    EXPECT_EQ(Lines(frmUpload->lbIPAddress),
              (std::vector<std::string>{"10.0.0.1:5000", "10.0.0.2:5000", "10.0.0.3:6000"}));
    frmUpload->lbIPAddress->SetItemIndex(1);
    frmUpload->btnRightClick(frmUpload->btnRight);
    EXPECT_EQ(Lines(frmUpload->lbDestAddress), (std::vector<std::string>{"10.0.0.2:5000"}));
    frmUpload->lbIPAddress->SetItemIndex(-1);
    frmUpload->btnRightClick(frmUpload->btnRight);
    EXPECT_EQ(frmUpload->lbDestAddress->Items()->Count(), 1) << "nothing selected moves nothing";
    frmUpload->btnRightAllClick(frmUpload->btnRightAll);
    EXPECT_EQ(Lines(frmUpload->lbDestAddress),
              (std::vector<std::string>{"10.0.0.2:5000", "10.0.0.1:5000", "10.0.0.3:6000"}));
    EXPECT_EQ(frmUpload->lbIPAddress->Items()->Count(), 0);
    frmUpload->lbDestAddress->SetItemIndex(0);
    frmUpload->btnLeftClick(frmUpload->btnLeft);
    EXPECT_EQ(Lines(frmUpload->lbIPAddress), (std::vector<std::string>{"10.0.0.2:5000"}));
    frmUpload->Close();
    EXPECT_EQ(ProgramFile("ipaddress.lst"), "10.0.0.2:5000\n10.0.0.1:5000\n10.0.0.3:6000\n");
}

TEST_F(ConfigUpload, RefusesWhatCannotBeSent) {
    WriteProgramFile("ipaddress.lst", "10.0.0.1:5000\r\n");
    frmUpload->Show();
    frmUpload->btnOkClick(frmUpload->btnOk);
    frmUpload->edtPath->SetText(HomeFile("empty"));
    frmUpload->btnOkClick(frmUpload->btnOk);
    frmUpload->btnRightAllClick(frmUpload->btnRightAll);
    std::filesystem::create_directories(HomeFile("empty"));
    frmUpload->btnOkClick(frmUpload->btnOk);
    EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{{"Select Directory", "Select source directroy"},
                                              {"Select IP", "Select destination IP"},
                                              {"Search Fail", "Can't find file!"}}));
    EXPECT_FALSE(FrmUpdateStatus->Visible());
}

TEST_F(ConfigUpload, SendsTheFileToEveryDestinationInTurn) {
    recsim::RecSim& first = StartSim();
    recsim::RecSim& second = StartSim();
    const std::string bytes = "[config]\r\n27_1_1=FLEET\r\n";
    WriteProgramFile("ipaddress.lst", "127.0.0.1:" + std::to_string(first.CommandPort()) +
                                          "\r\n127.0.0.1:" + std::to_string(second.CommandPort()) + "\r\n");
    frmUpload->Show();
    frmUpload->edtPath->SetText(SourceFolder(bytes));
    frmUpload->btnRightAllClick(frmUpload->btnRightAll);
    const DWORD before = GetTickCount();
    frmUpload->btnOkClick(frmUpload->btnOk);
    EXPECT_GE(GetTickCount() - before, 1000u) << "the pause at the end";
    for (recsim::RecSim* sim : {&first, &second}) {
        ASSERT_TRUE(sim->Log().WaitForUpload(QELFILE_CONFIG, 2000));
        EXPECT_EQ(sim->Log().LastUpload(QELFILE_CONFIG)->bytes, bytes);
        EXPECT_EQ(Commands(*sim), (std::vector<DWORD>{104})) << "no log-in and no apply";
        EXPECT_EQ(sim->Log().LastCommand(104)->packet.Arg0(), bytes.size());
        EXPECT_EQ(sim->Log().LastCommand(104)->packet.Arg1(), 1u);
    }
    EXPECT_FALSE(LinkUp());
    EXPECT_FALSE(FrmUpdateStatus->Visible());
    const std::vector<std::string> log = Lines(frmUpload->ListBox1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Disconnect"), 2);
    EXPECT_EQ(
        std::count(log.begin(), log.end(), "Connect(127.0.0.1:" + std::to_string(second.CommandPort()) + ")"),
        1);
}

TEST_F(ConfigUpload, UnreachableOrMalformedDestinationsAreSkipped) {
    recsim::RecSim& sim = StartSim();
    const std::uint16_t closed = netpeer::ClosedPort();
    const std::string bytes = "[config]\r\n1_1_1=2\r\n";
    WriteProgramFile("ipaddress.lst", "127.0.0.1:" + std::to_string(closed) + "\r\nno-port-here\r\n" +
                                          "127.0.0.1:" + std::to_string(sim.CommandPort()) + "\r\n");
    frmUpload->Show();
    frmUpload->edtPath->SetText(SourceFolder(bytes));
    frmUpload->btnRightAllClick(frmUpload->btnRightAll);
    frmUpload->btnOkClick(frmUpload->btnOk);
    ASSERT_TRUE(sim.Log().WaitForUpload(QELFILE_CONFIG, 2000));
    EXPECT_EQ(sim.Log().LastUpload(QELFILE_CONFIG)->bytes, bytes);
    const std::vector<std::string> log = Lines(frmUpload->ListBox1);
    EXPECT_NE(
        std::find(log.begin(), log.end(), Format(FrmMain->LoadLangString(60119).c_str(), "no-port-here")),
        log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), FrmMain->LoadLangString(60120)), log.end());
}

// A last recorder that never connects leaves no link behind: the next connect, failing or not, has
// nothing to end (a local playback goes on when it fails).
TEST_F(ConfigUpload, ALastRecorderThatNeverConnectsLeavesNoLink) {
    client_tests::StalledListener stalled;
    ASSERT_TRUE(stalled.Full());
    const std::uint16_t closed = netpeer::ClosedPort();
    for (const std::string& port : {std::to_string(stalled.Port()), std::to_string(closed)}) {
        SCOPED_TRACE(port);
        WriteProgramFile("ipaddress.lst", "127.0.0.1:" + port + "\r\n");
        frmUpload->Show();
        frmUpload->edtPath->SetText(SourceFolder("[config]\r\n"));
        frmUpload->btnRightAllClick(frmUpload->btnRightAll);
        {
            testing_support::FakeTick tick(1000, 100);
            frmUpload->btnOkClick(frmUpload->btnOk);
        }
        const std::vector<std::string> log = Lines(frmUpload->ListBox1);
        EXPECT_NE(std::find(log.begin(), log.end(), FrmMain->LoadLangString(60120)), log.end());
        EXPECT_FALSE(FrmUpdateStatus->Visible());
        EXPECT_FALSE(FrmMain->Activities.Running(TActivity::Link));
        frmUpload->Close();
    }
}

} // namespace setup_test
