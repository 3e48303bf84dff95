// The map window with the main window up, on a page of the test's own in a program folder whose path
// holds quotes and a backslash: the page writes every call it receives into its title. The launcher
// checks the provider while the window keeps working, opens the page at the last position, and the
// GPS fixes of shown frames reach the page once it has loaded.
#include "tests/client/ClientWindowsSupport.h"
#include "tests/playback/MapPageRecorder.h"
#include "tests/support/HttpServer.h"

#include "formats/QelSideData.h"
#include "playback/HtmlMap.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/FormTesting.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;
using client_tests::ClientWindows;
using map_tests::Encode;
using map_tests::RecorderPage;

// Payload 2 of a video frame carrying one GPS fix (north, east).
std::vector<BYTE> GpsFrame(BYTE latDeg, BYTE latMin, BYTE lonDeg, BYTE lonMin) {
    QelGpsFix fix;
    fix.latDegrees = latDeg;
    fix.latMinutes = latMin;
    fix.lonDegrees = lonDeg;
    fix.lonMinutes = lonMin;
    fix.speed = 40;
    return QelSideDataBuilder().AddGps(fix).Bytes();
}

class MapWindow : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        folder_ = Home() + "it's \"odd\"\\folder";
        fs::create_directories(folder_ + "/resources");
        home_ = std::make_unique<testing_support::ScopedEnv>("HARBEK_HOME", folder_.c_str());
        WritePage(RecorderPage(true));
        CreateClientWindows();
        StartMain();
        Application->CreateForm(FrmHtmlMap);
        boxes_ = std::make_unique<form_testing::ScopedModalAnswer>([](TForm&) { return mrOk; });
        FrmMain->MapSiteProbe = [] { return true; };
        auto original = FrmHtmlMap->CppWebBrowser->OnDocumentComplete;
        FrmHtmlMap->CppWebBrowser->OnDocumentComplete = [this, original](TObject* s, const std::string& u) {
            original(s, u);
            ++loads_;
        };
    }
    void TearDown() override {
        boxes_.reset();
        ClientWindows::TearDown();
        home_.reset();
        FrmHtmlMap = nullptr;
    }

    void WritePage(const std::string& page) {
        testing_support::WriteFileBytes(folder_ + "/resources/client_Gmap.html", page);
    }
    // Opens the map as the MAP button does and waits until its page has loaded (or failed).
    void OpenMap() {
        const int before = loads_;
        FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
        ASSERT_TRUE(FrmHtmlMap->Visible());
        // The engine's first start takes seconds on a loaded machine.
        ASSERT_TRUE(form_testing::WaitUntil([&] { return loads_ > before; }, 60000));
    }
    std::string Title() const { return FrmHtmlMap->CppWebBrowser->LocationName(); }
    bool TitleBecomes(const std::string& title) {
        return form_testing::WaitUntil([&] { return Title() == title; }, 20000);
    }
    // Every call that reaches the page has arrived once a marker call made after it has.
    void Settle(int n) {
        const std::string before = Title();
        ASSERT_TRUE(FrmHtmlMap->CppWebBrowser->Document()->CallFunction("initialize", {Format("mark%d", n)}));
        ASSERT_TRUE(form_testing::WaitUntil(
            [&] { return Title().ends_with(Format("initialize(mark%d)", n)); }, 20000))
            << before;
    }
    std::string Initialize(const std::string& first, const std::string& second) const {
        return "initialize(" + Encode(folder_ + "/") + "," + first + "," + second + ")";
    }
    std::vector<std::string> Calls() const { return map_tests::Calls(Title()); }
    std::vector<std::string> Boxes() const { return boxes_->Captions(); }

    std::string folder_;
    std::unique_ptr<testing_support::ScopedEnv> home_;
    std::unique_ptr<form_testing::ScopedModalAnswer> boxes_;
    int loads_ = 0;
};

TEST_F(MapWindow, OpensThePageAtTheLastPositionWithTheProgramFolder) {
    FrmMain->LastLatitude = 37.5;
    FrmMain->LastLongitude = -122.25;
    // Coordinates are written in the C locale whatever the user's.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const bool comma = std::setlocale(LC_NUMERIC, "es_ES.UTF-8") || std::setlocale(LC_NUMERIC, "es_ES.utf8");
    OpenMap();
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!comma) std::printf("no es_ES locale: the decimal comma was not tried\n");

    EXPECT_EQ(FrmHtmlMap->firstCoordText, "37.5");
    EXPECT_EQ(FrmHtmlMap->secondCoordText, "-122.25");
    EXPECT_TRUE(TitleBecomes(Initialize("37.5", "-122.25"))) << Title();
    EXPECT_EQ(FrmMain->MapPageLoaded, 1);
    EXPECT_TRUE(FrmHtmlMap->ImageMap32->Visible()) << "the still picture stays until the first re-centre";
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MapWindow, EachNewPositionReachesThePageOnceAfterItLoaded) {
    FrmMain->LastLatitude = 10;
    FrmMain->LastLongitude = 20;
    // Before the page has loaded no position goes to it.
    const auto before = GpsFrame(11, 0, 21, 0);
    FrmMain->ShowFrameOverlay(before, 1);
    EXPECT_DOUBLE_EQ(FrmMain->LastLatitude, 11);
    OpenMap();
    Settle(1);
    EXPECT_EQ(Calls(), std::vector<std::string>{Initialize("11", "21")});
    EXPECT_TRUE(FrmHtmlMap->ImageMap32->Visible());

    const auto a = GpsFrame(37, 30, 127, 0);
    const auto b = GpsFrame(37, 31, 127, 0);
    for (const auto* frame : {&a, &a, &b, &b, &a})
        FrmMain->ShowFrameOverlay(*frame, 1);
    EXPECT_FALSE(FrmHtmlMap->ImageMap32->Visible()) << "the first re-centre hides the still picture";
    Settle(2);
    EXPECT_EQ(Calls(), (std::vector<std::string>{Initialize("11", "21"), "doMoveCenter(37.500000,127.000000)",
                                                 "doMoveCenter(37.516667,127.000000)",
                                                 "doMoveCenter(37.500000,127.000000)"}));
    // The page draws its new text a frame later than its title changes.
    form_testing::WaitUntil([] { return false; }, 500);
    form_testing::SaveFormSnapshot(FrmHtmlMap, SnapshotPath("map_window_test_page"));

    // Shown again, the page is loaded afresh at the newest position; nothing reaches it meanwhile.
    FrmHtmlMap->Hide();
    FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
    EXPECT_FALSE(FrmHtmlMap->MoveCenter("1", "2")) << "the page before is gone";
    ASSERT_TRUE(TitleBecomes(Initialize("37.5", "127"))) << Title();
    FrmMain->ShowFrameOverlay(b, 1);
    Settle(3);
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{Initialize("37.5", "127"), "doMoveCenter(37.516667,127.000000)"}));
    EXPECT_TRUE(Boxes().empty());
}

