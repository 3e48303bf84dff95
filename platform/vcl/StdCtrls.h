// The standard controls: labels, edits, memos, buttons, check boxes, radio buttons, group boxes, combo
// boxes, list boxes and scroll bars.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/Controls.h"

#include <memory>
#include <string>

namespace vcl_internal {
class TItemStrings;
}

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    // Sizes the label to its text (keeping the edge its alignment names).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Leaves the background as it is instead of filling it with Color.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // '&' marks the access key (shown plain here); "&&" is an ampersand.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value) { focusControl_ = value; }

    bool ReadProperty(TPropertyReader& reader) override;
    void Loaded() override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void AdjustBounds();
    std::string DisplayText() const;
    UINT DrawFlags() const;

    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    // Any character but #0 hides what is typed.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    bool Modified() const;
    void SetModified(bool value);
    // Where the text sits in the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // The box's frame: bsSingle (the default) or none.
    bool Framed() const { return framed_; }
    void SetFramed(bool value);

    // Positions count characters, as the user sees them.
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    void SetSelText(const std::string& value);
    void SelectAll();
    void Clear() { SetText(""); }

    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnChange;

protected:
    std::string GetText() const override;
    void TextChanged() override;
    virtual void Change();

private:
    int maxLength_ = 0;
    char passwordChar_ = 0;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    TEditCharCase charCase_ = ecNormal;
    TAlignment alignment_ = taLeftJustify;
    bool framed_ = true;
    bool settingText_ = false;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    TStrings* Lines() const;
    void SetLines(const TStrings* value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = value; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    void Clear() { SetText(""); }

    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnChange;

protected:
    std::string GetText() const override;
    void TextChanged() override;

private:
    void SyncLinesFromWidget();

    std::unique_ptr<vcl_internal::TItemStrings> lines_;
    bool readOnly_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    int maxLength_ = 0;
    bool wantReturns_ = true;
    bool syncing_ = false;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    // Enter anywhere on the form clicks the default button, Esc the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // A click sets the form's ModalResult to this (when not mrNone).
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }

    void Click() override;
    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void TextChanged() override;

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);

    bool Checked() const { return state_ == cbChecked; }
    // A change fires OnClick, as a click does (not while the form is being loaded).
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    // taRightJustify (the default) puts the caption right of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void TextChanged() override;

private:
    void UserToggled();

    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    // Checking one turns off the other radio buttons of the same parent and fires OnClick, as a
    // click does; unchecking fires nothing.
    void SetChecked(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    bool ReadProperty(TPropertyReader& reader) override;

protected:
    void TextChanged() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void Paint() override;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TStrings* Items() const;
    void SetItems(const TStrings* value);
    // -1: nothing selected (a drop-down list then shows no text).
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    bool Sorted() const;
    void SetSorted(bool value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    void Clear();

    bool ReadProperty(TPropertyReader& reader) override;
    void Loaded() override;

    // The user picked an item (OnSelect; OnChange when there is no OnSelect) or typed text (OnChange).
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;

protected:
    std::string GetText() const override;
    void TextChanged() override;
    virtual void Change();
    virtual void Select();

private:
    void UserSelected(int index);
    void UserEdited();
    void ItemsChanged();
    // Every use of the widget applies the style first: an editable box's editor is made only once the
    // style is known, not for each box that a definition then makes a drop-down list.
    void EnsureStyle() const;

    std::unique_ptr<vcl_internal::TItemStrings> items_;
    int itemIndex_ = -1;
    // Definitions give the index before the items; it is applied once they are read.
    int loadedItemIndex_ = -1;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    bool updating_ = false;
    mutable bool styleApplied_ = false;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;

    TStrings* Items() const;
    void SetItems(const TStrings* value);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    bool Sorted() const;
    void SetSorted(bool value);
    // Index of the first line shown.
    int TopIndex() const;
    void SetTopIndex(int value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int Count() const;
    void Clear();
    // The line at a client point, or -1.
    int ItemAtPos(const TPoint& point, bool existing) const;

    bool ReadProperty(TPropertyReader& reader) override;
    void Loaded() override;

private:
    void UserSelected(int index);
    void ItemsChanged();

    std::unique_ptr<vcl_internal::TItemStrings> items_;
    int itemIndex_ = -1;
    int loadedItemIndex_ = -1;
    int itemHeight_ = 13;
    bool updating_ = false;
    bool clickedByChange_ = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using TScrollEvent = TEvent<TObject*, TScrollCode, int&>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    int Min() const { return min_; }
    void SetMin(int value) { SetParams(position_, value, max_); }
    int Max() const { return max_; }
    void SetMax(int value) { SetParams(position_, min_, value); }
    int Position() const { return position_; }
    // A change of position fires OnChange, also when made by the program.
    void SetPosition(int value) { SetParams(value, min_, max_); }
    // Raises EInvalidOperation when max < min; the position is kept inside the range.
    void SetParams(int position, int min, int max);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int value);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int value);

    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

private:
    void Apply();
    void UserMoved(int value, TScrollCode code);

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    int pageSize_ = 0;
    bool updating_ = false;
};
