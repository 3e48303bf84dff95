// Forms, the application object and the screen.
//
// A form is a top-level window. Its definition is loaded by the derived class's constructor:
//     TFrmLog::TFrmLog(TComponent* owner) : TForm(owner) {
//         LoadDefinition("formlog", Bindings());   // resources/forms/formlog.dfm
//         ... the rest of the constructor sees every component in place
//     }
// with a table of the fields and methods the definition may name:
//     const TFormBindings& TFrmLog::Bindings() {
//         static const TFormBindings b = TFormBindings()
//             .AddField("BtnOk", &TFrmLog::BtnOk)
//             .AddMethod("BtnOkClick", &TFrmLog::BtnOkClick);
//         return b;
//     }
// A form's Left, Top, Width and Height include a nominal window frame (none for bsNone); ClientWidth
// and ClientHeight are the area the form's controls lie in.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/Application.h"

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The border of controls (panels, list boxes, edits): bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// The key message a form's short-cut handler gets.
struct TWMKey {
    UINT Msg = WM_KEYDOWN;
    WORD CharCode = 0;
    WORD Unused = 0;
    LONG KeyData = 0;
    LRESULT Result = 0;
};
using TShortCutEvent = TEvent<TWMKey&, bool&>;

class TButton;

// What the mouse is doing to a form's window: nothing, moving it or sizing it.
enum class TFormDrag { None, Move, Size };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    // Kept above every window that is not topmost itself (fsStayOnTop, or SetWindowPos HWND_TOPMOST).
    bool Topmost() const { return topmost_; }
    void SetTopmost(bool value);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);
    // While AlphaBlend is on the window is drawn with the opacity AlphaBlendValue (0 clear, 255 opaque).
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    BYTE AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(BYTE value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // The form is the application's active window.
    bool Active() const;
    bool Modal() const { return modal_; }
    // The form has been shown at least once.
    bool EverShown() const { return everShown_; }
    // The control (a way out, such as a power button) still takes the mouse while the form is disabled;
    // behind a modal form it takes nothing, as the rest of the form.
    void KeepInputWhileDisabled(TControl* control) { keptInput_.push_back(control); }

    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    bool Showing() const override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;

    void Show();
    void Hide();
    // OnCloseQuery, then OnClose with caHide (the main form: ends Run; a modal form: mrCancel).
    void Close();
    bool CloseQuery();
    // Deletes the form once the messages being handled are done.
    void Release();
    // Shows the form, disables the other forms and waits until ModalResult is set; the test hook of
    // FormTesting.h answers instead when one is set.
    TModalResult ShowModal();
    void BringToFront();
    // Moves the window with the mouse until the left button is released (what the system command
    // SC_DRAGMOVE does); the window manager's own move where it offers one.
    void StartMoving();
    bool Moving() const { return drag_ == TFormDrag::Move; }
    // Sizes the window from its bottom-right corner, which follows the mouse from `from` (the screen
    // point where the left button went down) until the button is released: what WM_NCLBUTTONDOWN with
    // HTBOTTOMRIGHT and that point does. The window manager's own sizing where it offers one.
    void StartSizing(TPoint from);
    bool Sizing() const { return drag_ == TFormDrag::Size; }

    bool ReadProperty(TPropertyReader& reader) override;
    void Loaded() override;
    void Dispatch(TMessage& message) override;
    // Fires OnDestroy while the form is still whole; the application and Release call it before they
    // delete a form (a plain delete does not).
    void BeforeDestruction();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    // Platform-internal.
    bool IsShortCut(WORD key, TShiftState shift);
    bool DialogKey(TWinControl* source, WORD key);
    void Activated(bool active);
    void WindowGeometryChanged();
    void WindowStateChanged();
    void MoveBy(int dx, int dy);
    void FocusMovedTo(TWinControl* control);
    void EndDrag();
    bool InputBlocked() const { return !Enabled() || inputBlocks_ > 0; }
    // Input for the control (of this form; null for the form itself) reaches it.
    bool TakesInput(const TControl* control) const;
    void BlockInput(bool block) { inputBlocks_ += block ? 1 : -1; }

protected:
    // resources/forms/<unitName>.dfm, with the form's fields and methods.
    void LoadDefinition(const std::string& unitName, const TFormBindings& bindings);
    // The same from any file (tests, tools).
    void LoadDefinitionFile(const std::string& fileName, const TFormBindings& bindings);
    void Notification(TComponent* component, TOperation operation) override;
    void BoundsChanged() override;
    void TextChanged() override;
    void ColorChanged() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);

private:
    friend class TApplication;
    // Clears the variable CreateForm filled, so a destroyed form never leaves it dangling.
    std::function<void()> forgetReference_;
    void ApplyWindowFlags();
    // Secondary windows are transient for the main form's window.
    void ApplyTransientParent();
    void ApplyOpacity();
    void UpdateWindowGeometry();
    void PlaceOnFirstShow();
    void FrameSize(int& border, int& caption) const;
    void CloseModal();
    void RunDrag(TFormDrag kind, TPoint anchor);

    const TFormBindings* bindings_ = nullptr;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = TBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;
    bool modal_ = false;
    bool active_ = false;
    bool placed_ = false;
    bool everShown_ = false;
    TFormDrag drag_ = TFormDrag::None;
    bool releasing_ = false;
    int inputBlocks_ = 0;
    std::vector<TControl*> keptInput_;
    bool topmost_ = false;
    bool alphaBlend_ = false;
    BYTE alphaBlendValue_ = 255;
};

