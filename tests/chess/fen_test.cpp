#include "chess_fixture.h"

TEST(Fen, StartPositionEqualsReset) {
    const Board fen = fromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const Board reset;
    for (int i = 0; i < BoardSquares; ++i) {
        EXPECT_EQ(fen.squares[i].piece, reset.squares[i].piece) << i;
        EXPECT_EQ(fen.squares[i].untouched, 1) << i;
        EXPECT_EQ(fen.squares[i].whiteAttackers, reset.squares[i].whiteAttackers) << i;
        EXPECT_EQ(fen.squares[i].blackAttackers, reset.squares[i].blackAttackers) << i;
    }
    EXPECT_EQ(fen.sideToMove, 1);
    EXPECT_EQ(fen.status, 0u);
    EXPECT_EQ(fen.enPassant, -1);
}

TEST(Fen, CastlingRightsClearTheirCornersAndTheKing) {
    const Board b = fromFen("r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1");
    EXPECT_EQ(b.squareAt(8, 1).untouched, 1);
    EXPECT_EQ(b.squareAt(1, 1).untouched, 0);
    EXPECT_EQ(b.squareAt(5, 1).untouched, 1);
    EXPECT_EQ(b.squareAt(8, 8).untouched, 0);
    EXPECT_EQ(b.squareAt(1, 8).untouched, 1);
    const Board none = fromFen("r3k2r/8/8/8/8/8/8/R3K2R b - -");
    EXPECT_EQ(none.squareAt(5, 1).untouched, 0);
    EXPECT_EQ(none.squareAt(5, 8).untouched, 0);
    EXPECT_EQ(none.sideToMove, -1);
}

TEST(Fen, CastlingRightsNeedTheKingAndRookAtHome) {
    const Board b = fromFen("R3K2R/8/8/8/8/8/8/4k3 w kq - 0 1");
    EXPECT_EQ(b.squareAt(1, 8).untouched, 0);
    EXPECT_EQ(b.squareAt(8, 8).untouched, 0);
    const Names king = targetsOf(b, "e8");
    EXPECT_EQ(std::count(king.begin(), king.end(), "g8"), 0);
    EXPECT_EQ(std::count(king.begin(), king.end(), "c8"), 0);
}

TEST(Fen, StatusDescribesThePosition) {
    const Board mated = fromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_EQ(mated.status, static_cast<std::uint32_t>(WhiteInCheck | WhiteMated));
    const Board stalemate = fromFen("7k/5Q2/6K1/8/8/8/8/8 b - -");
    EXPECT_EQ(stalemate.status, static_cast<std::uint32_t>(Stalemate));
    const Board ep = fromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
    EXPECT_EQ(ep.enPassant, squareFromText("d6"));
}

TEST(Fen, MalformedRecordsAreRejectedAndChangeNothing) {
    const char* const bad[] = {
        "",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNRR w KQkq -",
        "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e4",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 extra",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN1 w KQkq - x",
        "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w KQkq -",
        "P3k3/8/8/8/8/8/8/4K3 w - -",
        "R3k3/8/8/8/8/8/8/4K3 w - -",
        "4k3/8/8/8/8/8/8/4K3",
        "4k3/8/8/3PN3/8/8/8/4K3 w - e6 0 1",
        "4k3/4p3/8/3Pp3/8/8/8/4K3 w - e6 0 1",
    };
    for (const char* fen : bad) {
        Board b;
        b.makeMoveAt(5, 2, 5, 4);
        const Board before = b;
        EXPECT_EQ(setFromFen(b, fen), 0) << fen;
        EXPECT_EQ(b.sideToMove, before.sideToMove) << fen;
        EXPECT_EQ(b.squareAt(5, 4).piece, 1) << fen;
        EXPECT_EQ(b.enPassant, before.enPassant) << fen;
    }
    Board b;
    EXPECT_EQ(setFromFen(b, nullptr), 0);
}
