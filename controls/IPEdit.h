// jIPEdit: an IPv4 address entry of four decimal boxes (jIPByteEdit) separated by dots. The caret
// moves on by itself after three digits or a typed dot, and back with Backspace at the start of a box.
// The address reads as dotted text, as a 32-bit number and box by box.
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <array>
#include <string>

namespace Ipedit {

class jIPEdit;

class jIPByteEdit : public TEdit {
public:
    explicit jIPByteEdit(TComponent* owner);
    void Dispatch(TMessage& message) override;

protected:
    // Moves on after the third digit; a change that leaves anything but digits (a paste) is undone.
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    friend class jIPEdit;
    jIPEdit* Owner() const;
    // Text set by the control itself (SetText, ValueParts, leaving the box): never undone.
    void SetTextFromCode(const std::string& text);
    std::string lastGood_;
    bool fromCode_ = false;
};

class jIPEdit : public TCustomPanel {
public:
    static constexpr int kBoxes = 4;

    explicit jIPEdit(TComponent* owner);
    ~jIPEdit() override;

    void Set_Enabled(bool value);
    void SetEnabled(bool value) override { Set_Enabled(value); }
    bool Enabled() const { return enabled_; }

    // "a.b.c.d" as the boxes hold it ("..." for four empty boxes).
    std::string GetText() const override;
    // Trimmed and split at dots; each part goes to its box as (number mod 256) or empty when it is no
    // number; parts beyond the fourth are ignored, boxes beyond the last part keep their text.
    void SetText(const std::string& value);
    // Each box as a byte (0..255), box 0 in the top byte.
    DWORD GetValue() const;
    DWORD Value() const { return GetValue(); }
    // 0 empties every box.
    void SetValue(DWORD value);
    // Boxes 0..3 as bytes; any other index reads 0 and writes nothing.
    int GetValueParts(int index) const;
    void SetValueParts(int index, int value);
    int ValueParts(int index) const { return GetValueParts(index); }

    jIPByteEdit* Box(int index) const;
    TLabel* Dot(int index) const;
    bool DotJump() const { return dotJump_; }

    void MyResize(TObject* sender);
    void Loaded() override;
    bool ReadProperty(TPropertyReader& reader) override;

    // Any box changed.
    TNotifyEvent OnChange;
    // The user's enter handler (the panel's own enter event focuses box 0 first).
    TNotifyEvent OnEnter;

private:
    friend class jIPByteEdit;
    void EditChange(TObject* sender);
    void EditClick(TObject* sender);
    void PanelClick(TObject* sender);
    void PanelDblClick(TObject* sender);
    void PanelEnter(TObject* sender);
    void FilterKey(TObject* sender, char& key);
    void ExitByteEdit(TObject* sender);
    void FocusBox(int index, bool selectAll);

    bool enabled_ = true;
    bool dotJump_ = false;
    std::array<jIPByteEdit*, kBoxes> boxes_{};
    std::array<TLabel*, kBoxes> dots_{};
};

// The decimal text of `text` taken as an integer modulo 256 with the sign of the number, or nullopt-
// like false when it is not an integer (blanks around are allowed).
bool ByteText(const std::string& text, std::string& out);
// A box's text as a byte: not a number 0, negatives folded into 0..255.
int ByteValue(const std::string& text);

} // namespace Ipedit

using Ipedit::jIPByteEdit;
using Ipedit::jIPEdit;
