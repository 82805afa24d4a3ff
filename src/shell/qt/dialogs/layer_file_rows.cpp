#include "shell/qt/dialogs/layer_file_rows.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "output/output_settings.h"
#include "shell/dialogs/layer_file_table.h"
#include "shell/qt/dialogs/dialog_support.h"

namespace zevo {

LayerFileRows::LayerFileRows(QWidget* owner, QGridLayout* grid, int firstRow, LayerFileTable& table)
    : table_(table) {
    grid->addWidget(new QLabel(UiText(kLayerFilesLayerHeading), owner), firstRow, 0, 1, 2);
    grid->addWidget(new QLabel(UiText(kLayerFilesFileHeading), owner), firstRow, 3);
    for (int r = 0; r < LayerFileTable::kRows; ++r) {
        Row& row = rows_[r];
        row.number = new QLabel(owner);
        row.number->setObjectName(ControlName("static", LayerFileTable::kNumberStatic + r));
        row.name = new QLabel(owner);
        row.name->setObjectName(ControlName("static", LayerFileTable::kNameStatic + r));
        row.name->setMinimumWidth(120);
        row.select = new QCheckBox(owner);
        row.select->setObjectName(ControlName("check", LayerFileTable::kSelectBox + r));
        row.file = new QLineEdit(owner);
        row.file->setObjectName(ControlName("edit", LayerFileTable::kFileEdit + r));
        row.file->setMaxLength(static_cast<int>(kMaxOutputName));
        row.file->setMinimumWidth(220);
        grid->addWidget(row.number, firstRow + 1 + r, 0);
        grid->addWidget(row.name, firstRow + 1 + r, 1);
        grid->addWidget(row.select, firstRow + 1 + r, 2);
        grid->addWidget(row.file, firstRow + 1 + r, 3);

        QObject::connect(row.file, &QLineEdit::textEdited, owner, [this, r](const QString& t) {
            table_.editFile(r, Us(t));
            // A name beyond 260 bytes is cut; the field shows what is kept.
            const QString kept = Qs(table_.fileText(r));
            if (kept != rows_[r].file->text()) rows_[r].file->setText(kept);
            refreshRow(r);
        });
        QObject::connect(row.select, &QCheckBox::toggled, owner, [this, r](bool on) {
            table_.setSelected(r, on);
            refreshRow(r);
        });
    }
    auto* paging = new QHBoxLayout;
    auto* previous = new QPushButton(UiText(kLayerFilesPreviousButton), owner);
    previous->setObjectName(ControlName("button", LayerFileTable::kPreviousButton));
    previous->setAutoDefault(false);
    auto* next = new QPushButton(UiText(kLayerFilesNextButton), owner);
    next->setObjectName(ControlName("button", LayerFileTable::kNextButton));
    next->setAutoDefault(false);
    paging->addWidget(previous);
    paging->addWidget(next);
    paging->addStretch();
    grid->addLayout(paging, firstRow + 1 + LayerFileTable::kRows, 0, 1, 4);
    QObject::connect(previous, &QPushButton::clicked, owner, [this] {
        table_.pressPrevious();
        refresh();
    });
    QObject::connect(next, &QPushButton::clicked, owner, [this] {
        table_.pressNext();
        refresh();
    });
    refresh();
}

void LayerFileRows::refreshRow(int r) {
    Row& row = rows_[r];
    const QSignalBlocker block(row.select);
    row.select->setChecked(table_.selected(r));
    row.select->setEnabled(table_.selectable(r));
}

void LayerFileRows::refresh() {
    for (int r = 0; r < LayerFileTable::kRows; ++r) {
        Row& row = rows_[r];
        row.number->setText(Qs(table_.numberText(r)));
        row.name->setText(Qs(table_.layerNameText(r)));
        {
            const QSignalBlocker block(row.file);
            row.file->setText(Qs(table_.fileText(r)));
        }
        refreshRow(r);
    }
}

}  // namespace zevo
