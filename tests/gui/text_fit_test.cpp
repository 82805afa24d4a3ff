// Every window of the three programs, in Japanese and in English, on the offscreen platform: no
// text is wider than the widget that shows it (labels, buttons, check and radio boxes, group
// titles, list entries of drop-down boxes, menu-bar titles).

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "estimate/maker_table.h"
#include "estimate/qt/estimate_dialog.h"
#include "estimate/qt/viewer_dialog.h"
#include "glyph_editor/qt/strokel_window.h"
#include "interface/qt/interface_language.h"
#include "output/gerber_input.h"
#include "output/gerber_output.h"
#include "output/hole_output.h"
#include "output/part_coords.h"
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/library_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/dialogs/print_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/editor_window.h"
#include "tools/change_tool.h"
#include "tools/deform_dialogs.h"
#include "tools/delete_tool.h"
#include "tools/display_tools.h"
#include "tools/drawing_dialogs.h"
#include "tools/fill_tool.h"
#include "tools/line_tools.h"
#include "tools/measure_tool.h"
#include "tools/multiple_dialogs.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

namespace {

// The text as shown: mnemonics taken out ("&&" is one ampersand).
QString Shown(QString text) {
    text.replace("&&", QChar(0x1));
    text.remove('&');
    text.replace(QChar(0x1), "&");
    return text;
}

int Widest(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    for (const QString& line : Shown(text).split('\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

QString Describe(const QWidget* top, const QWidget* w, const QString& text, int need, int room) {
    const QString name = w->objectName().isEmpty() ? "(unnamed)" : w->objectName();
    return QString("%1 | %2 %3 | \"%4\" needs %5 px, has %6")
        .arg(top->windowTitle(), w->metaObject()->className(), name, Shown(text))
        .arg(need)
        .arg(room);
}

// Every text of the window and its children that does not fit its widget.
QStringList CutTexts(QWidget* top) {
    QStringList cut;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        if (!w->isVisible()) continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || Qt::mightBeRichText(label->text())) continue;
            const int room = label->contentsRect().width() - 2 * std::max(0, label->margin());
            // A wrapped label breaks between words: only a word wider than the label is cut.
            int need = 0;
            if (label->wordWrap()) {
                for (const QString& word : Shown(label->text()).split(QRegularExpression("\\s+")))
                    need = std::max(need, fm.horizontalAdvance(word));
            } else {
                need = Widest(fm, label->text());
            }
            if (need > room) cut << Describe(top, w, label->text(), need, room);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty()) continue;
            QStyleOptionButton opt;
            opt.initFrom(button);
            opt.text = button->text();
            QStyle::SubElement contents = QStyle::SE_PushButtonContents;
            if (qobject_cast<QCheckBox*>(button)) contents = QStyle::SE_CheckBoxContents;
            if (qobject_cast<QRadioButton*>(button)) contents = QStyle::SE_RadioButtonContents;
            if (!qobject_cast<QPushButton*>(button) && contents == QStyle::SE_PushButtonContents)
                continue;  // tool buttons show icons
            const int room = button->style()->subElementRect(contents, &opt, button).width();
            const int need = Widest(fm, button->text());
            if (need > room) cut << Describe(top, w, button->text(), need, room);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            // The width the style gives a group box around its title, against the box's width.
            if (group->title().isEmpty()) continue;
            QStyleOptionGroupBox opt;
            opt.initFrom(group);
            opt.text = group->title();
            const QSize title(fm.horizontalAdvance(Shown(group->title()) + ' '), fm.height());
            const int need =
                group->style()->sizeFromContents(QStyle::CT_GroupBox, &opt, title, group).width();
            if (need > group->width())
                cut << Describe(top, w, group->title(), need, group->width());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            // Each entry as the box shows it when chosen: the style's frame and arrow around it.
            QStyleOptionComboBox opt;
            opt.initFrom(combo);
            opt.editable = combo->isEditable();
            for (int i = 0; i < combo->count(); ++i) {
                const QSize text(fm.horizontalAdvance(combo->itemText(i)), fm.height());
                const int need = combo->style()
                                     ->sizeFromContents(QStyle::CT_ComboBox, &opt, text, combo)
                                     .width();
                if (need > combo->width())
                    cut << Describe(top, w, combo->itemText(i), need, combo->width());
            }
        } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            // A title that does not fit goes into the bar's overflow: it is not on the bar.
            for (QAction* a : bar->actions()) {
                if (!a->isVisible() || a->isSeparator()) continue;
                const QRect r = bar->actionGeometry(a);
                const int need = Widest(fm, a->text());
                if (r.isEmpty() || r.right() >= bar->width() || need > r.width())
                    cut << Describe(top, w, a->text(), need, r.isEmpty() ? 0 : r.width());
            }
        }
    }
    return cut;
}

