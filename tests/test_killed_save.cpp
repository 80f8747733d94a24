// Saving the high-score table while the process is killed at random
// moments: "scores" is always the old file or a complete new one, byte for
// byte, and whatever a killed save leaves behind does not stop the next.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "shell/high_scores.h"
#include "tests/scratch_folder.h"

namespace {

constexpr int KILLS = 200;

// Three tables of different lengths, so that a file cut short or mixed
// from two of them shows.
void FillTable(int version) {
    CreateHighScoreTable();
    for (int row = 0; row < HISCORE_ROWS; ++row) {
        hiScores[row] = (version + 1) * 100000 - 1000 * row;
        hiNames[row] = std::string(static_cast<size_t>(1 + version * 60 + row), 'A' + version);
    }
}

std::string FileOfTable(int version) {
    FillTable(version);
    std::string bytes;
    for (int row = 0; row < HISCORE_ROWS; ++row) {
        bytes += std::to_string(hiScores[row]) + "\r\n" + hiNames[row] + "\r\n";
    }
    return bytes;
}

std::string ReadScores() {
    return ReadWholeFile("scores");
}

class KilledSave : public ScratchFolderTest {
protected:
    // A kill tests the process, not the disk: a folder in memory, where
    // there is one, keeps the many saves quick.
    void SetUp() override {
        EnterScratchFolder(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        InstallBackend(&backend);  // the program's folder is writable: "scores" is here
    }
    void TearDown() override {
        ScratchFolderTest::TearDown();
        CreateHighScoreTable();
    }

    HeadlessBackend backend;
};

TEST_F(KilledSave, TheFileIsAlwaysTheOldOrACompleteNewOne) {
    const std::string files[] = {FileOfTable(0), FileOfTable(1), FileOfTable(2)};
    FillTable(0);
    SaveScores();
    ASSERT_EQ(ReadScores(), files[0]);

    // Kill moments spread over a few saves' time, however fast the disk is.
    std::vector<double> saveMicros;
    for (int i = 0; i < 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        SaveScores();
        std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        saveMicros.push_back(took.count());
    }
    std::sort(saveMicros.begin(), saveMicros.end());
    const int window = static_cast<int>(3 * saveMicros[2]) + 1000;
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> moment(0, window);

    std::string before = ReadScores();
    int changed = 0;
    for (int kill = 0; kill < KILLS; ++kill) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            // Saves the next two tables by turns until killed, and says so
            // after the first save, when it is up to speed.
            for (int round = 0;; ++round) {
                FillTable(1 + round % 2);
                SaveScores();
                if (round == 0) {
                    ssize_t told = write(ready[1], "!", 1);
                    (void)told;
                }
            }
        }
        char told = 0;
        ASSERT_EQ(read(ready[0], &told, 1), 1);
        close(ready[0]);
        close(ready[1]);
        usleep(static_cast<useconds_t>(moment(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string after = ReadScores();
        const bool whole = after == files[0] || after == files[1] || after == files[2];
        ASSERT_TRUE(whole) << "after kill " << kill << " the file holds " << after.size()
                           << " bytes of no table";
        changed += after != before ? 1 : 0;
        before = after;
    }
    // Saves kept completing after earlier ones were killed half way.
    EXPECT_GT(changed, KILLS / 10);

    // And a save now, after all of that, works and tidies up.
    FillTable(0);
    SaveScores();
    EXPECT_EQ(ReadScores(), files[0]);
    EXPECT_NE(access("scores.saving", F_OK), 0);
}

}  // namespace
