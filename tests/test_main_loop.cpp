#include <gtest/gtest.h>

#include "playfield/alien.h"
#include "playfield/bullet.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/main_loop.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"

namespace {

class MainLoop : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        backend->pumpMicros = 0;
    }
    bool Tick() {
        bool quit = false;
        RunTick(quit);
        return quit;
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            Tick();
        }
    }
    // Runs passes until the virtual clock has moved on by at least 'millis'.
    void PassesFor(uint32_t millis) {
        uint32_t start = backend->Millis();
        while (backend->Millis() - start < millis) {
            RunPass();
        }
    }
};

TEST_F(MainLoop, FirstFrameIsDrawnBeforeTheFirstTick) {
    TStar::CreateField();
    float firstY = starList->At(0)->y;
    StartTickClock();
    RunPass();
    std::vector<DrawCall> stars = CallsOf(backend->calls, imgStars);
    ASSERT_FALSE(stars.empty());
    EXPECT_FLOAT_EQ(stars[0].top, firstY - 4.0f);
    EXPECT_GT(ticksThisFrame, 0);
    EXPECT_NE(starList->At(0)->y, firstY);
}

TEST_F(MainLoop, RunsEveryDueTickAndNoMore) {
    StartTickClock();
    int32_t start = nextTick;
    int total = 0;
    for (int pass = 0; pass < 50; ++pass) {
        RunPass();
        total += ticksThisFrame;
        EXPECT_GE(ticksThisFrame, 3);
        EXPECT_LE(ticksThisFrame, 4);
        EXPECT_GT(MillisBetween(lastTime, nextTick), 0);
        EXPECT_LE(MillisBetween(lastTime, nextTick), TICK_MILLIS);
    }
    EXPECT_EQ(total, MillisBetween(start, lastTime) / TICK_MILLIS + 1);
}

TEST_F(MainLoop, SlowFrameBacklogIsWorkedOffThirteenPerPassWithNoneDropped) {
    StartTickClock();
    int32_t start = nextTick;
    backend->frameMillis = 200;
    RunPass();
    EXPECT_EQ(ticksThisFrame, 13);
    backend->frameMillis = 13;
    int total = ticksThisFrame;
    int fullPasses = 1;
    while (MillisBetween(lastTime, nextTick) <= 0) {
        RunPass();
        total += ticksThisFrame;
        fullPasses += ticksThisFrame == 13 ? 1 : 0;
    }
    EXPECT_GE(fullPasses, 4);
    EXPECT_EQ(total, MillisBetween(start, lastTime) / TICK_MILLIS + 1);
}

TEST_F(MainLoop, KeepsItsPaceAcrossTheClockWrap) {
    for (uint32_t nearWrap : {0xFFFFFFFFu - 60, 0x7FFFFFFFu - 60}) {
        backend->SetClock(nearWrap);
        StartTickClock();
        int32_t start = nextTick;
        int total = 0;
        for (int pass = 0; pass < 20; ++pass) {
            RunPass();
            total += ticksThisFrame;
            EXPECT_GE(ticksThisFrame, 3) << nearWrap;
            EXPECT_LE(ticksThisFrame, 4) << nearWrap;
        }
        EXPECT_EQ(total, MillisBetween(start, lastTime) / TICK_MILLIS + 1);
    }
}

TEST_F(MainLoop, SpaceOnTitleStartsTheGameOnlyOnceReleased) {
    StartMusic();
    uint32_t start = backend->Millis();
    backend->Press(KEY_SPACE);
    backend->Press(KEY_M);  // hit in the same tick: flushed away with the start
    backend->ReleaseAt(start + 300, KEY_SPACE);
    backend->pumpMicros = 20;
    Tick();
    EXPECT_GE(backend->Millis() - start, 300u);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_EQ(wave, 1);
    EXPECT_EQ(player->lives, 3);
    EXPECT_EQ(alienList->Count(), 48u);
    EXPECT_EQ(musicOn, 1);
    Ticks(50);
    EXPECT_TRUE(bulletList == nullptr || bulletList->Empty());
}

