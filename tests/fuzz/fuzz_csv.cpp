// The CSV importer's parser: any text either parses or is refused with an
// ImportError; what parses writes back to lines that parse to the same rows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sources/csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<sources::CsvRecord> records;
    try {
        records = sources::ParseCsv(text, "fuzz.csv");
    } catch (const store::ImportError&) {
        return 0;
    }
    std::string again;
    for (const auto& r : records) again += sources::CsvLine(r.fields);  // each line with its own end
    auto back = sources::ParseCsv(again, "again.csv");
    if (back.size() != records.size()) std::abort();
    for (size_t i = 0; i < back.size(); ++i)
        if (back[i].fields != records[i].fields) std::abort();
    return 0;
}
