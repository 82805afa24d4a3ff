#include "shell/qt/editor_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "interface/qt/interface_language.h"
#include "shell/commands.h"
#include "shell/qt/estimate_server.h"
#include "shell/qt/instance_channel.h"
#include "shell/qt/progress_window.h"
#include "shell/qt/screen_widget.h"

// The icons live in the static library; their registration must be asked for.
static void InitIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace zevo {

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

fs::path PathOf(const QString& s) {
    return fs::path(s.toStdString());
}
QString QPath(const fs::path& p) {
    return QString::fromStdString(p.string());
}

QString FilterOf(const FileFilter& f) {
    return UiText(f.description) + " (" + Q(f.pattern) + ")";
}

}  // namespace

uint32_t MouseFlagsOf(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    uint32_t f = 0;
    if (b & Qt::LeftButton) f |= kMkLeft;
    if (b & Qt::RightButton) f |= kMkRight;
    if (b & Qt::MiddleButton) f |= kMkMiddle;
    if (m & Qt::ShiftModifier) f |= kMkShift;
    if (m & Qt::ControlModifier) f |= kMkControl;
    return f;
}

bool DeliverKey(Editor& editor, const QKeyEvent& e) {
    const bool ctrl = e.modifiers() & Qt::ControlModifier;
    switch (e.key()) {
        case Qt::Key_Backspace:
            editor.keyDown(EditorKey::kBackspace);
            return true;
        case Qt::Key_PageUp:
            editor.keyDown(EditorKey::kPageUp);
            return true;
        case Qt::Key_PageDown:
            editor.keyDown(EditorKey::kPageDown);
            return true;
        case Qt::Key_Home:
            editor.keyDown(EditorKey::kHome);
            return true;
        case Qt::Key_Left:
            editor.keyDown(EditorKey::kLeft);
            return true;
        case Qt::Key_Right:
            editor.keyDown(EditorKey::kRight);
            return true;
        case Qt::Key_Up:
            editor.keyDown(EditorKey::kUp);
            return true;
        case Qt::Key_Down:
            editor.keyDown(EditorKey::kDown);
            return true;
        case Qt::Key_Delete:
            editor.keyDown(EditorKey::kDelete);
            return true;
        case Qt::Key_F1:
            editor.keyDown(EditorKey::kF1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            editor.character(kCharReturn, ctrl);
            return true;
        case Qt::Key_Escape:
            editor.character(kCharEscape, ctrl);
            return true;
        default:
            break;
    }
    if (ctrl && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z) {
        editor.character(1 + (e.key() - Qt::Key_A), true);
        return true;
    }
    const QString text = e.text();
    if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7f) {
        editor.character(text[0].unicode(), false);
        return true;
    }
    return false;
}

EditorWindow::EditorWindow(Paths paths, const QString& copiesFolder, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName("ZevoMainClass_1");
    setWindowTitle("Zevo");
    setMinimumSize(200, 200);
    InitIcons();
    setWindowIcon(QIcon(":/icons/zevo.svg"));
    editor_ = std::make_unique<Editor>(*this, std::move(paths));
    screen_ = new ScreenWidget(*this, this);
    setCentralWidget(screen_);
    buildMenus();
    buildToolBar();
    registerDialogs();
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(this);
        status_[i]->setObjectName(QString("status%1").arg(i));
        statusBar()->addWidget(status_[i], i == 2 ? 1 : 0);
    }
    statusBar()->setObjectName("statusBar107");
    screen_->setEditor(editor_.get());
    // The paste button follows what the clipboard holds, whoever put it there.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            editor_->clipboardChanged();
            updateStates();
        });
    channel_ = new InstanceChannel(copiesFolder, 0, this);
    channel_->onRaise = [this] {
        showNormal();
        raise();
        activateWindow();
    };
    channel_->onOpen = [this](const QString& file) {
        if (!editor_->ready()) return;
        editor_->openFile(PathOf(file));
        updateStates();
    };
    // The estimate program's requests: the ZevoNC files go into the user's temporary folder,
    // where the program (started with the same environment) looks for them.
    estimate_ = new EstimateServer(
        [this](std::string_view line) {
            std::error_code ec;
            fs::path temp = fs::temp_directory_path(ec);
            if (ec) temp = PathOf(QDir::tempPath());
            auto reply = editor_->estimateLine(line, temp);
            updateStates();
            return reply;
        },
        this);
    // Listening from the start: the program finds the editor by its number alone.
    estimate_->id();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        editor_->displayChanged(s->size().width(), s->size().height());
        // A new desktop size gives a new pick radius.
        connect(s, &QScreen::geometryChanged, this,
                [this](const QRect& g) { editor_->displayChanged(g.width(), g.height()); });
    }
    barsChanged();
}

