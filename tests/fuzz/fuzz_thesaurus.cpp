// The thesaurus importer: any text is read or refused with an ImportError;
// what it reads writes into a word database without breaking its rules, and
// every word kept is one the word field could have typed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sources/thesaurus.h"
#include "store/wordstore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    store::WordListBuilder b;
    try {
        sources::ReadThesaurusText(text, "fuzz.dat", b);
    } catch (const store::ImportError&) {
        return 0;
    }
    store::Connection c(":memory:", store::Connection::Mode::Create);
    store::CreateSchema(c);
    b.write(c);
    long n = 0;
    for (auto words = c.prepare("SELECT Ord FROM T_Ord"); words.step(); ++n)
        if (store::Typeable(words.text(0)) != words.text(0)) std::abort();
    if (n != b.counts().words) std::abort();
    return 0;
}
