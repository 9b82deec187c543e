// The key filters of the word, synonym and value fields, fed any keys in any
// order on a small word database: lookups, pattern searches, Enter saves.
// A handler that fails ends the program, which the fuzzer reports.
#include <QApplication>
#include <cstdint>
#include <filesystem>
#include <string>

#include "lookup/Velmora.h"
#include "shared/M.h"
#include "store/wordstore.h"
#include "ui/toolkit.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    ui::setUpApplication();
    const auto dir = std::filesystem::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::filesystem::remove("velmora.mdb");
    store::CreateDatabase("velmora.mdb");
    {
        store::Database d("velmora.mdb");
        for (const char* w : {"CAT", "CATS", "DOG", "ÆRE", "A'B"}) d.SaveWord(w);
        d.SaveSynonymPair("CAT", "FELINE");
        d.SaveValueLink("CAT", "TOM");
        d.SaveCategoryLink("CAT", "ANIMAL");
    }
    ui::setMsgBoxHandler(
        [](const ui::MsgBoxCall& c) { return c.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::OK; });
    ui::setModalDriver([](ui::Form& f) { f.Hide(); });
    M::Velmora();  // the window made before the first input
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Velmora& window = M::Velmora();
    ui::TextBox* fields[] = {&window.T_Ord, &window.T_Synonym, &window.T_Verdi};
    for (ui::TextBox* f : fields) f->setText("");
    for (size_t i = 0; i + 1 < size; i += 2) fields[data[i] % 3]->handleKey(data[i + 1]);
    return 0;
}
