#include "shell/qt/instance_channel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <algorithm>

namespace zevo {

namespace {
constexpr int kAnswerMs = 300;
}

InstanceChannel::InstanceChannel(QString folder, qint64 pid, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      pid_(pid ? pid : QCoreApplication::applicationPid()) {
    if (folder_.isEmpty()) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (base.isEmpty()) base = QDir::tempPath();
        folder_ = base + "/zevo-copies";
    }
    QDir().mkpath(folder_);
    server_ = new QLocalServer(this);
    QLocalServer::removeServer(serverName(pid_));
    server_->listen(serverName(pid_));
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                while (s->canReadLine()) {
                    const QString line = QString::fromUtf8(s->readLine()).trimmed();
                    // Later, from the event loop: the request may ask the user something (the
                    // save question).
                    QMetaObject::invokeMethod(
                        this,
                        [this, line] {
                            if (line == "raise") {
                                if (onRaise) onRaise();
                            } else if (line.startsWith("open ")) {
                                if (onOpen) onOpen(line.mid(5));
                            }
                        },
                        Qt::QueuedConnection);
                }
            });
        }
    });
}

InstanceChannel::~InstanceChannel() {
    QFile::remove(folder_ + "/" + QString::number(pid_));
    server_->close();
}

QString InstanceChannel::serverName(qint64 pid) const {
    return folder_ + "/socket-" + QString::number(pid);
}

void InstanceChannel::setTitle(const QString& title) {
    QFile f(folder_ + "/" + QString::number(pid_));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(title.toUtf8());
}

bool InstanceChannel::send(qint64 pid, const QByteArray& line) const {
    QLocalSocket s;
    s.connectToServer(serverName(pid));
    if (!s.waitForConnected(kAnswerMs)) return false;
    s.write(line + "\n");
    // The request is delivered once written; the other copy acts on it in its own time.
    if (!s.waitForBytesWritten(kAnswerMs)) return false;
    s.disconnectFromServer();
    return true;
}

bool InstanceChannel::raise(qint64 pid) const {
    return send(pid, "raise");
}

bool InstanceChannel::open(qint64 pid, const QString& file) const {
    return send(pid, "open " + file.toUtf8());
}

std::vector<RunningCopy> InstanceChannel::others() const {
    std::vector<RunningCopy> out;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList(QDir::Files)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (!ok || pid == pid_) continue;
        QLocalSocket probe;
        probe.connectToServer(serverName(pid));
        if (!probe.waitForConnected(kAnswerMs)) {
            // A copy that ended without tidying up (a crash): forget it.
            QFile::remove(dir.filePath(name));
            continue;
        }
        probe.disconnectFromServer();
        QFile f(dir.filePath(name));
        RunningCopy c{pid, {}};
        if (f.open(QIODevice::ReadOnly)) c.title = QString::fromUtf8(f.readAll());
        out.push_back(c);
    }
    std::sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.pid < b.pid; });
    return out;
}

}  // namespace zevo
