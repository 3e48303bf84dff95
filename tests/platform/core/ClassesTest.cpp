#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/CoreTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using coretest::Lines;
using coretest::MessageOf;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

void Fill(TStrings& list, const std::vector<std::string>& lines) {
    list.Clear();
    for (const auto& line : lines)
        list.Add(line);
}

TEST(TList, IndexErrorsCarryTheIndex) {
    TList list;
    int a = 1;
    int b = 2;
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(MessageOf([&] { list.Items(2); }), "List index out of bounds (2)");
    EXPECT_EQ(MessageOf([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(MessageOf([&] { list.Insert(3, &a); }), "List index out of bounds (3)");
    EXPECT_THROW(TList().First(), EListError);
    EXPECT_THROW(TList().Last(), EListError);
    list.Insert(2, &a); // appending at Count is allowed
    EXPECT_EQ(list.Count(), 3);
}

TEST(TList, RemoveExtractExchangeMoveSortPack) {
    int v[5] = {50, 10, 40, 20, 30};
    TList list;
    for (int& x : v)
        list.Add(&x);
    EXPECT_EQ(list.Remove(&v[2]), 2);
    EXPECT_EQ(list.Remove(&v[2]), -1);
    EXPECT_EQ(list.Extract(&v[0]), &v[0]);
    EXPECT_EQ(list.Extract(&v[0]), nullptr);
    // 10, 20, 30 left
    list.Exchange(0, 2);
    EXPECT_EQ(*static_cast<int*>(list[0]), 30);
    list.Move(0, 2);
    EXPECT_EQ(*static_cast<int*>(list[2]), 30);
    list.Add(nullptr);
    list.Pack();
    EXPECT_EQ(list.Count(), 3);
    list.Sort([](void* a, void* b) { return *static_cast<int*>(b) - *static_cast<int*>(a); });
    EXPECT_EQ(*static_cast<int*>(list.First()), 30);
    EXPECT_EQ(*static_cast<int*>(list.Last()), 10);
    EXPECT_THROW(list.SetCount(-1), EListError);
}

TEST(TStringList, OutOfRangeIndexRaisesWithTheClassLibraryText) {
    TStringList list;
    list.Add("a");
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {"read past end", [&] { (void)list[1]; }, "List index out of bounds (1)"},
        {"read negative", [&] { (void)list.Strings(-1); }, "List index out of bounds (-1)"},
        {"delete past end", [&] { list.Delete(1); }, "List index out of bounds (1)"},
        {"insert beyond count", [&] { list.Insert(2, "x"); }, "List index out of bounds (2)"},
        {"put past end", [&] { list.Put(5, "x"); }, "List index out of bounds (5)"},
        {"object past end", [&] { list.Objects(1); }, "List index out of bounds (1)"},
        {"name past end", [&] { (void)list.Names(3); }, "List index out of bounds (3)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(c.call(), EStringListError);
        EXPECT_EQ(MessageOf(c.call), c.message);
    }
    EXPECT_EQ(Lines(list), std::vector<std::string>{"a"});
}

TEST(TStringList, IndexOfIgnoresCaseUnlessAskedNotTo) {
    TStringList list;
    Fill(list, {"Alpha", "beta", "GAMMA"});
    EXPECT_EQ(list.IndexOf("alpha"), 0);
    EXPECT_EQ(list.IndexOf("gamma"), 2);
    EXPECT_EQ(list.IndexOf("delta"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("alpha"), -1);
    EXPECT_EQ(list.IndexOf("Alpha"), 0);
}

TEST(TStringList, SortedListsAndDuplicates) {
    struct Case {
        TDuplicates duplicates;
        std::vector<std::string> expected;
        bool raises;
    };
    const Case cases[] = {
        {dupIgnore, {"apple", "Banana", "cherry"}, false},
        {dupAccept, {"apple", "Banana", "BANANA", "cherry"}, false},
        {dupError, {"apple", "Banana", "cherry"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.duplicates));
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.duplicates);
        list.Add("cherry");
        list.Add("Banana");
        list.Add("apple");
        if (c.raises) {
            EXPECT_EQ(MessageOf([&] { list.Add("BANANA"); }), "String list does not allow duplicates");
        } else {
            const int index = list.Add("BANANA");
            EXPECT_EQ(list[index], c.duplicates == dupIgnore ? "Banana" : "BANANA");
        }
        EXPECT_EQ(Lines(list), c.expected);
        int at = -1;
        EXPECT_TRUE(list.Find("BANANA", at));
        EXPECT_EQ(at, 1);
        EXPECT_FALSE(list.Find("blueberry", at));
        EXPECT_EQ(at, c.duplicates == dupAccept ? 3 : 2);
        EXPECT_EQ(list.IndexOf("CHERRY"), static_cast<int>(c.expected.size()) - 1);
    }
}

TEST(TStringList, SortedListRefusesPositionalEdits) {
    TStringList list;
    list.SetSorted(true);
    list.Add("b");
    EXPECT_EQ(MessageOf([&] { list.Insert(0, "a"); }), "Operation not allowed on sorted list");
    EXPECT_THROW(list.Put(0, "c"), EStringListError);
    list.SetSorted(false);
    list.Insert(0, "z");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"z", "b"}));
    list.SetSorted(true); // sorts at once
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"b", "z"}));
}

