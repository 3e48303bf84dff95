#include "platform/vcl/Dialogs.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/DialogWindows.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TestHooks.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

using vcl_internal::FromQString;
using vcl_internal::ToQString;

// ---- hooks ----

namespace {

TModalHook gModalHook;
TFileDialogHook gFileHook;
TFolderDialogHook gFolderHook;
TPopupMenuHook gMenuHook;

} // namespace

TModalHook SetModalHook(TModalHook hook) {
    return std::exchange(gModalHook, std::move(hook));
}
TFileDialogHook SetFileDialogHook(TFileDialogHook hook) {
    return std::exchange(gFileHook, std::move(hook));
}
TFolderDialogHook SetFolderDialogHook(TFolderDialogHook hook) {
    return std::exchange(gFolderHook, std::move(hook));
}
TPopupMenuHook SetPopupMenuHook(TPopupMenuHook hook) {
    return std::exchange(gMenuHook, std::move(hook));
}

namespace vcl_internal {
const TModalHook& ModalHook() {
    return gModalHook;
}
const TFileDialogHook& FileDialogHook() {
    return gFileHook;
}
const TFolderDialogHook& FolderDialogHook() {
    return gFolderHook;
}
const TPopupMenuHook& PopupMenuHook() {
    return gMenuHook;
}
} // namespace vcl_internal

// ---- open dialogs and their handles ----

namespace vcl_internal {

namespace {
std::vector<std::pair<HWND, QPointer<QDialog>>>& OpenDialogs() {
    static std::vector<std::pair<HWND, QPointer<QDialog>>> dialogs;
    return dialogs;
}
} // namespace

int ExecDialog(QDialog* dialog, HWND* handle) {
    QPointer<QDialog> guard(dialog);
    const HWND h = AllocateHWnd([guard](TMessage& m) {
        if (m.Msg == WM_CLOSE && guard) guard->reject();
        m.Result = 0;
    });
    OpenDialogs().emplace_back(h, guard);
    if (handle) *handle = h;
    struct Done {
        HWND h;
        HWND* handle;
        ~Done() {
            auto& list = OpenDialogs();
            list.erase(
                std::remove_if(list.begin(), list.end(), [this](const auto& e) { return e.first == h; }),
                list.end());
            if (handle) *handle = nullptr;
            DeallocateHWnd(h);
        }
    } done{h, handle};
    // Not QDialog::exec: that loop ends at the dialog's first hide, and the toolkit hides a shown window
    // whenever it re-creates it (a change of its window flags), then shows it again application-modal
    // with no loop left to end that modality, which blocks every other window for good. This loop ends
    // only with an answer (accept, reject, WM_CLOSE) or the program's end, and the dialog is hidden
    // while it is still modal, which is what gives the other windows their input back.
    std::optional<int> answer;
    const QMetaObject::Connection finished =
        QObject::connect(dialog, &QDialog::finished, [&answer](int result) { answer = result; });
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setResult(QDialog::Rejected);
    MakeTransientForMainForm(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    while (!answer && guard && !Application->Terminated())
        Application->HandleMessage();
    if (!guard) return QDialog::Rejected;
    QObject::disconnect(finished);
    dialog->hide();
    return answer.value_or(QDialog::Rejected);
}

QWidget* DialogOfHandle(HWND handle) {
    for (const auto& [h, dialog] : OpenDialogs())
        if (h == handle) return dialog.data();
    return nullptr;
}

HWND ActiveDialogHandle() {
    return OpenDialogs().empty() ? nullptr : OpenDialogs().back().first;
}

} // namespace vcl_internal

// ---- message dialogs ----

namespace {

struct ButtonInfo {
    TMsgDlgBtn kind;
    const char* name;
    const char* caption; // where the toolkit has no such button
    QDialogButtonBox::StandardButton standard;
    TModalResult result;
};

const ButtonInfo kButtons[] = {
    {mbYes, "Yes", "&Yes", QDialogButtonBox::Yes, mrYes},
    {mbNo, "No", "&No", QDialogButtonBox::No, mrNo},
    {mbOK, "OK", "OK", QDialogButtonBox::Ok, mrOk},
    {mbCancel, "Cancel", "Cancel", QDialogButtonBox::Cancel, mrCancel},
    {mbAbort, "Abort", "&Abort", QDialogButtonBox::Abort, mrAbort},
    {mbRetry, "Retry", "&Retry", QDialogButtonBox::Retry, mrRetry},
    {mbIgnore, "Ignore", "&Ignore", QDialogButtonBox::Ignore, mrIgnore},
    {mbAll, "All", "&All", QDialogButtonBox::NoButton, mrAll},
    {mbNoToAll, "NoToAll", "N&o to All", QDialogButtonBox::NoToAll, mrNoToAll},
    {mbYesToAll, "YesToAll", "Yes to &All", QDialogButtonBox::YesToAll, mrYesToAll},
    {mbHelp, "Help", "&Help", QDialogButtonBox::Help, mrNone},
};

// The toolkit's text for the button, in the language its translations were loaded for.
std::string ButtonCaption(const ButtonInfo& info) {
    if (info.standard == QDialogButtonBox::NoButton) return info.caption;
    QDialogButtonBox box(info.standard);
    const QPushButton* button = box.button(info.standard);
    return button != nullptr ? FromQString(button->text()) : std::string(info.caption);
}

const char* TypeCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return "Warning";
    case mtError:
        return "Error";
    case mtInformation:
        return "Information";
    case mtConfirmation:
        return "Confirm";
    default:
        return nullptr;
    }
}

