#include "platform/vcl/Menus.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/FormsInternal.h"
#include "platform/vcl/QtSupport.h"
#include "platform/vcl/TestHooks.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <algorithm>
#include <map>

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    SetDestroying();
    while (!items_.empty()) {
        TMenuItem* last = items_.back();
        items_.pop_back();
        last->parent_ = nullptr;
        delete last;
    }
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError(Format("Menu index out of range (%d)", index));
    return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EMenuError("Menu inserted twice");
    if (index < 0 || index > Count()) throw EMenuError(Format("Menu index out of range (%d)", index));
    for (TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EMenuError("A menu item cannot contain itself");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    auto plain = [](const std::string& text) {
        std::string out;
        for (char c : text)
            if (c != '&') out += c;
        return out;
    };
    for (TMenuItem* item : items_)
        if (SameText(plain(item->caption_), plain(caption))) return item;
    return nullptr;
}

void TMenuItem::SetChecked(bool value) {
    checked_ = value;
    if (!value || !radioItem_ || !parent_) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->checked_ = false;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (autoCheck_) SetChecked(radioItem_ ? true : !checked_);
    OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
        menu->Items()->Add(this);
    else
        TComponent::SetParentComponent(parent);
}

bool TMenuItem::ReadProperty(TPropertyReader& r) {
    if (r.Is("Caption")) {
        SetCaption(r.String());
    } else if (r.Is("Checked")) {
        SetChecked(r.Boolean());
    } else if (r.Is("RadioItem")) {
        SetRadioItem(r.Boolean());
    } else if (r.Is("GroupIndex")) {
        const int value = r.Integer();
        if (value < 0 || value > 255) r.Fail("group index out of range");
        SetGroupIndex(static_cast<BYTE>(value));
    } else if (r.Is("AutoCheck")) {
        SetAutoCheck(r.Boolean());
    } else if (r.Is("Visible")) {
        SetVisible(r.Boolean());
    } else if (r.Is("Enabled")) {
        SetEnabled(r.Boolean());
    } else if (r.Is("Hint")) {
        SetHint(r.String());
    } else if (r.Is("OnClick")) {
        OnClick = r.Event<TNotifyEvent>();
    } else if (r.Is("ShortCut") || r.Is("ImageIndex")) {
        r.Integer();
    } else {
        return TComponent::ReadProperty(r);
    }
    return true;
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu() {
    SetDestroying();
    // The root item is owned here; deleting it takes the whole tree along.
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    popupComponent_ = value;
    if (value) FreeNotification(value);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
    if (operation == opRemove && component == items_) items_ = nullptr;
}

namespace {

bool InTree(const TMenuItem* root, const TMenuItem* item) {
    if (root == item) return true;
    for (int i = 0; i < root->Count(); ++i)
        if (InTree(root->Items(i), item)) return true;
    return false;
}

void BuildMenu(QMenu* menu, TMenuItem* parent, std::map<QAction*, TMenuItem*>& actions) {
    std::map<int, QActionGroup*> groups;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            menu->addSeparator();
            continue;
        }
        const QString caption = vcl_internal::ToQString(item->Caption());
        if (item->Count() > 0) {
            QMenu* sub = menu->addMenu(caption);
            sub->setEnabled(item->Enabled());
            BuildMenu(sub, item, actions);
            continue;
        }
        QAction* action = menu->addAction(caption);
        action->setEnabled(item->Enabled());
        action->setCheckable(item->Checked() || item->RadioItem() || item->AutoCheck());
        action->setChecked(item->Checked());
        if (item->RadioItem()) {
            QActionGroup*& group = groups[item->GroupIndex()];
            if (!group) group = new QActionGroup(menu);
            group->addAction(action);
        }
        actions[action] = item;
    }
}

} // namespace

void TPopupMenu::Popup(int x, int y) {
    OnPopup(this);
    if (!items_) return;
    TMenuItem* chosen = nullptr;
    if (const TPopupMenuHook& hook = vcl_internal::PopupMenuHook()) {
        chosen = hook(*this, Point(x, y));
    } else if (vcl_internal::IsOffscreen()) {
        DebugTrace("TPopupMenu::Popup", "no answer set for the menu " + Name() + "; dismissed");
        return;
    } else {
        QMenu menu;
        std::map<QAction*, TMenuItem*> actions;
        BuildMenu(&menu, items_, actions);
        QAction* action = menu.exec(QPoint(x, y));
        auto it = actions.find(action);
        if (it != actions.end()) chosen = it->second;
    }
    // The tree may have changed while the menu was open.
    if (chosen && items_ && InTree(items_, chosen) && chosen->Enabled()) chosen->Click();
}

bool TPopupMenu::ReadProperty(TPropertyReader& r) {
    if (r.Is("AutoPopup")) {
        SetAutoPopup(r.Boolean());
    } else if (r.Is("Alignment")) {
        SetAlignment(
            r.Enum<TPopupAlignment>({{"paLeft", paLeft}, {"paRight", paRight}, {"paCenter", paCenter}}));
    } else if (r.Is("OnPopup")) {
        OnPopup = r.Event<TNotifyEvent>();
    } else {
        return TComponent::ReadProperty(r);
    }
    return true;
}

bool vcl_internal::ShowContextMenu(TControl* control, TPoint screenPoint) {
    for (TControl* c = control; c; c = c->Parent()) {
        TPopupMenu* menu = c->PopupMenu();
        if (menu && menu->AutoPopup()) {
            menu->SetPopupComponent(control);
            menu->Popup(screenPoint.X, screenPoint.Y);
            return true;
        }
    }
    return false;
}