TEST_F(MainLoop, WaitsForAKeysReleaseSleepBetweenLooks) {
    struct Case {
        int32_t state;
        int key;
    };
    for (Case c : {Case{STATE_TITLE, KEY_SPACE}, Case{STATE_PLAYING, KEY_P}}) {
        ResetGameGlobals();
        if (c.state == STATE_PLAYING) {
            StartPlaying();
        }
        backend->pumpMicros = 20;
        uint32_t start = backend->Millis();
        int pumps = backend->pumps;
        uint64_t slept = backend->sleptMillis;
        backend->Press(c.key);
        backend->ReleaseAt(start + 1000, c.key);
        Tick();
        uint32_t waited = backend->Millis() - start;
        EXPECT_GE(waited, 1000u) << c.key;
        EXPECT_LE(waited, 1010u) << c.key;
        // Asleep nearly all the time (each look costs the virtual clock a little),
        // looking a few times a millisecond at most.
        EXPECT_GE(backend->sleptMillis - slept, 900u) << c.key;
        EXPECT_LE(backend->pumps - pumps, 3 * 1010) << c.key;
        EXPECT_EQ(gameState, STATE_PLAYING) << c.key;
        EXPECT_EQ(paused, c.key == KEY_P ? 1 : 0);
    }
}

TEST_F(MainLoop, FirstWaveStartsAtItsNormalSpeedHoweverLongSpaceWasHeld) {
    for (uint32_t heldMillis : {100u, 25000u}) {
        ResetGameGlobals();
        backend->pumpMicros = 20;
        StartTickClock();
        PassesFor(100);
        uint32_t pressed = backend->Millis();
        backend->Press(KEY_SPACE);
        backend->ReleaseAt(pressed + heldMillis, KEY_SPACE);
        while (gameState != STATE_PLAYING) {
            RunPass();
        }
        ASSERT_GE(backend->Millis() - pressed, heldMillis);
        // One second of play runs one second's ticks: no backlog from the wait.
        uint32_t started = backend->Millis();
        int ticks = 0;
        while (backend->Millis() - started < 1000) {
            RunPass();
            ticks += ticksThisFrame;
            EXPECT_LE(ticksThisFrame, 4) << heldMillis;
        }
        EXPECT_NEAR(ticks, (backend->Millis() - started) / TICK_MILLIS, 5) << heldMillis;
    }
}

TEST_F(MainLoop, SpaceHeldAcrossTheStartDoesNotFireUntilPressedAgain) {
    StartPlaying();
    backend->Press(KEY_SPACE);
    Tick();
    ASSERT_EQ(bulletList->Count(), 1u);
    FlushKeys();  // as at a game start: Space still held but reads as up
    Ticks(100);
    EXPECT_EQ(bulletList->Count(), 1u);
}

TEST_F(MainLoop, MTogglesTheMusicOnTheTitleScreenOnly) {
    StartMusic();
    backend->Press(KEY_M);
    Tick();
    EXPECT_EQ(musicOn, 0);
    EXPECT_TRUE(ChannelPlaying(musicEffect->channel));  // paused, not stopped
    backend->Press(KEY_M);
    Tick();
    EXPECT_EQ(musicOn, 1);

    for (int32_t state : {STATE_PLAYING, STATE_GAMEOVER, STATE_ENTERNAME}) {
        ResetGameGlobals();
        StartMusic();
        StartPlaying();
        gameState = state;
        gameOverCountdown = state == STATE_GAMEOVER ? GAMEOVER_TICKS : 0;
        entryRank = 0;
        backend->Press(KEY_M);
        Ticks(2);
        EXPECT_EQ(musicOn, 1) << state;
    }
}

TEST_F(MainLoop, EscapeOnTitleQuitsAfterThePass) {
    backend->Press(KEY_ESCAPE);
    StartTickClock();
    EXPECT_TRUE(RunPass());
    EXPECT_EQ(gameState, STATE_TITLE);
}

TEST_F(MainLoop, EscapeInPlayEndsTheGameWithNoLivesLeft) {
    StartPlaying();
    player->score = 123456;
    Tick();
    backend->Press(KEY_ESCAPE);
    Tick();
    EXPECT_EQ(gameState, STATE_GAMEOVER);
    EXPECT_EQ(gameOverCountdown, GAMEOVER_TICKS);
    EXPECT_EQ(player->lives, 0);
    Ticks(GAMEOVER_TICKS);
    EXPECT_EQ(gameState, STATE_ENTERNAME);
    EXPECT_EQ(entryRank, 0);
    EXPECT_TRUE(alienList->Empty());
}

TEST_F(MainLoop, HoldingPPausesOnceAndTheGameResumesWithoutCatchUp) {
    StartPlaying();
    StartTickClock();
    PassesFor(100);
    uint32_t pressed = backend->Millis();
    backend->Press(KEY_P);
    backend->ReleaseAt(pressed + 500, KEY_P);
    backend->pumpMicros = 20;
    RunPass();
    ASSERT_EQ(paused, 1);
    EXPECT_GE(backend->Millis() - pressed, 500u);  // waited for P's release
    int32_t x = alienList->At(0)->x;
    PassesFor(5000);
    EXPECT_EQ(alienList->At(0)->x, x);
    EXPECT_EQ(paused, 1);

    // Press P to resume and keep holding it: no new pause, no burst of ticks.
    backend->Press(KEY_P);
    RunPass();
    EXPECT_EQ(paused, 0);
    RunPass();
    EXPECT_LE(ticksThisFrame, 4);
    EXPECT_LE(std::abs(alienList->At(0)->x - x), 2 * 4 + 1);
    PassesFor(500);
    EXPECT_EQ(paused, 0);
}

