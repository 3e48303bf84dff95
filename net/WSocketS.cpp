#include "net/WSocketS.h"

#include "platform/core/StrUtils.h"

#include <algorithm>

using namespace winsock;

// ---- Client ----

void TWSocketClient::AfterConstruction() {
    TWSocket::AfterConstruction();
    // The owner heard of the insertion while this object was still being built, too early to know it
    // as a client.
    if (auto* server = dynamic_cast<TCustomWSocketServer*>(Owner())) server->AddClient(this);
}

void TWSocketClient::StartConnection() {
    if (!FBanner.empty()) SendStr(FBanner + FLineEnd);
}

void TWSocketClient::Dup(TSocket newHSocket) {
    TWSocket::Dup(newHSocket);
    // Read quietly: a peer already gone must not turn into an error of the accepting server.
    TSockAddrIn peer{};
    if (GetPeerName(peer, sizeof peer) == 0) {
        FPeerAddr = WSocketDottedAddr(peer.sin_addr.s_addr);
        FPeerPort = IntToStr(WSocket_ntohs(peer.sin_port));
    } else {
        FPeerAddr = "error";
        FPeerPort = "error";
    }
}

std::string TWSocketClient::GetPeerAddr() {
    return FPeerAddr;
}

std::string TWSocketClient::GetPeerPort() {
    return FPeerPort;
}

void TWSocketClient::TriggerSessionClosed(WORD error) {
    if (FSessionClosedFlag) return;
    FSessionClosedFlag = true;
    if (FServer != nullptr)
        PostMessage(FServer->Handle(), WM_SERVER_CLIENT_GONE, error, reinterpret_cast<LPARAM>(this));
    TWSocket::TriggerSessionClosed(error);
}

// ---- Server ----

TCustomWSocketServer::TCustomWSocketServer(TComponent* owner) : TWSocket(owner) {
    SetClientClass<TWSocketClient>();
}

TCustomWSocketServer::~TCustomWSocketServer() {
    while (!FClientList.empty()) {
        TWSocketClient* client = FClientList.back().Client;
        FreeClient(client);
        if (!FClientList.empty() && FClientList.back().Client == client) FClientList.pop_back();
    }
}

void TCustomWSocketServer::AddClient(TWSocketClient* client) {
    if (FindClient(reinterpret_cast<std::uintptr_t>(client)) == nullptr)
        FClientList.push_back({static_cast<TComponent*>(client), client});
}

TWSocketClient* TCustomWSocketServer::FindClient(std::uintptr_t address) const {
    for (const TClientEntry& entry : FClientList)
        if (reinterpret_cast<std::uintptr_t>(entry.Client) == address) return entry.Client;
    return nullptr;
}

bool TCustomWSocketServer::IsClient(const TObject* object) const {
    return std::any_of(FClientList.begin(), FClientList.end(), [object](const TClientEntry& entry) {
        return static_cast<const TObject*>(entry.Client) == object;
    });
}

void TCustomWSocketServer::FreeClient(TWSocketClient* client) {
    // The client leaves the list through Notification when it goes.
    client->Free();
}

void TCustomWSocketServer::Notification(TComponent* component, TOperation operation) {
    TWSocket::Notification(component, operation);
    if (operation == opInsert) {
        if (auto* client = dynamic_cast<TWSocketClient*>(component)) AddClient(client);
        return;
    }
    FClientList.erase(std::remove_if(FClientList.begin(), FClientList.end(),
                                     [component](const TClientEntry& e) { return e.Component == component; }),
                      FClientList.end());
}

int TCustomWSocketServer::GetClientCount() {
    return static_cast<int>(FClientList.size());
}

TWSocketClient* TCustomWSocketServer::GetClient(int index) {
    if (index < 0 || index >= static_cast<int>(FClientList.size())) return nullptr;
    return FClientList[static_cast<std::size_t>(index)].Client;
}

void TCustomWSocketServer::WndProc(TMessage& msg) {
    if (msg.Msg != WM_SERVER_CLIENT_GONE) {
        TWSocket::WndProc(msg);
        return;
    }
    try {
        WMClientClosed(msg);
    } catch (const std::exception& e) {
        HandleBackGroundException(e);
    } catch (...) {
        HandleBackGroundException(Exception("Unknown exception"));
    }
}

void TCustomWSocketServer::WMClientClosed(TMessage& msg) {
    const auto address = static_cast<std::uintptr_t>(msg.LParam);
    // A client freed meanwhile is not in the list; one made since at the same address has not closed.
    TWSocketClient* client = FindClient(address);
    if (client == nullptr || !client->FSessionClosedFlag) return;
    TriggerClientDisconnect(client, static_cast<WORD>(msg.WParam));
    // The handler may have freed it already.
    client = FindClient(address);
    if (client != nullptr && client->FSessionClosedFlag) FreeClient(client);
}

void TCustomWSocketServer::TriggerSessionAvailable(WORD error) {
    TWSocket::TriggerSessionAvailable(error);
    if (error != 0) return;
    const TSocket newHSocket = Accept();
    // No client for a failed accept: it would never connect, never close and never be freed.
    if (newHSocket == INVALID_SOCKET) return;
    ++FClientNum;
    TWSocketClient* client = FClientClass(this);
    TriggerClientCreate(client);
    if (!IsClient(client)) {
        WSocket_closesocket(newHSocket);
        return;
    }
    bool adopted = false;
    try {
        client->SetName(Name() + "Client" + IntToStr(FClientNum));
        client->FBanner = FBanner;
        client->FServer = this;
        client->SetVeskLogger(VeskLogger());
        adopted = true;
        client->Dup(newHSocket);
    } catch (...) {
        if (!adopted) WSocket_closesocket(newHSocket);
        if (IsClient(client)) FreeClient(client);
        throw;
    }
    if (client->State() != wsConnected) {
        // Dup failed and reported it through the client's OnError: nothing would free this client.
        FreeClient(client);
        return;
    }
    TriggerClientConnect(client, error);
    if (!IsClient(client) || client->State() != wsConnected) return;
    if (FMaxClients > 0 && GetClientCount() > FMaxClients) {
        client->FBanner = FBannerTooBusy;
        client->StartConnection();
        client->Close();
    } else {
        client->StartConnection();
    }
}

void TCustomWSocketServer::TriggerClientCreate(TWSocketClient* client) {
    if (OnClientCreate) OnClientCreate(this, client);
}

void TCustomWSocketServer::TriggerClientConnect(TWSocketClient* client, WORD error) {
    if (OnClientConnect) OnClientConnect(this, client, error);
}

void TCustomWSocketServer::TriggerClientDisconnect(TWSocketClient* client, WORD error) {
    if (OnClientDisconnect) OnClientDisconnect(this, client, error);
}
