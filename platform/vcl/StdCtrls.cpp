#include "platform/vcl/StdCtrls.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/EditWidget.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ItemStrings.h"
#include "platform/vcl/PropertyReaders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

using vcl_internal::FromQString;
using vcl_internal::ToQString;

namespace {

bool Loading(const TComponent* c) {
    return c->ComponentState().Contains(csLoading);
}

// Radio buttons that stay checked when clicked again; siblings are turned off by TRadioButton. Like
// check boxes, they take a click anywhere on the control, not only on the mark and the caption.
class ClassicRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class ClassicCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

QString CaptionText(const std::string& caption) {
    // '&' marks an access key in the class library as in Qt; the texts are the same.
    return ToQString(caption);
}

} // namespace

// ---- TLabel ----

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetControlStyle(ControlStyle() + TControlStyle(csReplicatable));
}

void TLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
    if (layout_ == value) return;
    layout_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

std::string TLabel::DisplayText() const {
    const std::string text = Caption();
    if (!showAccelChar_) return text;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') out += '&';
            ++i;
            if (i < text.size() && text[i] != '&') out += text[i];
            continue;
        }
        out += text[i];
    }
    return out;
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || Loading(this)) return;
    // Measured on a context of its own, as the label's would measure: the label's picture is made
    // at its first paint, not for a window that may never be shown.
    static HDC const measure = CreateCompatibleDC(nullptr);
    if (!measure) return;
    const HGDIOBJ previous = SelectObject(measure, Font()->Handle());
    // An empty caption keeps the height of one line.
    const std::string shown = DisplayText();
    const std::string text = shown.empty() ? std::string(1, ' ') : shown;
    TRect r = Rect(0, 0, wordWrap_ ? std::max(Width(), 1) : 32767, 0);
    DrawText(measure, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    SelectObject(measure, previous);
    int left = Left();
    if (!wordWrap_ && alignment_ == taRightJustify)
        left += Width() - r.Width();
    else if (!wordWrap_ && alignment_ == taCenter)
        left += (Width() - r.Width()) / 2;
    SetBounds(left, Top(), wordWrap_ ? Width() : r.Width(), r.Height());
}

void TLabel::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!transparent_) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(client);
    }
    const std::string text = DisplayText();
    if (text.empty()) return;
    HDC dc = canvas->Handle();
    if (!dc) return;
    SelectObject(dc, canvas->Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Enabled() ? Font()->Color() : clGrayText)));
    TRect r = client;
    if (layout_ != tlTop) {
        TRect measure = client;
        DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measure, DrawFlags() | DT_CALCRECT);
        const int offset = client.Height() - measure.Height();
        r.Top += layout_ == tlCenter ? offset / 2 : offset;
    }
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags());
}

void TLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

bool TLabel::ReadProperty(TPropertyReader& r) {
    if (r.Is("Alignment")) {
        SetAlignment(ReadAlignmentValue(r));
    } else if (r.Is("Layout")) {
        SetLayout(r.Enum<TTextLayout>({{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}}));
    } else if (r.Is("AutoSize")) {
        SetAutoSize(r.Boolean());
    } else if (r.Is("Transparent")) {
        SetTransparent(r.Boolean());
    } else if (r.Is("WordWrap")) {
        SetWordWrap(r.Boolean());
    } else if (r.Is("ShowAccelChar")) {
        SetShowAccelChar(r.Boolean());
    } else if (r.Is("FocusControl")) {
        r.Reference([this](TComponent* c) {
            auto* control = dynamic_cast<TWinControl*>(c);
            if (control) SetFocusControl(control);
            return control != nullptr;
        });
    } else {
        return TGraphicControl::ReadProperty(r);
    }
    return true;
}