template <class T>
class TFormVar;

// The application: creates the GUI toolkit, owns the forms, runs the message loop and shows the
// exceptions nobody caught.
class TApplication : public TComponent, public TCustomApplication {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    // Creates a form owned by the application; the first one created becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        const TMainFormLoading loading(mainForm_ == nullptr);
        T* form = new T(this);
        reference = form;
        form->forgetReference_ = [&reference, form] {
            if (reference == form) reference = nullptr;
        };
        FormCreated(form);
    }
    template <class T>
    void CreateForm(TFormVar<T>& reference);
    // Leaves the form to be created at the variable's first use, or by CreateDeferredForms, whichever
    // comes first.
    template <class T>
    void DeferForm(TFormVar<T>& reference);
    // Creates the deferred forms not yet used, in the order they were deferred.
    void CreateDeferredForms();
    // Shows the main form, creates the deferred forms once it has had its first paint, and handles
    // messages until the main form is closed. Meanwhile the end of the desktop session and the signals
    // SIGTERM, SIGHUP and SIGINT reach the main form as a posted WM_ENDSESSION (wParam TRUE, lParam
    // the signal or 0); a form that does not handle it ends the application.
    void Run();
    TForm* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }

    void Minimize();
    void Restore();
    void BringToFront();
    // An error box with the exception's message (a full stop is added when it has none).
    void ShowException(const std::exception& e);
    void HandleException(const std::exception& e) override;
    // A message box of the class library (MB_OK, MB_OKCANCEL, MB_YESNO ...); returns IDOK and friends.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }
    HWND Handle();

    TNotifyEvent OnHint;

    // Platform-internal.
    void FormCreated(TForm* form);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // While the main form is built its pictures are decoded ahead, on a thread of their own: it is
    // shown next.
    struct TMainFormLoading {
        explicit TMainFormLoading(bool main);
        ~TMainFormLoading();
        TMainFormLoading(const TMainFormLoading&) = delete;
        TMainFormLoading& operator=(const TMainFormLoading&) = delete;
        bool main_;
    };
    TForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    std::vector<std::function<void()>> deferred_;
    std::string hint_;
    std::string title_;
    HWND handle_ = nullptr;
};

class TScreen : public TComponent {
public:
    TScreen();
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }
    // crDefault lets every control show its own cursor; anything else is shown everywhere.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    TForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const;
    TForm* Forms(int index) const;

    // Tests pretend a desktop of another size (an empty rectangle returns to the real one).
    void SetTestGeometry(const TRect& screen, const TRect& workArea);

private:
    TCursor cursor_ = crDefault;
    TRect testScreen_;
    TRect testWorkArea_;
};

// The globals, created on first use.
struct TApplicationRef {
    TApplication* operator->() const;
    TApplication& operator*() const { return *operator->(); }
    operator TApplication*() const { return operator->(); }
};
struct TScreenRef {
    TScreen* operator->() const;
    TScreen& operator*() const { return *operator->(); }
    operator TScreen*() const { return operator->(); }
};
inline constexpr TApplicationRef Application{};
inline constexpr TScreenRef Screen{};

// A program's window variable, used as the window's pointer: empty until the window is created and
// again once it is destroyed. A window whose creation was deferred is created at the first use.
template <class T>
class TFormVar {
public:
    constexpr TFormVar() = default;
    TFormVar(const TFormVar&) = delete;
    TFormVar& operator=(const TFormVar&) = delete;
    TFormVar& operator=(T* form) {
        form_ = form;
        deferred_ = false;
        return *this;
    }
    T* Get() const {
        if (deferred_ && !form_) {
            deferred_ = false;
            Application->CreateForm(const_cast<TFormVar&>(*this));
        }
        return form_;
    }
    T* operator->() const { return Get(); }
    operator T*() const { return Get(); }
    // Runs `apply` on the window now if it exists, else right after it is created, so that setting
    // something on a window does not build it before its time.
    void WhenCreated(std::function<void(T*)> apply) {
        if (form_) {
            apply(form_);
        } else if (deferred_) {
            whenCreated_.push_back(std::move(apply));
        }
    }

private:
    friend class TApplication;
    T* form_ = nullptr;
    mutable bool deferred_ = false;
    std::vector<std::function<void(T*)>> whenCreated_;
};

template <class T>
void TApplication::CreateForm(TFormVar<T>& reference) {
    reference.deferred_ = false;
    const TMainFormLoading loading(mainForm_ == nullptr);
    T* form = new T(this);
    reference.form_ = form;
    form->forgetReference_ = [&reference, form] {
        if (reference.form_ == form) reference.form_ = nullptr;
    };
    FormCreated(form);
    for (auto& apply : std::exchange(reference.whenCreated_, {}))
        apply(form);
}

template <class T>
void TApplication::DeferForm(TFormVar<T>& reference) {
    if (reference.form_) return;
    reference.deferred_ = true;
    deferred_.push_back([&reference] { reference.Get(); });
}
