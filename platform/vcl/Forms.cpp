#include "platform/vcl/Forms.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/DialogWindows.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/FormsInternal.h"
#include "platform/vcl/PropertyReaders.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TestHooks.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QWindow>

#include <algorithm>

using vcl_internal::FormList;

namespace {

// Offscreen windows have no stacking; asking for it only prints warnings.
void RaiseWindow(QWidget* w) {
    if (!vcl_internal::IsOffscreen()) w->raise();
    w->activateWindow();
}

} // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    FormList().push_back(this);
    TControl::SetVisible(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    ApplyWindowFlags();
    SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
    SetDestroying();
    if (drag_ != TFormDrag::None) EndDrag();
    auto& forms = FormList();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (vcl_internal::ActiveFormRef() == this) vcl_internal::ActiveFormRef() = nullptr;
    if (forgetReference_) forgetReference_();
}

void TForm::BeforeDestruction() {
    if (!ComponentState().Contains(csDestroying)) OnDestroy(this);
}

void TForm::LoadDefinition(const std::string& unitName, const TFormBindings& bindings) {
    LoadDefinitionFile(ResolveResourceFile("forms/" + unitName + ".dfm"), bindings);
}

void TForm::LoadDefinitionFile(const std::string& fileName, const TFormBindings& bindings) {
    bindings_ = &bindings;
    LoadComponentDefinitionFile(this, fileName, &bindings);
    OnCreate(this);
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove || !component) return;
    if (component == activeControl_) activeControl_ = nullptr;
    // A component that goes away leaves no dangling field behind.
    if (bindings_ && component->Owner() == this && !component->Name().empty())
        if (const auto* field = bindings_->FindField(component->Name())) field->assign(this, nullptr);
}

void TForm::FrameSize(int& border, int& caption) const {
    switch (borderStyle_) {
    case bsNone:
        border = 0;
        caption = 0;
        break;
    case bsToolWindow:
        border = 3;
        caption = 15;
        break;
    case bsSizeToolWin:
        border = 4;
        caption = 15;
        break;
    case bsSizeable:
        border = 4;
        caption = 19;
        break;
    default:
        border = 3;
        caption = 19;
        break;
    }
}

TRect TForm::ClientRect() const {
    int border = 0, caption = 0;
    FrameSize(border, caption);
    return Rect(0, 0, std::max(Width() - 2 * border, 0), std::max(Height() - 2 * border - caption, 0));
}

TPoint TForm::ClientOrigin() const {
    int border = 0, caption = 0;
    FrameSize(border, caption);
    return Point(Left() + border, Top() + border + caption);
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (borderStyle_ == value) return;
    // The client area keeps its size; the frame around it changes.
    const TRect client = ClientRect();
    borderStyle_ = value;
    ApplyWindowFlags();
    SetClientWidth(client.Width());
    SetClientHeight(client.Height());
    UpdateWindowGeometry();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    borderIcons_ = value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value) {
    formStyle_ = value;
    topmost_ = value == fsStayOnTop;
    ApplyWindowFlags();
}

void TForm::SetTopmost(bool value) {
    if (topmost_ == value) return;
    topmost_ = value;
    ApplyWindowFlags();
}

void TForm::SetAlphaBlend(bool value) {
    alphaBlend_ = value;
    ApplyOpacity();
}

void TForm::SetAlphaBlendValue(BYTE value) {
    alphaBlendValue_ = value;
    ApplyOpacity();
}

void TForm::ApplyOpacity() {
    Peer()->widget->setWindowOpacity(alphaBlend_ ? alphaBlendValue_ / 255.0 : 1.0);
}

void TForm::ApplyWindowFlags() {
    QWidget* w = Peer()->widget;
    TForm* main = vcl_internal::MainFormOrNull();
    // Every window but the main one stands for it on the desktop: no task-bar entry of its own.
    Qt::WindowFlags flags = main != nullptr && main != this ? Qt::Dialog : Qt::Window;
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) flags = Qt::Tool;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_.Contains(biSystemMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderIcons_.Contains(biMinimize) && borderStyle_ != bsDialog)
            flags |= Qt::WindowMinimizeButtonHint;
        if (borderIcons_.Contains(biMaximize) && borderStyle_ == bsSizeable)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (topmost_) flags |= Qt::WindowStaysOnTopHint;
    if (w->windowFlags() == flags) return;
    const bool shown = w->isVisible();
    Peer()->settingGeometry = true;
    w->setWindowFlags(flags);
    Peer()->settingGeometry = false;
    if (shown) {
        UpdateWindowGeometry();
        ApplyTransientParent();
        w->show();
    }
}

