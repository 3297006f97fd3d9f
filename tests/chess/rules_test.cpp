// The rules of chess through the board's public operations: FEN records, the legal
// destinations of each piece, and what playing a move does to the position.
#include <string>

#include "chess_fixture.h"

namespace {

const char* const start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Rows of "FEN | moves played first | square | its destinations in generation order".
TEST(LegalTargets, AreTheExpectedSquaresInGenerationOrder) {
    for (const Names& row : rowsIn("legal_targets.txt")) {
        Board b = fromFen(row.at(0));
        ASSERT_TRUE(playAll(b, row.at(1))) << row[0];
        const int square = squareFromText(row.at(2).c_str());
        Names targets;
        for (const auto& [from, to] : legalMoves(b))
            if (from == square) targets.push_back(squareName(to));
        EXPECT_EQ(targets, wordsOf(row.at(3))) << row[0] << "|" << row[1] << "|" << row[2];
    }
}

// Rows of "FEN | moves | the position they leave | its status bits". The side to move has no
// legal move exactly when the game is over; the side that moved last always has one.
TEST(PlayingMoves, LeavesTheExpectedPositionStatusAndMoves) {
    for (const Names& row : rowsIn("played.txt")) {
        Board b = fromFen(row.at(0));
        ASSERT_TRUE(playAll(b, row.at(1))) << row[0] << "|" << row[1];
        EXPECT_EQ(positionOf(b), row.at(2)) << row[0] << "|" << row[1];
        EXPECT_EQ(b.status, std::stoul(row.at(3))) << row[0] << "|" << row[1];
        if (!(b.status & PromotionPending)) {
            EXPECT_EQ(legalMoves(b).empty(), gameIsOver(b.status)) << row[0] << "|" << row[1];
            EXPECT_EQ(b.hasNoLegalMove(b.sideToMove), gameIsOver(b.status) ? 1 : 0) << row[1];
            EXPECT_EQ(b.hasNoLegalMove(-b.sideToMove), 0) << row[0] << "|" << row[1];
        }
    }
}

// A square is in a target list only when its file and rank both match (the knight on b1
// reaches a3 and c3, not b3 or a4).
TEST(TargetList, ContainsASquareOnlyWhenFileAndRankBothMatch) {
    MoveTarget* const targets = fromFen(start).legalTargetsAt(2, 1);
    EXPECT_EQ(targetListContains(1, 3, targets), 1);
    EXPECT_EQ(targetListContains(3, 3, targets), 1);
    EXPECT_EQ(targetListContains(2, 3, targets), 0);
    EXPECT_EQ(targetListContains(1, 4, targets), 0);
    EXPECT_EQ(targetListContains(1, 3, nullptr), 0);
    freeTargets(targets);
}

// A new board holds the starting position, refused moves change nothing, and a finished game
// reset is the starting position again.
TEST(Board, StartsRefusesIllegalMovesAndResets) {
    const Board started = fromFen(start);
    Board b;
    for (const char* move : {"e2e5", "e7e5", "e4e5", "a1a3", "e1e2"})
        EXPECT_FALSE(playAll(b, move)) << move;
    EXPECT_EQ(b.makeMove(0, squareFromText("a8")), 0);
    EXPECT_EQ(b.makeMove(-5, 400), 0);
    EXPECT_EQ(b.makeMoveAt(0, 0, 0, 0), 0);
    EXPECT_EQ(positionOf(b), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w -");
    ASSERT_TRUE(playAll(b, "f2f3 e7e5 g2g4 d8h4"));
    b.reset();
    EXPECT_EQ(positionOf(b), positionOf(started));
    EXPECT_EQ(b.status, 0u);
    EXPECT_EQ(legalMoves(b), legalMoves(started));
}

// Rows of "moves from the start | square | its attack and pin fields".
TEST(SquareFields, CountEachColoursAttackersAndMarkPins) {
    const auto name = [](int index) { return index < 0 ? std::string("-") : squareName(index); };
    for (const Names& row : rowsIn("square_fields.txt")) {
        Board b;
        ASSERT_TRUE(playAll(b, row.at(0))) << row[0];
        const int index = squareFromText(row.at(1).c_str());
        const Square s = b.squareAt(fileOf(index), rankOf(index));
        const std::string fields =
            std::to_string(s.whiteAttackers) + " " + std::to_string(s.blackAttackers) + " " +
            name(s.whiteAttacker) + " " + name(s.blackAttacker) + " " + std::to_string(s.pinned) +
            " " + std::to_string(s.pinFile) + " " + std::to_string(s.pinRank);
        EXPECT_EQ(fields, row.at(2)) << row[0] << " | " << row[1];
    }
}

// Fixed fault: impossible positions, such as an en passant square no double step can have
// made, are rejected along with malformed records.
TEST(Fen, MalformedOrImpossibleRecordsAreRejectedAndChangeNothing) {
    Board b;
    ASSERT_TRUE(playAll(b, "e2e4"));
    for (const Names& row : rowsIn("rejected.fen")) {
        EXPECT_EQ(setFromFen(b, row.at(0).c_str()), 0) << row[0];
        EXPECT_EQ(positionOf(b), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b e3") << row[0];
    }
    EXPECT_EQ(setFromFen(b, ""), 0);
    EXPECT_EQ(setFromFen(b, nullptr), 0);
}

} // namespace
