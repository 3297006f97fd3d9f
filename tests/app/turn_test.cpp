#include "app/turn.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include "app/state.h"
#include "chess/board.h"

// The test binary links with --wrap=SDL_GetTicks, so the game's code reads this clock.
static Uint32 testTicks = 0;
extern "C" Uint32 __wrap_SDL_GetTicks() { return testTicks; }

namespace {

class TurnState : public ::testing::Test {
  protected:
    void SetUp() override {
        appState = AppGame;
        menuOptions = menuStartOptions;
        testTicks = 100000;
        selection = {3, 4, nullptr};
    }
};

} // namespace

TEST_F(TurnState, PhaseProgressReachesExactlyOneAtFiveSeconds) {
    phaseStart = 100000;
    testTicks = 100000;
    EXPECT_FLOAT_EQ(phaseProgress(), 0.0f);
    testTicks = 102500;
    EXPECT_FLOAT_EQ(phaseProgress(), 0.5f);
    testTicks = 104999;
    EXPECT_FLOAT_EQ(phaseProgress(), 0.9998f);
    EXPECT_LT(phaseProgress(), 1.0f);
    testTicks = 105000;
    EXPECT_EQ(phaseProgress(), 1.0f);
    testTicks = 500000;
    EXPECT_EQ(phaseProgress(), 1.0f);
}

TEST_F(TurnState, PhaseWithAnimationsOffIsCompleteInItsFirstFrame) {
    menuOptions.animations = 0;
    startMoveAnim();
    EXPECT_EQ(phaseStart, 130000u);
    testTicks = 100016;
    EXPECT_EQ(phaseProgress(), 1.0f);
}

TEST_F(TurnState, StartersSetTheirBitsRestartTheClockAndClearTheSelectedSquare) {
    MoveTarget* const list = reinterpret_cast<MoveTarget*>(&selection);
    selection.targets = list;
    startMoveAnim();
    EXPECT_EQ(appState, AppGame | AppMoveAnim);
    EXPECT_EQ(phaseStart, 100000u);
    EXPECT_EQ(selection.selFile, -1);
    EXPECT_EQ(selection.selRank, -1);
    EXPECT_EQ(selection.targets, list);
    selection.targets = nullptr;

    testTicks = 200000;
    startCameraTurn();
    EXPECT_TRUE(anyAppBit(AppCameraTurn));
    EXPECT_EQ(phaseStart, 200000u);

    setAppBits(AppPromotionPrompt);
    startPromotionAnim();
    EXPECT_FALSE(anyAppBit(AppPromotionPrompt));
    EXPECT_TRUE(anyAppBit(AppPromotionAnim));
}

TEST_F(TurnState, PersonAgainstComputerHandsBlackToTheComputer) {
    menuOptions.players = 1;
    setAppBits(AppWhiteTurn | AppHumanToMove);
    switchTurn();
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppComputerToMove);
    switchTurn();
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove);
}

TEST_F(TurnState, TwoPeopleAlwaysGetTheHumanBitAndTwoComputersTheComputerBit) {
    menuOptions.players = 0;
    setAppBits(AppWhiteTurn);
    for (int i = 0; i < 4; ++i) {
        switchTurn();
        EXPECT_TRUE(anyAppBit(AppHumanToMove));
        EXPECT_FALSE(anyAppBit(AppComputerToMove));
    }
    menuOptions.players = 2;
    for (int i = 0; i < 4; ++i) {
        switchTurn();
        EXPECT_TRUE(anyAppBit(AppComputerToMove));
        EXPECT_FALSE(anyAppBit(AppHumanToMove));
        EXPECT_NE(anyAppBit(AppWhiteTurn), anyAppBit(AppBlackTurn));
    }
}

class MoveRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        board.reset();
        moveAnim = {-1, -1, -1, -1, -1, -1, 0, 0, 0};
    }
};

TEST_F(MoveRecord, AMoveToAnEmptySquareRecordsNoCapture) {
    recordMove(7, 1, 6, 3);
    EXPECT_EQ(moveAnim.fromFile, 7);
    EXPECT_EQ(moveAnim.fromRank, 1);
    EXPECT_EQ(moveAnim.toFile, 6);
    EXPECT_EQ(moveAnim.toRank, 3);
    EXPECT_EQ(moveAnim.captureFile, 6);
    EXPECT_EQ(moveAnim.captureRank, 3);
    EXPECT_EQ(moveAnim.movingPiece, 3);
    EXPECT_EQ(moveAnim.newPiece, 0);
    EXPECT_EQ(moveAnim.capturedPiece, 0);
}

TEST_F(MoveRecord, ACaptureRecordsTheTakenPieceFromTheBoardBeforeTheMove) {
    board.makeMoveAt(5, 2, 5, 4);
    board.makeMoveAt(4, 7, 4, 5);
    recordMove(5, 4, 4, 5);
    EXPECT_EQ(moveAnim.movingPiece, 1);
    EXPECT_EQ(moveAnim.capturedPiece, -1);
    EXPECT_EQ(moveAnim.newPiece, -1);
}

TEST_F(MoveRecord, APromotionStartsAndEndsOnItsSquareKeepingTheCapture) {
    recordMove(2, 7, 1, 8);
    moveAnim.capturedPiece = -2;
    board.sideToMove = -1; // the board has passed the move to Black after White's pawn move
    recordPromotion(5);
    EXPECT_EQ(moveAnim.fromFile, 1);
    EXPECT_EQ(moveAnim.fromRank, 8);
    EXPECT_EQ(moveAnim.toFile, 1);
    EXPECT_EQ(moveAnim.toRank, 8);
    EXPECT_EQ(moveAnim.movingPiece, 1);
    EXPECT_EQ(moveAnim.newPiece, 5);
    EXPECT_EQ(moveAnim.captureFile, 1);
    EXPECT_EQ(moveAnim.captureRank, 8);
    EXPECT_EQ(moveAnim.capturedPiece, -2);
    board.sideToMove = 1;
    recordPromotion(3);
    EXPECT_EQ(moveAnim.movingPiece, -1);
    EXPECT_EQ(moveAnim.newPiece, -3);
}
