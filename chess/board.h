#pragma once

#include <cstdint>

// One chess position on a 12 x 12 mailbox with a two-square border. The rules that answer
// questions about it run on its compact form, the Position (chess/position.h).

constexpr int squareIndex(int file, int rank) { return file - 12 * rank + 121; }
constexpr int fileOf(int index) { return index % 12 - 1; }
constexpr int rankOf(int index) { return 10 - index / 12; }
constexpr int signOf(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Index of a square named like "e2"; unknown characters give file or rank 0.
int squareFromText(const char* text);

// Piece types: the absolute value of a piece code; a black piece's code is the negated type.
enum PieceKind : int { Pawn = 1, Rook = 2, Knight = 3, Bishop = 4, Queen = 5, King = 6 };

constexpr int typeOf(int code) { return code < 0 ? -code : code; }
// 1..6 as a type: a piece of either colour, not an empty or a border square.
constexpr bool isPieceCode(int code) { return typeOf(code) >= Pawn && typeOf(code) <= King; }
// Rooks, bishops and queens slide until blocked and are the only pieces that pin.
constexpr bool isSlider(int type) { return type == Rook || type == Bishop || type == Queen; }
// The four types a pawn on its last rank may become.
constexpr bool isPromotionType(int type) { return type >= Rook && type <= Queen; }

// Index steps on the mailbox: one file towards h, one rank towards rank 8.
constexpr int FileStep = 1;
constexpr int RankStep = -12;
// The kings' home squares, e1 and e8, where castling starts.
constexpr int WhiteKingHome = 114;
constexpr int BlackKingHome = 30;
static_assert(squareIndex(5, 1) == WhiteKingHome && squareIndex(5, 8) == BlackKingHome);
static_assert(squareIndex(1, 2) - squareIndex(1, 1) == RankStep);
// The playing squares run from a8 to h1 in index order; every index outside is border.
constexpr int FirstSquare = squareIndex(1, 8);
constexpr int LastSquare = squareIndex(8, 1);
// A square index, or an en passant square, that names no square.
constexpr int NoSquare = -1;

// A white pawn's steps, all one rank forward: straight on, and its two captures, one file
// towards h and one towards a. A black pawn steps by the negated values.
constexpr int PawnPush = RankStep;
constexpr int PawnCaptureRight = RankStep + FileStep;
constexpr int PawnCaptureLeft = RankStep - FileStep;
static_assert(PawnCaptureRight == -11 && PawnCaptureLeft == -13);
// The rank a pawn of that colour starts on, and the rank on which it is promoted.
constexpr int pawnHomeRank(int colour) { return colour > 0 ? 2 : 7; }
constexpr int promotionRank(int colour) { return colour > 0 ? 8 : 1; }

// Castling as a destination records it: the king goes two files towards its rook, which
// comes from its corner to the square the king passed over.
enum CastleKind : int { NoCastle = 0, KingSide = 1, QueenSide = 2 };
constexpr int KingSideRookOffset = 3 * FileStep;
constexpr int QueenSideRookOffset = -4 * FileStep;

constexpr int BoardSquares = 144;
constexpr std::int8_t BorderCode = 7;

enum StatusBit : std::uint32_t {
    WhiteInCheck = 2,
    BlackInCheck = 4,
    WhiteMated = 8,
    BlackMated = 16,
    Stalemate = 32,
    PromotionPending = 64,
    GameOverMask = WhiteMated | BlackMated | Stalemate,
};

// Whether the game has ended. While a pawn waits on its last rank the position was judged
// with the pawn still a pawn: a stalemate seen then may turn into mate once it is promoted
// (a mate stays a mate), so the game is not over before the promotion.
inline bool gameIsOver(std::uint32_t status) {
    return (status & GameOverMask) != 0 && !(status & PromotionPending);
}

// A square of the board. untouched is 1 until a move starts or ends on it: it stands in for
// the rule that a king, rook or pawn has not yet moved. The other fields are derived from the
// placement after reset (the attacks only), every move and every promotion.
struct Square {
    std::int8_t piece;
    std::uint8_t untouched;
    // How many pieces of each colour attack or defend this square, border squares included.
    std::uint8_t whiteAttackers;
    std::uint8_t blackAttackers;
    // The last attacker of each colour in index order; NoSquare if none.
    std::int32_t whiteAttacker;
    std::int32_t blackAttacker;
    // 1 if the piece here is pinned against its own king by an enemy rook, bishop or queen;
    // the unit step of the pin line from the pinning piece towards the king, -1, -1 if not.
    std::uint8_t pinned;
    std::int32_t pinFile;
    std::int32_t pinRank;
};

struct MoveTarget {
    std::int32_t file;
    std::int32_t rank;
    std::int32_t castle; // a CastleKind
    std::int32_t doubleStep;
    MoveTarget* next;
};

struct Move {
    std::int32_t fromFile;
    std::int32_t fromRank;
    std::int32_t toFile;
    std::int32_t toRank;
    Move* next;
};

// The most destinations one piece can have (a queen in the middle of an empty board has 27).
constexpr int MaxPieceTargets = 32;

// Links node at the tail of list, either kind; returns the head (node for an empty list).
template <class Node> Node* linkAtTail(Node* list, Node* node) {
    if (!list) return node;
    Node* tail = list;
    while (tail->next)
        tail = tail->next;
    tail->next = node;
    return list;
}

// List nodes of both kinds come from the heap; running out of memory throws std::bad_alloc
// rather than return a list with a move silently left out.
// Appends a target node at the tail; returns the head (the new node for an empty list).
MoveTarget* appendTarget(MoveTarget* list, int file, int rank, int castle, int doubleStep);
// 1 if some node has that file and rank.
int targetListContains(int file, int rank, const MoveTarget* list);
void freeTargets(MoveTarget* list);
void freeMoves(Move* list);

class Board {
  public:
    Board();

    // The starting position with its attack counts.
    void reset();

    Square squareAt(int file, int rank) const;
    int isEnemy(int mover, int target) const;
    int isSideToMovePiece(int index) const;
    // (file, rank) of the king of that colour through file and rank; (-1, -1) if none.
    void findKing(int colour, int& file, int& rank) const;

    // Legal destinations of the piece on index in generation order; the caller owns the list.
    MoveTarget* legalTargets(int index) const;
    MoveTarget* legalTargetsAt(int file, int rank) const;
    // 1 if no piece of that colour would have a legal move were it that colour's turn.
    int hasNoLegalMove(int colour) const;

    // 1 if the move was legal and has been played; 0 leaves the board unchanged.
    int makeMove(int from, int to);
    int makeMoveAt(int fromFile, int fromRank, int toFile, int toRank);
    // Judges check, mate and stalemate for the side to move into the status bits, and
    // rebuilds the squares' attack and pin fields.
    void updateStatus();
    // Replaces the pawn waiting on its last rank with type 2..5.
    void promote(int type);

    Square squares[BoardSquares];
    std::int32_t sideToMove;
    std::uint32_t status;
    std::int32_t enPassant;

  private:
    // Rewrites the attack counts and attacker squares from the placement and clears the pins.
    void refreshAttacks();
    // Rewrites the attacks, then marks the pieces of both colours pinned against their king.
    void refreshAttackMap();
};

inline int Board::isEnemy(int mover, int target) const {
    return isPieceCode(target) && signOf(mover) == -signOf(target) ? 1 : 0;
}

inline int Board::isSideToMovePiece(int index) const {
    const int code = squares[index].piece;
    return isPieceCode(code) && signOf(code) == signOf(sideToMove) ? 1 : 0;
}

// The game's board, drawn, clicked on and played on.
extern Board board;
