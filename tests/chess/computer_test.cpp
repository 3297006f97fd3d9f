#include "chess/computer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "chess/fen.h"

namespace {

Board positionFrom(const char* fen) {
    Board position;
    EXPECT_TRUE(setFromFen(position, fen)) << fen;
    return position;
}

std::string moveText(int fromFile, int fromRank, int toFile, int toRank) {
    if (fromFile == 0) return "0000";
    const char text[5] = {static_cast<char>('a' + fromFile - 1), static_cast<char>('0' + fromRank),
                          static_cast<char>('a' + toFile - 1), static_cast<char>('0' + toRank), 0};
    return text;
}

std::string moveText(const Move& move) {
    return moveText(move.fromFile, move.fromRank, move.toFile, move.toRank);
}

std::vector<std::string> listTexts(const Move* list) {
    std::vector<std::string> texts;
    for (; list; list = list->next)
        texts.push_back(moveText(*list));
    return texts;
}

// The legal moves of the side to move as (from, to) square indices, in the order of the
// move generation.
struct IndexMove {
    int from;
    int to;
};

std::string moveText(const IndexMove& move) {
    return moveText(fileOf(move.from), rankOf(move.from), fileOf(move.to), rankOf(move.to));
}

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

// The evaluation written out plainly over whole target lists, for engine colour.
int plainEvaluation(const Board& position, int engineColour) {
    const int checkSign = (position.status & WhiteInCheck)   ? 1
                          : (position.status & BlackInCheck) ? -1
                                                             : 0;
    int score = 0;
    for (int index = 0; index < BoardSquares; ++index) {
        const int piece = position.squares[index].piece;
        const int type = piece < 0 ? -piece : piece;
        score += materialValues[type] * signOf(piece) * engineColour;
        score += engineColour * checkSign * 50;
        MoveTarget* const targets = position.legalTargets(index);
        for (const MoveTarget* t = targets; t; t = t->next)
            score += engineColour * signOf(piece) * 25;
        freeTargets(targets);
    }
    return score;
}

// Plain minimax without pruning, every score from the engine colour's point of view: the
// engine colour takes the greatest value at its plies and its opponent the least.
int plainMinimax(const Board& position, int depth, int engineColour) {
    if (position.status & BlackMated) return engineColour * SearchMax;
    if (position.status & WhiteMated) return -engineColour * SearchMax;
    if (position.status & Stalemate) return 0;
    if (depth == 0) return plainEvaluation(position, engineColour);
    const bool engineToMove = position.sideToMove == engineColour;
    const std::vector<IndexMove> moves = legalMoves(position);
    // A side left without moves and without a game-over bit counts as lost for it.
    int best = engineToMove ? -SearchMax : SearchMax;
    for (const IndexMove& move : moves) {
        Board child = position;
        child.makeMove(move.from, move.to);
        const int value = plainMinimax(child, depth - 1, engineColour);
        if (engineToMove ? value > best : value < best) best = value;
    }
    return best;
}

// The root scores of the plain minimax for the side to move, in list order.
std::vector<int> plainRootScores(const Board& position) {
    std::vector<int> scores;
    for (const IndexMove& move : legalMoves(position)) {
        Board child = position;
        child.makeMove(move.from, move.to);
        scores.push_back(plainMinimax(child, 2, position.sideToMove));
    }
    return scores;
}

// The root scores of the alpha-beta search, taken through its public operations on copies
// of the scratch board that chooseMove leaves behind.
std::vector<int> searchRootScores(const ComputerPlayer& root) {
    std::vector<int> scores;
    for (const IndexMove& move : legalMoves(root)) {
        ComputerPlayer child = root;
        child.makeMove(move.from, move.to);
        scores.push_back(-child.search(2, -SearchMax, SearchMax));
    }
    return scores;
}

// The move whose score is strictly greatest, the first of equals; "0000" for none.
std::string firstBest(const Board& position, const std::vector<int>& scores) {
    const std::vector<IndexMove> moves = legalMoves(position);
    std::string best = "0000";
    int bestScore = -SearchMax;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (scores[i] > bestScore) {
            bestScore = scores[i];
            best = moveText(moves[i]);
        }
    }
    if (best == "0000" && !moves.empty()) best = moveText(moves[0]);
    return best;
}

