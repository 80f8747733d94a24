// Every screen of the game runs its frames and ticks without asking the heap
// for memory: operator new is replaced here and counts while a test watches.
// Making an object (a bomb, a bullet, an explosion, a sound) allocates it;
// passes that make none must allocate nothing at all.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/headless/headless_backend.h"
#include "playfield/alien.h"
#include "playfield/ship.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/main_loop.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

// What the object lists hold: their last members, so that a pass which
// made a new object can be told apart.
struct Objects {
    const void* lastBomb = nullptr;
    const void* lastBullet = nullptr;
    const void* lastExplosion = nullptr;
    const void* lastAlien = nullptr;
    const void* lastSound = nullptr;
    size_t count = 0;
    bool operator==(const Objects& other) const {
        return lastBomb == other.lastBomb && lastBullet == other.lastBullet &&
               lastExplosion == other.lastExplosion && lastAlien == other.lastAlien &&
               lastSound == other.lastSound && count == other.count;
    }
};

template <typename T>
const void* Last(ObjectList<T>* list, size_t& count) {
    if (list == nullptr || list->Empty()) {
        return nullptr;
    }
    count += list->Count();
    return list->At(list->Count() - 1);
}

Objects Snapshot() {
    Objects objects;
    objects.lastBomb = Last(bombList, objects.count);
    objects.lastBullet = Last(bulletList, objects.count);
    objects.lastExplosion = Last(explosionList, objects.count);
    objects.lastAlien = Last(alienList, objects.count);
    objects.lastSound = Last(soundEffectList, objects.count);
    return objects;
}

class NoAllocation : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        backend->recordDrawing = false;
        TStar::CreateField();
        StartMusic();
        StartTickClock();
    }
    void TearDown() override {
        counting.store(false);
        GameFixture::TearDown();
    }

    struct Tally {
        long allocations = 0;
        int quietPasses = 0;  // passes that made no object
    };

    // Runs main-loop passes (a frame and its ticks each) and counts the
    // allocations of the passes that made no object.
    Tally Passes(int count) {
        Tally tally;
        for (int i = 0; i < count; ++i) {
            Objects before = Snapshot();
            allocations.store(0);
            counting.store(true);
            RunPass();
            counting.store(false);
            long made = allocations.load();
            bool madeObjects = !(Snapshot() == before);
            if (!madeObjects) {
                tally.allocations += made;
                ++tally.quietPasses;
            }
        }
        return tally;
    }

    // A few passes first, so that lists and buffers reach their sizes.
    Tally Settled(int count) {
        Passes(20);
        return Passes(count);
    }
};

TEST_F(NoAllocation, TitleScreen) {
    Tally tally = Settled(300);
    EXPECT_EQ(tally.quietPasses, 300);
    EXPECT_EQ(tally.allocations, 0);
}

TEST_F(NoAllocation, TitleScreenWithTheMusicOff) {
    ToggleMusic();
    Tally tally = Settled(300);
    EXPECT_EQ(tally.quietPasses, 300);
    EXPECT_EQ(tally.allocations, 0);
}

TEST_F(NoAllocation, PlayScreen) {
    StartPlaying();
    // Moving and firing: the bullets, hits and explosions are made objects,
    // everything else about the frames and ticks allocates nothing.
    backend->PressAt(backend->Millis() + 100, KEY_SPACE);
    backend->PressAt(backend->Millis() + 100, KEY_RIGHT);
    Tally tally = Settled(400);
    EXPECT_EQ(gameState, STATE_PLAYING);
    EXPECT_GT(tally.quietPasses, 200);
    EXPECT_EQ(tally.allocations, 0);
}

TEST_F(NoAllocation, PausedScreen) {
    StartPlaying();
    Passes(20);
    backend->PressAt(backend->Millis() + 1, KEY_P);
    backend->ReleaseAt(backend->Millis() + 30, KEY_P);
    Tally tally = Settled(300);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(tally.quietPasses, 300);
    EXPECT_EQ(tally.allocations, 0);
}

TEST_F(NoAllocation, GameOverScreen) {
    StartPlaying();
    Passes(20);
    backend->PressAt(backend->Millis() + 1, KEY_ESCAPE);
    Passes(3);
    ASSERT_EQ(gameState, STATE_GAMEOVER);
    // The countdown lasts 750 ticks, about 230 passes at 13 ms a frame.
    Tally tally = Passes(200);
    EXPECT_EQ(gameState, STATE_GAMEOVER);
    EXPECT_GT(tally.quietPasses, 100);
    EXPECT_EQ(tally.allocations, 0);
}

TEST_F(NoAllocation, NameEntryScreen) {
    gameState = STATE_ENTERNAME;
    entryRank = 3;
    hiNames[3] = "";
    // Typing goes into the table's row; the screen itself allocates nothing.
    for (int i = 0; i < 5; ++i) {
        backend->TypeAt(backend->Millis() + 200 + 300 * static_cast<uint32_t>(i), 'a' + i);
    }
    Tally tally = Settled(300);
    EXPECT_EQ(gameState, STATE_ENTERNAME);
    EXPECT_EQ(hiNames[3], "ABCDE");
    EXPECT_EQ(tally.quietPasses, 300);
    EXPECT_EQ(tally.allocations, 0);
}

}  // namespace