// Lets the window take its size as it would on screen.
void Settle(QWidget* w) {
    w->ensurePolished();
    QApplication::processEvents();
    QApplication::processEvents();
}

}  // namespace

class TextFitTest : public QObject {
    Q_OBJECT

    // Runs one dialog of the editor as the editor does (modal, through its Host) and checks
    // every window that is modal meanwhile (the dialog, message boxes after it), closing each.
    void checkDialog(EditorWindow& w, DialogModel& m, const char* what) {
        QStringList found;
        int checked = 0;
        QTimer closer;
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            Settle(modal);
            found << CutTexts(modal);
            // The key pad beside a dialog with numeric fields is a window of its own.
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top != modal && top->isVisible() && top->inherits("zevo::NumericKeypad"))
                    found << CutTexts(top);
            ++checked;
            // Closed past the dialog's own rules (some windows only close through 決定).
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->QDialog::done(QDialog::Rejected);
            else
                modal->close();
        });
        closer.start();
        w.run(m);
        closer.stop();
        QVERIFY2(checked > 0, what);
        cut_ << found;
    }

    void editorDialogs(Language language);

    QStringList cut_;

  private Q_SLOTS:
    void initTestCase() {
        // The offscreen platform draws with the fonts found on the system: one with Japanese
        // glyphs must be there, or the measures are those of replacement boxes.
        const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
        QVERIFY2(!families.isEmpty(), "no font with Japanese glyphs (install fonts-noto-cjk)");
    }

    // The check itself: each kind of widget squeezed below its text is reported, and the same
    // widgets at their natural size are not.
    void theCheckSeesTextsCutOff() {
        QWidget top;
        top.setWindowTitle("squeezed");
        auto* label = new QLabel(QString::fromUtf8("部品面反転の設定"), &top);
        auto* wrapped = new QLabel("Selection and deletion settings", &top);
        wrapped->setWordWrap(true);
        auto* button = new QPushButton("&Register part", &top);
        auto* check = new QCheckBox(QString::fromUtf8("クリック点に作画"), &top);
        auto* radio = new QRadioButton("Parallel (Shift for middle line)", &top);
        auto* group = new QGroupBox("Coordinate reference", &top);
        auto* combo = new QComboBox(&top);
        combo->addItems({"1", QString::fromUtf8("パターン面（部品面）")});
        const QList<QWidget*> all = {label, wrapped, button, check, radio, group, combo};
        top.resize(600, 400);
        int y = 0;
        for (QWidget* w : all) {
            const QSize natural = w->sizeHint().expandedTo(w->minimumSizeHint());
            w->setGeometry(0, y, natural.width(), natural.height());
            y += natural.height() + 4;
        }
        FitComboToEntries(combo);
        combo->resize(combo->minimumWidth(), combo->height());
        top.show();
        Settle(&top);
        QCOMPARE(CutTexts(&top), QStringList());
        combo->setMinimumWidth(0);
        for (QWidget* w : all) w->resize(24, w->height());
        const QStringList cut = CutTexts(&top);
        // Each widget once (the wrapped label for its word "deletion"), the combo box for both
        // of its entries: not even "1" fits beside the box's arrow.
        QCOMPARE(cut.size(), all.size() + 1);
        QVERIFY(cut.join('\n').contains("\"Register part\""));  // mnemonic left out
        QVERIFY(cut.join('\n').contains("squeezed | QGroupBox"));
    }

    void editorWindowsInJapanese() { editorDialogs(Language::Japanese); }
    void editorWindowsInEnglish() { editorDialogs(Language::English); }

    void estimateAndFontEditorWindows() {
        QTemporaryDir dir;
        const Paths paths = ScratchPaths(dir);
        const auto table = MakerTable(ReadMakerSettings(paths.Find(kMakerSettingsFile)));
        const std::filesystem::path font = paths.Find(kFontFileName);
        for (Language language : {Language::Japanese, Language::English}) {
            ApplyUiLanguage(language, paths);
            cut_.clear();
            {
                const ParsedArguments p =
                    ParseEstimateArguments("ZEVO 0000000A X70 Y50 LY2 F000000F7 /b/amp.pcb");
                EstimateDialog d(p.args, table, dir.path().toStdString(), {});
                d.quiet = true;
                d.show();
                Settle(&d);
                cut_ << CutTexts(&d);
                // Every maker's options.
                auto* maker = d.findChild<QComboBox*>("combo102");
                QVERIFY(maker);
                for (int i = 0; i < maker->count(); ++i) {
                    maker->setCurrentIndex(i);
                    Settle(&d);
                    cut_ << CutTexts(&d);
                }
            }
            {
                ViewerDialog v(dir.path().toStdString(), {});
                v.show();
                Settle(&v);
                cut_ << CutTexts(&v);
            }
            {
                StrokelWindow s(font, dir.filePath("zevofont.dat").toStdString(), true);
                s.show();
                s.start();
                Settle(&s);
                cut_ << CutTexts(&s);
                TraceMagnificationModel m(64);
                MagnificationDialog d(m, &s);
                d.show();
                Settle(&d);
                cut_ << CutTexts(&d);
            }
            for (const QString& c : cut_) qWarning("cut off: %s", qPrintable(c));
            QVERIFY2(cut_.isEmpty(), "texts cut off (listed above)");
        }
        ApplyUiLanguage(Language::Japanese, paths);
    }
};

