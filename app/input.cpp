#include "app/input.h"

#include "app/core/state.h"
#include "app/core/turn.h"
#include "chess/board.h"
#include "chess/computer.h"
#include "scene/picking.h"

namespace {

void advance(std::int8_t& option, int values) {
    option = static_cast<std::int8_t>((option + 1) % values);
}

bool gameOver() { return gameIsOver(board.status); }

void clearSelection() {
    freeTargets(selection.targets);
    selection.targets = nullptr;
    selection.selFile = -1;
    selection.selRank = -1;
}

// A game abandoned with F1 may have left its turn, phase and mover bits; the new game starts
// from none of them.
void startGame() {
    clearAppBits(AppMenu | AppBlackTurn | AppMoveAnim | AppCameraTurn | AppPromotionPrompt |
                 AppPromotionAnim | AppHumanToMove | AppComputerToMove);
    setAppBits(AppGame | AppWhiteTurn);
    moveAnim.fromFile = moveAnim.fromRank = -1;
    moveAnim.toFile = moveAnim.toRank = -1;
    clearSelection();
    board.reset();
    if (menuOptions.players == 2) {
        setAppBits(AppComputerToMove);
        computerMove();
    } else {
        setAppBits(AppHumanToMove);
    }
}

void onMenuKey(SDLKey key) {
    switch (key) {
    case SDLK_a: advance(menuOptions.animations, 2); break;
    case SDLK_h: advance(menuOptions.players, 3); break;
    case SDLK_l: advance(menuOptions.language, 2); break;
    case SDLK_o: advance(menuOptions.rotate, 2); break;
    case SDLK_s: startGame(); break;
    default: break;
    }
}

// The piece type a promotion key chooses, or 0 for any other key.
int promotionType(SDLKey key) {
    switch (key) {
    case SDLK_v: return Rook;
    case SDLK_j: return Knight;
    case SDLK_s: return Bishop;
    case SDLK_d: return Queen;
    default: return 0;
    }
}

void dismissFinishedGame() {
    clearAppBits(AppGame);
    setAppBits(AppMenu);
    board.reset();
}

int countAndFree(MoveTarget* list, int file, int rank) {
    int count = 0;
    for (const MoveTarget* node = list; node; node = node->next)
        if (node->file == file && node->rank == rank) ++count;
    freeTargets(list);
    return count;
}

// While a move or a promotion is being shown the board already belongs to the next side, so
// the mover's clicks would move the opponent's pieces.
bool boardAcceptsClicks() {
    return anyAppBit(AppHumanToMove) && anyAppBit(AppGame) && !gameOver() &&
           !anyAppBit(AppMoveAnim | AppPromotionPrompt | AppPromotionAnim);
}

} // namespace

void onKey(const SDL_keysym& keysym) {
    const SDLKey key = keysym.sym;
    if (key == SDLK_ESCAPE) quitProgram(0);
    if (anyAppBit(AppSplash)) setAppBits(AppLoadRequest);
    if (gameOver()) dismissFinishedGame();
    if (anyAppBit(AppPromotionPrompt)) {
        const int type = promotionType(key);
        if (type != 0) {
            recordPromotion(type);
            startPromotionAnim();
            board.promote(type);
        }
    }
    if (anyAppBit(AppGame) && key == SDLK_F1) {
        clearAppBits(AppGame);
        setAppBits(AppMenu);
    }
    if (anyAppBit(AppMenu)) onMenuKey(key);
}

void onMouseButton(const SDL_MouseButtonEvent& event) {
    if (!boardAcceptsClicks() || event.button != SDL_BUTTON_LEFT) return;
    const PickedSquare picked = pickSquare(event.x, event.y);
    onSquareClick(picked.file, picked.rank);
}

void onSquareClick(int file, int rank) {
    if (!boardAcceptsClicks()) return;
    const int count = countAndFree(selection.targets, file, rank);
    selection.targets = nullptr;
    if (count != 0) {
        recordMove(selection.selFile, selection.selRank, file, rank);
        board.makeMoveAt(selection.selFile, selection.selRank, file, rank);
        startMoveAnim();
    } else {
        selection.targets = board.legalTargetsAt(file, rank);
        selection.selFile = file;
        selection.selRank = rank;
    }
}

void computerMove() {
    const Move move = computer.chooseMove(board);
    if (countAndFree(board.legalTargetsAt(move.fromFile, move.fromRank), move.toFile,
                     move.toRank) == 0)
        return;
    recordMove(move.fromFile, move.fromRank, move.toFile, move.toRank);
    board.makeMove(squareIndex(move.fromFile, move.fromRank),
                   squareIndex(move.toFile, move.toRank));
    startMoveAnim();
}