// The type's icon, drawn by the toolkit's style.
class TMessageIcon : public TWinControl {
public:
    TMessageIcon(TComponent* owner, TMsgDlgType type) : TWinControl(owner) {
        auto* label = new QLabel();
        QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
        if (type == mtWarning)
            pixmap = QStyle::SP_MessageBoxWarning;
        else if (type == mtError)
            pixmap = QStyle::SP_MessageBoxCritical;
        else if (type == mtConfirmation)
            pixmap = QStyle::SP_MessageBoxQuestion;
        label->setPixmap(label->style()->standardIcon(pixmap).pixmap(32, 32));
        Peer()->SetInner(label);
        SetBounds(0, 0, 32, 32);
    }
};

} // namespace

TMessageForm::TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type,
                           TMsgDlgButtons buttons)
    : TForm(owner), text_(text), type_(type), buttons_(buttons) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    if (const char* caption = TypeCaption(type))
        SetCaption(caption);
    else
        SetCaption(Application->Title());

    const int margin = 8;
    const int buttonWidth = 75;
    const int buttonHeight = 25;
    const int buttonSpacing = 4;
    int textLeft = margin;
    int iconHeight = 0;
    if (type != mtCustom) {
        auto* icon = new TMessageIcon(this, type);
        icon->SetName("Image");
        icon->SetBounds(margin, margin, 32, 32);
        icon->SetParent(this);
        textLeft = margin + 32 + 10;
        iconHeight = 32;
    }
    auto* label = new TLabel(this);
    label->SetName("Message");
    label->SetParent(this);
    label->SetLeft(textLeft);
    label->SetTop(margin);
    label->SetCaption(text);
    const int maxTextWidth = std::max(Screen->Width() / 2, 200);
    if (label->Width() > maxTextWidth) {
        label->SetWordWrap(true);
        label->SetAutoSize(false);
        label->SetWidth(maxTextWidth);
        label->SetAutoSize(true);
    }

    std::vector<const ButtonInfo*> shown;
    for (const ButtonInfo& info : kButtons)
        if (buttons.Contains(info.kind)) shown.push_back(&info);
    const int buttonsWidth = static_cast<int>(shown.size()) * buttonWidth +
                             std::max(0, static_cast<int>(shown.size()) - 1) * buttonSpacing;
    const int contentWidth = std::max(textLeft + label->Width(), buttonsWidth + 2 * margin - margin);
    const int clientWidth = std::max(contentWidth + margin, buttonsWidth + 2 * margin);
    const int buttonTop = margin + std::max(label->Height(), iconHeight) + margin + 4;
    int x = (clientWidth - buttonsWidth) / 2;
    const TModalResult cancel = CancelResult();
    bool defaultSet = false;
    for (const ButtonInfo* info : shown) {
        auto* button = new TButton(this);
        button->SetName(info->name);
        button->SetParent(this);
        button->SetCaption(ButtonCaption(*info));
        button->SetModalResult(info->result);
        button->SetBounds(x, buttonTop, buttonWidth, buttonHeight);
        if (!defaultSet && (info->kind == mbOK || info->kind == mbYes)) {
            button->SetDefault(true);
            defaultSet = true;
        }
        if (info->result == cancel) button->SetCancel(true);
        x += buttonWidth + buttonSpacing;
    }
    SetClientWidth(clientWidth);
    SetClientHeight(buttonTop + buttonHeight + margin);
}