void TextFitTest::editorDialogs(Language language) {
    QTemporaryDir dir;
    const Paths paths = ScratchPaths(dir);
    ApplyUiLanguage(language, paths);
    EditorWindow w(ScratchPaths(dir));
    w.show();
    w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
    Settle(&w);
    cut_.clear();
    // The main window at the size it opens with, and a narrower one.
    cut_ << CutTexts(&w);
    Board& board = w.editor().doc.board;
    const DrawingSettings& s = w.editor().drawing;
    const std::filesystem::path font = paths.Find(kFontFileName);

    // The definition and settings dialogs.
    {
        ApertureDialogModel m(board, ApertureTable::kRound);
        m.keypad = true;
        checkDialog(w, m, "aperture");
    }
    {
        ApertureDialogModel m(board, ApertureTable::kSquare);
        checkDialog(w, m, "square aperture");
    }
    {
        PadDialogModel m(board);
        checkDialog(w, m, "pad");
    }
    {
        LayerDialogModel m(board);
        checkDialog(w, m, "layer");
    }
    {
        SwapDialogModel m(board);
        checkDialog(w, m, "swap");
    }
    {
        LibrarySettingsModel m({"Parts.lib", "/home/user/boards/Mine.lib"},
                               {"Parts.lib", "Mine.lib", "Connectors.lib"});
        checkDialog(w, m, "library");
    }
    {
        GridDialogModel m(board);
        checkDialog(w, m, "grid");
    }
    {
        BoardSizeDialogModel m(board);
        checkDialog(w, m, "board size");
    }
    // The manufacturing commands.
    {
        GerberOutputChoices c;
        GerberOutputDialogModel m(board, c);
        checkDialog(w, m, "gerber output");
    }
    {
        HoleOutputChoices c;
        HoleOutputDialogModel m(board, c);
        checkDialog(w, m, "hole output");
    }
    {
        GerberInputChoices c;
        GerberInputDialogModel m(board, c);
        checkDialog(w, m, "gerber input");
    }
    {
        HoleDataDialogModel m;
        checkDialog(w, m, "hole data");
    }
    {
        PartCoordsSettings c;
        PartCoordsDialogModel m(board, c);
        checkDialog(w, m, "part coordinates");
    }
    // Printing.
    for (PrintKind kind : {PrintKind::kCheck, PrintKind::kArtwork}) {
        PrintOptions o;
        PrintDialogModel m(kind, o, 1.0);
        checkDialog(w, m, "print");
    }
    {
        PrintLayerDialogModel m(board);
        checkDialog(w, m, "print layers");
    }
    // The drawing tools.
    {
        LayerSelectModel m(board);
        checkDialog(w, m, "layer select");
    }
    for (ApertureTool tool : {ApertureTool::kRoundLand, ApertureTool::kSquareLand,
                              ApertureTool::kLine, ApertureTool::kArc, ApertureTool::kText}) {
        ApertureSelectModel m(board, s, tool);
        checkDialog(w, m, "aperture select");
    }
    {
        PadSelectModel m(board, 1);
        checkDialog(w, m, "pad select");
    }
    {
        ArcDialogModel m(s);
        checkDialog(w, m, "arc");
    }
    {
        TextDialogModel m(board, s, font);
        checkDialog(w, m, "text");
    }
    {
        SpacingResultModel m({1.27, 2.54}, {-120.5, 87.25});
        checkDialog(w, m, "spacing");
    }
    {
        DeleteSettingsModel m(false);
        checkDialog(w, m, "delete settings");
    }
    {
        CoordinateDisplayModel m({-123.456, 78.9}, {10, 10}, true);
        checkDialog(w, m, "coordinates");
    }
    {
        CoordinateReferenceModel m(true);
        checkDialog(w, m, "coordinate reference");
    }
    // The deform tool.
    {
        SelectMethodModel m(SelectionSettings{});
        checkDialog(w, m, "select method");
    }
    {
        DeformMethodModel m(SelectionSettings{});
        checkDialog(w, m, "deform method");
    }
    {
        RotationAngleModel m;
        checkDialog(w, m, "rotation angle");
    }
    for (auto asks : {ArcDeformModel::Asks::kRadius, ArcDeformModel::Asks::kAngle}) {
        ArcDeformModel m(asks, 12.5);
        checkDialog(w, m, "arc deform");
    }
    {
        NumericInputModel::Memory memory;
        NumericInputModel m(true, memory, {1, 2}, {0, 0});
        checkDialog(w, m, "numeric input");
    }
    // The line editing tools.
    {
        ParallelSettingsModel m(board, s);
        checkDialog(w, m, "parallel settings");
    }
    for (auto kind : {LineSetInputModel::Kind::kMiddle, LineSetInputModel::Kind::kParallelLine,
                      LineSetInputModel::Kind::kParallelArc, LineSetInputModel::Kind::kSection}) {
        LineSetInputModel m(kind, LineSetValues{});
        checkDialog(w, m, "line set input");
    }
    {
        ConnectSettingsModel m(s);
        checkDialog(w, m, "connect settings");
    }
    {
        FillSettingsModel m(s);
        checkDialog(w, m, "fill settings");
    }
    {
        ChamferRadiusModel m(0.5);
        checkDialog(w, m, "chamfer radius");
    }
    // The multiple tool.
    {
        MultipleSettingsModel m(false);
        checkDialog(w, m, "multiple settings");
    }
    {
        GroupSettingsModel m(0);
        checkDialog(w, m, "group settings");
    }
    {
        PartRegisterModel m({"Parts.lib", "Mine.lib"});
        checkDialog(w, m, "part register");
    }
    const auto lister = [](const std::string&) {
        return std::vector<std::string>{"DIP14", "TO-92,ECB", "R1/4W"};
    };
    {
        PartInsertModel m({"Parts.lib", "Mine.lib"}, lister);
        checkDialog(w, m, "part insert");
    }
    {
        PartDeleteModel m({"Parts.lib", "Mine.lib"}, lister);
        checkDialog(w, m, "part delete");
    }
    // The change tool.
    {
        ElementChangeModel m(board, 1, 3, false);
        checkDialog(w, m, "element change");
    }
    {
        RectChangeModel m(board, 2.5, 1.25, 45, 1);
        checkDialog(w, m, "rectangle change");
    }
    {
        ArcChangeModel m(board, 5, 0, 90, 1, 3);
        checkDialog(w, m, "arc change");
    }
    {
        TextChangeModel m(board, s, 3, font);
        checkDialog(w, m, "text change");
    }
    {
        PartChangeModel m("IC12");
        checkDialog(w, m, "part change");
    }
    {
        PinChangeModel m("VCC", 14);
        checkDialog(w, m, "pin change");
    }
    {
        DottedLineModel m(0.5, 0.3);
        checkDialog(w, m, "dotted line");
    }
    {
        ChangeSettingsModel m(true);
        checkDialog(w, m, "change settings");
    }
    for (const QString& c : cut_) qWarning("cut off: %s", qPrintable(c));
    QVERIFY2(cut_.isEmpty(), "texts cut off (listed above)");
    ApplyUiLanguage(Language::Japanese, paths);
}

QTEST_MAIN(TextFitTest)
#include "text_fit_test.moc"