void TForm::ApplyTransientParent() {
    vcl_internal::MakeTransientForMainForm(Peer()->widget);
}

void TForm::UpdateWindowGeometry() {
    int border = 0, caption = 0;
    FrameSize(border, caption);
    const TRect client = ClientRect();
    QWidget* w = Peer()->widget;
    Peer()->settingGeometry = true;
    w->setGeometry(Left() + border, Top() + border + caption, client.Width(), client.Height());
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        w->setFixedSize(client.Width(), client.Height());
    }
    Peer()->settingGeometry = false;
}

void TForm::BoundsChanged() {
    TWinControl::BoundsChanged();
    UpdateWindowGeometry();
}

void TForm::WindowGeometryChanged() {
    QWidget* w = Peer()->widget;
    if (!w->isVisible() || windowState_ != wsNormal) return;
    int border = 0, caption = 0;
    FrameSize(border, caption);
    const QRect g = w->geometry();
    Peer()->settingGeometry = true;
    SetBounds(g.x() - border, g.y() - border - caption, g.width() + 2 * border,
              g.height() + 2 * border + caption);
    Peer()->settingGeometry = false;
}

void TForm::TextChanged() {
    Peer()->widget->setWindowTitle(vcl_internal::ToQString(Caption()));
    TWinControl::TextChanged();
}

void TForm::ColorChanged() {
    QWidget* w = Peer()->widget;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, vcl_internal::ToQColor(Color()));
    w->setPalette(p);
    w->setAutoFillBackground(true);
    TWinControl::ColorChanged();
}

void TForm::SetWindowState(TWindowState value) {
    if (windowState_ == value) return;
    windowState_ = value;
    QWidget* w = Peer()->widget;
    if (!Visible()) return;
    if (value == wsMinimized)
        w->showMinimized();
    else if (value == wsMaximized)
        w->showMaximized();
    else
        w->showNormal();
}

void TForm::WindowStateChanged() {
    const Qt::WindowStates s = Peer()->widget->windowState();
    windowState_ = (s & Qt::WindowMinimized)   ? wsMinimized
                   : (s & Qt::WindowMaximized) ? wsMaximized
                                               : wsNormal;
}

bool TForm::Showing() const {
    return Visible();
}

bool TForm::Active() const {
    return vcl_internal::ActiveFormRef() == this;
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || !ContainsControl(control)))
        throw EInvalidOperation("Invalid active control");
    activeControl_ = control;
    if (control && Visible() && control->CanFocus() && !control->Focused())
        control->Peer()->FocusWidget()->setFocus(Qt::OtherFocusReason);
}

void TForm::PlaceOnFirstShow() {
    if (placed_) return;
    placed_ = true;
    TForm* centreOn = nullptr;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: {
        const TRect area = Screen->WorkAreaRect();
        SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
                  Width(), Height());
        return;
    }
    case poMainFormCenter:
        centreOn = Application->MainForm();
        break;
    case poOwnerFormCenter:
        centreOn = dynamic_cast<TForm*>(Owner());
        if (!centreOn) centreOn = Application->MainForm();
        break;
    default:
        return;
    }
    if (centreOn && centreOn != this) {
        const TRect r = centreOn->BoundsRect();
        SetBounds(r.Left + (r.Width() - Width()) / 2, r.Top + (r.Height() - Height()) / 2, Width(), Height());
    }
}

void TForm::SetVisible(bool value) {
    if (value == Visible()) return;
    QWidget* w = Peer()->widget;
    if (value) {
        if (!everShown_) {
            everShown_ = true;
            ApplyWaitingFonts();
        }
        TControl::SetVisible(true);
        PlaceOnFirstShow();
        DoShow();
        if (!Visible() || ComponentState().Contains(csDestroying)) return;
        UpdateWindowGeometry();
        ApplyWindowFlags();
        ApplyTransientParent();
        if (windowState_ == wsMinimized)
            w->showMinimized();
        else if (windowState_ == wsMaximized)
            w->showMaximized();
        else
            w->show();
        RaiseWindow(w);
        Activated(true);
        TWinControl* focus = activeControl_;
        if (focus && focus->CanFocus()) focus->Peer()->FocusWidget()->setFocus(Qt::ActiveWindowFocusReason);
    } else {
        TControl::SetVisible(false);
        DoHide();
        w->hide();
        if (Active()) {
            Activated(false);
            // The activation goes back to the newest visible form, as the window manager would do it.
            auto& forms = FormList();
            for (auto it = forms.rbegin(); it != forms.rend(); ++it)
                if (*it != this && (*it)->Visible()) {
                    (*it)->Activated(true);
                    break;
                }
        }
    }
}

