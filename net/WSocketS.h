// The listening server: each incoming connection is accepted into a client object of its own, greeted
// with a banner line, and freed once its session has closed. Beyond MaxClients a client hears the
// too-busy banner and is closed at once.
//
// A client's close posts WM_SERVER_CLIENT_GONE to the server, which then fires OnClientDisconnect and
// frees the client. The message names the client by address only: it is acted on only while that
// address is still one of the server's closed clients, so a client freed meanwhile is never touched.
#pragma once

#include "net/WSocket.h"

#include <functional>
#include <vector>

class TCustomWSocketServer;

class TWSocketClient : public TWSocket {
public:
    using TWSocket::TWSocket;

    // Sends the banner and LineEnd, unless the banner is empty.
    virtual void StartConnection();
    // Adopts the accepted handle and keeps the peer's address and port, readable after the close.
    void Dup(TSocket newHSocket) override;
    std::string GetPeerAddr() override;
    std::string GetPeerPort() override;

    const std::string& Banner() const { return FBanner; }
    void SetBanner(const std::string& value) { FBanner = value; }
    TCustomWSocketServer* Server() const { return FServer; }
    bool SessionClosedFlag() const { return FSessionClosedFlag; }

protected:
    friend class TCustomWSocketServer;

    void AfterConstruction() override;
    void TriggerSessionClosed(WORD error) override;

    std::string FBanner;
    TCustomWSocketServer* FServer = nullptr;
    std::string FPeerAddr;
    std::string FPeerPort;
    bool FSessionClosedFlag = false;
};

using TWSocketClientCreateEvent = TEvent<TObject*, TWSocketClient*>;
using TWSocketClientConnectEvent = TEvent<TObject*, TWSocketClient*, WORD>;
// Makes a client owned by the server; set with SetClientClass<T>().
using TWSocketClientClass = std::function<TWSocketClient*(TComponent* owner)>;

class TCustomWSocketServer : public TWSocket {
public:
    explicit TCustomWSocketServer(TComponent* owner);
    // Frees the clients still alive, the last accepted first.
    ~TCustomWSocketServer() override;

    template <class T>
    void SetClientClass() {
        static_assert(std::is_base_of_v<TWSocketClient, T>);
        FClientClass = [](TComponent* owner) { return TCustomWSocket::Create<T>(owner); };
    }

    const std::string& Banner() const { return FBanner; }
    void SetBanner(const std::string& value) { FBanner = value; }
    const std::string& BannerTooBusy() const { return FBannerTooBusy; }
    void SetBannerTooBusy(const std::string& value) { FBannerTooBusy = value; }
    // 0 or less: no limit.
    int MaxClients() const { return FMaxClients; }
    void SetMaxClients(int value) { FMaxClients = value; }
    int ClientCount() { return GetClientCount(); }
    // nullptr outside 0 .. ClientCount - 1.
    TWSocketClient* Client(int index) { return GetClient(index); }
    bool IsClient(const TObject* object) const;

    TWSocketClientCreateEvent OnClientCreate;
    TWSocketClientConnectEvent OnClientConnect;
    TWSocketClientConnectEvent OnClientDisconnect;

protected:
    friend class TWSocketClient;

    virtual void TriggerClientCreate(TWSocketClient* client);
    virtual void TriggerClientConnect(TWSocketClient* client, WORD error);
    virtual void TriggerClientDisconnect(TWSocketClient* client, WORD error);
    virtual int GetClientCount();
    virtual TWSocketClient* GetClient(int index);
    void WndProc(TMessage& msg) override;
    void Notification(TComponent* component, TOperation operation) override;
    void TriggerSessionAvailable(WORD error) override;
    void WMClientClosed(TMessage& msg);

    std::string FBanner = "Welcome to Dalmir";
    std::string FBannerTooBusy = "Sorry, too many clients";
    TWSocketClientClass FClientClass;
    int FClientNum = 0;
    int FMaxClients = 0;

private:
    struct TClientEntry {
        TComponent* Component;
        TWSocketClient* Client;
    };
    void AddClient(TWSocketClient* client);
    // The live client at that address, or nullptr; the address itself is never dereferenced.
    TWSocketClient* FindClient(std::uintptr_t address) const;
    void FreeClient(TWSocketClient* client);

    std::vector<TClientEntry> FClientList;
};

class TWSocketServer : public TCustomWSocketServer {
public:
    using TCustomWSocketServer::TCustomWSocketServer;
};
