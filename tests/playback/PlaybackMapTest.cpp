// A played recording that carries GPS moves the map: with the map page loaded, every change of position
// in the frames the clock shows reaches the page once, in the order shown.
#include "tests/playback/EngineRig.h"
#include "tests/playback/MapPageRecorder.h"

#include "client/FrameOverlay.h"
#include "playback/HtmlMap.h"
#include "tools/recgen/StoreGenerator.h"

#include "platform/vcl/FormTesting.h"

#include <filesystem>

namespace engine_tests {
namespace {

class PlayedMap : public EngineRig {
protected:
    void SetUp() override {
        EngineRig::SetUp();
        Application->CreateForm(FrmHtmlMap);
        std::filesystem::create_directories(HomeFile("resources"));
        testing_support::WriteFileBytes(HomeFile("resources/client_Gmap.html"), map_tests::RecorderPage());
        FrmMain->MapSiteProbe = [] { return true; };
        // What the page should get: each shown position that differs from the one before.
        auto shownHook = FrmMain->OnPlaybackFrameShown;
        FrmMain->OnPlaybackFrameShown = [this, shownHook](const QelFrameRecord& r) {
            shownHook(r);
            QelFrameSideData walker(r.payload2.get(), r.payloadLen2);
            QelSideBlock block;
            while (walker.Next(block)) {
                if (block.kind != QELSIDE_GPS) continue;
                const GpsReading gps = ReadGpsFix(block.gps);
                const std::string call = "doMoveCenter(" + gps.latitudeText + "," + gps.longitudeText + ")";
                if (expected_.empty() || expected_.back() != call) expected_.push_back(call);
            }
        };
    }
    void TearDown() override {
        EngineRig::TearDown();
        FrmHtmlMap = nullptr;
    }
    std::string Title() const { return FrmHtmlMap->CppWebBrowser->LocationName(); }

    std::vector<std::string> expected_;
};

TEST_F(PlayedMap, EveryNewPositionOfThePlayedFramesReachesThePage) {
    recgen::StoreOptions options;
    options.days = 1;
    options.hours = {8};
    options.secondsPerRecording = 3;
    options.stream.framesPerSecond = 5;
    options.stream.cameras = 1;
    testing_support::TempDir disk;
    const auto recordings = recgen::GenerateStore(disk.Path().string(), options, recgen::RecorderIdentity{});
    ASSERT_EQ(recordings.size(), 1u);

    FrmMain->LastLatitude = 1;
    FrmMain->LastLongitude = 2;
    FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
    ASSERT_TRUE(form_testing::WaitUntil([] { return FrmMain->MapPageLoaded != 0; }, 60000));
    ASSERT_TRUE(form_testing::WaitUntil([&] { return Title().starts_with("initialize("); }, 20000));

    const std::string path = disk.File("avfiles/" + recordings[0].fileName);
    CQelVideoFile& reader = *FrmMain->VideoReader;
    reader.SetListItem(path, 0);
    reader.SetListStart(0);
    reader.SetListEnd(1);
    FrmMain->PlayListPos = 0;
    FrmMain->LastTransportKey = kKeyFirst;
    FrmMain->OpenPlaybackFile(path);
    FrmMain->BtnPlayClick(FrmMain->BtnPlay);
    ASSERT_LT(TicksUntilPaused(3000), 3000) << "playback never ended";
    ASSERT_GE(expected_.size(), 10u) << "the recording moves at every frame";
    EXPECT_FALSE(FrmHtmlMap->ImageMap32->Visible());

    // A last call of the test's own: once it has arrived, so has everything before it.
    ASSERT_TRUE(FrmHtmlMap->CppWebBrowser->Document()->CallFunction("initialize", {"mark1"}));
    ASSERT_TRUE(form_testing::WaitUntil([&] { return Title().ends_with("initialize(mark1)"); }, 20000));
    std::vector<std::string> calls = map_tests::Calls(Title());
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "initialize(" + map_tests::Encode(Home()) + ",1,2)");
    calls.erase(calls.begin());
    EXPECT_EQ(calls, expected_);
}

} // namespace
} // namespace engine_tests
