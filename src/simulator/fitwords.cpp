#include "simulator/fitwords.h"

#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <algorithm>

#include "grid/fill.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"
#include "store/wordindex.h"

::F_Passer& M::F_Passer() { return M::load<::F_Passer>(M::Win::F_Passer); }

F_Passer::F_Passer()
    : ui::Form("Words that fit", 240, 400),
      E_Svar(client(), ""),
      Label1(client(), "Filter"),
      T_Filter(client()),
      L_Passer(client(), false) {
    // A window of the simulator's own: it takes input while the simulator
    // is shown modal, and goes with it.
    setParent(&M::F_Ruter(), Qt::Window);
    E_Svar.setPlace(6, 6, 228, 17);
    Label1.setPlace(6, 33, 40, 17);
    T_Filter.setPlace(48, 28, 186, 24);
    L_Passer.setPlace(6, 58, 228, 336);
    E_Svar.setFont("MS Sans Serif", 8.25, true);
    T_Filter.setColors(ui::kWhite, ui::kBlue);
    L_Passer.setColors(ui::kYellow, ui::kBlue);
    L_Passer.setFont("MS Sans Serif", 9.75, true);
    T_Filter.edit()->setPlaceholderText("letters, or a pattern: S*");
    QPalette hint = T_Filter.edit()->palette();
    hint.setColor(QPalette::PlaceholderText, QColor(170, 170, 230));
    T_Filter.edit()->setPalette(hint);
    T_Filter.edit()->setToolTip("Letters each word must hold, or a pattern: ? one letter, * any run");
    T_Filter.KeyPress = [](int& k) {
        if ((k >= 'a' && k <= 'z') || k == 229 || k == 230 || k == 248) k -= 32;
    };
    T_Filter.Change = [this] { Refresh(); };
    L_Passer.setKeyboardPicks(false);
    L_Passer.Click = [this] { L_Passer_Click(); };
}

F_Passer::~F_Passer() {
    if (M::slot(M::Win::F_Passer) == this) M::slot(M::Win::F_Passer) = nullptr;
}

std::vector<std::pair<sim::Answer, int>> F_Passer::AnswersAt(int n) {
    std::vector<std::pair<sim::Answer, int>> out;
    for (const sim::Slot& s : sim::Slots(M::Rutenett.squares())) {
        const bool in = s.answer.clue == n || std::find(s.squares.begin(), s.squares.end(), n) != s.squares.end();
        const bool taken =
            std::any_of(out.begin(), out.end(), [&](const auto& a) { return a.first.across == s.answer.across; });
        if (in && !taken) out.emplace_back(s.answer, s.length);
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first.across > b.first.across; });
    return out;
}

void F_Passer::Follow(const sim::Answer& a) {
    answer_ = a;
    listed_ = false;
    Refresh();
    ShowBeside(&M::F_Ruter());
}

void F_Passer::FollowSquare(int n) {
    const auto answers = AnswersAt(n);
    if (answers.empty()) return;
    const auto same =
        std::find_if(answers.begin(), answers.end(), [&](const auto& a) { return a.first.across == answer_.across; });
    const sim::Answer a = (same != answers.end() ? *same : answers.front()).first;
    if (a == answer_) return;
    // Quietly: the click goes on to the square's dialog.
    answer_ = a;
    listed_ = false;
    Refresh();
}

