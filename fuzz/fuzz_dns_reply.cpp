// A DNS reply as it comes from the network: decoded whole, a name read from every offset, and the bytes
// taken as a name to query. Results that break their bounds stop the run.
#include "net/DnsReply.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckReply(const TDnsReply& r) {
    Check(r.AnswerRecordCount >= 0 && r.AnswerRecordCount <= kDnsMaxAnswers);
    Check(r.AnswerRecordCount <= r.ResponseANCount);
    Check(r.MXRecordCount >= 0 && r.MXRecordCount <= kDnsMaxMX);
    Check(r.ARecordCount >= 0 && r.ARecordCount <= kDnsMaxA);
    Check(r.PTRRecordCount >= 0 && r.PTRRecordCount <= kDnsMaxPTR);
    Check(r.QuestionName.size() <= static_cast<std::size_t>(kDnsMaxName));
    for (int i = 0; i < r.AnswerRecordCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Check(r.AnswerName[k].size() <= static_cast<std::size_t>(kDnsMaxName));
        Check(r.AnswerTag[k] >= -1 && r.AnswerTag[k] < kDnsMaxMX);
    }
    for (int i = 0; i < r.MXRecordCount; ++i)
        Check(r.MXExchange[static_cast<std::size_t>(i)].size() <= static_cast<std::size_t>(kDnsMaxName));
    const TLOCInfo loc = Loc2Geo(r.LocRecord);
    Check(loc.Latitude.Minutes < 60 && loc.Latitude.Seconds < 60 && loc.Latitude.Milliseconds < 1000);
    (void)LongLatToDMS(static_cast<std::uint32_t>(r.ResponseID) << 16, "NS");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact copy, so that a read one byte too far is seen.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const int len = static_cast<int>(size > 65536 ? 65536 : size);
    TDnsReply reply;
    if (DnsDecodeReply(bytes.data(), len, reply)) {
        Check(reply.ResponseLen == len);
        CheckReply(reply);
    }
    for (int pos = 0; pos < len; ++pos) {
        int p = pos;
        std::string name;
        if (DnsDecodeName(bytes.data(), len, p, name)) {
            Check(p > pos && p <= len);
            Check(name.size() <= static_cast<std::size_t>(kDnsMaxName));
        } else {
            Check(p == pos);
        }
    }
    // The same bytes as a name to query: refused, or sent as labels that read back to the name.
    std::uint8_t query[kDnsBufferSize];
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int qlen = DnsBuildQuestionSection(query, kDnsBufferSize, text, DnsQueryA, DnsClassIN);
    if (qlen >= 0) {
        Check(qlen >= 5 && qlen <= kDnsMaxName + 4);
        int p = 0;
        std::string back;
        Check(DnsDecodeName(query, qlen, p, back) && p == qlen - 4);
    }
    return 0;
}
