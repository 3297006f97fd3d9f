// The computer player against a plain minimax written here as the oracle, and its choice in
// positions whose right answer is known.
#include "chess/computer.h"

#include <cstring>

#include "chess_fixture.h"

namespace {

std::string moveText(const Move& move) {
    if (move.fromFile == 0) return "0000";
    return squareName(move.fromFile, move.fromRank) + squareName(move.toFile, move.toRank);
}

// The legal moves of the side to move as (from, to) square indices, in generation order.
struct IndexMove {
    int from;
    int to;
};

std::vector<IndexMove> legalMoves(const Board& position) {
    std::vector<IndexMove> moves;
    for (int from = 0; from < BoardSquares; ++from) {
        MoveTarget* const targets = position.legalTargets(from);
        for (const MoveTarget* t = targets; t; t = t->next)
            moves.push_back({from, squareIndex(t->file, t->rank)});
        freeTargets(targets);
    }
    return moves;
}

// The evaluation written out plainly over whole target lists, for engine colour: material,
// 50 a square while a king is in check, and 25 a legal destination.
int plainEvaluation(const Board& position, int engineColour) {
    const int checkSign = (position.status & WhiteInCheck)   ? 1
                          : (position.status & BlackInCheck) ? -1
                                                             : 0;
    int score = 0;
    for (int index = 0; index < BoardSquares; ++index) {
        const int piece = position.squares[index].piece;
        score += materialValues[typeOf(piece)] * signOf(piece) * engineColour;
        score += engineColour * checkSign * 50;
        MoveTarget* const targets = position.legalTargets(index);
        for (const MoveTarget* t = targets; t; t = t->next)
            score += engineColour * signOf(piece) * 25;
        freeTargets(targets);
    }
    return score;
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
    for (const IndexMove& move : legalMoves(position)) {
        Board child = position;
        child.makeMove(move.from, move.to);
        const int value = plainMinimax(child, depth - 1, engineColour);
        if (engineToMove ? value > best : value < best) best = value;
    }
    return best;
}

// The root scores of the search, through its public operations on copies of the scratch
// board that chooseMove leaves behind.
std::vector<int> searchRootScores(const ComputerPlayer& root) {
    std::vector<int> scores;
    for (const IndexMove& move : legalMoves(root)) {
        ComputerPlayer child = root;
        child.makeMove(move.from, move.to);
        scores.push_back(-child.search(2, -SearchMax, SearchMax));
    }
    return scores;
}

class AgainstPlainMinimax : public testing::TestWithParam<std::string> {};

// Same root scores, the first of the best moves chosen, and the same evaluation for either
// engine colour.
TEST_P(AgainstPlainMinimax, SameEvaluationSameRootScoresAndSameMove) {
    const Board position = fromFen(GetParam().c_str());
    const std::string move = moveText(computer.chooseMove(position));
    const std::vector<IndexMove> moves = legalMoves(position);
    std::vector<int> expected;
    std::string best = moves.empty() ? "0000" : "";
    int bestScore = -SearchMax;
    for (const IndexMove& m : moves) {
        Board child = position;
        child.makeMove(m.from, m.to);
        expected.push_back(plainMinimax(child, 2, position.sideToMove));
        if (best.empty() || expected.back() > bestScore) {
            bestScore = expected.back();
            best =
                squareName(fileOf(m.from), rankOf(m.from)) + squareName(fileOf(m.to), rankOf(m.to));
        }
    }
    EXPECT_EQ(expected, searchRootScores(computer));
    EXPECT_EQ(best, move);
    for (const int colour : {1, -1}) {
        ComputerPlayer player;
        static_cast<Board&>(player) = position;
        player.engineColour = colour;
        EXPECT_EQ(plainEvaluation(position, colour), player.evaluate()) << colour;
    }
}

INSTANTIATE_TEST_SUITE_P(VariedPositions, AgainstPlainMinimax,
                         testing::ValuesIn(recordsIn("search_positions.fen")));

struct ChoiceCase {
    const char* fen;
    const char* move;
};

class KnownChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(KnownChoice, IsPlayed) {
    EXPECT_EQ(GetParam().move, moveText(computer.chooseMove(fromFen(GetParam().fen))));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, KnownChoice,
    testing::Values(
        // Qxf7 mates, among several captures of the queen.
        ChoiceCase{"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", "h5f7"},
        // Ra1 and Rb1 both mate: the first in list order is played.
        ChoiceCase{"6k1/8/8/8/8/8/rr4PP/7K b - - 0 1", "a2a1"},
        // Stalemate and checkmate: no move at all.
        ChoiceCase{"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "0000"},
        ChoiceCase{"R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", "0000"}));

// Fixed fault: when every move loses to mate the first legal move is still played.
TEST(ComputerPlayer, PlaysTheFirstMoveWhenEveryMoveLosesToMate) {
    // b5 and Kg1 both allow Ra1 mate.
    EXPECT_EQ("b4b5", moveText(computer.chooseMove(fromFen("8/8/8/8/1P6/6k1/r7/7K w - - 0 1"))));
    for (const int score : searchRootScores(computer))
        EXPECT_EQ(-SearchMax, score);
}

TEST(ComputerPlayer, OnlyReadsThePositionAndChoosesTheSameMoveEveryTime) {
    const Board position =
        fromFen("r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10");
    const Board before = position;
    const std::string first = moveText(computer.chooseMove(position));
    EXPECT_EQ(0, std::memcmp(&before, &position, sizeof(Board)));
    computer.chooseMove(fromFen("8/8/4k3/8/2K5/8/8/3Q4 b - - 0 1"));
    EXPECT_EQ(-1, computer.engineColour);
    EXPECT_EQ(first, moveText(computer.chooseMove(position)));
    EXPECT_EQ(1, computer.engineColour);
    EXPECT_EQ(placementOf(position), placementOf(computer));
    EXPECT_EQ(allMovesOf(position), allMovesOf(computer));
}

// The move list runs by from-square index, then in the order of each piece's targets.
TEST(ComputerPlayer, ListsEveryMoveInGenerationOrder) {
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -"}) {
        ComputerPlayer player;
        static_cast<Board&>(player) = fromFen(fen);
        Move* const list = player.allMoves();
        Names texts;
        for (const Move* m = list; m; m = m->next)
            texts.push_back(moveText(*m));
        freeMoves(list);
        EXPECT_EQ(allMovesOf(fromFen(fen)), texts) << fen;
    }
    const ComputerPlayer fresh;
    EXPECT_EQ(placementOf(fresh), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    Move* const head = ComputerPlayer::appendMove(nullptr, 1, 2, 1, 3);
    EXPECT_EQ(head, ComputerPlayer::appendMove(head, 7, 1, 6, 3));
    EXPECT_EQ("g1f3", moveText(*head->next));
    freeMoves(head);
}

} // namespace