// A player whose scratch board holds position, without a search.
ComputerPlayer playerOn(const Board& position, int engineColour) {
    ComputerPlayer player;
    static_cast<Board&>(player) = position;
    player.engineColour = engineColour;
    return player;
}

// The score of the move written as text among the root scores of position.
int scoreOf(const Board& position, const std::vector<int>& scores, const std::string& text) {
    const std::vector<IndexMove> moves = legalMoves(position);
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (moveText(moves[i]) == text) return scores[i];
    ADD_FAILURE() << text << " is not a legal move";
    return 0;
}

std::string chosen(const char* fen) {
    const Board position = positionFrom(fen);
    return moveText(computer.chooseMove(position));
}

} // namespace

TEST(ComputerPlayerSetUp, ProgramWidePlayerHoldsTheStartingPosition) {
    const ComputerPlayer fresh;
    const Board start;
    EXPECT_EQ(0, std::memcmp(fresh.squares, start.squares, sizeof start.squares));
    EXPECT_EQ(1, fresh.sideToMove);
    EXPECT_EQ(0u, fresh.status);
    EXPECT_EQ(-1, fresh.enPassant);
}

TEST(MoveList, StartingPositionRunsFromTheA2PawnToTheG1Knight) {
    ComputerPlayer player;
    Move* const list = player.allMoves();
    const std::vector<std::string> texts = listTexts(list);
    freeMoves(list);
    ASSERT_EQ(20u, texts.size());
    EXPECT_EQ((std::vector<std::string>{"a2a3", "a2a4", "b2b3"}),
              std::vector<std::string>(texts.begin(), texts.begin() + 3));
    EXPECT_EQ((std::vector<std::string>{"b1a3", "b1c3", "g1f3", "g1h3"}),
              std::vector<std::string>(texts.end() - 4, texts.end()));
}

TEST(MoveList, FollowsSquareIndexOrderThenGenerationOrder) {
    const Board position =
        positionFrom("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1");
    const ComputerPlayer player = playerOn(position, -1);
    Move* const list = player.allMoves();
    std::vector<std::string> expected;
    for (const IndexMove& move : legalMoves(position))
        expected.push_back(moveText(move));
    EXPECT_EQ(expected, listTexts(list));
    freeMoves(list);
}

TEST(MoveList, AppendMoveKeepsTheHeadAndAddsAtTheTail) {
    Move* const head = ComputerPlayer::appendMove(nullptr, 1, 2, 1, 3);
    ASSERT_NE(nullptr, head);
    EXPECT_EQ(nullptr, head->next);
    EXPECT_EQ(head, ComputerPlayer::appendMove(head, 2, 2, 2, 4));
    EXPECT_EQ(head, ComputerPlayer::appendMove(head, 7, 1, 6, 3));
    EXPECT_EQ((std::vector<std::string>{"a2a3", "b2b4", "g1f3"}), listTexts(head));
    freeMoves(head);
}

TEST(Evaluation, StartingPositionIsTwentyMovesForEitherEngineColour) {
    ComputerPlayer player;
    player.engineColour = 1;
    EXPECT_EQ(500, player.evaluate());
    player.engineColour = -1;
    EXPECT_EQ(-500, player.evaluate());
}

