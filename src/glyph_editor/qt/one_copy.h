// One running copy of Strokel: the first copy listens under a name known to every copy; a
// later copy finds it there, asks it to come to the front, and ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace zevo {

class OneCopy : public QObject {
  public:
    explicit OneCopy(const QString& name);
    // True when another copy runs (it has been asked to come to the front).
    bool otherCopyRuns();
    // Starts listening; `activate` runs whenever a later copy asks.
    bool listen(std::function<void()> activate);

  private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace zevo
