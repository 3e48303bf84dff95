// TMMTimer: a periodic millisecond timer whose OnTimer runs on the thread that owns the component.
// The platform's timer thread only sets this timer's own "fired" flag and, when the flag was clear,
// posts one tick message to the component's hidden window; the window procedure clears the flag and
// calls OnTimer. So ticks that come while the GUI thread is busy merge into one call, at most one tick
// message per timer is ever queued, and one timer's ticks never swallow another's.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/vcl/Components.h"
#include "platform/win/MMSystem.h"
#include "platform/win/Messages.h"

#include <atomic>

namespace Mmtimer {

HARBEK_DECLARE_EXCEPTION(EMMTimerInvalidID, Exception);
HARBEK_DECLARE_EXCEPTION(EMMTimerInvalidParam, Exception);
HARBEK_DECLARE_EXCEPTION(EMMTimerNoCanDo, Exception);

inline constexpr UINT WM_MMTIMER_TICK = WM_USER + 100;

class TMMTimer : public TComponent {
public:
    // Starts at once with Enabled true and Interval 1000, as a streamed component does.
    explicit TMMTimer(TComponent* owner);
    ~TMMTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // The period in force: a running timer reads the period clamped into the device's range.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    void SetOnTimer(TNotifyEvent value) { OnTimer = std::move(value); }
    HWND Handle() const { return window_; }
    UINT TimerId() const { return timerId_; }

    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnTimer;

private:
    UINT SetTimer(UINT period);
    void ResetTimer(UINT period);
    void WndProc(TMessage& message);
    static void MMTimerProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    HWND window_ = nullptr;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    UINT timerId_ = 0;
    std::atomic<bool> fired_{false};
};

} // namespace Mmtimer

using Mmtimer::TMMTimer;
