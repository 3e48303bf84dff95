#include "platform/win/Termination.h"

#include "platform/core/Exceptions.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Written by the handler, read by the loop.
volatile sig_atomic_t gWriteFd = -1;

struct TForwarding {
    int readFd = -1;
    int writeFd = -1;
    HWND window = nullptr;
    UINT message = 0;
    std::unique_ptr<QSocketNotifier> notifier;
    struct sigaction previous[std::size(kSignals)]{};
};
std::unique_ptr<TForwarding> gForwarding;

extern "C" void OnTerminationSignal(int signal) {
    const int saved = errno;
    const int fd = gWriteFd;
    const unsigned char byte = static_cast<unsigned char>(signal);
    // A full pipe already holds requests enough to end the program; nothing else can be done here.
    if (fd >= 0 && ::write(fd, &byte, 1) < 0) errno = saved;
    errno = saved;
}

void ReadSignals(TForwarding& forwarding) {
    unsigned char bytes[64];
    ssize_t n = 0;
    while ((n = ::read(forwarding.readFd, bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            PostMessage(forwarding.window, forwarding.message, TRUE, static_cast<LPARAM>(bytes[i]));
}

} // namespace

void ForwardTerminationSignals(HWND window, UINT message) {
    StopTerminationSignals();
    auto forwarding = std::make_unique<TForwarding>();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw EOSError(std::string("No pipe for the termination signals: ") + std::strerror(errno));
    forwarding->readFd = fds[0];
    forwarding->writeFd = fds[1];
    forwarding->window = window;
    forwarding->message = message;
    TForwarding* raw = forwarding.get();
    forwarding->notifier = std::make_unique<QSocketNotifier>(fds[0], QSocketNotifier::Read);
    QObject::connect(forwarding->notifier.get(), &QSocketNotifier::activated, [raw] { ReadSignals(*raw); });
    gWriteFd = fds[1];
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &forwarding->previous[i]);
    gForwarding = std::move(forwarding);
}

void StopTerminationSignals() {
    if (!gForwarding) return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &gForwarding->previous[i], nullptr);
    gWriteFd = -1;
    gForwarding->notifier.reset();
    ::close(gForwarding->readFd);
    ::close(gForwarding->writeFd);
    gForwarding.reset();
}
