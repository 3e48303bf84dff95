// Page controls and their tab sheets.
#pragma once

#include "platform/vcl/Controls.h"

#include <vector>

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* value);
    // Index among all pages of the page control (-1 without one).
    int PageIndex() const;
    void SetPageIndex(int value);
    // A hidden tab keeps its page; its page cannot be active.
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);
    // Index among the visible tabs, or -1.
    int TabIndex() const;

    void SetParentComponent(TComponent* parent) override;
    bool ReadProperty(TPropertyReader& reader) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

using TTabChangingEvent = TEvent<TObject*, bool&>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Raises EListError for an index out of range.
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    // nullptr or a page of this control whose tab is visible; anything else raises EInvalidOperation.
    // Changing it from the program fires no events.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    // An index out of range selects no page.
    void SetActivePageIndex(int value);
    // The active page's index among the visible tabs, or -1.
    int TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }
    void SetTabIndex(int value);
    // The visible tab after (or before) the given page, wrapping; nullptr when there is none.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward);
    // Where the pages lie, in client coordinates.
    TRect DisplayRect() const;

    bool ReadProperty(TPropertyReader& reader) override;
    void Loaded() override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    // Platform-internal.
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageChanged(TTabSheet* page);
    void UserSelectedTab(int tabIndex);

protected:
    void BoundsChanged() override;

private:
    friend class TTabSheet;
    void ShowActivePage();
    void PlacePages();
    void RebuildTabs();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    int pendingTabIndex_ = -1;
    bool updating_ = false;
};
