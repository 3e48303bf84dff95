#include "net/DnsQuery.h"

#include "platform/core/StrUtils.h"

#include <cstring>
#include <memory>

using namespace winsock;

namespace {

template <class T, std::size_t N>
bool InRange(const std::array<T, N>& array, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < array.size();
}

} // namespace

TDnsQuery::TDnsQuery(TComponent* owner) : TComponent(owner) {
    FWSocket = TCustomWSocket::Create<TWSocket>(nullptr);
}

TDnsQuery::~TDnsQuery() {
    if (FWSocket == nullptr) return;
    FWSocket->OnDataAvailable = nullptr;
    FWSocket->OnSessionConnected = nullptr;
    FWSocket->Free();
    FWSocket = nullptr;
}

void TDnsQuery::SetProto(const std::string& value) {
    const std::string lower = LowerCase(value);
    if (lower != "tcp" && lower != "udp") throw Exception("TDnsQuery accept only TCP or UDP protocol");
    FProto = value;
}

void TDnsQuery::SetMultiThreaded(bool value) {
    if (FWSocket != nullptr) FWSocket->SetMultiThreaded(value);
}

bool TDnsQuery::IsTcp() const {
    // The send and the receive side must agree, whatever the letter case.
    return SameText(FProto, "tcp");
}

// ---- Queries ----

void TDnsQuery::BuildRequestHeader(std::uint8_t* dst, std::uint16_t id, int opCode, bool recursionDesired) {
    DnsBuildRequestHeader(dst, id, opCode, recursionDesired);
}

int TDnsQuery::BuildQuestionSection(std::uint8_t* dst, int room, const std::string& name, int qType,
                                    int qClass) {
    return DnsBuildQuestionSection(dst, room, name, qType, qClass);
}

int TDnsQuery::StartQuery(const std::string& name, int qType) {
    // Built aside first: a refused name must not spoil a query still waiting for its connection.
    std::uint8_t query[kDnsBufferSize];
    const int questionLen = BuildQuestionSection(query + kDnsHeaderSize, kDnsBufferSize - kDnsHeaderSize,
                                                 name, qType, DnsClassIN);
    if (questionLen < 0) throw ESocketException("TDnsQuery: cannot query the name '" + name + "'");
    ++FQueryID;
    BuildRequestHeader(query, FQueryID, 0, true);
    FQueryLen = kDnsHeaderSize + questionLen;
    std::memcpy(FQueryBuf, query, static_cast<std::size_t>(FQueryLen));
    SendQuery();
    return FQueryID;
}

int TDnsQuery::MXLookup(const std::string& domain) {
    return StartQuery(domain, DnsQueryMX);
}

int TDnsQuery::ALookup(const std::string& domain) {
    return StartQuery(domain, DnsQueryA);
}

int TDnsQuery::QueryAny(const std::string& domain, int queryType) {
    return StartQuery(domain, queryType);
}

int TDnsQuery::PTRLookup(const std::string& ip) {
    return StartQuery(ReverseIP(ip) + ".in-addr.arpa", DnsQueryPTR);
}

void TDnsQuery::SendQuery() {
    FResponseLen = -1;
    FLengthByteRead = false;
    FLengthHave = 0;
    FTcpExpected = 0;
    FTcpHave = 0;
    FWSocket->OnDataAvailable = nullptr;
    FWSocket->Abort();
    FWSocket->OnDataAvailable = TDataAvailable(this, &TDnsQuery::WSocketDataAvailable);
    FWSocket->OnSessionConnected = TSessionConnected(this, &TDnsQuery::WSocketSessionConnected);
    FWSocket->SetProto(FProto);
    FWSocket->SetPort(FPort);
    FWSocket->SetAddr(FAddr);
    FWSocket->Connect();
}

void TDnsQuery::WSocketSessionConnected(TObject*, WORD error) {
    if (error != 0) {
        // A connection that never came is this query's end.
        TriggerRequestDone(error);
        return;
    }
    if (IsTcp()) {
        const std::uint8_t prefix[2] = {static_cast<std::uint8_t>(FQueryLen >> 8),
                                        static_cast<std::uint8_t>(FQueryLen & 0xFF)};
        FWSocket->Send(prefix, 2);
    }
    FWSocket->Send(FQueryBuf, FQueryLen);
}

