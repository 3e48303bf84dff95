// The check on Qt Network: the system's proxy for the address from QNetworkProxyFactory, then a TCP
// connection through it (an HTTP proxy is asked to CONNECT, a SOCKS proxy to connect).
#include "platform/vcl/WinInet.h"

#include "platform/vcl/QtSupport.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QTcpSocket>
#include <QUrl>

BOOL InternetCheckConnectionA(LPCSTR url, DWORD, DWORD) {
    if (url == nullptr) return FALSE;
    if (QCoreApplication::instance() == nullptr) vcl_internal::EnsureGuiApplication();
    const QUrl target(QString::fromUtf8(url));
    if (!target.isValid() || target.host().isEmpty()) return FALSE;
    const int port = target.port(target.scheme() == QLatin1String("https") ? 443 : 80);
    QList<QNetworkProxy> ways = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(target));
    if (ways.isEmpty()) ways.append(QNetworkProxy(QNetworkProxy::NoProxy));
    for (QNetworkProxy way : ways) {
        if (way.type() == QNetworkProxy::DefaultProxy) way = QNetworkProxy(QNetworkProxy::NoProxy);
        // A proxy that only caches cannot reach a server for a plain connection.
        if (way.type() != QNetworkProxy::NoProxy &&
            !(way.capabilities() & QNetworkProxy::TunnelingCapability))
            continue;
        QTcpSocket socket;
        socket.setProxy(way);
        socket.connectToHost(target.host(), static_cast<quint16>(port));
        if (socket.waitForConnected(kInternetCheckLimitMs)) return TRUE;
    }
    return FALSE;
}