void TForm::SetEnabled(bool value) {
    TWinControl::SetEnabled(value);
}

void TForm::Activated(bool active) {
    TForm*& current = vcl_internal::ActiveFormRef();
    if (active) {
        if (current == this) return;
        if (current) {
            TForm* previous = current;
            current = nullptr;
            previous->active_ = false;
            previous->OnDeactivate(previous);
        }
        current = this;
        active_ = true;
        OnActivate(this);
    } else if (current == this) {
        current = nullptr;
        active_ = false;
        OnDeactivate(this);
    }
}

void TForm::DoShow() {
    OnShow(this);
}
void TForm::DoHide() {
    OnHide(this);
}
void TForm::DoClose(TCloseAction& action) {
    OnClose(this, action);
}

void TForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TForm::Hide() {
    SetVisible(false);
}

void TForm::BringToFront() {
    if (!Visible()) return;
    RaiseWindow(Peer()->widget);
    Activated(true);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TForm::Release() {
    if (releasing_) return;
    releasing_ = true;
    const HWND handle = Handle();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [handle] {
            if (auto* form = dynamic_cast<TForm*>(FindControl(handle))) {
                form->BeforeDestruction();
                delete form;
            }
        },
        Qt::QueuedConnection);
}

void TForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

TModalResult TForm::ShowModal() {
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    SetCaptureControl(nullptr);
    modal_ = true;
    modalResult_ = mrNone;
    struct ModalEnd {
        TForm* form;
        std::vector<TForm*> blocked;
        ~ModalEnd() {
            for (TForm* f : blocked)
                if (std::find(FormList().begin(), FormList().end(), f) != FormList().end())
                    f->BlockInput(false);
            form->modal_ = false;
        }
    } end{this, {}};

    const TModalHook& hook = vcl_internal::ModalHook();
    if (hook) {
        const int answer = hook(*this);
        modalResult_ = answer != mrNone ? answer : modalResult_ != mrNone ? modalResult_ : mrCancel;
        return modalResult_;
    }
    if (auto* message = dynamic_cast<TMessageForm*>(this); message && vcl_internal::IsOffscreen()) {
        modalResult_ = message->CancelResult();
        DebugTrace("TForm::ShowModal", "no answer set for the box \"" + message->MessageText() +
                                           "\"; taking " + IntToStr(modalResult_));
        return modalResult_;
    }

    TForm* previous = vcl_internal::ActiveFormRef();
    for (TForm* f : FormList())
        if (f != this && f->Visible()) {
            f->BlockInput(true);
            end.blocked.push_back(f);
        }
    Show();
    while (modalResult_ == mrNone) {
        Application->HandleMessage();
        if (Application->Terminated())
            modalResult_ = mrCancel;
        else if (modalResult_ != mrNone)
            CloseModal();
    }
    Hide();
    if (previous && previous != this && previous->Visible() &&
        std::find(FormList().begin(), FormList().end(), previous) != FormList().end())
        previous->BringToFront();
    return modalResult_;
}

bool TForm::TakesInput(const TControl* control) const {
    if (inputBlocks_ > 0) return false;
    if (Enabled()) return true;
    for (const TControl* c = control; c != nullptr && c != this; c = c->Parent())
        if (std::find(keptInput_.begin(), keptInput_.end(), c) != keptInput_.end()) return true;
    return false;
}

bool TForm::IsShortCut(WORD key, TShiftState shift) {
    if (!OnShortCut) return false;
    TWMKey message;
    message.CharCode = key;
    message.KeyData = shift.Contains(ssAlt) ? 0x20000000 : 0;
    bool handled = false;
    OnShortCut(message, handled);
    return handled;
}

