#include <unistd.h>

#include <climits>
#include <string>

#include "platform/platform.h"

void EnterProgramFolder() {
    char path[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return;
    }
    std::string folder(path, static_cast<size_t>(length));
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos && ::chdir(folder.substr(0, slash + 1).c_str()) != 0) {
        return;  // stay where we were started
    }
}
