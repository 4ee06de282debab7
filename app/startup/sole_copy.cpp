#include "app/startup/sole_copy.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include "app/ports/text.h"
#include "app/ports/platform.h"
#include "core/identity.h"

namespace dlt::gui {

namespace {
// What a later start sends; the running copy only needs to hear something.
constexpr char kForward[] = "forward\n";
} // namespace

SoleCopy::SoleCopy(const QString& folder, QObject* parent) : QObject(parent) {
    const QString absolute = QDir(folder).absolutePath();
    socketName_ =
        fromUtf8(identity::productCode) + u'-' +
        QString::fromLatin1(
            QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Md5).toHex().left(16));
    if (!QDir().mkpath(absolute)) {
        sole_ = true;
        return;
    }
    lock_ = FileLock::tryLockFile(toPath(absolute + QStringLiteral("/running.lock")));
    sole_ = lock_.held();
    if (!sole_)
        return;
    // Holding the lock, a socket of that name is one a crashed copy left.
    QLocalServer::removeServer(socketName_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketName_);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* later = server_.nextPendingConnection()) {
            connect(later, &QLocalSocket::disconnected, later, &QObject::deleteLater);
            later->disconnectFromServer();
        }
        bringWindowsForward();
    });
}

bool SoleCopy::bringRunningCopyForward(int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketName_);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(kForward);
            return socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
        }
        // The running copy may have taken the lock and not yet be listening.
        QThread::msleep(20);
    }
    return false;
}

void SoleCopy::bringWindowsForward() {
    // Every window the user sees, the modal one (the intro, a message) last,
    // so that it ends on top.
    QWidget* modal = QApplication::activeModalWidget();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->isVisible() || window == modal)
            continue;
        if (window->isMinimized())
            window->showNormal();
        window->raise();
        window->activateWindow();
    }
    if (modal) {
        modal->raise();
        modal->activateWindow();
    }
    emit broughtForward();
}

} // namespace dlt::gui
