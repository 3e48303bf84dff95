#include "platform/win/MessageQueue.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <map>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

static_assert(msgloop::kWatchIn == EPOLLIN && msgloop::kWatchOut == EPOLLOUT &&
              msgloop::kWatchErr == EPOLLERR && msgloop::kWatchHup == EPOLLHUP &&
              msgloop::kWatchRdHup == EPOLLRDHUP);

namespace msgloop {

namespace {

// Sockets are watched under their SOCKET numbers, which never reach this value.
constexpr std::uint64_t kTimerTag = ~std::uint64_t{0};
constexpr int kReadyBatch = 64;

std::atomic<EvaluateHook> gHook{nullptr};

std::mutex gRegistryMutex;
std::map<DWORD, std::weak_ptr<ThreadQueue>>& Registry() {
    static auto* registry = new std::map<DWORD, std::weak_ptr<ThreadQueue>>;
    return *registry;
}

// Queues of the thread that runs the Qt application stay to the end of the process: its Qt objects must
// not be torn down after the application object is gone.
std::vector<std::shared_ptr<ThreadQueue>>& KeptQueues() {
    static auto* kept = new std::vector<std::shared_ptr<ThreadQueue>>;
    return *kept;
}

void EnsureQtApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "harbek";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}

bool OnQtApplicationThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && app->thread() == QThread::currentThread();
}

bool Matches(const MSG& m, HWND filter, UINT filterMin, UINT filterMax) {
    if (filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1))) {
        if (m.hwnd != nullptr) return false;
    } else if (filter != nullptr && m.hwnd != filter) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) return true;
    return m.message >= filterMin && m.message <= filterMax;
}

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (!queue) return;
        SetThreadIdleWaiter(nullptr);
        {
            std::lock_guard lock(gRegistryMutex);
            auto it = Registry().find(queue->ThreadId());
            if (it != Registry().end() && it->second.lock() == queue) Registry().erase(it);
        }
        if (OnQtApplicationThread()) {
            std::lock_guard lock(gRegistryMutex);
            KeptQueues().push_back(queue);
            return;
        }
        queue->Shutdown();
    }
};

thread_local QueueHolder tHolder;

