#include <gtest/gtest.h>

#include <ostream>

#include "platform/headless/headless_backend.h"
#include "shell/startup.h"

namespace {

class DisplayProbe : public ::testing::Test {
protected:
    void SetUp() override { InstallBackend(&backend); }
    HeadlessBackend backend;
};

struct DepthCase {
    std::vector<DisplayMode> modes;
    int32_t depth;
};

void PrintTo(const DepthCase& c, std::ostream* out) {
    *out << c.modes.size() << " modes";
}

class DepthProbe : public DisplayProbe, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(DepthProbe, TakesTheDeepestOfferedOf32_24_16) {
    backend.modes = GetParam().modes;
    ProbeScreenDepth();
    EXPECT_EQ(screenDepth, GetParam().depth);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, DepthProbe,
    ::testing::Values(DepthCase{{{1024, 768, 16, 60}, {1024, 768, 32, 60}, {1024, 768, 24, 60}},
                                32},
                      DepthCase{{{1024, 768, 16, 60}, {1024, 768, 24, 75}}, 24},
                      DepthCase{{{1024, 768, 16, 60}, {1280, 1024, 32, 60}}, 16},
                      DepthCase{{{1024, 768, 8, 60}, {800, 600, 32, 60}}, 8}, DepthCase{{}, 8}));

struct RateCase {
    std::vector<int> rates;
    int32_t chosen;
};

void PrintTo(const RateCase& c, std::ostream* out) {
    for (int rate : c.rates) {
        *out << rate << "Hz ";
    }
}

class RefreshRate : public DisplayProbe, public ::testing::WithParamInterface<RateCase> {};

TEST_P(RefreshRate, NearestTo75FromBelow) {
    backend.modes.clear();
    for (int rate : GetParam().rates) {
        backend.modes.push_back({1024, 768, 32, rate});
    }
    backend.modes.push_back({800, 600, 32, 75});  // other sizes do not count
    EXPECT_EQ(ChooseRefreshRate(75), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Displays, RefreshRate,
                         ::testing::Values(RateCase{{60, 75, 85}, 75}, RateCase{{85, 60, 72}, 72},
                                           RateCase{{60, 70, 72}, 72}, RateCase{{100, 85}, 85},
                                           RateCase{{0}, 0}, RateCase{{60, 60, 60, 85}, 60}));

TEST_F(DisplayProbe, SameRateAtSeveralDepthsChangesNothing) {
    backend.modes = {{1024, 768, 16, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 85}};
    EXPECT_EQ(ChooseRefreshRate(75), 60);
}

TEST_F(DisplayProbe, ModesBelow16BitsAreNotListed) {
    backend.modes = {{1024, 768, 8, 75}, {1024, 768, 16, 60}};
    EXPECT_EQ(CountGfxModes(), 1);
    EXPECT_FALSE(GfxModeExists(1024, 768, 8, 0));
    EXPECT_TRUE(GfxModeExists(1024, 768, 0, 0));
    EXPECT_TRUE(GfxModeExists(0, 0, 16, 60));
    EXPECT_FALSE(GfxModeExists(1024, 768, 16, 75));
    EXPECT_EQ(ChooseRefreshRate(75), 60);
}

}  // namespace
