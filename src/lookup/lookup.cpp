// The lookup: the word field's handlers, the lists' handlers, the category
// search, and sok_ord, which they all end in.
#include <QStringList>
#include <memory>

#include "lookup/Resultat.h"
#include "lookup/Velmora.h"
#include "lookup/keys.h"
#include "shared/M.h"

namespace {

QStringList toList(const std::vector<std::string>& rows) {
    QStringList out;
    out.reserve(int(rows.size()));
    for (const std::string& r : rows) out << M::q(r);
    return out;
}

}  // namespace

void Velmora::sok_ord(const QString& ord, bool visResultat) {
    const std::string key = M::s(ord);
    store::Database db = M::OpenDatabase();

    if (!visResultat) {
        // The three queries run before the lists are cleared, so a failing
        // one leaves the lists as they were.
        QStringList synonyms = toList(db.Synonyms(key, C_SorterS.Value()));
        QStringList values = toList(db.Values(key, C_SorterV.Value()));
        QStringList categories = toList(db.CategoriesOf(key));
        L_Synonymer.Clear();
        L_Verdier.Clear();
        L_Kategorier.Clear();
        L_Synonymer.AddItems(synonyms);
        L_Verdier.AddItems(values);
        L_Kategorier.AddItems(categories);
        return;
    }

    const bool byCategory = M::SokModus == "kategori";
    // The list reads the matches where they lie: "?" over a million words
    // copies none of them.
    auto matches = std::make_shared<const store::Matches>(byCategory ? store::Matches(db.WordsOfCategory(key))
                                                                     : M::DBEngine().Words().PatternLookup(db, key));
    ::Resultat& r = M::Resultat();
    r.L_Resultat.Clear();
    if (matches->empty()) {
        ui::MsgBox(byCategory ? "No words is found in this category!" : "No similar words found!", ui::Buttons::OK,
                   "Velmora");
    } else {
        const QString count = QString::number(matches->size());
        r.setCaption(byCategory ? "LookupResults for the category: '" + ord + "' - " + count + " word(s)"
                                : "Lookup results for the word: '" + ord + "' - " + count + " word(s)");
        r.L_Resultat.setItems(int(matches->size()), [matches](int i) {
            const std::string_view w = (*matches)[size_t(i)];
            return QString::fromUtf8(w.data(), qsizetype(w.size()));
        });
        M::SokModus = "";
        r.ShowModal();
    }
    // The window may have been unloaded from its title bar: the fresh one
    // holds no selection, so nothing is picked.
    const QString picked = M::Resultat().L_Resultat.Text();
    T_Ord.setText(picked);
}

void Velmora::T_Ord_KeyPress(int& KeyAscii) {
    if (keys::isLower(KeyAscii)) {
        KeyAscii -= 32;
    } else if (keys::isPlain(KeyAscii)) {
    } else if (KeyAscii == '*') {
        M::SokModus = "*";
        C_Empty.setValue(false);
    } else if (KeyAscii == 8 || KeyAscii == 32) {
        if (T_Ord.Text().isEmpty()) KeyAscii = 0;
        M::SokModus = "";
    } else if (KeyAscii == '?') {
        M::SokModus = "?";
        C_Empty.setValue(false);
    } else {
        KeyAscii = 0;
        M::SokModus = "";
    }
}

void Velmora::guardLookup(const std::function<void()>& lookup) {
    try {
        lookup();
    } catch (const store::DbError& e) {
        if (e.kind() == store::DbError::Kind::Lost) {
            M::SokModus = "";
            ui::MsgBox(
                "The connection to the word database was lost, so the lookup could not be made. Velmora "
                "connects again at the next lookup or change.\n" +
                    QString::fromUtf8(e.what()),
                ui::Buttons::OK, "Velmora");
            return;
        }
        if (e.kind() != store::DbError::Kind::Busy) throw;
        M::SokModus = "";
        ui::MsgBox(QString::fromUtf8(e.what()) +
                       "\nAnother program is using the word database; the lookup was not done. Try again in a moment.",
                   ui::Buttons::OK, "Velmora");
    }
}

void Velmora::T_Ord_Change() {
    L_Synonymer.Clear();
    L_Verdier.Clear();
    L_Kategorier.Clear();
    const QString text = T_Ord.Text();
    if (text.isEmpty()) return;

    guardLookup([&] {
        store::Database db = M::OpenDatabase();
        const bool known = db.WordExists(M::s(text));
        if (M::SokModus != "" || known) {
            if (M::SokModus == "") {
                sok_ord(text, false);
            } else {
                M::SokModus = "";
                sok_ord(text, true);
            }
        }
    });
}

void Velmora::T_Ord_GotFocus() {
    E_info.setCaption(kHint);
    if (C_Empty.Value()) T_Ord.setText("");
}

void Velmora::T_Ord_LostFocus() { E_info.setCaption(""); }

void Velmora::L_Synonymer_DblClick() { T_Ord.setText(L_Synonymer.Text()); }

void Velmora::L_Kategorier_Click() { K_Sok_Kategori_Click(); }

void Velmora::C_Kategori_Click() {
    if (C_Lookup.Value()) K_Sok_Kategori_Click();
}

void Velmora::L_Verdier_ItemCheck(int Item) { ui::MsgBox(QString::number(Item), ui::Buttons::OK); }

void Velmora::K_Sok_Kategori_Click() {
    M::SokModus = "kategori";
    const QString picked = L_Kategorier.Text();
    const QString typed = C_Kategori.Text();
    guardLookup([&] {
        if (!picked.isEmpty()) {
            sok_ord(ui::upperCase(picked), true);
        } else if (!typed.isEmpty()) {
            sok_ord(ui::upperCase(typed), true);
        }
    });
    M::SokModus = "";
    C_Empty.setValue(false);
}
