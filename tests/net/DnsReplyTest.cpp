// DNS replies decoded from crafted bytes: valid answers of each type, compression, truncation at every
// length, pointer loops and pointers out of range, counts far beyond the data or the result arrays; the
// query bytes and the LOC conversions.
#include "net/DnsReply.h"
#include "tests/net/DnsMessage.h"

#include <gtest/gtest.h>

namespace {

using dnstest::kResponseFlags;
using dnstest::MXReply;
using dnstest::TMessage;

TDnsReply Decode(const TMessage& m) {
    TDnsReply reply;
    EXPECT_TRUE(DnsDecodeReply(m.Data(), m.Size(), reply));
    return reply;
}

TEST(DnsReply, MXAnswersPointBackIntoTheQuestion) {
    const TDnsReply r = Decode(MXReply(0x1234));
    EXPECT_EQ(r.ResponseID, 0x1234);
    EXPECT_EQ(r.ResponseCode, 0);
    EXPECT_TRUE(r.ResponseRecursionAvailable);
    EXPECT_EQ(r.QuestionName, "example.com");
    EXPECT_EQ(r.QuestionType, 15);
    EXPECT_EQ(r.QuestionClass, 1);
    ASSERT_EQ(r.AnswerRecordCount, 2);
    EXPECT_EQ(r.AnswerName[0], "example.com");
    EXPECT_EQ(r.AnswerName[1], "example.com");
    EXPECT_EQ(r.AnswerTTL[0], 3600u);
    EXPECT_EQ(r.AnswerTTL[1], 7200u);
    ASSERT_EQ(r.MXRecordCount, 2);
    EXPECT_EQ(r.MXPreference[0], 10);
    EXPECT_EQ(r.MXExchange[0], "mail.example.com");
    EXPECT_EQ(r.MXPreference[1], 20);
    EXPECT_EQ(r.MXExchange[1], "mx2.example.com");
    EXPECT_EQ(r.AnswerTag[0], 0);
    EXPECT_EQ(r.AnswerTag[1], 1);
}

TEST(DnsReply, AddressPointerAndOtherRecords) {
    TMessage m;
    m.Header(7, kResponseFlags, 1, 4).Name("host.example").U16(1).U16(1);
    m.Ptr(12).Fixed(1, 4).U8(192).U8(0).U8(2).U8(1);
    m.Ptr(12).Fixed(16, 3).Raw("txt"); // a type without an array of its own
    m.Ptr(12).Fixed(1, 4).U8(10).U8(0).U8(0).U8(9);
    m.Name("1.2.0.192.in-addr.arpa").Fixed(12, 2).Ptr(12);
    const TDnsReply r = Decode(m);
    ASSERT_EQ(r.AnswerRecordCount, 4);
    ASSERT_EQ(r.ARecordCount, 2);
    const auto* a0 = reinterpret_cast<const std::uint8_t*>(&r.Address[0]);
    EXPECT_EQ(std::vector<int>(a0, a0 + 4), (std::vector<int>{192, 0, 2, 1}));
    const auto* a1 = reinterpret_cast<const std::uint8_t*>(&r.Address[1]);
    EXPECT_EQ(a1[0], 10);
    EXPECT_EQ(r.AnswerTag[0], 0);
    EXPECT_EQ(r.AnswerTag[1], -1);
    EXPECT_EQ(r.AnswerType[1], 16);
    EXPECT_EQ(r.AnswerTag[2], 1);
    ASSERT_EQ(r.PTRRecordCount, 1);
    EXPECT_EQ(r.AnswerName[3], "1.2.0.192.in-addr.arpa");
    EXPECT_EQ(r.Hostname[0], "host.example");
    EXPECT_EQ(r.AnswerTag[3], 0);
}

TEST(DnsReply, ShortOrNotAResponseLeavesTheResultAlone) {
    TDnsReply r;
    r.ResponseID = 99;
    const TMessage full = MXReply(1);
    for (int len = 0; len < 12; ++len)
        EXPECT_FALSE(DnsDecodeReply(full.Data(), len, r)) << len;
    TMessage query;
    query.Header(1, 0x0100, 1, 0).Name("example.com").U16(15).U16(1);
    EXPECT_FALSE(DnsDecodeReply(query.Data(), query.Size(), r));
    EXPECT_FALSE(DnsDecodeReply(nullptr, 100, r));
    EXPECT_EQ(r.ResponseID, 99);
}

// Every cut of a valid reply decodes what is whole and nothing more.
TEST(DnsReply, TruncatedAtEveryLength) {
    const TMessage full = MXReply(1);
    const TDnsReply whole = Decode(full);
    const int questionEnd = 12 + 13 + 4;
    const int firstAnswerEnd = questionEnd + 2 + 10 + 9;
    for (int len = 12; len < full.Size(); ++len) {
        TDnsReply r;
        ASSERT_TRUE(DnsDecodeReply(full.Data(), len, r)) << len;
        EXPECT_EQ(r.ResponseANCount, 2);
        EXPECT_EQ(r.QuestionName, len >= questionEnd ? "example.com" : "") << len;
        const int expected = len >= firstAnswerEnd ? 1 : 0;
        EXPECT_EQ(r.AnswerRecordCount, expected) << len;
        EXPECT_EQ(r.MXRecordCount, expected) << len;
        EXPECT_EQ(r.MXExchange[0], expected == 1 ? whole.MXExchange[0] : "");
    }
}

// Names that must not be followed: each answer is dropped, the decoder ends, nothing hangs.
struct TBadName {
    const char* Name;
    std::string Owner; // the answer's name, starting at offset 12
};

void PrintTo(const TBadName& value, std::ostream* os) {
    *os << value.Name;
}

TMessage WithOwner(const std::string& owner) {
    TMessage m;
    m.Header(1, kResponseFlags, 0, 1).Raw(owner).Fixed(1, 4).U32(0x0A000001);
    return m;
}

class DnsBadName : public ::testing::TestWithParam<TBadName> {};

TEST_P(DnsBadName, DropsTheAnswer) {
    const TMessage m = WithOwner(GetParam().Owner);
    const TDnsReply r = Decode(m);
    EXPECT_EQ(r.AnswerRecordCount, 0);
    EXPECT_EQ(r.ARecordCount, 0);
    int pos = 12;
    std::string name;
    EXPECT_FALSE(DnsDecodeName(m.Data(), m.Size(), pos, name));
    EXPECT_EQ(pos, 12) << "a refused name does not move the position";
}

std::string Label(int length, char c) {
    return std::string(1, static_cast<char>(length)) + std::string(static_cast<std::size_t>(length), c);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DnsBadName,
    ::testing::Values(TBadName{"PointsAtItself", TMessage().Ptr(12).Bytes()},
                      TBadName{"LabelAndPointerLoop", TMessage().Name("a", false).Ptr(12).Bytes()},
                      TBadName{"PointsForward", TMessage().Ptr(14).Ptr(12).Bytes()},
                      TBadName{"PointsPastTheData", TMessage().Ptr(0x3FFF).Bytes()},
                      TBadName{"ReservedLabelType", std::string("\x41", 1) + "a" + std::string(1, '\0')},
                      TBadName{"ExtendedLabelType", std::string("\x81", 1) + std::string(1, '\0')},
                      TBadName{"LabelPastTheData", std::string("\x3F", 1) + "abc"},
                      TBadName{"LongerThan255", Label(60, 'a') + Label(60, 'b') + Label(60, 'c') +
                                                    Label(60, 'd') + Label(60, 'e') + std::string(1, '\0')}),
    [](const ::testing::TestParamInfo<TBadName>& info) { return std::string(info.param.Name); });

TEST(DnsReply, NameCutByTheEndOfTheData) {
    for (const std::string& tail :
         {std::string("\xC0", 1), std::string("\x05", 1) + "abc", std::string("\x01", 1) + "a"}) {
        TMessage m;
        m.Header(1, kResponseFlags, 0, 1).Raw(tail);
        const TDnsReply r = Decode(m);
        EXPECT_EQ(r.AnswerRecordCount, 0);
        int pos = 12;
        std::string name;
        EXPECT_FALSE(DnsDecodeName(m.Data(), m.Size(), pos, name));
    }
}

TEST(DnsReply, NameOf255CharactersIsKept) {
    const std::string owner =
        Label(63, 'a') + Label(63, 'b') + Label(63, 'c') + Label(63, 'd') + std::string(1, '\0');
    const TDnsReply r = Decode(WithOwner(owner));
    ASSERT_EQ(r.AnswerRecordCount, 1);
    EXPECT_EQ(r.AnswerName[0].size(), 255u);
}

TEST(DnsReply, PointerIntoTheHeaderIsReadWithinTheData) {
    // Offset 4 holds QDCOUNT 0 and ANCOUNT 1: the bytes 0 and 0 read as the root name.
    TMessage m;
    m.Header(1, kResponseFlags, 0, 1).Ptr(4).Fixed(1, 4).U32(1);
    const TDnsReply r = Decode(m);
    ASSERT_EQ(r.AnswerRecordCount, 1);
    EXPECT_EQ(r.AnswerName[0], "");
}

TEST(DnsReply, QuestionThatCannotBeDecodedEndsTheDecoding) {
    TMessage m;
    m.Header(1, kResponseFlags, 1, 1).Ptr(12).U16(1).U16(1).Ptr(12).Fixed(1, 4).U32(1);
    const TDnsReply r = Decode(m);
    EXPECT_EQ(r.QuestionName, "");
    EXPECT_EQ(r.AnswerRecordCount, 0);
    EXPECT_EQ(r.ResponseANCount, 1) << "the header is still reported";
}

TEST(DnsReply, AnswersFollowEveryQuestion) {
    TMessage m;
    m.Header(1, kResponseFlags, 2, 1)
        .Name("first.example")
        .U16(1)
        .U16(1)
        .Name("second.example")
        .U16(1)
        .U16(1);
    m.Ptr(12).Fixed(1, 4).U32(0x7F000001);
    const TDnsReply r = Decode(m);
    EXPECT_EQ(r.QuestionName, "first.example");
    ASSERT_EQ(r.AnswerRecordCount, 1);
    EXPECT_EQ(r.AnswerName[0], "first.example");
    EXPECT_EQ(r.ARecordCount, 1);
}

// Counts beyond the data or the arrays.
struct TOversized {
    const char* Name;
    int Announced;
    int Present;
    int Type;
    int Answers, Typed;
};

void PrintTo(const TOversized& value, std::ostream* os) {
    *os << value.Name;
}

class DnsOversizedCounts : public ::testing::TestWithParam<TOversized> {};

TEST_P(DnsOversizedCounts, CutAtTheDataOrTheArray) {
    const TOversized& o = GetParam();
    TMessage m;
    m.Header(1, kResponseFlags, 1, o.Announced).Name("example.com").U16(o.Type).U16(1);
    for (int i = 0; i < o.Present; ++i) {
        if (o.Type == 1)
            m.Ptr(12).Fixed(1, 4).U32(0x0A000000u + static_cast<std::uint32_t>(i));
        else if (o.Type == 12)
            m.Ptr(12).Fixed(12, 2).Ptr(12);
        else
            m.Ptr(12).Fixed(15, 4).U16(i).Ptr(12);
    }
    const TDnsReply r = Decode(m);
    EXPECT_EQ(r.ResponseANCount, o.Announced);
    EXPECT_EQ(r.AnswerRecordCount, o.Answers);
    const int typed = o.Type == 1 ? r.ARecordCount : o.Type == 12 ? r.PTRRecordCount : r.MXRecordCount;
    EXPECT_EQ(typed, o.Typed);
    for (int i = 0; i < r.AnswerRecordCount; ++i)
        EXPECT_EQ(r.AnswerTag[static_cast<std::size_t>(i)], i < o.Typed ? i : -1) << i;
}

INSTANTIATE_TEST_SUITE_P(Table, DnsOversizedCounts,
                         ::testing::Values(TOversized{"FarMoreAnnounced", 65535, 2, 1, 2, 2},
                                           TOversized{"MoreAThanTheArray", 60, 60, 1, 50, 50},
                                           TOversized{"MorePTRThanTheArray", 12, 12, 12, 12, 10},
                                           TOversized{"MoreMXThanTheArray", 55, 55, 15, 50, 50},
                                           TOversized{"FewerAnnounced", 1, 3, 1, 1, 1}),
                         [](const ::testing::TestParamInfo<TOversized>& info) {
                             return std::string(info.param.Name);
                         });

// Record data that does not hold what its type needs.
TEST(DnsReply, RecordDataOfTheWrongSize) {
    TMessage m;
    m.Header(1, kResponseFlags, 0, 4);
    m.U8(0).Fixed(1, 6).U32(1).U16(0); // A of 6 bytes
    m.U8(0).Fixed(15, 3).U16(5).U8(4); // MX whose name runs past its data
    m.U8(0).Fixed(12, 0);              // PTR without a name
    m.U8(0).Fixed(1, 200).U32(1);      // runs past the end of the reply
    const TDnsReply r = Decode(m);
    EXPECT_EQ(r.AnswerRecordCount, 3);
    EXPECT_EQ(r.ARecordCount, 0);
    EXPECT_EQ(r.MXRecordCount, 0);
    EXPECT_EQ(r.PTRRecordCount, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.AnswerTag[static_cast<std::size_t>(i)], -1);
}

TEST(DnsReply, LocRecordOnlyWithSixteenBytes) {
    const std::string loc16 = "\x00\x12\x16\x13\x89\x17\x2D\xD0\x70\xBE\x15\xF0\x00\x98\x8D\x20";
    TMessage good;
    good.Header(1, kResponseFlags, 0, 1).U8(0).Fixed(29, 16).Raw(std::string(loc16.data(), 16));
    const TDnsReply r = Decode(good);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.LocRecord.data()), 16),
              std::string(loc16.data(), 16));
    EXPECT_EQ(r.AnswerTag[0], -1);
    // A later LOC answer of another length leaves zeros.
    TMessage bad;
    bad.Header(1, kResponseFlags, 0, 2).U8(0).Fixed(29, 16).Raw(std::string(loc16.data(), 16));
    bad.U8(0).Fixed(29, 15).Raw(std::string(15, 'x'));
    const TDnsReply z = Decode(bad);
    EXPECT_EQ(z.AnswerRecordCount, 2);
    EXPECT_EQ(z.LocRecord, (std::array<std::uint8_t, 16>{}));
}