TEST_F(MainLoop, AQuickTapBetweenTwoLooksIsNotLost) {
    StartPlaying();
    StartTickClock();
    PassesFor(100);
    // Pressed and let go while the frame is shown, before any tick looks.
    backend->onFlip = [](HeadlessBackend& b) { b.TapAt(b.Millis() + 1, KEY_SPACE, 2); };
    RunPass();
    backend->onFlip = nullptr;
    EXPECT_EQ(BulletCount(), 1u);

    backend->onFlip = [](HeadlessBackend& b) { b.TapAt(b.Millis() + 1, KEY_P, 2); };
    RunPass();
    backend->onFlip = nullptr;
    EXPECT_EQ(paused, 1);
}

TEST_F(MainLoop, EscapeOrSpaceWhilePausedResumes) {
    for (int key : {KEY_ESCAPE, KEY_SPACE, KEY_P}) {
        StartPlaying();
        paused = 1;
        backend->Press(key);
        Tick();
        EXPECT_EQ(paused, 0) << key;
        EXPECT_EQ(gameState, STATE_PLAYING) << key;
    }
}

TEST_F(MainLoop, LeftAltPausesWithoutWaiting) {
    StartPlaying();
    backend->Press(KEY_LALT);
    Tick();
    EXPECT_EQ(paused, 1);
}

TEST_F(MainLoop, LosingTheFocusPausesPlayUntilAKeyResumesWithTheFocusBack) {
    StartPlaying();
    StartTickClock();
    PassesFor(100);
    uint32_t now = backend->Millis();
    backend->Press(KEY_RIGHT);  // held as the focus goes, and let go with it
    backend->LoseFocusAt(now + 100);
    backend->GainFocusAt(now + 3000);
    PassesFor(200);
    ASSERT_EQ(paused, 1);
    EXPECT_FALSE(KeyDown(KEY_RIGHT));
    int32_t x = alienList->At(0)->x;
    int32_t shipX = player->x;
    PassesFor(4000);  // the focus came back meanwhile; the pause stays
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(alienList->At(0)->x, x);

    backend->Press(KEY_SPACE);
    RunPass();
    EXPECT_EQ(paused, 0);
    PassesFor(500);
    EXPECT_EQ(paused, 0);
    EXPECT_NE(alienList->At(0)->x, x);
    EXPECT_EQ(player->x, shipX);
}

TEST_F(MainLoop, LosingTheFocusChangesNothingOutsidePlay) {
    for (int32_t state : {STATE_TITLE, STATE_GAMEOVER}) {
        TStar::CreateField();
        StartPlaying();
        gameState = state;
        gameOverCountdown = state == STATE_GAMEOVER ? GAMEOVER_TICKS : 0;
        StartTickClock();
        backend->LoseFocusAt(backend->Millis());
        float starY = starList->At(0)->y;
        PassesFor(1000);
        EXPECT_EQ(paused, 0) << state;
        EXPECT_EQ(gameState, state);
        EXPECT_NE(starList->At(0)->y, starY) << state;
        if (state == STATE_GAMEOVER) {
            EXPECT_LT(gameOverCountdown, GAMEOVER_TICKS - 200);
        }
        backend->GainFocusAt(backend->Millis());
    }
}

TEST_F(MainLoop, SpaceEndsTheGameOverScreenOnlyFromIts151stTick) {
    struct Case {
        int spaceAtTick;
        int endsAtTick;
    };
    for (Case c : {Case{1, 750}, Case{150, 750}, Case{151, 151}, Case{400, 400}}) {
        ResetGameGlobals();
        StartPlaying();
        gameState = STATE_GAMEOVER;
        gameOverCountdown = GAMEOVER_TICKS;
        player->lives = 0;
        int tick = 0;
        while (gameState == STATE_GAMEOVER && tick < 1000) {
            ++tick;
            if (tick == c.spaceAtTick) {
                backend->Press(KEY_SPACE);
            }
            Tick();
        }
        EXPECT_EQ(tick, c.endsAtTick) << c.spaceAtTick;
        EXPECT_EQ(gameState, STATE_TITLE);  // a score of 0 does not enter
    }
}

