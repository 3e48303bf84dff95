// The application object, the screen object and the list of forms.
#include "platform/core/AppPaths.h"
#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/BitmapFileCache.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/FontMap.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/FormsInternal.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <filesystem>

namespace {

TApplication* gApplication = nullptr;
TScreen* gScreen = nullptr;

std::string ProgramName() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("Harbek") : exe.stem().string();
}

} // namespace

namespace vcl_internal {

std::vector<TForm*>& FormList() {
    static std::vector<TForm*> forms;
    return forms;
}

TForm*& ActiveFormRef() {
    static TForm* active = nullptr;
    return active;
}

TForm* MainFormOrNull() {
    return gApplication != nullptr ? gApplication->MainForm() : nullptr;
}

void ResetApplicationObjects() {
    delete gApplication;
    gApplication = nullptr;
    delete gScreen;
    gScreen = nullptr;
}

} // namespace vcl_internal

TApplication* TApplicationRef::operator->() const {
    if (!gApplication) {
        vcl_internal::EnsureGuiApplication();
        gApplication = new TApplication();
    }
    return gApplication;
}

TScreen* TScreenRef::operator->() const {
    if (!gScreen) {
        vcl_internal::EnsureGuiApplication();
        gScreen = new TScreen();
    }
    return gScreen;
}

// ---- TApplication ----

TApplication::TApplication() : TComponent(nullptr), title_(ProgramName()) {
    vcl_internal::EnsureGuiApplication();
    vcl_internal::InstallApplicationFilter();
    SetCurrentApplication(this);
}

TApplication::~TApplication() {
    // Forms go newest first, each told before it goes.
    while (ComponentCount() > 0) {
        TComponent* last = Components(ComponentCount() - 1);
        if (auto* form = dynamic_cast<TForm*>(last)) form->BeforeDestruction();
        delete last;
    }
    if (handle_) {
        DeallocateHWnd(handle_);
        handle_ = nullptr;
    }
    SetCurrentApplication(nullptr);
    if (gApplication == this) gApplication = nullptr;
}

void TApplication::Initialize() {
    StartFontConfiguration();
    vcl_internal::EnsureGuiApplication();
    vcl_internal::LoadToolkitTranslations(GetUserDefaultLangID());
}

void TApplication::FormCreated(TForm* form) {
    if (!mainForm_) mainForm_ = form;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

TApplication::TMainFormLoading::TMainFormLoading(bool main) : main_(main) {
    if (main_) vcl_internal::SetDecodeAhead(true);
}

TApplication::TMainFormLoading::~TMainFormLoading() {
    if (main_) vcl_internal::SetDecodeAhead(false);
}

void TApplication::CreateDeferredForms() {
    // A form's creation may defer or use others: take the list as it grows.
    for (std::size_t i = 0; i < deferred_.size(); ++i) {
        const std::function<void()> create = deferred_[i];
        create();
    }
    deferred_.clear();
}

void TApplication::Run() {
    // The desktop's ways of ending the program reach the main form from its first showing on.
    const vcl_internal::TEndOfSessionRoutes routes(mainForm_ ? mainForm_->Handle() : nullptr);
    if (mainForm_ && showMainForm_) {
        mainForm_->Show();
        // The main window reaches the screen before the windows that are still hidden are built.
        ProcessMessages();
    }
    CreateDeferredForms();
    DebugTrace("TApplication::Run", "every window is there; handling messages");
    while (!Terminated())
        HandleMessage();
}

void TApplication::Minimize() {
    for (TForm* form : vcl_internal::FormList())
        if (form->Visible()) form->Peer()->widget->showMinimized();
}

void TApplication::Restore() {
    for (TForm* form : vcl_internal::FormList())
        if (form->Visible() && form->Peer()->widget->isMinimized()) form->Peer()->widget->showNormal();
}

void TApplication::BringToFront() {
    if (TForm* active = vcl_internal::ActiveFormRef())
        active->BringToFront();
    else if (mainForm_)
        mainForm_->BringToFront();
}

void TApplication::HandleException(const std::exception& e) {
    if (dynamic_cast<const EAbort*>(&e)) return;
    ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    TMsgDlgType type = mtCustom;
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        type = mtError;
        break;
    case MB_ICONQUESTION:
        type = mtConfirmation;
        break;
    case MB_ICONWARNING:
        type = mtWarning;
        break;
    case MB_ICONINFORMATION:
        type = mtInformation;
        break;
    default:
        break;
    }
    TMsgDlgButtons buttons{mbOK};
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        buttons = TMsgDlgButtons{mbOK, mbCancel};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = TMsgDlgButtons{mbAbort, mbRetry, mbIgnore};
        break;
    case MB_YESNOCANCEL:
        buttons = TMsgDlgButtons{mbYes, mbNo, mbCancel};
        break;
    case MB_YESNO:
        buttons = TMsgDlgButtons{mbYes, mbNo};
        break;
    case MB_RETRYCANCEL:
        buttons = TMsgDlgButtons{mbRetry, mbCancel};
        break;
    default:
        break;
    }
    std::unique_ptr<TForm> box(CreateMessageDialog(text, type, buttons));
    box->SetCaption(caption);
    // Modal results and the box's results share their numbers (mrOk = IDOK, ...).
    return box->ShowModal();
}

void TApplication::SetHint(const std::string& value) {
    hint_ = value;
    OnHint(this);
}

HWND TApplication::Handle() {
    if (!handle_) handle_ = AllocateHWnd([](TMessage& m) { m.Result = 0; });
    return handle_;
}

// ---- TScreen ----

TScreen::TScreen() : TComponent(nullptr) {}

int TScreen::Width() const {
    if (testScreen_.Width() > 0) return testScreen_.Width();
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
    if (testScreen_.Height() > 0) return testScreen_.Height();
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TRect TScreen::WorkAreaRect() const {
    if (testWorkArea_.Width() > 0) return testWorkArea_;
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return TRect{};
    const QRect r = s->availableGeometry();
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void TScreen::SetTestGeometry(const TRect& screen, const TRect& workArea) {
    testScreen_ = screen;
    testWorkArea_ = workArea;
}

void TScreen::SetCursor(TCursor value) {
    if (value == cursor_) return;
    if (cursor_ != crDefault) QGuiApplication::restoreOverrideCursor();
    cursor_ = value;
    if (value != crDefault) QGuiApplication::setOverrideCursor(QCursor(vcl_internal::QtCursorShape(value)));
}

TForm* TScreen::ActiveForm() const {
    return vcl_internal::ActiveFormRef();
}

TWinControl* TScreen::ActiveControl() const {
    TForm* form = ActiveForm();
    return form ? form->ActiveControl() : nullptr;
}

int TScreen::FormCount() const {
    return static_cast<int>(vcl_internal::FormList().size());
}

TForm* TScreen::Forms(int index) const {
    const auto& forms = vcl_internal::FormList();
    if (index < 0 || index >= static_cast<int>(forms.size()))
        throw EListError(Format("List index out of bounds (%d)", index));
    return forms[static_cast<std::size_t>(index)];
}
