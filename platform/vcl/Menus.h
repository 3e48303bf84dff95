// Popup menus and their items.
#pragma once

#include "platform/vcl/Components.h"

#include <string>
#include <vector>

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "-" is a separator; '&' marks the access key.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }
    bool Checked() const { return checked_; }
    // Checking a radio item turns off the other radio items of its group under the same parent.
    void SetChecked(bool value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value) { radioItem_ = value; }
    BYTE GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(BYTE value) { groupIndex_ = value; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool value) { autoCheck_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EMenuError for an index out of range.
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of this menu (it is not deleted).
    void Remove(TMenuItem* item);
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Find(const std::string& caption) const;
    bool IsLine() const { return caption_ == "-"; }

    // What choosing the item does: AutoCheck, then OnClick.
    virtual void Click();

    void SetParentComponent(TComponent* parent) override;
    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnClick;

private:
    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    BYTE groupIndex_ = 0;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

HARBEK_DECLARE_EXCEPTION(EMenuError, Exception);

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return items_; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    // The control the menu was opened for (by a right click), or nullptr.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value);

    // Opens the menu at a screen point and waits until it closes; the chosen item's Click runs then.
    virtual void Popup(int x, int y);

    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
};
