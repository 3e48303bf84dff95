#include "platform/vcl/SingleInstance.h"

#include "platform/core/Debug.h"
#include "platform/core/Threads.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/QtSupport.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace {

constexpr char kLockName[] = "harbek.lock";
constexpr QByteArrayView kRaise = "raise\n";
constexpr QByteArrayView kRaised = "raised\n";

// The socket's name follows the folder, so copies on other folders never meet; it lives in the
// temporary folder, where a path of any length fits.
QString ServerName(const std::string& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(folder), QCryptographicHash::Sha256);
    return QStringLiteral("harbek-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.toHex().left(24)));
}

void BringApplicationForward() {
    Application->Restore();
    Application->BringToFront();
}

} // namespace

struct TInstanceGuard::TState {
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
};

TInstanceGuard::TInstanceGuard() : state_(std::make_unique<TState>()) {}

TInstanceGuard::~TInstanceGuard() {
    state_->server.reset();
    state_->lock.reset();
}

TInstanceClaim TInstanceGuard::Claim(const std::string& programFolder, int answerMs) {
    vcl_internal::EnsureGuiApplication();
    auto lock = std::make_unique<QLockFile>(vcl_internal::ToQString(programFolder + kLockName));
    // Only a live process holds the folder; no age makes its lock stale.
    lock->setStaleLockTime(0);
    const QString name = ServerName(programFolder);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) {
            DebugTrace("TInstanceGuard::Claim", "no lock file in " + programFolder + "; going on without");
            return TInstanceClaim::Claimed;
        }
        QLocalSocket socket;
        socket.connectToServer(name);
        const QDeadlineTimer deadline(answerMs);
        bool asked = false;
        QByteArray answer;
        // The running copy may be this process's own loop (tests): the wait handles messages.
        while (!deadline.hasExpired() && !answer.endsWith('\n')) {
            if (!asked && socket.state() == QLocalSocket::ConnectedState) {
                socket.write(kRaise.data(), kRaise.size());
                asked = true;
            }
            if (socket.state() == QLocalSocket::UnconnectedState) break;
            Application->ProcessMessages();
            answer += socket.readAll();
            Sleep(0);
        }
        return answer == kRaised.toByteArray() ? TInstanceClaim::Raised : TInstanceClaim::Running;
    }

    state_->lock = std::move(lock);
    // This process has the folder: a socket left by a copy that died is no one's.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer* raw = server.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [raw] {
        while (QLocalSocket* peer = raw->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            QObject::connect(peer, &QLocalSocket::readyRead, peer, [peer] {
                if (!peer->canReadLine()) return;
                if (peer->readLine() != kRaise.toByteArray()) {
                    peer->disconnectFromServer();
                    return;
                }
                vcl_internal::Guarded(BringApplicationForward);
                peer->write(kRaised.data(), kRaised.size());
                peer->flush();
            });
        }
    });
    if (!server->listen(name))
        DebugTrace("TInstanceGuard::Claim", "a later start cannot reach this one: " +
                                                vcl_internal::FromQString(server->errorString()));
    state_->server = std::move(server);
    return TInstanceClaim::Claimed;
}
