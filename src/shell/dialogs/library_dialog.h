// "ライブラリ設定": which library files are in use. The left list "使用ライブラリ" is the library
// file list, the right list "ライブラリ一覧" the library files of the program's folders that are
// not in use; "<<" takes the chosen file into use, ">>" out of it. Closing the window makes the
// left list the library file list. Entries are file bytes (Shift-JIS), as the list keeps them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/dialog.h"

namespace zevo {

inline constexpr std::string_view kLibraryDialogTitle = "ライブラリ設定";
inline constexpr std::string_view kLibraryUsedLabel = "使用ライブラリ";
inline constexpr std::string_view kLibraryAllLabel = "ライブラリ一覧";

// Whether two library entries name the same file (the list compares them without regard to the
// case of ASCII letters).
bool SameLibraryEntry(std::string_view a, std::string_view b);

class LibrarySettingsModel : public DialogModel {
  public:
    static constexpr int kUsedList = 101;
    static constexpr int kAllList = 102;
    static constexpr int kTakeButton = 103;   // "<<"
    static constexpr int kLeaveButton = 104;  // ">>"

    // `inUse`: the libraries in use now; `found`: the library files of the program's folders.
    LibrarySettingsModel(std::vector<std::string> inUse, std::vector<std::string> found);

    const std::vector<std::string>& used() const { return used_; }
    // The files found that are not in use, in the order they were found.
    std::vector<std::string> unused() const;
    bool changed() const { return used_ != original_; }

    // "<<": the file at `index` of unused() goes to the end of the list in use. False (nothing
    // changes) for a bad index or when the list is full.
    bool take(int index);
    // ">>": the entry at `index` of used() leaves the list.
    bool leave(int index);

  private:
    std::vector<std::string> used_;
    std::vector<std::string> original_;
    std::vector<std::string> found_;
};

}  // namespace zevo
