// The main window: the word field and the three lists that show what the
// word database knows of a word, the fields and buttons that edit it, the
// category search, the clock, and the way to the simulator, intro and about
// windows.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "ui/toolkit.h"

namespace store {
class Database;
}

class QMenu;
class QAction;

class Velmora : public ui::Form {
    Q_OBJECT
public:
    Velmora();

    ui::Label Label6, Label3, Label2, Label1, E_info, E_Klokke;
    ui::CheckBox C_Empty, C_SorterV, C_SorterS, C_Lookup;
    ui::TextBox T_Ord, T_Verdi, T_Synonym;
    ui::Button K_Lagre_Ord, K_Slett_Ord, K_Lagre_Verdi, K_Slett_Verdi, K_Lagre_Synonym, K_Slett_Synonym, K_Sok_Kategori,
        K_Lagre_Kategori, K_Slett_Kategori, K_Simuler, K_lukk;
    ui::ListBox L_Verdier, L_Synonymer, L_Kategorier;
    ui::ComboBox C_Kategori;
    ui::Timer Klokke;

    QMenu* M_Fil = nullptr;
    QMenu* M_Vindu = nullptr;
    QMenu* M_Hjelp = nullptr;
    QAction* M_Exit = nullptr;
    QAction* M_Simuler = nullptr;
    QAction* M_Intro = nullptr;
    QAction* M_Om = nullptr;
    QAction* M_FinnOrd = nullptr;  // "Find words…", Ctrl+F

    // The lookup: the details of a word into the three lists, or a pattern
    // or category lookup into the results window.
    void sok_ord(const QString& ord, bool visResultat);

    // Start-up, clock and the windows opened from here.
    void Klokke_Timer();
    void K_lukk_Click();
    void M_Exit_Click();
    void K_Simuler_Click();
    void M_Simuler_Click();
    void M_Intro_Click();
    void M_Om_Click();
    void M_FinnOrd_Click();

    // The word field, the lists and the category box.
    void T_Ord_KeyPress(int& KeyAscii);
    void T_Ord_Change();
    void T_Ord_GotFocus();
    void T_Ord_LostFocus();
    void C_Kategori_Click();
    void L_Kategorier_Click();
    void L_Synonymer_DblClick();
    void L_Verdier_ItemCheck(int Item);
    void K_Sok_Kategori_Click();

    // Editing words and categories.
    void K_Lagre_Ord_Click();
    void K_Slett_Ord_Click();
    void K_Lagre_Kategori_Click();
    void K_Slett_Kategori_Click();

    // Editing synonyms and values.
    void K_Lagre_Synonym_Click();
    void K_Slett_Synonym_Click();
    void K_Lagre_Verdi_Click();
    void K_Slett_Verdi_Click();
    void T_Synonym_KeyPress(int& KeyAscii);
    void T_Verdi_KeyPress(int& KeyAscii);

    // The hint the word field shows while it has the focus.
    static const QString kHint;

protected:
    void Form_Load() override;

private:
    void layOut();
    void wire();
    // Re-enters the word: two writes, so that the second is a change even
    // when the field held the word already.
    void reenter(const QString& first, const QString& word);
    // Tells the user that a change could not be written; nothing was.
    void reportWriteError(const std::exception& e);
    // Runs a lookup. A file that another program holds locked, and a server
    // that went away, are passing trouble: the lookup is reported as not
    // done and the program goes on (the next operation connects again). Any
    // other failure of the database still ends the program.
    void guardLookup(const std::function<void()>& lookup);
    // One write of a link between the word and a text; true when it changed
    // the word database.
    using LinkWrite = std::function<bool(store::Database&, const std::string& word, const std::string& text)>;
    void saveLink(ui::TextBox& field, const LinkWrite& save, const QString& already);
    void eraseLink(ui::ListBox& list, const QString& what, const LinkWrite& erase, bool keep);
    void linkFieldKey(int& KeyAscii, ui::TextBox& field, void (Velmora::*save)());
};
