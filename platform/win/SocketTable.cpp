#include "platform/win/SocketTable.h"

#include "platform/win/SocketSys.h"

#include "platform/core/SysTime.h"

#include <map>
#include <tuple>

namespace sockdetail {

namespace {

constexpr int kWsaEtimedout = 10060;
constexpr int kWsaEconnrefused = 10061;
constexpr DWORD kConnectDeadlineMs = 21000;
constexpr int kIdleHitsBeforeQuiet = 3;

using msgloop::kWatchErr;
using msgloop::kWatchHup;
using msgloop::kWatchIn;
using msgloop::kWatchOut;

struct Table {
    std::map<std::uintptr_t, std::shared_ptr<SocketRec>> Sockets;
    // SOCKET numbers count up from here in steps of 4 and are never handed out twice.
    std::uintptr_t Next = 0x1000;
};

Table& Sockets() {
    static auto* table = new Table();
    return *table;
}

LPARAM SelectReply(long event, int error) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(event), static_cast<WORD>(error)));
}

struct Outcome {
    int Connect = -1; // -1: nothing to post, else the error
    bool Write = false;
    bool Read = false;
    bool Accept = false;
    int Close = -1;
};

void PostOutcome(SocketRec& r, const Outcome& o) {
    auto post = [&](long event, int error) {
        if ((r.Mask & event) != 0 && r.Window != nullptr)
            msgloop::PostTagged(r.Window, r.Message, r.Id, SelectReply(event, error), r.Id);
    };
    if (o.Connect >= 0) post(kFdConnect, o.Connect);
    if (o.Write) post(kFdWrite, 0);
    if (o.Read) post(kFdRead, 0);
    if (o.Accept) post(kFdAccept, 0);
    if (o.Close >= 0) post(kFdClose, o.Close);
}

// The connect's outcome, once known (or past its deadline).
bool EvaluateConnect(SocketRec& r, std::uint32_t events, Outcome& o) {
    if ((events & (kWatchOut | kWatchErr | kWatchHup)) != 0 || r.ConnectError != 0) {
        int error = r.ConnectError != 0 ? r.ConnectError : PendingError(r.Fd);
        if (error == 0 && !IsConnected(r.Fd)) error = kWsaEconnrefused;
        r.ConnectPending = false;
        r.ConnectError = 0;
        if (error == 0) {
            r.Connected = true;
            o.Connect = 0;
            o.Write = true;
        } else {
            r.ConnectFailed = true;
            o.Connect = error;
        }
        return true;
    }
    if (GetTickCount() - r.ConnectStart >= kConnectDeadlineMs) {
        AbortConnect(r.Fd);
        r.ConnectPending = false;
        r.ConnectFailed = true;
        o.Connect = kWsaEtimedout;
        return true;
    }
    return false;
}

void EvaluateStream(SocketRec& r, std::uint32_t events, bool registration, Outcome& o) {
    if (r.CloseDone) return;
    if (registration && (r.Mask & kFdWrite) != 0) {
        if ((events & kWatchOut) != 0)
            o.Write = true;
        else
            r.WritePending = true;
    }
    if (r.WritePending && (events & (kWatchOut | kWatchErr | kWatchHup)) != 0) {
        r.WritePending = false;
        const int error = (events & (kWatchErr | kWatchHup)) != 0 ? PendingError(r.Fd) : 0;
        if (error != 0) {
            r.ResetError = error;
            if ((r.Mask & kFdClose) != 0) {
                o.Close = error;
                r.CloseDone = true;
                return;
            }
        } else if ((events & kWatchOut) != 0) {
            o.Write = true;
        }
    }
    if (!r.ReadArmed || (events & (kWatchIn | kWatchErr | kWatchHup)) == 0) return;
    int error = 0;
    switch (PeekStream(r.Fd, error)) {
    case StreamState::Data:
        // Data first: the close (if any) is announced once everything has been read.
        o.Read = (r.Mask & kFdRead) != 0;
        r.ReadArmed = false;
        break;
    case StreamState::Eof:
        if ((r.Mask & kFdClose) != 0) {
            o.Close = r.ResetError;
            r.CloseDone = true;
        }
        r.ReadArmed = false;
        break;
    case StreamState::Failed:
        r.ResetError = error;
        if ((r.Mask & kFdClose) != 0) {
            o.Close = error;
            r.CloseDone = true;
        }
        r.ReadArmed = false;
        break;
    case StreamState::Nothing:
        break;
    }
}