TEST(Evaluation, CheckCountsFiftyOnEverySquare) {
    // Black to move, so the check bits do not change which moves black has.
    const Board position =
        positionFrom("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 2");
    for (const int colour : {1, -1}) {
        ComputerPlayer player = playerOn(position, colour);
        player.status = 0;
        const int quiet = player.evaluate();
        player.status = WhiteInCheck;
        EXPECT_EQ(quiet + 7200 * colour, player.evaluate());
    }
    const Board whiteToMove =
        positionFrom("rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 2");
    ComputerPlayer player = playerOn(whiteToMove, 1);
    player.status = 0;
    const int quiet = player.evaluate();
    player.status = BlackInCheck;
    EXPECT_EQ(quiet - 7200, player.evaluate());
}

TEST(Evaluation, RealCheckAddsMaterialCheckAndTheEvasions) {
    // The undefended queen on e2 checks the king on e1, whose one move is to take it.
    const Board position = positionFrom("4k3/8/8/8/8/8/4q3/R3K3 w Q - 0 1");
    ASSERT_TRUE(position.status & WhiteInCheck);
    const int moves = static_cast<int>(legalMoves(position).size());
    EXPECT_EQ(1, moves);
    EXPECT_EQ(500 - 950 + 7200 + 25 * moves, playerOn(position, 1).evaluate());
    EXPECT_EQ(-(500 - 950 + 7200 + 25 * moves), playerOn(position, -1).evaluate());
}

TEST(RootChoice, NoLegalMoveGivesNoMoveAndTheCallerPlaysNothing) {
    for (const char* fen : {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",       // stalemate
                            "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1"}) { // checkmate
        Board position = positionFrom(fen);
        const Move move = computer.chooseMove(position);
        EXPECT_EQ(0, move.fromFile);
        EXPECT_EQ(0, move.fromRank);
        EXPECT_EQ(0, move.toFile);
        EXPECT_EQ(0, move.toRank);
        MoveTarget* const targets = position.legalTargetsAt(move.fromFile, move.fromRank);
        EXPECT_EQ(nullptr, targets);
        freeTargets(targets);
        const Board before = position;
        EXPECT_EQ(0, position.makeMoveAt(move.fromFile, move.fromRank, move.toFile, move.toRank));
        EXPECT_EQ(0, std::memcmp(before.squares, position.squares, sizeof position.squares));
    }
}

TEST(RootChoice, MateInOneScoresTheMaximumAndIsPlayed) {
    // Qxf7 mates; the queen has other captures too.
    const Board position =
        positionFrom("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4");
    EXPECT_EQ("h5f7", moveText(computer.chooseMove(position)));
    const std::vector<int> scores = searchRootScores(computer);
    int mates = 0;
    for (const int score : scores)
        mates += score == SearchMax;
    EXPECT_EQ(1, mates);
}

TEST(RootChoice, FirstOfSeveralMatesInListOrder) {
    // Black mates with Ra1 and with Rb1 (rank 8 moves come first in the list: none mate),
    // White's king h1 boxed in by its own pawns.
    const char* const fen = "6k1/8/8/8/8/8/rr4PP/7K b - - 0 1";
    const Board position = positionFrom(fen);
    const std::string move = chosen(fen);
    const std::vector<int> scores = searchRootScores(computer);
    const std::vector<IndexMove> moves = legalMoves(position);
    std::string firstMate;
    for (std::size_t i = 0; i < moves.size() && firstMate.empty(); ++i)
        if (scores[i] == SearchMax) firstMate = moveText(moves[i]);
    EXPECT_EQ("a2a1", firstMate);
    EXPECT_EQ(firstMate, move);
}

TEST(RootChoice, MateForTheOpponentIsAvoided) {
    // White threatens Rd8 mate; only Kh8 walks into it, every other move gives the king air.
    const char* const fen = "6k1/5ppp/8/8/8/8/5PPP/3R2K1 b - - 0 1";
    const Board position = positionFrom(fen);
    const std::string move = chosen(fen);
    const std::vector<int> scores = searchRootScores(computer);
    EXPECT_EQ(-SearchMax, scoreOf(position, scores, "g8h8"));
    EXPECT_GT(scoreOf(position, scores, move), -SearchMax);
}

