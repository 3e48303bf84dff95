// The ways the desktop ends the program from outside: the end of the desktop session and the
// termination signals. Both reach the main form as WM_ENDSESSION, posted, while the application runs.
#include "platform/vcl/FormsInternal.h"

#include "platform/core/Debug.h"
#include "platform/win/Termination.h"

#include <QCoreApplication>
#include <QEvent>

namespace vcl_internal {

namespace {

// The session manager's last word reaches the application as a quit event, which would otherwise
// close every window at once.
class TSessionQuitFilter : public QObject {
public:
    explicit TSessionQuitFilter(HWND target) : target_(target) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) return false;
        DebugTrace("TApplication::Run", "the desktop session ends");
        PostMessage(target_, WM_ENDSESSION, TRUE, 0);
        return true;
    }

private:
    HWND target_;
};

} // namespace

TEndOfSessionRoutes::TEndOfSessionRoutes(HWND target) {
    if (target == nullptr) return;
    filter_ = new TSessionQuitFilter(target);
    QCoreApplication::instance()->installEventFilter(filter_);
    ForwardTerminationSignals(target, WM_ENDSESSION);
}

TEndOfSessionRoutes::~TEndOfSessionRoutes() {
    if (filter_ == nullptr) return;
    StopTerminationSignals();
    delete filter_;
}

} // namespace vcl_internal
