#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"
#include "platform/vcl/WinUser.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <map>

namespace {

std::map<HWND, TWinControl*>& HandleMap() {
    static std::map<HWND, TWinControl*> map;
    return map;
}

bool IsWindowed(const TControl* c) {
    return dynamic_cast<const TWinControl*>(c) != nullptr;
}

} // namespace

TWinControl* FindControl(HWND handle) {
    auto it = HandleMap().find(handle);
    return it == HandleMap().end() ? nullptr : it->second;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle(csAcceptsControls));
}

TWinControl::~TWinControl() {
    SetDestroying();
    // Out of the parent's tab order now: once this is only a TControl the parent cannot tell.
    if (TWinControl* parent = Parent()) {
        auto& list = parent->tabList_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    // Children go first, whoever owns them, as the class library does.
    while (!controls_.empty())
        delete controls_.back();
    if (handle_) {
        HandleMap().erase(handle_);
        DeallocateHWnd(handle_);
        handle_ = nullptr;
    }
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return controls_[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->parent_ == this) return;
    controls_.push_back(control);
    control->parent_ = this;
    QWidget* w = control->Peer()->widget;
    w->setParent(Peer()->widget);
    RestackChild(control, true);
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(windowed);
        UpdateTabOrder();
    }
    control->UpdateWidgetGeometry();
    control->UpdateWidgetVisibility();
    if (control->ParentFont()) control->ParentFontChanged();
    if (!control->WidgetFontWaits()) control->ApplyWaitingFonts(); // moved onto a window already shown
    if (control->ParentColor()) control->ParentColorChanged();
    if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), windowed), tabList_.end());
    control->parent_ = nullptr;
    if (QWidget* w = control->Peer() ? control->Peer()->widget : nullptr) {
        w->hide();
        w->setParent(nullptr);
    }
    if (control->Align() != alNone && !ComponentState().Contains(csDestroying)) AlignControls();
}

void TWinControl::RestackChild(TControl* control, bool toFront) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) {
        controls_.erase(it);
        if (toFront)
            controls_.push_back(control);
        else
            controls_.insert(controls_.begin(), control);
    }
    // Graphic controls stay below every windowed sibling, as they paint on their parent.
    QWidget* w = control->Peer()->widget;
    const bool windowed = IsWindowed(control);
    if (windowed == toFront) {
        if (windowed)
            w->raise();
        else
            w->lower();
        return;
    }
    // The windowed siblings sit on top, so the lowest of them is found walking down from the top until
    // the first graphic one.
    QWidget* lowestWindowed = nullptr;
    const QObjectList& children = Peer()->widget->children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        auto* cw = qobject_cast<QWidget*>(*child);
        if (!cw || cw == w) continue;
        TControl* c = vcl_internal::ControlOfWidget(cw);
        if (!c || c->Parent() != this) continue;
        if (!IsWindowed(c)) break;
        lowestWindowed = cw;
    }
    if (lowestWindowed)
        w->stackUnder(lowestWindowed);
    else if (toFront)
        w->raise();
    else
        w->lower();
}

HWND TWinControl::Handle() {
    if (!handle_) {
        handle_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
        HandleMap()[handle_] = this;
    }
    return handle_;
}

void TWinControl::WndProc(TMessage& message) {
    Dispatch(message);
}

bool TWinControl::CanFocus() const {
    if (ComponentState().Contains(csDestroying)) return false;
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
        if (!c->Parent() && !dynamic_cast<const TForm*>(c)) return false;
    }
    return true;
}

bool TWinControl::Focused() const {
    QWidget* focus = QApplication::focusWidget();
    QWidget* mine = Peer()->FocusWidget();
    return focus && (focus == mine || mine->isAncestorOf(focus));
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (TForm* form = ParentForm()) {
        if (form != this) form->SetActiveControl(this);
    }
    Peer()->FocusWidget()->setFocus(Qt::OtherFocusReason);
}

int TWinControl::TabOrder() const {
    TWinControl* p = Parent();
    if (!p) return -1;
    auto it = std::find(p->tabList_.begin(), p->tabList_.end(), this);
    return it == p->tabList_.end() ? -1 : static_cast<int>(it - p->tabList_.begin());
}

