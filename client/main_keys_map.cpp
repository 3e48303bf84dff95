// The map launcher: the map shown at the last known position once the map provider can be reached and
// scripts may run.
#include "client/main.h"

#include "client/LinkWait.h"
#include "playback/HtmlMap.h"

#include "platform/core/Debug.h"
#include "platform/core/Registry.h"
#include "platform/vcl/WinInet.h"

#include <atomic>
#include <memory>
#include <thread>

namespace {

// The user waits no longer than this for the check, even when the name look-up hangs.
constexpr DWORD kCheckLimitMs = 4000;
// The address text handed to the map window, which does not use it.
constexpr char kMapAddress[] = "http://localhost:9865/";

// The map page's tile server can be reached now, as the browser will reach it (through the system's proxy).
// The proxies are read here, on the GUI thread; the check that is returned may run on any thread.
std::function<bool()> MapSiteCheck() {
    std::function<BOOL()> check = PrepareInternetCheck(MapTileAddress().c_str());
    return [check = std::move(check)] { return check() != FALSE; };
}

// Runs the probe on a thread of its own while the GUI keeps handling its messages. A name look-up cannot be
// interrupted: when the limit passes first, its thread is left to end on its own. It holds what it uses
// and touches neither the toolkit nor a static object, so the program may end meanwhile.
TWaitEnd ProbeWhilePumping(CActivities& record, std::function<bool()> probe, bool& reached) {
    auto outcome = std::make_shared<std::atomic<int>>(-1);
    std::thread([probe = std::move(probe), outcome] { outcome->store(probe() ? 1 : 0); }).detach();
    const TWaitEnd end = PumpUntil(
        TActivity::LocalTask, record, [&] { return outcome->load() >= 0; }, kCheckLimitMs);
    reached = outcome->load() == 1;
    return end;
}

int ZoneScriptSetting(const char* zone) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    int value = 0;
    try {
        if (registry.OpenKeyReadOnly(
                std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\") +
                zone) &&
            registry.ValueExists("1400"))
            value = registry.ReadInteger("1400");
    } catch (const std::exception& e) {
        DebugTrace("TFrmMain::IsScriptingRestricted", e.what());
        value = 0;
    }
    registry.CloseKey();
    return value;
}

} // namespace

void TFrmMain::BtnOpenMapClick(TObject*) {
    // The check pumps messages: a second press meanwhile is not another check.
    if (Activities.RefusesPresses()) return;
    Activities.Begin(TActivity::LocalTask);
    CheckMapAvailability();
    const bool ended = !Activities.Running(TActivity::LocalTask);
    Activities.End(TActivity::LocalTask);
    if (ended) return;
    if (MapReachable == 0 || FrmHtmlMap == nullptr) return;
    FrmHtmlMap->ShowPosition(kMapAddress, LastLatitude, LastLongitude);
    FrmHtmlMap->Show();
}

void TFrmMain::CheckMapAvailability() {
    bool reached = false;
    const TWaitEnd end = ProbeWhilePumping(Activities, MapSiteProbe ? MapSiteProbe : MapSiteCheck(), reached);
    MapReachable = reached ? 1 : 0;
    if (end == TWaitEnd::Terminated || end == TWaitEnd::Ended) {
        MapReachable = 0;
        return;
    }
    if (MapReachable == 0) {
        ShowMessageBox(LoadLangString(50298), LoadLangString(50297), 0);
        return;
    }
    if (IsScriptingRestricted()) {
        ShowMessageBox(LoadLangString(50300), LoadLangString(50299), 0);
        MapReachable = 0;
    }
}

bool TFrmMain::IsScriptingRestricted() {
    ScriptingRestricted = 0;
    const int internet = ZoneScriptSetting("3");
    const int intranet = ZoneScriptSetting("1");
    if (internet != 0 || intranet != 0) ScriptingRestricted = 1;
    return ScriptingRestricted != 0;
}
