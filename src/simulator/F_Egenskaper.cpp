#include "simulator/F_Egenskaper.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>

#include <algorithm>

#include "shared/M.h"
#include "simulator/F_Ruter.h"
#include "ui/pictures.h"

::F_Egenskaper& M::F_Egenskaper() { return M::load<::F_Egenskaper>(M::Win::F_Egenskaper); }

F_Egenskaper::F_Egenskaper()
    : ui::Form("Properties of this square", 291, 83),
      Label3(client(), "Across (X-direction)"),
      T_Ord1(client()),
      Label4(client(), "Number of letters"),
      C_Ant1(client()),
      Label1(client(), "Vertical (Y-direction)"),
      T_Ord2(client()),
      Label2(client(), "Number of letters"),
      C_Ant2(client()),
      K_LukkVindu(client(), "Done!") {
    if (M::Loaded(M::Win::F_Ruter)) setCentreOn(&M::form(M::Win::F_Ruter));
    const int rowTop[4] = {0, 21, 42, 63};
    Label3.setPlace(4, rowTop[0] + 3, 101, 17);
    T_Ord1.setPlace(108, rowTop[0], 125, 20);
    Label4.setPlace(4, rowTop[1] + 3, 101, 17);
    C_Ant1.setPlace(108, rowTop[1], 125, 20);
    Label1.setPlace(4, rowTop[2] + 3, 101, 17);
    T_Ord2.setPlace(108, rowTop[2], 125, 20);
    Label2.setPlace(4, rowTop[3] + 3, 101, 17);
    C_Ant2.setPlace(108, rowTop[3], 125, 20);
    K_LukkVindu.setPlace(236, 0, 53, 81);
    K_LukkVindu.setIcon(ui::pictures::icon(ui::pictures::Icon::Done), 28);
    K_LukkVindu.setIconAbove(true);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&T_Ord1, &C_Ant1, &T_Ord2, &C_Ant2})
        c->setColors(ui::kWhite, ui::kTeal);
    ui::setTabOrder({T_Ord1.widget(), T_Ord2.widget(), K_LukkVindu.widget(), C_Ant1.widget(), C_Ant2.widget()});

    T_Ord1.Change = [this] { T_Ord1_Change(); };
    T_Ord2.Change = [this] { T_Ord2_Change(); };
    C_Ant1.Click = [this] { C_Ant1_Click(); };
    C_Ant2.Click = [this] { C_Ant2_Click(); };
    K_LukkVindu.Click = [this] { K_LukkVindu_Click(); };

    const auto offer = [this](ui::TextBox& field, QMenu*& menu, QAction*& pick) {
        menu = new QMenu(this);
        pick = field.edit()->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
        pick->setVisible(false);
        QLineEdit* edit = field.edit();
        QObject::connect(pick, &QAction::triggered, this,
                         [menu, edit] { menu->popup(edit->mapToGlobal(QPoint(0, edit->height()))); });
        QObject::connect(menu, &QMenu::triggered, this,
                         [&field](QAction* a) { ui::run([&field, a] { field.setText(a->text()); }); });
    };
    offer(T_Ord1, M_Ledetekst1, M_Velg1);
    offer(T_Ord2, M_Ledetekst2, M_Velg2);
}

void F_Egenskaper::OfferClueWords(bool across, const QString& answer, const QStringList& words) {
    QMenu* menu = across ? M_Ledetekst1 : M_Ledetekst2;
    QAction* pick = across ? M_Velg1 : M_Velg2;
    QLineEdit* edit = (across ? T_Ord1 : T_Ord2).edit();
    menu->clear();
    for (const QString& w : words) menu->addAction(w);
    pick->setVisible(!words.isEmpty());
    pick->setToolTip(words.isEmpty() ? QString() : "Clue words for " + answer);
    edit->setPlaceholderText(words.isEmpty() ? QString() : "clue for " + answer);
}

namespace {
// The handlers write to the active square; before the first square click
// there is none, and then they write nowhere.
bool activeSquare() { return M::Rutenett.contains(M::Rutenett.AktivRute); }
}  // namespace

void F_Egenskaper::T_Ord1_Change() {
    if (activeSquare()) M::Rutenett.setRuteOrd(M::Rutenett.AktivRute, true, ui::upperCase(T_Ord1.Text()));
}
void F_Egenskaper::T_Ord2_Change() {
    if (activeSquare()) M::Rutenett.setRuteOrd(M::Rutenett.AktivRute, false, ui::upperCase(T_Ord2.Text()));
}
void F_Egenskaper::C_Ant1_Click() {
    if (activeSquare()) M::Rutenett.setRuteLengde(M::Rutenett.AktivRute, true, CountOf(C_Ant1.Text()));
}
void F_Egenskaper::C_Ant2_Click() {
    if (activeSquare()) M::Rutenett.setRuteLengde(M::Rutenett.AktivRute, false, CountOf(C_Ant2.Text()));
}

int16_t F_Egenskaper::CountOf(const QString& text) {
    long n = 0;
    bool digits = false, negative = false, signSeen = false;
    for (QChar ch : text) {
        if (ch == ' ' || ch == '\t' || ch == '\n') continue;
        if (!digits && !signSeen && (ch == '-' || ch == '+')) {
            signSeen = true;
            negative = ch == '-';
            continue;
        }
        if (ch < '0' || ch > '9') break;
        digits = true;
        n = std::min(n * 10 + (ch.unicode() - '0'), 32768L);
    }
    if (negative) n = -n;
    return int16_t(std::clamp(n, -32768L, 32767L));
}

void F_Egenskaper::K_LukkVindu_Click() {
    sim::Document& doc = M::Rutenett;
    doc.AktivRute = doc.ValgtRute;
    if (!activeSquare()) {
        Hide();
        return;
    }
    ::F_Ruter& ruter = M::F_Ruter();
    ruter.L_Vannrett.setText(ui::upperCase(T_Ord1.Text()));
    ruter.L_Loddrett.setText(ui::upperCase(T_Ord2.Text()));
    doc.MarkClueSquare(doc.AktivRute);
    Hide();
}

void F_Egenskaper::closeEvent(QCloseEvent* e) {
    e->ignore();
    ui::run([this] { K_LukkVindu_Click(); });
}
