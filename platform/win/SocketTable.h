// Internal to the windows layer: the table of sockets, their registrations and arm states, and the
// evaluation that turns readiness into notification messages.
//
// Every field of every record is guarded by SocketLock(). System calls that may block run without it.
#pragma once

#include "platform/win/MessageQueue.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace sockdetail {

inline constexpr long kFdRead = 0x01;
inline constexpr long kFdWrite = 0x02;
inline constexpr long kFdAccept = 0x08;
inline constexpr long kFdConnect = 0x10;
inline constexpr long kFdClose = 0x20;
inline constexpr int kTypeStream = 1;

struct SocketRec {
    std::uintptr_t Id = 0;
    int Fd = -1;
    int Type = kTypeStream;
    bool NonBlocking = false;

    // Registration.
    HWND Window = nullptr;
    UINT Message = 0;
    long Mask = 0;
    std::shared_ptr<msgloop::ThreadQueue> Queue;
    std::uint32_t Watched = 0;

    // Arm states.
    bool ReadArmed = true;
    bool AcceptArmed = true;
    bool WritePending = false;
    bool ConnectPending = false;
    DWORD ConnectStart = 0;
    int ConnectError = 0;
    bool ConnectFailed = false;
    bool CloseDone = false;

    // Connection.
    bool Connected = false;
    bool Listening = false;
    bool SendShut = false;
    // The error the connection died of, once seen by a call; FD_CLOSE reports it.
    int ResetError = 0;

    // Evaluations in a row that found readiness but changed nothing; past a few the socket leaves the
    // poll set until its next call, so that a condition nobody can clear never spins the loop.
    int IdleHits = 0;
    bool Quiet = false;
};

// Between WSAStartup and the matching WSACleanup.
bool WinsockStarted();

std::recursive_mutex& SocketLock();
std::shared_ptr<SocketRec> FindSocket(std::uintptr_t id);
std::uintptr_t AddSocket(int fd, int type, bool nonBlocking, bool connected);
std::shared_ptr<SocketRec> RemoveSocket(std::uintptr_t id);

// With the lock held. A call on the socket ends its quiet spell.
void Touch(SocketRec& rec);
void UpdateWatch(SocketRec& rec);
// Registration: replaces it, re-arms and evaluates at once.
void Register(SocketRec& rec, HWND window, UINT message, long mask);
// Takes the socket out of every poll set and drops its queued notifications.
void Unregister(SocketRec& rec);

} // namespace sockdetail