// The shipped page, from the program's resources, with its tiles from a server of the test's own: the
// availability check finds that server, and the page draws the tiles around the position it opens at
// and, after a frame's new GPS fix, those around that one.
TEST_F(MapWindow, TheShippedPageDrawsTheTilesAroundEachPosition) {
    testing_support::HttpServer tiles(
        [](const std::string&, const std::string& target) { return testing_support::SvgTile(target); });
    const std::string address = tiles.Address() + "/{z}/{x}/{y}.svg";
    testing_support::ScopedEnv tileAddress("HARBEK_MAP_TILES", address.c_str());
    fs::remove_all(folder_ + "/resources");
    fs::create_directory_symlink(std::string(std::getenv("HARBEK_BINARY")) + "/client/resources",
                                 folder_ + "/resources");
    FrmMain->MapSiteProbe = nullptr;
    const auto asked = [&](const std::string& tile) {
        return form_testing::WaitUntil(
            [&] {
                const auto seen = testing_support::TilesAskedFor(tiles);
                return std::find(seen.begin(), seen.end(), tile) != seen.end();
            },
            20000);
    };
    FrmMain->LastLatitude = 37.5;
    FrmMain->LastLongitude = 127;
    OpenMap();
    EXPECT_EQ(FrmMain->MapPageLoaded, 1);
    // The tile under 37.5 N 127 E at the page's zoom of 15; then the one under 35.1 N 129.0333 E.
    EXPECT_TRUE(asked("15/27943/12697"));
    FrmMain->ShowFrameOverlay(GpsFrame(35, 6, 129, 2), 1);
    EXPECT_TRUE(asked("15/28128/12968"));
    form_testing::WaitUntil([] { return false; }, 500);
    form_testing::SaveFormSnapshot(FrmHtmlMap, SnapshotPath("map_window_shipped_page"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MapWindow, AMissingPageOrFunctionMakesMoveCenterFalseWithoutABox) {
    fs::remove(folder_ + "/resources/client_Gmap.html");
    OpenMap();
    EXPECT_EQ(FrmHtmlMap->CppWebBrowser->Document(), nullptr);
    EXPECT_EQ(FrmMain->MapPageLoaded, 0) << "no page, no re-centring";
    EXPECT_FALSE(FrmHtmlMap->MoveCenter("37.5", "127"));

    WritePage(RecorderPage(false));
    OpenMap();
    EXPECT_EQ(FrmMain->MapPageLoaded, 1);
    EXPECT_FALSE(FrmHtmlMap->MoveCenter("37.5", "127")) << "the page has no doMoveCenter";

    WritePage("<html><body><script>function initialize( {</script></body></html>");
    OpenMap();
    EXPECT_FALSE(FrmHtmlMap->MoveCenter("37.5", "127")) << "the page's script does not compile";
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MapWindow, TheCheckKeepsTheWindowWorkingAndEndsWhenTheLookUpHangs) {
    // A probe that hangs as a name look-up can, until the test lets it go.
    struct Probe {
        std::atomic<bool> started{false};
        std::atomic<bool> release{false};
        std::atomic<int> runs{0};
    };
    auto probe = std::make_shared<Probe>();
    FrmMain->MapSiteProbe = [probe] {
        ++probe->runs;
        probe->started = true;
        while (!probe->release)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return true;
    };
    bool pumpedMeanwhile = false;
    form_testing::RunLater([&] {
        form_testing::WaitUntil([&] { return probe->started.load(); }, 10000);
        pumpedMeanwhile = probe->started && !probe->release;
        FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap); // a second press while the check runs
    });
    testing_support::FakeTick tick(1000, 2);
    const auto start = std::chrono::steady_clock::now();
    FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
    const auto waited = std::chrono::steady_clock::now() - start;
    probe->release = true;

    EXPECT_TRUE(pumpedMeanwhile) << "messages were handled while the check ran";
    EXPECT_EQ(probe->runs, 1) << "the second press started no check of its own";
    EXPECT_LT(waited, std::chrono::seconds(30));
    EXPECT_EQ(FrmMain->IsMapReachable(), 0);
    EXPECT_FALSE(FrmHtmlMap->Visible());
    EXPECT_EQ(Boxes(), std::vector<std::string>{FrmMain->LoadLangString(50297)});
}

} // namespace
