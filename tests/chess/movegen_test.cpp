#include "chess_fixture.h"

TEST(AttackedSquares, PawnAttacksBothDiagonalsWhateverTheyHold) {
    const Board b;
    EXPECT_EQ(names(b.attackedSquares(squareFromText("a2"))), (Names{"b3", "??"}));
    EXPECT_EQ(names(b.attackedSquares(squareFromText("e7"))), (Names{"d6", "f6"}));
    EXPECT_EQ(b.attackedSquares(squareFromText("e4")), nullptr);
    EXPECT_EQ(b.attackedSquares(0), nullptr);
}

TEST(AttackedSquares, SlidersStopAtPiecesButRunThroughTheEnemyKing) {
    const Board b = fromFen("8/8/8/8/R3k3/8/8/4K3 b - -");
    const Names rook = names(b.attackedSquares(squareFromText("a4")));
    // Direction 4 (towards a) meets the border, 5 runs up, 6 runs through the king to h4.
    EXPECT_EQ(rook, (Names{"??", "a5", "a6", "a7", "a8", "??", "b4", "c4", "d4", "e4", "f4", "g4",
                           "h4", "??", "a3", "a2", "a1", "??"}));
    const Board own = fromFen("7k/8/8/8/R3B3/8/8/4K3 w - -");
    const Names blocked = names(own.attackedSquares(squareFromText("a4")));
    EXPECT_EQ(std::count(blocked.begin(), blocked.end(), "e4"), 1);
    EXPECT_EQ(std::count(blocked.begin(), blocked.end(), "f4"), 0);
}

TEST(Generation, StartPositionOrders) {
    const Board b;
    EXPECT_EQ(names(b.legalTargetsAt(2, 1)), (Names{"a3", "c3"}));
    MoveTarget* pawn = b.legalTargetsAt(5, 2);
    ASSERT_NE(pawn, nullptr);
    ASSERT_NE(pawn->next, nullptr);
    EXPECT_EQ(pawn->doubleStep, 0);
    EXPECT_EQ(pawn->next->doubleStep, 1);
    EXPECT_EQ(names(pawn), (Names{"e3", "e4"}));
    for (int file = 1; file <= 8; ++file) {
        EXPECT_EQ(b.legalTargetsAt(file, 7), nullptr);
        EXPECT_EQ(b.legalTargetsAt(file, 8), nullptr);
    }
    EXPECT_EQ(b.legalTargetsAt(5, 4), nullptr);
    EXPECT_EQ(b.legalTargetsAt(-1, -1), nullptr);
    EXPECT_EQ(b.legalTargetsAt(0, 0), nullptr);
    EXPECT_EQ(allMovesOf(b).size(), 20u);
}

TEST(Generation, EachPieceInItsDirectionOrder) {
    const Board b = fromFen("4k3/8/8/8/3Q4/8/8/4K3 w - -");
    // Diagonals first (+13, +11, -13, -11), then the lines (-1, -12, +1, +12).
    const Names queen = targetsOf(b, "d4");
    ASSERT_GE(queen.size(), 4u);
    EXPECT_EQ(queen[0], "e3");
    EXPECT_EQ(queen[1], "f2");
    EXPECT_EQ(queen[2], "g1");
    EXPECT_EQ(queen[3], "c3");
    EXPECT_EQ(queen.back(), "d1");
    const Board knight = fromFen("4k3/8/8/8/3N4/8/8/4K3 w - -");
    EXPECT_EQ(targetsOf(knight, "d4"), (Names{"c6", "e6", "f5", "f3", "e2", "c2", "b3", "b5"}));
    const Board black = fromFen("4k3/8/8/3n4/8/8/8/4K3 b - -");
    // Black steps by the negated deltas.
    EXPECT_EQ(targetsOf(black, "d5"), (Names{"e3", "c3", "b4", "b6", "c7", "e7", "f6", "f4"}));
}

TEST(Generation, KingAvoidsSquaresCoveredThroughItself) {
    const Board b = fromFen("4k3/8/8/8/4K3/8/8/4r3 w - -");
    ASSERT_TRUE(b.status & WhiteInCheck);
    const Names king = targetsOf(b, "e4");
    EXPECT_EQ(std::count(king.begin(), king.end(), "e5"), 0);
    EXPECT_EQ(std::count(king.begin(), king.end(), "e3"), 0);
    EXPECT_EQ(std::count(king.begin(), king.end(), "d5"), 1);
}

