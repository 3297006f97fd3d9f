// Built only with the address sanitizer: a read through a list after it has been freed must be
// reported, for both list kinds. A pool that kept freed nodes for reuse would hide it.
#include <gtest/gtest.h>

#include <cstdint>

#include "chess/computer.h"

namespace {

// Frees a list and then reads the first field of its head node.
template <class Node> std::int32_t readAfterFreeing(Node* list, void (*release)(Node*)) {
    release(list);
    return *reinterpret_cast<volatile const std::int32_t*>(list);
}

} // namespace

TEST(FreedListDeathTest, AReadThroughAFreedListIsReported) {
    EXPECT_DEATH(readAfterFreeing(Board().legalTargetsAt(2, 1), freeTargets),
                 "heap-use-after-free|use-after-poison");
    EXPECT_DEATH(readAfterFreeing(ComputerPlayer().allMoves(), freeMoves),
                 "heap-use-after-free|use-after-poison");
}
