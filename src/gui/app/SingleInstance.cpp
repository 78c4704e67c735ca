#include "app/SingleInstance.h"

#include <QApplication>
#include <cstring>

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "app/CVarnIdeApp.h"

#include "platform/SettingsStore.h"

namespace varn {

QString SingleInstance::defaultServerName() {
    QString user;
#ifdef Q_OS_UNIX
    user = QString::number(::getuid());
#else
    user = qEnvironmentVariable("USERNAME");
#endif
    // One IDE per user, display and settings folder: another display or
    // another settings folder is another IDE.
    const QByteArray place = qgetenv("DISPLAY") + '|' + qgetenv("WAYLAND_DISPLAY") + '|' +
                             QByteArray::fromStdString(SettingsStore::userFilePath());
    const QString tag = QString::fromLatin1(QCryptographicHash::hash(place, QCryptographicHash::Sha1).toHex().left(12));
    return QString::fromLatin1(CVarnIdeApp::kAppName) + QLatin1Char('-') + user + QLatin1Char('-') + tag;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent) : QObject(parent), name_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::activateOther(const QString& file) const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    if (!file.isEmpty()) socket.write(QByteArray(kOpen) + file.toUtf8() + '\n');
    socket.write(QByteArray(kActivate) + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
    // The answer says the other IDE is alive and has come to the front.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(kTimeoutMs)) return false;
    return socket.readLine().trimmed() == QByteArray(kActivated);
}

bool SingleInstance::answering() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    return socket.waitForConnected(kTimeoutMs);
}

bool SingleInstance::listen(std::function<void()> activate, std::function<void(const QString&)> open) {
    activate_ = std::move(activate);
    open_ = std::move(open);
    if (server_) return true;
    // Listening would take the name even from a live IDE, so ask first. A
    // name that nobody answers on was left behind by an IDE that did not end
    // cleanly and may be taken over.
    if (answering()) return false;
    QLocalServer::removeServer(name_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

bool SingleInstance::listening() const { return server_ && server_->isListening(); }

void SingleInstance::answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().chopped(1);
                if (line.startsWith(kOpen)) {
                    if (open_) open_(QString::fromUtf8(line.mid(static_cast<qsizetype>(std::strlen(kOpen)))));
                    continue;
                }
                if (line.trimmed() != QByteArray(kActivate)) continue;
                if (activate_) activate_();
                socket->write(QByteArray(kActivated) + '\n');
                socket->flush();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();  // the request may have come with the connection
    }
}

void bringToFront(QWidget& window) {
    Qt::WindowStates s = window.windowState();
    if (s & Qt::WindowMinimized) window.setWindowState((s & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &window) {
        modal->raise();
        modal->activateWindow();
    }
}

}  // namespace varn