void F_Passer::Refresh() {
    const sim::Document& doc = M::Rutenett;
    const int16_t clue = answer_.clue;
    length_ = doc.contains(clue) ? (answer_.across ? doc.RuteLengde1(clue) : doc.RuteLengde2(clue)) : 0;
    QString pattern = length_ > 0 ? sim::Pattern(doc.squares(), answer_, length_) : QString();
    // Squares the edges cut off: no word fits them.
    const QString squares = pattern + QString(std::max(0, length_ - int(pattern.size())), '#');
    const QString filter = T_Filter.Text();
    if (listed_ && squares == pattern_ && filter == filter_) return;
    listed_ = true;
    pattern_ = squares;
    filter_ = filter;
    L_Passer.Clear();
    found_.reset();
    if (length_ <= 0) {
        setCaption("Words that fit");
        E_Svar.setCaption("No answer here");
        return;
    }
    const QString word = answer_.across ? doc.RuteOrd1(clue) : doc.RuteOrd2(clue);
    E_Svar.setCaption(QString("%1, %2, row %3, column %4")
                          .arg(word.isEmpty() ? QString("Open answer") : word, answer_.across ? "across" : "down")
                          .arg(doc.RowOf(clue))
                          .arg(doc.ColumnOf(clue)));
    try {
        store::Database db = M::OpenDatabase();
        index_ = M::DBEngine().Words().Index(db);
        found_ = std::make_shared<const std::vector<uint32_t>>(index_->Fit(M::s(squares), M::s(filter)));
    } catch (const std::exception& e) {
        setCaption("Words that fit " + squares);
        E_Svar.setCaption("The words could not be read: " + QString::fromUtf8(e.what()));
        return;
    }
    setCaption(QString("Words that fit %1 - %2 word(s)").arg(squares).arg(found_->size()));
    L_Passer.setItems(int(found_->size()), [ix = index_, found = found_](int i) {
        const std::string_view w = (*ix)[(*found)[size_t(i)]];
        return QString::fromUtf8(w.data(), qsizetype(w.size()));
    });
}

void F_Passer::L_Passer_Click() {
    const int i = L_Passer.ListIndex();
    if (!found_ || i < 0 || size_t(i) >= found_->size()) return;
    const QString letters = M::q(index_->Letters((*found_)[size_t(i)]));
    sim::Document& doc = M::Rutenett;
    // The grid may have changed since the list was made.
    if (doc.editing() || letters.isEmpty() || !sim::Fits(doc.squares(), answer_, letters)) {
        Refresh();
        return;
    }
    sim::Document::Edit edit(doc);
    doc.Write(letters, int16_t(length_), answer_.clue, true, answer_.across);
    doc.setPicked(answer_.clue, answer_.across, true);
}

QStringList F_Passer::ClueWordsFor(const QString& letters) {
    QStringList out;
    try {
        store::Database db = M::OpenDatabase();
        std::shared_ptr<const store::WordIndex> ix;
        try {
            ix = M::DBEngine().Words().Index(db);
        } catch (const store::DbError&) {}
        std::vector<std::string> stored{M::s(letters)};
        if (ix)
            for (uint32_t p : ix->Fit(stored.front())) stored.emplace_back((*ix)[p]);
        std::vector<std::string> words;
        for (const std::string& w : stored)
            for (std::string& c : db.ClueWordsFor(w))
                if (std::find(words.begin(), words.end(), c) == words.end()) words.push_back(std::move(c));
        if (ix) {
            // Common first; words the index does not know last.
            const auto rank = [&](const std::string& w) { return ix->Position(w).value_or(UINT32_MAX); };
            std::stable_sort(words.begin(), words.end(),
                             [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
        }
        for (const std::string& w : words) out << M::q(w);
    } catch (const std::exception&) {
        out.clear();
    }
    return out;
}

// ---------------------------------------------------------------- the grid's right-click entry

void F_Ruter::setUpFitting() {
    M_Passer = M_Rutenett->addAction("Words that fit…");
    M_PasserRetning = new QMenu(this);
    M_PasserVannrett = M_PasserRetning->addAction("Across");
    M_PasserLoddrett = M_PasserRetning->addAction("Down");
    QObject::connect(M_Passer, &QAction::triggered, this, [this] { ui::run([this] { M_Passer_Click(true); }); });
    QObject::connect(M_PasserVannrett, &QAction::triggered, this,
                     [this] { ui::run([this] { M_Passer_Click(true); }); });
    QObject::connect(M_PasserLoddrett, &QAction::triggered, this,
                     [this] { ui::run([this] { M_Passer_Click(false); }); });
}

void F_Ruter::fitEntryFor(int n) {
    const auto answers = F_Passer::AnswersAt(n);
    M_Passer->setEnabled(!answers.empty());
    // Both directions: a choice between them.
    M_Passer->setMenu(answers.size() > 1 ? M_PasserRetning : nullptr);
}

void F_Ruter::M_Passer_Click(bool across) {
    const auto answers = F_Passer::AnswersAt(menuSquare_);
    const auto it =
        std::find_if(answers.begin(), answers.end(), [&](const auto& a) { return a.first.across == across; });
    if (it != answers.end())
        M::F_Passer().Follow(it->first);
    else if (!answers.empty())
        M::F_Passer().Follow(answers.front().first);
}
