#include "platform/core/StrUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ControlPeer.h"
#include "platform/vcl/FormReader.h"

#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace {
QTabWidget* TabsOf(const TPageControl* c) {
    return static_cast<QTabWidget*>(c->Peer()->inner.data());
}
} // namespace

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetColor(clBtnFace);
    SetParentColor(true);
    Peer()->widget->setAutoFillBackground(true);
}

TTabSheet::~TTabSheet() {
    SetDestroying();
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
    if (pageControl_ == value) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(value);
    if (value) value->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    for (int i = 0; i < pageControl_->PageCount(); ++i)
        if (pageControl_->Pages(i) == this) return i;
    return -1;
}

void TTabSheet::SetPageIndex(int value) {
    if (!pageControl_) return;
    auto& pages = pageControl_->pages_;
    pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
    value = std::clamp(value, 0, static_cast<int>(pages.size()));
    pages.insert(pages.begin() + value, this);
    pageControl_->RebuildTabs();
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int index = 0;
    for (int i = 0; i < pageControl_->PageCount(); ++i) {
        TTabSheet* page = pageControl_->Pages(i);
        if (page == this) return index;
        if (page->tabVisible_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (tabVisible_ == value) return;
    tabVisible_ = value;
    if (pageControl_) pageControl_->PageChanged(this);
}

void TTabSheet::TextChanged() {
    TWinControl::TextChanged();
    if (pageControl_) pageControl_->PageChanged(this);
}

void TTabSheet::SetParentComponent(TComponent* parent) {
    if (auto* pages = dynamic_cast<TPageControl*>(parent))
        SetPageControl(pages);
    else
        TWinControl::SetParentComponent(parent);
}

bool TTabSheet::ReadProperty(TPropertyReader& r) {
    if (r.Is("TabVisible")) {
        SetTabVisible(r.Boolean());
    } else if (r.Is("PageIndex")) {
        SetPageIndex(r.Integer());
    } else if (r.Is("ImageIndex")) {
        r.Integer();
    } else if (r.Is("OnShow")) {
        OnShow = r.Event<TNotifyEvent>();
    } else if (r.Is("OnHide")) {
        OnHide = r.Event<TNotifyEvent>();
    } else if (r.Is("Left") || r.Is("Top") || r.Is("Width") || r.Is("Height")) {
        // The page control places its pages.
        r.Integer();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    auto* tabs = new QTabWidget();
    tabs->setDocumentMode(false);
    Peer()->SetInner(tabs);
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this](int index) {
        if (!updating_) vcl_internal::Guarded([this, index] { UserSelectedTab(index); });
    });
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    SetDestroying();
    for (TTabSheet* page : pages_)
        page->pageControl_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EListError(Format("List index out of bounds (%d)", index));
    return pages_[static_cast<std::size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) return;
    pages_.push_back(page);
    page->pageControl_ = this;
    RebuildTabs();
    PlacePages();
    if (!activePage_ && page->TabVisible() && !ComponentState().Contains(csLoading))
        SetActivePage(page);
    else
        ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    TTabSheet* next = activePage_ == page ? FindNextPage(page, true, true) : activePage_;
    pages_.erase(it);
    page->pageControl_ = nullptr;
    if (next == page) next = nullptr;
    activePage_ = next;
    if (!ComponentState().Contains(csDestroying)) {
        RebuildTabs();
        ShowActivePage();
    }
}

void TPageControl::RebuildTabs() {
    QTabWidget* tabs = TabsOf(this);
    updating_ = true;
    while (tabs->count() > 0) {
        QWidget* w = tabs->widget(0);
        tabs->removeTab(0);
        delete w;
    }
    for (TTabSheet* page : pages_) {
        const int index = tabs->addTab(new QWidget(), vcl_internal::ToQString(page->Caption()));
        tabs->setTabVisible(index, page->TabVisible());
    }
    if (activePage_) tabs->setCurrentIndex(activePage_->PageIndex());
    updating_ = false;
}

void TPageControl::PageChanged(TTabSheet* page) {
    QTabWidget* tabs = TabsOf(this);
    const int index = page->PageIndex();
    if (index < 0) return;
    updating_ = true;
    tabs->setTabText(index, vcl_internal::ToQString(page->Caption()));
    tabs->setTabVisible(index, page->TabVisible());
    updating_ = false;
    // A page whose tab goes away cannot stay active.
    if (page == activePage_ && !page->TabVisible()) {
        TTabSheet* next = FindNextPage(page, true, true);
        activePage_ = next == page ? nullptr : next;
    }
    ShowActivePage();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    if (pages_.empty()) return nullptr;
    const int count = PageCount();
    int start = current ? current->PageIndex() : -1;
    if (start < 0) start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i - 1 + count) % count;
        TTabSheet* page = pages_[static_cast<std::size_t>(i)];
        if (!checkTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
    TTabSheet* next = FindNextPage(activePage_, goForward, true);
    if (next && next != activePage_) {
        bool allow = true;
        OnChanging(this, allow);
        if (!allow) return;
        SetActivePage(next);
        OnChange(this);
    }
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && (page->pageControl_ != this || !page->TabVisible()))
        throw EInvalidOperation("The page cannot be made the active page");
    if (page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = page;
    ShowActivePage();
    if (old) old->OnHide(old);
    if (page) page->OnShow(page);
}

void TPageControl::SetActivePageIndex(int value) {
    if (value < 0 || value >= PageCount()) {
        SetActivePage(nullptr);
        return;
    }
    SetActivePage(pages_[static_cast<std::size_t>(value)]);
}

void TPageControl::SetTabIndex(int value) {
    for (TTabSheet* page : pages_)
        if (page->TabIndex() == value && value >= 0) {
            SetActivePage(page);
            return;
        }
}

void TPageControl::UserSelectedTab(int tabIndex) {
    if (tabIndex < 0 || tabIndex >= PageCount()) return;
    TTabSheet* page = pages_[static_cast<std::size_t>(tabIndex)];
    if (page == activePage_) return;
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) {
        ShowActivePage();
        return;
    }
    SetActivePage(page);
    OnChange(this);
}

