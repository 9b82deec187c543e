// The simulator window: a 15 by 15 grid of clue and letter squares, the
// clue words of the square last confirmed, and the four candidate lists.
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "ui/toolkit.h"

class F_Ruter : public ui::Form {
    Q_OBJECT
public:
    F_Ruter();
    ~F_Ruter() override;

    // The square with number n, 1 to 225, counted row by row.
    ui::Button& X(int n);

    ui::Label Label5;
    ui::TextBox L_Vannrett;
    ui::Label Label1;
    ui::ListBox L_Synonymer1;
    ui::Label Label2;
    ui::ListBox L_Verdier1;
    ui::Label Label6;
    ui::TextBox L_Loddrett;
    ui::Label Label4;
    ui::ListBox L_Synonymer2;
    ui::Label Label3;
    ui::ListBox L_Verdier2;
    ui::CheckBox c_clear;
    ui::Button K_Simuler;
    ui::Button K_LukkVindu;

    void X_Click(int index);
    void K_LukkVindu_Click();
    void K_Simuler_Click();
    void L_Synonymer1_Click();
    void L_Synonymer2_Click();
    void L_Verdier1_Click();
    void L_Verdier2_Click();

    // Write a word letter by letter to the right of (1) or below (2) the
    // clue square SimRute; the first letter that does not fit stops it.
    void fyll_velmora1(const QString& nyttOrd1, int16_t lengde1, int16_t SimRute, bool overskriv);
    void fyll_velmora2(const QString& nyttOrd2, int16_t lengde2, int16_t SimRute, bool overskriv);

protected:
    void Form_Load() override;

private:
    void fill(const QString& word, int16_t count, int16_t clue, bool overskriv, int direction, bool across);
    std::array<std::unique_ptr<ui::Button>, 226> squares_;
};
