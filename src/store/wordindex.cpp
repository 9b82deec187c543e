#include "store/wordindex.h"

#include <locale.h>
#include <sqlite3.h>
#include <wctype.h>

#include <algorithm>
#include <array>

#include "store/order.h"
#include "store/sqlite.h"
#include "store/utf8.h"
#include "store/wildcard.h"

namespace store {

namespace {

// The code point of the character at s[i], and its bytes; a broken
// sequence gives one that no letter has.
std::pair<char32_t, size_t> decode(std::string_view s, size_t i) {
    const size_t n = CharBytes(s, i);
    const auto lead = static_cast<unsigned char>(s[i]);
    if (n == 1) return {lead < 0x80 ? char32_t(lead) : char32_t(0xFFFD), 1};
    if (!WellFormed(s, i)) return {0xFFFD, n};
    char32_t c = lead & (0x7Fu >> n);
    for (size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    return {c, n};
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Blanks and hyphens join the words of a name; the grid leaves them out.
bool joins(char32_t c) { return c == ' ' || c == '-'; }

bool wildcards(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

constexpr size_t kLongest = 64;  // longer words go to no bucket

}  // namespace

bool IsLetter(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    // Unicode's letters, whatever the desktop's locale.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (utf8) return iswalpha_l(wint_t(c), utf8) != 0;
    return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
}

std::shared_ptr<const WordIndex> WordIndex::Build(std::shared_ptr<const WordSet> words,
                                                  const std::vector<std::pair<std::string, int>>& ranks,
                                                  const std::vector<std::string>& withSynonyms) {
    auto ix = std::make_shared<WordIndex>();
    const WordSet& w = *words;
    const size_t n = w.size();
    const auto find = [&](std::string_view word) -> std::optional<uint32_t> {
        size_t lo = 0, hi = n;
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            const int c = CompareWords(w[mid], word);
            if (c == 0) return uint32_t(mid);
            if (c < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        return std::nullopt;
    };

    // Common first: ranked words by rank, then the rest; ties alphabetical.
    std::vector<int> rankOf(n, 0);
    for (const auto& [word, rank] : ranks)
        if (auto i = find(word)) {
            int& r = rankOf[*i];
            if (r == 0 || rank < r) r = std::max(rank, 1);
        }
    std::vector<uint32_t> ranked;
    ix->byRank_.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        if (rankOf[i] > 0) ranked.push_back(i);
    std::stable_sort(ranked.begin(), ranked.end(), [&](uint32_t a, uint32_t b) { return rankOf[a] < rankOf[b]; });
    ix->byRank_ = std::move(ranked);
    for (uint32_t i = 0; i < n; ++i)
        if (rankOf[i] == 0) ix->byRank_.push_back(i);
    ix->rankPos_.resize(n);
    for (uint32_t p = 0; p < n; ++p) ix->rankPos_[ix->byRank_[p]] = p;

    std::vector<uint8_t> synonyms(n, 0);
    for (const std::string& s : withSynonyms)
        if (auto i = find(s)) synonyms[*i] = 1;

    // Letters, counts and buckets, walking the words common first.
    ix->count_.resize(n);
    ix->flags_.resize(n);
    ix->letterOf_.push_back(0);
    std::array<uint8_t, 128> ascii{};
    std::vector<uint8_t> codes;
    for (uint32_t p = 0; p < n; ++p) {
        const std::string_view word = w[ix->byRank_[p]];
        codes.clear();
        int count = 0;
        bool letters = true;
        for (size_t i = 0; i < word.size();) {
            const auto [c, len] = decode(word, i);
            i += len;
            if (joins(c)) continue;
            ++count;
            if (!letters || !IsLetter(c)) {
                letters = false;
                continue;
            }
            uint8_t code = c < 128 ? ascii[c] : ix->codeOf(c);
            if (code == 0) {
                if (ix->letterOf_.size() > 255) {
                    letters = false;  // no code left: the word is left out of the fits
                    continue;
                }
                code = uint8_t(ix->letterOf_.size());
                ix->letterOf_.push_back(c);
                if (c < 128) ascii[c] = code;
                ix->alphabet_.insert(
                    std::lower_bound(ix->alphabet_.begin(), ix->alphabet_.end(), std::make_pair(c, uint8_t(0))),
                    {c, code});
            }
            codes.push_back(code);
        }
        ix->count_[p] = uint8_t(std::min(count, 255));
        ix->flags_[p] = uint8_t((letters && count > 0 ? kLettersOnly : 0) | (synonyms[ix->byRank_[p]] ? kSynonyms : 0));
        if (letters && count > 0 && codes.size() < kLongest) {
            if (ix->buckets_.size() <= codes.size()) ix->buckets_.resize(codes.size() + 1);
            Bucket& b = ix->buckets_[codes.size()];
            b.codes.insert(b.codes.end(), codes.begin(), codes.end());
            b.pos.push_back(p);
        }
    }
    ix->set_ = std::move(words);
    return ix;
}

uint8_t WordIndex::codeOf(char32_t c) const {
    auto it = std::lower_bound(alphabet_.begin(), alphabet_.end(), std::make_pair(c, uint8_t(0)));
    return it != alphabet_.end() && it->first == c ? it->second : 0;
}

std::optional<uint32_t> WordIndex::Position(std::string_view word) const {
    size_t lo = 0, hi = set_->size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        const int c = CompareWords((*set_)[mid], word);
        if (c == 0) return rankPos_[mid];
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return std::nullopt;
}

std::string WordIndex::Letters(uint32_t pos) const {
    if (!(flags_[pos] & kLettersOnly)) return {};
    const std::string_view word = (*this)[pos];
    std::string out;
    for (size_t i = 0; i < word.size();) {
        const auto [c, len] = decode(word, i);
        if (!joins(c)) out.append(word.substr(i, len));
        i += len;
    }
    return out;
}

bool WordIndex::keeps(uint32_t pos, const Search& s) const {
    if (s.letters > 0 && count_[pos] != s.letters) return false;
    if (s.withSynonyms && !(flags_[pos] & kSynonyms)) return false;
    return true;
}

std::vector<uint32_t> WordIndex::Find(const Search& s) const {
    std::vector<uint32_t> out;
    if (!s.anagram.empty()) {
        std::array<int, 256> have{};
        int blanks = 0, tiles = 0;
        for (size_t i = 0; i < s.anagram.size();) {
            const auto [c, len] = decode(s.anagram, i);
            i += len;
            if (joins(c)) continue;
            ++tiles;
            if (c == '?') {
                ++blanks;
                continue;
            }
            const uint8_t code = codeOf(c);
            if (code == 0) return out;  // a tile no word has: no word takes every tile
            ++have[code];
        }
        if (s.letters > 0 && s.letters != tiles) return out;
        const Bucket* b = bucket(size_t(tiles));
        if (!b) return out;
        std::array<int, 256> used{};
        const size_t len = size_t(tiles);
        for (size_t k = 0; k < b->pos.size(); ++k) {
            const uint8_t* w = b->codes.data() + k * len;
            int over = 0;
            for (size_t j = 0; j < len; ++j) over += ++used[w[j]] > have[w[j]];
            for (size_t j = 0; j < len; ++j) used[w[j]] = 0;
            if (over > blanks) continue;
            const uint32_t p = b->pos[k];
            if (!keeps(p, s)) continue;
            if (!s.pattern.empty() && !wildcardMatch(s.pattern, (*this)[p])) continue;
            out.push_back(p);
        }
        return out;
    }
    if (!s.pattern.empty()) {
        // The matches come in alphabetical order; a bit a position puts them
        // common first in one pass.
        std::vector<uint64_t> bits((size() + 63) / 64, 0);
        for (uint32_t i : set_->Find(s.pattern)) {
            const uint32_t p = rankPos_[i];
            if (keeps(p, s)) bits[p / 64] |= uint64_t(1) << (p % 64);
        }
        for (size_t b = 0; b < bits.size(); ++b)
            for (uint64_t v = bits[b]; v; v &= v - 1) out.push_back(uint32_t(b * 64 + size_t(__builtin_ctzll(v))));
        return out;
    }
    if (s.letters <= 0 && !s.withSynonyms) return out;
    for (uint32_t p = 0; p < size(); ++p)
        if (keeps(p, s)) out.push_back(p);
    return out;
}

std::vector<uint32_t> WordIndex::Fit(std::string_view squares, std::string_view filter) const {
    std::vector<uint32_t> out;
    // Each square: 0 for free, else the code its letter must have.
    std::vector<std::pair<size_t, uint8_t>> fixed;
    size_t len = 0;
    for (size_t i = 0; i < squares.size(); ++len) {
        const auto [c, n] = decode(squares, i);
        i += n;
        if (c == '?') continue;
        const uint8_t code = IsLetter(c) ? codeOf(c) : 0;
        if (code == 0) return out;  // a square no letter of ours can fill
        fixed.emplace_back(len, code);
    }
    const Bucket* b = bucket(len);
    if (!b) return out;
    // The filter's letters, or its pattern.
    const bool pattern = wildcards(filter);
    std::array<int, 256> want{};
    bool wants = false;
    if (!pattern) {
        for (size_t i = 0; i < filter.size();) {
            const auto [c, n] = decode(filter, i);
            i += n;
            if (joins(c)) continue;
            const uint8_t code = codeOf(c);
            if (code == 0) return out;
            ++want[code];
            wants = true;
        }
    }
    std::array<int, 256> seen{};
    for (size_t k = 0; k < b->pos.size(); ++k) {
        const uint8_t* w = b->codes.data() + k * len;
        bool fits = true;
        for (const auto& [at, code] : fixed)
            if (w[at] != code) {
                fits = false;
                break;
            }
        if (!fits) continue;
        if (wants) {
            for (size_t j = 0; j < len; ++j) ++seen[w[j]];
            for (size_t c = 1; c < want.size() && fits; ++c) fits = seen[c] >= want[c];
            for (size_t j = 0; j < len; ++j) seen[w[j]] = 0;
            if (!fits) continue;
        }
        if (pattern) {
            std::string letters;
            for (size_t j = 0; j < len; ++j) encode(letterOf_[w[j]], letters);
            if (!wildcardMatch(filter, letters)) continue;
        }
        out.push_back(b->pos[k]);
    }
    return out;
}

std::vector<std::pair<std::string, int>> ReadRanks(Connection& c) {
    std::vector<std::pair<std::string, int>> out;
    // Only a word database built with commonness has the table.
    if (!c.prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1").bind(1, "T_Rang").step())
        return out;
    Stmt st = c.prepare("SELECT Ord, Rang FROM T_Rang WHERE Ord IS NOT NULL AND Rang IS NOT NULL");
    while (st.step()) out.emplace_back(st.text(0), int(std::clamp<int64_t>(st.integer(1), 1, 1 << 30)));
    return out;
}

std::vector<std::string> ReadWordsWithSynonyms(Connection& c) {
    std::vector<std::string> out;
    Stmt st = c.prepare("SELECT DISTINCT Ord FROM T_OrdSynonym WHERE Ord IS NOT NULL");
    while (st.step()) out.push_back(st.text(0));
    return out;
}

}  // namespace store
