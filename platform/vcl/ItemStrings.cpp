#include "platform/vcl/ItemStrings.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <algorithm>

namespace vcl_internal {

void TItemStrings::Check(int index) const {
    if (index < 0 || index >= Count()) Error("List index out of bounds (%d)", index);
}

std::string TItemStrings::Get(int index) const {
    Check(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TItemStrings::Put(int index, const std::string& text) {
    Check(index);
    if (sorted_) {
        TObject* object = items_[static_cast<std::size_t>(index)].object;
        Delete(index);
        PutObject(Add(text), object);
        return;
    }
    items_[static_cast<std::size_t>(index)].text = text;
    backend_.put(index, text);
    Changed();
}

TObject* TItemStrings::GetObject(int index) const {
    Check(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TItemStrings::PutObject(int index, TObject* object) {
    Check(index);
    items_[static_cast<std::size_t>(index)].object = object;
}

void TItemStrings::Insert(int index, const std::string& text) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
    items_.insert(items_.begin() + index, Item{text, nullptr});
    backend_.insert(index, text);
    Changed();
}

int TItemStrings::Add(const std::string& text) {
    if (!sorted_) {
        const int index = Count();
        Insert(index, text);
        return index;
    }
    // After the last line that does not sort behind the new one, so equal lines keep their order.
    auto it =
        std::upper_bound(items_.begin(), items_.end(), text, [this](const std::string& t, const Item& item) {
            return CompareStrings(t, item.text) < 0;
        });
    const int index = static_cast<int>(it - items_.begin());
    items_.insert(it, Item{text, nullptr});
    backend_.insert(index, text);
    Changed();
    return index;
}

void TItemStrings::Delete(int index) {
    Check(index);
    items_.erase(items_.begin() + index);
    backend_.remove(index);
    Changed();
}

void TItemStrings::Clear() {
    if (items_.empty()) return;
    items_.clear();
    backend_.clear();
    Changed();
}

void TItemStrings::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    sorted_ = sorted;
    if (!sorted) return;
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    backend_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i)
        backend_.insert(static_cast<int>(i), items_[i].text);
    Changed();
}

} // namespace vcl_internal