void IdleWaiter(DWORD milliseconds) {
    if (tHolder.queue)
        tHolder.queue->IdleWait(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

void SetEvaluateHook(EvaluateHook hook) {
    gHook.store(hook);
}

ThreadQueue::ThreadQueue() : threadId_(GetCurrentThreadId()) {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epollFd_ = epoll_create1(EPOLL_CLOEXEC);
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (wakeFd_ < 0 || epollFd_ < 0 || timerFd_ < 0) {
        const int error = errno;
        for (int fd : {wakeFd_, epollFd_, timerFd_})
            if (fd >= 0) ::close(fd);
        throw EOutOfResources("Cannot create the message queue of a thread (errno " + std::to_string(error) +
                              ")");
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = kTimerTag;
    epoll_ctl(epollFd_, EPOLL_CTL_ADD, timerFd_, &ev);
    CreateNotifiers();
}

ThreadQueue::~ThreadQueue() {
    ::close(wakeFd_);
    ::close(epollFd_);
    ::close(timerFd_);
}

void ThreadQueue::CreateNotifiers() {
    EnsureQtApplication();
    // A thread that Qt did not start gets its event dispatcher with its first event loop object.
    loop_ = new QEventLoop();
    wakeNotifier_ = new QSocketNotifier(static_cast<qintptr>(wakeFd_), QSocketNotifier::Read);
    QObject::connect(wakeNotifier_, &QSocketNotifier::activated, wakeNotifier_, [this] {
        DrainWake();
        if (WakeDispatchAllowed()) DispatchPending();
    });
    epollNotifier_ = new QSocketNotifier(static_cast<qintptr>(epollFd_), QSocketNotifier::Read);
    QObject::connect(epollNotifier_, &QSocketNotifier::activated, epollNotifier_, [this] { Evaluate(); });
}

void ThreadQueue::Shutdown() {
    alive_.store(false);
    std::deque<std::shared_ptr<SentCall>> sent;
    {
        std::lock_guard lock(mutex_);
        posted_.clear();
        sent.swap(sent_);
        quitPosted_ = false;
    }
    for (auto& call : sent) {
        std::lock_guard lock(call->Mutex);
        call->Done = true;
        call->Finished.notify_all();
    }
    delete wakeNotifier_;
    delete epollNotifier_;
    delete loop_;
    wakeNotifier_ = nullptr;
    epollNotifier_ = nullptr;
    loop_ = nullptr;
}

bool ThreadQueue::Post(const MSG& msg, std::uintptr_t socketTag) {
    {
        std::lock_guard lock(mutex_);
        if (!alive_.load()) return false;
        posted_.push_back(QueuedMessage{msg, socketTag});
    }
    Wake();
    return true;
}

bool ThreadQueue::Send(const std::shared_ptr<SentCall>& call) {
    {
        std::lock_guard lock(mutex_);
        if (!alive_.load()) return false;
        sent_.push_back(call);
    }
    Wake();
    return true;
}

void ThreadQueue::PostQuit(int exitCode) {
    {
        std::lock_guard lock(mutex_);
        quitPosted_ = true;
        quitCode_ = exitCode;
    }
    Wake();
}

void ThreadQueue::Wake() {
    if (!alive_.load()) return;
    if (!wakePending_.exchange(true)) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

void ThreadQueue::DrainWake() {
    // Read first: a Wake between clearing the flag and the read would be consumed here and leave the flag
    // set with nothing to read, and no later Wake would write again.
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &value, sizeof value);
    wakePending_.store(false);
}

void ThreadQueue::RemoveWindow(HWND window) {
    std::lock_guard lock(mutex_);
    std::erase_if(posted_, [window](const QueuedMessage& q) { return q.Msg.hwnd == window; });
}

void ThreadQueue::RemoveSocket(std::uintptr_t socket, HWND window, UINT message) {
    std::lock_guard lock(mutex_);
    std::erase_if(posted_, [&](const QueuedMessage& q) {
        return q.SocketTag == socket ||
               (q.Msg.hwnd == window && q.Msg.message == message && q.Msg.wParam == socket);
    });
}

bool ThreadQueue::HasPending() const {
    std::lock_guard lock(mutex_);
    return !posted_.empty() || !sent_.empty() || quitPosted_;
}

bool ThreadQueue::Watch(int fd, std::uint64_t tag, std::uint32_t events, std::uint32_t previous) {
    if (events == previous) return true;
    epoll_event ev{};
    ev.events = events;
    ev.data.u64 = tag;
    int op = EPOLL_CTL_MOD;
    if (previous == 0)
        op = EPOLL_CTL_ADD;
    else if (events == 0)
        op = EPOLL_CTL_DEL;
    return epoll_ctl(epollFd_, op, fd, &ev) == 0;
}

void ThreadQueue::SetDeadlineTicks(bool on) {
    if (ticking_.exchange(on) == on) return;
    itimerspec period{};
    if (on) {
        period.it_value.tv_nsec = 250'000'000;
        period.it_interval.tv_nsec = 250'000'000;
    }
    timerfd_settime(timerFd_, 0, &period, nullptr);
}

bool ThreadQueue::Take(MSG* out, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
    std::lock_guard lock(mutex_);
    for (auto it = posted_.begin(); it != posted_.end(); ++it) {
        if (!Matches(it->Msg, filter, filterMin, filterMax)) continue;
        *out = it->Msg;
        if (remove) posted_.erase(it);
        return true;
    }
    const bool threadMessagesWanted =
        filter == nullptr || filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
    const bool quitInRange =
        (filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax);
    if (quitPosted_ && threadMessagesWanted && quitInRange) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(quitCode_);
        if (remove) quitPosted_ = false;
        return true;
    }
    return false;
}

bool ThreadQueue::TakeQuit(int* exitCode) {
    std::lock_guard lock(mutex_);
    if (!quitPosted_) return false;
    quitPosted_ = false;
    if (exitCode != nullptr) *exitCode = quitCode_;
    return true;
}

void ThreadQueue::RunSentCalls() {
    for (;;) {
        std::shared_ptr<SentCall> call;
        {
            std::lock_guard lock(mutex_);
            if (sent_.empty()) return;
            call = sent_.front();
            sent_.pop_front();
        }
        const LRESULT result = GuardedCall(call->Window, call->Message, call->WParam, call->LParam);
        std::lock_guard lock(call->Mutex);
        call->Result = result;
        call->Done = true;
        call->Finished.notify_all();
    }
}

void ThreadQueue::Evaluate() {
    epoll_event events[kReadyBatch];
    ReadyEntry ready[kReadyBatch];
    // A few rounds at most: the evaluation disarms what it reports, so the set drains quickly.
    for (int round = 0; round < 4; ++round) {
        const int n = epoll_wait(epollFd_, events, kReadyBatch, 0);
        int count = 0;
        for (int i = 0; i < n; ++i) {
            if (events[i].data.u64 == kTimerTag) {
                std::uint64_t expirations = 0;
                [[maybe_unused]] const ssize_t r = ::read(timerFd_, &expirations, sizeof expirations);
                continue;
            }
            ready[count++] = ReadyEntry{events[i].data.u64, events[i].events};
        }
        if (EvaluateHook hook = gHook.load()) hook(*this, ready, count);
        if (n < kReadyBatch) return;
    }
}

void ThreadQueue::DispatchPending() {
    RunSentCalls();
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        count = posted_.size();
    }
    for (std::size_t i = 0; i < count; ++i) {
        QueuedMessage next;
        {
            std::lock_guard lock(mutex_);
            if (posted_.empty()) return;
            next = posted_.front();
            posted_.pop_front();
        }
        // Thread messages have no window procedure; only an explicit retrieval sees them.
        if (next.Msg.hwnd != nullptr)
            GuardedCall(next.Msg.hwnd, next.Msg.message, next.Msg.wParam, next.Msg.lParam);
    }
}

bool ThreadQueue::WakeDispatchAllowed() const {
    return retrievalLevel_ < 0 || QThread::currentThread()->loopLevel() != retrievalLevel_;
}

void ThreadQueue::ProcessQtEvents(bool wait, bool retrieving) {
    const int saved = retrievalLevel_;
    retrievalLevel_ = retrieving ? QThread::currentThread()->loopLevel() : -1;
    struct Restore {
        int& level;
        int value;
        ~Restore() { level = value; }
    } restore{retrievalLevel_, saved};
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void ThreadQueue::IdleWait(DWORD milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    if (HasPending()) return;
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {epollFd_, POLLIN, 0}};
    ::poll(fds, 2, 1);
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
    if (tHolder.queue) return tHolder.queue;
    auto queue = std::make_shared<ThreadQueue>();
    {
        std::lock_guard lock(gRegistryMutex);
        Registry()[queue->ThreadId()] = queue;
    }
    tHolder.queue = queue;
    SetThreadIdleWaiter(&IdleWaiter);
    return queue;
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) {
    std::lock_guard lock(gRegistryMutex);
    auto it = Registry().find(threadId);
    if (it == Registry().end()) return nullptr;
    auto queue = it->second.lock();
    return queue && queue->Alive() ? queue : nullptr;
}

void ForEachQueue(const std::function<void(ThreadQueue&)>& action) {
    std::vector<std::shared_ptr<ThreadQueue>> queues;
    {
        std::lock_guard lock(gRegistryMutex);
        for (auto& [id, weak] : Registry())
            if (auto queue = weak.lock()) queues.push_back(queue);
    }
    for (auto& queue : queues)
        action(*queue);
}

} // namespace msgloop
