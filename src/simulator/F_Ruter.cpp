#include "simulator/F_Ruter.h"

#include <QAbstractButton>

#include <exception>
#include <optional>

#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/fitwords.h"
#include "ui/pictures.h"

::F_Ruter& M::F_Ruter() { return M::load<::F_Ruter>(M::Win::F_Ruter); }

F_Ruter::F_Ruter()
    : ui::Form("Velmora Simulator 1.1 Beta", 551, 483),
      Label5(client(), "Across (X-direction)"),
      L_Vannrett(client()),
      Label1(client(), "Possible Synonyms"),
      L_Synonymer1(client(), true),
      Label2(client(), "Possible Values"),
      L_Verdier1(client(), true),
      Label6(client(), "Vertical (Y-direction)"),
      L_Loddrett(client()),
      Label4(client(), "Possible Synonyms"),
      L_Synonymer2(client(), true),
      Label3(client(), "Possible Values"),
      L_Verdier2(client(), true),
      c_clear(client(), "Clear square", false),
      K_Simuler(client(), ""),
      K_LukkVindu(client(), ""),
      candidates_{
          {{&L_Synonymer1, true, {}}, {&L_Verdier1, true, {}}, {&L_Synonymer2, false, {}}, {&L_Verdier2, false, {}}}} {
    // The title bar's close hides the window like its close button, so the
    // grid keeps its letters and marks.
    setTitleClose(TitleClose::Hide);
    if (M::Loaded(M::Win::Velmora)) setCentreOn(&M::form(M::Win::Velmora));

    sim::Document& doc = M::Rutenett;
    squares_.resize(size_t(doc.size()) + 1);
    frames_.resize(size_t(doc.size()) + 1);
    openMarks_.resize(size_t(doc.size()) + 1);
    for (int n = 1; n <= doc.size(); ++n) {
        auto b = std::make_unique<ui::Button>(client(), "");
        b->setPlace(28 * (doc.ColumnOf(n) - 1), 28 * (doc.RowOf(n) - 1), 29, 29);
        b->setFontName("MS Sans Serif");
        b->setGraphical(true);
        b->button()->setFocusPolicy(Qt::NoFocus);
        b->Click = [this, n] { X_Click(n); };
        squares_[size_t(n)] = std::move(b);
    }

    Label5.setPlace(428, 4, 101, 13);
    L_Vannrett.setPlace(428, 20, 117, 17);
    Label1.setPlace(428, 40, 97, 13);
    L_Synonymer1.setPlace(428, 60, 117, 79);
    Label2.setPlace(428, 144, 109, 13);
    L_Verdier1.setPlace(428, 164, 117, 79);
    Label6.setPlace(428, 244, 101, 13);
    L_Loddrett.setPlace(428, 260, 117, 17);
    Label4.setPlace(428, 284, 97, 13);
    L_Synonymer2.setPlace(428, 300, 117, 79);
    Label3.setPlace(428, 384, 109, 13);
    L_Verdier2.setPlace(424, 400, 121, 79);
    c_clear.setPlace(4, 428, 137, 45);
    c_clear.setFont("MS Sans Serif", 13.5, false);
    K_Simuler.setPlace(144, 424, 153, 53);
    K_LukkVindu.setPlace(304, 424, 117, 53);
    K_Simuler.setIcon(ui::pictures::icon(ui::pictures::Icon::Simulate), 40);
    K_LukkVindu.setIcon(ui::pictures::icon(ui::pictures::Icon::Close), 40);
    K_Simuler.button()->setToolTip("Simulate");
    K_LukkVindu.button()->setToolTip("Close");

    L_Vannrett.setColors(ui::kWhite, ui::kBlue);
    L_Loddrett.setColors(ui::kWhite, ui::kBlue);
    for (ui::ListBox* l : {&L_Synonymer1, &L_Verdier1, &L_Synonymer2, &L_Verdier2})
        l->setColors(ui::kYellow, ui::kBlue);

    K_Simuler.Click = [this] { K_Simuler_Click(); };
    K_LukkVindu.Click = [this] { K_LukkVindu_Click(); };
    L_Synonymer1.Click = [this] { L_Synonymer1_Click(); };
    L_Synonymer2.Click = [this] { L_Synonymer2_Click(); };
    L_Verdier1.Click = [this] { L_Verdier1_Click(); };
    L_Verdier2.Click = [this] { L_Verdier2_Click(); };
    setUpComposing();
    setUpFitting();
    setUpKeeping();
    setUpMarks();
    for (int n = 1; n <= doc.size(); ++n) showSquare(n);
    showOpenMarks();
    doc.squareChanged = [this](int n) { showSquare(n); };
    doc.stepped = [this] {
        MarkCandidates();
        showOpenMarks();
        if (M::Loaded(M::Win::F_Passer) && M::F_Passer().Visible()) M::F_Passer().Refresh();
    };
}

