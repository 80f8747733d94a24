// The place of the files the game saves: beside the program when it may
// write there, so a game run from its build or unpacked folder keeps its
// table where it always did; otherwise in the player's own folder.
#include <unistd.h>

#include "platform/backend.h"
#include "platform/platform.h"

std::string SavedFileToRead(const std::string& name) {
    Backend& backend = TheBackend();
    if (backend.ProgramFolderWritable()) {
        return name;
    }
    std::string folder = backend.UserFolder(false);
    if (!folder.empty() && ::access((folder + name).c_str(), R_OK) == 0) {
        return folder + name;
    }
    return name;  // the table the program came with, if any
}

std::string SavedFileToWrite(const std::string& name) {
    Backend& backend = TheBackend();
    if (backend.ProgramFolderWritable()) {
        return name;
    }
    std::string folder = backend.UserFolder(true);
    // Without a folder of the player's the save fails where it always would.
    return folder.empty() ? name : folder + name;
}
