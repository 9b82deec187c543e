#include "lookup/findwords.h"

#include <QCheckBox>
#include <QComboBox>

#include "lookup/Velmora.h"
#include "lookup/keys.h"
#include "shared/M.h"
#include "store/wordindex.h"

::F_FinnOrd& M::F_FinnOrd() { return M::load<::F_FinnOrd>(M::Win::F_FinnOrd); }

F_FinnOrd::F_FinnOrd()
    : ui::Form("Find words", 330, 400),
      Label1(client(), "Pattern"),
      T_Monster(client()),
      Label2(client(), "Anagram of"),
      T_Anagram(client()),
      Label3(client(), "Letters"),
      C_Antall(client()),
      C_Synonymer(client(), "Only words with synonyms", false),
      E_Hjelp(client(), "Pattern: ? one letter, * any run.  Anagram: ? a blank tile."),
      E_Antall(client(), ""),
      L_Treff(client(), false) {
    Label1.setPlace(8, 11, 88, 17);
    T_Monster.setPlace(100, 6, 222, 27);
    Label2.setPlace(8, 42, 88, 17);
    T_Anagram.setPlace(100, 37, 222, 27);
    Label3.setPlace(8, 73, 88, 17);
    C_Antall.setPlace(100, 69, 80, 24);
    C_Synonymer.setPlace(100, 98, 222, 20);
    E_Hjelp.setPlace(8, 124, 314, 17);
    E_Antall.setPlace(8, 146, 314, 17);
    L_Treff.setPlace(8, 168, 314, 224);
    for (ui::TextBox* t : {&T_Monster, &T_Anagram}) {
        t->setFont("MS Sans Serif", 13.5, true);
        t->setColors(ui::kYellow, ui::kBlue);
        // Capitals, as the words are stored; the wildcards and the rest as typed.
        t->KeyPress = [](int& k) {
            if (keys::isLower(k)) k -= 32;
        };
        t->Change = [this] { Sok(); };
    }
    for (ui::Label* l : {&Label1, &Label2, &Label3}) l->setFont("MS Sans Serif", 8.25, true);
    L_Treff.setFont("MS Sans Serif", 9.75, true);
    L_Treff.setColors(ui::kYellow, ui::kBlue);
    C_Antall.combo()->setEditable(false);
    C_Antall.AddItem("Any");
    for (int n = 2; n <= 15; ++n) C_Antall.AddItem(QString::number(n));
    C_Antall.combo()->setCurrentIndex(0);
    C_Antall.Click = [this] { Sok(); };
    QObject::connect(C_Synonymer.box(), &QCheckBox::toggled, this, [this] { ui::run([this] { Sok(); }); });
    L_Treff.setKeyboardPicks(false);
    L_Treff.Click = [this] { L_Treff_Click(); };
    ui::setTabOrder(
        {T_Monster.widget(), T_Anagram.widget(), C_Antall.widget(), C_Synonymer.widget(), L_Treff.widget()});
}

void F_FinnOrd::Sok() {
    store::WordIndex::Search s{M::s(T_Monster.Text()), M::s(T_Anagram.Text()), C_Antall.Text().toInt(),
                               C_Synonymer.Value()};
    L_Treff.Clear();
    E_Antall.setCaption("");
    if (s.pattern.empty() && s.anagram.empty() && s.letters == 0 && !s.withSynonyms) return;
    std::shared_ptr<const store::WordIndex> ix;
    try {
        store::Database db = M::OpenDatabase();
        ix = M::DBEngine().Words().Index(db);
    } catch (const std::exception& e) {
        E_Antall.setCaption("The words could not be read: " + QString::fromUtf8(e.what()));
        return;
    }
    auto found = std::make_shared<const std::vector<uint32_t>>(ix->Find(s));
    E_Antall.setCaption(found->size() == 1 ? QString("1 word") : QString("%1 words").arg(found->size()));
    L_Treff.setItems(int(found->size()), [ix, found](int i) {
        const std::string_view w = (*ix)[(*found)[size_t(i)]];
        return QString::fromUtf8(w.data(), qsizetype(w.size()));
    });
}

void F_FinnOrd::L_Treff_Click() {
    const QString word = L_Treff.Text();
    if (word.isEmpty()) return;
    M::SokModus = "";
    M::Velmora().T_Ord.setText(word);
}
