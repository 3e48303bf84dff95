// The client, quit while its map button's check waits on a name server that does not answer: every
// look-up of a name under ".unanswered.test" is held, as such a server holds it, until the program is
// ending, and then answered with this computer's own address; the check's thread is left to go on while the
// program's statics go. Each held look-up says so on the standard output. "inside": the power button is
// pressed inside the check's wait; "after": once the check has given up and its box is answered. Run by
// MainShutdownTest, which wants the program ended cleanly.
#include "client/AudioLibrary.h"
#include "client/HarbekWindows.h"
#include "client/main.h"
#include "tests/support/TestSupport.h"

#include "platform/core/AppPaths.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormTesting.h"

#include <dlfcn.h>
#include <netdb.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace {

std::atomic<bool> gHeld{false};
std::atomic<bool> gAnswer{false};
std::atomic<long> gHeldThread{0};

// Made before main, so gone after the statics the program makes: the held look-up is answered once the
// program's end has begun, and its thread gets up to five seconds to go on.
struct TAnswerAtTheEnd {
    ~TAnswerAtTheEnd() {
        gAnswer.store(true);
        const long thread = gHeldThread.load();
        if (thread == 0) return;
        const std::string task = "/proc/self/task/" + std::to_string(thread);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::filesystem::exists(task) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
} gAnswerAtTheEnd;

void Say(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(1, text.data(), text.size()) < 0) std::_Exit(3);
}

// Runs `fire` from the message loop once a look-up is held.
void WhenHeld(std::function<void()> fire) {
    form_testing::RunLater([fire] {
        if (gHeld.load())
            fire();
        else
            WhenHeld(fire);
    });
}

} // namespace

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints,
                           addrinfo** found) noexcept {
    using TLookUp = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto next = reinterpret_cast<TLookUp>(::dlsym(RTLD_NEXT, "getaddrinfo"));
    static constexpr char kHeld[] = ".unanswered.test";
    const std::size_t length = node != nullptr ? std::strlen(node) : 0;
    if (length >= sizeof kHeld - 1 && std::strcmp(node + length - (sizeof kHeld - 1), kHeld) == 0) {
        Say(std::string("look-up held: ") + node);
        gHeldThread.store(::syscall(SYS_gettid));
        gHeld.store(true);
        while (!gAnswer.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return next("127.0.0.1", service, hints, found);
    }
    return next(node, service, hints, found);
}

int main(int argc, char** argv) {
    SetCommandLine(argc, argv);
    const bool inside = argc > 1 && std::string(argv[1]) == "inside";
    RegisterAudioLibrary();
    SetFormResourceRoot(HARBEK_CLIENT_RESOURCES);
    Application->Initialize();
    form_testing::ScopedModalAnswer boxes([](TForm& form) {
        auto* box = dynamic_cast<TMessageForm*>(&form);
        Say("box: " + (box != nullptr ? box->MessageText() : form.Caption()));
        return mrOk;
    });
    // The check's limit passes at once when the look-up is held.
    testing_support::FakeTick tick(1000, 0);
    form_testing::RunLater([&] {
        WhenHeld([&] {
            if (inside)
                FrmMain->BtnPowerClick(FrmMain->BtnPower);
            else
                tick.Advance(60000);
        });
        FrmMain->BtnOpenMapClick(FrmMain->BtnOpenMap);
        Say("check over");
        if (!inside) FrmMain->BtnPowerClick(FrmMain->BtnPower);
    });
    const int status = RunHarbek();
    Say("loop over");
    return status;
}
