#include "store/shown.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "store/utf8.h"

namespace store {

std::string Shown(std::string_view text, size_t maxChars) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < text.size();) {
        if (chars == maxChars) return out + "…";
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = CharBytes(text, i);
        if (c < 0x20 || c == 0x7F || !WellFormed(text, i)) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            n = 1;
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
        ++chars;
    }
    return out;
}

void RemoveDeadParts(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder.empty() ? fs::path(".") : fs::path(folder), ec)) {
        const std::string name = e.path().filename().string();
        const size_t at = name.rfind(".part-");
        if (at == std::string::npos || at == 0) continue;
        const std::string pid = name.substr(at + 6);
        if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const long n = std::strtol(pid.c_str(), nullptr, 10);
        errno = 0;
        if (n > 0 && n != ::getpid() && ::kill(pid_t(n), 0) != 0 && errno == ESRCH) {
            std::error_code rm;
            if (e.is_regular_file(rm)) fs::remove(e.path(), rm);
        }
    }
}

}  // namespace store
