#include "sources/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/wordlists.h"

namespace sources {

std::string ReadFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw store::ImportError(path, 0, "no such file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw store::ImportError(path, 0, std::string("cannot be read: ") + std::strerror(errno));
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (const char c : s) {
        const auto ch = static_cast<unsigned char>(c);
        if (ch < 0x80) {
            out += char(ch);
        } else {
            out += char(0xC0 | (ch >> 6));
            out += char(0x80 | (ch & 0x3F));
        }
    }
    return out;
}

std::string ToUtf8(std::string_view bytes, const std::string& encoding, const std::string& file) {
    // iconv takes "" for the locale's encoding, which is no encoding named.
    iconv_t cd = encoding.empty() ? nullptr : ::iconv_open("UTF-8", encoding.c_str());
    if (!cd || cd == iconv_t(-1))  // NOLINT(performance-no-int-to-ptr): iconv's failure value
        throw store::ImportError(file, 0, "unknown encoding \"" + encoding + "\"");
    std::string out(bytes.size() + bytes.size() / 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    size_t done = 0;
    while (inLeft > 0) {
        char* to = out.data() + done;
        size_t toLeft = out.size() - done;
        const size_t rc = ::iconv(cd, &in, &inLeft, &to, &toLeft);
        done = size_t(to - out.data());
        if (rc != size_t(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        ::iconv_close(cd);
        const size_t at = size_t(in - bytes.data());
        const long line = 1 + long(std::count(bytes.begin(), bytes.begin() + long(at), '\n'));
        throw store::ImportError(file, line,
                                 errno == EINVAL
                                     ? "the file ends inside a character of " + encoding
                                     : "not " + encoding + " text (give the file's encoding with --encoding)");
    }
    ::iconv_close(cd);
    out.resize(done);
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        size_t n = s.find(sep, start);
        out.push_back(s.substr(start, n == std::string_view::npos ? std::string_view::npos : n - start));
        if (n == std::string_view::npos) break;
        start = n + 1;
    }
    return out;
}

bool GridAnswer(std::string_view w, size_t letters) {
    size_t n = 0;
    for (size_t i = 0; i < w.size(); ++i, ++n) {
        const auto ch = static_cast<unsigned char>(w[i]);
        if (ch == 0xC3 && i + 1 < w.size() && std::string_view("\x85\x86\x98").find(w[i + 1]) != std::string_view::npos)
            ++i;
        else if (ch < 'A' || ch > 'Z')
            return false;
    }
    return n >= 2 && n <= letters;
}

}  // namespace sources
