// Tests that read or write "scores" each work in a scratch folder of their
// own: made and entered before the test, left and removed after it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override { EnterScratchFolder("/tmp"); }
    void TearDown() override {
        ASSERT_EQ(chdir(previous_.c_str()), 0);
        std::filesystem::remove_all(folder);
    }
    void EnterScratchFolder(const std::string& base) {
        std::string pattern = base + "/quorvex-test-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder = name.data();
        char here[4096];
        ASSERT_EQ(getcwd(here, sizeof(here)), here);
        previous_ = here;
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }

    std::string folder;

private:
    std::string previous_;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}
