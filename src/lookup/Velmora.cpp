#include "lookup/Velmora.h"

#include <QDateTime>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>

#include "intro/F_Hjelp.h"
#include "intro/F_Intro.h"
#include "lookup/findwords.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"
#include "ui/pictures.h"

::Velmora& M::Velmora() { return M::load<::Velmora>(M::Win::Velmora); }

const QString Velmora::kHint = QStringLiteral("Enter  * or ? within the searched word to lookup similar words.");

Velmora::Velmora()
    : ui::Form("Velmora " VELMORA_VERSION "  (05.2006)", 613, 365),
      Label6(client(), "Word"),
      Label3(client(), "Values"),
      Label2(client(), "Synonyms"),
      Label1(client(), "Categories"),
      E_info(client(), kHint),
      E_Klokke(client(), "Clock"),
      C_Empty(client(), "Reset field on focus", false),
      C_SorterV(client(), "Sort by length", true),
      C_SorterS(client(), "Sort by length", true),
      C_Lookup(client(), "Lookup on category change", false),
      T_Ord(client()),
      T_Verdi(client()),
      T_Synonym(client()),
      K_Lagre_Ord(client(), ""),
      K_Slett_Ord(client(), ""),
      K_Lagre_Verdi(client(), ""),
      K_Slett_Verdi(client(), ""),
      K_Lagre_Synonym(client(), ""),
      K_Slett_Synonym(client(), ""),
      K_Sok_Kategori(client(), ""),
      K_Lagre_Kategori(client(), ""),
      K_Slett_Kategori(client(), ""),
      K_Simuler(client(), "Simulate"),
      K_lukk(client(), "Exit"),
      L_Verdier(client(), true),
      L_Synonymer(client(), true),
      L_Kategorier(client(), true),
      C_Kategori(client()),
      Klokke(this, 980, true) {
    setTitleClose(TitleClose::Quit);
    layOut();
    wire();
}

