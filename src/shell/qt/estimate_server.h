// The editor's end of the channel to the estimate program: a local socket named after the
// channel number the program gets on its command line. The program sends "request" lines; the
// editor writes the ZevoNC files and sends back the reply line. The program watches the
// connection to learn that the editor is gone. The program's single-copy lock lives here too,
// since the editor asks whether it is held before starting another copy.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLocalServer;

namespace zevo {

// The local socket name of channel `id`.
QString EstimateServerName(uint32_t id);
// The lock file the running estimate program holds ("Ordavist_Mutex").
QString EstimateLockPath();
// Whether a running estimate program holds the lock (a program that died does not).
bool EstimateLockHeld();

class EstimateServer : public QObject {
    Q_OBJECT
  public:
    // `answer` turns a line from the program into the line to send back (nothing: no answer).
    using Answer = std::function<std::optional<std::string>(std::string_view line)>;
    explicit EstimateServer(Answer answer, QObject* parent = nullptr);
    ~EstimateServer() override;

    // This end's number; the server listens from the first call on.
    uint32_t id();

  private:
    Answer answer_;
    uint32_t id_ = 0;
    QLocalServer* server_ = nullptr;
};

}  // namespace zevo