EditorWindow::~EditorWindow() {
    screen_->setEditor(nullptr);
}

QAction* EditorWindow::action(Cmd id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void EditorWindow::addEntries(QMenu* menu, std::span<const MenuEntry> entries, bool commands) {
    for (const MenuEntry& e : entries) {
        if (e.separator()) {
            menu->addSeparator();
        } else if (e.isSubmenu()) {
            addEntries(menu->addMenu(UiText(e.caption)), e.submenu, commands);
        } else {
            QString caption = UiText(e.caption.empty() ? CommandCaption(e.id) : e.caption);
            // The key is shown, not bound: keys reach the editor through its own tables.
            if (const std::string key = CommandShortcut(e.id); !key.empty())
                caption += '\t' + UiText(key);
            QAction* a = menu->addAction(caption);
            a->setData(CommandNumber(e.id));
            if (commands) {
                a->setObjectName(QString("menu%1").arg(CommandNumber(e.id)));
                actions_[e.id] = a;
                connect(a, &QAction::triggered, this, [this, id = e.id] {
                    editor_->command(id);
                    updateStates();
                });
            }
        }
    }
}

void EditorWindow::buildMenus() {
    for (const MenuSpec& m : MenuBar()) {
        QMenu* menu = menuBar()->addMenu(UiText(m.title));
        menus_.push_back(menu);
        addEntries(menu, m.entries, true);
        connect(menu, &QMenu::aboutToShow, this, [this] { updateStates(); });
    }
    // The current layer and definition sit on the menu bar itself.
    layerItem_ = menuBar()->addAction(UiText(CommandCaption(Cmd::LayerItem)));
    layerItem_->setObjectName(QString("menu%1").arg(CommandNumber(Cmd::LayerItem)));
    connect(layerItem_, &QAction::triggered, this, [this] {
        editor_->command(Cmd::LayerItem);
        updateStates();
    });
    definitionItem_ = menuBar()->addAction(UiText(CommandCaption(Cmd::ApertureItem)));
    definitionItem_->setObjectName(QString("menu%1").arg(CommandNumber(Cmd::ApertureItem)));
    connect(definitionItem_, &QAction::triggered, this, [this] {
        editor_->command(Cmd::ApertureItem);
        updateStates();
    });
}

void EditorWindow::languageChanged(Language language) {
    ApplyUiLanguage(language, editor_->paths);
    // The menus are made anew in the language; the buttons keep their states.
    menuBar()->clear();
    // The switch itself sits in one of them: they go once its signal has returned.
    for (QMenu* m : menus_) m->deleteLater();
    menus_.clear();
    actions_.clear();
    buildMenus();
    for (auto& [id, a] : buttons_) {
        a->setText(UiText(CommandCaption(id)));
        a->setToolTip(UiText(CommandCaption(id)));
    }
    updateStates();
}

void EditorWindow::buildToolBar() {
    toolBar_ = addToolBar("tools");
    toolBar_->setObjectName("toolBar108");
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(false);
    for (Cmd id : ToolBarLayout()) {
        if (id == Cmd::None) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = toolBar_->addAction(QIcon(QString(":/icons/%1.svg").arg(CommandNumber(id))),
                                         UiText(CommandCaption(id)));
        a->setToolTip(UiText(CommandCaption(id)));
        a->setObjectName(QString("button%1").arg(CommandNumber(id)));
        // Buttons of tools stay pressed while their tool is chosen.
        a->setCheckable(IsToolChoice(id));
        buttons_[id] = a;
        connect(a, &QAction::triggered, this, [this, id] {
            editor_->command(id);
            updateStates();
        });
        if (InRange(id, Cmd::Memory1Button, Cmd::Memory4Button)) {
            QWidget* w = toolBar_->widgetForAction(a);
            w->setProperty("command", CommandNumber(id));
            w->installEventFilter(this);
        }
    }
    toolBar_->installEventFilter(this);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu) return QMainWindow::eventFilter(watched, event);
    // Nothing opens a menu over the bar.
    if (watched == toolBar_) return true;
    // A right click on a display button stores the view there. A greyed button (no view stored
    // yet) gets the event without handling or passing it on, so it is taken here, before it.
    const Cmd id = CommandFromNumber(watched->property("command").toInt());
    if (InRange(id, Cmd::Memory1Button, Cmd::Memory4Button)) {
        if (editor_->ready()) {
            const QString q = QString("%1  %2").arg(T("表示記憶"), UiText(CommandCaption(id)));
            if (askYesNo(q.toStdString()))
                editor_->command(Nth(Cmd::Store1, Ordinal(Cmd::Memory1Button, id)));
            updateStates();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::startUp(const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    editor_->startUp(args);
    // The placement of the last session.
    const WindowPlacement& p = editor_->options.position;
    if (p.show == WindowShow::kMaximized) {
        setWindowState(Qt::WindowMaximized);
    } else if (p.show == WindowShow::kNormal) {
        QRect avail(0, 0, 1920, 1080);
        if (QScreen* s = QGuiApplication::primaryScreen()) avail = s->availableGeometry();
        const WindowRect r = ClampWindowRect(p.rect, avail.width(), avail.height());
        setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else {
        resize(1024, 720);
    }
    editor_->finishStartUp();
    updateStates();
}

void EditorWindow::updateStates() {
    // The editor calls back while it is being made, before the window holds it.
    if (!editor_ || !layerItem_) return;
    for (auto& [id, a] : actions_) {
        const MenuItemState s = editor_->menuState(id);
        a->setEnabled(s.enabled);
        // Tools carry a check mark while they are chosen; options while they are on.
        const bool checkable = IsToolChoice(id) || IsOptionItem(id);
        a->setCheckable(checkable);
        if (checkable) a->setChecked(s.checked);
    }
    for (auto& [id, a] : buttons_) {
        const uint8_t s = editor_->toolBarState(id);
        a->setEnabled(s & kTbEnabled);
        a->setChecked(s & kTbChecked);
    }
    const MenuItemState l = editor_->menuState(Cmd::LayerItem);
    const MenuItemState d = editor_->menuState(Cmd::ApertureItem);
    layerItem_->setText(UiText(editor_->layerItemText()));
    layerItem_->setEnabled(l.enabled);
    definitionItem_->setText(UiText(editor_->definitionItemText()));
    definitionItem_->setEnabled(d.enabled);
    screen_->syncScrollBars();
    // The title shows whether the document has changes that are not saved.
    const QString title = Q(editor_->title());
    if (windowTitle() != title) setTitle(editor_->title());
}

void EditorWindow::closeEvent(QCloseEvent* e) {
    // While a tool has a frame open the window's Close is off, as the system menu shows it.
    if (!closeEnabled_) {
        beep();
        e->ignore();
        return;
    }
    if (!editor_->close()) {
        e->ignore();
        return;
    }
    // The placement the next start restores.
    WindowPlacement& p = editor_->options.position;
    if (isMaximized()) {
        p.show = WindowShow::kMaximized;
    } else {
        const QRect g = geometry();
        p.show = WindowShow::kNormal;
        p.rect = {g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    }
    WriteOption(editor_->paths.settingsFile(), editor_->options, Option::kPosition);
    e->accept();
}

void EditorWindow::keyPressEvent(QKeyEvent* e) {
    if (!DeliverKey(*editor_, *e)) QMainWindow::keyPressEvent(e);
    updateStates();
}

// ------------------------------------------------------------------ Host

void EditorWindow::beep() {
    QApplication::beep();
}

void EditorWindow::message(std::string_view text, MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kInformation:
            QMessageBox::information(this, "Zevo", UiText(text));
            break;
        case MessageIcon::kWarning:
            QMessageBox::warning(this, "Zevo", UiText(text));
            break;
        case MessageIcon::kError:
            QMessageBox::critical(this, "Zevo", UiText(text));
            break;
    }
}

bool EditorWindow::askYesNo(std::string_view text) {
    return QMessageBox::question(this, "Zevo", UiText(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

Answer EditorWindow::askYesNoCancel(std::string_view text) {
    switch (QMessageBox::question(this, "Zevo", UiText(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return Answer::kYes;
        case QMessageBox::No:
            return Answer::kNo;
        default:
            return Answer::kCancel;
    }
}

bool EditorWindow::chooseFileToOpen(const FileFilter& f, const fs::path& start, fs::path& chosen) {
    const QString name = QFileDialog::getOpenFileName(this, T("開く"), QPath(start), FilterOf(f));
    if (name.isEmpty()) return false;
    chosen = PathOf(name);
    return true;
}

bool EditorWindow::chooseFileToSave(const FileFilter& f, const fs::path& start, fs::path& chosen) {
    const QString name = QFileDialog::getSaveFileName(this, T("保存"), QPath(start), FilterOf(f));
    if (name.isEmpty()) return false;
    chosen = PathOf(name);
    return true;
}

void EditorWindow::setTitle(std::string_view title) {
    setWindowTitle(Q(title));
    if (channel_) channel_->setTitle(Q(title));
}

void EditorWindow::setStatusText(int part, std::string_view text) {
    if (part >= 0 && part < 3) status_[part]->setText(UiText(text));
}

void EditorWindow::barsChanged() {
    if (!editor_ || !toolBar_ || !status_[0]) return;
    const Options& o = editor_->options;
    toolBar_->setVisible(o.toolBar);
    statusBar()->setVisible(o.statusBar);
    for (QAction* a : toolBar_->actions())
        if (auto* b = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a)))
            b->setAutoRaise(o.toolBarFlat);
    const bool three = editor_->statusThreeParts();
    const int w = status_[0]->fontMetrics().horizontalAdvance("X:-999.000") + 8;
    status_[1]->setVisible(three);
    status_[2]->setVisible(three);
    if (three) {
        status_[0]->setFixedWidth(w);
        status_[1]->setFixedWidth(w);
        status_[0]->clear();
        status_[1]->clear();
    } else {
        status_[0]->setMinimumWidth(0);
        status_[0]->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void EditorWindow::toolBarChanged() {
    updateStates();
}
void EditorWindow::definitionItemsChanged() {
    updateStates();
}

void EditorWindow::updateScreen() {
    if (!screen_) return;
    screen_->viewport()->update();
    screen_->syncScrollBars();
}

void EditorWindow::updateScreenNow() {
    if (screen_) screen_->viewport()->repaint();
}

void EditorWindow::setWaitCursor(bool on) {
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void EditorWindow::startTimer(int id, int ms) {
    QTimer::singleShot(ms, this, [this, id] { editor_->timer(id); });
}

Cmd EditorWindow::popupMenu(std::span<const MenuEntry> entries, int x, int y) {
    QMenu menu(this);
    addEntries(&menu, entries, false);
    // The menu shows the states of the commands it holds.
    const std::function<void(QMenu*)> states = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            if (a->menu())
                states(a->menu());
            else if (!a->isSeparator())
                a->setEnabled(editor_->menuState(CommandFromNumber(a->data().toInt())).enabled);
        }
    };
    states(&menu);
    QAction* chosen = menu.exec(screen_->viewport()->mapToGlobal(QPoint(x, y)));
    return chosen ? CommandFromNumber(chosen->data().toInt()) : Cmd::None;
}

void EditorWindow::windowMenu(int x, int y) {
    // Every running copy by its title without the folder part, this one first.
    QMenu menu(this);
    auto shortTitle = [](QString t) {
        const qsizetype slash = t.lastIndexOf('/');
        return slash >= 0 ? "Zevo " + t.mid(slash + 1) : t;
    };
    menu.addAction(shortTitle(windowTitle()))->setData(qlonglong(channel_->pid()));
    for (const RunningCopy& c : channel_->others())
        menu.addAction(shortTitle(c.title))->setData(qlonglong(c.pid));
    menu.addSeparator();
    menu.addAction(T("取消"))->setData(qlonglong(-1));
    QAction* chosen = menu.exec(screen_->viewport()->mapToGlobal(QPoint(x, y)));
    if (!chosen) return;
    const qint64 pid = chosen->data().toLongLong();
    if (pid == channel_->pid()) {
        raise();
        activateWindow();
    } else if (pid > 0 && !channel_->raise(pid)) {
        beep();
    }
}

// The clipboard format of the editor, as the system's clipboard knows it.
static const QString kClipFormat = "application/x-zevoclip-t02";

bool EditorWindow::setClipboardData(std::string_view bytes) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    auto* data = new QMimeData;
    data->setData(kClipFormat, QByteArray(bytes.data(), qsizetype(bytes.size())));
    clipboard->setMimeData(data);
    return true;
}

std::optional<std::string> EditorWindow::clipboardData() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(kClipFormat)) return std::nullopt;
    const QByteArray bytes = data->data(kClipFormat);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

void EditorWindow::showProgress(std::string_view text, bool escapeStops) {
    if (!progress_) progress_ = new ProgressWindow(this);
    progress_->show(text, escapeStops);
    // The wait cursor while the operation runs; input is dropped by the editor meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    progress_->pump();
}

bool EditorWindow::pumpProgress() {
    return progress_ && progress_->pump();
}

void EditorWindow::closeProgress() {
    if (!progress_ || !progress_->isVisible()) return;
    progress_->close();
    QApplication::restoreOverrideCursor();
}

bool EditorWindow::startEditor(const fs::path& document) {
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {QPath(document)});
}

bool EditorWindow::estimateRunning() {
    return EstimateLockHeld();
}

uint32_t EditorWindow::estimateChannel() {
    return estimate_->id();
}

bool EditorWindow::startEstimate(std::string_view arguments) {
#if defined(_WIN32)
    const QString program = QCoreApplication::applicationDirPath() + "/Ordavist.exe";
#else
    const QString program = QCoreApplication::applicationDirPath() + "/Ordavist";
#endif
    // One argument: the program reads the whole string as the editor wrote it.
    return QProcess::startDetached(
        program, {QString::fromUtf8(arguments.data(), qsizetype(arguments.size()))});
}

bool EditorWindow::openWithDesktop(const fs::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QPath(file)));
}

void EditorWindow::showHelp() {
    const fs::path help = editor_->paths.Find("zevo-help.html");
    if (!fs::exists(help) || !openWithDesktop(help)) beep();
}

void EditorWindow::showVersion(std::string_view versionLine, std::string_view notice) {
    QDialog d(this);
    d.setObjectName("dialog106");
    d.setWindowTitle(T("バージョン"));
    auto* layout = new QVBoxLayout(&d);
    auto* line = new QLabel(UiText(versionLine), &d);
    line->setObjectName("static101");
    auto* legal = new QLabel(UiText(notice), &d);
    legal->setObjectName("static102");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    layout->addWidget(line);
    layout->addWidget(legal);
    layout->addWidget(buttons);
    d.exec();
}

bool EditorWindow::askPartNumber(std::string& partNumber) {
    QInputDialog d(this);
    d.setObjectName("dialog201");
    d.setWindowTitle(T("部品検索"));
    d.setLabelText(T("部品番号"));
    d.setOkButtonText(T("検索"));
    d.setCancelButtonText(T("取消"));
    if (d.exec() != QDialog::Accepted) return false;
    partNumber = d.textValue().toStdString();
    return true;
}

}  // namespace zevo
