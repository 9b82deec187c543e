// The simulator window: the grid being composed (M::Rutenett) shown as clue
// and letter squares, the clue words of the square last confirmed, and the
// four candidate lists, marked by whether each candidate fits; every grid
// change goes to the document, which can undo it.
#pragma once

#include <QJsonObject>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "grid/document.h"
#include "ui/toolkit.h"

class QMenu;
class QAction;

class F_Ruter : public ui::Form {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(F_Ruter)
public:
    F_Ruter();
    ~F_Ruter() override;

    // The square with number n, 1 to the grid's size, counted row by row.
    ui::Button& X(int n);
    const ui::Button& X(int n) const;

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

    // ---- composing aids: undo, the grid's right-click menu, fit marks.

    // The right-click menu of the grid and its entries.
    QMenu* M_Rutenett = nullptr;
    QAction* M_TomRutenett = nullptr;   // "Clear grid"
    QAction* M_TomRute = nullptr;       // "Clear square"
    QAction* M_FyllRutenett = nullptr;  // "Fill grid", also Ctrl+F
    void M_TomRutenett_Click();
    void M_TomRute_Click();
    // Fills every answer of the grid at once (see simulator/fill.h), as one
    // undoable step; the clue squares of answers left empty get a red frame.
    void M_FyllRutenett_Click();
    QAction* M_NyttKryss = nullptr;  // "New puzzle…"
    void M_NyttKryss_Click();
    // Whether square n shows the red frame of an answer the fill left empty.
    bool Framed(int n) const;
    // Right click on square n: the menu at `globalPos`, for that square.
    void X_MouseUp(int n, const QPoint& globalPos);

    // "Words that fit…" on a square of an answer or its clue square: the
    // fitting words' window for that answer (a choice of direction where
    // the square has both).
    QAction* M_Passer = nullptr;
    QMenu* M_PasserRetning = nullptr;
    QAction* M_PasserVannrett = nullptr;
    QAction* M_PasserLoddrett = nullptr;
    void M_Passer_Click(bool across);

    // Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z. Each takes back or does again one
    // change to the grid.
    void Angre();
    void Gjenta();

    // ---- keeping a grid: ipuz files, PDF and print, from the right-click
    // menu and the keyboard.
    QAction* M_LagreRutenett = nullptr;  // "Save grid as…", Ctrl+S
    QAction* M_AapneRutenett = nullptr;  // "Open grid…", Ctrl+O
    QAction* M_EksporterPdf = nullptr;   // "Export as PDF…", Ctrl+E
    QAction* M_SkrivUt = nullptr;        // "Print…", Ctrl+P
    void M_LagreRutenett_Click();
    void M_AapneRutenett_Click();
    void M_EksporterPdf_Click();
    void M_SkrivUt_Click();
    // The file the grid was last saved to or opened from ("" for none).
    const QString& GridFile() const { return gridFile_; }
    // The folder last used for grids, kept between runs.
    static QString GridFolder();
    static void setGridFolder(const QString& folder);

    // Brings the fit marks and tooltips of the four candidate lists up to date.
    void MarkCandidates();
    // What square n shows of the open answers (a letter count, no clue
    // word) from it, each count with an arrow toward its answer, as
    // "5→", "3↓" or "5→ 3↓"; "" for none.
    QString OpenMark(int n) const;
    // Whether entry i of a candidate list fits the grid as it stands.
    bool Fits(const ui::ListBox& list, int i) const;

protected:
    void Form_Load() override;

private:
    // Shows square n as the document holds it.
    void showSquare(int n);
    void setUpComposing();
    void setUpFitting();
    void fitEntryFor(int n);
    void setUpKeeping();
    QString printTitle() const;
    void showClearCursor(bool on);
    void fill(const QString& word, int16_t count, int16_t clue, bool overskriv, bool across);

    // By square number, as the document's grid was when the window was made.
    std::vector<std::unique_ptr<ui::Button>> squares_;
    int menuSquare_ = 0;
    // The grid's file, and the fields of it that Velmora does not know,
    // written again when the grid is saved.
    QString gridFile_;
    QJsonObject kept_;
    // The candidate lists with their answer's direction and the fit of
    // each entry, which the lists' painting reads.
    struct Candidates {
        ui::ListBox* list;
        bool across;
        std::vector<char> fits;
    };
    std::array<Candidates, 4> candidates_;
    void setUpMarks();
    std::vector<QWidget*> frames_;
    std::vector<QWidget*> openMarks_;
    void showOpenMarks();
    void setFramed(int n, bool on);
    // Offers the dialog clue words for the open answers of the active
    // square that a fill has written.
    void offerClueWords();
};