TModalResult TMessageForm::CancelResult() const {
    if (buttons_.Contains(mbCancel)) return mrCancel;
    if (buttons_.Contains(mbNo)) return mrNo;
    if (buttons_.Contains(mbOK)) return mrOk;
    for (const ButtonInfo& info : kButtons)
        if (buttons_.Contains(info.kind)) return info.result;
    return mrCancel;
}

TForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return new TMessageForm(nullptr, text, type, buttons);
}

int MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int, int x, int y) {
    std::unique_ptr<TForm> box(CreateMessageDialog(text, type, buttons));
    if (x >= 0 && y >= 0) {
        box->SetPosition(poDesigned);
        box->SetBounds(x, y, box->Width(), box->Height());
    }
    return box->ShowModal();
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    return MessageDlgPos(text, type, buttons, helpContext, -1, -1);
}

void ShowMessage(const std::string& text) {
    std::unique_ptr<TForm> box(CreateMessageDialog(text, mtCustom, TMsgDlgButtons{mbOK}));
    box->ShowModal();
}

// ---- file dialogs ----

std::string ApplyDefaultExt(const std::string& fileName, const std::string& defaultExt) {
    if (fileName.empty() || defaultExt.empty()) return fileName;
    const auto slash = fileName.find_last_of('/');
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    if (base.find('.') != std::string::npos) return fileName;
    std::string ext = defaultExt;
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return fileName + "." + ext;
}

std::vector<std::string> DialogNameFilters(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        const auto bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<std::string> out;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        const std::string description = Trim(parts[i]);
        const std::string masks = i + 1 < parts.size() ? parts[i + 1] : "*";
        // Masks match in either case, as the platform's file names do.
        std::vector<std::string> list;
        std::size_t p = 0;
        while (true) {
            const auto semi = masks.find(';', p);
            const std::string mask =
                Trim(masks.substr(p, semi == std::string::npos ? std::string::npos : semi - p));
            for (const std::string& v : {mask, LowerCase(mask), UpperCase(mask)})
                if (!v.empty() && std::find(list.begin(), list.end(), v) == list.end()) list.push_back(v);
            if (semi == std::string::npos) break;
            p = semi + 1;
        }
        std::string patterns = list.empty() ? std::string(1, '*') : list.front();
        for (std::size_t k = 1; k < list.size(); ++k) {
            patterns += ' ';
            patterns += list[k];
        }
        std::string entry = description.empty() ? patterns : description;
        entry += " (";
        entry += patterns;
        entry += ')';
        out.push_back(std::move(entry));
    }
    return out;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    return Run(false);
}

bool TSaveDialog::Execute() {
    return Run(true);
}

void TOpenDialog::CloseDialog() {
    if (handle_) SendMessage(handle_, WM_CLOSE, 0, 0);
}

