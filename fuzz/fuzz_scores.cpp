// Any bytes as the score file: loading always gives ten rows, and saving the
// table then loading it again gives the same table back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "shell/high_scores.h"

namespace {

std::string scratch;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "score file fuzzing: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The table lives in the working directory: use a scratch folder of its
    // own, in memory where there is one, as saving syncs every file.
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/quorvex-fuzz-scores-XXXXXX";
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    Require(mkdtemp(folder.data()) != nullptr, "no scratch folder");
    Require(chdir(folder.data()) == 0, "cannot enter the scratch folder");
    scratch = folder.data();
    std::atexit([] { rmdir(scratch.c_str()); });
    // The table's place is asked of the backend; the headless one keeps it
    // in the working directory, the scratch folder.
    static HeadlessBackend backend;
    backend.recordDrawing = false;
    InstallBackend(&backend);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(SCORE_FILE, "wb");
    Require(file != nullptr, "cannot write the score file");
    Require(size == 0 || std::fwrite(data, 1, size, file) == size, "short write");
    std::fclose(file);

    CreateHighScoreTable();
    LoadScores();
    Require(hiScores.size() == HISCORE_ROWS && hiNames.size() == HISCORE_ROWS,
            "the table does not have ten rows");
    const std::vector<int32_t> scores = hiScores;
    const std::vector<std::string> names = hiNames;

    SaveScores();
    CreateHighScoreTable();
    LoadScores();
    Require(hiScores == scores, "the scores changed on the way through the file");
    Require(hiNames == names, "the names changed on the way through the file");
    std::remove(SCORE_FILE);
    return 0;
}