// ---- TEdit ----

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    auto* edit = new vcl_internal::TEditWidget(this);
    Peer()->SetInner(edit);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString&) {
        if (!settingText_) vcl_internal::Guarded([this] { Change(); });
    });
    SetControlStyle(
        TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

std::string TEdit::GetText() const {
    return FromQString(static_cast<QLineEdit*>(Peer()->inner.data())->text());
}

void TEdit::TextChanged() {
    auto* edit = static_cast<QLineEdit*>(Peer()->inner.data());
    QString text = ToQString(text_);
    if (charCase_ == ecUpperCase)
        text = text.toUpper();
    else if (charCase_ == ecLowerCase)
        text = text.toLower();
    if (edit->text() != text) {
        settingText_ = true;
        edit->setText(text);
        settingText_ = false;
        Change();
    }
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TEdit::Change() {
    OnChange(this);
}

void TEdit::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    static_cast<QLineEdit*>(Peer()->inner.data())->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TEdit::SetPasswordChar(char value) {
    passwordChar_ = value;
    static_cast<QLineEdit*>(Peer()->inner.data())
        ->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}

void TEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    static_cast<QLineEdit*>(Peer()->inner.data())->setReadOnly(value);
}

void TEdit::SetCharCase(TEditCharCase value) {
    charCase_ = value;
    TextChanged();
}

bool TEdit::Modified() const {
    return static_cast<QLineEdit*>(Peer()->inner.data())->isModified();
}
void TEdit::SetModified(bool value) {
    static_cast<QLineEdit*>(Peer()->inner.data())->setModified(value);
}

void TEdit::SetAlignment(TAlignment value) {
    alignment_ = value;
    const Qt::Alignment horizontal = value == taCenter         ? Qt::AlignHCenter
                                     : value == taRightJustify ? Qt::AlignRight
                                                               : Qt::AlignLeft;
    static_cast<QLineEdit*>(Peer()->inner.data())->setAlignment(horizontal | Qt::AlignVCenter);
}

void TEdit::SetFramed(bool value) {
    framed_ = value;
    static_cast<QLineEdit*>(Peer()->inner.data())->setFrame(value);
}

int TEdit::SelStart() const {
    auto* edit = static_cast<QLineEdit*>(Peer()->inner.data());
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TEdit::SetSelStart(int value) {
    auto* edit = static_cast<QLineEdit*>(Peer()->inner.data());
    edit->deselect();
    edit->setCursorPosition(std::clamp(value, 0, static_cast<int>(edit->text().size())));
}

int TEdit::SelLength() const {
    auto* edit = static_cast<QLineEdit*>(Peer()->inner.data());
    return edit->hasSelectedText() ? static_cast<int>(edit->selectedText().size()) : 0;
}

void TEdit::SetSelLength(int value) {
    auto* edit = static_cast<QLineEdit*>(Peer()->inner.data());
    const int start = SelStart();
    const int length = std::clamp(value, 0, static_cast<int>(edit->text().size()) - start);
    if (length == 0)
        edit->deselect();
    else
        edit->setSelection(start, length);
}

std::string TEdit::SelText() const {
    return FromQString(static_cast<QLineEdit*>(Peer()->inner.data())->selectedText());
}

void TEdit::SetSelText(const std::string& value) {
    static_cast<QLineEdit*>(Peer()->inner.data())->insert(ToQString(value));
}

void TEdit::SelectAll() {
    static_cast<QLineEdit*>(Peer()->inner.data())->selectAll();
}

bool TEdit::ReadProperty(TPropertyReader& r) {
    if (r.Is("Text")) {
        SetText(r.String());
    } else if (r.Is("MaxLength")) {
        SetMaxLength(r.Integer());
    } else if (r.Is("PasswordChar")) {
        const std::string value = r.String();
        if (value.size() > 1) r.Fail("one character expected");
        SetPasswordChar(value.empty() ? 0 : value[0]);
    } else if (r.Is("ReadOnly")) {
        SetReadOnly(r.Boolean());
    } else if (r.Is("AutoSelect")) {
        SetAutoSelect(r.Boolean());
    } else if (r.Is("AutoSize")) {
        r.Boolean();
    } else if (r.Is("CharCase")) {
        SetCharCase(r.Enum<TEditCharCase>(
            {{"ecNormal", ecNormal}, {"ecUpperCase", ecUpperCase}, {"ecLowerCase", ecLowerCase}}));
    } else if (r.Is("BorderStyle")) {
        SetFramed(r.Enum<bool>({{"bsNone", false}, {"bsSingle", true}}));
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TMemo ----

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    auto* edit = new QPlainTextEdit();
    Peer()->SetInner(edit);
    vcl_internal::TItemStrings::Backend backend;
    auto rewrite = [this, edit] {
        if (syncing_) return;
        syncing_ = true;
        QStringList lines;
        for (int i = 0; i < lines_->Count(); ++i)
            lines << ToQString(lines_->Get(i));
        edit->setPlainText(lines.join('\n'));
        syncing_ = false;
    };
    backend.insert = [rewrite](int, const std::string&) { rewrite(); };
    backend.remove = [rewrite](int) { rewrite(); };
    backend.put = [rewrite](int, const std::string&) { rewrite(); };
    backend.clear = [rewrite] { rewrite(); };
    lines_ = std::make_unique<vcl_internal::TItemStrings>(std::move(backend));
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this] {
        if (syncing_) return;
        vcl_internal::Guarded([this] {
            SyncLinesFromWidget();
            OnChange(this);
        });
    });
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 185, 89);
    SetWordWrap(true);
}

