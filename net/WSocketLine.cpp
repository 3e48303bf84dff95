// Line mode: received bytes are held until LineEnd arrives, then offered as one line per event.
// Outside line mode every call passes through, except that bytes still held are handed out first.
#include "net/WSocket.h"

#include <algorithm>
#include <climits>
#include <cstring>

using namespace winsock;

namespace {

// One read takes at most this much, whatever the platform says is waiting.
constexpr int kMaxLineRead = 65536;
// Past this, held bytes are dropped even without a line limit: the counts are 32-bit.
constexpr std::int64_t kHeldCeiling = std::int64_t{1} << 30;
constexpr char kBackspace = 8;
constexpr char kTab = 9;

} // namespace

bool TCustomLineWSocket::GrowBuffer(std::int64_t size) {
    if (size > kHeldCeiling + kMaxLineRead + 1) return false;
    if (static_cast<std::int64_t>(FRcvdPtr.size()) < size) FRcvdPtr.resize(static_cast<std::size_t>(size));
    return true;
}

void TCustomLineWSocket::SetLineMode(bool value) {
    if (value == FLineMode) return;
    FLineMode = value;
    if (value) FSearchFromStart = true;
    if (FRcvdCnt > 0 || FLineLength > 0) PostMessage(FWindowHandle, WM_SOCKET_LINES_PENDING, 0, 0);
}

void TCustomLineWSocket::WndProc(TMessage& msg) {
    if (msg.Msg != WM_SOCKET_LINES_PENDING) {
        TCustomSocksWSocket::WndProc(msg);
        return;
    }
    try {
        WMTriggerDataAvailable();
    } catch (const std::exception& e) {
        HandleBackGroundException(e);
    } catch (...) {
        HandleBackGroundException(Exception("Unknown exception"));
    }
}

void TCustomLineWSocket::WMTriggerDataAvailable() {
    int passes = 0;
    while (FRcvdCnt > 0) {
        ++passes;
        FLineReceivedFlag = false;
        const int heldBefore = FRcvdCnt;
        const int pendingBefore = FLineLength;
        TriggerDataAvailable(0);
        if (FRcvdCnt <= 0) break;
        if (FLineMode && passes > 3 && !FLineReceivedFlag) break;
        // A handler that takes nothing would keep this loop spinning forever.
        if (FRcvdCnt == heldBefore && FLineLength == pendingBefore) break;
    }
}

int TCustomLineWSocket::GetRcvdCount() {
    if (FLineMode) return FLineLength;
    return TCustomSocksWSocket::GetRcvdCount();
}

int TCustomLineWSocket::FindLineEnd(int searchFrom) const {
    const int endLen = static_cast<int>(FLineEnd.size());
    for (int p = std::max(searchFrom, 0); p + endLen <= FRcvdCnt; ++p)
        if (std::memcmp(FRcvdPtr.data() + p, FLineEnd.data(), static_cast<std::size_t>(endLen)) == 0)
            return p;
    return -1;
}

bool TCustomLineWSocket::DeliverLine(int lineEnd) {
    while (FLineMode && FLineLength > 0) {
        const int before = FLineLength;
        if (!TCustomSocksWSocket::TriggerDataAvailable(0)) {
            FLineLength = 0;
            break;
        }
        // The handler closed the socket (the buffer went with it) or changed it under us.
        if (FRcvdCnt < lineEnd || FLineLength > lineEnd) return true;
        if (FLineMode && FLineLength == before) {
            FSearchFromStart = true;
            if (FLineLength < lineEnd) {
                std::memmove(FRcvdPtr.data() + FLineLength, FRcvdPtr.data() + lineEnd,
                             static_cast<std::size_t>(FRcvdCnt - lineEnd));
                FRcvdCnt = FLineLength + (FRcvdCnt - lineEnd);
            }
            return false;
        }
    }
    if (FRcvdCnt < lineEnd) return true;
    // The unread part of the line (if line mode went off meanwhile) is at the start; what followed the
    // line joins it.
    std::memmove(FRcvdPtr.data() + FLineLength, FRcvdPtr.data() + lineEnd,
                 static_cast<std::size_t>(FRcvdCnt - lineEnd));
    FRcvdCnt = FLineLength + (FRcvdCnt - lineEnd);
    if (static_cast<std::size_t>(FRcvdCnt) < FRcvdPtr.size())
        FRcvdPtr[static_cast<std::size_t>(FRcvdCnt)] = '\0';
    return true;
}