// ---- Replies ----

int TDnsQuery::ReadTcpReply() {
    if (!FLengthByteRead) {
        const int n = FWSocket->Receive(FLengthByte + FLengthHave, 2 - FLengthHave);
        if (n <= 0) return -1;
        FLengthHave += n;
        if (FLengthHave < 2) return -1;
        FLengthByteRead = true;
        FTcpExpected = (FLengthByte[0] << 8) | FLengthByte[1];
        FTcpHave = 0;
        if (FTcpExpected > kDnsBufferSize) {
            // Longer than the buffer: refused, and the rest of it is never read.
            FWSocket->Abort();
            TriggerRequestDone(WSAEMSGSIZE);
            return -1;
        }
    }
    if (FTcpHave < FTcpExpected) {
        const int n = FWSocket->Receive(FResponseBuf + FTcpHave, FTcpExpected - FTcpHave);
        if (n <= 0) return -1;
        FTcpHave += n;
        if (FTcpHave < FTcpExpected) return -1;
    }
    // The connection may carry another reply: its own prefix comes next.
    FLengthByteRead = false;
    FLengthHave = 0;
    return FTcpExpected;
}

void TDnsQuery::WSocketDataAvailable(TObject*, WORD error) {
    if (error != 0) {
        TriggerRequestDone(error);
        return;
    }
    int len;
    if (IsTcp()) {
        len = ReadTcpReply();
        if (len < 0) return;
    } else {
        len = FWSocket->Receive(FResponseBuf, kDnsBufferSize);
        if (len < 0 && FWSocket->LastError() == WSAEMSGSIZE) {
            // A datagram longer than the buffer was cut by the platform: no reply to decode.
            TriggerRequestDone(WSAEMSGSIZE);
            return;
        }
    }
    TakeReply(len);
}

void TDnsQuery::TakeReply(int len) {
    if (len < kDnsHeaderSize) return;
    auto reply = std::make_unique<TDnsReply>();
    if (!DnsDecodeReply(FResponseBuf, len, *reply)) return;
    if (reply->ResponseID != FQueryID) return;
    FResponseLen = len;
    FReply = std::move(*reply);
    if (FReply.ResponseANCount > 0) FWSocket->Close();
    TriggerRequestDone(0);
}

void TDnsQuery::TriggerRequestDone(WORD error) {
    if (OnRequestDone) OnRequestDone(this, error);
}

// ---- Results ----

std::string TDnsQuery::AnswerName(int index) const {
    return InRange(FReply.AnswerName, index) ? FReply.AnswerName[static_cast<std::size_t>(index)] : "";
}

int TDnsQuery::AnswerType(int index) const {
    return InRange(FReply.AnswerType, index) ? FReply.AnswerType[static_cast<std::size_t>(index)] : 0;
}

int TDnsQuery::AnswerClass(int index) const {
    return InRange(FReply.AnswerClass, index) ? FReply.AnswerClass[static_cast<std::size_t>(index)] : 0;
}

std::uint32_t TDnsQuery::AnswerTTL(int index) const {
    return InRange(FReply.AnswerTTL, index) ? FReply.AnswerTTL[static_cast<std::size_t>(index)] : 0;
}

int TDnsQuery::AnswerTag(int index) const {
    return InRange(FReply.AnswerTag, index) ? FReply.AnswerTag[static_cast<std::size_t>(index)] : 0;
}

int TDnsQuery::MXPreference(int index) const {
    return InRange(FReply.MXPreference, index) ? FReply.MXPreference[static_cast<std::size_t>(index)] : 0;
}

std::string TDnsQuery::MXExchange(int index) const {
    return InRange(FReply.MXExchange, index) ? FReply.MXExchange[static_cast<std::size_t>(index)] : "";
}

winsock::in_addr TDnsQuery::Address(int index) const {
    in_addr addr{};
    if (InRange(FReply.Address, index)) addr.s_addr = FReply.Address[static_cast<std::size_t>(index)];
    return addr;
}

std::string TDnsQuery::Hostname(int index) const {
    return InRange(FReply.Hostname, index) ? FReply.Hostname[static_cast<std::size_t>(index)] : "";
}
