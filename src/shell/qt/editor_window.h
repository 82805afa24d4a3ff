// The board editor's main window: menu bar, tool bar and status bar built from the command
// table, the screen window in between, and the Qt side of the editor's Host.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>
#include <unordered_map>

#include "shell/editor.h"
#include "shell/host.h"

class QLabel;
class QToolBar;
class QAction;
class QMenu;
class QDialog;
class QKeyEvent;
class QPrinter;

namespace zevo {

class ScreenWidget;
class ProgressWindow;
class InstanceChannel;
class EstimateServer;

// The editor's key and character input from a Qt key event; true when it was used.
bool DeliverKey(Editor& editor, const QKeyEvent& event);
// Mouse key flags of the editor from Qt's buttons and modifiers.
uint32_t MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

class EditorWindow : public QMainWindow, public Host {
    Q_OBJECT
  public:
    // `copiesFolder`: where running copies find each other (empty: the user's runtime folder).
    explicit EditorWindow(Paths paths, const QString& copiesFolder = {}, QWidget* parent = nullptr);
    ~EditorWindow() override;

    Editor& editor() { return *editor_; }
    ScreenWidget& screen() { return *screen_; }
    QAction* action(Cmd id) const;
    QToolBar* toolBar() const { return toolBar_; }
    InstanceChannel& channel() { return *channel_; }
    // Runs start-up with the program's arguments (the file to open).
    void startUp(const QStringList& arguments);
    // Brings menu, tool bar and status bar in line with the editor.
    void updateStates();

    // --- Host
    void beep() override;
    void message(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text) override;
    Answer askYesNoCancel(std::string_view text) override;
    bool chooseFileToOpen(const FileFilter& filter, const fs::path& start,
                          fs::path& chosen) override;
    bool chooseFileToSave(const FileFilter& filter, const fs::path& start,
                          fs::path& chosen) override;
    void setTitle(std::string_view title) override;
    void setStatusText(int part, std::string_view text) override;
    void barsChanged() override;
    void toolBarChanged() override;
    void definitionItemsChanged() override;
    void setCloseEnabled(bool enabled) override { closeEnabled_ = enabled; }
    void updateScreen() override;
    void updateScreenNow() override;
    void setWaitCursor(bool on) override;
    void startTimer(int id, int milliseconds) override;
    Cmd popupMenu(std::span<const MenuEntry> entries, int x, int y) override;
    void windowMenu(int x, int y) override;
    void closeWindow() override { close(); }
    bool setClipboardData(std::string_view bytes) override;
    std::optional<std::string> clipboardData() override;
    void showProgress(std::string_view text, bool escapeStops) override;
    bool pumpProgress() override;
    void closeProgress() override;
    bool startEditor(const fs::path& document) override;
    bool openWithDesktop(const fs::path& file) override;
    void showHelp() override;
    void showVersion(std::string_view versionLine, std::string_view notice) override;
    bool askPartNumber(std::string& partNumber) override;
    bool estimateRunning() override;
    uint32_t estimateChannel() override;
    bool startEstimate(std::string_view arguments) override;
    // Every dialog: the window registered for the model's type (editor_window_dialogs.cpp).
    std::optional<PrinterMetrics> printerMetrics() override;
    // Puts a printer in force as the set-up dialog does (a PDF file printer in tests).
    void usePrinter(std::unique_ptr<QPrinter> printer);
    bool choosePrinter() override;
    bool printBitmap(std::string_view document, const DibImage& image) override;

    bool run(DialogModel& dialog) override;
    void languageChanged(Language language) override;

  protected:
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent*) override;

  private:
    void buildMenus();
    void buildToolBar();
    void addEntries(QMenu* menu, std::span<const MenuEntry> entries, bool commands);
    // The windows of the dialogs, one registration per model type.
    void registerDialogs();
    template <class Model>
    void addDialog(std::function<bool(Model&)> window) {
        dialogs_[std::type_index(typeid(Model))] = [window](DialogModel& m) {
            return window(static_cast<Model&>(m));
        };
    }

    std::unique_ptr<Editor> editor_;
    ScreenWidget* screen_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* status_[3] = {};
    std::vector<QMenu*> menus_;
    std::map<Cmd, QAction*> actions_;
    std::map<Cmd, QAction*> buttons_;
    QAction* layerItem_ = nullptr;
    QAction* definitionItem_ = nullptr;
    bool closeEnabled_ = true;
    InstanceChannel* channel_ = nullptr;
    EstimateServer* estimate_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    std::unordered_map<std::type_index, std::function<bool(DialogModel&)>> dialogs_;
    // The printer: the default one, asked for once, until the set-up dialog chose another.
    std::unique_ptr<QPrinter> printer_;
    bool printerAsked_ = false;
};

// A print bitmap as a Qt image (one bit or eight bits through the colour table).
QImage DibToImage(const DibImage& image);

}  // namespace zevo