void EvaluateDatagram(SocketRec& r, std::uint32_t events, bool registration, Outcome& o) {
    if (registration && (r.Mask & kFdWrite) != 0 && IsBound(r.Fd)) {
        if ((events & kWatchOut) != 0)
            o.Write = true;
        else
            r.WritePending = true;
    }
    if (r.WritePending && (events & kWatchOut) != 0) {
        r.WritePending = false;
        o.Write = true;
    }
    if (r.ReadArmed && (events & kWatchIn) != 0) {
        o.Read = (r.Mask & kFdRead) != 0;
        r.ReadArmed = false;
    }
    // An error queued by an earlier datagram (port unreachable) is not a notification of its own.
    if ((events & kWatchErr) != 0) PendingError(r.Fd);
}

void Evaluate(SocketRec& r, std::uint32_t events, bool registration) {
    if (r.Mask == 0 || r.Window == nullptr || r.Fd < 0 || r.ConnectFailed) {
        UpdateWatch(r);
        return;
    }
    const auto before = std::make_tuple(r.ReadArmed, r.AcceptArmed, r.WritePending, r.ConnectPending,
                                        r.CloseDone, r.ResetError);
    Outcome o;
    bool decided = true;
    if (r.ConnectPending) decided = EvaluateConnect(r, events, o);
    if (decided && !r.ConnectFailed) {
        if (r.Type != kTypeStream) {
            EvaluateDatagram(r, events, registration, o);
        } else if (r.Listening) {
            if (r.AcceptArmed && (events & kWatchIn) != 0) {
                o.Accept = true;
                r.AcceptArmed = false;
            }
        } else if (r.Connected && o.Connect < 0) {
            EvaluateStream(r, events, registration, o);
        }
    }
    const bool posted = o.Connect >= 0 || o.Write || o.Read || o.Accept || o.Close >= 0;
    PostOutcome(r, o);
    const auto after = std::make_tuple(r.ReadArmed, r.AcceptArmed, r.WritePending, r.ConnectPending,
                                       r.CloseDone, r.ResetError);
    if (!registration && events != 0 && !posted && before == after) {
        if (++r.IdleHits >= kIdleHitsBeforeQuiet) r.Quiet = true;
    } else {
        r.IdleHits = 0;
    }
    UpdateWatch(r);
}

void CheckDeadlines(msgloop::ThreadQueue& queue) {
    bool pending = false;
    for (auto& [id, rec] : Sockets().Sockets) {
        if (rec->Queue.get() != &queue || !rec->ConnectPending) continue;
        if (GetTickCount() - rec->ConnectStart >= kConnectDeadlineMs) Evaluate(*rec, 0, false);
        pending = pending || rec->ConnectPending;
    }
    queue.SetDeadlineTicks(pending);
}

void EvaluateHook(msgloop::ThreadQueue& queue, const msgloop::ReadyEntry* ready, int count) {
    std::lock_guard lock(SocketLock());
    for (int i = 0; i < count; ++i) {
        auto it = Sockets().Sockets.find(static_cast<std::uintptr_t>(ready[i].Tag));
        if (it == Sockets().Sockets.end() || it->second->Queue.get() != &queue) continue;
        Evaluate(*it->second, ready[i].Events, false);
    }
    CheckDeadlines(queue);
}

} // namespace

