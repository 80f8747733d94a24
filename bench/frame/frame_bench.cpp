// What a frame of the title and the play screen costs on the real SDL and
// OpenGL backend, beside an SDL_Renderer peer drawing a 1024x768 background
// and as many blended 32x32 sprites as the game's frame has, in the same
// run. Frames are shown at once (no waiting for the display), the two take
// turns over several rounds, and the medians are reported with their ratio.
// Processor time counts every thread of the process, so the rasterizer's
// threads of a software OpenGL are in it.
//
//   quorvex_frame_bench [--rounds N] [--frames N] [--shots DIR]
//   quorvex_frame_bench --peer-paced SPRITES
//
// --shots writes the game's title and play frames as PPM pictures to DIR.
// --peer-paced runs only the peer, paced at 60 frames a second, until it is
// ended, for measuring its processor share from outside.
// Without a display (no DISPLAY set) it says so and does nothing.
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "bench/frame/renderer_peer.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_renderer.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/frame.h"
#include "presentation/starfield.h"
#include "shell/embedded_files.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// Ticks of 4 ms between two frames at 60 a second, near enough.
constexpr int kTicksPerFrame = 4;
// Where a marching wave stands a few seconds into a game.
constexpr int kFormationShift = 600;

struct Options {
    int rounds = 7;
    int frames = 120;
    std::string shots;
    int pacedPeerSprites = -1;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--rounds" && hasValue) {
            options.rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--frames" && hasValue) {
            options.frames = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--shots" && hasValue) {
            options.shots = argv[++i];
        } else if (arg == "--peer-paced" && hasValue) {
            options.pacedPeerSprites = std::max(0, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr,
                         "usage: %s [--rounds N] [--frames N] [--shots DIR]\n"
                         "       %s --peer-paced SPRITES\n",
                         argv[0], argv[0]);
            return false;
        }
    }
    return true;
}

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Cost {
    double ms = 0;
    double processorMs = 0;
};