// ---- Queries ----

struct TQuestion {
    std::string Name;
    int Length; // -1: refused
};

void PrintTo(const TQuestion& value, std::ostream* os) {
    *os << '"' << value.Name << '"';
}

class DnsQuestion : public ::testing::TestWithParam<TQuestion> {};

TEST_P(DnsQuestion, LabelsOrRefusal) {
    const TQuestion& q = GetParam();
    std::uint8_t buffer[kDnsBufferSize] = {};
    const int len = DnsBuildQuestionSection(buffer, sizeof buffer, q.Name, 15, 1);
    ASSERT_EQ(len, q.Length) << q.Name;
    if (len < 0) return;
    int pos = 0;
    std::string decoded;
    ASSERT_TRUE(DnsDecodeName(buffer, len, pos, decoded));
    std::string expected = q.Name;
    if (!expected.empty() && expected.back() == '.') expected.pop_back();
    EXPECT_EQ(decoded, expected);
    EXPECT_EQ(pos, len - 4);
    EXPECT_EQ(buffer[len - 3], 15);
    EXPECT_EQ(buffer[len - 1], 1);
}

INSTANTIATE_TEST_SUITE_P(Table, DnsQuestion,
                         ::testing::Values(TQuestion{"example.com", 13 + 4},
                                           TQuestion{"example.com.", 13 + 4}, TQuestion{"", 1 + 4},
                                           TQuestion{"a", 3 + 4},
                                           TQuestion{std::string(63, 'x') + ".com", 69 + 4},
                                           TQuestion{std::string(64, 'x') + ".com", -1},
                                           TQuestion{"a..b", -1}, TQuestion{".a", -1}, TQuestion{"a.b..", -1},
                                           TQuestion{".", 1 + 4},
                                           TQuestion{std::string(63, 'a') + "." + std::string(63, 'b') + "." +
                                                         std::string(63, 'c') + "." + std::string(61, 'd'),
                                                     255 + 4},
                                           TQuestion{std::string(63, 'a') + "." + std::string(63, 'b') + "." +
                                                         std::string(63, 'c') + "." + std::string(62, 'd'),
                                                     -1}));

