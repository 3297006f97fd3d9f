// Built only with the address sanitizer: a read through a list after it has been freed must be
// reported, for both list kinds. A pool that kept freed nodes for reuse would hide it.
#include <gtest/gtest.h>

#include <cstdint>

#include "chess/board.h"
#include "chess/computer.h"

namespace {

std::int32_t readFreedTargetList() {
    const Board start;
    MoveTarget* const list = start.legalTargetsAt(2, 1);
    freeTargets(list);
    return *static_cast<volatile const std::int32_t*>(&list->file);
}

std::int32_t readFreedMoveList() {
    const ComputerPlayer player;
    Move* const list = player.allMoves();
    freeMoves(list);
    return *static_cast<volatile const std::int32_t*>(&list->toRank);
}

} // namespace

TEST(FreedListDeathTest, AReadThroughAFreedListIsReported) {
    EXPECT_DEATH(readFreedTargetList(), "heap-use-after-free|use-after-poison");
    EXPECT_DEATH(readFreedMoveList(), "heap-use-after-free|use-after-poison");
}