void TPageControl::ShowActivePage() {
    QTabWidget* tabs = TabsOf(this);
    updating_ = true;
    if (activePage_) tabs->setCurrentIndex(activePage_->PageIndex());
    updating_ = false;
    for (TTabSheet* page : pages_) {
        page->SetVisible(page == activePage_);
        if (page == activePage_) page->BringToFront();
    }
}

TRect TPageControl::DisplayRect() const {
    const int tabHeight = TabsOf(this)->tabBar()->sizeHint().height();
    return Rect(4, tabHeight + 4, std::max(Width() - 4, 4), std::max(Height() - 4, tabHeight + 4));
}

void TPageControl::PlacePages() {
    const TRect r = DisplayRect();
    for (TTabSheet* page : pages_)
        page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::BoundsChanged() {
    TWinControl::BoundsChanged();
    PlacePages();
}

void TPageControl::Loaded() {
    TWinControl::Loaded();
    PlacePages();
    if (pendingTabIndex_ >= 0) SetTabIndex(pendingTabIndex_);
    pendingTabIndex_ = -1;
    if (!activePage_)
        for (TTabSheet* page : pages_)
            if (page->TabVisible()) {
                SetActivePage(page);
                break;
            }
    ShowActivePage();
}

bool TPageControl::ReadProperty(TPropertyReader& r) {
    if (r.Is("ActivePage")) {
        r.Reference([this](TComponent* c) {
            auto* page = dynamic_cast<TTabSheet*>(c);
            if (!page || page->PageControl() != this || !page->TabVisible()) return false;
            SetActivePage(page);
            return true;
        });
    } else if (r.Is("TabIndex")) {
        // The pages come after the control's own properties.
        pendingTabIndex_ = r.Integer();
    } else if (r.Is("OnChange")) {
        OnChange = r.Event<TNotifyEvent>();
    } else if (r.Is("OnChanging")) {
        OnChanging = r.Event<TTabChangingEvent>();
    } else if (r.Is("TabPosition")) {
        if (r.Ident() != "tpTop") r.Fail("only tabs at the top are supported");
    } else if (r.Is("Style")) {
        if (r.Ident() != "tsTabs") r.Fail("only the tab style tsTabs is supported");
    } else if (r.Is("MultiLine") || r.Is("HotTrack")) {
        r.Boolean();
    } else if (r.Is("TabHeight") || r.Is("TabWidth")) {
        r.Integer();
    } else {
        return TWinControl::ReadProperty(r);
    }
    return true;
}
