// The check's proxies from Qt Network's QNetworkProxyFactory; the connections themselves on system
// sockets (WinInetWays.cpp).
#include "platform/vcl/WinInet.h"

#include "platform/vcl/QtSupport.h"
#include "platform/vcl/WinInetWays.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QUrl>

std::function<BOOL()> PrepareInternetCheck(LPCSTR url) {
    const auto unreachable = [] { return FALSE; };
    if (url == nullptr) return unreachable;
    if (QCoreApplication::instance() == nullptr) vcl_internal::EnsureGuiApplication();
    const QUrl target(QString::fromUtf8(url));
    if (!target.isValid() || target.host().isEmpty()) return unreachable;
    QList<QNetworkProxy> proxies = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(target));
    if (proxies.isEmpty()) proxies.append(QNetworkProxy(QNetworkProxy::NoProxy));
    std::vector<TInternetWay> ways;
    for (const QNetworkProxy& proxy : proxies) {
        TInternetWay way;
        if (proxy.type() == QNetworkProxy::HttpProxy)
            way.kind = TInternetWay::TKind::Http;
        else if (proxy.type() == QNetworkProxy::Socks5Proxy)
            way.kind = TInternetWay::TKind::Socks5;
        else if (proxy.type() != QNetworkProxy::NoProxy && proxy.type() != QNetworkProxy::DefaultProxy)
            continue; // a proxy that only caches cannot reach a server for a plain connection
        if (way.kind != TInternetWay::TKind::Direct) {
            if (!(proxy.capabilities() & QNetworkProxy::TunnelingCapability)) continue;
            way.host = proxy.hostName().toStdString();
            way.port = proxy.port();
            way.user = proxy.user().toStdString();
            way.password = proxy.password().toStdString();
        }
        ways.push_back(std::move(way));
    }
    const std::string host = target.host(QUrl::FullyEncoded).toStdString();
    const int port = target.port(target.scheme() == QLatin1String("https") ? 443 : 80);
    return [ways = std::move(ways), host, port] {
        return ReachThroughAnyWay(ways, host, port, kInternetCheckLimitMs) ? TRUE : FALSE;
    };
}

BOOL InternetCheckConnectionA(LPCSTR url, DWORD, DWORD) {
    return PrepareInternetCheck(url)();
}
