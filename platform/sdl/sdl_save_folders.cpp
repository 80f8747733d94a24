#include "platform/sdl/sdl_save_folders.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>

namespace sdl {

namespace {

const char* const GAME_FOLDER = "quorvex";

// An empty variable counts as unset, as the XDG rules ask; SDL would take
// it as the file system's root.
const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

}  // namespace

bool WorkingFolderWritable() {
    return ::access(".", W_OK) == 0;
}

std::string UserFolder(bool make) {
    const char* dataHome = Variable("XDG_DATA_HOME");
    const char* home = Variable("HOME");
    if (dataHome == nullptr && home == nullptr) {
        return "";
    }
    if (make) {
        char* made = SDL_GetPrefPath("", GAME_FOLDER);
        std::string folder = made != nullptr ? made : "";
        SDL_free(made);
        return folder;
    }
    // SDL's rule: one slash after either variable, however it ends.
    std::string base = dataHome != nullptr ? dataHome : home;
    if (base.back() != '/') {
        base += '/';
    }
    if (dataHome == nullptr) {
        base += ".local/share/";
    }
    return base + GAME_FOLDER + "/";
}

}  // namespace sdl
