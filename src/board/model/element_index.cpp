#include "board/model/element_index.h"

namespace zevo {

void ElementIndex::restart(const ListNode& items) {
    items_ = &items;
    stamp_ = changes_.value;
    complete_ = false;
    elements_.clear();
    boxes_.clear();
    stack_.assign(1, Frame{&items, nullptr});
    resume_ = items.next;
}

void ElementIndex::walk(size_t count) {
    const ListNode* node = resume_;
    for (size_t taken = 0; taken < count;) {
        const Frame top = stack_.back();
        if (node == top.head) {
            stack_.pop_back();
            if (stack_.empty()) {
                complete_ = true;
                resume_ = nullptr;
                return;
            }
            node = top.owner->next;
            continue;
        }
        const container* c = AsElement(node);
        if (c->kind == kGroup) {
            const group* g = AsGroup(c);
            stack_.push_back({&g->members, g});
            node = g->members.next;
            continue;
        }
        if (IsDrawn(c)) {
            const drawn* d = AsDrawn(c);
            elements_.push_back(d);
            boxes_.push_back(Outward(d->bounds));
            ++taken;
        }
        node = node->next;
    }
    resume_ = node;
}

}  // namespace zevo
