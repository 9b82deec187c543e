// WordNet's database files read into memory once (the format of Princeton's
// WordNet 3.0, as Debian's wordnet-base installs it): every synset of the four
// parts of speech, the senses of each lemma in index.* order with their tag
// counts from cntlist.rev, and the senses WordNet marks as offensive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "sources/progress.h"

namespace sources {

struct WordNetSynset {
    int pos = 0;                      // 0 noun, 1 verb, 2 adjective, 3 adverb
    int lexfile = 0;                  // the lexicographer file: 3 the top classes (noun.Tops)
    std::vector<std::string> lemmas;  // as the file writes them, an adjective's marker dropped
    std::vector<std::string> words;   // the same as the word field holds them; "" when untypeable
    std::vector<uint32_t> below;      // a noun's kinds and instances (indexes into synsets)
    std::vector<uint32_t> above;      // the nouns it is a kind or instance of
    std::vector<uint32_t> wholes;     // the nouns it is a member, part or substance of
    uint64_t offensive = 0;           // bit k: the k-th word is marked offensive here
    bool instance = false;            // a name (Oslo), not a kind
    bool pertains = false;            // an adjective "of" a noun (boric: of boron)
};

struct WordNetSense {
    uint32_t synset;  // index into synsets
    int pos;
    int number;  // from 1, in index.* order
    int tags;    // how often the sense was met in tagged text
};

struct WordNetData {
    std::vector<WordNetSynset> synsets;
    // A lemma as index.* writes it ("river", "mount_sinai") -> its senses, the
    // nouns first, each part of speech in index.* order.
    std::unordered_map<std::string, std::vector<WordNetSense>> senses;
    long entries = 0;     // synsets read
    long untypeable = 0;  // words the word field cannot type
};

// Reads DIR/data.* and DIR/index.* (DIR/cntlist.rev when there is one). A
// missing file or a malformed line throws store::ImportError naming the file
// and line.
WordNetData LoadWordNet(const std::string& dir, const Progress& progress = {});

// The typed form of a lemma: "Arno_River" is "ARNO RIVER"; nullopt when the
// word field cannot type it.
std::optional<std::string> TypedLemma(std::string_view lemma);

}  // namespace sources
