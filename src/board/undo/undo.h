// The undo history. A step records what a command unlinked from and linked into the element
// lists; undo and redo relink the very same nodes, and nodes that neither the document nor any
// kept step needs any more go back to their pools when their step is discarded.
#pragma once

#include <cstddef>

#include "board/model/board.h"

namespace zevo {

struct UndoEntry : ListNode {
    int32_t kind = kUndoEntry;
    ListNode* successor = nullptr;  // removed element: what followed it; added: none
    container* element = nullptr;
    ListNode* savedSuccessor = nullptr;  // added element: what followed it when undo took it out
};

struct UndoStep : ListNode {
    int32_t kind = kUndoApplied;
    ListNode entries;
    UndoStep() { entries.initHead(); }
    bool empty() const { return entries.emptyList(); }
};

class UndoHistory {
  public:
    explicit UndoHistory(Board& board);
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;
    ~UndoHistory();

    UndoStep* BeginStep();
    // The command has just unlinked `element`; `successor` is the node that followed it.
    void RecordRemoved(UndoStep* step, container* element, ListNode* successor);
    // The command has just linked `element` in.
    void RecordAdded(UndoStep* step, container* element);
    // Ends a command: an empty step is dropped, otherwise the redo chain ends and the done list
    // is trimmed to the limit.
    void CommitStep(UndoStep* step);
    // Throws a step away without applying anything (a cancelled command that restored the
    // document itself). Elements it added are recycled; removed ones are assumed back in place.
    void DiscardStep(UndoStep* step);
    // Cancels a step not yet committed: what it took out goes back in place, what it added comes
    // out (from whatever list holds it now) and goes back to its pool; the step is dropped.
    void RevertStep(UndoStep* step);

    bool Undo();
    bool Redo();
    bool CanUndo() const { return !done_.emptyList(); }
    bool CanRedo() const { return !redo_.emptyList(); }
    void ClearHistory();
    void SetUndoLimit(int n) {
        if (n > 0) limit_ = n;
    }
    int GetUndoLimit() const { return limit_; }

    // The board whose elements the steps hold.
    Board& board() { return board_; }

    size_t doneCount() const { return Count(done_); }
    size_t redoCount() const { return Count(redo_); }
    size_t liveSteps() const { return steps_.live(); }
    size_t liveEntries() const { return entries_.live(); }

  private:
    static size_t Count(const ListNode& l);
    void undoStep(UndoStep* s);
    void redoStep(UndoStep* s);
    void recycleStep(UndoStep* s);

    Board& board_;
    // The links of the history's own lists (steps and their entries) are no change of the
    // board's tree: they are counted apart, so the caches over the tree stay.
    ChangeCount records_;
    ListNode done_;
    ListNode redo_;
    int limit_ = 10;
    NodePool<UndoStep> steps_;
    NodePool<UndoEntry> entries_;
};

}  // namespace zevo
