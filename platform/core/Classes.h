// The class library's basic containers: the root object, the pointer list and the string lists.
//
// Index errors raise EListError / EStringListError with the class library's texts. Text comparisons of
// the string lists ignore ASCII case unless CaseSensitive is set, as the class library's lists do.
#pragma once

#include <string>
#include <vector>

class TStream;

class TObject {
public:
    virtual ~TObject() = default;
};

// A list of untyped pointers; it never owns what they point at.
class TList : public TObject {
public:
    using TListSortCompare = int (*)(void* item1, void* item2);

    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int count);
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int capacity);

    void* Items(int index) const;
    void* operator[](int index) const { return Items(index); }
    void Put(int index, void* item);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Removes the first occurrence; returns its former index or -1.
    int Remove(void* item);
    // Removes the first occurrence and returns the item, or nullptr when it is not listed.
    void* Extract(void* item);
    int IndexOf(void* item) const;
    void Clear() { items_.clear(); }
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    // Drops the nullptr entries.
    void Pack();
    // Stable: items that compare equal keep their order.
    void Sort(TListSortCompare compare);

private:
    void Check(int index) const;
    std::vector<void*> items_;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The abstract string list. Subclasses store the lines; everything else is built on the few virtual
// primitives, so a list box's item list behaves like a plain TStringList.
class TStrings : public TObject {
public:
    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void InsertObject(int index, const std::string& text, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& text);
    virtual int AddObject(const std::string& text, TObject* object);
    virtual int IndexOf(const std::string& text) const;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    std::string operator[](int index) const { return Get(index); }
    std::string Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    int IndexOfObject(const TObject* object) const;

    // "key=value" lines: the name is the text before the first '=' (empty when there is none).
    std::string Names(int index) const;
    std::string Values(const std::string& name) const;
    std::string ValueFromIndex(int index) const;
    // An empty value deletes the line; otherwise the line is replaced or added.
    void SetValue(const std::string& name, const std::string& value);
    int IndexOfName(const std::string& name) const;

    // Every line followed by CR LF.
    std::string Text() const;
    // Lines end at CR LF, LF or a lone CR; a final line break does not start another line.
    void SetText(const std::string& text);
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char delimiter) { delimiter_ = delimiter; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char quote) { quoteChar_ = quote; }

    void AddStrings(const TStrings* strings);
    void Assign(const TStrings* source);
    bool Equals(const TStrings* other) const;

    // Nested calls allowed; subclasses that repaint may defer it until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Missing or unreadable files raise EFOpenError; the whole file is read, whatever its line ends.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    // From the stream's position to its end.
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream) const;

protected:
    virtual int CompareStrings(const std::string& a, const std::string& b) const;
    virtual void SetUpdateState(bool updating);
    [[noreturn]] void Error(const char* message, int index) const;

private:
    std::string QuotedDelimitedText(char delimiter, char quote) const;
    void ParseDelimitedText(const std::string& text, char delimiter, char quote);

    char delimiter_ = ',';
    char quoteChar_ = '"';
    int updateCount_ = 0;
};

class TStringList : public TStrings {
public:
    using TStringListSortCompare = int (*)(TStringList* list, int index1, int index2);

    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::string& text) override;
    void InsertObject(int index, const std::string& text, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& text) override;
    int AddObject(const std::string& text, TObject* object) override;
    int IndexOf(const std::string& text) const override;
    void Exchange(int index1, int index2) override;

    // Binary search of a sorted list: true when found; index is the first match or the insert position.
    bool Find(const std::string& text, int& index) const;
    void Sort();
    void CustomSort(TStringListSortCompare compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);
    // When set, the list deletes the objects of the lines it drops.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }

protected:
    int CompareStrings(const std::string& a, const std::string& b) const override;

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void Check(int index) const;
    void InsertItem(int index, const std::string& text, TObject* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
};
