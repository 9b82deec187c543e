#include "store/parts.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPart = ".part-";

// The process number in a part file's name for `target` (or for any .mdb
// target when `target` is empty); 0 when the name is not one of ours.
long partOwner(const std::string& name, const std::string& target) {
    const size_t at = name.rfind(kPart);
    if (at == std::string::npos || at == 0) return 0;
    const std::string stem = name.substr(0, at), pid = name.substr(at + kPart.size());
    if (stem != target && !(stem.size() > 4 && stem.ends_with(".mdb"))) return 0;
    if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos || pid[0] == '0')
        return 0;
    return std::stol(pid);
}

// What a build writes: nothing yet, or an SQLite file.
bool holdsAPart(const fs::path& file) {
    std::error_code ec;
    if (fs::file_size(file, ec) == 0 && !ec) return true;
    static const char kHeader[] = "SQLite format 3";  // with its terminating zero byte
    char head[sizeof kHeader] = {};
    std::ifstream in(file, std::ios::binary);
    return in.read(head, sizeof head) && std::memcmp(head, kHeader, sizeof head) == 0;
}

bool processGone(long pid) {
    errno = 0;
    return pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string PartFile(const std::string& target) { return target + std::string(kPart) + std::to_string(::getpid()); }

void RemoveDeadParts(const std::string& folder, const std::string& target) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder.empty() ? fs::path(".") : fs::path(folder), ec)) {
        const long pid = partOwner(e.path().filename().string(), target);
        std::error_code rm;
        if (pid > 0 && e.symlink_status(rm).type() == fs::file_type::regular && processGone(pid) &&
            holdsAPart(e.path()))
            fs::remove(e.path(), rm);
    }
}

std::string WhyNotWritable(const std::string& folder, bool makeFolders) {
    std::string at = folder.empty() ? "." : folder;
    struct stat st {};
    // The nearest folder on the way that is there.
    while (::stat(at.c_str(), &st) != 0) {
        if (errno == EACCES) return "you have no permission to reach " + at;
        if (errno != ENOENT && errno != ENOTDIR) return at + ": " + std::strerror(errno);
        std::string up = fs::path(at).parent_path().string();
        if (up.empty()) up = ".";
        if (up == at) break;
        at = up;
    }
    if (!S_ISDIR(st.st_mode)) return at + " is a file, not a folder";
    if (at != (folder.empty() ? "." : folder) && !makeFolders) return "the folder " + folder + " does not exist";
    if (::access(at.c_str(), W_OK | X_OK) != 0)
        return errno == EROFS ? "the folder " + at + " is on a read-only disk"
                              : "you have no permission to write in the folder " + at;
    return {};
}

}  // namespace store