bool TOpenDialog::Run(bool save) {
    TFileDialogRequest request;
    request.Save = save;
    request.Title = title_;
    request.Filter = filter_;
    request.FilterIndex = filterIndex_;
    request.DefaultExt = defaultExt_;
    request.InitialDir = initialDir_;
    request.FileName = fileName_;
    std::string chosen;
    bool accepted = false;
    if (const TFileDialogHook& hook = vcl_internal::FileDialogHook()) {
        accepted = hook(request, chosen);
    } else if (vcl_internal::IsOffscreen()) {
        DebugTrace("TOpenDialog::Execute", "no answer set for the file dialog; cancelled");
        return false;
    } else {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save                                    ? QFileDialog::AnyFile
                           : options_.Contains(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                                   : QFileDialog::ExistingFile);
        if (!title_.empty()) dialog.setWindowTitle(ToQString(title_));
        QStringList filters;
        for (const std::string& f : DialogNameFilters(filter_))
            filters << ToQString(f);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            if (filterIndex_ >= 1 && filterIndex_ <= filters.size())
                dialog.selectNameFilter(filters[filterIndex_ - 1]);
        }
        if (!initialDir_.empty()) dialog.setDirectory(ToQString(initialDir_));
        if (!fileName_.empty() && fileName_.find('*') == std::string::npos)
            dialog.selectFile(ToQString(fileName_));
        if (save && !options_.Contains(ofOverwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        accepted = vcl_internal::ExecDialog(&dialog, &handle_) == QDialog::Accepted;
        if (accepted) {
            const QStringList selected = dialog.selectedFiles();
            files_->Clear();
            for (const QString& f : selected)
                files_->Add(FromQString(f));
            if (!selected.isEmpty()) chosen = FromQString(selected.first());
            const int index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
            if (index >= 0) filterIndex_ = index + 1;
        }
    }
    if (!accepted) return false;
    fileName_ = ApplyDefaultExt(chosen, defaultExt_);
    if (files_->Count() == 0) files_->Add(fileName_);
    return true;
}

bool TOpenDialog::ReadProperty(TPropertyReader& r) {
    if (r.Is("FileName")) {
        SetFileName(r.String());
    } else if (r.Is("Filter")) {
        SetFilter(r.String());
    } else if (r.Is("FilterIndex")) {
        SetFilterIndex(r.Integer());
    } else if (r.Is("DefaultExt")) {
        SetDefaultExt(r.String());
    } else if (r.Is("InitialDir")) {
        SetInitialDir(r.String());
    } else if (r.Is("Title")) {
        SetTitle(r.String());
    } else if (r.Is("Options")) {
        SetOptions(r.EnumSet<TOpenOption>({{"ofReadOnly", ofReadOnly},
                                           {"ofOverwritePrompt", ofOverwritePrompt},
                                           {"ofHideReadOnly", ofHideReadOnly},
                                           {"ofNoChangeDir", ofNoChangeDir},
                                           {"ofShowHelp", ofShowHelp},
                                           {"ofNoValidate", ofNoValidate},
                                           {"ofAllowMultiSelect", ofAllowMultiSelect},
                                           {"ofExtensionDifferent", ofExtensionDifferent},
                                           {"ofPathMustExist", ofPathMustExist},
                                           {"ofFileMustExist", ofFileMustExist},
                                           {"ofCreatePrompt", ofCreatePrompt},
                                           {"ofShareAware", ofShareAware},
                                           {"ofNoReadOnlyReturn", ofNoReadOnlyReturn},
                                           {"ofNoTestFileCreate", ofNoTestFileCreate},
                                           {"ofNoNetworkButton", ofNoNetworkButton},
                                           {"ofNoLongNames", ofNoLongNames},
                                           {"ofOldStyleDialog", ofOldStyleDialog},
                                           {"ofNoDereferenceLinks", ofNoDereferenceLinks},
                                           {"ofEnableIncludeNotify", ofEnableIncludeNotify},
                                           {"ofEnableSizing", ofEnableSizing},
                                           {"ofDontAddToRecent", ofDontAddToRecent},
                                           {"ofForceShowHidden", ofForceShowHidden}}));
    } else {
        return TComponent::ReadProperty(r);
    }
    return true;
}

// ---- folder chooser ----

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
    TFolderDialogRequest request{caption, root, directory};
    if (const TFolderDialogHook& hook = vcl_internal::FolderDialogHook()) {
        std::string chosen = directory;
        if (!hook(request, chosen)) return false;
        directory = chosen;
        return true;
    }
    if (vcl_internal::IsOffscreen()) {
        DebugTrace("SelectDirectory", "no answer set for the folder chooser; cancelled");
        return false;
    }
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setWindowTitle(ToQString(caption));
    dialog.setDirectory(ToQString(!directory.empty() ? directory : root));
    if (vcl_internal::ExecDialog(&dialog, nullptr) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    std::string chosen = FromQString(dialog.selectedFiles().first());
    if (!root.empty() && chosen.rfind(root, 0) != 0) return false;
    directory = chosen;
    return true;
}
