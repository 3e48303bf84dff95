// The map launcher: the map shown at the last known position once the map provider can be reached and
// scripts may run.
#include "client/main.h"

#include "playback/HtmlMap.h"

#include "platform/core/Debug.h"
#include "platform/core/Registry.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>

namespace {

// The map page's tile provider.
constexpr const char* kMapHost = "tile.openstreetmap.org";
constexpr const char* kMapPort = "443";
constexpr int kProbeLimitMs = 3000;

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
    CheckMapAvailability();
    if (MapReachable == 0) return;
    // The window's loading of the page at a position is still to come; it is shown as it is.
    if (FrmHtmlMap != nullptr) FrmHtmlMap->Show();
}

void TFrmMain::CheckMapAvailability() {
    MapReachable = (MapSiteProbe ? MapSiteProbe() : ProbeMapSite()) ? 1 : 0;
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