std::recursive_mutex& SocketLock() {
    static auto* lock = new std::recursive_mutex();
    return *lock;
}

std::shared_ptr<SocketRec> FindSocket(std::uintptr_t id) {
    std::lock_guard lock(SocketLock());
    auto it = Sockets().Sockets.find(id);
    return it == Sockets().Sockets.end() ? nullptr : it->second;
}

std::uintptr_t AddSocket(int fd, int type, bool nonBlocking, bool connected) {
    std::lock_guard lock(SocketLock());
    auto rec = std::make_shared<SocketRec>();
    rec->Id = Sockets().Next;
    Sockets().Next += 4;
    rec->Fd = fd;
    rec->Type = type;
    rec->NonBlocking = nonBlocking;
    rec->Connected = connected;
    Sockets().Sockets[rec->Id] = rec;
    return rec->Id;
}

std::shared_ptr<SocketRec> RemoveSocket(std::uintptr_t id) {
    std::lock_guard lock(SocketLock());
    auto it = Sockets().Sockets.find(id);
    if (it == Sockets().Sockets.end()) return nullptr;
    auto rec = it->second;
    Sockets().Sockets.erase(it);
    return rec;
}

void Touch(SocketRec& rec) {
    rec.IdleHits = 0;
    if (rec.Quiet) {
        rec.Quiet = false;
        UpdateWatch(rec);
    }
}

void UpdateWatch(SocketRec& r) {
    std::uint32_t want = 0;
    if (r.Mask != 0 && r.Window != nullptr && r.Queue && !r.Quiet && r.Fd >= 0 && !r.ConnectFailed) {
        if (r.ConnectPending) {
            want = kWatchOut;
        } else if (r.Type != kTypeStream) {
            if (r.ReadArmed && (r.Mask & kFdRead) != 0) want |= kWatchIn;
            if (r.WritePending && (r.Mask & kFdWrite) != 0) want |= kWatchOut;
        } else if (r.Listening) {
            if (r.AcceptArmed && (r.Mask & kFdAccept) != 0) want = kWatchIn;
        } else if (r.Connected && !r.CloseDone) {
            if (r.ReadArmed && (r.Mask & (kFdRead | kFdClose)) != 0) want |= kWatchIn;
            if (r.WritePending && (r.Mask & kFdWrite) != 0) want |= kWatchOut;
        }
    }
    if (want == r.Watched) return;
    if (r.Queue && r.Queue->Watch(r.Fd, r.Id, want, r.Watched)) r.Watched = want;
    if (r.ConnectPending && r.Queue) r.Queue->SetDeadlineTicks(true);
}

void Register(SocketRec& r, HWND window, UINT message, long mask) {
    msgloop::SetEvaluateHook(&EvaluateHook);
    if (r.Queue && r.Watched != 0) r.Queue->Watch(r.Fd, r.Id, 0, r.Watched);
    r.Watched = 0;
    r.Window = mask != 0 ? window : nullptr;
    r.Message = message;
    r.Mask = mask;
    r.Queue = mask != 0 ? msgloop::OwnerQueueOf(window) : nullptr;
    r.ReadArmed = true;
    r.AcceptArmed = true;
    r.Quiet = false;
    r.IdleHits = 0;
    if (!r.ConnectFailed) r.CloseDone = false;
    Evaluate(r, PollNow(r.Fd), true);
}

void Unregister(SocketRec& r) {
    if (r.Queue && r.Watched != 0) r.Queue->Watch(r.Fd, r.Id, 0, r.Watched);
    r.Watched = 0;
    const HWND window = r.Window;
    const UINT message = r.Message;
    const std::uintptr_t id = r.Id;
    msgloop::ForEachQueue([&](msgloop::ThreadQueue& q) { q.RemoveSocket(id, window, message); });
    r.Window = nullptr;
    r.Mask = 0;
    r.Queue.reset();
}

} // namespace sockdetail
