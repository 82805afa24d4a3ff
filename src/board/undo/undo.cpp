#include "board/undo/undo.h"

#include <unordered_set>
#include <vector>

namespace zevo {

UndoHistory::UndoHistory(Board& board) : board_(board) {
    done_.initHead();
    redo_.initHead();
}

UndoHistory::~UndoHistory() {
    ClearHistory();
}

UndoStep* UndoHistory::BeginStep() {
    return steps_.take();
}

void UndoHistory::RecordRemoved(UndoStep* step, container* element, ListNode* successor) {
    UndoEntry* e = entries_.take();
    e->successor = successor;
    e->element = element;
    e->insertBefore(&step->entries, records_);
}

void UndoHistory::RecordAdded(UndoStep* step, container* element) {
    UndoEntry* e = entries_.take();
    e->element = element;
    e->insertBefore(&step->entries, records_);
}

void UndoHistory::CommitStep(UndoStep* step) {
    if (!step) return;
    if (step->empty()) {
        steps_.give(step);
        return;
    }
    while (!redo_.emptyList()) recycleStep(static_cast<UndoStep*>(redo_.prev));
    step->kind = kUndoApplied;
    step->insertBefore(&done_, records_);
    size_t n = Count(done_);
    while (n > static_cast<size_t>(limit_)) {
        recycleStep(static_cast<UndoStep*>(done_.next));
        --n;
    }
}

void UndoHistory::DiscardStep(UndoStep* step) {
    if (!step) return;
    step->kind = kUndoUndone;
    recycleStep(step);
}

void UndoHistory::RevertStep(UndoStep* step) {
    if (!step) return;
    if (step->linked()) step->unlink(records_);
    undoStep(step);
    recycleStep(step);
}

bool UndoHistory::Undo() {
    if (done_.emptyList()) return false;
    UndoStep* s = static_cast<UndoStep*>(done_.prev);
    s->unlink(records_);
    undoStep(s);
    s->insertBefore(&redo_, records_);
    return true;
}

bool UndoHistory::Redo() {
    if (redo_.emptyList()) return false;
    UndoStep* s = static_cast<UndoStep*>(redo_.prev);
    s->unlink(records_);
    redoStep(s);
    s->insertBefore(&done_, records_);
    return true;
}

void UndoHistory::ClearHistory() {
    while (!done_.emptyList()) recycleStep(static_cast<UndoStep*>(done_.prev));
    while (!redo_.emptyList()) recycleStep(static_cast<UndoStep*>(redo_.prev));
}

size_t UndoHistory::Count(const ListNode& l) {
    size_t n = 0;
    for (const ListNode* p = l.next; p != &l; p = p->next) ++n;
    return n;
}

void UndoHistory::undoStep(UndoStep* s) {
    for (ListNode* n = s->entries.prev; n != &s->entries; n = n->prev) {
        UndoEntry* e = static_cast<UndoEntry*>(n);
        e->savedSuccessor = e->element->linked() ? e->element->unlink(board_.changes) : nullptr;
        if (e->successor) e->element->insertBefore(e->successor, board_.changes);
    }
    s->kind = kUndoUndone;
}

void UndoHistory::redoStep(UndoStep* s) {
    for (ListNode* n = s->entries.next; n != &s->entries; n = n->next) {
        UndoEntry* e = static_cast<UndoEntry*>(n);
        if (e->element->linked()) e->element->unlink(board_.changes);
        if (e->savedSuccessor) e->element->insertBefore(e->savedSuccessor, board_.changes);
        e->savedSuccessor = nullptr;
    }
    s->kind = kUndoApplied;
}

void UndoHistory::recycleStep(UndoStep* s) {
    if (s->linked()) s->unlink(records_);
    // The elements outside the document in the step's state: removed ones of an applied step,
    // added ones of an undone step. An element recorded twice, or one that a later entry put
    // back into a list, is recycled at most once and never while linked.
    std::vector<container*> outside;
    const bool applied = s->kind == kUndoApplied;
    while (!s->entries.emptyList()) {
        UndoEntry* e = static_cast<UndoEntry*>(s->entries.next);
        e->unlink(records_);
        const bool removedEntry = e->successor != nullptr;
        if (removedEntry == applied) outside.push_back(e->element);
        entries_.give(e);
    }
    std::unordered_set<container*> seen;
    for (container* c : outside)
        if (seen.insert(c).second && !c->linked()) c->recycle(board_);
    steps_.give(s);
}

}  // namespace zevo