TEST(Pins, PinnedKnightHasNoMoves) {
    const Board b = fromFen("4k3/8/8/8/4r3/8/4N3/4K3 w - -");
    EXPECT_EQ(targetsOf(b, "e2"), Names{});
    EXPECT_EQ(b.squareAt(5, 2).pinned, 1);
    EXPECT_EQ(b.squareAt(5, 2).pinFile, 0);
    EXPECT_EQ(b.squareAt(5, 2).pinRank, -1);
}

TEST(Pins, PinnedRookKeepsItsFileAndCapturesThePinner) {
    const Board b = fromFen("4k3/4r3/8/8/8/8/4R3/4K3 w - -");
    EXPECT_EQ(targetsOf(b, "e2"), (Names{"e3", "e4", "e5", "e6", "e7"}));
}

TEST(Pins, PinnedPawnMayOnlyCaptureAlongTheDiagonal) {
    const Board b = fromFen("4k3/8/8/b7/8/2P5/3K4/8 w - -");
    EXPECT_EQ(targetsOf(b, "c3"), Names{});
    const Board capture = fromFen("4k3/8/8/8/1b6/2P5/3K4/8 w - -");
    EXPECT_EQ(targetsOf(capture, "c3"), (Names{"b4"}));
}

TEST(Pins, TwoPiecesBetweenMakeNoPin) {
    const Board b = fromFen("4k3/4r3/8/8/4N3/8/4B3/4K3 w - -");
    EXPECT_EQ(b.squareAt(5, 2).pinned, 0);
    EXPECT_EQ(b.squareAt(5, 4).pinned, 0);
    EXPECT_EQ(targetsOf(b, "e4").size(), 8u);
}

TEST(Check, SingleCheckByABishopIsBlockedOrCaptured) {
    const Board b = fromFen("4k3/8/8/b7/8/8/8/R3K3 w - -");
    ASSERT_TRUE(b.status & WhiteInCheck);
    // Squares between a5 and e1 are b4, c3, d2; the rook on a1 can reach only a5 itself.
    EXPECT_EQ(targetsOf(b, "a1"), (Names{"a5"}));
    const Board blocker = fromFen("4k3/8/8/b7/8/8/1R6/4K3 w - -");
    EXPECT_EQ(targetsOf(blocker, "b2"), (Names{"b4", "d2"}));
    MoveTarget* evasions = b.evasionSquares(squareFromText("a5"));
    EXPECT_EQ(names(evasions), (Names{"b4", "c3", "d2", "a5"}));
}

TEST(Check, KnightCheckIsAnsweredOnlyByCaptureOrKingMoves) {
    const Board b = fromFen("4k3/8/8/8/8/3n4/8/R3K3 w - -");
    EXPECT_EQ(names(b.evasionSquares(squareFromText("d3"))), (Names{"d3"}));
    EXPECT_EQ(targetsOf(b, "a1"), Names{});
}

TEST(Check, DoubleCheckLeavesOnlyKingMovesWhichMayTakeAnUndefendedChecker) {
    const Board b = fromFen("4k3/8/8/8/8/5n2/3Q4/r3K3 w - -");
    ASSERT_TRUE(b.status & WhiteInCheck);
    EXPECT_EQ(b.squareAt(5, 1).blackAttackers, 2);
    EXPECT_EQ(targetsOf(b, "d2"), Names{});
    const Names king = targetsOf(b, "e1");
    EXPECT_EQ(king, (Names{"f2", "e2"}));
    const Board take = fromFen("4k3/8/8/8/8/3n4/4r3/4K3 w - -");
    ASSERT_EQ(take.squareAt(5, 1).blackAttackers, 2);
    const Names taking = targetsOf(take, "e1");
    EXPECT_EQ(taking, (Names{"d1", "e2", "f1"}));
}

TEST(Castling, BothSidesWhenFreeAndSafe) {
    const Board b = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    MoveTarget* king = b.legalTargetsAt(5, 1);
    int kingSide = 0, queenSide = 0;
    for (const MoveTarget* node = king; node; node = node->next) {
        if (node->castle == 1) kingSide = node->file;
        if (node->castle == 2) queenSide = node->file;
    }
    freeTargets(king);
    EXPECT_EQ(kingSide, 7);
    EXPECT_EQ(queenSide, 3);
}

