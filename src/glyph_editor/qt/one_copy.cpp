#include "glyph_editor/qt/one_copy.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace zevo {

OneCopy::OneCopy(const QString& name) {
    // One name per user: other users' copies do not count.
    name_ = QString(name).replace(' ', '-') + "-" + QDir::home().dirName();
}

bool OneCopy::otherCopyRuns() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(500)) return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}

bool OneCopy::listen(std::function<void()> activate) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A copy that ended without closing leaves its name behind.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this, activate] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            activate();
        }
    });
    return true;
}

}  // namespace zevo