bool TForm::DialogKey(TWinControl* source, WORD key) {
    if (key != VK_RETURN && key != VK_ESCAPE) return false;
    if (auto* memo = dynamic_cast<TMemo*>(source); key == VK_RETURN && memo && memo->WantReturns())
        return false;
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* button = dynamic_cast<TButton*>(Components(i));
        if (!button || !button->Visible() || !button->Enabled()) continue;
        if ((key == VK_RETURN && button->Default()) || (key == VK_ESCAPE && button->Cancel())) {
            button->Click();
            return true;
        }
    }
    return false;
}

void TForm::StartMoving() {
    SetCaptureControl(nullptr);
    if (!vcl_internal::IsOffscreen()) {
        if (QWindow* window = Peer()->widget->windowHandle(); window && window->startSystemMove()) return;
    }
    RunDrag(TFormDrag::Move, vcl_internal::LastMouseScreenPos());
}

void TForm::StartSizing(TPoint from) {
    SetCaptureControl(nullptr);
    if (!vcl_internal::IsOffscreen()) {
        if (QWindow* window = Peer()->widget->windowHandle();
            window && window->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
            return;
    }
    RunDrag(TFormDrag::Size, from);
}

void TForm::RunDrag(TFormDrag kind, TPoint anchor) {
    drag_ = kind;
    vcl_internal::BeginFormDrag(this, kind, anchor);
    // The drag runs as a loop of its own, as the platform's does: the caller goes on when it ends. A
    // release that never reaches the program (taken by another window) ends it too, and so does one
    // handled before the loop began.
    const bool realPointer = !vcl_internal::IsOffscreen();
    while (drag_ != TFormDrag::None && vcl_internal::LeftButtonHeld() && !Application->Terminated() &&
           !ComponentState().Contains(csDestroying)) {
        Application->HandleMessage();
        if (realPointer && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) break;
    }
    if (drag_ != TFormDrag::None) EndDrag();
}

void TForm::MoveBy(int dx, int dy) {
    SetBounds(Left() + dx, Top() + dy, Width(), Height());
}

void TForm::EndDrag() {
    drag_ = TFormDrag::None;
    vcl_internal::EndFormDrag(this);
}

void TForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_SYSCOMMAND:
        switch (message.WParam & 0xFFF0) {
        case SC_MOVE:
            StartMoving();
            break;
        case SC_MINIMIZE:
            SetWindowState(wsMinimized);
            break;
        case SC_CLOSE:
            Close();
            break;
        default:
            break;
        }
        message.Result = 0;
        break;
    case WM_CLOSE:
        Close();
        message.Result = 0;
        break;
    case WM_ENDSESSION:
        // A form that has nothing to save lets the program end.
        if (message.WParam != 0) Application->Terminate();
        message.Result = 0;
        break;
    case WM_NCLBUTTONDOWN:
        if (message.WParam == HTBOTTOMRIGHT)
            StartSizing(Point(static_cast<short>(LOWORD(static_cast<DWORD>(message.LParam))),
                              static_cast<short>(HIWORD(static_cast<DWORD>(message.LParam)))));
        else
            TWinControl::Dispatch(message);
        message.Result = 0;
        break;
    default:
        TWinControl::Dispatch(message);
        break;
    }
}

void TForm::Loaded() {
    TWinControl::Loaded();
    // Visible = True in a definition shows the form once its constructor is done.
    if (Visible()) {
        TControl::SetVisible(false);
        const HWND handle = Handle();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [handle] {
                if (auto* form = dynamic_cast<TForm*>(FindControl(handle)))
                    vcl_internal::Guarded([form] { form->Show(); });
            },
            Qt::QueuedConnection);
    }
}