void TCustomLineWSocket::DeliverHeldBytes() {
    while (!FLineMode && FRcvdCnt > 0) {
        const int before = FRcvdCnt;
        if (!TCustomSocksWSocket::TriggerDataAvailable(0) || FRcvdCnt == before) break;
    }
}

bool TCustomLineWSocket::TriggerDataAvailable(WORD error) {
    // The proxy's replies are not lines: they go to the SOCKS layer whole.
    if (!FLineMode || FLineEnd.empty() || SocksNegotiating())
        return TCustomSocksWSocket::TriggerDataAvailable(error);
    const int endLen = static_cast<int>(FLineEnd.size());
    int searchFrom;
    if (FLineLength > 0) {
        // A line offered before is still unread: it goes first, before anything new is taken.
        FLineFound = true;
        FLineReceivedFlag = true;
        if (!DeliverLine(FLineLength)) return true;
        DeliverHeldBytes();
        if (!FLineMode) return true;
        searchFrom = 0;
    } else {
        searchFrom = FSearchFromStart ? 0 : std::max(FRcvdCnt - endLen, 0);
    }
    FSearchFromStart = false;

    int count = TCustomSocksWSocket::GetRcvdCount();
    if (count < 0) return true;
    if (count == 0) count = 255;
    count = std::min(count, kMaxLineRead);
    if (!GrowBuffer(static_cast<std::int64_t>(FRcvdCnt) + count + 1)) {
        FRcvdCnt = 0;
        FLineLength = 0;
        return true;
    }
    int len = Receive(FRcvdPtr.data() + FRcvdCnt, count);
    if (len <= 0) {
        if (FRcvdCnt <= 0) return true;
        len = 0;
    }
    if (len > 0) {
        if (FLineEdit) {
            EditLine(len);
            searchFrom = std::min(searchFrom, std::max(FRcvdCnt - endLen, 0));
        } else if (FLineEcho) {
            Send(FRcvdPtr.data() + FRcvdCnt, len);
        }
    }
    FRcvdCnt += len;

    while (FLineMode) {
        const int p = FindLineEnd(searchFrom);
        if (p < 0) {
            if ((FLineLimit > 0 && FRcvdCnt > FLineLimit) || FRcvdCnt > kHeldCeiling) {
                FLineClearData = true;
                TriggerLineLimitExceeded(FRcvdCnt, FLineClearData);
                if (FLineClearData || FRcvdCnt > kHeldCeiling) {
                    FLineLength = 0;
                    FRcvdCnt = 0;
                    FLineClearData = false;
                }
            }
            return true;
        }
        FLineLength = p + endLen;
        FLineFound = true;
        FLineReceivedFlag = true;
        if (!DeliverLine(FLineLength)) return true;
        searchFrom = 0;
        DeliverHeldBytes();
    }
    return true;
}

