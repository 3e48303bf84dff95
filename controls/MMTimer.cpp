#include "controls/MMTimer.h"

#include "controls/SkinControls.h"

#include "platform/vcl/FormReader.h"
#include "platform/win/Application.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Mmtimer {

TMMTimer::TMMTimer(TComponent* owner) : TComponent(owner) {
    window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    if (interval_ != 0 && enabled_) interval_ = SetTimer(interval_);
}

TMMTimer::~TMMTimer() {
    // No callback runs after the event is killed, so `this` is never touched again by the timer thread.
    try {
        SetEnabled(false);
    } catch (const std::exception&) {
    }
    DeallocateHWnd(window_);
}

void TMMTimer::SetEnabled(bool value) {
    if (!value && enabled_)
        ResetTimer(interval_);
    else if (value && !enabled_)
        interval_ = SetTimer(interval_);
    enabled_ = value;
}

void TMMTimer::SetInterval(unsigned value) {
    if (!enabled_) {
        interval_ = value;
        return;
    }
    if (value == interval_) return;
    ResetTimer(interval_);
    interval_ = value;
    interval_ = SetTimer(interval_);
}

UINT TMMTimer::SetTimer(UINT period) {
    if (period == 0) return 0;
    TIMECAPS caps;
    if (timeGetDevCaps(&caps, sizeof(caps)) != TIMERR_NOERROR)
        throw EMMTimerInvalidID("<timeGetDevCaps> Error !!");
    period = std::clamp(period, caps.wPeriodMin, caps.wPeriodMax);
    const MMRESULT begun = timeBeginPeriod(period);
    if (begun == TIMERR_NOCANDO) {
        timeEndPeriod(period);
        throw EMMTimerNoCanDo("Specified timer event does not exist.");
    }
    if (begun != TIMERR_NOERROR) throw EMMTimerInvalidID("<timeBeginPeriod> Error !!");
    fired_ = false;
    timerId_ = timeSetEvent(period, period, &TMMTimer::MMTimerProc, reinterpret_cast<DWORD_PTR>(this),
                            TIME_PERIODIC);
    if (timerId_ == 0) {
        timeEndPeriod(period);
        throw EMMTimerInvalidID("<timeSetEvent> Error !!");
    }
    return period;
}

void TMMTimer::ResetTimer(UINT period) {
    if (period == 0 || timerId_ == 0) return;
    const MMRESULT killed = timeKillEvent(timerId_);
    timerId_ = 0;
    // A tick of the stopped run that is still queued finds the flag clear and fires nothing.
    fired_ = false;
    if (killed == MMSYSERR_INVALPARAM) {
        timeEndPeriod(period);
        throw EMMTimerInvalidParam("Specified timer event does not exist.");
    }
    if (killed == TIMERR_NOCANDO) {
        timeEndPeriod(period);
        throw EMMTimerInvalidParam("Resolution specified in uPeriod is out of range.");
    }
    if (timeEndPeriod(period) == TIMERR_NOCANDO)
        throw EMMTimerInvalidParam("Resolution specified in uPeriod is out of range.");
}

void TMMTimer::MMTimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* self = reinterpret_cast<TMMTimer*>(user);
    // Set before posting, so the message handled next always finds it; post only when it was clear.
    if (!self->fired_.exchange(true)) PostMessage(self->window_, WM_MMTIMER_TICK, 0, 0);
}

void TMMTimer::WndProc(TMessage& m) {
    if (m.Msg != WM_MMTIMER_TICK) {
        m.Result = DefWindowProc(window_, m.Msg, m.WParam, m.LParam);
        return;
    }
    if (timerId_ == 0 || !fired_.exchange(false)) return;
    try {
        OnTimer(this);
    } catch (const std::exception& e) {
        CurrentApplication().HandleException(e);
    } catch (...) {
        CurrentApplication().HandleUnknownException();
    }
}

bool TMMTimer::ReadProperty(TPropertyReader& r) {
    if (r.Is("Enabled")) {
        SetEnabled(r.Boolean());
    } else if (r.Is("Interval")) {
        const std::int64_t value = r.Int64();
        if (value < 0 || value > 0xFFFFFFFFLL) r.Fail("interval out of range");
        SetInterval(static_cast<unsigned>(value));
    } else if (r.Is("OnTimer")) {
        OnTimer = r.Event<TNotifyEvent>();
    } else {
        return TComponent::ReadProperty(r);
    }
    return true;
}

} // namespace Mmtimer