void Velmora::layOut() {
    const QString sans = "MS Sans Serif";
    Label6.setPlace(12, 12, 81, 17);
    C_Empty.setPlace(84, 12, 153, 17);
    T_Ord.setPlace(12, 36, 229, 33);
    K_Lagre_Ord.setPlace(252, 8, 47, 33);
    K_Slett_Ord.setPlace(252, 44, 47, 33);
    Label3.setPlace(12, 104, 205, 17);
    C_SorterV.setPlace(84, 104, 149, 17);
    T_Verdi.setPlace(12, 124, 229, 29);
    K_Lagre_Verdi.setPlace(252, 120, 47, 33);
    K_Slett_Verdi.setPlace(252, 156, 47, 33);
    L_Verdier.setPlace(12, 156, 229, 139);
    Label2.setPlace(324, 12, 205, 17);
    C_SorterS.setPlace(396, 12, 129, 17);
    T_Synonym.setPlace(324, 32, 225, 33);
    K_Lagre_Synonym.setPlace(556, 32, 47, 33);
    K_Slett_Synonym.setPlace(556, 68, 47, 33);
    L_Synonymer.setPlace(324, 68, 225, 109);
    Label1.setPlace(324, 188, 205, 17);
    C_Lookup.setPlace(392, 188, 157, 17);
    K_Sok_Kategori.setPlace(556, 188, 47, 33);
    C_Kategori.setPlace(324, 212, 225, 24);
    K_Lagre_Kategori.setPlace(556, 224, 47, 33);
    L_Kategorier.setPlace(324, 244, 225, 49);
    K_Slett_Kategori.setPlace(556, 260, 47, 33);
    E_info.setPlace(12, 300, 461, 17);
    K_Simuler.setPlace(480, 304, 60, 49);
    K_lukk.setPlace(544, 304, 60, 49);
    E_Klokke.setPlace(12, 336, 461, 17);

    for (ui::TextBox* t : {&T_Ord, &T_Verdi, &T_Synonym}) {
        t->setFont(sans, 13.5, true);
        t->setColors(ui::kYellow, ui::kBlue);
    }
    for (ui::ListBox* l : {&L_Verdier, &L_Synonymer, &L_Kategorier}) {
        l->setFont(sans, 8.25, true);
        l->setColors(ui::kYellow, ui::kBlue);
    }
    // A click on a category searches it; the arrow keys only select one, so
    // that a link can be picked for erasing without running a search.
    L_Kategorier.setKeyboardPicks(false);
    C_Kategori.setFont(sans, 9.75, true);
    C_Kategori.setColors(ui::kYellow, ui::kBlue);
    for (ui::Label* l : {&Label6, &Label3, &Label2, &Label1}) {
        l->setFont(sans, 8.25, true);
        l->setColors(ui::kNavy, palette().color(QPalette::Window));
        l->setTransparent(true);
    }
    E_info.setFont(sans, 9.75, true);
    E_info.setColors(ui::rgb(128, 64, 64), palette().color(QPalette::Window));
    E_info.setTransparent(true);
    E_Klokke.setFont(sans, 8.25, true);
    E_Klokke.setColors(ui::rgb(192, 192, 192), ui::rgb(128, 0, 0));
    for (ui::CheckBox* c : {&C_Empty, &C_SorterV, &C_SorterS, &C_Lookup}) c->setFont(sans, 8.25, false);

    using ui::pictures::Icon;
    using ui::pictures::icon;
    for (ui::Button* b : {&K_Lagre_Ord, &K_Lagre_Verdi, &K_Lagre_Synonym, &K_Lagre_Kategori})
        b->setIcon(icon(Icon::Save), 24);
    for (ui::Button* b : {&K_Slett_Ord, &K_Slett_Verdi, &K_Slett_Synonym, &K_Slett_Kategori})
        b->setIcon(icon(Icon::Erase), 24);
    K_Sok_Kategori.setIcon(icon(Icon::Search), 24);
    K_Simuler.setIcon(icon(Icon::Simulate), 24);
    K_Simuler.setIconAbove(true);
    K_lukk.setIcon(icon(Icon::Exit), 24);
    K_lukk.setIconAbove(true);
    K_Lagre_Ord.button()->setToolTip("Save the word");
    K_Slett_Ord.button()->setToolTip("Erase the word");
    K_Lagre_Verdi.button()->setToolTip("Save the value for the word");
    K_Slett_Verdi.button()->setToolTip("Erase the selected value");
    K_Lagre_Synonym.button()->setToolTip("Save the synonym for the word");
    K_Slett_Synonym.button()->setToolTip("Erase the selected synonym");
    K_Sok_Kategori.button()->setToolTip("List the words of the category");
    K_Lagre_Kategori.button()->setToolTip("Link the word to the category");
    K_Slett_Kategori.button()->setToolTip("Erase the selected category link");

    ui::setTabOrder({T_Ord.widget(),
                     T_Synonym.widget(),
                     T_Verdi.widget(),
                     C_Kategori.widget(),
                     K_Lagre_Synonym.widget(),
                     K_Slett_Synonym.widget(),
                     K_Lagre_Verdi.widget(),
                     K_Slett_Verdi.widget(),
                     K_Lagre_Kategori.widget(),
                     K_Slett_Kategori.widget(),
                     L_Synonymer.widget(),
                     K_Lagre_Ord.widget(),
                     K_Slett_Ord.widget(),
                     L_Verdier.widget(),
                     L_Kategorier.widget(),
                     K_Sok_Kategori.widget(),
                     K_Simuler.widget(),
                     K_lukk.widget(),
                     C_Empty.widget(),
                     C_SorterV.widget(),
                     C_SorterS.widget(),
                     C_Lookup.widget()});

    QMenuBar* bar = menuBar();
    M_Fil = bar->addMenu(" &File ");
    M_Exit = ui::addMenuEntry(M_Fil, "&Exit Velmora", QKeySequence(Qt::CTRL | Qt::Key_F4), [this] { M_Exit_Click(); });
    M_Vindu = bar->addMenu("&Window");
    M_Simuler =
        ui::addMenuEntry(M_Vindu, "&Simulate...", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { M_Simuler_Click(); });
    M_FinnOrd =
        ui::addMenuEntry(M_Vindu, "&Find words…", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { M_FinnOrd_Click(); });
    M_Hjelp = bar->addMenu("&Help");
    M_Intro =
        ui::addMenuEntry(M_Hjelp, "&Intro Window", QKeySequence(Qt::CTRL | Qt::Key_I), [this] { M_Intro_Click(); });
    M_Om = ui::addMenuEntry(M_Hjelp, "&About Velmora...", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { M_Om_Click(); });
}

