#include "shell/high_scores.h"

#include "platform/platform.h"

const char* const SCORE_FILE = "scores";

std::vector<int32_t> hiScores;
std::vector<std::string> hiNames;
int32_t entryRank = -1;

namespace {

// A table file that exists but cannot be read as a file (a folder, say):
// quitting leaves it alone rather than putting the default table there.
std::string unreadablePath;

void FillDefaultTable() {
    for (int i = 0; i < HISCORE_ROWS; ++i) {
        hiScores[i] = 100000 - 10000 * i;
        hiNames[i] = "TELMORAX";
    }
}

}  // namespace

void CreateHighScoreTable() {
    hiScores.assign(HISCORE_ROWS, 0);
    hiNames.assign(HISCORE_ROWS, "");
    unreadablePath.clear();
}

void LoadScores() {
    std::string path = SavedFileToRead(SCORE_FILE);
    Stream* file = ReadFile(path);
    if (file == nullptr) {
        FillDefaultTable();
        unreadablePath = PathExists(path) ? path : "";
        return;
    }
    // A missing line reads as empty: a short file gives 0 and no name.
    for (int i = 0; i < HISCORE_ROWS; ++i) {
        hiScores[i] = ToInt(ReadLine(file));
        hiNames[i] = ReadLine(file);
    }
    CloseFile(file);
}

void SaveScores() {
    std::string path = SavedFileToWrite(SCORE_FILE);
    if (path == unreadablePath) {
        return;
    }
    Stream* file = WriteFile(path);
    if (file == nullptr) {
        return;
    }
    for (int i = 0; i < HISCORE_ROWS; ++i) {
        WriteLine(file, Str(hiScores[i]));
        WriteLine(file, hiNames[i]);
    }
    CloseFile(file);
}

bool InsertScore(int32_t score) {
    if (score <= hiScores[HISCORE_ROWS - 1]) {
        return false;
    }
    // Below every row that is as good or better: among equals the older stays above.
    entryRank = 0;
    while (entryRank < HISCORE_ROWS - 1 && score <= hiScores[entryRank]) {
        ++entryRank;
    }
    for (int row = HISCORE_ROWS - 2; row >= entryRank; --row) {
        hiScores[row + 1] = hiScores[row];
        hiNames[row + 1] = hiNames[row];
    }
    hiScores[entryRank] = score;
    hiNames[entryRank] = "";
    return true;
}
