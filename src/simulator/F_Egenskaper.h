// The square properties dialog: the across and down clue words of one
// square and the number of letters of each answer.
#pragma once

#include "ui/toolkit.h"

class QMenu;
class QAction;

class F_Egenskaper : public ui::Form {
    Q_OBJECT
public:
    F_Egenskaper();

    ui::Label Label3;
    ui::TextBox T_Ord1;
    ui::Label Label4;
    ui::ComboBox C_Ant1;
    ui::Label Label1;
    ui::TextBox T_Ord2;
    ui::Label Label2;
    ui::ComboBox C_Ant2;
    ui::Button K_LukkVindu;

    void T_Ord1_Change();
    void T_Ord2_Change();
    void C_Ant1_Click();
    void C_Ant2_Click();
    void K_LukkVindu_Click();

    // The number at the start of a letter-count text: blanks skipped,
    // reading stops at the first character that cannot continue it.
    static int16_t CountOf(const QString& text);

    // Clue words to pick for the open across (or down) answer `answer`
    // that a fill has written: a drop-down at the end of the word field
    // lists them, and a pick writes it into the field. No words: none offered.
    void OfferClueWords(bool across, const QString& answer, const QStringList& words);
    QMenu* M_Ledetekst1 = nullptr;  // the across field's clue words
    QMenu* M_Ledetekst2 = nullptr;  // the down field's
    QAction* M_Velg1 = nullptr;     // the drop-downs in the fields
    QAction* M_Velg2 = nullptr;

protected:
    // Closing from the title bar confirms the square as Done! does, so the
    // square's mark always agrees with its clue words.
    void closeEvent(QCloseEvent* e) override;
};
