#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/QtSupport.h"

#include <QTimer>

struct TTimer::Impl {
    QTimer timer;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    vcl_internal::EnsureGuiApplication();
    impl_ = std::make_unique<Impl>();
    impl_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] { vcl_internal::Guarded([this] { Fire(); }); });
    Update();
}

TTimer::~TTimer() {
    impl_->timer.stop();
}

void TTimer::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Update();
}

void TTimer::SetInterval(unsigned value) {
    if (interval_ == value) return;
    interval_ = value;
    Update();
}

void TTimer::Update() {
    impl_->timer.stop();
    // Definitions set Enabled and Interval one after the other; the timer starts once both are read.
    if (enabled_ && interval_ > 0 && !ComponentState().Contains(csLoading))
        impl_->timer.start(static_cast<int>(std::min<unsigned>(interval_, 0x7FFFFFFF)));
}

void TTimer::Fire() {
    if (enabled_ && !ComponentState().Contains(csDestroying)) OnTimer(this);
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

bool TTimer::ReadProperty(TPropertyReader& r) {
    if (r.Is("Enabled")) {
        SetEnabled(r.Boolean());
    } else if (r.Is("Interval")) {
        const std::int64_t value = r.Int64();
        if (value < 0 || value > 0x7FFFFFFF) r.Fail("interval out of range");
        SetInterval(static_cast<unsigned>(value));
    } else if (r.Is("OnTimer")) {
        OnTimer = r.Event<TNotifyEvent>();
    } else {
        return TComponent::ReadProperty(r);
    }
    return true;
}
