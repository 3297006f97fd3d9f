// The rules of chess through the board's public operations: FEN records, the legal
// destinations of each piece, and what playing a move does to the position.
#include "chess_fixture.h"

namespace {

const char* const start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The placement, the side to move and the en passant square, as a FEN record writes them.
std::string positionOf(const Board& b) {
    const int ep = b.enPassant;
    return placementOf(b) + (b.sideToMove > 0 ? " w " : " b ") +
           (ep < 0 ? "-" : squareName(fileOf(ep), rankOf(ep)));
}

// Rows of "FEN | moves played first | square | destinations in generation order".
class LegalTargets : public testing::TestWithParam<std::string> {};

TEST_P(LegalTargets, AreTheExpectedSquaresInGenerationOrder) {
    Names fields;
    std::istringstream row(GetParam() + " "); // keeps an empty last field
    for (std::string field; std::getline(row, field, '|');)
        fields.push_back(field);
    ASSERT_EQ(fields.size(), 4u) << GetParam();
    Board b = fromFen(fields[0].c_str());
    ASSERT_TRUE(playAll(b, fields[1].c_str())) << GetParam();
    EXPECT_EQ(targetsOf(b, wordsOf(fields[2]).at(0).c_str()), wordsOf(fields[3])) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Positions, LegalTargets,
                         testing::ValuesIn(recordsIn("legal_targets.txt")));

// A square is in a target list only when its file and rank both match (the knight on b1
// reaches a3 and c3, not b3 or a4).
TEST(TargetList, ContainsASquareOnlyWhenFileAndRankBothMatch) {
    Board b = fromFen(start);
    MoveTarget* targets = b.legalTargetsAt(2, 1);
    EXPECT_EQ(targetListContains(1, 3, targets), 1);
    EXPECT_EQ(targetListContains(3, 3, targets), 1);
    EXPECT_EQ(targetListContains(2, 3, targets), 0);
    EXPECT_EQ(targetListContains(1, 4, targets), 0);
    EXPECT_EQ(targetListContains(1, 3, nullptr), 0);
    freeTargets(targets);
}

// Fixed faults: en passant that uncovers the own king along the rank or the diagonal, and
// en passant that blocks a check on the square it lands on.
TEST(EnPassant, IsRefusedWhenItUncoversTheKingAlongTheRank) {
    EXPECT_EQ(targetsOf(fromFen("8/8/8/KPp4r/8/8/8/7k w - c6"), "b5"), Names{"b6"});
}

TEST(EnPassant, IsRefusedWhenTheCapturedPawnShieldedTheKingDiagonally) {
    EXPECT_EQ(targetsOf(fromFen("8/k7/8/8/2pP4/8/8/4K1B1 b - d3"), "c4"), Names{"c3"});
}

TEST(EnPassant, BlocksACheckOnTheSquareItLandsOn) {
    const Board b = fromFen("k5b1/8/8/4pP2/2K5/8/8/8 w - e6 0 2");
    ASSERT_TRUE(b.status & WhiteInCheck);
    EXPECT_EQ(targetsOf(b, "f5"), Names{"e6"});
}

struct PlayCase {
    const char* fen;
    const char* moves;
    const char* position; // placement, side to move, en passant square
    std::uint32_t status;
};

class PlayingMoves : public testing::TestWithParam<PlayCase> {};

TEST_P(PlayingMoves, LeavesTheExpectedPositionAndStatus) {
    const PlayCase& c = GetParam();
    Board b = fromFen(c.fen);
    ASSERT_TRUE(playAll(b, c.moves)) << c.moves;
    EXPECT_EQ(positionOf(b), c.position) << c.fen << " " << c.moves;
    EXPECT_EQ(b.status, c.status) << c.fen << " " << c.moves;
    EXPECT_EQ(allMovesOf(b).empty(), gameIsOver(b.status)) << c.fen << " " << c.moves;
}

const char* const promotion = "2k5/P7/8/8/8/8/8/4K3 w - -";

INSTANTIATE_TEST_SUITE_P(
    Games, PlayingMoves,
    testing::Values(
        PlayCase{start, "", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w -", 0},
        PlayCase{start, "e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b e3", 0},
        PlayCase{start, "e2e4 g8f6", "rnbqkb1r/pppppppp/5n2/8/4P3/8/PPPP1PPP/RNBQKBNR w -", 0},
        PlayCase{start, "e2e4 c7c5 e4e5 d7d5 e5d6",
                 "rnbqkbnr/pp2pppp/3P4/2p5/8/8/PPPP1PPP/RNBQKBNR b -", 0},
        PlayCase{start, "f2f3 e7e5 g2g4 d8h4",
                 "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w -", WhiteInCheck | WhiteMated},
        PlayCase{"4k3/8/8/8/8/8/8/R3K3 w - -", "a1a8", "R3k3/8/8/8/8/8/8/4K3 b -", BlackInCheck},
        PlayCase{"4k3/8/8/8/8/8/8/R3K3 w - -", "a1a8 e8e7", "R7/4k3/8/8/8/8/8/4K3 w -", 0},
        PlayCase{"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b -", 0},
        PlayCase{"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8c8", "2kr3r/8/8/8/8/8/8/R3K2R w -", 0},
        PlayCase{"7k/4Q3/6K1/8/8/8/8/8 w - -", "e7f7", "7k/5Q2/6K1/8/8/8/8/8 b -", Stalemate},
        PlayCase{"6k1/5ppp/8/8/8/8/8/R5K1 w - -", "a1a8", "R5k1/5ppp/8/8/8/8/8/6K1 b -",
                 BlackInCheck | BlackMated},
        PlayCase{"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", "",
                 "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w -", WhiteInCheck | WhiteMated},
        PlayCase{"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "", "4k3/8/8/3pP3/8/8/8/4K3 w d6", 0},
        // A pawn on its last rank waits for its piece; the side to move stays the opponent's.
        PlayCase{promotion, "a7a8", "P1k5/8/8/8/8/8/8/4K3 b -", PromotionPending},
        PlayCase{promotion, "a7a8k", "P1k5/8/8/8/8/8/8/4K3 b -", PromotionPending},
        PlayCase{promotion, "a7a8q", "Q1k5/8/8/8/8/8/8/4K3 b -", BlackInCheck},
        PlayCase{"4k3/8/8/8/8/8/p7/2K5 b - -", "a2a1n", "4k3/8/8/8/8/8/8/n1K5 w -", 0}));

// While the pawn waits on a8 Black has no move and is not in check: the piece it becomes
// decides between stalemate and mate.
TEST(Promotion, ThePromotedPieceDecidesBetweenStalemateAndMate) {
    Board queen = fromFen("2k5/P7/2K1N3/8/5B2/8/8/8 w - -");
    ASSERT_TRUE(playAll(queen, "a7a8"));
    EXPECT_FALSE(gameIsOver(queen.status));
    Board knight = queen;
    queen.promote(Queen);
    EXPECT_EQ(queen.status, static_cast<std::uint32_t>(BlackInCheck | BlackMated));
    EXPECT_TRUE(gameIsOver(queen.status));
    knight.promote(Knight);
    EXPECT_EQ(knight.status, static_cast<std::uint32_t>(Stalemate));
    EXPECT_TRUE(gameIsOver(knight.status));
}

TEST(Promotion, AnotherPromotionOnceThePieceIsChosenChangesNothing) {
    Board b = fromFen(promotion);
    ASSERT_TRUE(playAll(b, "a7a8q"));
    b.promote(Rook);
    b.promote(Pawn);
    EXPECT_EQ(positionOf(b), "Q1k5/8/8/8/8/8/8/4K3 b -");
}

TEST(MakeMove, IllegalMovesAreRefusedAndChangeNothing) {
    Board b = fromFen(start);
    for (const char* move : {"e2e5", "e7e5", "e4e5", "a1a3", "e1e2"})
        EXPECT_FALSE(playAll(b, move)) << move;
    EXPECT_EQ(b.makeMove(0, squareFromText("a8")), 0);
    EXPECT_EQ(b.makeMove(-5, 400), 0);
    EXPECT_EQ(b.makeMoveAt(0, 0, 0, 0), 0);
    EXPECT_EQ(positionOf(b), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w -");
    EXPECT_EQ(b.status, 0u);
}

TEST(Reset, AFinishedGameResetIsTheStartingPositionAgain) {
    Board b;
    EXPECT_EQ(positionOf(b), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w -");
    EXPECT_EQ(allMovesOf(b), allMovesOf(fromFen(start)));
    ASSERT_TRUE(playAll(b, "f2f3 e7e5 g2g4 d8h4"));
    b.reset();
    EXPECT_EQ(positionOf(b), positionOf(fromFen(start)));
    EXPECT_EQ(b.status, 0u);
    EXPECT_EQ(allMovesOf(b), allMovesOf(fromFen(start)));
    EXPECT_EQ(targetsOf(b, "e1"), Names{});
}

TEST(NoLegalMove, IsAnsweredForEitherSideAndLeavesTheProbeFlagClear) {
    Board b;
    EXPECT_EQ(b.hasNoLegalMove(1), 0);
    EXPECT_EQ(b.hasNoLegalMove(-1), 0);
    EXPECT_EQ(b.status & ProbeEitherSide, 0u);
    Board stalemate = fromFen("7k/5Q2/6K1/8/8/8/8/8 b - -");
    EXPECT_EQ(stalemate.hasNoLegalMove(-1), 1);
    EXPECT_EQ(stalemate.hasNoLegalMove(1), 0);
}

// Fixed fault: impossible positions, such as an en passant square no double step can have
// made, are rejected along with malformed records.
TEST(Fen, MalformedOrImpossibleRecordsAreRejectedAndChangeNothing) {
    for (const std::string& fen : recordsIn("rejected.fen")) {
        Board b;
        ASSERT_TRUE(playAll(b, "e2e4"));
        EXPECT_EQ(setFromFen(b, fen.c_str()), 0) << fen;
        EXPECT_EQ(positionOf(b), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b e3") << fen;
    }
    Board b;
    EXPECT_EQ(setFromFen(b, ""), 0);
    EXPECT_EQ(setFromFen(b, nullptr), 0);
}

} // namespace
