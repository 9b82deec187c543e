// The results window: the matches of a pattern or category lookup, from
// which the user picks one word.
#pragma once

#include "ui/toolkit.h"

class Resultat : public ui::Form {
    Q_OBJECT
public:
    Resultat();

    ui::ListBox L_Resultat;
    ui::Button K_Lukk_Vindu;

    void L_Resultat_Click();
    void K_Lukk_Vindu_Click();

protected:
    // Escape closes the window as its Close button does.
    void keyPressEvent(QKeyEvent* e) override;
};