TEST(TStringList, NamesAndValues) {
    TStringList list;
    Fill(list, {"host=10.0.0.1", "Port=5000", "novalue", "empty=", "a=b=c"});
    EXPECT_EQ(list.Names(0), "host");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("PORT"), "5000");
    EXPECT_EQ(list.Values("a"), "b=c");
    EXPECT_EQ(list.Values("empty"), "");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("novalue"), -1);
    EXPECT_EQ(list.ValueFromIndex(4), "b=c");
    list.SetValue("port", "6000");
    EXPECT_EQ(list[1], "port=6000");
    list.SetValue("new", "1");
    EXPECT_EQ(list[list.Count() - 1], "new=1");
    list.SetValue("host", ""); // an empty value deletes the line
    EXPECT_EQ(list.IndexOfName("host"), -1);
    EXPECT_EQ(list.Count(), 5);
}

struct CommaCase {
    std::vector<std::string> lines;
    const char* text;
};

TEST(TStringList, CommaTextRoundTrips) {
    const CommaCase cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b", "c"}, "a,b,c"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"1,2", "3"}, "\"1,2\",3"},
        {{"a", "", "b"}, "a,,b"},
        {{"a", ""}, "a,"},
        {{"", ""}, ","},
        {{"tab\there"}, "\"tab\there\""},
        {{" lead", "trail "}, "\" lead\",\"trail \""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TStringList list;
        Fill(list, c.lines);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(list.CommaText());
        EXPECT_EQ(Lines(back), c.lines);
    }
}

TEST(TStringList, CommaTextParsesLooseInput) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"  a , b ,c  ", {"a", "b", "c"}},
        {"a b", {"a", "b"}}, // a blank separates like a comma
        {"\"unterminated", {"unterminated"}},
        {"\"a\"b,c", {"a", "b", "c"}},
        {",a", {"", "a"}},
        {"\"\"\"\"", {"\""}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        TStringList list;
        list.Add("old");
        list.SetCommaText(text);
        EXPECT_EQ(Lines(list), expected);
    }
}

TEST(TStringList, DelimitedTextUsesItsOwnDelimiterAndQuote) {
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    Fill(list, {"a;b", "it's", "c"});
    EXPECT_EQ(list.DelimitedText(), "'a;b';'it''s';c");
    TStringList back;
    back.SetDelimiter(';');
    back.SetQuoteChar('\'');
    back.SetDelimitedText(list.DelimitedText());
    EXPECT_EQ(Lines(back), Lines(list));
}

TEST(TStringList, TextSplitsEveryLineEnding) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n", {""}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        TStringList list;
        list.SetText(text);
        EXPECT_EQ(Lines(list), expected);
    }
    TStringList list;
    Fill(list, {"x", "", "y"});
    EXPECT_EQ(list.Text(), "x\r\n\r\ny\r\n");
}

TEST(TStringList, LoadAcceptsBothLineEndingsAndSaveWritesCrLf) {
    TempDir dir;
    const std::pair<const char*, const char*> files[] = {
        {"crlf.lst", "10.0.0.1:5000\r\n192.168.1.20:5001\r\n"},
        {"lf.lst", "10.0.0.1:5000\n192.168.1.20:5001\n"},
        {"no-final-break.lst", "10.0.0.1:5000\n192.168.1.20:5001"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteFileBytes(dir.File(name), bytes);
        TStringList list;
        list.LoadFromFile(dir.File(name));
        EXPECT_EQ(Lines(list), (std::vector<std::string>{"10.0.0.1:5000", "192.168.1.20:5001"}));
        list.SaveToFile(dir.File(name));
        EXPECT_EQ(ReadFileBytes(dir.File(name)), "10.0.0.1:5000\r\n192.168.1.20:5001\r\n");
    }
}

TEST(TStringList, LoadOfAMissingFileRaisesAndKeepsTheLines) {
    TempDir dir;
    TStringList list;
    list.Add("kept");
    EXPECT_THROW(list.LoadFromFile(dir.File("missing.lst")), EFOpenError);
    EXPECT_EQ(Lines(list), std::vector<std::string>{"kept"});
    EXPECT_THROW(list.SaveToFile(dir.File("no/such/folder.lst")), EFCreateError);
}

class Counted : public TObject {
public:
    explicit Counted(int& live) : live_(live) { ++live_; }
    ~Counted() override { --live_; }

private:
    int& live_;
};

TEST(TStringList, ObjectsTravelWithTheirLinesAndOwnedOnesAreFreed) {
    int live = 0;
    {
        TStringList list;
        list.SetOwnsObjects(true);
        list.AddObject("b", new Counted(live));
        list.AddObject("a", new Counted(live));
        TObject* third = new Counted(live);
        list.AddObject("c", third);
        list.Exchange(0, 1);
        EXPECT_EQ(list.IndexOfObject(third), 2);
        list.SetSorted(true);
        EXPECT_EQ(list.IndexOfObject(third), 2);
        list.Delete(0);
        EXPECT_EQ(live, 2);
        list.PutObject(0, new Counted(live)); // replaces and frees the old one
        EXPECT_EQ(live, 2);
    }
    EXPECT_EQ(live, 0);
}

TEST(TStrings, AssignAddStringsAndMove) {
    TStringList a;
    Fill(a, {"1", "2", "3"});
    TStringList b;
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(&a));
    b.AddStrings(&a);
    EXPECT_EQ(b.Count(), 6);
    b.Move(0, 5);
    EXPECT_EQ(Lines(b), (std::vector<std::string>{"2", "3", "1", "2", "3", "1"}));
    EXPECT_THROW(b.Move(0, 6), EStringListError);
    b.Assign(&b);
    EXPECT_EQ(b.Count(), 6);
}

} // namespace
