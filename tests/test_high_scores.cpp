#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/headless/headless_backend.h"
#include "shell/high_scores.h"
#include "tests/scratch_folder.h"

namespace {

// Every test works in a scratch folder of its own, where "scores" lives.
class HighScoreTable : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        InstallBackend(&backend);
        CreateHighScoreTable();
    }
    static void WriteBytes(const std::string& bytes, const std::string& path = "scores") {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path = "scores") { return ReadWholeFile(path); }
    static std::string DefaultFile() {
        std::string bytes;
        for (int i = 0; i < 10; ++i) {
            bytes += std::to_string(100000 - 10000 * i) + "\r\nTELMORAX\r\n";
        }
        return bytes;
    }
    void LoadDefaults() {
        LoadScores();  // no file: the default table
    }

    HeadlessBackend backend;  // the program's folder is writable unless a test says not
};

TEST_F(HighScoreTable, MissingFileGivesDefaultsAndQuitWritesThemByteForByte) {
    LoadScores();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(hiScores[i], 100000 - 10000 * i);
        EXPECT_EQ(hiNames[i], "TELMORAX");
    }
    SaveScores();
    EXPECT_EQ(ReadBytes(), DefaultFile());
}

TEST_F(HighScoreTable, RoundTripKeepsEveryRow) {
    LoadDefaults();
    hiScores[3] = -5;
    hiNames[3] = "";
    hiNames[0] = "A.B -&9";
    SaveScores();
    CreateHighScoreTable();
    LoadScores();
    EXPECT_EQ(hiScores[3], -5);
    EXPECT_EQ(hiNames[3], "");
    EXPECT_EQ(hiNames[0], "A.B -&9");
    EXPECT_EQ(hiScores[9], 10000);
}

TEST_F(HighScoreTable, SavingLeavesNoTemporaryFileBehind) {
    LoadDefaults();
    SaveScores();
    SaveScores();
    EXPECT_NE(access("scores", F_OK), -1);
    EXPECT_EQ(access("scores.saving", F_OK), -1);
}

TEST_F(HighScoreTable, AFileThatCannotBeReplacedLeavesNoTemporaryFileBehind) {
    // A folder where the file should be cannot be replaced by a file.
    ASSERT_EQ(mkdir("scores", 0700), 0);
    LoadDefaults();
    SaveScores();
    EXPECT_EQ(access("scores.saving", F_OK), -1);
    rmdir("scores");
}

TEST_F(HighScoreTable, ScoresThatIsNotAFileGivesTheDefaultsAndIsLeftAlone) {
    for (bool isFolder : {true, false}) {
        if (isFolder) {
            ASSERT_EQ(mkdir("scores", 0700), 0);
            std::ofstream("scores/mine", std::ios::binary) << "kept";
        } else {
            ASSERT_EQ(mkfifo("scores", 0600), 0);  // must not hang the loading
        }
        CreateHighScoreTable();
        LoadScores();
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(hiScores[i], 100000 - 10000 * i) << isFolder;
            EXPECT_EQ(hiNames[i], "TELMORAX") << isFolder;
        }
        InsertScore(123456);
        ::testing::internal::CaptureStderr();
        SaveScores();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        struct stat info {};
        ASSERT_EQ(stat("scores", &info), 0);
        EXPECT_TRUE(isFolder ? S_ISDIR(info.st_mode) : S_ISFIFO(info.st_mode));
        EXPECT_EQ(access("scores.saving", F_OK), -1);
        if (isFolder) {
            EXPECT_EQ(ReadBytes("scores/mine"), "kept");
            std::remove("scores/mine");
        }
        std::remove("scores");
    }
}

TEST_F(HighScoreTable, ASaveThatCannotBeWrittenKeepsTheOldFile) {
    const std::string old = "7\r\nOLD\r\n";
    WriteBytes(old);
    // Nowhere to write the new table beside the old one.
    ASSERT_EQ(mkdir("scores.saving", 0700), 0);
    LoadDefaults();
    SaveScores();
    EXPECT_EQ(ReadBytes(), old);
    rmdir("scores.saving");
}

