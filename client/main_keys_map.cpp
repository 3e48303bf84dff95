// The map launcher: the map shown at the last known position once the map provider can be reached and
// scripts may run.
#include "client/main.h"

#include "client/LinkWait.h"
#include "playback/HtmlMap.h"

#include "platform/core/Debug.h"
#include "platform/core/Registry.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <thread>

namespace {

// The map page's tile provider.
constexpr const char* kMapHost = "tile.openstreetmap.org";
constexpr const char* kMapPort = "443";
constexpr int kProbeLimitMs = 3000;
// The user waits no longer than this for the check, even when the name look-up hangs.
constexpr DWORD kCheckLimitMs = 4000;
// The address text handed to the map window, which does not use it.
constexpr char kMapAddress[] = "http://localhost:9865/";

// A connection to the provider can be made now.
bool ProbeMapSite() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(kMapHost, kMapPort, &hints, &found) != 0 || found == nullptr) return false;
    bool reached = false;
    for (addrinfo* a = found; a != nullptr && !reached; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
            reached = true;
        } else if (errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            reached = ::poll(&p, 1, kProbeLimitMs) == 1 &&
                      ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        ::close(fd);
    }
    freeaddrinfo(found);
    return reached;
}

// Runs the probe on a thread of its own while the GUI keeps handling its messages. A name look-up cannot be
// interrupted: when the limit passes first, its thread is left to end on its own.
TWaitEnd ProbeWhilePumping(std::function<bool()> probe, bool& reached) {
    auto outcome = std::make_shared<std::atomic<int>>(-1);
    std::thread([probe = std::move(probe), outcome] { outcome->store(probe() ? 1 : 0); }).detach();
    const TWaitEnd end = PumpUntil([&] { return outcome->load() >= 0; }, kCheckLimitMs);
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
    static bool checking = false;
    if (checking) return;
    checking = true;
    CheckMapAvailability();
    checking = false;
    if (MapReachable == 0 || FrmHtmlMap == nullptr) return;
    FrmHtmlMap->ShowPosition(kMapAddress, LastLatitude, LastLongitude);
    FrmHtmlMap->Show();
}

void TFrmMain::CheckMapAvailability() {
    bool reached = false;
    const TWaitEnd end = ProbeWhilePumping(MapSiteProbe ? MapSiteProbe : ProbeMapSite, reached);
    MapReachable = reached ? 1 : 0;
    if (end == TWaitEnd::Terminated) {
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
