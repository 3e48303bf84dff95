#include "controls/IPEdit.h"

#include "controls/SkinControls.h"

#include "platform/core/StrUtils.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/PropertyReaders.h"
#include "platform/vcl/WinUser.h"

#include <algorithm>

namespace {
// Whichever control a program holds, the form reader knows them all.
const bool registered = (RegisterSkinControls(), true);
} // namespace

namespace Ipedit {

bool ByteText(const std::string& text, std::string& out) {
    int value = 0;
    if (!TryStrToInt(Trim(text), value)) return false;
    out = IntToStr(value % 256);
    return true;
}

int ByteValue(const std::string& text) {
    int value = 0;
    if (!TryStrToInt(Trim(text), value)) return 0;
    return ((value % 256) + 256) % 256;
}

namespace {

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

// ---- jIPByteEdit ----

jIPByteEdit::jIPByteEdit(TComponent* owner) : TEdit(owner) {
    SetAlignment(taCenter);
    SetFramed(false);
    SetTextFromCode("0");
}

jIPEdit* jIPByteEdit::Owner() const {
    return dynamic_cast<jIPEdit*>(Parent());
}

void jIPByteEdit::SetTextFromCode(const std::string& text) {
    fromCode_ = true;
    SetText(text);
    fromCode_ = false;
    lastGood_ = Text();
}

void jIPByteEdit::Change() {
    const std::string text = Text();
    if (!fromCode_ && (!AllDigits(text) || text.size() > 3)) {
        // Typed keys are filtered, so this is a paste: undone whole, not half applied.
        SetTextFromCode(lastGood_);
        return;
    }
    if (!fromCode_) lastGood_ = text;
    TEdit::Change();
    jIPEdit* owner = Owner();
    if (owner && !fromCode_ && Focused() && text.size() == 3 && SelStart() == 3 && Tag() >= 0 && Tag() <= 2)
        owner->FocusBox(static_cast<int>(Tag()) + 1, true);
}

void jIPByteEdit::KeyDown(WORD& key, TShiftState shift) {
    jIPEdit* owner = Owner();
    const int index = static_cast<int>(Tag());
    if (owner && index >= 0 && index < jIPEdit::kBoxes) {
        const int caret = SelStart();
        const int length = static_cast<int>(Text().size());
        switch (key) {
        case VK_LEFT:
            if (caret == 0 && index >= 1) owner->FocusBox(index - 1, false);
            break;
        case VK_RIGHT:
            if (caret == length && index <= 2) owner->FocusBox(index + 1, false);
            break;
        case VK_HOME:
            owner->FocusBox(0, false);
            owner->Box(0)->SetSelStart(0);
            break;
        case VK_END: {
            jIPByteEdit* last = owner->Box(jIPEdit::kBoxes - 1);
            owner->FocusBox(jIPEdit::kBoxes - 1, false);
            last->SetSelStart(static_cast<int>(last->Text().size()));
            break;
        }
        case VK_BACK:
            if (SelLength() == 0 && caret == 0 && index >= 1) {
                jIPByteEdit* previous = owner->Box(index - 1);
                owner->FocusBox(index - 1, false);
                previous->SetSelStart(static_cast<int>(previous->Text().size()));
                if (!previous->Text().empty()) PostMessage(previous->Handle(), WM_KEYDOWN, VK_BACK, 0);
            }
            break;
        default:
            break;
        }
    }
    TEdit::KeyDown(key, shift);
}

void jIPByteEdit::Dispatch(TMessage& m) {
    // A key-down posted to the box (Backspace from the next box) edits as the key would.
    if (m.Msg == WM_KEYDOWN) {
        WORD key = static_cast<WORD>(m.WParam);
        if (HandleKeyDown(key, TShiftState()) && key == VK_BACK) {
            if (SelLength() > 0) {
                SetSelText("");
            } else if (const int caret = SelStart(); caret > 0) {
                std::string text = Text();
                text.erase(static_cast<std::size_t>(caret - 1), 1);
                SetText(text);
                SetSelStart(caret - 1);
            }
        }
        return;
    }
    TEdit::Dispatch(m);
}

// ---- jIPEdit ----

jIPEdit::jIPEdit(TComponent* owner) : TCustomPanel(owner) {
    TCustomPanel::SetEnabled(true);
    TWinControl::OnEnter = TNotifyEvent(this, &jIPEdit::PanelEnter);
    SetCaption("");
    SetHeight(21);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetBorderStyle(bsSingle);
    TControl::OnResize = TNotifyEvent(this, &jIPEdit::MyResize);
    SetColor(clWindow);
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new jIPByteEdit(this);
        box->SetAutoSelect(false);
        box->SetParent(this);
        box->SetTag(i);
        box->SetMaxLength(3);
        box->SetParentColor(true);
        box->SetParentFont(true);
        box->SetParentShowHint(true);
        box->OnKeyPress = TKeyPressEvent(this, &jIPEdit::FilterKey);
        box->OnExit = TNotifyEvent(this, &jIPEdit::ExitByteEdit);
        box->TControl::OnClick = TNotifyEvent(this, &jIPEdit::EditClick);
        box->OnDblClick = TNotifyEvent(this, &jIPEdit::PanelDblClick);
        box->OnChange = TNotifyEvent(this, &jIPEdit::EditChange);
        boxes_[static_cast<std::size_t>(i)] = box;
        auto* dot = new TLabel(this);
        dot->SetAutoSize(true);
        dot->SetAlignment(taCenter);
        dot->SetParent(this);
        dot->SetParentColor(true);
        dot->SetParentFont(true);
        dot->SetParentShowHint(true);
        dot->OnClick = TNotifyEvent(this, &jIPEdit::PanelClick);
        dot->OnDblClick = TNotifyEvent(this, &jIPEdit::PanelDblClick);
        dot->SetCaption(".");
        dots_[static_cast<std::size_t>(i)] = dot;
    }
    dots_[kBoxes - 1]->SetCaption("");
    dots_[kBoxes - 1]->SetVisible(false);
    MyResize(this);
}

jIPEdit::~jIPEdit() {
    for (jIPByteEdit*& box : boxes_) {
        delete box;
        box = nullptr;
    }
    for (TLabel*& dot : dots_) {
        delete dot;
        dot = nullptr;
    }
}

jIPByteEdit* jIPEdit::Box(int index) const {
    return index >= 0 && index < kBoxes ? boxes_[static_cast<std::size_t>(index)] : nullptr;
}

TLabel* jIPEdit::Dot(int index) const {
    return index >= 0 && index < kBoxes ? dots_[static_cast<std::size_t>(index)] : nullptr;
}

void jIPEdit::FocusBox(int index, bool selectAll) {
    jIPByteEdit* box = Box(index);
    if (!box) return;
    if (box->CanFocus()) box->SetFocus();
    if (selectAll) {
        box->SetSelStart(0);
        box->SetSelLength(static_cast<int>(box->Text().size()));
    }
}

void jIPEdit::Set_Enabled(bool value) {
    TCustomPanel::SetEnabled(value);
    enabled_ = value;
    for (jIPByteEdit* box : boxes_)
        if (box) box->SetEnabled(value);
    for (TLabel* dot : dots_)
        if (dot) dot->SetEnabled(value);
}

std::string jIPEdit::GetText() const {
    if (!boxes_[0]) return "";
    return boxes_[0]->Text() + "." + boxes_[1]->Text() + "." + boxes_[2]->Text() + "." + boxes_[3]->Text();
}

void jIPEdit::SetText(const std::string& value) {
    std::string rest = Trim(value) + ".";
    for (int i = 0; i < kBoxes; ++i) {
        const std::size_t dot = rest.find('.');
        if (dot == std::string::npos) break;
        std::string text;
        if (!ByteText(rest.substr(0, dot), text)) text.clear();
        Box(i)->SetTextFromCode(text);
        rest = rest.substr(dot + 1);
    }
}

DWORD jIPEdit::GetValue() const {
    DWORD value = 0;
    for (int i = 0; i < kBoxes; ++i)
        value = (value << 8) | static_cast<DWORD>(ByteValue(Box(i)->Text()));
    return value;
}

void jIPEdit::SetValue(DWORD value) {
    if (value == 0) {
        for (jIPByteEdit* box : boxes_)
            box->SetTextFromCode("");
        return;
    }
    for (int i = kBoxes - 1; i >= 0; --i) {
        Box(i)->SetTextFromCode(IntToStr(value & 255));
        value >>= 8;
    }
}

int jIPEdit::GetValueParts(int index) const {
    // The box as typed; callers that need a byte mask it themselves.
    const jIPByteEdit* box = Box(index);
    int value = 0;
    return box && TryStrToInt(Trim(box->Text()), value) ? value : 0;
}

void jIPEdit::SetValueParts(int index, int value) {
    if (jIPByteEdit* box = Box(index)) box->SetTextFromCode(IntToStr(value % 256));
}

void jIPEdit::MyResize(TObject*) {
    TLabel* first = dots_[0];
    if (!first || !boxes_[0]) return;
    const int frame = Width() - ClientWidth();
    TCanvas* canvas = first->Canvas();
    canvas->Font()->Assign(first->Font());
    const int digitsWidth = canvas->TextWidth("000");
    const int boxHeight = canvas->TextHeight("0");
    const int dotWidth = first->Width();
    int boxWidth = (Width() - frame - 3 * dotWidth) / 4;
    if (boxWidth < digitsWidth) boxWidth = digitsWidth;
    const int needed = 4 * boxWidth + 3 * dotWidth + frame;
    if (boxHeight + frame > Height()) {
        SetHeight(boxHeight + frame);
        return;
    }
    if (Width() < needed) {
        SetWidth(needed);
        return;
    }
    for (int i = 0; i < kBoxes; ++i) {
        jIPByteEdit* box = Box(i);
        TLabel* dot = Dot(i);
        box->SetBounds((boxWidth + dotWidth) * i, (ClientHeight() - boxHeight) / 2, boxWidth, boxHeight);
        dot->SetBounds(box->Left() + boxWidth, box->Top(), dot->Width(), box->Height());
    }
}

void jIPEdit::Loaded() {
    TCustomPanel::Loaded();
    MyResize(this);
}

void jIPEdit::EditChange(TObject*) {
    OnChange(this);
}

void jIPEdit::EditClick(TObject*) {
    if (dotJump_) {
        dotJump_ = false;
        return;
    }
    TControl::OnClick(this);
}

void jIPEdit::PanelClick(TObject*) {
    TControl::OnClick(this);
}

void jIPEdit::PanelDblClick(TObject*) {
    OnDblClick(this);
}

void jIPEdit::PanelEnter(TObject*) {
    FocusBox(0, false);
    OnEnter(this);
}

void jIPEdit::FilterKey(TObject* sender, char& key) {
    auto* box = dynamic_cast<jIPByteEdit*>(sender);
    if (!box) return;
    if (key == '\b') return;
    if (key == '.') {
        key = 0;
        if (box->Tag() < kBoxes - 1) {
            dotJump_ = true;
            FocusBox(static_cast<int>(box->Tag()) + 1, true);
        }
        return;
    }
    if (key < '0' || key > '9') key = 0;
}

void jIPEdit::ExitByteEdit(TObject* sender) {
    auto* box = dynamic_cast<jIPByteEdit*>(sender);
    if (!box || Trim(box->Text()).empty()) return;
    std::string text;
    if (ByteText(box->Text(), text)) box->SetTextFromCode(text);
}

bool jIPEdit::ReadProperty(TPropertyReader& r) {
    if (r.Is("Text")) {
        SetText(r.String());
    } else if (r.Is("Value")) {
        const std::int64_t value = r.Int64();
        if (value < 0 || value > 0xFFFFFFFFLL) r.Fail("value out of range");
        SetValue(static_cast<DWORD>(value));
    } else if (r.Is("Enabled")) {
        Set_Enabled(r.Boolean());
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else if (r.Is("OnEnter")) {
        OnEnter = r.Event<TNotifyEvent>();
    } else {
        return TCustomPanel::ReadProperty(r);
    }
    return true;
}

} // namespace Ipedit
