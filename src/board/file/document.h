// The board document on disk: opening a file into the board with the conversions an opened file
// gets, saving it safely, and the document commands (new, open, save, save as, save in the old
// format) with the questions they ask through DocumentUi.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "board/file/board_reader.h"
#include "board/file/board_writer.h"
#include "board/model/board.h"
#include "paths/file_io.h"

namespace zevo {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- files

// Writes a file without ever leaving a half-written one in its place: the text goes to a temporary
// file in the same folder, which is flushed to disk, closed and checked, and only then renamed over
// the old file. On any failure the old file is untouched, the temporary file is removed and false
// is returned (with the reason in `error` when given). `body` may report failure by returning
// false.
bool WriteFileSafely(const fs::path& path, const std::function<bool(TextOut&)>& body,
                     std::string* error = nullptr);

// ---------------------------------------------------------------- reading

// The open command's reading: the sections, then the steps every opened file goes through. The
// board should have been reset first (the settings file is the template of every document).
ReadResult ReadDocumentText(std::string_view data, Board& board);
// The same from a file. When the file cannot be opened nothing is changed and `opened` is false.
ReadResult ReadDocument(const fs::path& path, Board& board);
// The same from an open file.
ReadResult ReadDocument(std::FILE* file, Board& board);

// The steps after the sections of a document were read. The first (filled-area circles, groups
// without members, part origins) runs only when reading reported no error. Top-level elements
// that leave the board are removed; `removed` (when given) lists them.
void FinishDocumentRead(Board& board, bool readWithoutError,
                        std::vector<OffBoardElement>* removed = nullptr);
// Files before version 0.50 stored filled areas as plain groups of lines: turn those whose lines
// form an outline with holes and fill strokes into filled-area groups.
void ConvertLegacyPaint(Board& board);

// The board as a new document finds it when there is no settings file: default tables, 300 x 210,
// grid 10, no elements, the program's version.
void ResetToBuiltInDefaults(Board& board);

// ---------------------------------------------------------------- writing

bool WriteDocumentFile(const fs::path& path, const Board& board, std::string* error = nullptr);
bool WriteOldFormatFile(const fs::path& path, const Board& board, std::string* error = nullptr);

// ---------------------------------------------------------------- commands

struct Document {
    Board board;
    fs::path path;  // the document's file; a new document is "untitled.pcb" in the last folder
    bool modified = false;
    // No file holds this document yet (a new or recovered one): saving asks for a name, and the
    // outputs write into the program's folder rather than beside `path`.
    bool neverSaved = true;
};

enum class Answer { kYes, kNo, kCancel };

struct FileFilter {
    std::string_view description;  // "PCBファイル"
    std::string_view pattern;      // "*.pcb"
};

// What the document commands need from the window system.
class DocumentUi {
  public:
    virtual ~DocumentUi() = default;
    // A message box with OK.
    virtual void showMessage(std::string_view text) = 0;
    // A question with Yes, No and Cancel.
    virtual Answer askYesNoCancel(std::string_view text) = 0;
    // File choosers starting at `start` (a folder, or a proposed file). False when cancelled.
    virtual bool chooseFileToOpen(const FileFilter& filter, const fs::path& start,
                                  fs::path& chosen) = 0;
    virtual bool chooseFileToSave(const FileFilter& filter, const fs::path& start,
                                  fs::path& chosen) = 0;
    // The board size dialog shown for a new document.
    virtual void requestBoardSize(Board& board) = 0;
    // The template every new or opened document starts from (the editor reads its settings file).
    virtual void resetDocument(Board& board) { ResetToBuiltInDefaults(board); }
    // The document now has this file (the editor remembers it as the last document).
    virtual void documentNamed(const fs::path& path) {}
    // Starts another copy of the editor on the file. False when it could not be started.
    virtual bool startEditor(const fs::path& document) { return false; }
};

enum class CommandStatus { kDone, kCancelled, kFailed };

struct OpenOutcome {
    CommandStatus status = CommandStatus::kCancelled;
    ReadResult read;  // what reading reported (the caller decides what to show)
};

// Asks whether to save a modified document. False when the command must stop (Cancel, a
// cancelled save dialog, or a save that failed).
bool AskToSaveChanges(Document& doc, DocumentUi& ui);
// New (400): the save question, a cleared document named "untitled.pcb" in the last folder, then
// the board size dialog.
CommandStatus NewDocument(Document& doc, DocumentUi& ui);
// Open (401): the save question, the open dialog, then the file.
OpenOutcome OpenDocument(Document& doc, DocumentUi& ui);
// Opening a known file without questions (the command line, the recovery file). A file that holds
// no section of a board is refused with a message and the document stays as it was; when the
// reading removed elements off the board, one message says so.
OpenOutcome OpenDocumentFile(Document& doc, DocumentUi& ui, const fs::path& path);
// Open in another copy of the editor (402).
CommandStatus OpenInNewEditor(Document& doc, DocumentUi& ui);
// Save as (403) and save (404); saving a document that was never saved asks for its name.
CommandStatus SaveDocumentAs(Document& doc, DocumentUi& ui);
CommandStatus SaveDocument(Document& doc, DocumentUi& ui);
// Save in the old format (405): the document keeps its name and its modified flag.
CommandStatus SaveInOldFormat(Document& doc, DocumentUi& ui);

// The message shown after opening a document from which `removed` elements off the board went.
std::string OffBoardMessage(size_t removed);

// The file name a new document gets.
inline constexpr std::string_view kUntitledName = "untitled.pcb";

}  // namespace zevo
