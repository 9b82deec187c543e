// Editing the word database from the main window: words, category links,
// synonym pairs and values. Each change is one transaction in the file; a
// change the file refuses is reported and leaves the file as it was.
#include "lookup/Velmora.h"
#include "lookup/keys.h"
#include "shared/M.h"

void Velmora::reportWriteError(const std::exception& e) {
    const auto* db = dynamic_cast<const store::DbError*>(&e);
    if (db && db->kind() == store::DbError::Kind::Denied) {
        ui::MsgBox(
            "The word database " + QString::fromUtf8(db->file()) + " is read-only for you, so nothing was changed.",
            ui::Buttons::OK, "Velmora");
        return;
    }
    if (db && db->kind() == store::DbError::Kind::Lost) {
        ui::MsgBox(
            "The connection to the word database was lost, so the change may not have been made; look the "
            "word up to see. Velmora connects again at the next lookup or change.\n" +
                QString::fromUtf8(e.what()),
            ui::Buttons::OK, "Velmora");
        return;
    }
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
        db.CheckWritable();  // told at once, never asked first
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
        db.CheckWritable();
        if (ui::MsgBox("Do you really want to erase this category: " + category + "?", ui::Buttons::YesNo, "Velmora") !=
            ui::Answer::Yes)
            return;
        db.EraseCategoryLink(M::s(word), M::s(category));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    reenter("", word);
}

// ---------------------------------------------------------------- synonyms and values

// The synonym and value fields save alike: the word and the text in
// capitals, as stored; a word is never linked to itself.
void Velmora::saveLink(ui::TextBox& field, const LinkWrite& save, const QString& already) {
    if (T_Ord.Text().isEmpty() || field.Text().isEmpty()) return;
    const QString word = ui::upperCase(T_Ord.Text());
    const QString text = ui::upperCase(field.Text());
    // Compared as stored: a pasted lower-case text is the same word.
    if (word == text) return;
    bool added;
    try {
        store::Database db = M::OpenDatabase();
        added = save(db, M::s(word), M::s(text));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    if (added) {
        field.SetFocus();
        field.setText("");
    } else {
        ui::MsgBox(already, ui::Buttons::OK, "Velmora");
    }
    reenter(text, word);
}

// Erases the link to the entry picked in `list`, once the user agrees;
// `keep` leaves the erased text in the word field for a moment, so that the
// lists are read afresh.
void Velmora::eraseLink(ui::ListBox& list, const QString& what, const LinkWrite& erase, bool keep) {
    const QString word = T_Ord.Text();
    const QString text = list.Text();
    if (word.isEmpty() || text.isEmpty()) return;
    try {
        store::Database db = M::OpenDatabase();
        db.CheckWritable();
        if (ui::MsgBox("Do you really want to erase this " + what + ": " + text + "?", ui::Buttons::YesNo, "Velmora") !=
            ui::Answer::Yes)
            return;
        erase(db, M::s(word), M::s(text));
    } catch (const store::DbError& e) {
        reportWriteError(e);
        return;
    }
    reenter(keep ? text : QString(""), word);
}

void Velmora::K_Lagre_Synonym_Click() {
    saveLink(
        T_Synonym,
        [](store::Database& db, const std::string& w, const std::string& t) { return db.SaveSynonymPair(w, t); },
        "The word and the synonym are already registered!");
}

void Velmora::K_Slett_Synonym_Click() {
    eraseLink(
        L_Synonymer, "synonym",
        [](store::Database& db, const std::string& w, const std::string& t) { return db.EraseSynonymPair(w, t) > 0; },
        true);
}

void Velmora::K_Lagre_Verdi_Click() {
    saveLink(
        T_Verdi, [](store::Database& db, const std::string& w, const std::string& t) { return db.SaveValueLink(w, t); },
        "The word and the value are already registered!");
}

void Velmora::K_Slett_Verdi_Click() {
    eraseLink(
        L_Verdier, "value",
        [](store::Database& db, const std::string& w, const std::string& t) { return db.EraseValueLink(w, t); }, false);
}

// ---------------------------------------------------------------- key filters

// The synonym and value fields take letters (in capitals), digits, "-",
// ".", space and backspace; Enter saves what was typed.
void Velmora::linkFieldKey(int& KeyAscii, ui::TextBox& field, void (Velmora::*save)()) {
    if (keys::isLower(KeyAscii)) {
        KeyAscii -= 32;
    } else if (KeyAscii == 8 || KeyAscii == 32 || keys::isPlain(KeyAscii)) {
    } else if (KeyAscii == 13) {
        (this->*save)();
        field.SetFocus();
        field.setText("");
        KeyAscii = 8;
    } else {
        KeyAscii = 0;
    }
}

void Velmora::T_Synonym_KeyPress(int& KeyAscii) { linkFieldKey(KeyAscii, T_Synonym, &Velmora::K_Lagre_Synonym_Click); }

void Velmora::T_Verdi_KeyPress(int& KeyAscii) { linkFieldKey(KeyAscii, T_Verdi, &Velmora::K_Lagre_Verdi_Click); }