void TWinControl::SetTabOrder(int value) {
    TWinControl* p = Parent();
    if (!p) return;
    auto& list = p->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
    p->UpdateTabOrder();
}

void TWinControl::SetTabStop(bool value) {
    tabStop_ = value;
    QWidget* w = Peer()->FocusWidget();
    if (Peer()->inner)
        w->setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
    else
        w->setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TWinControl::UpdateTabOrder() {
    for (std::size_t i = 1; i < tabList_.size(); ++i)
        QWidget::setTabOrder(tabList_[i - 1]->Peer()->FocusWidget(), tabList_[i]->Peer()->FocusWidget());
}

void TWinControl::AlignControls() {
    if (aligning_ || ComponentState().Contains(csDestroying)) return;
    aligning_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{aligning_};
    TRect r = ClientRect();
    auto take = [&](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop:
                return a->Top() < b->Top();
            case alBottom:
                return a->Top() + a->Height() > b->Top() + b->Height();
            case alLeft:
                return a->Left() < b->Left();
            case alRight:
                return a->Left() + a->Width() > b->Left() + b->Width();
            default:
                return false;
            }
        });
        return list;
    };
    for (TControl* c : take(alTop)) {
        c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
        r.Top += c->Height();
    }
    for (TControl* c : take(alBottom)) {
        c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
        r.Bottom -= c->Height();
    }
    for (TControl* c : take(alLeft)) {
        c->SetBounds(r.Left, r.Top, c->Width(), std::max(r.Height(), 0));
        r.Left += c->Width();
    }
    for (TControl* c : take(alRight)) {
        c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), std::max(r.Height(), 0));
        r.Right -= c->Width();
    }
    for (TControl* c : take(alClient))
        c->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
}

void TWinControl::UpdateChildGeometry() {
    for (TControl* c : controls_)
        c->UpdateWidgetGeometry();
}

void TWinControl::BoundsChanged() {
    TControl::BoundsChanged();
    AlignControls();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : controls_)
        c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : controls_)
        c->ParentColorChanged();
}

bool TWinControl::HandleKeyDown(WORD& key, TShiftState shift) {
    TForm* form = ParentForm();
    if (form && form->IsShortCut(key, shift)) return false;
    // A key pressed in any of the program's windows is the main window's short-cut too, while that
    // window takes input; a key it handles goes no further.
    TForm* main = Application->MainForm();
    if (main && main != form && !main->InputBlocked() && main->IsShortCut(key, shift)) return false;
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0) return false;
    }
    KeyDown(key, shift);
    if (key == 0) return false;
    if (form && form->DialogKey(this, key)) return false;
    return true;
}

bool TWinControl::HandleKeyPress(char& key) {
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(key);
        if (key == 0) return false;
    }
    KeyPress(key);
    return key != 0;
}

bool TWinControl::HandleKeyUp(WORD& key, TShiftState shift) {
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(key, shift);
        if (key == 0) return false;
    }
    KeyUp(key, shift);
    return key != 0;
}

void TWinControl::HandleFocus(bool entering) {
    vcl_internal::ControlFocusChanged(this, entering);
    if (entering)
        DoEnter();
    else
        DoExit();
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    OnKeyDown(this, key, shift);
}
void TWinControl::KeyPress(char& key) {
    OnKeyPress(this, key);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    OnKeyUp(this, key, shift);
}
void TWinControl::DoEnter() {
    OnEnter(this);
}
void TWinControl::DoExit() {
    OnExit(this);
}

bool TWinControl::ReadProperty(TPropertyReader& r) {
    if (r.Is("TabOrder")) {
        SetTabOrder(r.Integer());
    } else if (r.Is("TabStop")) {
        SetTabStop(r.Boolean());
    } else if (r.Is("OnKeyDown")) {
        OnKeyDown = r.Event<TKeyEvent>();
    } else if (r.Is("OnKeyPress")) {
        OnKeyPress = r.Event<TKeyPressEvent>();
    } else if (r.Is("OnKeyUp")) {
        OnKeyUp = r.Event<TKeyEvent>();
    } else if (r.Is("OnEnter")) {
        OnEnter = r.Event<TNotifyEvent>();
    } else if (r.Is("OnExit")) {
        OnExit = r.Event<TNotifyEvent>();
    } else {
        return TControl::ReadProperty(r);
    }
    return true;
}
