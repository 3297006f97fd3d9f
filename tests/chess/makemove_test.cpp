#include <cstring>

#include "chess_fixture.h"

namespace {

bool sameBoard(const Board& a, const Board& b) {
    return std::memcmp(a.squares, b.squares, sizeof a.squares) == 0 &&
           a.sideToMove == b.sideToMove && a.status == b.status && a.enPassant == b.enPassant;
}

} // namespace

TEST(MakeMove, DoubleStepSetsTheSquarePassedOver) {
    Board b;
    EXPECT_EQ(b.makeMoveAt(5, 2, 5, 4), 1);
    EXPECT_EQ(b.enPassant, 90);
    EXPECT_EQ(b.sideToMove, -1);
    EXPECT_EQ(b.status, 0u);
    EXPECT_EQ(b.squareAt(5, 2).untouched, 0);
    EXPECT_EQ(b.squareAt(5, 4).untouched, 0);
    EXPECT_EQ(b.squareAt(5, 4).piece, 1);
    EXPECT_EQ(b.makeMoveAt(7, 8, 6, 6), 1);
    EXPECT_EQ(b.enPassant, -1);
}

TEST(MakeMove, IllegalMovesChangeNothing) {
    Board b;
    const Board before = b;
    EXPECT_EQ(b.makeMoveAt(5, 2, 5, 5), 0);
    EXPECT_EQ(b.makeMoveAt(5, 7, 5, 5), 0);
    EXPECT_EQ(b.makeMoveAt(5, 4, 5, 5), 0);
    EXPECT_EQ(b.makeMove(0, 26), 0);
    EXPECT_EQ(b.makeMove(-5, 400), 0);
    EXPECT_TRUE(sameBoard(b, before));
}

TEST(MakeMove, EnPassantEmptiesThePassedPawnsSquare) {
    Board b;
    ASSERT_EQ(playMoves(b, {"e2e4", "c7c5", "e4e5", "d7d5", "e5d6"}), 5);
    EXPECT_EQ(b.squareAt(4, 5).piece, 0);
    EXPECT_EQ(b.squareAt(4, 6).piece, 1);
    EXPECT_EQ(b.enPassant, -1);
}

TEST(MakeMove, FoolsMateEndsTheGame) {
    Board b;
    ASSERT_EQ(playMoves(b, {"f2f3", "e7e5", "g2g4", "d8h4"}), 4);
    EXPECT_TRUE(b.status & WhiteInCheck);
    EXPECT_TRUE(b.status & WhiteMated);
    EXPECT_FALSE(b.status & Stalemate);
    EXPECT_EQ(b.sideToMove, 1);
    EXPECT_EQ(allMovesOf(b).size(), 0u);
}

TEST(MakeMove, CheckBitsAreClearedWhenTheCheckEnds) {
    Board b = fromFen("4k3/8/8/8/8/8/8/R3K3 w - -");
    ASSERT_EQ(playMoves(b, {"a1a8"}), 1);
    EXPECT_EQ(b.status, static_cast<std::uint32_t>(BlackInCheck));
    ASSERT_EQ(playMoves(b, {"e8e7"}), 1);
    EXPECT_EQ(b.status, 0u);
}

TEST(Castling, KingSideAndQueenSideMoveTheRook) {
    Board kingSide = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    ASSERT_EQ(playMoves(kingSide, {"e1g1"}), 1);
    EXPECT_EQ(kingSide.squareAt(7, 1).piece, 6);
    EXPECT_EQ(kingSide.squareAt(6, 1).piece, 2);
    EXPECT_EQ(kingSide.squareAt(8, 1).piece, 0);
    for (int file : {5, 6, 7, 8})
        EXPECT_EQ(kingSide.squareAt(file, 1).untouched, 0);
    EXPECT_EQ(kingSide.squareAt(1, 1).untouched, 1);
    Board queenSide = fromFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -");
    ASSERT_EQ(playMoves(queenSide, {"e8c8"}), 1);
    EXPECT_EQ(queenSide.squareAt(3, 8).piece, -6);
    EXPECT_EQ(queenSide.squareAt(4, 8).piece, -2);
    EXPECT_EQ(queenSide.squareAt(1, 8).piece, 0);
}

TEST(Promotion, PawnWaitsForItsPieceThenGivesCheck) {
    Board b = fromFen("2k5/P7/8/8/8/8/8/4K3 w - -");
    ASSERT_EQ(playMoves(b, {"a7a8"}), 1);
    EXPECT_TRUE(b.status & PromotionPending);
    EXPECT_EQ(b.squareAt(1, 8).piece, 1);
    EXPECT_EQ(b.sideToMove, -1);
    const Board pending = b;
    b.promote(6);
    b.promote(1);
    EXPECT_TRUE(sameBoard(b, pending));
    b.promote(5);
    EXPECT_EQ(b.squareAt(1, 8).piece, 5);
    EXPECT_FALSE(b.status & PromotionPending);
    EXPECT_FALSE(b.status & KeepSide);
    EXPECT_TRUE(b.status & BlackInCheck);
    EXPECT_EQ(b.sideToMove, -1);
    // The king must now step out of the queen's lines.
    const Names king = targetsOf(b, "c8");
    EXPECT_EQ(std::count(king.begin(), king.end(), "c7"), 1);
    EXPECT_EQ(std::count(king.begin(), king.end(), "b7"), 0);
    EXPECT_EQ(std::count(king.begin(), king.end(), "d8"), 0);
    b.promote(2);
    EXPECT_EQ(b.squareAt(1, 8).piece, 5);
}

TEST(Promotion, BlackPawnOnRankOneBecomesAKnight) {
    Board b = fromFen("4k3/8/8/8/8/8/p7/2K5 b - -");
    ASSERT_EQ(playMoves(b, {"a2a1"}), 1);
    b.promote(3);
    EXPECT_EQ(b.squareAt(1, 1).piece, -3);
    EXPECT_EQ(b.sideToMove, 1);
}

// While the pawn waits on a8 Black has no move and is not in check; the piece it becomes
// decides whether that is stalemate or mate.
TEST(Promotion, ThePromotedPieceDecidesBetweenStalemateAndMate) {
    Board queen = fromFen("2k5/P7/2K1N3/8/5B2/8/8/8 w - -");
    ASSERT_EQ(playMoves(queen, {"a7a8"}), 1);
    EXPECT_FALSE(gameIsOver(queen.status));
    Board knight = queen;
    queen.promote(5);
    EXPECT_EQ(queen.status, static_cast<std::uint32_t>(BlackInCheck | BlackMated));
    EXPECT_TRUE(gameIsOver(queen.status));
    knight.promote(3);
    EXPECT_EQ(knight.status, static_cast<std::uint32_t>(Stalemate));
    EXPECT_TRUE(gameIsOver(knight.status));
}

TEST(Status, StalemateWithoutCheck) {
    Board b = fromFen("7k/4Q3/6K1/8/8/8/8/8 w - -");
    ASSERT_EQ(playMoves(b, {"e7f7"}), 1);
    EXPECT_EQ(b.status, static_cast<std::uint32_t>(Stalemate));
    EXPECT_EQ(b.sideToMove, -1);
}

TEST(Status, MateBitsStayUntilReset) {
    Board b = fromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - -");
    ASSERT_EQ(playMoves(b, {"a1a8"}), 1);
    EXPECT_TRUE(b.status & BlackMated);
    b.reset();
    EXPECT_EQ(b.status, 0u);
}