F_Ruter::~F_Ruter() {
    M::Rutenett.squareChanged = nullptr;
    M::Rutenett.stepped = nullptr;
}

ui::Button& F_Ruter::X(int n) { return *squares_.at(size_t(n)); }
const ui::Button& F_Ruter::X(int n) const { return *squares_.at(size_t(n)); }

void F_Ruter::Form_Load() {
    L_Vannrett.setText("");
    L_Loddrett.setText("");
    L_Verdier1.Clear();
    L_Verdier2.Clear();
    L_Synonymer1.Clear();
    L_Synonymer2.Clear();
    M::Rutenett.ValgtRute = 1;
}

void F_Ruter::X_Click(int index) {
    // Clearing, and what the dialog changes up to Done!, is one step.
    sim::Document& doc = M::Rutenett;
    sim::Document::Edit edit(doc);
    L_Verdier1.Clear();
    L_Verdier2.Clear();
    L_Synonymer1.Clear();
    L_Synonymer2.Clear();
    doc.AktivRute = int16_t(index);
    doc.ValgtRute = int16_t(index);
    if (M::Loaded(M::Win::F_Passer) && M::F_Passer().Visible()) M::F_Passer().FollowSquare(index);

    ::F_Egenskaper& dlg = M::F_Egenskaper();
    for (int k = 0; k <= 10; ++k) {
        const QString entry = " " + QString::number(k) + " - letter(s)";
        dlg.C_Ant1.setList(k, entry);
        dlg.C_Ant2.setList(k, entry);
    }
    dlg.C_Ant1.setText(QString::number(doc.RuteLengde1(doc.AktivRute)) + " - letter(s)");
    dlg.C_Ant2.setText(QString::number(doc.RuteLengde2(doc.AktivRute)) + " - letter(s)");
    dlg.T_Ord1.setText(doc.RuteOrd1(doc.AktivRute));
    dlg.T_Ord2.setText(doc.RuteOrd2(doc.AktivRute));
    offerClueWords();

    if (c_clear.Value()) {
        doc.ClearSquare(doc.AktivRute);
        return;
    }
    dlg.ShowModal();
}

void F_Ruter::K_LukkVindu_Click() { Hide(); }

