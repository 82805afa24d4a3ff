#include "estimate/qt/estimate_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "estimate/qt/viewer_dialog.h"
#include "interface/qt/interface_language.h"
#include "shell/estimate_link.h"
#include "text/strings.h"

namespace zevo {

namespace {

constexpr int kTimerMs = 200;
constexpr int kConnectMs = 300;

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string S(const QString& s) {
    return s.toUtf8().toStdString();
}

}  // namespace

EstimateDialog::EstimateDialog(EstimateArguments args, std::vector<MakerEntry> table,
                               std::filesystem::path tempFolder, QString serverName,
                               QWidget* parent)
    : QDialog(parent), serverName_(std::move(serverName)) {
    setObjectName("dialog100");
    setWindowTitle(T("基板製作見積"));
    auto* top = new QVBoxLayout(this);

    auto* makerRow = new QHBoxLayout;
    makerRow->addWidget(new QLabel(T("基板メーカー")));
    maker_ = new QComboBox;
    maker_->setObjectName("combo102");
    maker_->setMinimumWidth(260);
    makerRow->addWidget(maker_, 1);
    top->addLayout(makerRow);

    auto* sizes = new QGroupBox(T("基板サイズ"));
    auto* sizeRow = new QHBoxLayout(sizes);
    auto edit = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setMaximumWidth(70);
        return e;
    };
    sizeX_ = edit("edit111");
    sizeY_ = edit("edit112");
    quantity_ = edit("edit113");
    sizeRow->addWidget(new QLabel("X"));
    sizeRow->addWidget(sizeX_);
    sizeRow->addWidget(new QLabel("mm  Y"));
    sizeRow->addWidget(sizeY_);
    sizeRow->addWidget(new QLabel(T("mm   製作枚数")));
    sizeRow->addWidget(quantity_);
    sizeRow->addStretch(1);
    top->addWidget(sizes);

    auto* options = new QGroupBox(T("オプション"));
    auto* grid = new QGridLayout(options);
    for (size_t i = 0; i < kMaxMakerOptions; ++i) {
        optionLabels_[i] = new QLabel;
        optionLabels_[i]->setObjectName(QString("static%1").arg(214 + i));
        optionCombos_[i] = new QComboBox;
        optionCombos_[i]->setObjectName(QString("combo%1").arg(114 + i));
        grid->addWidget(optionLabels_[i], int(i % 5), int(i / 5) * 2);
        grid->addWidget(optionCombos_[i], int(i % 5), int(i / 5) * 2 + 1);
        connect(optionCombos_[i], &QComboBox::activated, this, [this, i](int index) {
            if (i < session_->selections.size()) session_->selections[i] = index;
        });
    }
    top->addWidget(options);

    auto* sideBox = new QGroupBox(T("部品面"));
    auto* sideRow = new QHBoxLayout(sideBox);
    sideA_ = new QRadioButton(T("Ａ面"));
    sideA_->setObjectName("radio104");
    sideB_ = new QRadioButton(T("Ｂ面"));
    sideB_->setObjectName("radio105");
    mirror_ = new QCheckBox(T("半田面視"));
    mirror_->setObjectName("check106");
    sideRow->addWidget(sideA_);
    sideRow->addWidget(sideB_);
    sideRow->addSpacing(20);
    sideRow->addWidget(mirror_);
    sideRow->addStretch(1);
    top->addWidget(sideBox);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    make_ = button(T("データ作成"), "button101");
    check_ = button(T("確認"), "button103");
    order_ = button(T("見積"), "button1");
    cancel_ = button(T("取消"), "button2");
    QPushButton* help = button("HELP", "button400");
    top->addLayout(buttons);

    session_ = std::make_unique<EstimateSession>(std::move(args), std::move(table),
                                                 std::move(tempFolder), *this);
    for (const MakerEntry& e : session_->table()) maker_->addItem(Q(e.name));

    connect(maker_, &QComboBox::activated, this, [this](int index) {
        takeFields();
        session_->selectEntry(size_t(index));
        fillEntry();
    });
    connect(sideA_, &QRadioButton::clicked, this, [this] {
        session_->setSideB(false);
        refresh();
    });
    connect(sideB_, &QRadioButton::clicked, this, [this] {
        session_->setSideB(true);
        refresh();
    });
    connect(mirror_, &QCheckBox::toggled, this, [this](bool on) { session_->mirror = on; });
    connect(make_, &QPushButton::clicked, this, [this] {
        takeFields();
        session_->makeData();
        refresh();
    });
    connect(check_, &QPushButton::clicked, this, [this] { openViewer(); });
    connect(order_, &QPushButton::clicked, this, [this] {
        takeFields();
        session_->order();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(0); });
    connect(help, &QPushButton::clicked, this, [this] { showHelp(); });

