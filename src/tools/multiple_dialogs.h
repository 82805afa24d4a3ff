// The dialogs of the multiple tool without their windows: its settings "複数 設定" and the
// choice "グループ設定" of what to do with the items taken. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/dialog.h"

namespace zevo {

// "複数 設定": "選択(シフトを押しながら最後を解除)" or "左クリックで解除" (a click on empty board
// lets go of the item taken last).
class MultipleSettingsModel : public DialogModel {
  public:
    explicit MultipleSettingsModel(bool clickDeselects) : clickDeselects(clickDeselects) {}
    bool clickDeselects;
};

// What the items taken are: bit 0 a group among them, bit 1 exactly one item; 5 when the first
// item (a group) was picked with Ctrl and others are to be attached to it.
int32_t SelectionClass(bool anyGroup, std::size_t count, bool attach, bool firstIsGroup);

// "グループ設定": "結合", "分解", "部品登録", "部品面反転" or "取消".
class GroupSettingsModel : public DialogModel {
  public:
    enum class Choice : uint8_t { kCancel, kJoin, kSplit, kRegister, kTurnOver };
    explicit GroupSettingsModel(int32_t selectionClass) : selectionClass(selectionClass) {}
    const int32_t selectionClass;
    Choice choice = Choice::kCancel;
    // Joining is attaching to the part picked with Ctrl.
    bool attaches() const { return selectionClass == 5; }
};

// "部品登録": the library (one of the library file list), "部品名" and "アトリビュート" (UTF-8).
class PartRegisterModel : public DialogModel {
  public:
    explicit PartRegisterModel(std::vector<std::string> libraries)
        : libraries(std::move(libraries)) {}
    const std::vector<std::string> libraries;
    int library = 0;  // index into `libraries`; -1 none chosen
    std::string name, attribute;
};

// A library of the library file list and one of its parts, as "部品入力" and "部品削除" choose
// them. Part entries are "name" or "name,attribute" in file bytes.
class LibraryPartsModel : public DialogModel {
  public:
    using Lister = std::function<std::vector<std::string>(const std::string& library)>;
    LibraryPartsModel(std::vector<std::string> libraries, Lister lister)
        : libraries(std::move(libraries)), lister_(std::move(lister)) {}
    const std::vector<std::string> libraries;
    int library = 0;
    // The parts of the library chosen now (none when it cannot be read or is no library).
    std::vector<std::string> parts() const {
        if (library < 0 || size_t(library) >= libraries.size() || !lister_) return {};
        return lister_(libraries[size_t(library)]);
    }
    std::string entry;  // the part chosen
    // The library chosen, when there is one.
    const std::string* chosenLibrary() const {
        if (library < 0 || size_t(library) >= libraries.size()) return nullptr;
        return &libraries[size_t(library)];
    }

  private:
    Lister lister_;
};

// "部品入力": the part, and "部品入力面反転" (the part turned over before it is placed).
class PartInsertModel : public LibraryPartsModel {
  public:
    using LibraryPartsModel::LibraryPartsModel;
    bool turnOver = false;
};

// "部品削除": the part taken out of its library.
class PartDeleteModel : public LibraryPartsModel {
  public:
    using LibraryPartsModel::LibraryPartsModel;
};

}  // namespace zevo
