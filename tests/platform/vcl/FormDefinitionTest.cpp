#include "platform/vcl/FormDefinition.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const TDfmProperty& Prop(const TDfmObject& o, const std::string& name) {
    for (const TDfmProperty& p : o.properties)
        if (p.name == name) return p;
    throw std::runtime_error("no property " + name);
}

TEST(FormDefinition, EveryValueKindSurvivesWriteAndReadBack) {
    const std::string text = "object Form1: TForm1\n"
                             "  Left = -12\n"
                             "  Color = $00FF8000\n"
                             "  Ratio = 1.25\n"
                             "  Big = 1E+20\n"
                             "  Caption = 'it''s'#13#10'two'#$41 +\n"
                             "    ' joined'\n"
                             "  Symbol = #55357#56832\n"
                             "  Utf8 = '\xE2\x80\x94 dash'\n"
                             "  Empty = ''\n"
                             "  Align = alClient\n"
                             "  Font.Style = [fsBold, fsItalic]\n"
                             "  Anchors = []\n"
                             "  Items.Strings = (\n"
                             "    'a'\n"
                             "    'b c'\n"
                             "    12)\n"
                             "  Data = {0AFF 10}\n"
                             "  Columns = <\n"
                             "    item\n"
                             "      Width = 10\n"
                             "    end\n"
                             "    item\n"
                             "    end>\n"
                             "  object Inner: TPanel\n"
                             "    object TLabel\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    const TDfmObject first = ParseFormDefinition(text, "t.dfm");
    EXPECT_EQ(Prop(first, "Left").value.integer, -12);
    EXPECT_EQ(Prop(first, "Color").value.integer, 0x00FF8000);
    EXPECT_DOUBLE_EQ(Prop(first, "Ratio").value.number, 1.25);
    EXPECT_EQ(Prop(first, "Big").value.kind, TDfmValue::Float);
    EXPECT_EQ(Prop(first, "Caption").value.text, "it's\r\ntwoA joined");
    EXPECT_EQ(Prop(first, "Symbol").value.text, "\xF0\x9F\x98\x80");
    EXPECT_EQ(Prop(first, "Utf8").value.text, "\xE2\x80\x94 dash");
    EXPECT_EQ(Prop(first, "Empty").value.text, "");
    EXPECT_EQ(Prop(first, "Font.Style").value.items.size(), 2u);
    EXPECT_TRUE(Prop(first, "Anchors").value.items.empty());
    ASSERT_EQ(Prop(first, "Items.Strings").value.items.size(), 3u);
    EXPECT_EQ(Prop(first, "Items.Strings").value.items[2].kind, TDfmValue::Integer);
    EXPECT_EQ(Prop(first, "Data").value.text, std::string("\x0A\xFF\x10", 3));
    EXPECT_EQ(Prop(first, "Columns").value.collection.size(), 2u);
    ASSERT_EQ(first.children.size(), 1u);
    EXPECT_EQ(first.children[0].children[0].className, "TLabel");
    EXPECT_TRUE(first.children[0].children[0].name.empty());

    const std::string written = WriteFormDefinition(first);
    const TDfmObject second = ParseFormDefinition(written, "written.dfm");
    EXPECT_EQ(first, second);
    // Writing is stable: the written text reads back to the same text.
    EXPECT_EQ(written, WriteFormDefinition(second));
}

TEST(FormDefinition, QuotingKeepsControlCharactersAndQuotes) {
    const struct {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"", "''"},          {"plain", "'plain'"},
        {"it's", "'it''s'"}, {"a\r\nb", "'a'#13#10'b'"},
        {"\t", "#9"},        {"\xEA\xB5\xB4\xEB\xA6\xBC", "'\xEA\xB5\xB4\xEB\xA6\xBC'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuoteFormString(c.text), c.quoted);
        const TDfmObject o = ParseFormDefinition("object A: TA\n  S = " + c.quoted + "\nend\n", "q.dfm");
        EXPECT_EQ(o.properties[0].value.text, c.text);
    }
}

TEST(FormDefinition, MalformedTextNamesFileAndLine) {
    const struct {
        const char* text;
        int line;
        const char* fragment;
    } cases[] = {
        {"object A: TA\n  Caption = 'open\nend\n", 2, "unterminated string"},
        {"object A: TA\n  Left = 12x\nend\n", 2, "malformed number"},
        {"object A: TA\n  Left = 99999999999999999999\nend\n", 2, "out of range"},
        {"object A: TA\n  Left = 1\n", 3, "'end'"},
        {"object A: TA\nend\nobject B: TB\nend\n", 3, "after the final"},
        {"thing A: TA\nend\n", 1, "'object' expected"},
        {"object A: TA\n  S = #1114112\nend\n", 2, "character code out of range"},
        {"object A: TA\n  S = #55357\nend\n", 2, "surrogate"},
        {"object A: TA\n  S = 'x' +\nend\n", 3, "string expected after '+'"},
        {"object A: TA\n  D = {ABC}\nend\n", 2, "odd number"},
        {"object A: TA\n  D = {AZ}\nend\n", 2, "hexadecimal digit"},
        {"object A: TA\n  S = [a b]\nend\n", 2, "']' expected"},
        {"object A: TA\n  S = 'bad \xC3\x28'\nend\n", 2, "UTF-8"},
        {"object A: TA\n  L = (\n 'a'\n", 4, "')' expected"},
        {"object A: TA\n  = 5\nend\n", 2, "property name expected"},
        {"object A: TA\n  X = ?\nend\n", 2, "unexpected character"},
    };
    for (const auto& c : cases) {
        try {
            ParseFormDefinition(c.text, "bad.dfm");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EFormDefinitionError& e) {
            EXPECT_EQ(e.FileName, "bad.dfm");
            EXPECT_EQ(e.Line, c.line) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("bad.dfm(" + std::to_string(c.line) + ")"),
                      std::string::npos);
        }
    }
}

TEST(FormDefinition, NestingAndSizeLimitsStopHostileInput) {
    std::string deep;
    for (int i = 0; i < MaxFormDefinitionDepth + 5; ++i)
        deep += "object A" + std::to_string(i) + ": TA\n";
    EXPECT_THROW(ParseFormDefinition(deep, "deep.dfm"), EFormDefinitionError);

    std::string lists = "object A: TA\n  L = ";
    for (int i = 0; i < MaxFormDefinitionDepth + 5; ++i)
        lists += "(";
    EXPECT_THROW(ParseFormDefinition(lists, "lists.dfm"), EFormDefinitionError);

    const std::string huge(MaxFormDefinitionSize + 1, ' ');
    EXPECT_THROW(ParseFormDefinition(huge, "huge.dfm"), EFormDefinitionError);
}

TEST(FormDefinition, MissingFileRaisesOpenError) {
    testing_support::TempDir dir;
    EXPECT_THROW(LoadFormDefinition(dir.File("none.dfm")), EFOpenError);
    testing_support::WriteFileBytes(dir.File("bom.dfm"), "\xEF\xBB\xBFobject A: TA\nend\n");
    EXPECT_EQ(LoadFormDefinition(dir.File("bom.dfm")).className, "TA");
}

TEST(FormDefinition, TheExampleDefinitionRoundTrips) {
    const TDfmObject example = LoadFormDefinition(testing_support::FixturePath("forms/Example.dfm"));
    EXPECT_EQ(example.className, "TExampleForm");
    EXPECT_EQ(ParseFormDefinition(WriteFormDefinition(example), "again.dfm"), example);
}

} // namespace
