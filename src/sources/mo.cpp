#include "sources/mo.h"

#include <array>
#include <cstdint>

#include "sources/text.h"
#include "store/wordlists.h"

namespace sources {

namespace {

// The catalogue's header entry (its English text is empty) names the charset.
std::string charsetOf(const std::string& header) {
    const std::string key = "charset=";
    const size_t at = header.find(key);
    if (at == std::string::npos) return "UTF-8";
    const size_t end = header.find_first_of(" ;\n", at + key.size());
    return header.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
}

}  // namespace

std::unordered_map<std::string, std::string> ReadMo(const std::string& path) {
    const std::string data = ReadFile(path);
    auto fail = [&](const std::string& what) { return store::ImportError(path, 0, what); };
    if (data.size() < 28) throw fail("not a message catalogue (too short)");
    // The magic number tells the byte order of every number after it.
    auto raw = [&](size_t at) {
        if (at + 4 > data.size()) throw fail("the file is cut short");
        const auto* b = reinterpret_cast<const unsigned char*>(data.data() + at);
        return std::array<uint32_t, 2>{
            uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24,
            uint32_t(b[3]) | uint32_t(b[2]) << 8 | uint32_t(b[1]) << 16 | uint32_t(b[0]) << 24};
    };
    const auto magic = raw(0);
    int order;
    if (magic[0] == 0x950412deU)
        order = 0;
    else if (magic[1] == 0x950412deU)
        order = 1;
    else
        throw fail("not a message catalogue (no .mo magic number)");
    auto word = [&](size_t at) { return raw(at)[size_t(order)]; };
    if (word(4) >> 16 != 0) throw fail("a message catalogue of an unknown revision");
    const uint32_t n = word(8), originals = word(12), translations = word(16);
    // Both tables lie inside the file before anything is reserved for them.
    for (uint32_t table : {originals, translations})
        if (uint64_t(table) + uint64_t(n) * 8 > data.size()) throw fail("the file is cut short");
    auto text = [&](uint32_t table, uint32_t i) {
        const size_t entry = size_t(table) + size_t(i) * 8;
        const uint32_t len = word(entry), at = word(entry + 4);
        if (size_t(at) + len > data.size()) throw fail("the file is cut short");
        return std::string_view(data).substr(at, len);
    };
    std::unordered_map<std::string, std::string> out;
    std::string charset = "UTF-8";
    out.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        std::string_view id = text(originals, i), tr = text(translations, i);
        if (id.empty()) {
            charset = charsetOf(std::string(tr));
            continue;
        }
        // Texts with a context (before \x04) are for other uses; of plural
        // forms (after \0) the first is the name.
        if (id.find('\x04') != std::string_view::npos) continue;
        id = id.substr(0, id.find('\0'));
        tr = tr.substr(0, tr.find('\0'));
        if (tr.empty()) continue;
        out.emplace(std::string(id), std::string(tr));
    }
    const std::string upper = UpperAscii(charset);
    if (upper != "UTF-8" && upper != "UTF8")
        for (auto& [id, tr] : out) tr = ToUtf8(tr, charset, path);
    return out;
}

}  // namespace sources
