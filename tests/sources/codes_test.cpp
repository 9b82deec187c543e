// The iso-codes reader with small JSON files and .mo catalogues of its own:
// codes as values, a currency found by its numeric code, translated names,
// and files that cannot be read.
#include <cstdint>
#include <filesystem>
#include <map>

#include "readers.h"
#include "samples.h"
#include "sources/codes.h"
#include "sources/mo.h"

using namespace sources_test;

namespace {

// A .mo catalogue of `entries` (the header entry first), in either byte order.
std::string moFile(const std::map<std::string, std::string>& entries, bool bigEndian = false) {
    std::string head, ids, texts, pool;
    auto put = [&](std::string& to, uint32_t v) {
        for (int i = 0; i < 4; ++i) to += char(bigEndian ? v >> (24 - 8 * i) : v >> (8 * i));
    };
    const uint32_t n = uint32_t(entries.size());
    for (uint32_t v : {0x950412deu, 0u, n, 28u, 28 + 8 * n, 0u, 0u}) put(head, v);
    for (bool text : {false, true})
        for (const auto& [id, tr] : entries) {
            put(text ? texts : ids, uint32_t((text ? tr : id).size()));
            put(text ? texts : ids, 28 + 16 * n + uint32_t(pool.size()));
            pool += (text ? tr : id) + '\0';
        }
    return head + ids + texts + pool;
}

}  // namespace

TEST(Codes, NamesGetTheirCodesAsValuesTranslatedOrNotAndUnreadableFilesAreNamed) {
    testing_support::TempDb tmp;
    writeCodes("json");
    const auto b = collected([](auto& r) { sources::ReadCodes("json", {}, r); });
    Written db(b);
    // Each word and its values. A country: both codes, and the code of the
    // currency with its number. Languages: codes in capitals, the
    // bibliographic one too; each name of a list of names; none for a range.
    // Members and the names as values are one word of letters only; a
    // currency in use is known by its last word, a metal is none.
    EXPECT_EQ(joined(db("SELECT Ord, group_concat(Verdi, ' ') FROM (SELECT * FROM T_OrdVerdi ORDER BY Ord, Verdi) "
                        "GROUP BY Ord ORDER BY Ord")),
              "ACHINESE ACE, ANTARCTICA AQ ATA, COUNTRY ANTARCTICA NORWAY, CURRENCY KRONE LIRA WON, GERMAN DE DEU GER, "
              "GOLD XAU, NORWAY NO NOK NOR, NORWEGIAN BOKMÅL NB NOB, NORWEGIAN KRONE NOK, SOUTH KOREA KOR KR KRW, "
              "TURKISH LIRA TRY, WON KRW");
    EXPECT_EQ(db.members("COUNTRIES"), "ANTARCTICA, NORWAY");
    EXPECT_EQ(b.counts().reasons.at("cannot be typed"), 2);  // "Korea, Republic of", "Bokmål, Norwegian"
    EXPECT_EQ(b.counts().reasons.at("not one word of letters"), 5);
    // Where the size lists are known, a rare name's codes and a language's
    // are no values; a name of more words keeps them.
    store::WordListBuilder ranked;
    for (const auto& [w, r] : {std::pair{"NORWAY", 2}, {"ANTARCTICA", 3}, {"GERMAN", 1}}) ranked.setRank(w, r);
    sources::ReadCodes("json", {}, ranked);
    EXPECT_EQ(
        Written(ranked)("SELECT DISTINCT Ord FROM T_OrdVerdi WHERE Ord NOT IN ('COUNTRY', 'CURRENCY') ORDER BY 1"),
        Rows({{"NORWAY"}, {"NORWEGIAN KRONE"}, {"SOUTH KOREA"}, {"TURKISH LIRA"}}));

    // Names translated by a message catalogue in either byte order; an
    // untranslated name keeps its English name.
    for (bool bigEndian : {false, true}) {
        writeFile("c.mo", moFile({{"", "Content-Type: text/plain; charset=UTF-8\n"},
                                  {"Norway", "Norge"},
                                  {"South Korea", "Sør-Korea"},
                                  {"ctx\x04Norway", "other"}},
                                 bigEndian));
        sources::CodeNames names;
        names.countries = names.country = "LAND";
        names.countryNames = sources::ReadMo("c.mo");
        EXPECT_EQ(names.countryNames.size(), 2u);
        Written translated(collected([&](auto& r) { sources::ReadCodes("json", names, r); }));
        EXPECT_EQ(joined(translated("SELECT Ord, Verdi FROM T_OrdVerdi WHERE Ord IN ('NORGE', 'LAND') ORDER BY 1, 2")),
                  "LAND ANTARCTICA, LAND NORGE, NORGE NO, NORGE NOK, NORGE NOR");
        EXPECT_EQ(translated.members("LAND"), "ANTARCTICA, NORGE");
    }
    // A Latin-1 catalogue is converted.
    writeFile("c.mo", moFile({{"", "Content-Type: text/plain; charset=ISO-8859-1\n"}, {"Norway", "N\xf8rge"}}));
    EXPECT_EQ(sources::ReadMo("c.mo").at("Norway"), "Nørge");

    // Files that cannot be read are named.
    const std::string mo = moFile({{"Norway", "Norge"}}), json = "json/iso_4217.json";
    const std::string huge = mo.substr(0, 8) + "\xff\xff\xff\x7f" + mo.substr(12);  // a count far beyond the file
    for (const auto& [file, text, says] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {json, "{\"4217\": [\n  {\"alpha_3\": \"NOK\",\n  \"name\": }\n]}", json + ", line 3: not readable JSON"},
             {json, "[]", json + ": expected an object with the list \"4217\""},
             {json, "", json + ": no such file"},  // removed, not written
             {"c.mo", mo.substr(0, mo.size() - 8), "c.mo: the file is cut short"},
             {"c.mo", huge, "c.mo: the file is cut short"},
             {"c.mo", "not a catalogue at all, but long enough",
              "c.mo: not a message catalogue (no .mo magic number)"}}) {
        text.empty() ? void(std::filesystem::remove(file)) : writeFile(file, text);
        const std::string got = file == json ? refused([](auto& r) { sources::ReadCodes("json", {}, r); })
                                             : fault([] { sources::ReadMo("c.mo"); });
        EXPECT_EQ(got.substr(0, says.ends_with("JSON") ? says.size() : got.size()), says);  // then the parser's words
    }
}
