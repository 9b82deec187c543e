// Where velmora-mkdb finds the shipped word lists: installed, beside its own
// program in ../share/velmora; run from the build, in the source tree's data/.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#ifndef VELMORA_DATA_DIR
#define VELMORA_DATA_DIR "data"
#endif
#ifndef VELMORA_INSTALLED_DATA_DIR
#define VELMORA_INSTALLED_DATA_DIR "../share/velmora"
#endif

namespace tools {

inline std::string dataDir() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installed = self.parent_path() / VELMORA_INSTALLED_DATA_DIR;
        if (fs::exists(installed / "demo-words.txt", ec)) return installed.lexically_normal().string();
    }
    return VELMORA_DATA_DIR;
}

}  // namespace tools
