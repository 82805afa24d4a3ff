// The channel between running copies of the editor: each copy listens on a local socket and
// lists itself (with its window title) in a folder of the user's runtime directory, so that
// another copy can show the running copies in its window menu, bring one to the front, or ask
// one to open a file.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QLocalServer;

namespace zevo {

struct RunningCopy {
    qint64 pid = 0;
    QString title;
};

class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    // `folder`: where the copies list themselves (empty: the user's runtime directory); `pid`:
    // this copy's number (0: the process id).
    explicit InstanceChannel(QString folder = {}, qint64 pid = 0, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // What this copy does when another asks.
    std::function<void()> onRaise;
    std::function<void(const QString& file)> onOpen;

    void setTitle(const QString& title);
    qint64 pid() const { return pid_; }
    // Every other running copy that answers, in the order of their process ids.
    std::vector<RunningCopy> others() const;
    // Sends a request to the copy with that process id; false when it does not answer.
    bool raise(qint64 pid) const;
    bool open(qint64 pid, const QString& file) const;

  private:
    bool send(qint64 pid, const QByteArray& line) const;
    QString serverName(qint64 pid) const;
    QString folder_;
    qint64 pid_;
    QLocalServer* server_ = nullptr;
};

}  // namespace zevo
