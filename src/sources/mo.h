// GNU gettext message catalogues (.mo): the translations that iso-codes
// ships for the names of countries, currencies and languages.
#pragma once

#include <string>
#include <unordered_map>

namespace sources {

// Each English text of the catalogue at `path` with its translation, in
// UTF-8. A file that is no catalogue, or is cut short, throws
// store::ImportError naming it.
std::unordered_map<std::string, std::string> ReadMo(const std::string& path);

}  // namespace sources
