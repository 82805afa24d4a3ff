#include "board/undo/undo.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace zevo {
namespace {

// Elements are told apart by their x coordinate, which every test keeps unique.
std::vector<double> TopLevel(const Board& b) {
    std::vector<double> xs;
    for (container* c : Items(b.items)) xs.push_back(IsDrawn(c) ? AsDrawn(c)->x : -1);
    return xs;
}

land* AddLand(Board& b, UndoHistory& h, UndoStep* s, double x) {
    land* e = b.CreateLand(1, 0, false, {x, 1});
    b.AppendElement(nullptr, e);
    h.RecordAdded(s, e);
    return e;
}

void Remove(UndoHistory& h, UndoStep* s, container* e) {
    ListNode* succ = e->unlink(h.board().changes);
    h.RecordRemoved(s, e, succ);
}

TEST(UndoHistory, KeepsOnlyTheNewestStepsAndRecyclesWhatTheOldestRemoved) {
    Board b;
    UndoHistory h(b);
    h.SetUndoLimit(3);
    h.SetUndoLimit(0);  // ignored
    EXPECT_EQ(h.GetUndoLimit(), 3);
    std::vector<land*> lands;
    UndoStep* s = h.BeginStep();
    for (int i = 0; i < 5; ++i) lands.push_back(AddLand(b, h, s, i));
    h.CommitStep(s);
    // Five changes, each deleting one land.
    for (int i = 0; i < 5; ++i) {
        s = h.BeginStep();
        Remove(h, s, lands[i]);
        h.CommitStep(s);
        // After the 4th and 5th commits the removals of the 1st and 2nd changes are gone for good.
        const size_t expectedLive = 5 - (i >= 3 ? i - 2 : 0);
        EXPECT_EQ(b.pools.lands.live(), expectedLive) << "after change " << i + 1;
    }
    EXPECT_EQ(h.doneCount(), 3u);
    EXPECT_TRUE(h.Undo());
    EXPECT_TRUE(h.Undo());
    EXPECT_TRUE(h.Undo());
    EXPECT_FALSE(h.Undo());
    EXPECT_EQ(TopLevel(b), (std::vector<double>{2, 3, 4}));
}

TEST(UndoHistory, ANewChangeEndsTheRedoChainAndRecyclesWhatItAdded) {
    Board b;
    UndoHistory h(b);
    for (int i = 0; i < 3; ++i) {
        UndoStep* s = h.BeginStep();
        AddLand(b, h, s, i);
        h.CommitStep(s);
    }
    h.Undo();
    h.Undo();
    EXPECT_TRUE(h.CanRedo());
    EXPECT_EQ(b.pools.lands.live(), 3u);
    UndoStep* s = h.BeginStep();
    AddLand(b, h, s, 9);
    h.CommitStep(s);
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(b.pools.lands.live(), 2u);
    EXPECT_EQ(TopLevel(b), (std::vector<double>{0, 9}));
}

TEST(UndoHistory, EmptyStepIsNeverStored) {
    Board b;
    UndoHistory h(b);
    h.CommitStep(h.BeginStep());
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(h.liveSteps(), 0u);
    EXPECT_FALSE(h.Redo());
}

TEST(UndoHistory, RestoresPositionsInsideGroupsAndOrderOfNeighbours) {
    Board b;
    UndoHistory h(b);
    group* g = b.CreateGroup(nullptr);
    b.AppendElement(nullptr, g);
    land* in1 = b.CreateLand(1, 0, false, {1, 1});
    land* in2 = b.CreateLand(1, 0, false, {2, 1});
    b.AppendElement(g, in1);
    b.AppendElement(g, in2);
    land* a = b.CreateLand(1, 0, false, {10, 1});
    land* c = b.CreateLand(1, 0, false, {11, 1});
    land* d = b.CreateLand(1, 0, false, {12, 1});
    for (land* e : {a, c, d}) b.AppendElement(nullptr, e);

    // The last member of a group comes back at the end of that group.
    UndoStep* s = h.BeginStep();
    Remove(h, s, in2);
    h.CommitStep(s);
    h.Undo();
    EXPECT_EQ(g->members.prev, in2);
    EXPECT_EQ(in2->parent, g);

    // Two neighbours deleted in one command come back in their former order.
    s = h.BeginStep();
    Remove(h, s, a);
    Remove(h, s, c);
    h.CommitStep(s);
    EXPECT_EQ(TopLevel(b), (std::vector<double>{-1, 12}));
    h.Undo();
    EXPECT_EQ(TopLevel(b), (std::vector<double>{-1, 10, 11, 12}));
    h.Redo();
    EXPECT_EQ(TopLevel(b), (std::vector<double>{-1, 12}));
    h.Undo();

    // A changed element: the old one out, its changed copy in.
    s = h.BeginStep();
    container* copy = c->clone(b);
    copy->translate(b, 100, 0);
    copy->insertBefore(c->next, b.changes);
    h.RecordAdded(s, copy);
    Remove(h, s, c);
    h.CommitStep(s);
    EXPECT_EQ(TopLevel(b), (std::vector<double>{-1, 10, 111, 12}));
    h.Undo();
    EXPECT_EQ(TopLevel(b), (std::vector<double>{-1, 10, 11, 12}));
    h.Redo();
    EXPECT_EQ(TopLevel(b), (std::vector<double>{-1, 10, 111, 12}));
}

// Random edits, undos and redos against a model that simply keeps snapshots.
TEST(UndoHistory, RandomSequencesMatchASnapshotModelAndLoseNoNode) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Board b;
        UndoHistory h(b);
        const int limit = 1 + static_cast<int>(rng() % 6);
        h.SetUndoLimit(limit);
        std::vector<std::vector<double>> done{TopLevel(b)}, redo;
        double nextId = 1;
        for (int op = 0; op < 300; ++op) {
            const unsigned what = rng() % 10;
            if (what < 2) {
                if (h.Undo()) {
                    redo.push_back(done.back());
                    done.pop_back();
                }
            } else if (what < 3) {
                if (h.Redo()) {
                    done.push_back(redo.back());
                    redo.pop_back();
                }
            } else {
                UndoStep* s = h.BeginStep();
                const int edits = 1 + static_cast<int>(rng() % 3);
                for (int k = 0; k < edits; ++k) {
                    std::vector<container*> all;
                    for (container* c : Items(b.items)) all.push_back(c);
                    const unsigned kind = rng() % 3;
                    if (kind == 0 || all.empty()) {
                        land* e = b.CreateLand(1, 0, false, {nextId++, 0});
                        ListNode* at = all.empty() ? &b.items : all[rng() % all.size()];
                        e->insertBefore(at, b.changes);
                        h.RecordAdded(s, e);
                    } else if (kind == 1) {
                        Remove(h, s, all[rng() % all.size()]);
                    } else {
                        container* old = all[rng() % all.size()];
                        container* copy = old->clone(b);
                        copy->translate(b, nextId++ - AsDrawn(old)->x, 0);
                        copy->insertBefore(old, b.changes);
                        h.RecordAdded(s, copy);
                        Remove(h, s, old);
                    }
                }
                h.CommitStep(s);
                done.push_back(TopLevel(b));
                redo.clear();
                // The model keeps the current state plus `limit` undoable ones.
                while (done.size() > static_cast<size_t>(limit) + 1) done.erase(done.begin());
            }
            ASSERT_EQ(TopLevel(b), done.back()) << "seed " << seed << " op " << op;
            ASSERT_EQ(h.doneCount(), done.size() - 1);
            ASSERT_EQ(h.redoCount(), redo.size());
        }
        h.ClearHistory();
        EXPECT_EQ(h.liveSteps(), 0u);
        EXPECT_EQ(h.liveEntries(), 0u);
        EXPECT_EQ(b.pools.lands.live(), TopLevel(b).size());
        b.ClearBoard();
        EXPECT_EQ(b.pools.lands.live(), 0u);
    }
}

}  // namespace
}  // namespace zevo

namespace zevo {
namespace {

TEST(UndoHistory, RevertingAPendingStepRestoresTheDocumentAndKeepsNoHistory) {
    Board b;
    UndoHistory h(b);
    land* a = b.CreateLand(1, 0, false, {1, 0});
    land* c = b.CreateLand(1, 0, false, {2, 0});
    b.AppendElement(nullptr, a);
    b.AppendElement(nullptr, c);
    ListNode lifted;  // a selection that holds what the command took out
    lifted.initHead();
    UndoStep* s = h.BeginStep();
    ListNode* succ = a->unlink(b.changes);
    h.RecordRemoved(s, a, succ);
    a->insertBefore(&lifted, b.changes);
    AddLand(b, h, s, 9);
    h.RevertStep(s);
    EXPECT_EQ(TopLevel(b), (std::vector<double>{1, 2}));
    EXPECT_TRUE(lifted.emptyList());
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(b.pools.lands.live(), 2u);
    EXPECT_EQ(h.liveSteps(), 0u);
    EXPECT_EQ(h.liveEntries(), 0u);
}

}  // namespace
}  // namespace zevo
