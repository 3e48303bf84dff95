// Method-pointer events: an object and one of its methods, called later with the event's arguments.
//
// Two events compare equal when they name the same method of the same object, so code can test
// "is my handler still assigned". An event may also wrap a plain callable (tests, adapters); such an
// event only equals itself.
#pragma once

#include "platform/core/Types.h"
#include "platform/vcl/Sets.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <functional>
#include <type_traits>

class TObject;

template <class... Args>
class TEvent {
public:
    TEvent() = default;
    TEvent(std::nullptr_t) {}

    template <class C, class B>
    requires std::is_base_of_v<B, C> TEvent(C* object, void (B::*method)(Args...)) {
        static_assert(sizeof(method) <= sizeof(method_), "member pointer too large");
        if (!object || !method) return;
        B* target = object;
        call_ = [target, method](Args... args) { (target->*method)(std::forward<Args>(args)...); };
        object_ = static_cast<const void*>(target);
        std::memcpy(method_.data(), &method, sizeof(method));
        bound_ = true;
    }

    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TEvent> && !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
             std::is_invocable_v<F&, Args...>) TEvent(F f)
        : call_(std::move(f)) {
        const unsigned long id = NextCallableId();
        std::memcpy(method_.data(), &id, sizeof(id));
    }

    explicit operator bool() const { return static_cast<bool>(call_); }
    bool Assigned() const { return static_cast<bool>(call_); }

    void operator()(Args... args) const {
        if (call_) call_(std::forward<Args>(args)...);
    }

    // The object whose method this event calls (nullptr for a wrapped callable).
    const void* Object() const { return object_; }

    bool operator==(const TEvent& other) const {
        if (!call_ || !other.call_) return !call_ && !other.call_;
        return bound_ == other.bound_ && object_ == other.object_ && method_ == other.method_;
    }
    bool operator==(std::nullptr_t) const { return !call_; }

private:
    static unsigned long NextCallableId() {
        static std::atomic<unsigned long> next{0};
        return ++next;
    }

    std::function<void(Args...)> call_;
    const void* object_ = nullptr;
    std::array<unsigned char, 2 * sizeof(void*)> method_{};
    bool bound_ = false;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

// The form's close action: what Close does with the form after OnClose.
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = TEvent<TObject*>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
// Key is a virtual-key code; a handler that sets it to 0 swallows the key.
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
// Key is the typed character; a handler may replace it, or set it to 0 to swallow it.
using TKeyPressEvent = TEvent<TObject*, char&>;
using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