TMemo::~TMemo() = default;

TStrings* TMemo::Lines() const {
    return lines_.get();
}

void TMemo::SetLines(const TStrings* value) {
    lines_->Assign(value);
}

void TMemo::SyncLinesFromWidget() {
    syncing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{syncing_};
    auto* edit = static_cast<QPlainTextEdit*>(Peer()->inner.data());
    const QStringList lines = edit->toPlainText().split('\n');
    lines_->Clear();
    // An empty memo has no lines; a text without a final line break has its last line.
    if (!(lines.size() == 1 && lines[0].isEmpty()))
        for (const QString& line : lines)
            lines_->Add(FromQString(line));
}

std::string TMemo::GetText() const {
    return lines_->Text();
}

void TMemo::TextChanged() {
    lines_->SetText(text_);
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TMemo::SetReadOnly(bool value) {
    readOnly_ = value;
    static_cast<QPlainTextEdit*>(Peer()->inner.data())->setReadOnly(value);
}

void TMemo::SetWordWrap(bool value) {
    wordWrap_ = value;
    static_cast<QPlainTextEdit*>(Peer()->inner.data())
        ->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle value) {
    scrollBars_ = value;
    auto* edit = static_cast<QPlainTextEdit*>(Peer()->inner.data());
    const bool h = value == ssHorizontal || value == ssBoth;
    const bool v = value == ssVertical || value == ssBoth;
    edit->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

bool TMemo::ReadProperty(TPropertyReader& r) {
    if (r.Is("Lines.Strings")) {
        lines_->Clear();
        for (const std::string& line : r.Strings())
            lines_->Add(line);
    } else if (r.Is("ReadOnly")) {
        SetReadOnly(r.Boolean());
    } else if (r.Is("WordWrap")) {
        SetWordWrap(r.Boolean());
    } else if (r.Is("ScrollBars")) {
        SetScrollBars(r.Enum<TScrollStyle>({{"ssNone", ssNone},
                                            {"ssHorizontal", ssHorizontal},
                                            {"ssVertical", ssVertical},
                                            {"ssBoth", ssBoth}}));
    } else if (r.Is("MaxLength")) {
        SetMaxLength(r.Integer());
    } else if (r.Is("WantReturns")) {
        SetWantReturns(r.Boolean());
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TButton ----

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    auto* button = new QPushButton();
    button->setAutoDefault(false);
    Peer()->SetInner(button);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this] { vcl_internal::Guarded([this] { Click(); }); });
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::TextChanged() {
    static_cast<QPushButton*>(Peer()->inner.data())->setText(CaptionText(text_));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TButton::SetDefault(bool value) {
    default_ = value;
    static_cast<QPushButton*>(Peer()->inner.data())->setDefault(value);
}

void TButton::Click() {
    if (TForm* form = ParentForm(); form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

bool TButton::ReadProperty(TPropertyReader& r) {
    if (r.Is("Default")) {
        SetDefault(r.Boolean());
    } else if (r.Is("Cancel")) {
        SetCancel(r.Boolean());
    } else if (r.Is("ModalResult")) {
        if (r.Value().kind == TDfmValue::Ident)
            SetModalResult(r.Enum<int>({{"mrNone", mrNone},
                                        {"mrOk", mrOk},
                                        {"mrCancel", mrCancel},
                                        {"mrAbort", mrAbort},
                                        {"mrRetry", mrRetry},
                                        {"mrIgnore", mrIgnore},
                                        {"mrYes", mrYes},
                                        {"mrNo", mrNo},
                                        {"mrAll", mrAll}}));
        else
            SetModalResult(r.Integer());
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    auto* box = new ClassicCheckBox();
    Peer()->SetInner(box);
    QObject::connect(box, &QCheckBox::clicked, box,
                     [this] { vcl_internal::Guarded([this] { UserToggled(); }); });
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::UserToggled() {
    auto* box = static_cast<QCheckBox*>(Peer()->inner.data());
    // Checked -> unchecked -> (grayed ->) checked, as the class library cycles.
    TCheckBoxState next = cbChecked;
    if (state_ == cbChecked)
        next = cbUnchecked;
    else if (state_ == cbUnchecked && allowGrayed_)
        next = cbGrayed;
    {
        QSignalBlocker block(box);
        box->setCheckState(next == cbChecked  ? Qt::Checked
                           : next == cbGrayed ? Qt::PartiallyChecked
                                              : Qt::Unchecked);
    }
    SetState(next);
}

void TCheckBox::SetState(TCheckBoxState value) {
    auto* box = static_cast<QCheckBox*>(Peer()->inner.data());
    {
        QSignalBlocker block(box);
        box->setCheckState(value == cbChecked  ? Qt::Checked
                           : value == cbGrayed ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
    }
    if (state_ == value) return;
    state_ = value;
    if (!Loading(this)) Click();
}

void TCheckBox::SetAllowGrayed(bool value) {
    allowGrayed_ = value;
    static_cast<QCheckBox*>(Peer()->inner.data())->setTristate(value);
}

void TCheckBox::SetAlignment(TAlignment value) {
    alignment_ = value;
    Peer()->inner->setLayoutDirection(value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCheckBox::TextChanged() {
    static_cast<QCheckBox*>(Peer()->inner.data())->setText(CaptionText(text_));
    Perform(CM_TEXTCHANGED, 0, 0);
}

bool TCheckBox::ReadProperty(TPropertyReader& r) {
    if (r.Is("Checked")) {
        SetChecked(r.Boolean());
    } else if (r.Is("State")) {
        SetState(r.Enum<TCheckBoxState>(
            {{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}}));
    } else if (r.Is("AllowGrayed")) {
        SetAllowGrayed(r.Boolean());
    } else if (r.Is("Alignment")) {
        SetAlignment(ReadAlignmentValue(r));
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TRadioButton ----

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    auto* radio = new ClassicRadioButton();
    radio->setAutoExclusive(false);
    Peer()->SetInner(radio);
    QObject::connect(radio, &QRadioButton::clicked, radio,
                     [this] { vcl_internal::Guarded([this] { SetChecked(true); }); });
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool value) {
    auto* radio = static_cast<QRadioButton*>(Peer()->inner.data());
    {
        QSignalBlocker block(radio);
        radio->setChecked(value);
    }
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    if (!value) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!Loading(this)) Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
    alignment_ = value;
    Peer()->inner->setLayoutDirection(value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TRadioButton::TextChanged() {
    static_cast<QRadioButton*>(Peer()->inner.data())->setText(CaptionText(text_));
    Perform(CM_TEXTCHANGED, 0, 0);
}

bool TRadioButton::ReadProperty(TPropertyReader& r) {
    if (r.Is("Checked")) {
        SetChecked(r.Boolean());
    } else if (r.Is("Alignment")) {
        SetAlignment(ReadAlignmentValue(r));
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TGroupBox ----

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    SetParentColor(true);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const int textHeight = canvas->TextHeight("0");
    const int top = textHeight / 2 - 1;
    // The etched frame: shadow, then highlight one pixel inside.
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Rectangle(0, top, Width() - 1, Height() - 1);
    canvas->Pen()->SetColor(clBtnHighlight);
    canvas->Rectangle(1, top + 1, Width(), Height());
    const std::string caption = Caption();
    if (caption.empty()) return;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    const int width = canvas->TextWidth(caption);
    canvas->TextRect(Rect(8, 0, 8 + width + 2, textHeight), 9, 0, caption);
}

// ---- TComboBox ----

namespace {

class ComboWidget : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onPopup;
    std::function<void()> onShow;

protected:
    void showEvent(QShowEvent* event) override {
        if (onShow) onShow();
        QComboBox::showEvent(event);
    }
    void showPopup() override {
        if (onPopup) onPopup();
        QComboBox::showPopup();
    }
};

} // namespace

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    auto* combo = new ComboWidget();
    combo->onShow = [this] { EnsureStyle(); };
    combo->onPopup = [this] {
        // The list takes the mouse from the press that opened it: a capture kept by the box would take
        // the first click after the list closes.
        SetMouseCapture(false);
        vcl_internal::Guarded([this] { OnDropDown(this); });
    };
    Peer()->SetInner(combo);
    vcl_internal::TItemStrings::Backend backend;
    // The selection stays on its item while others come and go; deleting the item clears it.
    backend.insert = [this, combo](int index, const std::string& text) {
        updating_ = true;
        combo->insertItem(index, ToQString(text));
        if (itemIndex_ >= index) ++itemIndex_;
        updating_ = false;
    };
    backend.remove = [this, combo](int index) {
        updating_ = true;
        combo->removeItem(index);
        if (itemIndex_ == index)
            itemIndex_ = -1;
        else if (itemIndex_ > index)
            --itemIndex_;
        updating_ = false;
    };
    backend.put = [combo](int index, const std::string& text) { combo->setItemText(index, ToQString(text)); };
    backend.clear = [this, combo] {
        updating_ = true;
        combo->clear();
        itemIndex_ = -1;
        updating_ = false;
    };
    backend.changed = [this] { ItemsChanged(); };
    items_ = std::make_unique<vcl_internal::TItemStrings>(std::move(backend));
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [this](int index) {
        if (!updating_) vcl_internal::Guarded([this, index] { UserSelected(index); });
    });
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

TStrings* TComboBox::Items() const {
    return items_.get();
}
void TComboBox::SetItems(const TStrings* value) {
    items_->Assign(value);
}
bool TComboBox::Sorted() const {
    return items_->Sorted();
}
void TComboBox::SetSorted(bool value) {
    items_->SetSorted(value);
}

void TComboBox::ItemsChanged() {
    EnsureStyle();
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    // The selection follows the widget's (a removed or cleared item takes it away).
    updating_ = true;
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    const QString text = combo->currentText();
    combo->setCurrentIndex(itemIndex_);
    if (style_ != csDropDownList && itemIndex_ < 0) combo->setEditText(text);
    updating_ = false;
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_->Count()) value = -1;
    itemIndex_ = value;
    EnsureStyle();
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    updating_ = true;
    combo->setCurrentIndex(value);
    if (value < 0 && combo->isEditable()) combo->setEditText(QString());
    updating_ = false;
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    style_ = value;
    styleApplied_ = false;
    if (!Loading(this)) EnsureStyle();
}

void TComboBox::EnsureStyle() const {
    if (styleApplied_) return;
    styleApplied_ = true;
    auto* self = const_cast<TComboBox*>(this);
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    self->updating_ = true;
    const bool editable = style_ == csDropDown || style_ == csSimple;
    if (editable != combo->isEditable()) {
        combo->setEditable(editable);
        if (editable) {
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->lineEdit()->installEventFilter(Peer()->widget);
            combo->lineEdit()->setMouseTracking(true);
            if (maxLength_ > 0) combo->lineEdit()->setMaxLength(maxLength_);
            QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo, [self](const QString&) {
                if (!self->updating_) vcl_internal::Guarded([self] { self->UserEdited(); });
            });
        }
    }
    combo->setCurrentIndex(itemIndex_);
    self->updating_ = false;
}

void TComboBox::SetDropDownCount(int value) {
    dropDownCount_ = std::max(value, 1);
    EnsureStyle();
    static_cast<QComboBox*>(Peer()->inner.data())->setMaxVisibleItems(dropDownCount_);
}

void TComboBox::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    EnsureStyle();
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    if (combo->lineEdit()) combo->lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TComboBox::Clear() {
    items_->Clear();
    SetItemIndex(-1);
    text_.clear();
}

std::string TComboBox::GetText() const {
    EnsureStyle();
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    return FromQString(combo->currentText());
}

void TComboBox::TextChanged() {
    EnsureStyle();
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    const int found = items_->IndexOf(text_);
    updating_ = true;
    if (style_ == csDropDownList) {
        // Only an item's text can be shown.
        itemIndex_ = found;
        combo->setCurrentIndex(found);
    } else {
        itemIndex_ = found;
        combo->setCurrentIndex(found);
        combo->setEditText(ToQString(text_));
    }
    updating_ = false;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TComboBox::UserSelected(int index) {
    itemIndex_ = index;
    Click();
    Select();
}

void TComboBox::UserEdited() {
    EnsureStyle();
    auto* combo = static_cast<QComboBox*>(Peer()->inner.data());
    itemIndex_ = items_->IndexOf(FromQString(combo->currentText()));
    Change();
}

void TComboBox::Loaded() {
    TWinControl::Loaded();
    EnsureStyle();
    if (loadedItemIndex_ != -1) SetItemIndex(loadedItemIndex_);
    loadedItemIndex_ = -1;
}

void TComboBox::Change() {
    OnChange(this);
}

void TComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

bool TComboBox::ReadProperty(TPropertyReader& r) {
    if (r.Is("Items.Strings")) {
        items_->Clear();
        for (const std::string& item : r.Strings())
            items_->Add(item);
    } else if (r.Is("ItemIndex")) {
        loadedItemIndex_ = r.Integer();
    } else if (r.Is("Text")) {
        SetText(r.String());
    } else if (r.Is("Style")) {
        SetStyle(r.Enum<TComboBoxStyle>({{"csDropDown", csDropDown},
                                         {"csSimple", csSimple},
                                         {"csDropDownList", csDropDownList},
                                         {"csOwnerDrawFixed", csOwnerDrawFixed},
                                         {"csOwnerDrawVariable", csOwnerDrawVariable}}));
    } else if (r.Is("Sorted")) {
        SetSorted(r.Boolean());
    } else if (r.Is("DropDownCount")) {
        SetDropDownCount(r.Integer());
    } else if (r.Is("MaxLength")) {
        SetMaxLength(r.Integer());
    } else if (r.Is("ItemHeight")) {
        r.Integer();
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else if (r.Is("OnSelect")) {
        OnSelect = r.Event<TNotifyEvent>();
    } else if (r.Is("OnDropDown")) {
        OnDropDown = r.Event<TNotifyEvent>();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TScrollBar ----

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    auto* bar = new QScrollBar(Qt::Horizontal);
    Peer()->SetInner(bar);
    QObject::connect(bar, &QScrollBar::actionTriggered, bar, [this, bar](int action) {
        if (updating_) return;
        TScrollCode code = scPosition;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            code = scLineDown;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            code = scLineUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = scPageDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = scPageUp;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = scTop;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = scBottom;
            break;
        case QAbstractSlider::SliderMove:
            code = scTrack;
            break;
        default:
            break;
        }
        const int value = bar->sliderPosition();
        vcl_internal::Guarded([this, value, code] { UserMoved(value, code); });
    });
    // The bar follows the mouse from its press to its release itself. A capture by the control would
    // take the moves and the release from it: an arrow would go on repeating and the thumb stand still.
    SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 121, 17);
    Apply();
}

void TScrollBar::Apply() {
    auto* bar = static_cast<QScrollBar*>(Peer()->inner.data());
    updating_ = true;
    bar->setOrientation(kind_ == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    // The class library's range includes the page; Qt's maximum is where the page starts.
    bar->setRange(min_, std::max(min_, max_ - std::max(pageSize_ - 1, 0)));
    bar->setPageStep(std::max(pageSize_, largeChange_));
    bar->setSingleStep(smallChange_);
    bar->setValue(position_);
    updating_ = false;
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (kind_ == value) return;
    kind_ = value;
    if (!Loading(this)) SetBounds(Left(), Top(), Height(), Width());
    Apply();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) throw EInvalidOperation("Scroll bar property out of range");
    position = std::clamp(position, min, max);
    const bool changed = position != position_;
    min_ = min;
    max_ = max;
    position_ = position;
    Apply();
    if (changed) OnChange(this);
}

void TScrollBar::SetSmallChange(int value) {
    smallChange_ = std::max(value, 1);
    Apply();
}

void TScrollBar::SetLargeChange(int value) {
    largeChange_ = std::max(value, 1);
    Apply();
}

void TScrollBar::SetPageSize(int value) {
    pageSize_ = std::clamp(value, 0, std::max(max_ - min_ + 1, 0));
    Apply();
}

void TScrollBar::UserMoved(int value, TScrollCode code) {
    int position = value;
    OnScroll(this, code, position);
    SetPosition(position);
}

bool TScrollBar::ReadProperty(TPropertyReader& r) {
    if (r.Is("Kind")) {
        SetKind(r.Enum<TScrollBarKind>({{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}}));
    } else if (r.Is("Min")) {
        SetMin(r.Integer());
    } else if (r.Is("Max")) {
        SetMax(r.Integer());
    } else if (r.Is("Position")) {
        SetPosition(r.Integer());
    } else if (r.Is("SmallChange")) {
        SetSmallChange(r.Integer());
    } else if (r.Is("LargeChange")) {
        SetLargeChange(r.Integer());
    } else if (r.Is("PageSize")) {
        SetPageSize(r.Integer());
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else if (r.Is("OnScroll")) {
        OnScroll = r.Event<TScrollEvent>();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}
