// Editing the word database from the main window: words, category links,
// synonym pairs and values. Each change is one transaction in the file; a
// change the file refuses is reported and leaves the file as it was.
#include "lookup/Velmora.h"
#include "shared/M.h"

namespace {

bool isLowerKey(int k) { return (k >= 97 && k <= 122) || k == 229 || k == 230 || k == 248; }
bool isPlainKey(int k) { return (k >= '0' && k <= '9') || k == '-' || k == '.'; }

}  // namespace

void Velmora::reportWriteError(const std::exception& e) {
    ui::MsgBox("The word database could not be changed, so nothing was written:\n" + QString::fromUtf8(e.what()),
               ui::Buttons::OK, "Velmora");
}

// ---------------------------------------------------------------- words

void Velmora::K_Lagre_Ord_Click() {
    if (T_Ord.Text().isEmpty()) return;
    // Pasted text skips the key filter; the word is stored in capitals all
    // the same, so that the lookups find it.
    const QString word = ui::upperCase(T_Ord.Text());
    bool added;
    try {
        store::Database db = M::OpenDatabase();
        added = db.SaveWord(M::s(word));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    if (!added) ui::MsgBox("The word " + word + " already exists! Not added!", ui::Buttons::OK, "Velmora");
    // The field shows the word as it is stored, and so finds it.
    if (T_Ord.Text() != word) T_Ord.setText(word);
}

void Velmora::K_Slett_Ord_Click() {
    try {
        store::Database db = M::OpenDatabase();
        const QString word = T_Ord.Text();
        if (word.isEmpty()) return;
        if (!db.FindWordRow(M::s(word))) return;
        if (ui::MsgBox("Do you really want to erase this word: " + word + "?", ui::Buttons::YesNo, "Velmora") !=
            ui::Answer::Yes)
            return;
        db.EraseWord(M::s(word));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    T_Ord.setText("");
}

// ---------------------------------------------------------------- categories

void Velmora::K_Lagre_Kategori_Click() {
    if (C_Kategori.Text().isEmpty() || T_Ord.Text().isEmpty()) return;
    const QString word = ui::upperCase(T_Ord.Text());
    const QString category = ui::upperCase(C_Kategori.Text());
    bool added;
    try {
        store::Database db = M::OpenDatabase();
        added = db.SaveCategoryLink(M::s(word), M::s(category));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    if (added)
        C_Kategori.SetFocus();
    else
        ui::MsgBox("The word and the category is registered before!", ui::Buttons::OK, "Velmora");
    reenter("", word);
}

void Velmora::K_Slett_Kategori_Click() {
    const QString word = T_Ord.Text();
    const QString category = L_Kategorier.Text();
    if (word.isEmpty() || category.isEmpty()) return;
    try {
        store::Database db = M::OpenDatabase();
        if (ui::MsgBox("Do you really want to erase this category: " + category + "?", ui::Buttons::YesNo,
                       "Velmora") != ui::Answer::Yes)
            return;
        db.EraseCategoryLink(M::s(word), M::s(category));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    reenter("", word);
}

// ---------------------------------------------------------------- synonyms

void Velmora::K_Lagre_Synonym_Click() {
    if (T_Ord.Text().isEmpty() || T_Synonym.Text().isEmpty()) return;
    const QString word = ui::upperCase(T_Ord.Text());
    const QString synonym = ui::upperCase(T_Synonym.Text());
    // Compared as stored: a word is never its own synonym.
    if (word == synonym) return;
    bool added;
    try {
        store::Database db = M::OpenDatabase();
        added = db.SaveSynonymPair(M::s(word), M::s(synonym));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    if (added) {
        T_Synonym.SetFocus();
        T_Synonym.setText("");
    } else {
        ui::MsgBox("The word and the synonym are already registered!", ui::Buttons::OK, "Velmora");
    }
    reenter(synonym, word);
}

void Velmora::K_Slett_Synonym_Click() {
    const QString word = T_Ord.Text();
    const QString synonym = L_Synonymer.Text();
    if (word.isEmpty() || synonym.isEmpty()) return;
    try {
        store::Database db = M::OpenDatabase();
        if (ui::MsgBox("Do you really want to erase this synonym: " + synonym + "?", ui::Buttons::YesNo,
                       "Velmora") != ui::Answer::Yes)
            return;
        db.EraseSynonymPair(M::s(word), M::s(synonym));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    reenter(synonym, word);
}

// ---------------------------------------------------------------- values

void Velmora::K_Lagre_Verdi_Click() {
    if (T_Ord.Text().isEmpty() || T_Verdi.Text().isEmpty()) return;
    const QString word = ui::upperCase(T_Ord.Text());
    const QString value = ui::upperCase(T_Verdi.Text());
    // Compared as stored: a pasted lower-case text is the same word.
    if (word == value) return;
    bool added;
    try {
        store::Database db = M::OpenDatabase();
        added = db.SaveValueLink(M::s(word), M::s(value));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    if (added) {
        T_Verdi.SetFocus();
        T_Verdi.setText("");
    } else {
        ui::MsgBox("The word and the value are already registered!", ui::Buttons::OK, "Velmora");
    }
    reenter(value, word);
}

void Velmora::K_Slett_Verdi_Click() {
    const QString word = T_Ord.Text();
    const QString value = L_Verdier.Text();
    if (word.isEmpty() || value.isEmpty()) return;
    try {
        store::Database db = M::OpenDatabase();
        if (ui::MsgBox("Do you really want to erase this value: " + value + "?", ui::Buttons::YesNo, "Velmora") !=
            ui::Answer::Yes)
            return;
        db.EraseValueLink(M::s(word), M::s(value));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    reenter("", word);
}

// ---------------------------------------------------------------- key filters

void Velmora::T_Synonym_KeyPress(int& KeyAscii) {
    if (isLowerKey(KeyAscii)) {
        KeyAscii -= 32;
    } else if (KeyAscii == 8 || KeyAscii == 32 || isPlainKey(KeyAscii)) {
    } else if (KeyAscii == 13) {
        K_Lagre_Synonym_Click();
        T_Synonym.SetFocus();
        T_Synonym.setText("");
        KeyAscii = 8;
    } else {
        KeyAscii = 0;
    }
}

void Velmora::T_Verdi_KeyPress(int& KeyAscii) {
    if (isLowerKey(KeyAscii)) {
        KeyAscii -= 32;
    } else if (KeyAscii == 8 || KeyAscii == 32 || isPlainKey(KeyAscii)) {
    } else if (KeyAscii == 13) {
        K_Lagre_Verdi_Click();
        T_Verdi.SetFocus();
        T_Verdi.setText("");
        KeyAscii = 8;
    } else {
        KeyAscii = 0;
    }
}
