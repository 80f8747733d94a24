#include <map>

#include "platform/platform.h"

namespace {

const std::string PREFIX = "incbin::";

std::map<std::string, EmbeddedBytes>& Table() {
    static std::map<std::string, EmbeddedBytes> table;
    return table;
}

}  // namespace

void IncbinRegister(const std::string& name, const unsigned char* bytes, size_t length) {
    Table()[name] = EmbeddedBytes{bytes, length};
}

EmbeddedBytes IncbinOpen(const std::string& path) {
    if (path.compare(0, PREFIX.size(), PREFIX) != 0) {
        return {};
    }
    auto found = Table().find(path.substr(PREFIX.size()));
    return found == Table().end() ? EmbeddedBytes{} : found->second;
}
