// One DNS query at a time to a configured name server, over UDP (default) or TCP (with the two-byte
// length prefix), through an internal socket. The reply is decoded into the result arrays and announced
// by OnRequestDone; a reply that is not the answer to the last query is ignored. OnRequestDone runs
// inside the internal socket's events: the component must not be destroyed from there.
#pragma once

#include "net/DnsReply.h"
#include "net/WSocket.h"

using TDnsRequestDoneEvent = TEvent<TObject*, WORD>;

class TDnsQuery : public TComponent {
public:
    explicit TDnsQuery(TComponent* owner);
    ~TDnsQuery() override;

    // Each sends one query and returns its id. A name that cannot be put in a query (a label over 63
    // bytes, an empty label, over 255 bytes in all) raises ESocketException and sends nothing.
    int MXLookup(const std::string& domain);
    int ALookup(const std::string& domain);
    int QueryAny(const std::string& domain, int queryType);
    // The PTR query of ReverseIP(ip) + ".in-addr.arpa".
    int PTRLookup(const std::string& ip);
    static std::string ReverseIP(const std::string& ip) { return DnsReverseIP(ip); }

    const std::string& Port() const { return FPort; }
    void SetPort(const std::string& value) { FPort = value; }
    const std::string& Addr() const { return FAddr; }
    void SetAddr(const std::string& value) { FAddr = value; }
    // "tcp" or "udp" in any letter case, kept as given.
    const std::string& Proto() const { return FProto; }
    void SetProto(const std::string& value);
    bool MultiThreaded() const { return FWSocket != nullptr && FWSocket->MultiThreaded(); }
    void SetMultiThreaded(bool value);

    // The last reply taken. Indexed getters answer "" or 0 outside their array.
    int ResponseLen() const { return FResponseLen; }
    const std::uint8_t* ResponseBuf() const { return FResponseBuf; }
    int ResponseID() const { return FReply.ResponseID; }
    int ResponseCode() const { return FReply.ResponseCode; }
    int ResponseOpCode() const { return FReply.ResponseOpCode; }
    bool ResponseAuthoritative() const { return FReply.ResponseAuthoritative; }
    bool ResponseTruncation() const { return FReply.ResponseTruncation; }
    bool ResponseRecursionAvailable() const { return FReply.ResponseRecursionAvailable; }
    int ResponseQDCount() const { return FReply.ResponseQDCount; }
    int ResponseANCount() const { return FReply.ResponseANCount; }
    int ResponseNSCount() const { return FReply.ResponseNSCount; }
    int ResponseARCount() const { return FReply.ResponseARCount; }
    int QuestionType() const { return FReply.QuestionType; }
    int QuestionClass() const { return FReply.QuestionClass; }
    const std::string& QuestionName() const { return FReply.QuestionName; }
    int AnswerRecordCount() const { return FReply.AnswerRecordCount; }
    std::string AnswerName(int index) const;
    int AnswerType(int index) const;
    int AnswerClass(int index) const;
    std::uint32_t AnswerTTL(int index) const;
    int AnswerTag(int index) const;
    int MXRecordCount() const { return FReply.MXRecordCount; }
    int MXPreference(int index) const;
    std::string MXExchange(int index) const;
    int ARecordCount() const { return FReply.ARecordCount; }
    winsock::in_addr Address(int index) const;
    int PTRRecordCount() const { return FReply.PTRRecordCount; }
    std::string Hostname(int index) const;
    const std::array<std::uint8_t, kDnsLocSize>& LocRecord() const { return FReply.LocRecord; }
    std::uint16_t QueryID() const { return FQueryID; }

    TDnsRequestDoneEvent OnRequestDone;

protected:
    virtual void BuildRequestHeader(std::uint8_t* dst, std::uint16_t id, int opCode, bool recursionDesired);
    virtual int BuildQuestionSection(std::uint8_t* dst, int room, const std::string& name, int qType,
                                     int qClass);
    virtual void WSocketDataAvailable(TObject* sender, WORD error);
    virtual void WSocketSessionConnected(TObject* sender, WORD error);
    virtual void TriggerRequestDone(WORD error);
    void SendQuery();

    TWSocket* FWSocket = nullptr;
    std::string FPort = "53";
    std::string FAddr;
    std::string FProto = "udp";
    std::uint16_t FQueryID = 0;
    std::uint8_t FQueryBuf[kDnsBufferSize] = {};
    int FQueryLen = 0;
    std::uint8_t FResponseBuf[kDnsBufferSize] = {};
    int FResponseLen = -1;
    TDnsReply FReply;
    // TCP: the length prefix and how much of the reply it announced has arrived.
    bool FLengthByteRead = false;
    std::uint8_t FLengthByte[2] = {};
    int FLengthHave = 0;
    int FTcpExpected = 0;
    int FTcpHave = 0;

private:
    int StartQuery(const std::string& name, int qType);
    bool IsTcp() const;
    // A whole TCP reply in ResponseBuf: its length, or -1 while it is still arriving.
    int ReadTcpReply();
    void TakeReply(int len);
};
