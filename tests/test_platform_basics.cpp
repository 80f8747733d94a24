#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "platform/headless/headless_backend.h"
#include "platform/keyboard.h"
#include "platform/platform.h"

namespace {

TEST(Texts, ToIntFollowsTheNumberRules) {
    struct Case {
        const char* text;
        int32_t value;
    };
    for (Case c : {Case{"42", 42}, Case{"  42", 42}, Case{"42abc", 42}, Case{"abc", 0},
                   Case{"-5", -5}, Case{"+7", 7}, Case{"", 0}, Case{"-", 0}, Case{"\t-0012", -12},
                   Case{"2147483647", INT32_MAX}, Case{"2147483648", INT32_MAX},
                   Case{"-2147483648", INT32_MIN}, Case{"-99999999999999999999", INT32_MIN},
                   Case{"99999999999999999999999", INT32_MAX}}) {
        EXPECT_EQ(ToInt(c.text), c.value) << c.text;
    }
}

TEST(Texts, ConversionsAndSlices) {
    EXPECT_EQ(Str(-15), "-15");
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Upper("abz!AZ{}"), "ABZ!AZ{}");
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Find("0123456789ABC", "A"), 10);
    EXPECT_EQ(Find("ABC", "Z"), -1);
    EXPECT_EQ(Instr("ABC", "A"), 1);
    EXPECT_EQ(Instr("ABC", "Z"), 0);
    EXPECT_EQ(Slice("1234", -4, 4), "    1234");
    EXPECT_EQ(Slice("1234", 2, 6), "34  ");
}

TEST(Random, StaysWithinBothBoundsInEitherOrderAndRepeatsForASeed) {
    SeedRnd(99);
    std::map<int, int> seen;
    for (int i = 0; i < 6000; ++i) {
        int value = Rand(3, -2);
        ASSERT_GE(value, -2);
        ASSERT_LE(value, 3);
        ++seen[value];
    }
    EXPECT_EQ(seen.size(), 6u);
    for (auto& [value, count] : seen) {
        EXPECT_GT(count, 800) << value;  // about 1000 each
    }
    SeedRnd(7);
    int first = Rand(1, 1000000);
    SeedRnd(7);
    EXPECT_EQ(Rand(1, 1000000), first);
    EXPECT_EQ(Rand(5, 5), 5);
    // The widest range: every quarter of it is reached.
    int quarters[4] = {};
    for (int i = 0; i < 4000; ++i) {
        int64_t wide = int64_t{Rand(INT32_MIN, INT32_MAX)} - INT32_MIN;
        ++quarters[wide >> 30];
    }
    for (int quarter : quarters) {
        EXPECT_GT(quarter, 800);  // about 1000 each
    }
}

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        InstallBackend(&backend);
        keyboard::Flush();
    }
    HeadlessBackend backend;
};

TEST_F(Keyboard, HitsCountPressesAndAskingUsesThemUp) {
    backend.Press(KEY_Z);
    backend.Release(KEY_Z);
    backend.Press(KEY_Z);
    EXPECT_EQ(KeyHit(KEY_Z), 2);
    EXPECT_EQ(KeyHit(KEY_Z), 0);
    EXPECT_TRUE(KeyDown(KEY_Z));
    keyboard::Press(KEY_Z, true);  // auto-repeat is not a press
    EXPECT_EQ(KeyHit(KEY_Z), 0);
}

TEST_F(Keyboard, AKeyHeldAcrossAFlushReadsAsUpUntilPressedAgain) {
    backend.Press(KEY_P);
    EXPECT_TRUE(KeyDown(KEY_P));
    FlushKeys();
    EXPECT_FALSE(KeyDown(KEY_P));
    keyboard::Press(KEY_P, true);
    EXPECT_FALSE(KeyDown(KEY_P));
    backend.Release(KEY_P);
    backend.Press(KEY_P);
    EXPECT_TRUE(KeyDown(KEY_P));
}

TEST_F(Keyboard, APressLetGoBeforeTheGameLooksReadsAsHeldOnce) {
    backend.Press(KEY_P);
    backend.Release(KEY_P);
    EXPECT_TRUE(KeyDown(KEY_P));
    EXPECT_FALSE(KeyDown(KEY_P));
    EXPECT_EQ(KeyHit(KEY_P), 1);  // still one hit, not two

    // A press already seen held is not seen again once let go.
    backend.Press(KEY_Z);
    EXPECT_TRUE(KeyDown(KEY_Z));
    backend.Release(KEY_Z);
    EXPECT_FALSE(KeyDown(KEY_Z));

    backend.Press(KEY_SPACE);
    backend.Release(KEY_SPACE);
    FlushKeys();
    EXPECT_FALSE(KeyDown(KEY_SPACE));
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
}

TEST_F(Keyboard, TypedCharactersQueueUpTo256) {
    for (int i = 0; i < 300; ++i) {
        keyboard::Typed('A' + i % 26);
    }
    int count = 0;
    while (GetChar() != 0) {
        ++count;
    }
    EXPECT_EQ(count, 256);
    keyboard::Typed(13);
    FlushKeys();
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(Keyboard, LosingFocusReleasesHeldKeys) {
    backend.Press(KEY_LALT);
    EXPECT_TRUE(KeyDown(KEY_LALT));
    keyboard::ReleaseAll();
    EXPECT_FALSE(KeyDown(KEY_LALT));
}

TEST(EmbeddedFiles, OpenByIncbinName) {
    static const unsigned char bytes[] = {1, 2, 3};
    IncbinRegister("test/three.bin", bytes, 3);
    EmbeddedBytes found = IncbinOpen("incbin::test/three.bin");
    EXPECT_EQ(found.data, bytes);
    EXPECT_EQ(found.length, 3u);
    EXPECT_EQ(IncbinOpen("test/three.bin").data, nullptr);
    EXPECT_EQ(IncbinOpen("incbin::test/none.bin").data, nullptr);
}

}  // namespace
