#include "glyph_editor/qt/strokel_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "interface/qt/interface_language.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

namespace {

QString Qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGridGrey = 0xFFC0C0C0;

// The text of a font code: its two CP932 bytes (or the single byte when the lead is zero).
QString CodeText(FontCode code) {
    std::string bytes;
    if (code >> 8) bytes.push_back(char(code >> 8));
    bytes.push_back(char(code & 0xFF));
    return Qs(Cp932ToUtf8(bytes));
}

}  // namespace

// ---- grid window

GridWindow::GridWindow(StrokelWindow& owner, GlyphEditor& editor)
    : QFrame(&owner), owner_(owner), editor_(editor) {
    setWindowTitle(UiText(kGridWindowTitle));
    setObjectName("gridWindow");
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kGridClientSize + 2, kGridClientSize + 2);
    setMouseTracking(true);
    for (QImage* layer : {&glyph_, &grid_, &trace_, &composite_}) {
        *layer = QImage(kGridClientSize, kGridClientSize, QImage::Format_RGB32);
        layer->fill(kWhite);
    }
    // Grey lines between the cells.
    for (int v = 3; v <= 123; v += 4)
        for (int i = 0; i < kGridClientSize; ++i) {
            grid_.setPixel(v, i, kGridGrey);
            grid_.setPixel(i, v, kGridGrey);
        }
}

GridCell GridWindow::cellAt(QPointF p) const {
    const QPoint c = p.toPoint() - contentsRect().topLeft();
    return CellOfPixel(c.x(), c.y());
}

void GridWindow::redrawGlyph() {
    glyph_.fill(kWhite);
    QPainter p(&glyph_);
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const GlyphStroke& s : StrokesOf(editor_.glyph()))
        p.drawLine(PixelXOfPoint(s.from.x), PixelYOfPoint(s.from.y), PixelXOfPoint(s.to.x),
                   PixelYOfPoint(s.to.y));
    p.end();
    compose();
}

void GridWindow::redrawTrace(const QFont& font, bool shown) {
    traceShown_ = shown;
    trace_.fill(kWhite);
    if (editor_.currentCode() != kNoCode) {
        QPainter p(&trace_);
        p.setFont(font);
        p.setPen(QColor(0, 255, 255));
        p.drawText(QRect(0, 0, kGridClientSize, kGridClientSize), Qt::AlignCenter,
                   CodeText(editor_.currentCode()));
    }
    compose();
}

void GridWindow::compose() {
    // Trace (or white), AND the glyph, AND the grid.
    for (int y = 0; y < kGridClientSize; ++y) {
        auto* out = reinterpret_cast<QRgb*>(composite_.scanLine(y));
        const auto* g = reinterpret_cast<const QRgb*>(glyph_.constScanLine(y));
        const auto* d = reinterpret_cast<const QRgb*>(grid_.constScanLine(y));
        const auto* t = reinterpret_cast<const QRgb*>(trace_.constScanLine(y));
        for (int x = 0; x < kGridClientSize; ++x)
            out[x] = (traceShown_ ? t[x] : kWhite) & g[x] & d[x];
    }
    update();
}

void GridWindow::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    const QPoint o = contentsRect().topLeft();
    p.drawImage(o, composite_);
    if (const auto band = editor_.rubberBand()) {
        // The rubber band inverts what lies under it; the anchor shows as a dot.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(o + QPoint(PixelXOfPoint(band->from.x), PixelYOfPoint(band->from.y)),
                   o + QPoint(PixelXOfPoint(band->to.x), PixelYOfPoint(band->to.y)));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.fillRect(
            QRect(o + QPoint(PixelXOfPoint(band->from.x) - 1, PixelYOfPoint(band->from.y) - 1),
                  QSize(3, 3)),
            Qt::black);
    }
}

void GridWindow::after() {
    redrawGlyph();
}

void GridWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        editor_.LeftDown(cellAt(e->position()));
        after();
    }
}

