// Platform-internal: the item list of a list box, combo box or memo, kept in step with its widget.
#pragma once

#include "platform/core/Classes.h"

#include <functional>
#include <string>
#include <vector>

namespace vcl_internal {

class TItemStrings : public TStrings {
public:
    struct Backend {
        std::function<void(int index, const std::string& text)> insert;
        std::function<void(int index)> remove;
        std::function<void(int index, const std::string& text)> put;
        std::function<void()> clear;
        // After any change (ItemIndex checks, repaint).
        std::function<void()> changed;
    };

    explicit TItemStrings(Backend backend) : backend_(std::move(backend)) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& text) override;

    // Sorted lists put every added line in its place (ignoring case); Insert is refused.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void Check(int index) const;
    void Changed() const {
        if (backend_.changed) backend_.changed();
    }

    Backend backend_;
    std::vector<Item> items_;
    bool sorted_ = false;
};

} // namespace vcl_internal
