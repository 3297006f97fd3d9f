#include "chess/board.h"

#include "chess_fixture.h"

TEST(Coordinates, SquareIndexAndBackAgree) {
    EXPECT_EQ(squareIndex(1, 8), 26);
    EXPECT_EQ(squareIndex(5, 8), 30);
    EXPECT_EQ(squareIndex(8, 8), 33);
    EXPECT_EQ(squareIndex(1, 1), 110);
    EXPECT_EQ(squareIndex(5, 1), 114);
    EXPECT_EQ(squareIndex(8, 1), 117);
    for (int index = 0; index < BoardSquares; ++index)
        EXPECT_EQ(squareIndex(fileOf(index), rankOf(index)), index);
    EXPECT_EQ(fileOf(0), -1);
    EXPECT_EQ(rankOf(0), 10);
    EXPECT_EQ(fileOf(143), 10);
    EXPECT_EQ(rankOf(143), -1);
}

TEST(Coordinates, SquareNamesWithUnknownCharactersGiveZero) {
    EXPECT_EQ(squareFromText("e2"), 102);
    EXPECT_EQ(squareFromText("a1"), 110);
    EXPECT_EQ(squareFromText("h8"), 33);
    EXPECT_EQ(squareFromText("E2"), 97);
    EXPECT_EQ(squareFromText("e9"), squareIndex(5, 0));
    EXPECT_EQ(squareFromText(""), squareIndex(0, 0));
}

TEST(Coordinates, SignOf) {
    EXPECT_EQ(signOf(-7), -1);
    EXPECT_EQ(signOf(0), 0);
    EXPECT_EQ(signOf(3), 1);
}

TEST(Reset, StartingPositionWithBorderAndNoState) {
    const Board b;
    EXPECT_EQ(b.sideToMove, 1);
    EXPECT_EQ(b.status, 0u);
    EXPECT_EQ(b.enPassant, -1);
    int pieces = 0, borders = 0;
    for (const Square& square : b.squares) {
        EXPECT_EQ(square.untouched, 1);
        pieces += square.piece != 0 && square.piece != BorderCode;
        borders += square.piece == BorderCode;
    }
    EXPECT_EQ(pieces, 32);
    EXPECT_EQ(borders, 144 - 64);
    const int back[8] = {2, 3, 4, 5, 6, 4, 3, 2};
    for (int file = 1; file <= 8; ++file) {
        EXPECT_EQ(b.squareAt(file, 1).piece, back[file - 1]);
        EXPECT_EQ(b.squareAt(file, 2).piece, 1);
        EXPECT_EQ(b.squareAt(file, 7).piece, -1);
        EXPECT_EQ(b.squareAt(file, 8).piece, -back[file - 1]);
    }
}

TEST(Reset, AttackCountsWithoutPinsOrChecks) {
    const Board b;
    const Square e2 = b.squareAt(5, 2);
    EXPECT_EQ(e2.whiteAttackers, 4);
    EXPECT_EQ(e2.blackAttackers, 0);
    // The last white attacker in index order is the knight on g1.
    EXPECT_EQ(e2.whiteAttacker, squareFromText("g1"));
    EXPECT_EQ(b.squareAt(6, 3).whiteAttackers, 3);
    EXPECT_EQ(b.squareAt(5, 4).whiteAttackers, 0);
    EXPECT_EQ(b.squareAt(5, 4).blackAttackers, 0);
    EXPECT_EQ(b.squareAt(5, 4).whiteAttacker, -1);
    EXPECT_EQ(b.squareAt(4, 6).blackAttackers, 2);
    for (const Square& square : b.squares) {
        EXPECT_EQ(square.pinned, 0);
        EXPECT_EQ(square.pinFile, -1);
    }
}

TEST(Reset, AGamePlayedThenResetIsTheStartAgain) {
    Board b;
    playMoves(b, {"e2e4", "e7e5", "g1f3"});
    b.reset();
    const Board fresh;
    for (int i = 0; i < BoardSquares; ++i) {
        EXPECT_EQ(b.squares[i].piece, fresh.squares[i].piece);
        EXPECT_EQ(b.squares[i].untouched, 1);
        EXPECT_EQ(b.squares[i].whiteAttackers, fresh.squares[i].whiteAttackers);
    }
    EXPECT_EQ(b.sideToMove, 1);
    EXPECT_EQ(b.enPassant, -1);
}

TEST(Reset, BoardsAreCopiedByValue) {
    Board a;
    const Board copy = a;
    playMoves(a, {"e2e4"});
    EXPECT_EQ(copy.squareAt(5, 2).piece, 1);
    EXPECT_EQ(copy.sideToMove, 1);
    EXPECT_EQ(a.squareAt(5, 4).piece, 1);
}

TEST(Queries, FindKingSearchesFromRankOne) {
    const Board b;
    int file, rank;
    b.findKing(-1, file, rank);
    EXPECT_EQ(file, 5);
    EXPECT_EQ(rank, 8);
    b.findKing(1, file, rank);
    EXPECT_EQ(file, 5);
    EXPECT_EQ(rank, 1);
    Board noBlackKing = b;
    noBlackKing.squares[squareFromText("e8")].piece = 0;
    noBlackKing.findKing(-1, file, rank);
    EXPECT_EQ(file, -1);
    EXPECT_EQ(rank, -1);
}

TEST(Queries, EnemiesAndSideToMovePiecesNeverIncludeTheBorder) {
    const Board b;
    EXPECT_EQ(b.isEnemy(1, -3), 1);
    EXPECT_EQ(b.isEnemy(-5, 2), 1);
    EXPECT_EQ(b.isEnemy(1, 2), 0);
    EXPECT_EQ(b.isEnemy(1, 0), 0);
    EXPECT_EQ(b.isEnemy(1, BorderCode), 0);
    EXPECT_EQ(b.isEnemy(-1, BorderCode), 0);
    EXPECT_EQ(b.isSideToMovePiece(0), 0);
    EXPECT_EQ(b.isSideToMovePiece(squareFromText("e2")), 1);
    EXPECT_EQ(b.isSideToMovePiece(squareFromText("e7")), 0);
    EXPECT_EQ(b.isSideToMovePiece(squareFromText("e4")), 0);
    Board black = fromFen("4k3/8/8/8/8/8/8/4K3 b - -");
    EXPECT_EQ(black.isSideToMovePiece(0), 0);
    EXPECT_EQ(black.isSideToMovePiece(squareFromText("e8")), 1);
}

TEST(Lists, AppendKeepsTheHeadAndTheOrder) {
    MoveTarget* list = nullptr;
    EXPECT_EQ(targetListContains(1, 1, list), 0);
    list = appendTarget(list, 1, 2, 0, 0);
    MoveTarget* const head = list;
    list = appendTarget(list, 3, 4, 1, 0);
    list = appendTarget(list, 5, 6, 0, 1);
    EXPECT_EQ(list, head);
    EXPECT_EQ(targetListContains(3, 4, list), 1);
    EXPECT_EQ(targetListContains(4, 3, list), 0);
    EXPECT_EQ(list->next->castle, 1);
    EXPECT_EQ(list->next->next->doubleStep, 1);
    EXPECT_EQ(list->next->next->next, nullptr);
    EXPECT_EQ(names(list), (Names{"a2", "c4", "e6"}));
}
