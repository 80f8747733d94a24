// The player's folder the real game saves into: named without touching the
// disk, and the same folder SDL then makes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/sdl/sdl_save_folders.h"

namespace {

// Sets an environment variable (null: unsets it) for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct Environment {
    const char* dataHome;  // under the scratch folder; null: unset
    const char* home;      // likewise
    const char* folder;    // expected, under the scratch folder
};

void PrintTo(const Environment& e, std::ostream* out) {
    *out << "XDG_DATA_HOME=" << (e.dataHome ? e.dataHome : "(unset)") << " HOME=" << e.home;
}

class SdlUserFolder : public ::testing::TestWithParam<Environment> {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvex-prefs-XXXXXX";
        scratch = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(scratch); }
    std::optional<std::string> Under(const char* relative) const {
        return relative ? std::optional<std::string>(scratch + relative) : std::nullopt;
    }

    std::string scratch;
};

TEST_P(SdlUserFolder, IsNamedBeforeItIsMadeAndMadeWhereSdlPutsIt) {
    const Environment& e = GetParam();
    auto dataHome = Under(e.dataHome);
    ScopedVariable setDataHome("XDG_DATA_HOME", dataHome ? dataHome->c_str() : nullptr);
    ScopedVariable setHome("HOME", (scratch + e.home).c_str());
    const std::string expected = scratch + e.folder;

    EXPECT_EQ(sdl::UserFolder(false), expected);
    EXPECT_FALSE(std::filesystem::exists(expected));

    EXPECT_EQ(sdl::UserFolder(true), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    // Asked again, the folder that is there already is given back.
    EXPECT_EQ(sdl::UserFolder(true), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, SdlUserFolder,
    ::testing::Values(Environment{"/data", "/home", "/data/quorvex/"},
                      Environment{"/data/", "/home", "/data/quorvex/"},
                      Environment{nullptr, "/home", "/home/.local/share/quorvex/"},
                      Environment{nullptr, "/home/", "/home/.local/share/quorvex/"}));

TEST(SdlUserFolderWithoutHome, IsEmptyWhenThePlayerHasNone) {
    ScopedVariable noHome("HOME", nullptr);
    ScopedVariable emptyDataHome("XDG_DATA_HOME", "");  // empty counts as unset
    EXPECT_EQ(sdl::UserFolder(false), "");
    EXPECT_EQ(sdl::UserFolder(true), "");
}

}  // namespace
