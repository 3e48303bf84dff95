#include "platform/core/StrUtils.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/ItemStrings.h"
#include "platform/vcl/StdCtrls.h"

#include <QListWidget>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

using vcl_internal::ToQString;

namespace {
QListWidget* ListOf(const TControl* c) {
    return static_cast<QListWidget*>(c->Peer()->inner.data());
}

// Lines of the list box's ItemHeight. A delegate, not a style sheet: a style sheet would make the
// widget ignore the control's Color.
class ItemHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int height = 0;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (height > 0) size.setHeight(height);
        return size;
    }
};
} // namespace

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    auto* list = new QListWidget();
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    Peer()->SetInner(list);
    vcl_internal::TItemStrings::Backend backend;
    // The selection stays on its line while others come and go; deleting the line clears it.
    backend.insert = [this, list](int index, const std::string& text) {
        updating_ = true;
        list->insertItem(index, ToQString(text));
        if (itemIndex_ >= index) ++itemIndex_;
        updating_ = false;
    };
    backend.remove = [this, list](int index) {
        updating_ = true;
        delete list->takeItem(index);
        if (itemIndex_ == index)
            itemIndex_ = -1;
        else if (itemIndex_ > index)
            --itemIndex_;
        updating_ = false;
    };
    backend.put = [list](int index, const std::string& text) { list->item(index)->setText(ToQString(text)); };
    backend.clear = [this, list] {
        updating_ = true;
        list->clear();
        itemIndex_ = -1;
        updating_ = false;
    };
    backend.changed = [this] { ItemsChanged(); };
    items_ = std::make_unique<vcl_internal::TItemStrings>(std::move(backend));
    // The class library's list box reports a click when the user moves the selection, and when the
    // user presses on the line already selected.
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int row) {
        if (updating_) return;
        clickedByChange_ = true;
        vcl_internal::Guarded([this, row] { UserSelected(row); });
    });
    QObject::connect(list, &QListWidget::itemPressed, list, [this, list](QListWidgetItem* item) {
        if (updating_) return;
        if (clickedByChange_) {
            clickedByChange_ = false;
            return;
        }
        const int row = list->row(item);
        vcl_internal::Guarded([this, row] { UserSelected(row); });
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [this](QListWidgetItem*) { vcl_internal::Guarded([this] { DblClick(); }); });
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csOpaque});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() = default;

TStrings* TListBox::Items() const {
    return items_.get();
}
void TListBox::SetItems(const TStrings* value) {
    items_->Assign(value);
}
bool TListBox::Sorted() const {
    return items_->Sorted();
}
void TListBox::SetSorted(bool value) {
    items_->SetSorted(value);
}
int TListBox::Count() const {
    return items_->Count();
}

void TListBox::Clear() {
    items_->Clear();
    itemIndex_ = -1;
}

void TListBox::ItemsChanged() {
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    updating_ = true;
    ListOf(this)->setCurrentRow(itemIndex_);
    updating_ = false;
}

void TListBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_->Count()) value = -1;
    itemIndex_ = value;
    updating_ = true;
    QListWidget* list = ListOf(this);
    list->setCurrentRow(value);
    if (value < 0) list->clearSelection();
    updating_ = false;
}

void TListBox::Loaded() {
    TWinControl::Loaded();
    if (loadedItemIndex_ != -1) SetItemIndex(loadedItemIndex_);
    loadedItemIndex_ = -1;
}

void TListBox::UserSelected(int index) {
    itemIndex_ = index;
    Click();
}

int TListBox::TopIndex() const {
    QListWidget* list = ListOf(this);
    QListWidgetItem* top = list->itemAt(1, 1);
    return top ? list->row(top) : 0;
}

void TListBox::SetTopIndex(int value) {
    QListWidget* list = ListOf(this);
    if (value < 0 || value >= list->count()) return;
    list->scrollToItem(list->item(value), QAbstractItemView::PositionAtTop);
}

void TListBox::SetItemHeight(int value) {
    itemHeight_ = std::max(value, 1);
    QListWidget* list = ListOf(this);
    auto* delegate = dynamic_cast<ItemHeightDelegate*>(list->itemDelegate());
    if (!delegate) {
        delegate = new ItemHeightDelegate(list);
        list->setItemDelegate(delegate);
    }
    delegate->height = itemHeight_;
    list->doItemsLayout();
}

int TListBox::ItemAtPos(const TPoint& point, bool existing) const {
    QListWidget* list = ListOf(this);
    const QPoint inViewport = list->viewport()->mapFrom(Peer()->widget, QPoint(point.X, point.Y));
    if (QListWidgetItem* item = list->itemAt(inViewport)) return list->row(item);
    return existing ? -1 : list->count();
}

bool TListBox::ReadProperty(TPropertyReader& r) {
    if (r.Is("Items.Strings")) {
        items_->Clear();
        for (const std::string& item : r.Strings())
            items_->Add(item);
    } else if (r.Is("ItemIndex")) {
        loadedItemIndex_ = r.Integer();
    } else if (r.Is("Sorted")) {
        SetSorted(r.Boolean());
    } else if (r.Is("ItemHeight")) {
        SetItemHeight(r.Integer());
    } else if (r.Is("BorderStyle")) {
        const bool single = r.Enum<bool>({{"bsNone", false}, {"bsSingle", true}});
        ListOf(this)->setFrameShape(single ? QFrame::StyledPanel : QFrame::NoFrame);
    } else if (r.Is("IntegralHeight") || r.Is("MultiSelect") || r.Is("ExtendedSelect")) {
        if (r.Boolean() && !r.Is("IntegralHeight")) r.Fail("only single selection is supported");
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}