TEST_F(HighScoreTable, ASaveCutShortByAFullDiskKeepsTheOldFile) {
    const std::string old = "7\r\nOLD\r\n";
    WriteBytes(old);
    LoadDefaults();
    // In a child whose files may not grow past 50 bytes, as on a full disk.
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{50, 50};
        setrlimit(RLIMIT_FSIZE, &limit);
        SaveScores();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(ReadBytes(), old);
    EXPECT_EQ(access("scores.saving", F_OK), -1);
}

struct ParseCase {
    const char* file;
    int32_t score0;
    const char* name0;
    int32_t score1;
    const char* name1;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    for (const char* p = c.file; *p != 0; ++p) {
        *out << (*p == '\r' ? "\\r" : *p == '\n' ? "\\n" : std::string(1, *p));
    }
}

class ScoreFileParsing : public HighScoreTable, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(ScoreFileParsing, ReadsWhatTheLineRulesGive) {
    const ParseCase& c = GetParam();
    WriteBytes(c.file);
    LoadScores();
    EXPECT_EQ(hiScores[0], c.score0);
    EXPECT_EQ(hiNames[0], c.name0);
    EXPECT_EQ(hiScores[1], c.score1);
    EXPECT_EQ(hiNames[1], c.name1);
    EXPECT_EQ(hiScores[9], 0);
    EXPECT_EQ(hiNames[9], "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScoreFileParsing,
    ::testing::Values(ParseCase{"5000", 5000, "", 0, ""},
                      ParseCase{" 42\r\nBOB\r\n42abc\r\nAL\r\n", 42, "BOB", 42, "AL"},
                      ParseCase{"letters\nX\n-5\nY\n", 0, "X", -5, "Y"},
                      ParseCase{"7\nLF ONLY\n8\nUNIX\n", 7, "LF ONLY", 8, "UNIX"},
                      ParseCase{"1\r\nA\rB\r\n", 1, "AB", 0, ""},
                      ParseCase{"99999999999\r\nBIG\r\n-99999999999\r\nSMALL\r\n", 2147483647,
                                "BIG", -2147483647 - 1, "SMALL"},
                      ParseCase{"", 0, "", 0, ""}));

TEST_F(HighScoreTable, DamagedFileNeverBreaksTheTable) {
    // A zero byte ends a line; an over-long line keeps only its first 255
    // characters and the rest of it is skipped.
    std::string bytes =
        std::string("12") + '\0' + "34\r\n" + std::string(100000, 'Q') + "\r\n77\r\nOK\r\n";
    WriteBytes(bytes);
    LoadScores();
    EXPECT_EQ(hiScores[0], 12);
    EXPECT_EQ(hiNames[0], "34");
    EXPECT_EQ(hiScores[1], 0);
    EXPECT_EQ(hiNames[1], "77");
    EXPECT_EQ(hiScores[2], ToInt("OK"));
    WriteBytes(std::string(300, 'N') + "\n" + std::string(300, 'M') + "\n");
    LoadScores();
    EXPECT_EQ(hiNames[0].size(), 255u);
}

// Where the table is read from and saved to, by whether the program's folder
// takes new files and which tables are there already.
struct PlaceCase {
    const char* label;
    bool programFolderWritable;
    const char* programTable;  // null: none
    const char* userTable;     // null: none
    const char* loadedName;    // row 0's name after loading
    bool savedForThePlayer;    // true: in the player's folder, false: beside the program
};

void PrintTo(const PlaceCase& c, std::ostream* out) {
    *out << c.label;
}

class ScoreFilePlace : public HighScoreTable, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(ScoreFilePlace, InstalledGameKeepsItsTableInThePlayersFolder) {
    const PlaceCase& c = GetParam();
    const std::string userFolder = folder + "/home/.local/share/quorvex/";
    const std::string userFile = userFolder + "scores";
    backend.programFolderWritable = c.programFolderWritable;
    backend.userFolder = userFolder;
    if (c.programTable != nullptr) {
        WriteBytes(c.programTable);
    }
    if (c.userTable != nullptr) {
        std::filesystem::create_directories(userFolder);
        WriteBytes(c.userTable, userFile);
    }