bool TForm::ReadProperty(TPropertyReader& r) {
    if (r.Is("BorderStyle")) {
        SetBorderStyle(r.Enum<TFormBorderStyle>({{"bsNone", bsNone},
                                                 {"bsSingle", bsSingle},
                                                 {"bsSizeable", bsSizeable},
                                                 {"bsDialog", bsDialog},
                                                 {"bsToolWindow", bsToolWindow},
                                                 {"bsSizeToolWin", bsSizeToolWin}}));
    } else if (r.Is("BorderIcons")) {
        SetBorderIcons(r.EnumSet<TBorderIcon>({{"biSystemMenu", biSystemMenu},
                                               {"biMinimize", biMinimize},
                                               {"biMaximize", biMaximize},
                                               {"biHelp", biHelp}}));
    } else if (r.Is("Position")) {
        SetPosition(r.Enum<TPosition>({{"poDesigned", poDesigned},
                                       {"poDefault", poDefault},
                                       {"poDefaultPosOnly", poDefaultPosOnly},
                                       {"poDefaultSizeOnly", poDefaultSizeOnly},
                                       {"poScreenCenter", poScreenCenter},
                                       {"poDesktopCenter", poDesktopCenter},
                                       {"poMainFormCenter", poMainFormCenter},
                                       {"poOwnerFormCenter", poOwnerFormCenter}}));
    } else if (r.Is("FormStyle")) {
        SetFormStyle(r.Enum<TFormStyle>({{"fsNormal", fsNormal},
                                         {"fsMDIChild", fsMDIChild},
                                         {"fsMDIForm", fsMDIForm},
                                         {"fsStayOnTop", fsStayOnTop}}));
    } else if (r.Is("WindowState")) {
        SetWindowState(r.Enum<TWindowState>(
            {{"wsNormal", wsNormal}, {"wsMinimized", wsMinimized}, {"wsMaximized", wsMaximized}}));
    } else if (r.Is("AlphaBlend")) {
        SetAlphaBlend(r.Boolean());
    } else if (r.Is("AlphaBlendValue")) {
        const int value = r.Integer();
        if (value < 0 || value > 255) r.Fail("AlphaBlendValue is 0 to 255");
        SetAlphaBlendValue(static_cast<BYTE>(value));
    } else if (r.Is("KeyPreview")) {
        SetKeyPreview(r.Boolean());
    } else if (r.Is("ActiveControl")) {
        r.Reference([this](TComponent* c) {
            auto* control = dynamic_cast<TWinControl*>(c);
            if (!control || !ContainsControl(control) || control == this) return false;
            activeControl_ = control;
            return true;
        });
    } else if (r.Is("Visible")) {
        // Forms appear when they are shown, never while they are being built.
        TControl::SetVisible(r.Boolean());
    } else if (r.Is("OnCreate")) {
        OnCreate = r.Event<TNotifyEvent>();
    } else if (r.Is("OnDestroy")) {
        OnDestroy = r.Event<TNotifyEvent>();
    } else if (r.Is("OnShow")) {
        OnShow = r.Event<TNotifyEvent>();
    } else if (r.Is("OnHide")) {
        OnHide = r.Event<TNotifyEvent>();
    } else if (r.Is("OnActivate")) {
        OnActivate = r.Event<TNotifyEvent>();
    } else if (r.Is("OnDeactivate")) {
        OnDeactivate = r.Event<TNotifyEvent>();
    } else if (r.Is("OnClose")) {
        OnClose = r.Event<TCloseEvent>();
    } else if (r.Is("OnCloseQuery")) {
        OnCloseQuery = r.Event<TCloseQueryEvent>();
    } else if (r.Is("OnShortCut")) {
        OnShortCut = r.Event<TShortCutEvent>();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- what the widgets report ----

void TForm::FocusMovedTo(TWinControl* control) {
    if (control != this && ContainsControl(control)) activeControl_ = control;
}

namespace vcl_internal {

void MakeTransientForMainForm(QWidget* window) {
    TForm* main = MainFormOrNull();
    if (main == nullptr || main->Peer()->widget == window) return;
    QWidget* mainWidget = main->Peer()->widget;
    // Both native windows exist from here on; the hint goes out when the window is mapped.
    mainWidget->winId();
    window->winId();
    if (window->windowHandle() && mainWidget->windowHandle())
        window->windowHandle()->setTransientParent(mainWidget->windowHandle());
}

void FormCloseRequested(TControl* control) {
    if (auto* form = dynamic_cast<TForm*>(control); form && !form->InputBlocked()) form->Close();
}

void FormGeometryChanged(TControl* control) {
    if (auto* form = dynamic_cast<TForm*>(control)) form->WindowGeometryChanged();
}

void FormActivationChanged(TControl* control, bool active) {
    // Another program taking the activation changes nothing among the forms.
    if (auto* form = dynamic_cast<TForm*>(control); form && active && form->Visible()) form->Activated(true);
}

void FormWindowStateChanged(TControl* control) {
    if (auto* form = dynamic_cast<TForm*>(control)) form->WindowStateChanged();
}

void ControlFocusChanged(TWinControl* control, bool entering) {
    if (!entering) return;
    if (TForm* form = control->ParentForm()) form->FocusMovedTo(control);
}

} // namespace vcl_internal
