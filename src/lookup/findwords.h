// "Find words": every stored word that matches an exact pattern ("?" one
// letter, "*" any run; ?A?E has four letters), that is an anagram of the
// tiles given ("?" a blank tile), that has a number of letters, or that has
// synonyms, as many of these as are given; common words first. A click
// shows the word in the main window as a word picked from the results does.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/toolkit.h"

class F_FinnOrd : public ui::Form {
    Q_OBJECT
public:
    F_FinnOrd();

    ui::Label Label1;
    ui::TextBox T_Monster;  // the pattern
    ui::Label Label2;
    ui::TextBox T_Anagram;
    ui::Label Label3;
    ui::ComboBox C_Antall;  // letter count: "Any", 2 to 15
    ui::CheckBox C_Synonymer;
    ui::Label E_Hjelp;
    ui::Label E_Antall;  // how many were found
    ui::ListBox L_Treff;

    // Runs the search with the fields as they are.
    void Sok();
    void L_Treff_Click();
};
