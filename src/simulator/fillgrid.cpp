// "Fill grid" in the simulator window: the answers' words read from the
// word database, the search run under a progress window with Cancel, the
// result shown as one undoable step with the clue squares of answers left
// empty framed in red, and, for an open answer the fill or a pick has
// written, the words that list it offered as clue words in the square
// properties dialog.
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <optional>

#include "grid/fill.h"
#include "grid/fillwords.h"
#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "simulator/fitwords.h"
#include "ui/progress.h"

namespace {

// A red frame over a square; clicks go through to the square.
class RedFrame : public QWidget {
public:
    explicit RedFrame(QWidget* square) : QWidget(square) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(square->rect());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(QColor(220, 0, 0), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
};

}  // namespace

bool F_Ruter::Framed(int n) const {
    const QWidget* f = frames_.at(size_t(n));
    return f && !f->isHidden();
}

void F_Ruter::setFramed(int n, bool on) {
    QWidget*& f = frames_.at(size_t(n));
    if (!on) {
        if (f) f->hide();
        return;
    }
    if (!f) f = new RedFrame(X(n).button());
    f->setGeometry(X(n).button()->rect());
    f->show();
    f->raise();
}

void F_Ruter::M_FyllRutenett_Click() {
    if (M::Rutenett.editing()) return;  // not while another change is under way
    const sim::Grid before = M::Rutenett.squares();
    const std::vector<sim::Slot> answers = sim::Slots(before);
    if (answers.empty()) {
        ui::MsgBox("There is nothing to fill: give a clue square a clue word and a number of letters first.",
                   ui::Buttons::OK, "Velmora");
        return;
    }
    std::optional<store::Database> db;
    try {
        db.emplace(M::OpenDatabase());
    } catch (const std::exception&) {}
    sim::FillResult result;
    sim::FillWords words;
    const bool finished = ui::RunWithProgress("Filling the grid…", [&](ui::Task& task) {
        if (db) words = sim::ReadFillWords(*db, answers, &M::DBEngine().Words());
        if (task.cancelled()) return;
        result = sim::Fill(before, answers, words, [&](int placed, int total) {
            task.setText(QString("%1 of %2 answers placed so far").arg(placed).arg(total));
            return !task.cancelled();
        });
        if (result.cancelled || !db) return;
        // Open answers take words the square dialog can offer clue words for.
        sim::PreferForOpenAnswers(answers, words, result, [&](const QString& w) {
            try {
                return !db->CandidateSynonyms(M::s(w), 0).empty();
            } catch (const std::exception&) {
                return false;
            }
        });
    });
    db.reset();
    // Cancel keeps the grid as it was.
    if (!finished || result.cancelled) return;
    const sim::Grid filled = sim::Filled(before, answers, result);
    M::Rutenett.setSquares(filled);
    const QString report = sim::FillReport(filled, answers, words, result);
    if (!report.isEmpty()) ui::MsgBox(report, ui::Buttons::OK, "Velmora");
}

void F_Ruter::offerClueWords() {
    ::F_Egenskaper& dlg = M::F_Egenskaper();
    const sim::Document& doc = M::Rutenett;
    const int16_t n = doc.AktivRute;
    const bool square = doc.contains(n);
    for (bool across : {true, false}) {
        QString answer;
        if (square && (across ? doc.RuteOrd1(n) : doc.RuteOrd2(n)).isEmpty())
            answer = sim::OpenAnswerShown(doc.squares(), {n, across}, across ? doc.RuteLengde1(n) : doc.RuteLengde2(n));
        dlg.OfferClueWords(across, answer, answer.isEmpty() ? QStringList() : F_Passer::ClueWordsFor(answer));
    }
}