    LoadScores();
    EXPECT_EQ(hiNames[0], c.loadedName);
    // Reading alone makes no folder for the player.
    EXPECT_EQ(std::filesystem::exists(userFolder), c.userTable != nullptr);

    hiNames[1] = "SAVED";
    SaveScores();
    const std::string saved = c.savedForThePlayer ? userFile : "scores";
    const std::string untouched = c.savedForThePlayer ? "scores" : userFile;
    const char* untouchedTable = c.savedForThePlayer ? c.programTable : c.userTable;
    std::string savedBytes = ReadBytes(saved);
    EXPECT_NE(savedBytes.find(std::string("\r\n") + c.loadedName + "\r\n"), std::string::npos)
        << savedBytes;
    EXPECT_NE(savedBytes.find("\r\nSAVED\r\n"), std::string::npos) << savedBytes;
    EXPECT_EQ(std::filesystem::exists(untouched), untouchedTable != nullptr);
    if (untouchedTable != nullptr) {
        EXPECT_EQ(ReadBytes(untouched), untouchedTable);
    }
    EXPECT_FALSE(std::filesystem::exists(saved + ".saving"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ScoreFilePlace,
    ::testing::Values(PlaceCase{"run from its own folder, which it may write", true, nullptr,
                                "1\nPLAYER\n", "TELMORAX", false},
                      PlaceCase{"run from its own folder with a table there", true, "1\nPROGRAM\n",
                                "1\nPLAYER\n", "PROGRAM", false},
                      PlaceCase{"installed, first run", false, nullptr, nullptr, "TELMORAX", true},
                      PlaceCase{"installed with a table beside the program", false, "1\nPROGRAM\n",
                                nullptr, "PROGRAM", true},
                      PlaceCase{"installed, the player's table wins", false, "1\nPROGRAM\n",
                                "1\nPLAYER\n", "PLAYER", true},
                      PlaceCase{"installed, only the player's table", false, nullptr, "1\nPLAYER\n",
                                "PLAYER", true}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::to_string(info.index); });

struct InsertCase {
    int32_t score;
    bool enters;
    int32_t rank;
};

void PrintTo(const InsertCase& c, std::ostream* out) {
    *out << "score " << c.score;
}

class ScoreInsertion : public HighScoreTable, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(ScoreInsertion, FollowsTheTieRule) {
    const InsertCase& c = GetParam();
    LoadDefaults();
    for (int row = 0; row < 10; ++row) {
        hiNames[row] = "ROW " + std::to_string(row);  // so that moved names show
    }
    std::vector<int32_t> before = hiScores;
    std::vector<std::string> namesBefore = hiNames;
    entryRank = -1;
    EXPECT_EQ(InsertScore(c.score), c.enters);
    if (!c.enters) {
        EXPECT_EQ(hiScores, before);
        EXPECT_EQ(hiNames, namesBefore);
        return;
    }
    EXPECT_EQ(entryRank, c.rank);
    EXPECT_EQ(hiScores[c.rank], c.score);
    EXPECT_EQ(hiNames[c.rank], "");
    for (int row = 0; row < c.rank; ++row) {
        EXPECT_EQ(hiScores[row], before[row]);
        EXPECT_EQ(hiNames[row], namesBefore[row]);
    }
    // Moved down one with their names; the old row 9 is lost.
    for (int row = c.rank + 1; row < 10; ++row) {
        EXPECT_EQ(hiScores[row], before[row - 1]);
        EXPECT_EQ(hiNames[row], namesBefore[row - 1]);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ScoreInsertion,
                         ::testing::Values(InsertCase{10000, false, 0}, InsertCase{0, false, 0},
                                           InsertCase{10001, true, 9}, InsertCase{95000, true, 1},
                                           InsertCase{100000, true, 1},
                                           InsertCase{250000, true, 0}));

}  // namespace