void GridWindow::mouseReleaseEvent(QMouseEvent* e) {
    const GridCell c = cellAt(e->position());
    if (e->button() == Qt::LeftButton)
        editor_.LeftUp(c, e->buttons() & Qt::RightButton);
    else if (e->button() == Qt::RightButton)
        editor_.RightUp(c, e->buttons() & Qt::LeftButton);
    else
        return;
    after();
}

void GridWindow::mouseMoveEvent(QMouseEvent* e) {
    const GridCell c = cellAt(e->position());
    if (c == last_) return;
    last_ = c;
    owner_.showCell(c);
    editor_.Move(c, e->buttons() & Qt::LeftButton);
    after();
}

void GridWindow::contextMenuEvent(QContextMenuEvent* e) {
    e->accept();  // the right button belongs to the pointer states here
}

// ---- magnification dialog

MagnificationDialog::MagnificationDialog(TraceMagnificationModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("dialog101");
    setWindowTitle(UiText(kMagnificationTitle));
    auto* grid = new QGridLayout(this);
    auto* edit = new QLineEdit(Qs(model_.text()), this);
    edit->setObjectName("edit101");
    edit->setMaxLength(kMagnificationMaxChars);
    // Numbers only: the input method stays off while the dialog is open.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    grid->addWidget(new QLabel(UiText(kMagnificationLabel), this), 0, 0);
    grid->addWidget(edit, 0, 1);
    auto* buttons = new QHBoxLayout;
    auto* set = new QPushButton(UiText(kMagnificationSet), this);
    set->setObjectName("button1");
    set->setDefault(true);
    auto* cancel = new QPushButton(UiText(kMagnificationCancel), this);
    cancel->setObjectName("button2");
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(set);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 1, 0, 1, 2);
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.edit(t.toUtf8().toStdString()); });
    connect(set, &QPushButton::clicked, this, [this] {
        if (model_.pressSet()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// ---- main window

StrokelWindow::StrokelWindow(std::filesystem::path fontFile, std::filesystem::path saveFile,
                             bool traceSwitch)
    : saveFile_(std::move(saveFile)), traceFace_(Qs(kDefaultTraceFace)) {
    setWindowTitle(UiText(kStrokelTitle));
    setObjectName("strokelWindow");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setMouseTracking(true);
    editor_.LoadFont(fontFile);

    grid_ = new GridWindow(*this, editor_);
    grid_->move(10, 10);

    box_ = new QLineEdit(this);
    box_->setObjectName("edit101");
    box_->setAttribute(Qt::WA_InputMethodEnabled, true);
    box_->setMaxLength(2);
    const int charWidth = box_->fontMetrics().horizontalAdvance(QChar(0x3042));
    box_->setGeometry(157, 20, charWidth * 2 + 12, box_->sizeHint().height());

    coords_ = new QLabel(this);
    coords_->setObjectName("coordinates");
    coords_->setGeometry(30, 147, coords_->fontMetrics().averageCharWidth() * 10 + 8,
                         coords_->fontMetrics().height());

    trace_ = new QCheckBox(UiText(kTraceCheckText), this);
    trace_->setObjectName("check102");
    trace_->setChecked(traceSwitch);
    trace_->setVisible(traceSwitch);
    trace_->adjustSize();
    trace_->move(10, 147 + coords_->height() + 6);

    const int width = std::max(157 + box_->width() + 14, 10 + trace_->width() + 14);
    const int height = trace_->y() + (traceSwitch ? trace_->height() : 0) + 10;
    setFixedSize(width, height);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    connect(box_, &QLineEdit::textChanged, this, [this] { characterChanged(); });
    connect(trace_, &QCheckBox::toggled, this,
            [this](bool on) { grid_->redrawTrace(traceFont(), on); });

    ask = [this](const QString& text) {
        return QMessageBox::question(this, UiText(kStrokelTitle), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    warn = [this](const QString& text) { QMessageBox::warning(this, UiText(kStrokelTitle), text); };
    chooseFont = [this](QFont& font) {
        bool ok = false;
        const QFont chosen =
            QFontDialog::getFont(&ok, font, this, QString(), QFontDialog::ScalableFonts);
        if (ok) font = chosen;
        return ok;
    };
    chooseMagnification = [this](TraceMagnificationModel& m) {
        MagnificationDialog d(m, this);
        return d.exec() == QDialog::Accepted;
    };
}

QFont StrokelWindow::traceFont() const {
    QFont f(traceFace_);
    f.setPixelSize(traceHeight_);
    return f;
}

void StrokelWindow::start() {
    box_->setFocus();
    box_->setText(QStringLiteral("!"));
}

void StrokelWindow::characterChanged() {
    // At most two bytes of CP932 text count; the first eight bytes are read.
    std::string bytes = Utf8ToCp932(box_->text().toUtf8().toStdString());
    if (bytes.size() > 2) {  // the box takes two bytes: one full-width character
        QString t = box_->text();
        while (!t.isEmpty() && Utf8ToCp932(t.toUtf8().toStdString()).size() > 2) t.chop(1);
        box_->setText(t);
        return;
    }
    if (!editor_.SelectText(bytes)) return;
    grid_->redrawTrace(traceFont(), trace_->isChecked());
    grid_->redrawGlyph();
}

void StrokelWindow::reloadTrace() {
    grid_->redrawTrace(traceFont(), trace_->isChecked());
}

void StrokelWindow::showCell(GridCell c) {
    coords_->setText(Qs(CoordinateText(c)));
}

void StrokelWindow::mouseMoveEvent(QMouseEvent*) {
    coords_->clear();
}

void StrokelWindow::runCommand(StrokelCommand command) {
    switch (command) {
        case StrokelCommand::kUndo:
            if (editor_.Undo()) grid_->redrawGlyph();
            break;
        case StrokelCommand::kFontChoice: {
            QFont f(traceFace_);
            f.setPixelSize(16);
            if (chooseFont && chooseFont(f)) {
                traceFace_ = f.family();
                reloadTrace();
            }
            break;
        }
        case StrokelCommand::kMagnification: {
            TraceMagnificationModel m(traceHeight_);
            // The character box's input method is off while the dialog is open.
            box_->setAttribute(Qt::WA_InputMethodEnabled, false);
            if (chooseMagnification && chooseMagnification(m)) {
                traceHeight_ = m.height();
                reloadTrace();
            }
            box_->setAttribute(Qt::WA_InputMethodEnabled, true);
            break;
        }
        case StrokelCommand::kExit:
            close();
            break;
        case StrokelCommand::kNone:
            break;
    }
}

void StrokelWindow::contextMenuEvent(QContextMenuEvent* e) {
    QMenu menu(this);
    menu.setObjectName("strokelMenu");
    for (const StrokelMenuLine& line : StrokelContextMenu(editor_, trace_->isChecked())) {
        if (line.command == StrokelCommand::kNone) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(UiText(line.text));
        a->setEnabled(line.enabled);
        a->setData(int(line.command));
    }
    if (QAction* chosen = menu.exec(e->globalPos()))
        runCommand(StrokelCommand(chosen->data().toInt()));
}

void StrokelWindow::closeEvent(QCloseEvent* e) {
    // The window closes in every case; the font is written only when asked to.
    if (editor_.PrepareClose() && ask && ask(UiText(TableText(kMsgFontWriteAsk)))) {
        std::error_code ec;
        std::filesystem::create_directories(saveFile_.parent_path(), ec);
        if (editor_.Save(saveFile_) == FontSaveResult::kCannotWrite && warn)
            warn(UiText(TableText(kMsgFontCannotWrite)));
    }
    e->accept();
}

}  // namespace zevo
