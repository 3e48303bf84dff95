// Helpers of the windows-layer tests: bounded pumping, a window that records socket notifications and
// the calling thread's processor time.
#pragma once

#include "platform/win/Application.h"
#include "platform/win/Messages.h"

#include "platform/core/Threads.h"

#include <chrono>
#include <cstdint>
#include <sys/resource.h>
#include <vector>

namespace wintest {

inline constexpr UINT kSocketMessage = WM_USER + 1;

// Pumps as the system's wait loops do, until the condition holds or the time runs out.
template <typename Pred>
bool PumpUntil(Pred done, int milliseconds = 2000) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        CurrentApplication().ProcessMessages();
        Sleep(0);
    }
    return true;
}

inline void PumpFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

// User and system time of the calling thread so far.
inline double ThreadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Note {
    std::uintptr_t Socket;
    WORD Event;
    WORD Error;
    bool operator==(const Note&) const = default;
};

// A hidden window that records every socket notification it gets.
class NoteWindow {
public:
    NoteWindow() {
        Handle = AllocateHWnd([this](TMessage& m) {
            if (m.Msg == kSocketMessage) Notes.push_back(Note{m.WParam, m.LParamLo(), m.LParamHi()});
        });
    }
    ~NoteWindow() { DeallocateHWnd(Handle); }
    NoteWindow(const NoteWindow&) = delete;
    NoteWindow& operator=(const NoteWindow&) = delete;

    std::vector<Note> For(std::uintptr_t socket) const {
        std::vector<Note> out;
        for (const auto& n : Notes)
            if (n.Socket == socket) out.push_back(n);
        return out;
    }
    std::size_t Count(std::uintptr_t socket, WORD event) const {
        std::size_t count = 0;
        for (const auto& n : Notes)
            count += (n.Socket == socket && n.Event == event) ? 1 : 0;
        return count;
    }
    bool WaitFor(std::uintptr_t socket, WORD event, std::size_t count = 1, int milliseconds = 2000) {
        return PumpUntil([&] { return Count(socket, event) >= count; }, milliseconds);
    }

    HWND Handle = nullptr;
    std::vector<Note> Notes;
};

} // namespace wintest
