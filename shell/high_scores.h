// The table of the ten best scores and its file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int HISCORE_ROWS = 10;
extern const char* const SCORE_FILE;

extern std::vector<int32_t> hiScores;  // row 0 the best
extern std::vector<std::string> hiNames;
extern int32_t entryRank;  // row whose name is being typed

void CreateHighScoreTable();
// Fills the table from the file, or with the default table when there is
// no file or it cannot be read as one.
void LoadScores();
// Writes the table to the file; one that could not be read is left alone.
void SaveScores();
// True when the score entered the table; entryRank is then its row.
bool InsertScore(int32_t score);
