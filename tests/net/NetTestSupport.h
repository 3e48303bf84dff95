// Helpers of the socket tests: bounded pumping, an ordered record of a socket's events, sockets that are
// freed at the end of a test, a loopback connection made the way the client makes one, the message a
// call raises and a plain collector of received data.
#pragma once

#include "net/WSocket.h"
#include "tests/net/NetPeer.h"

#include "platform/core/Threads.h"
#include "platform/win/Application.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace nettest {

// Pumps as the system's waits do, until the condition holds or the (real) time runs out.
template <typename Pred>
bool PumpUntil(Pred done, int milliseconds = 3000) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        CurrentApplication().ProcessMessages();
        Sleep(0);
    }
    return true;
}

inline void PumpFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

inline const char* StateName(TSocketState state) {
    switch (state) {
    case wsInvalidState:
        return "Invalid";
    case wsOpened:
        return "Opened";
    case wsBound:
        return "Bound";
    case wsConnecting:
        return "Connecting";
    case wsSocksConnected:
        return "SocksConnected";
    case wsConnected:
        return "Connected";
    case wsAccepting:
        return "Accepting";
    case wsListening:
        return "Listening";
    case wsClosed:
        return "Closed";
    }
    return "?";
}

// The events of one socket in the order they fired: "Closed>Opened", "connected(0)", "closed(10054)",
// "sent(0)", "error(10057)". Data events are left to each test.
class TEventLog {
public:
    void Watch(TCustomWSocket* socket) {
        socket->OnChangeState = TChangeState([this](TObject*, TSocketState from, TSocketState to) {
            Lines.push_back(std::string(StateName(from)) + ">" + StateName(to));
        });
        socket->OnSessionConnected = TSessionConnected(
            [this](TObject*, WORD e) { Lines.push_back("connected(" + std::to_string(e) + ")"); });
        socket->OnSessionClosed = TSessionClosed(
            [this](TObject*, WORD e) { Lines.push_back("closed(" + std::to_string(e) + ")"); });
        socket->OnDataSent =
            TDataSent([this](TObject*, WORD e) { Lines.push_back("sent(" + std::to_string(e) + ")"); });
    }
    void WatchErrors(TCustomWSocket* socket) {
        socket->OnError = TNotifyEvent([this, socket](TObject*) {
            Lines.push_back("error(" + std::to_string(socket->LastError()) + ")");
        });
    }
    void Add(const std::string& line) { Lines.push_back(line); }
    std::size_t Count(const std::string& line) const {
        return static_cast<std::size_t>(std::count(Lines.begin(), Lines.end(), line));
    }
    bool Has(const std::string& line) const { return Count(line) > 0; }
    // The index of a line, or -1.
    int IndexOf(const std::string& line) const {
        auto it = std::find(Lines.begin(), Lines.end(), line);
        return it == Lines.end() ? -1 : static_cast<int>(it - Lines.begin());
    }

    std::vector<std::string> Lines;
};

// Sockets made through Create and freed (closing them) when the test ends.
class TSocketSet {
public:
    TSocketSet() = default;
    // The test's own records may be gone already: the handlers go before the sockets.
    ~TSocketSet() {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            TCustomWSocket* s = *it;
            s->OnSessionAvailable = nullptr;
            s->OnSessionConnected = nullptr;
            s->OnSessionClosed = nullptr;
            s->OnChangeState = nullptr;
            s->OnDataAvailable = nullptr;
            s->OnDataSent = nullptr;
            s->OnSendData = nullptr;
            s->OnDnsLookupDone = nullptr;
            s->OnError = nullptr;
            s->OnBgException = nullptr;
            s->Free();
        }
    }
    TSocketSet(const TSocketSet&) = delete;
    TSocketSet& operator=(const TSocketSet&) = delete;

    template <class T = TWSocket>
    T* Make() {
        T* socket = TCustomWSocket::Create<T>(nullptr);
        items_.push_back(socket);
        return socket;
    }
    // For a socket the test destroys itself.
    void Forget(TCustomWSocket* socket) {
        items_.erase(std::remove(items_.begin(), items_.end(), socket), items_.end());
    }

private:
    std::vector<TCustomWSocket*> items_;
};

// The message of the ESocketException a call raises, or "" when it returns.
inline std::string Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const ESocketException& e) {
        return e.Message;
    }
    return "";
}

// Appends what each data notification offers to `got`, one read of up to 64 bytes each time.
inline void CollectData(TCustomWSocket* socket, std::string& got) {
    socket->OnDataAvailable = TDataAvailable([socket, &got](TObject*, WORD) {
        char buffer[64];
        const int n = socket->Receive(buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    });
}

inline void Target(TCustomWSocket* socket, std::uint16_t port, const char* proto = "tcp") {
    socket->SetAddr("127.0.0.1");
    socket->SetPort(std::to_string(port));
    socket->SetProto(proto);
}

// Connects `socket` to a fresh loopback listener and waits for wsConnected; the peer's descriptor, or -1.
inline int OpenConnection(TCustomWSocket* socket) {
    std::uint16_t port = 0;
    const int listener = netpeer::Listen(port);
    Target(socket, port);
    socket->Connect();
    const int peer = netpeer::Accept(listener);
    netpeer::Close(listener);
    if (!PumpUntil([&] { return socket->State() == wsConnected; })) return -1;
    return peer;
}

} // namespace nettest