TEST(DnsQuery, QuestionRefusedWhenTheRoomIsTooSmall) {
    std::uint8_t buffer[20] = {};
    EXPECT_EQ(DnsBuildQuestionSection(buffer, 17, "example.com", 1, 1), 17);
    EXPECT_EQ(DnsBuildQuestionSection(buffer, 16, "example.com", 1, 1), -1);
}

TEST(DnsQuery, ReverseIP) {
    EXPECT_EQ(DnsReverseIP("192.0.2.1"), "1.2.0.192");
    EXPECT_EQ(DnsReverseIP("10.1"), "1.10");
    EXPECT_EQ(DnsReverseIP("7"), "7");
    EXPECT_EQ(DnsReverseIP(""), "");
}

// ---- LOC ----

struct TDms {
    std::uint32_t Raw;
    const char* Hemis;
    const char* Text;
};

void PrintTo(const TDms& value, std::ostream* os) {
    *os << '"' << value.Text << '"';
}

class DnsLongLat : public ::testing::TestWithParam<TDms> {};

TEST_P(DnsLongLat, Formats) {
    EXPECT_EQ(LongLatToDMS(GetParam().Raw, GetParam().Hemis), GetParam().Text);
}

constexpr std::uint32_t kEquator = 0x80000000u;

INSTANTIATE_TEST_SUITE_P(
    Table, DnsLongLat,
    ::testing::Values(TDms{kEquator + 3600000u, "NS", "1 00 00.000 N"},
                      TDms{kEquator - 3600000u, "NS", "1 00 00.000 S"}, TDms{kEquator, "NS", "0 00 00.000 S"},
                      TDms{kEquator + 1u, "NS", "0 00 00.001 N"},
                      TDms{kEquator + 52u * 3600000u + 30u * 60000u + 15250u, "NS", "52 30 15.250 N"},
                      TDms{kEquator - (4u * 3600000u + 59u * 60000u + 59999u), "EW", "4 59 59.999 W"},
                      TDms{0u, "EW", "596 31 23.648 W"}, TDms{0xFFFFFFFFu, "EW", "596 31 23.647 E"}));

