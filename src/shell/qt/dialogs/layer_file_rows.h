// The paged layer/file table of the Gerber output and input dialogs, as widgets in a grid.
#pragma once

#include <array>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace zevo {

class LayerFileTable;

class LayerFileRows {
  public:
    // Adds the heading, eight rows and the << / >> buttons to `grid` from `firstRow` on; the
    // widgets belong to `owner`.
    LayerFileRows(QWidget* owner, QGridLayout* grid, int firstRow, LayerFileTable& table);
    // The grid rows taken.
    static constexpr int kGridRows = 10;
    void refresh();

  private:
    struct Row {
        QLabel* number = nullptr;
        QLabel* name = nullptr;
        QCheckBox* select = nullptr;
        QLineEdit* file = nullptr;
    };
    void refreshRow(int row);

    LayerFileTable& table_;
    std::array<Row, 8> rows_;
};

}  // namespace zevo