TEST_F(MainLoop, NameEntryTakesOneCharacterPerTick) {
    gameState = STATE_ENTERNAME;
    entryRank = 4;
    hiNames[4] = "";
    for (int c : std::vector<int>{'a', 'B', '!', '1', '.', ' ', '-', '&', 8, 'z'}) {
        backend->Type(c);
    }
    Ticks(10);
    EXPECT_EQ(hiNames[4], "AB1. -Z");
    backend->Type(8);
    Tick();
    EXPECT_EQ(hiNames[4], "AB1. -");
    hiNames[4] = "";
    backend->Type(8);  // Backspace on an empty name changes nothing
    Tick();
    EXPECT_EQ(hiNames[4], "");
    backend->Type(13);
    Tick();
    EXPECT_EQ(gameState, STATE_TITLE);
    EXPECT_EQ(hiNames[4], "");
}

TEST_F(MainLoop, NameEntryRefusesACharacterThatMakesTheNameTooWide) {
    gameState = STATE_ENTERNAME;
    entryRank = 0;
    hiNames[0] = "";
    for (int i = 0; i < 30; ++i) {
        backend->Type('W');
    }
    Ticks(30);
    // W is 20 pixels wide: twelve make 240, a thirteenth would make 260.
    EXPECT_EQ(hiNames[0], std::string(12, 'W'));
    backend->Type('I');  // 4 pixels: still fits
    Tick();
    EXPECT_EQ(hiNames[0], std::string(12, 'W') + "I");
}

TEST_F(MainLoop, ANameOfExactly256PixelsIsAcceptedAndOnePixelMoreRefused) {
    const std::string twelveW(12, 'W');  // W is 20 pixels wide
    struct Case {
        std::string name;
        char typed;
        int32_t width;  // of the name with the character added
        bool accepted;
    };
    for (const Case& c : {Case{twelveW + "I", '-', 256, true}, Case{twelveW + "J", '.', 256, true},
                          Case{twelveW + "1.", ' ', 257, false},
                          Case{std::string(11, 'W') + "A1", '0', 257, false}}) {
        ResetGameGlobals();
        gameState = STATE_ENTERNAME;
        entryRank = 2;
        hiNames[2] = c.name;
        ASSERT_EQ(FontTextWidth(c.name + c.typed), c.width) << c.name;
        backend->Type(c.typed);
        Tick();
        EXPECT_EQ(hiNames[2], c.accepted ? c.name + c.typed : c.name) << c.name;
    }
}

TEST_F(MainLoop, APauseBegunWithPHeldEndsItsWaitWhenLeftAltIsPressed) {
    StartPlaying();
    backend->pumpMicros = 20;
    uint32_t pressed = backend->Millis();
    backend->Press(KEY_P);
    backend->PressAt(pressed + 300, KEY_LALT);
    backend->ReleaseAt(pressed + 5000, KEY_P);
    Tick();
    ASSERT_EQ(paused, 1);
    uint32_t waited = backend->Millis() - pressed;
    EXPECT_GE(waited, 300u);
    EXPECT_LT(waited, 1000u);  // not until P was let go
    // Both keys were flushed: still held, they neither resume nor count as hits.
    Ticks(20);
    EXPECT_EQ(paused, 1);
}

TEST_F(MainLoop, MPressedAwayFromTheTitleHasNoEffectLaterOnTheTitleScreen) {
    enum Phase { PLAYING, GAME_OVER, NAME_ENTRY };
    for (Phase pressedIn : {PLAYING, GAME_OVER, NAME_ENTRY}) {
        ResetGameGlobals();
        StartMusic();
        StartPlaying();
        player->score = 123456;  // enters the table: the name entry follows
        if (pressedIn == PLAYING) {
            backend->Press(KEY_M);
        }
        Ticks(10);
        backend->Release(KEY_M);
        backend->Press(KEY_ESCAPE);
        Tick();
        ASSERT_EQ(gameState, STATE_GAMEOVER);
        if (pressedIn == GAME_OVER) {
            backend->Press(KEY_M);
        }
        Ticks(GAMEOVER_TICKS);
        ASSERT_EQ(gameState, STATE_ENTERNAME);
        if (pressedIn == NAME_ENTRY) {
            backend->Press(KEY_M);
        }
        Ticks(10);
        backend->Type(13);
        Tick();
        ASSERT_EQ(gameState, STATE_TITLE);
        Ticks(50);
        EXPECT_EQ(musicOn, 1) << pressedIn;
        backend->Release(KEY_M);
        backend->Press(KEY_M);  // while a press on the title still toggles it
        Tick();
        EXPECT_EQ(musicOn, 0) << pressedIn;
    }
}

}  // namespace
