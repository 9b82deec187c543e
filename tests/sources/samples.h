// Small stand-ins for the word data the readers take, written as the real
// files are: a WordNet (data.* and index.* files) and iso-codes' JSON lists.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support.h"

namespace sources_test {

using testing_support::writeFile;

struct Ptr {
    const char* symbol;
    int offset;
    const char* ends = "0000";  // source and target word, 00 for the whole synset
};

// One synset line as data.* writes it (offsets need not be byte positions here).
inline std::string synset(int offset, char type, const std::vector<std::string>& words,
                          const std::vector<Ptr>& ptrs = {}, int lexfile = 5) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%08d %02d %c %02zx", offset, lexfile, type, words.size());
    std::string s = buf;
    for (const std::string& w : words) s += " " + w + " 0";
    std::snprintf(buf, sizeof buf, " %03zu", ptrs.size());
    s += buf;
    for (const Ptr& p : ptrs) {
        std::snprintf(buf, sizeof buf, " %s %08d n %s", p.symbol, p.offset, p.ends);
        s += buf;
    }
    if (type == 'v') s += " 01 + 02 00";
    return s + " | a gloss; \"with | a bar\"\n";
}

inline const std::string kLicence = "  1 This software and database is being provided to you\n  2 under a licence.\n";

// RIVER -> ARNO RIVER, ELBE, PIUS II, RIO GRANDE (instances), TRIBUTARY
// (kind) -> BACKWATER -> SLOUGH -> BAYOU (four levels down); one instance
// too long, one with an apostrophe. PERSON -> SPADE, COON: an ethnic slur,
// where SPADE is a clean tool too, and BAIRN, which only the word BAIRN
// (of two) of its synset makes offensive.
inline std::string nouns() {
    return kLicence +
           synset(100, 'n', {"river"}, {{"~i", 200}, {"~i", 300}, {"~", 400}, {"~i", 700}, {"~i", 800}, {"~i", 900}}) +
           synset(200, 'n', {"Arno_River"}, {{"@i", 100}}) + synset(300, 'n', {"Elbe"}, {{"@i", 100}}) +
           synset(400, 'n', {"tributary", "affluent"}, {{"@", 100}, {"~", 500}}) +
           synset(500, 'n', {"backwater"}, {{"@", 400}, {"~", 600}}) +
           synset(600, 'n', {"slough"}, {{"@", 500}, {"~", 650}}) + synset(650, 'n', {"bayou"}, {{"@", 600}}) +
           synset(700, 'n', {"Abcdefghijklmnop", "Rio_Grande"}, {{"@i", 100}}) +
           synset(800, 'n', {"O'Higgins"}, {{"@i", 100}}) + synset(900, 'n', {"Pius_II"}, {{"@i", 100}}) +
           synset(1000, 'n', {"person"}, {{"~", 1200}, {"~", 1400}}) + synset(1100, 'n', {"spade", "shovel"}) +
           synset(1200, 'n', {"spade", "coon"}, {{"@", 1000}, {";u", 1300}}) +
           synset(1300, 'n', {"ethnic_slur"}, {{"-u", 1200}}) +
           synset(1400, 'n', {"child", "bairn"}, {{"@", 1000}, {";u", 1300, "0200"}});
}

inline std::string index() {
    return kLicence +
           "child n 1 0 1 0 00001400\nperson n 1 0 1 0 00001000\nriver n 1 2 ~ ~i 1 0 00000100\n"
           "spade n 2 0 2 0 00001100 00001200\ntributary n 1 1 ~ 1 0 00000400\n";
}

inline void writeWordNet(const std::string& dir, const std::string& noun = nouns()) {
    std::filesystem::create_directories(dir);
    writeFile(dir + "/data.noun", noun);
    writeFile(dir + "/index.noun", index());
    writeFile(dir + "/data.verb", synset(10, 'v', {"flow", "run"}));
    writeFile(dir + "/data.adj", synset(20, 'a', {"big(a)", "large(a)"}) + synset(30, 's', {"grown-up"}));
    writeFile(dir + "/data.adv", "");
}

// Countries, currencies and languages: names of one word and of several,
// names the word field cannot type, a metal, a range of codes.
inline void writeCodes(const std::string& dir) {
    std::filesystem::create_directories(dir);
    writeFile(dir + "/iso_3166-1.json", R"({"3166-1": [
  {"alpha_2": "NO", "alpha_3": "NOR", "name": "Norway", "numeric": "578", "official_name": "Kingdom of Norway"},
  {"alpha_2": "KR", "alpha_3": "KOR", "common_name": "South Korea", "name": "Korea, Republic of", "numeric": "410"},
  {"alpha_2": "AQ", "alpha_3": "ATA", "name": "Antarctica", "numeric": "010"}
]})");
    writeFile(dir + "/iso_4217.json", R"({"4217": [
  {"alpha_3": "NOK", "name": "Norwegian Krone", "numeric": "578"},
  {"alpha_3": "KRW", "name": "Won", "numeric": "410"},
  {"alpha_3": "TRY", "name": "Turkish Lira", "numeric": "949"},
  {"alpha_3": "XAU", "name": "Gold", "numeric": "959"}
]})");
    writeFile(dir + "/iso_639-2.json", R"({"639-2": [
  {"alpha_2": "de", "alpha_3": "deu", "bibliographic": "ger", "name": "German"},
  {"alpha_2": "nb", "alpha_3": "nob", "name": "Bokmål, Norwegian; Norwegian Bokmål"},
  {"alpha_3": "ace", "name": "Achinese"},
  {"alpha_3": "qaa-qtz", "name": "Reserved for local use"}
]})");
}

}  // namespace sources_test