void F_Ruter::K_Simuler_Click() {
    sim::Document& doc = M::Rutenett;
    const int16_t s = doc.ValgtRute;
    if (!doc.contains(s)) return;
    // Both words of one simulation are taken back together.
    sim::Document::Edit edit(doc);
    const QString w1 = doc.RuteOrd1(s), w2 = doc.RuteOrd2(s);
    const int16_t k1 = doc.RuteLengde1(s), k2 = doc.RuteLengde2(s);

    struct Source {
        ui::ListBox* list;
        QString word;
        int16_t count;
        bool synonyms;
        QString first;
    };
    std::array<Source, 4> sources{{{&L_Synonymer1, w1, k1, true, {}},
                                   {&L_Verdier1, w1, k1, false, {}},
                                   {&L_Synonymer2, w2, k2, true, {}},
                                   {&L_Verdier2, w2, k2, false, {}}}};

    // A database that cannot be opened or read leaves the lists concerned
    // empty: the simulation only shows what it finds.
    std::optional<store::Database> db;
    try {
        db.emplace(M::OpenDatabase());
    } catch (const std::exception&) {}
    for (Source& src : sources) {
        src.list->Clear();
        if (!db) continue;
        std::vector<std::string> rows;
        try {
            const std::string word = M::s(src.word);
            // A count below zero can only come from a typed count; it asks
            // for nothing rather than for every length.
            if (src.count < 0) continue;
            rows = src.synonyms ? db->CandidateSynonyms(word, src.count) : db->CandidateValues(word, src.count);
        } catch (const std::exception&) {
            continue;
        }
        if (rows.empty()) continue;
        src.first = M::q(rows.front());
        QStringList items;
        for (const std::string& r : rows) items << M::q(r);
        src.list->AddItems(items);
    }
    db.reset();

    // What the simulation writes is its own choice, no longer the user's pick.
    const QString across = !sources[0].first.isEmpty() ? sources[0].first : sources[1].first;
    if (!across.isEmpty() && k1 > 0) {
        doc.setPicked(s, true, false);
        fyll_velmora1(across, k1, s, false);
    }
    const QString down = !sources[2].first.isEmpty() ? sources[2].first : sources[3].first;
    if (!down.isEmpty() && k2 > 0) {
        doc.setPicked(s, false, false);
        fyll_velmora2(down, k2, s, false);
    }
}

// A candidate written is the user's pick, which filling the grid keeps.
void F_Ruter::L_Synonymer1_Click() {
    sim::Document::Edit edit(M::Rutenett);
    const QString t = L_Synonymer1.Text();
    fyll_velmora1(t, int16_t(ui::charLength(t)), M::Rutenett.ValgtRute, true);
    M::Rutenett.setPicked(M::Rutenett.ValgtRute, true, true);
}
void F_Ruter::L_Verdier1_Click() {
    sim::Document::Edit edit(M::Rutenett);
    const QString t = L_Verdier1.Text();
    fyll_velmora1(t, int16_t(ui::charLength(t)), M::Rutenett.ValgtRute, true);
    M::Rutenett.setPicked(M::Rutenett.ValgtRute, true, true);
}
void F_Ruter::L_Synonymer2_Click() {
    sim::Document::Edit edit(M::Rutenett);
    const QString t = L_Synonymer2.Text();
    fyll_velmora2(t, int16_t(ui::charLength(t)), M::Rutenett.ValgtRute, true);
    M::Rutenett.setPicked(M::Rutenett.ValgtRute, false, true);
}
void F_Ruter::L_Verdier2_Click() {
    sim::Document::Edit edit(M::Rutenett);
    const QString t = L_Verdier2.Text();
    fyll_velmora2(t, int16_t(ui::charLength(t)), M::Rutenett.ValgtRute, true);
    M::Rutenett.setPicked(M::Rutenett.ValgtRute, false, true);
}

void F_Ruter::fyll_velmora1(const QString& nyttOrd1, int16_t lengde1, int16_t SimRute, bool overskriv) {
    fill(nyttOrd1, lengde1, SimRute, overskriv, true);
}

void F_Ruter::fyll_velmora2(const QString& nyttOrd2, int16_t lengde2, int16_t SimRute, bool overskriv) {
    fill(nyttOrd2, lengde2, SimRute, overskriv, false);
}

void F_Ruter::fill(const QString& word, int16_t count, int16_t clue, bool overskriv, bool across) {
    if (!M::Rutenett.Write(word, count, clue, overskriv, across))
        ui::MsgBox(across ? "Conflict across!" : "Conflict vertically!", ui::Buttons::OK, "Mismatch?");
}

void F_Ruter::showSquare(int n) {
    const sim::Square& sq = M::Rutenett.at(n);
    ui::Button& b = X(n);
    if (b.Caption() != sq.caption) b.setCaption(sq.caption);
    if (b.BackColor() != sq.back) b.setBackColor(sq.back);
    if (b.Bold() != sq.bold) b.setBold(sq.bold);
    if (Framed(n) != sq.flagged) setFramed(n, sq.flagged);
}
