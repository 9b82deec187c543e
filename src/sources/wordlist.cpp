#include "sources/wordlist.h"

#include "sources/text.h"

namespace sources {

void ReadWordList(const std::string& path, const std::string& encoding, store::WordListBuilder& rows,
                  const Progress& progress) {
    std::string text = ToUtf8(ReadFile(path), encoding, path);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    const std::string_view all(text);
    size_t pos = 0;
    long entries = 0, words = 0, lineNo = 0, firstLine = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = Trim(all.substr(pos, end - pos));
        pos = end + 1;
        ++lineNo;
        if (line.empty()) continue;
        if (++entries % 65536 == 0 && progress) progress(double(pos) / double(all.size()), entries);
        if (firstLine == 0) firstLine = lineNo;
        std::optional<std::string> w = store::Typeable(line);
        if (!w || w->empty()) {
            rows.skip("cannot be typed");
        } else {
            rows.addWord(*w, true);
            ++words;
        }
    }
    // Not one word is a list read in the wrong encoding, or no list at all.
    if (words == 0)
        throw store::ImportError(
            path, firstLine,
            entries == 0 ? "the file holds no words"
                         : "no line is a word as " + encoding + " text (give the file's encoding with --encoding)");
    if (progress) progress(1.0, entries);
}

namespace {
// Bogotá as WordNet spells it, Bogota: the Latin-1 letters with an accent
// written as their plain letter; å, æ and ø, letters of their own, stay.
std::string withoutAccents(std::string_view w) {
    static constexpr std::string_view kPlain = "AAAAAxxCEEEEIIIIDNOOOOOxxUUUUY";  // À … Ý
    std::string out;
    for (size_t i = 0; i < w.size(); ++i) {
        const auto next = i + 1 < w.size() ? size_t(static_cast<unsigned char>(w[i + 1])) : 0;
        const size_t at = next >= 0xA0 ? next - 0xA0 : next - 0x80;  // small letters as capitals
        if (static_cast<unsigned char>(w[i]) == 0xC3 && next >= 0x80 && at < kPlain.size() && kPlain[at] != 'x') {
            out += kPlain[at];
            ++i;
        } else {
            out += w[i];
        }
    }
    return out;
}
}  // namespace

void ReadRanks(const std::string& path, int rank, store::WordListBuilder& rows) {
    std::string text;
    try {
        text = ToUtf8(ReadFile(path), "UTF-8", path);
    } catch (const store::ImportError& e) {
        if (e.line() == 0) throw;
        throw store::ImportError(path, e.line(), "not UTF-8 text, which a SCOWL size list is");
    }
    for (std::string_view line : Split(text, '\n')) {
        const std::string_view word = Trim(line);
        if (std::optional<std::string> w = store::Typeable(word); w && !w->empty()) rows.setRank(*w, rank);
        // Only a word with an accent has a second, plain form to rank.
        if (std::string plain = withoutAccents(word); plain != word)
            if (std::optional<std::string> w = store::Typeable(plain); w && !w->empty()) rows.setRank(*w, rank);
    }
}

}  // namespace sources
