// The estimate program without its windows: the state of the "基板製作見積" dialog (the entry
// chosen, the fields, the options, which buttons are usable) and what its buttons and the
// editor's reply do. The program's window shows this state and feeds it the user's input.
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "estimate/command_line.h"
#include "estimate/maker_table.h"
#include "estimate/package_files.h"
#include "estimate/zip_archive.h"

namespace zevo {

// What the session asks of the platform.
class EstimateHost {
  public:
    virtual ~EstimateHost() = default;
    // A message box captioned "Ordavist" (UTF-8).
    virtual void message(std::string_view text) = 0;
    // Asks the editor to write the ZevoNC files; its reply comes later through
    // EstimateSession::reply. False when the editor could not be reached.
    virtual bool requestData() = 0;
    // Whether the editor's window still exists.
    virtual bool editorAlive() = 0;
    virtual void setClipboardText(std::string_view text) = 0;
    virtual bool openUrl(std::string_view url) = 0;
    // Closes the dialog after `delayMs` milliseconds (0: at once).
    virtual void close(int delayMs) = 0;
};

// The controls of the dialog.
enum class EstimateButton { kMake, kCheck, kOrder };

class EstimateSession {
  public:
    EstimateSession(EstimateArguments args, std::vector<MakerEntry> table,
                    std::filesystem::path tempFolder, EstimateHost& host);

    // --- what the dialog shows
    const EstimateArguments& arguments() const { return args_; }
    const std::vector<MakerEntry>& table() const { return table_; }
    size_t entryIndex() const { return entry_; }
    const MakerEntry& entry() const { return table_[entry_]; }
    bool sideB() const { return sideB_; }
    bool sizesEnabled() const { return entry().allowsSizes(); }
    bool quantityEnabled() const { return !entry().defaultQuantity.empty(); }
    bool enabled(EstimateButton b) const;
    bool dataMade() const { return dataMade_; }
    // The files of the last data creation, by their new names, in table order.
    const RenameResult& renamed() const { return renamed_; }
    std::filesystem::path zevoNcFolder() const;

    // --- the fields the user edits
    std::string sizeX, sizeY, quantity;
    std::vector<int> selections;  // per option row of the entry, -1 for none
    bool mirror = false;          // "半田面視"
    // "半田面視" is greyed once the editor has written a set in the current format: such a set
    // is packed as it is.
    bool mirrorEnabled() const { return !modernSet_; }
    bool modernSet() const { return modernSet_; }

    // --- commands of the dialog
    void selectEntry(size_t index);  // combo 102
    void setSideB(bool sideB);       // radio buttons 104 / 105
    void makeData();                 // 101 "データ作成"
    void reply(bool success);        // the editor's answer to the request
    void order();                    // 1 "見積"
    void timerTick();                // every 200 ms
    std::string orderUrl() const;
    static std::string_view helpText();

  private:
    bool packAndMove();

    EstimateArguments args_;
    std::vector<MakerEntry> table_;
    std::filesystem::path temp_;
    EstimateHost& host_;
    size_t entry_ = 0;
    bool sideB_ = false;
    bool makeEnabled_ = true, checkEnabled_ = false, orderEnabled_ = false;
    bool dataMade_ = false;
    int ticks_ = 0;
    bool modernSet_ = false;
    RenameResult renamed_;
    std::deque<std::string> rowNames_;  // the names of rows made for a modern set
};

// The message for a command line that could not be parsed, or empty when it parsed.
std::string_view StartupMessage(const ParsedArguments& parsed);

}  // namespace zevo