    // The editor's replies; a closed connection means the editor is gone.
    connect(&socket_, &QLocalSocket::readyRead, this, [this] {
        while (socket_.canReadLine()) {
            const QByteArray line = socket_.readLine();
            if (const auto ok = ParseEstimateReply(std::string_view(line.data(), line.size()))) {
                session_->reply(*ok);
                refresh();
            }
        }
    });
    if (!serverName_.isEmpty()) {
        socket_.connectToServer(serverName_);
        everConnected_ = socket_.waitForConnected(kConnectMs);
    }
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { session_->timerTick(); });
    timer_->start(kTimerMs);

    sideA_->setChecked(true);
    fillEntry();
}

EstimateDialog::~EstimateDialog() = default;

void EstimateDialog::fillEntry() {
    const MakerEntry& e = session_->entry();
    for (size_t i = 0; i < kMaxMakerOptions; ++i) {
        QComboBox* c = optionCombos_[i];
        c->clear();
        if (i < e.options.size()) {
            optionLabels_[i]->setText(Q(e.options[i].label));
            for (const OptionItem& item : e.options[i].items) c->addItem(Q(item.label));
        } else {
            optionLabels_[i]->clear();
        }
        c->setEnabled(i < e.options.size());
    }
    refresh();
}

void EstimateDialog::refresh() {
    const EstimateSession& s = *session_;
    maker_->setCurrentIndex(int(s.entryIndex()));
    sizeX_->setText(Q(s.sizeX));
    sizeY_->setText(Q(s.sizeY));
    quantity_->setText(Q(s.quantity));
    sizeX_->setEnabled(s.sizesEnabled());
    sizeY_->setEnabled(s.sizesEnabled());
    quantity_->setEnabled(s.quantityEnabled());
    for (size_t i = 0; i < kMaxMakerOptions; ++i)
        optionCombos_[i]->setCurrentIndex(i < s.selections.size() ? s.selections[i] : -1);
    sideA_->setChecked(!s.sideB());
    sideB_->setChecked(s.sideB());
    make_->setEnabled(s.enabled(EstimateButton::kMake));
    check_->setEnabled(s.enabled(EstimateButton::kCheck));
    order_->setEnabled(s.enabled(EstimateButton::kOrder));
    mirror_->setEnabled(s.mirrorEnabled());
}

void EstimateDialog::takeFields() {
    session_->sizeX = S(sizeX_->text());
    session_->sizeY = S(sizeY_->text());
    session_->quantity = S(quantity_->text());
}

void EstimateDialog::message(std::string_view text) {
    // The buttons as they are now, not as they were when the box opened.
    refresh();
    shown.push_back(UiText(text));
    if (!quiet) QMessageBox::information(this, "Ordavist", UiText(text));
}

bool EstimateDialog::requestData() {
    if (socket_.state() != QLocalSocket::ConnectedState) {
        if (serverName_.isEmpty()) return false;
        socket_.connectToServer(serverName_);
        if (!socket_.waitForConnected(kConnectMs)) return false;
        everConnected_ = true;
    }
    socket_.write(QByteArray::fromStdString(std::string(kEstimateRequestLine)) + "\n");
    return socket_.flush() || socket_.bytesToWrite() == 0;
}

bool EstimateDialog::editorAlive() {
    // Without a channel (a test of the window alone) there is no editor to lose.
    if (serverName_.isEmpty()) return true;
    return socket_.state() == QLocalSocket::ConnectedState;
}

void EstimateDialog::setClipboardText(std::string_view text) {
    if (QClipboard* c = QApplication::clipboard()) c->setText(Q(text));
}

bool EstimateDialog::openUrl(std::string_view url) {
    openedUrl = Q(url);
    if (quiet) return true;
    return QDesktopServices::openUrl(
        QUrl::fromEncoded(QByteArray(url.data(), qsizetype(url.size()))));
}

void EstimateDialog::close(int delayMs) {
    QTimer::singleShot(delayMs, this, [this] { done(0); });
}

void EstimateDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showHelp();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape closes
}

void EstimateDialog::showHelp() {
    message(EstimateSession::helpText());
}

void EstimateDialog::openViewer() {
    ViewerDialog viewer(session_->zevoNcFolder(), session_->renamed().files, this);
    viewer.exec();
}

}  // namespace zevo
