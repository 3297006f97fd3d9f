// The computer player against a plain minimax written here as the oracle, and its choice in
// positions whose right answer is known.
#include "chess/computer.h"

#include "chess_fixture.h"

namespace {

std::string moveText(const Move& move) {
    if (move.fromFile == 0) return "0000";
    return squareName(squareIndex(move.fromFile, move.fromRank)) +
           squareName(squareIndex(move.toFile, move.toRank));
}

// The evaluation written out plainly, for engine colour: material, 50 a square while a king is
// in check, and 25 a legal move of the side to move.
int plainEvaluation(const Board& position, int engineColour) {
    const int checkSign = (position.status & WhiteInCheck)   ? 1
                          : (position.status & BlackInCheck) ? -1
                                                             : 0;
    int score = 0;
    for (const Square& square : position.squares)
        score += materialValues[typeOf(square.piece)] * signOf(square.piece) + checkSign * 50;
    for (const auto& move : legalMoves(position))
        score += signOf(position.squares[move.first].piece) * 25;
    return engineColour * score;
}

// Plain minimax without pruning, every score from the engine colour's point of view.
int plainMinimax(const Board& position, int depth, int engineColour) {
    if (position.status & BlackMated) return engineColour * SearchMax;
    if (position.status & WhiteMated) return -engineColour * SearchMax;
    if (position.status & Stalemate) return 0;
    if (depth == 0) return plainEvaluation(position, engineColour);
    const bool engineToMove = position.sideToMove == engineColour;
    // A side left without moves and without a game-over bit counts as lost for it.
    int best = engineToMove ? -SearchMax : SearchMax;
    for (const auto& [from, to] : legalMoves(position)) {
        Board child = position;
        child.makeMove(from, to);
        const int value = plainMinimax(child, depth - 1, engineColour);
        if (engineToMove ? value > best : value < best) best = value;
    }
    return best;
}

// The evaluation and the search's score of each root move are the plain minimax's, the first
// of the best moves is chosen, and the move list it walks is the legal moves in generation
// order. All are taken from the position that chooseMove leaves on the computer's board.
TEST(ComputerPlayer, AgreesWithAPlainMinimax) {
    for (const Names& row : rowsIn("search_positions.fen")) {
        const Board position = fromFen(row.at(0));
        const std::string chosen = moveText(computer.chooseMove(position));
        EXPECT_EQ(plainEvaluation(position, position.sideToMove), computer.evaluate()) << row[0];
        std::string best = "0000";
        int bestScore = -SearchMax;
        for (const auto& [from, to] : legalMoves(position)) {
            Board child = position;
            child.makeMove(from, to);
            const int score = plainMinimax(child, 2, position.sideToMove);
            ComputerPlayer searched = computer;
            searched.makeMove(from, to);
            EXPECT_EQ(score, -searched.search(2, -SearchMax, SearchMax))
                << row[0] << " " << squareName(from) << squareName(to);
            if (best == "0000" || score > bestScore) {
                bestScore = score;
                best = squareName(from) + squareName(to);
            }
        }
        EXPECT_EQ(best, chosen) << row[0];
        Move* const list = computer.allMoves();
        std::vector<std::pair<int, int>> listed;
        for (const Move* m = list; m; m = m->next)
            listed.emplace_back(squareIndex(m->fromFile, m->fromRank),
                                squareIndex(m->toFile, m->toRank));
        freeMoves(list);
        EXPECT_EQ(listed, legalMoves(position)) << row[0];
    }
}

TEST(ComputerPlayer, PlaysTheKnownMove) {
    for (const Names& row : rowsIn("known_moves.txt"))
        EXPECT_EQ(row.at(1), moveText(computer.chooseMove(fromFen(row[0])))) << row[0];
}

} // namespace
