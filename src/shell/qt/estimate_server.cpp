#include "shell/qt/estimate_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>

namespace zevo {

QString EstimateServerName(uint32_t id) {
    return "zevo-estimate-" + QString("%1").arg(id, 8, 16, QChar('0')).toUpper();
}

QString EstimateLockPath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    return base + "/Ordavist_Mutex.lock";
}

bool EstimateLockHeld() {
    QLockFile probe(EstimateLockPath());
    // Held only while the program lives: age alone never makes it stale, a dead owner does.
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

EstimateServer::EstimateServer(Answer answer, QObject* parent)
    : QObject(parent), answer_(std::move(answer)) {}

EstimateServer::~EstimateServer() {
    if (server_) server_->close();
}

uint32_t EstimateServer::id() {
    if (server_) return id_;
    id_ = uint32_t(QCoreApplication::applicationPid());
    if (id_ == 0) id_ = 1;
    server_ = new QLocalServer(this);
    const QString name = EstimateServerName(id_);
    QLocalServer::removeServer(name);
    // Only this user's programs may ask this editor to write files.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                while (s->canReadLine()) {
                    const QByteArray line = s->readLine();
                    // From the event loop: writing the files may show message boxes.
                    QPointer<QLocalSocket> socket(s);
                    QMetaObject::invokeMethod(
                        this,
                        [this, socket, line] {
                            const auto reply = answer_(std::string_view(line.data(), line.size()));
                            if (reply && socket &&
                                socket->state() == QLocalSocket::ConnectedState) {
                                socket->write(QByteArray::fromStdString(*reply) + "\n");
                                socket->flush();
                            }
                        },
                        Qt::QueuedConnection);
                }
            });
        }
    });
    return id_;
}

}  // namespace zevo