void Velmora::wire() {
    Klokke.Tick = [this] { Klokke_Timer(); };
    K_lukk.Click = [this] { K_lukk_Click(); };
    K_Simuler.Click = [this] { K_Simuler_Click(); };

    T_Ord.KeyPress = [this](int& k) { T_Ord_KeyPress(k); };
    T_Ord.Change = [this] { T_Ord_Change(); };
    T_Ord.GotFocus = [this] { T_Ord_GotFocus(); };
    T_Ord.LostFocus = [this] { T_Ord_LostFocus(); };
    C_Kategori.Click = [this] { C_Kategori_Click(); };
    L_Kategorier.Click = [this] { L_Kategorier_Click(); };
    L_Synonymer.DblClick = [this] { L_Synonymer_DblClick(); };
    L_Verdier.ItemCheck = [this](int i) { L_Verdier_ItemCheck(i); };
    K_Sok_Kategori.Click = [this] { K_Sok_Kategori_Click(); };

    K_Lagre_Ord.Click = [this] { K_Lagre_Ord_Click(); };
    K_Slett_Ord.Click = [this] { K_Slett_Ord_Click(); };
    K_Lagre_Kategori.Click = [this] { K_Lagre_Kategori_Click(); };
    K_Slett_Kategori.Click = [this] { K_Slett_Kategori_Click(); };
    K_Lagre_Synonym.Click = [this] { K_Lagre_Synonym_Click(); };
    K_Slett_Synonym.Click = [this] { K_Slett_Synonym_Click(); };
    K_Lagre_Verdi.Click = [this] { K_Lagre_Verdi_Click(); };
    K_Slett_Verdi.Click = [this] { K_Slett_Verdi_Click(); };
    T_Synonym.KeyPress = [this](int& k) { T_Synonym_KeyPress(k); };
    T_Verdi.KeyPress = [this](int& k) { T_Verdi_KeyPress(k); };
}

void Velmora::Form_Load() {
    M::SokModus = "";
    L_Verdier.Clear();
    L_Synonymer.Clear();
    L_Kategorier.Clear();

    {
        store::Database db = M::OpenDatabase();
        QStringList cats;
        for (const std::string& k : db.Categories()) cats << M::q(k);
        for (const QString& k : cats) C_Kategori.AddItem(k);
    }

    M::Rutenett.AktivRute = 999;
    for (int n = 1; n <= M::Rutenett.size(); ++n) {
        M::Rutenett.setCaption(n, "");
        M::Rutenett.InitialiseSquare(n);
        M::F_Ruter().X(n).setFontName("MS Sans Serif");
        M::F_Ruter().X(n).setFontSize(10);
    }
}

void Velmora::Klokke_Timer() {
    const QLocale loc;
    const QDateTime now = QDateTime::currentDateTime();
    // The long time without its zone: the clock says the time, not where.
    QString timeFormat = loc.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    E_Klokke.setCaption(loc.toString(now.date(), QLocale::ShortFormat) + " " +
                        loc.toString(now.time(), timeFormat.trimmed()));
}

void Velmora::K_lukk_Click() { ui::Quit(0); }
void Velmora::M_Exit_Click() { ui::Quit(0); }

void Velmora::K_Simuler_Click() { M::F_Ruter().ShowModal(); }
void Velmora::M_Simuler_Click() { M::F_Ruter().Show(); }

void Velmora::M_Intro_Click() {
    M::F_Intro().K_lukk.setEnabled(true);
    M::F_Intro().tid.setInterval(5000);
    M::F_Intro().Show();
}

void Velmora::M_Om_Click() { M::F_Hjelp().Show(); }

void Velmora::M_FinnOrd_Click() {
    M::F_FinnOrd().ShowBeside(this);
    M::F_FinnOrd().T_Monster.SetFocus();
}

void Velmora::reenter(const QString& first, const QString& word) {
    T_Ord.setText(first);
    T_Ord.setText(word);
}
