// Proxy replies as they arrive, judged at every length the reply area can hold, and the bytes taken as
// user code, password and destination for the requests.
#include "net/SocksWire.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckVerdict(const TSocksReply& r, int count) {
    switch (r.Status) {
    case TSocksReplyStatus::NeedMore:
        Check(count < kSocksReplyReadable);
        break;
    case TSocksReplyStatus::Done:
        Check(r.Length > 0 && r.Length <= count && r.Length <= kSocksReplyReadable);
        break;
    case TSocksReplyStatus::Failed:
        Check(r.ErrCode >= 20001 && r.ErrCode <= 20016 && !r.ErrMsg.empty());
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int most = static_cast<int>(size < kSocksReplyReadable ? size : kSocksReplyReadable);
    for (int count = 0; count <= most; ++count) {
        // An exact copy of what the area holds, so that a read past it is seen.
        const std::vector<std::uint8_t> area(data, data + count);
        CheckVerdict(SocksMethodReply(area.data(), count), count);
        CheckVerdict(SocksAuthReply(area.data(), count), count);
        CheckVerdict(Socks4ConnectReply(area.data(), count), count);
        const TSocksReply connect = Socks5ConnectReply(area.data(), count);
        CheckVerdict(connect, count);
        if (connect.Status == TSocksReplyStatus::Done) Check(connect.BoundAddr.size() <= 255);
    }
    // Requests: fields over 255 bytes are refused, the others travel whole.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = size / 3;
    const std::string user = text.substr(0, cut);
    const std::string pass = text.substr(cut, cut);
    const std::string addr = text.substr(2 * cut);
    std::vector<std::uint8_t> out;
    const bool authOk = Socks5AuthRequest(user, pass, out);
    Check(authOk == (user.size() <= kSocksMaxField && pass.size() <= kSocksMaxField));
    Check(authOk ? out.size() == 3 + user.size() + pass.size() : out.empty());
    const bool connectOk = Socks5ConnectRequest(addr, 80, out);
    Check(connectOk == (addr.size() <= kSocksMaxField));
    Check(connectOk ? out.size() == 7 + addr.size() : out.empty());
    const bool socks4Ok = Socks4ConnectRequest(80, 0x01000000u, user, &addr, out);
    Check(socks4Ok == (user.size() <= kSocksMaxField && addr.size() <= kSocksMaxField));
    Check(socks4Ok ? out.size() == 8 + user.size() + 1 + addr.size() + 1 : out.empty());
    return 0;
}
