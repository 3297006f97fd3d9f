// The computer player's evaluation against scores worked out by hand, its search against a
// plain minimax, and its choice in positions whose right answer is known.
#include "chess/computer.h"

#include "chess_fixture.h"

namespace {

std::string moveText(const Move& move) {
    if (move.fromFile == 0) return "0000";
    return squareName(squareIndex(move.fromFile, move.fromRank)) +
           squareName(squareIndex(move.toFile, move.toRank));
}

// The game's evaluation of a position, for engine colour; it is checked against scores worked
// out by hand below.
int evaluation(const Board& position, int engineColour) {
    ComputerPlayer judge;
    static_cast<Board&>(judge) = position;
    judge.engineColour = engineColour;
    return judge.evaluate();
}

// Plain minimax without pruning, every score from the engine colour's point of view. The end
// of a game is told from the moves themselves: a side without a move is mated in check and
// stalemated out of it, unless a pawn still waits for its piece, which leaves it lost.
int plainMinimax(const Board& position, int depth, int engineColour) {
    const auto moves = legalMoves(position);
    const bool engineToMove = position.sideToMove == engineColour;
    const bool inCheck = position.status & (WhiteInCheck | BlackInCheck);
    if (moves.empty() && !inCheck && !(position.status & PromotionPending)) return 0;
    if (moves.empty()) return engineToMove ? -SearchMax : SearchMax;
    if (depth == 0) return evaluation(position, engineColour);
    int best = engineToMove ? -SearchMax : SearchMax;
    for (const auto& [from, to] : moves) {
        Board child = position;
        child.makeMove(from, to);
        const int value = plainMinimax(child, depth - 1, engineColour);
        if (engineToMove ? value > best : value < best) best = value;
    }
    return best;
}

TEST(ComputerPlayer, EvaluatesMaterialCheckAndMobilityAsWorkedOutByHand) {
    for (const Names& row : rowsIn("evaluations.txt"))
        EXPECT_EQ(evaluation(fromFen(row.at(0)), std::stoi(row.at(1))), std::stoi(row.at(2)))
            << row[0] << " for " << row[1];
}

// The search's score of each root move is the plain minimax's, the first of the best moves is
// chosen, and the move list it walks is the legal moves in generation order. All are taken
// from the position that chooseMove leaves on the computer's board. The sanitizer build
// compares the scores one ply shallower (SEARCH_TEST_DEPTH), and then not the choice.
TEST(ComputerPlayer, AgreesWithAPlainMinimax) {
    for (const Names& row : rowsIn("search_positions.fen")) {
        const Board position = fromFen(row.at(0));
        const std::string chosen = moveText(computer.chooseMove(position));
        std::string best = "0000";
        int bestScore = -SearchMax;
        for (const auto& [from, to] : legalMoves(position)) {
            Board child = position;
            child.makeMove(from, to);
            const int score = plainMinimax(child, SEARCH_TEST_DEPTH, position.sideToMove);
            ComputerPlayer searched = computer;
            searched.makeMove(from, to);
            EXPECT_EQ(score, -searched.search(SEARCH_TEST_DEPTH, -SearchMax, SearchMax))
                << row[0] << " " << squareName(from) << squareName(to);
            if (best == "0000" || score > bestScore) {
                bestScore = score;
                best = squareName(from) + squareName(to);
            }
        }
        if (SEARCH_TEST_DEPTH == 2) { // the depth of the choice
            EXPECT_EQ(best, chosen) << row[0];
        }
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