TEST(Castling, NotThroughAttackedSquaresButPastAnAttackedBFile) {
    const Board fAttacked = fromFen("4kr2/8/8/8/8/8/8/R3K2R w KQ -");
    const Names f = targetsOf(fAttacked, "e1");
    EXPECT_EQ(std::count(f.begin(), f.end(), "g1"), 0);
    EXPECT_EQ(std::count(f.begin(), f.end(), "c1"), 1);
    const Board dAttacked = fromFen("3rk3/8/8/8/8/8/8/R3K2R w KQ -");
    const Names d = targetsOf(dAttacked, "e1");
    EXPECT_EQ(std::count(d.begin(), d.end(), "c1"), 0);
    EXPECT_EQ(std::count(d.begin(), d.end(), "g1"), 1);
    const Board bAttacked = fromFen("1r2k3/8/8/8/8/8/8/R3K2R w KQ -");
    const Names bFile = targetsOf(bAttacked, "e1");
    EXPECT_EQ(std::count(bFile.begin(), bFile.end(), "c1"), 1);
    const Board blocked = fromFen("4k3/8/8/8/8/8/8/RN2K1NR w KQ -");
    EXPECT_EQ(targetsOf(blocked, "e1"), (Names{"d2", "f2", "d1", "e2", "f1"}));
}

TEST(Castling, NotAfterTheKingOrRookHasMovedAndComeBack) {
    Board b = fromFen("4k3/8/8/8/8/8/8/R3K2R w KQ -");
    playMoves(b, {"e1e2", "e8e7", "e2e1", "e7e8"});
    const Names king = targetsOf(b, "e1");
    EXPECT_EQ(std::count(king.begin(), king.end(), "g1"), 0);
    Board rook = fromFen("4k3/8/8/8/8/8/8/R3K2R w KQ -");
    playMoves(rook, {"h1h2", "e8e7", "h2h1", "e7e8"});
    const Names afterRook = targetsOf(rook, "e1");
    EXPECT_EQ(std::count(afterRook.begin(), afterRook.end(), "g1"), 0);
    EXPECT_EQ(std::count(afterRook.begin(), afterRook.end(), "c1"), 1);
}

TEST(Castling, NeverOutOfCheck) {
    const Board b = fromFen("4r1k1/8/8/8/8/8/8/R3K2R w KQ -");
    const Names king = targetsOf(b, "e1");
    EXPECT_EQ(std::count(king.begin(), king.end(), "g1"), 0);
    EXPECT_EQ(std::count(king.begin(), king.end(), "c1"), 0);
}

TEST(EnPassant, EitherDiagonal) {
    const Board d6 = fromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
    EXPECT_EQ(targetsOf(d6, "e5"), (Names{"e6", "d6"}));
    const Board e3 = fromFen("4k3/8/8/8/3pP3/8/8/4K3 b - e3");
    EXPECT_EQ(targetsOf(e3, "d4"), (Names{"d3", "e3"}));
}

TEST(EnPassant, NotWhenTheCaptureUncoversTheKingAlongItsRank) {
    const Board b = fromFen("8/8/8/KPp4r/8/8/8/7k w - c6");
    EXPECT_EQ(targetsOf(b, "b5"), (Names{"b6"}));
}

TEST(EnPassant, NotWhenTheCapturedPawnShieldedTheKingDiagonally) {
    const Board b = fromFen("8/k7/8/8/2pP4/8/8/4K1B1 b - d3");
    EXPECT_EQ(targetsOf(b, "c4"), (Names{"c3"}));
    const Board open = fromFen("8/k7/8/8/2pP4/8/8/4K3 b - d3");
    EXPECT_EQ(targetsOf(open, "c4"), (Names{"c3", "d3"}));
}

TEST(EnPassant, CapturesAPawnThatGivesCheck) {
    const Board b = fromFen("8/8/8/2k5/3Pp3/8/8/4K3 b - d3");
    ASSERT_TRUE(b.status & BlackInCheck);
    EXPECT_EQ(targetsOf(b, "e4"), (Names{"d3"}));
}

TEST(EnPassant, BlocksACheckOnTheSquareItLandsOn) {
    const Board b = fromFen("k5b1/8/8/4pP2/2K5/8/8/8 w - e6 0 2");
    ASSERT_TRUE(b.status & WhiteInCheck);
    EXPECT_EQ(targetsOf(b, "f5"), (Names{"e6"}));
}

TEST(NoLegalMove, AnswersForEitherSideAndLeavesTheProbeFlagClear) {
    Board b;
    EXPECT_EQ(b.hasNoLegalMove(1), 0);
    EXPECT_EQ(b.hasNoLegalMove(-1), 0);
    EXPECT_EQ(b.status & ProbeEitherSide, 0u);
    Board stalemate = fromFen("7k/5Q2/6K1/8/8/8/8/8 b - -");
    EXPECT_EQ(stalemate.hasNoLegalMove(-1), 1);
    EXPECT_EQ(stalemate.hasNoLegalMove(1), 0);
}
