// The map window over a recording played from the PC, behind an HTTP proxy: the tile server's name
// resolves nowhere, so the map's availability check and its tiles can only go through the proxy the
// environment names, a server of the road's own that is the tile server too.
#include "tests/e2e/Roads.h"
#include "tests/support/HttpServer.h"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace e2e {

namespace {

// The pixels of the marker's blue in the box.
int MarkerPixels(const Shot& shot, Box box) {
    int n = 0;
    for (int y = box.y; y < box.Bottom(); ++y)
        for (int x = box.x; x < box.Right(); ++x) {
            const Rgb p = shot.At(x, y);
            n += p.b > 150 && p.r < 110 && p.g > 90 && p.g < 170;
        }
    return n;
}

} // namespace

void MapOfAPlayedRecording(Session& s) {
    testing_support::HttpServer proxy(
        [](const std::string&, const std::string& target) { return testing_support::SvgTile(target); });
    s.Start({.clientEnv = {"HARBEK_MAP_TILES=http://tiles.harbek.test/{z}/{x}/{y}.svg",
                           "http_proxy=" + proxy.Address(), "no_proxy="}});
    Client c(s);
    // The recorder's own recordings, played from their folder: the first hour of them.
    std::vector<fs::path> hours;
    for (const auto& entry : fs::directory_iterator(s.Store() + "/avfiles"))
        if (entry.is_directory()) hours.push_back(entry.path());
    std::sort(hours.begin(), hours.end());
    if (hours.empty()) Fail("the recorder's store holds no recordings");
    c.ClickMain("BtnSearch");
    s.ClickControl(s.WaitWindow("LOCAL SEARCH"), FormLayout("LocalSearch.dfm"), "btnFile");
    c.Choose("Select a folder", hours.front().string());
    s.WaitWindow("PLAY LIST");
    c.ClickMain("BtnQuad");
    c.ClickMain("BtnPlay");
    c.WaitFourCameras("playing");

    // The map opens at the vehicle's position: the check went through the proxy.
    c.ClickMain("BtnOpenMap");
    const Window map = s.WaitWindow("Map", 15000);
    const std::vector<std::string> asked = proxy.Requests();
    if (std::find(asked.begin(), asked.end(), "CONNECT tiles.harbek.test:80 HTTP/1.1") == asked.end())
        Fail("the map's check did not go through the proxy");
    // The engine starts (a few seconds), loads the page and draws the tiles it asks the proxy for.
    if (!Session::WaitFor([&] { return s.Take("map").Share(map.box, Tint{Tint::Green}) > 0.5; }, 60000))
        Fail("the map draws no tiles");
    const Box centre{map.box.x + map.box.w / 2 - 20, map.box.y + map.box.h / 2 - 45, 40, 50};
    if (MarkerPixels(s.Take("marker"), centre) < 50) Fail("no marker stands at the map's centre");
    // Every tile at zoom 15 around the recording's drive, a loop of 2 km near 37.55 N 126.98 E: x from
    // 27941 to 27943 and y from 12690 to 12692, with the neighbours the window shows.
    const std::regex tile(R"((\d+)/(\d+)/(\d+))");
    const std::vector<std::string> tiles = testing_support::TilesAskedFor(proxy);
    if (tiles.empty()) Fail("no tile went through the proxy");
    for (const std::string& t : tiles) {
        std::smatch m;
        std::regex_match(t, m, tile);
        const int z = std::stoi(m[1]), x = std::stoi(m[2]), y = std::stoi(m[3]);
        if (z != 15 || x < 27940 || x > 27944 || y < 12689 || y > 12693)
            Fail("the map asked for the tile " + t + ", away from the vehicle");
    }
    // The map follows the played GPS: the ground moves under the marker, which stays centred; paused,
    // it stands still.
    if (!c.Moving(map.box, 3000)) Fail("the map does not follow the played recording");
    if (MarkerPixels(s.Take("moved"), centre) < 50) Fail("the marker left the map's centre");
    c.ClickMain("BtnPause");
    Session::Pause(1000);
    if (!c.Still(map.box)) Fail("the map moves on with the playback paused");
}

} // namespace e2e