int TCustomLineWSocket::DoRecv(void* buffer, int bufferSize, int flags) {
    const bool peek = (flags & MSG_PEEK) != 0;
    auto* out = static_cast<char*>(buffer);
    if (FLineMode && FLineLength > 0) {
        if (out == nullptr || bufferSize <= 0) return 0;
        const int n = std::min(FLineLength, bufferSize);
        std::memcpy(out, FRcvdPtr.data(), static_cast<std::size_t>(n));
        if (peek) return n;
        if (n < FLineLength) {
            std::memmove(FRcvdPtr.data(), FRcvdPtr.data() + n, static_cast<std::size_t>(FLineLength - n));
            FLineLength -= n;
        } else {
            FLineLength = 0;
        }
        return n;
    }
    if (!FLineMode && FRcvdCnt > 0) {
        if (out == nullptr || bufferSize <= 0) return 0;
        const int n = std::min(FRcvdCnt, bufferSize);
        std::memcpy(out, FRcvdPtr.data(), static_cast<std::size_t>(n));
        if (peek) return n;
        std::memmove(FRcvdPtr.data(), FRcvdPtr.data() + n, static_cast<std::size_t>(FRcvdCnt - n));
        FRcvdCnt -= n;
        FRcvdPtr[static_cast<std::size_t>(FRcvdCnt)] = '\0';
        // An unread line left by line mode sits at the start: what was taken of it is gone.
        FLineLength = std::max(FLineLength - n, 0);
        return n;
    }
    return TCustomSocksWSocket::DoRecv(buffer, bufferSize, flags);
}

int TCustomLineWSocket::SendLine(const std::string& str) {
    if (str.empty()) return 0;
    PutDataInSendBuffer(str.data(), static_cast<int>(str.size()));
    SendStr(FLineEnd);
    return static_cast<int>(str.size() + FLineEnd.size());
}

void TCustomLineWSocket::TriggerLineLimitExceeded(int cnt, bool& clearData) {
    if (OnLineLimitExceeded) OnLineLimitExceeded(this, cnt, clearData);
}

void TCustomLineWSocket::EditLine(int& len) {
    const int start = FRcvdCnt;
    int out = FRcvdCnt;
    int low = FRcvdCnt;
    std::vector<char> edit;
    bool editing = false;
    auto beginEdit = [&] {
        if (editing) return;
        editing = true;
        const std::size_t size = ((static_cast<std::size_t>(FRcvdCnt) + len + 256) / 256) * 256;
        edit.assign(size, '\0');
        std::memcpy(edit.data(), FRcvdPtr.data(), static_cast<std::size_t>(out));
    };
    auto store = [&](char c) {
        if (static_cast<std::size_t>(out) >= edit.size()) edit.resize(edit.size() + 256);
        edit[static_cast<std::size_t>(out)] = c;
    };
    for (int i = 0; i < len; ++i) {
        const char c = FRcvdPtr[static_cast<std::size_t>(start + i)];
        if (c == kBackspace) {
            if (FLineEcho && out > 0) Send("\b \b", 3);
            beginEdit();
            if (out > 0) {
                --out;
                low = std::min(low, out);
            }
        } else if (c == kTab) {
            beginEdit();
            do {
                store(' ');
                if (FLineEcho) Send(" ", 1);
                ++out;
            } while (out % 8 != 0);
        } else {
            if (FLineEcho) Send(&c, 1);
            if (editing) store(c);
            ++out;
        }
    }
    if (!editing) return;
    if (static_cast<int>(FRcvdPtr.size()) <= out) FRcvdPtr.resize(static_cast<std::size_t>(out) + 1);
    std::memcpy(FRcvdPtr.data(), edit.data(), static_cast<std::size_t>(out));
    FRcvdPtr[static_cast<std::size_t>(out)] = '\0';
    FRcvdCnt = low;
    len = out - low;
}

void TCustomLineWSocket::TriggerSessionClosed(WORD error) {
    FLineFound = true;
    if (!FRcvdPtr.empty()) {
        if (FLineMode && FRcvdCnt > 0 && !FLineClearData) {
            // The unterminated rest is the last line.
            FLineLength = FRcvdCnt;
            while (FLineMode && FLineLength > 0 && OnDataAvailable) {
                const int before = FLineLength;
                TCustomSocksWSocket::TriggerDataAvailable(0);
                if (FLineLength == before) break;
            }
        }
        FRcvdPtr.clear();
        FRcvdPtr.shrink_to_fit();
        FRcvdCnt = 0;
        FLineLength = 0;
    }
    TCustomSocksWSocket::TriggerSessionClosed(error);
}