Cost Measure(int frames, const std::function<void()>& drawFrame) {
    double wall = WallSeconds();
    double processor = ProcessSeconds();
    for (int i = 0; i < frames; ++i) {
        drawFrame();
    }
    Cost cost;
    cost.ms = (WallSeconds() - wall) * 1000.0 / frames;
    cost.processorMs = (ProcessSeconds() - processor) * 1000.0 / frames;
    return cost;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// ---- The game's side ------------------------------------------------------

// The pictures are loaded on the headless backend, which skips the
// introduction on a scripted key; drawing then goes to the real one.
void LoadGame(HeadlessBackend& loader) {
    InstallBackend(&loader);
    RegisterEmbeddedFiles();
    loader.PressAt(loader.Millis() + loader.frameMillis + 1, KEY_SPACE);
    LoadResources();
    MeasureFont();
    LoadSounds();  // bullets play their sound when made
    CreateHighScoreTable();
    SeedRnd(1);
    TStar::CreateField();
    player = new TShip();
}

void ShowTitle() {
    gameState = STATE_TITLE;
    TAlien::ClearAll();
    TBullet::ClearAll();
    TBomb::ClearAll();
    TExplosion::ClearAll();
}

// A game a few seconds in: the whole wave marching, a few bullets and bombs
// in flight, two explosions.
void ShowPlay() {
    ShowTitle();
    gameState = STATE_PLAYING;
    wave = 1;
    player->Reset();
    TAlien::CreateWave();
    alienList->ForEach([](TAlien* alien) { alien->x += kFormationShift; });
    for (int i = 0; i < 3; ++i) {
        TBullet::Create(480 + 20 * i, 600 - 90 * i);
    }
    for (int i = 0; i < 5; ++i) {
        TBomb::Create(200 + 140 * i, 300 + 60 * i);
    }
    TExplosion::Create(300, 400, 0);
    TExplosion::Create(700, 450, 1);
}

// Sets a screen up with the loader's backend in place, so that the sounds
// the objects make on creation go to its silent mixer: no audio thread runs
// in the measured process.
void Show(HeadlessBackend& loader, void (*show)()) {
    Backend& drawing = TheBackend();
    InstallBackend(&loader);
    show();
    InstallBackend(&drawing);
}

void GameFrame() {
    for (int i = 0; i < kTicksPerFrame; ++i) {
        TStar::UpdateAll();
    }
    ComposeFrame();
    Flip(0);
}

// Sprites in one frame of the current screen, counted on the headless backend.
int SpritesPerFrame(HeadlessBackend& loader) {
    Backend& drawing = TheBackend();
    InstallBackend(&loader);
    loader.calls.clear();
    ComposeFrame();
    Flip(0);
    int sprites = 0;
    for (const DrawCall& call : loader.LastFrame()) {
        sprites += call.kind == DrawCall::SPRITE || call.kind == DrawCall::TEXT ? 1 : 0;
    }
    InstallBackend(&drawing);
    return sprites;
}

// Reads the frame just shown back from the back buffer, which software
// OpenGL leaves holding it after the swap; the measuring needs nothing more
// portable.
bool WriteShot(const std::string& path) {
    std::vector<unsigned char> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", kWidth, kHeight);
    // OpenGL's rows run bottom up.
    for (int y = kHeight - 1; y >= 0; --y) {
        std::fwrite(&rgb[static_cast<size_t>(y) * kWidth * 3], 1, kWidth * 3, file);
    }
    return std::fclose(file) == 0;
}

// ---- The comparison --------------------------------------------------------

struct Screen {
    const char* name;
    void (*show)();
};

struct Result {
    int sprites = 0;
    double drawCalls = 0;
    std::vector<double> ms, processorMs;
};

void Report(const char* screen, const char* who, const Result& r) {
    std::printf("%-6s %-5s %8d %11.1f %10.2f %14.2f\n", screen, who, r.sprites, r.drawCalls,
                Median(r.ms), Median(r.processorMs));
}

// The game's renderer lets a picture's pixels go once a texture holds them.
const std::vector<uint32_t>& FirstFrame(Image* image) {
    RestorePixels(*image);
    return image->pixels[0];
}

int RunComparison(const Options& options, HeadlessBackend& loader) {
    const Screen screens[] = {{"title", ShowTitle}, {"play", ShowPlay}};

    if (!options.shots.empty()) {
        for (const Screen& screen : screens) {
            Show(loader, screen.show);
            GameFrame();
            std::string path = options.shots + "/" + screen.name + ".ppm";
            if (!WriteShot(path)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
        std::printf("frames written to %s\n", options.shots.c_str());
    }

    SDL_Window* gameWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext gameContext = SDL_GL_GetCurrentContext();
    std::printf("%d rounds of %d frames each, medians; OpenGL: %s\n", options.rounds,
                options.frames, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("%-6s %-5s %8s %11s %10s %14s\n", "screen", "who", "sprites", "draw calls",
                "ms/frame", "processor ms");
    for (const Screen& screen : screens) {
        Show(loader, screen.show);
        Result game, peer;
        game.sprites = SpritesPerFrame(loader);
        RendererPeer renderer;
        if (!renderer.Open(FirstFrame(imgSpace), FirstFrame(imgAlien), game.sprites - 1)) {
            std::fprintf(stderr, "the SDL_Renderer peer cannot start: %s\n", SDL_GetError());
            return 1;
        }
        peer.sprites = renderer.CopiesPerFrame();
        peer.drawCalls = renderer.DrawCallsPerFrame();
        for (int round = 0; round < options.rounds; ++round) {
            SDL_GL_MakeCurrent(gameWindow, gameContext);
            Measure(10, GameFrame);  // settles after the other's turn
            uint64_t calls = sdl::drawCallsMade;
            Cost cost = Measure(options.frames, GameFrame);
            game.drawCalls = static_cast<double>(sdl::drawCallsMade - calls) / options.frames;
            game.ms.push_back(cost.ms);
            game.processorMs.push_back(cost.processorMs);

            auto peerFrame = [&renderer] { renderer.DrawFrame(); };
            Measure(10, peerFrame);
            cost = Measure(options.frames, peerFrame);
            peer.ms.push_back(cost.ms);
            peer.processorMs.push_back(cost.processorMs);
        }
        renderer.Close();
        SDL_GL_MakeCurrent(gameWindow, gameContext);
        Report(screen.name, "game", game);
        Report(screen.name, "peer", peer);
        std::printf("%-6s %-5s %8s %11s %10.2f %14.2f\n", screen.name, "ratio", "", "",
                    Median(game.ms) / Median(peer.ms),
                    Median(game.processorMs) / Median(peer.processorMs));
    }
    return 0;
}

// ---- The peer on its own ---------------------------------------------------

int RunPacedPeer(int sprites, HeadlessBackend& loader) {
    InstallBackend(&loader);
    RegisterEmbeddedFiles();
    Image* background = LoadImage("incbin::gfx/space.png", IMAGE_DEFAULT_FLAGS);
    Image* sprite = LoadAnimImage("incbin::gfx/alien.png", 32, 32, 0, 4, IMAGE_DEFAULT_FLAGS);
    if (background == nullptr || sprite == nullptr || SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "the peer cannot start: %s\n", SDL_GetError());
        return 1;
    }
    RendererPeer peer;
    if (!peer.Open(background->pixels[0], sprite->pixels[0], sprites)) {
        std::fprintf(stderr, "the peer cannot open its window: %s\n", SDL_GetError());
        return 1;
    }
    const double period = 1.0 / 60.0;
    double due = WallSeconds();
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                peer.Close();
                SDL_Quit();
                return 0;
            }
        }
        peer.DrawFrame();
        due += period;
        double wait = due - WallSeconds();
        if (wait > 0) {
            SDL_Delay(static_cast<Uint32>(wait * 1000.0));
        } else {
            due = WallSeconds();
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::printf("frame benchmark skipped: no display (DISPLAY is not set)\n");
        return 0;
    }
    static HeadlessBackend loader;
    if (options.pacedPeerSprites >= 0) {
        return RunPacedPeer(options.pacedPeerSprites, loader);
    }
    LoadGame(loader);
    InstallBackend(CreateSdlBackend());
    Graphics(kWidth, kHeight, 0, 0, 0);
    return RunComparison(options, loader);
}
