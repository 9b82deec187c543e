// The codes that Debian's iso-codes lists in JSON (/usr/share/iso-codes/json):
// countries with their two- and three-letter codes and their currency's
// code, currencies and languages with theirs.
#pragma once

#include <string>
#include <unordered_map>

#include "store/wordlists.h"

namespace sources {

using Translations = std::unordered_map<std::string, std::string>;

struct CodeNames {
    // The categories the names are linked to.
    std::string countries = "COUNTRIES", currencies = "CURRENCIES", languages = "LANGUAGES";
    // The clue words whose values the names are: NORWAY for COUNTRY, LIRA
    // ("Turkish Lira" shortened) for CURRENCY.
    std::string country = "COUNTRY", currency = "CURRENCY";
    // English name -> the name to store; empty: the English names.
    Translations countryNames, currencyNames, languageNames;
};

// Reads DIR/iso_3166-1.json, DIR/iso_4217.json and DIR/iso_639-2.json. A
// country gets its currency's code where the two share their numeric code
// (578: Norway and the krone). A missing or unreadable file throws
// store::ImportError naming it (and the line, for a fault in the JSON).
// Members and values are answers a grid can take: one word of letters only.
void ReadCodes(const std::string& dir, const CodeNames& names, store::WordListBuilder& rows);

}  // namespace sources
