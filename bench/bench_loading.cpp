// Start-up's picture loading: all fifteen embedded pictures decoded, cut
// into frames and given their collision masks, behind the loading screen.
#include <benchmark/benchmark.h>

#include "platform/headless/headless_backend.h"
#include "platform/image.h"
#include "shell/embedded_files.h"
#include "shell/resources.h"

namespace {

void FreePictures() {
    for (Image** picture : allPictures) {
        delete *picture;
        *picture = nullptr;
    }
}

void BM_LoadAllPictures(benchmark::State& state) {
    HeadlessBackend backend;
    InstallBackend(&backend);
    RegisterEmbeddedFiles();
    for (auto _ : state) {
        // Keys pressed while the pictures load are forgotten; this one comes
        // just after and ends the introduction at once.
        backend.PressAt(backend.Millis() + backend.frameMillis + 1, KEY_ESCAPE);
        LoadResources();
        state.PauseTiming();
        FreePictures();
        backend.calls.clear();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_LoadAllPictures)->Unit(benchmark::kMillisecond);
