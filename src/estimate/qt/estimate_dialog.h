// Dialog 100 "基板製作見積": the estimate program's one window over an EstimateSession, and the
// program's end of the channel to the editor.
#pragma once

#include <QDialog>
#include <QLocalSocket>
#include <QString>
#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "estimate/estimate_session.h"

class QComboBox;
class QLineEdit;
class QLabel;
class QRadioButton;
class QCheckBox;
class QPushButton;
class QTimer;

namespace zevo {

class EstimateDialog : public QDialog, public EstimateHost {
    Q_OBJECT
  public:
    // `serverName`: the editor's end of the channel (empty: no editor, as in tests).
    EstimateDialog(EstimateArguments args, std::vector<MakerEntry> table,
                   std::filesystem::path tempFolder, QString serverName, QWidget* parent = nullptr);
    ~EstimateDialog() override;

    EstimateSession& session() { return *session_; }
    // Shows the session's state in the controls.
    void refresh();

    // --- EstimateHost
    void message(std::string_view text) override;
    bool requestData() override;
    bool editorAlive() override;
    void setClipboardText(std::string_view text) override;
    bool openUrl(std::string_view url) override;
    void close(int delayMs) override;

    // Message boxes are not shown while set (tests); the texts are kept in `shown`.
    bool quiet = false;
    std::vector<QString> shown;
    // The last URL handed to the desktop.
    QString openedUrl;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fillEntry();
    void takeFields();
    void showHelp();
    void openViewer();

    std::unique_ptr<EstimateSession> session_;
    QString serverName_;
    QLocalSocket socket_;
    bool everConnected_ = false;
    QComboBox* maker_ = nullptr;
    QLineEdit* sizeX_ = nullptr;
    QLineEdit* sizeY_ = nullptr;
    QLineEdit* quantity_ = nullptr;
    std::array<QLabel*, kMaxMakerOptions> optionLabels_{};
    std::array<QComboBox*, kMaxMakerOptions> optionCombos_{};
    QRadioButton* sideA_ = nullptr;
    QRadioButton* sideB_ = nullptr;
    QCheckBox* mirror_ = nullptr;
    QPushButton* make_ = nullptr;
    QPushButton* check_ = nullptr;
    QPushButton* order_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace zevo