TEST(RootChoice, EveryMoveLosingToMateStillPlaysTheFirstMove) {
    // White: king h1, pawn b4; black: king g3, rook a2. Both b5 and Kg1 allow Ra1 mate.
    const char* const fen = "8/8/8/8/1P6/6k1/r7/7K w - - 0 1";
    const Board position = positionFrom(fen);
    const std::string move = chosen(fen);
    for (const int score : searchRootScores(computer))
        EXPECT_EQ(-SearchMax, score);
    EXPECT_EQ("b4b5", move);
    Board game = position;
    EXPECT_EQ(1, game.makeMoveAt(2, 4, 2, 5));
}

TEST(RootChoice, SameMoveOnEveryCallAndThePositionIsOnlyRead) {
    const Board position =
        positionFrom("r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10");
    const Board before = position;
    const Move first = computer.chooseMove(position);
    EXPECT_EQ(0, std::memcmp(&before, &position, sizeof(Board)));
    computer.chooseMove(positionFrom("8/8/4k3/8/2K5/8/8/3Q4 w - - 0 1"));
    const Move second = computer.chooseMove(position);
    EXPECT_EQ(moveText(first), moveText(second));

    const int a8 = squareIndex(1, 8);
    const int h1 = squareIndex(8, 1);
    EXPECT_EQ(0, std::memcmp(position.squares + a8, computer.squares + a8,
                             (h1 - a8 + 1) * sizeof(Square)));
    for (int index = 0; index < BoardSquares; ++index)
        EXPECT_EQ(position.squares[index].piece, computer.squares[index].piece) << index;
    EXPECT_EQ(position.sideToMove, computer.sideToMove);
    EXPECT_EQ(position.status, computer.status);
    EXPECT_EQ(position.enPassant, computer.enPassant);
    EXPECT_EQ(1, computer.engineColour);

    const Board black = positionFrom("8/8/4k3/8/2K5/8/8/3Q4 b - - 0 1");
    computer.chooseMove(black);
    EXPECT_EQ(-1, computer.engineColour);
}

// The search against the plain minimax: same root scores and same chosen move.
class AgainstPlainMinimax : public testing::TestWithParam<const char*> {};

TEST_P(AgainstPlainMinimax, SameRootScoresAndSameMove) {
    const Board position = positionFrom(GetParam());
    const std::string move = moveText(computer.chooseMove(position));
    const std::vector<int> expected = plainRootScores(position);
    EXPECT_EQ(expected, searchRootScores(computer));
    EXPECT_EQ(firstBest(position, expected), move);
}

INSTANTIATE_TEST_SUITE_P(
    VariedPositions, AgainstPlainMinimax,
    testing::Values(
        // openings
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2",
        "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3",
        // en passant on the board and castling on both wings
        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
        "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
        // middlegames
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
        "r1bq1rk1/pppn1pbp/3p1np1/4p3/2PPP3/2N2N2/PP2BPPP/R1BQ1RK1 b - - 0 8",
        // endgames
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "8/5pk1/6p1/8/3R4/6P1/5PK1/r7 b - - 0 1",
        "8/8/8/4k3/8/8/4P3/4K3 w - - 0 1",
        // checks: a single check, and a double check
        "rnb1kbnr/pppp1ppp/8/4p3/5PPq/8/PPPPP2P/RNBQKBNR w KQkq - 1 3",
        "4k3/8/8/8/1b6/8/3N4/r3K3 w - - 0 1", "4k3/8/8/8/8/3n4/8/r3K3 w - - 0 1",
        // mates in one for the side to move and against it
        "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
        "6k1/5ppp/8/8/8/8/5PPP/3R2K1 b - - 0 1", "6k1/8/8/8/8/8/rr4PP/7K b - - 0 1",
        // pending promotions
        "8/P7/8/8/8/8/k6K/8 w - - 0 1", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "8/8/8/8/8/8/Kp6/4k3 b - - 0 1"));