TEST(DnsLoc, Loc2Geo) {
    std::array<std::uint8_t, 16> loc{};
    loc[0] = 0;
    loc[1] = 0x12;
    loc[2] = 0x16;
    loc[3] = 0x13;
    auto put = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            loc[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    put(4, kEquator + 3600000u);
    put(8, kEquator - 2u * 3600000u - 60000u);
    put(12, 10000000u + 12340u);
    TLOCInfo info = Loc2Geo(loc);
    EXPECT_EQ(info.Size, 0x12);
    EXPECT_EQ(info.HorizPre, 0x16);
    EXPECT_EQ(info.VertPre, 0x13);
    EXPECT_EQ(info.Latitude.Degrees, 1);
    EXPECT_EQ(info.Latitude.Hemisphere, 'N');
    EXPECT_EQ(info.Longitude.Degrees, 2);
    EXPECT_EQ(info.Longitude.Minutes, 1);
    EXPECT_EQ(info.Longitude.Hemisphere, 'W');
    EXPECT_EQ(info.Altitude, 123);
    put(12, 0);
    EXPECT_EQ(Loc2Geo(loc).Altitude, -100000);
    put(12, 10000000u + 160u);
    EXPECT_EQ(Loc2Geo(loc).Altitude, 2);
}

} // namespace
