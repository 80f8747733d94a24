// Text file streams. A file being written goes to a temporary file beside
// it, which replaces the old one only once every byte is on the disk, so an
// interrupted save never leaves a damaged file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/platform.h"

namespace {

// Longest line kept when reading; the rest of a longer line is skipped so a
// damaged file cannot exhaust memory.
constexpr size_t LINE_LIMIT = 255;

}  // namespace

struct Stream {
    FILE* file = nullptr;
    bool writing = false;
    bool failed = false;
    std::string path;
    std::string temporaryPath;
};

Stream* ReadFile(const std::string& path) {
    // Opened without blocking, so a pipe of that name cannot hang the game;
    // anything but a plain file (a folder, a device, a pipe) is not read.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat info {};
    FILE* file = nullptr;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        file = ::fdopen(descriptor, "rb");
    }
    if (file == nullptr) {
        ::close(descriptor);
        return nullptr;
    }
    return new Stream{file, false, false, path, ""};
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

Stream* WriteFile(const std::string& path) {
    std::string temporaryPath = path + ".saving";
    FILE* file = std::fopen(temporaryPath.c_str(), "wb");
    if (file == nullptr) {
        return nullptr;
    }
    return new Stream{file, true, false, path, temporaryPath};
}

std::string ReadLine(Stream* stream) {
    std::string line;
    if (stream == nullptr || stream->writing) {
        return line;
    }
    for (;;) {
        int c = std::fgetc(stream->file);
        if (c == EOF || c == '\n' || c == 0) {
            break;
        }
        if (c != '\r' && line.size() < LINE_LIMIT) {
            line += static_cast<char>(c);
        }
    }
    return line;
}

void WriteLine(Stream* stream, const std::string& text) {
    if (stream == nullptr || !stream->writing) {
        return;
    }
    std::string bytes = text + "\r\n";
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream->file) != bytes.size()) {
        stream->failed = true;
    }
}

void CloseFile(Stream* stream) {
    if (stream == nullptr) {
        return;
    }
    if (!stream->writing) {
        std::fclose(stream->file);
        delete stream;
        return;
    }
    bool ok =
        !stream->failed && std::fflush(stream->file) == 0 && ::fsync(::fileno(stream->file)) == 0;
    ok = std::fclose(stream->file) == 0 && ok;
    if (ok) {
        ok = std::rename(stream->temporaryPath.c_str(), stream->path.c_str()) == 0;
    }
    if (!ok) {
        std::remove(stream->temporaryPath.c_str());
    }
    delete stream;
}
