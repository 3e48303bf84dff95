#include "platform/core/Classes.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"

#include <algorithm>
#include <memory>

namespace {

const char* const kListIndexError = "List index out of bounds (%d)";
const char* const kSortedListError = "Operation not allowed on sorted list";
const char* const kDuplicateString = "String list does not allow duplicates";
const char* const kLineBreak = "\r\n";

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

// ---- TList ----

void TList::Check(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format(kListIndexError, index));
}

void TList::SetCount(int count) {
    if (count < 0) throw EListError(Format("List count out of bounds (%d)", count));
    items_.resize(static_cast<std::size_t>(count), nullptr);
}

void TList::SetCapacity(int capacity) {
    if (capacity < Count()) throw EListError(Format("List capacity out of bounds (%d)", capacity));
    items_.reserve(static_cast<std::size_t>(capacity));
}

void* TList::Items(int index) const {
    Check(index);
    return items_[static_cast<std::size_t>(index)];
}

void TList::Put(int index, void* item) {
    Check(index);
    items_[static_cast<std::size_t>(index)] = item;
}

int TList::Add(void* item) {
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count()) throw EListError(Format(kListIndexError, index));
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    Check(index);
    items_.erase(items_.begin() + index);
}

int TList::IndexOf(void* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TList::Remove(void* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

void* TList::Extract(void* item) {
    const int index = IndexOf(item);
    if (index < 0) return nullptr;
    Delete(index);
    return item;
}

void TList::Exchange(int index1, int index2) {
    Check(index1);
    Check(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    Check(curIndex);
    Check(newIndex);
    void* item = items_[static_cast<std::size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Pack() {
    items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::Sort(TListSortCompare compare) {
    if (compare == nullptr) return;
    std::stable_sort(items_.begin(), items_.end(), [compare](void* a, void* b) { return compare(a, b) < 0; });
}

// ---- TStrings ----

void TStrings::Error(const char* message, int index) const {
    throw EStringListError(Format(message, index));
}

void TStrings::Put(int index, const std::string& text) {
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, text, object);
    EndUpdate();
}

TObject* TStrings::GetObject(int index) const {
    if (index < 0 || index >= Count()) Error(kListIndexError, index);
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
    Insert(index, text);
    PutObject(index, object);
}

int TStrings::Add(const std::string& text) {
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
    const int index = Add(text);
    PutObject(index, object);
    return index;
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const {
    return CompareText(a, b);
}

int TStrings::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), text) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2) {
    const std::string text1 = Get(index1);
    const std::string text2 = Get(index2);
    TObject* object1 = GetObject(index1);
    TObject* object2 = GetObject(index2);
    BeginUpdate();
    Put(index1, text2);
    PutObject(index1, object2);
    Put(index2, text1);
    PutObject(index2, object1);
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    if (newIndex < 0 || newIndex >= Count()) Error(kListIndexError, newIndex);
    const std::string text = Get(curIndex);
    TObject* object = GetObject(curIndex);
    BeginUpdate();
    Delete(curIndex);
    InsertObject(newIndex, text, object);
    EndUpdate();
}

std::string TStrings::Names(int index) const {
    const std::string line = Get(index);
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string line = Get(i);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && CompareStrings(line.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::string TStrings::Values(const std::string& name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

std::string TStrings::ValueFromIndex(int index) const {
    const std::string line = Get(index);
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
    const int index = IndexOfName(name);
    if (!value.empty()) {
        if (index < 0)
            Add(name + "=" + value);
        else
            Put(index, name + "=" + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += kLineBreak;
    }
    return text;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    Clear();
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        Add(text.substr(start, end - start));
        if (end < n && text[end] == '\r') ++end;
        if (end < n && text[end] == '\n') ++end;
        start = end;
    }
    EndUpdate();
}

std::string TStrings::QuotedDelimitedText(char delimiter, char quote) const {
    if (Count() == 1 && Get(0).empty()) return std::string(2, quote);
    std::string result;
    for (int i = 0; i < Count(); ++i) {
        const std::string item = Get(i);
        const bool needsQuotes = std::any_of(item.begin(), item.end(), [&](char c) {
            return IsBlankOrControl(c) || c == quote || c == delimiter;
        });
        if (i > 0) result += delimiter;
        if (!needsQuotes) {
            result += item;
            continue;
        }
        result += quote;
        for (char c : item) {
            if (c == quote) result += quote;
            result += c;
        }
        result += quote;
    }
    return result;
}

void TStrings::ParseDelimitedText(const std::string& text, char delimiter, char quote) {
    // Blanks outside quotes separate items as the delimiter does; a quoted item ends at the first
    // single quote character, doubled quote characters stand for one.
    BeginUpdate();
    Clear();
    const std::size_t n = text.size();
    std::size_t p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlankOrControl(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (text[p] == quote) {
            ++p;
            while (p < n) {
                if (text[p] == quote) {
                    if (p + 1 < n && text[p + 1] == quote) {
                        item += quote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlankOrControl(text[p]) && text[p] != delimiter)
                ++p;
            item = text.substr(start, p - start);
        }
        Add(item);
        skipBlanks();
        if (p < n && text[p] == delimiter) {
            if (p + 1 == n) Add(std::string());
            ++p;
            skipBlanks();
        }
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    return QuotedDelimitedText(',', '"');
}
void TStrings::SetCommaText(const std::string& text) {
    ParseDelimitedText(text, ',', '"');
}
std::string TStrings::DelimitedText() const {
    return QuotedDelimitedText(delimiter_, quoteChar_);
}
void TStrings::SetDelimitedText(const std::string& text) {
    ParseDelimitedText(text, delimiter_, quoteChar_);
}

void TStrings::AddStrings(const TStrings* strings) {
    if (strings == nullptr) return;
    BeginUpdate();
    for (int i = 0; i < strings->Count(); ++i)
        AddObject(strings->Get(i), strings->GetObject(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings* source) {
    if (source == this) return;
    BeginUpdate();
    Clear();
    if (source != nullptr) {
        delimiter_ = source->delimiter_;
        quoteChar_ = source->quoteChar_;
        AddStrings(source);
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings* other) const {
    if (other == nullptr || other->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other->Get(i)) return false;
    return true;
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TStrings::LoadFromStream(TStream* stream) {
    if (stream == nullptr) throw EStreamError("Stream is nil");
    // Read to the end rather than trusting Size, which a growing file or a pipe may not tell.
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const int n = stream->Read(buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    SetText(bytes);
}

void TStrings::SaveToStream(TStream* stream) const {
    if (stream == nullptr) throw EStreamError("Stream is nil");
    const std::string text = Text();
    stream->WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

// ---- TStringList ----

TStringList::~TStringList() {
    if (ownsObjects_)
        for (Item& item : items_)
            delete item.object;
}

void TStringList::Check(int index) const {
    if (index < 0 || index >= Count()) Error(kListIndexError, index);
}

std::string TStringList::Get(int index) const {
    Check(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& text) {
    if (sorted_) Error(kSortedListError, 0);
    Check(index);
    items_[static_cast<std::size_t>(index)].text = text;
}

TObject* TStringList::GetObject(int index) const {
    Check(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
    Check(index);
    TObject*& slot = items_[static_cast<std::size_t>(index)].object;
    if (ownsObjects_ && slot != object) delete slot;
    slot = object;
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object) {
    items_.insert(items_.begin() + index, Item{text, object});
}

void TStringList::Insert(int index, const std::string& text) {
    InsertObject(index, text, nullptr);
}

void TStringList::InsertObject(int index, const std::string& text, TObject* object) {
    if (sorted_) Error(kSortedListError, 0);
    if (index < 0 || index > Count()) Error(kListIndexError, index);
    InsertItem(index, text, object);
}

void TStringList::Delete(int index) {
    Check(index);
    if (ownsObjects_) delete items_[static_cast<std::size_t>(index)].object;
    items_.erase(items_.begin() + index);
}

void TStringList::Clear() {
    if (ownsObjects_)
        for (Item& item : items_)
            delete item.object;
    items_.clear();
}

int TStringList::Add(const std::string& text) {
    return AddObject(text, nullptr);
}

int TStringList::AddObject(const std::string& text, TObject* object) {
    int index = Count();
    if (sorted_ && Find(text, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EStringListError(kDuplicateString);
        // Accepted duplicates go after their equals, so that equal lines keep their order of arrival.
        while (index < Count() && CompareStrings(items_[static_cast<std::size_t>(index)].text, text) == 0)
            ++index;
    }
    InsertItem(index, text, object);
    return index;
}

int TStringList::IndexOf(const std::string& text) const {
    if (!sorted_) return TStrings::IndexOf(text);
    int index = 0;
    return Find(text, index) ? index : -1;
}

void TStringList::Exchange(int index1, int index2) {
    Check(index1);
    Check(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

bool TStringList::Find(const std::string& text, int& index) const {
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        const int c = CompareStrings(items_[static_cast<std::size_t>(mid)].text, text);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) found = true;
        }
    }
    index = low;
    return found;
}

void TStringList::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
}

void TStringList::CustomSort(TStringListSortCompare compare) {
    if (compare == nullptr || Count() < 2) return;
    // The comparer looks lines up by index, so sort a permutation and apply it afterwards.
    std::vector<int> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
    items_ = std::move(sorted);
}

void TStringList::SetSorted(bool sorted) {
    if (sorted && !sorted_) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == caseSensitive_) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}
