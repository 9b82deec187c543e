// "Words that fit": beside the simulator, every stored word made of letters
// that fits one answer's squares as they stand (its letter count, the
// crossing letters in place), common words first, with the pattern and the
// count in the caption. A filter narrows the list; a click writes the word
// into the answer as the user's pick, one step to undo. The list follows the
// grid as it changes and the answer whose square was clicked last.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "grid/grid.h"
#include "ui/toolkit.h"

namespace store {
class WordIndex;
}

class F_Passer : public ui::Form {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(F_Passer)
public:
    F_Passer();
    // Goes with the simulator window, which owns it.
    ~F_Passer() override;

    ui::Label E_Svar;  // which answer
    ui::Label Label1;
    ui::TextBox T_Filter;
    ui::ListBox L_Passer;

    // The answers square n is part of (its clue square or one of its
    // letters), across first, each with its letter count.
    static std::vector<std::pair<sim::Answer, int>> AnswersAt(int n);

    // Lists the words for this answer and shows the window beside the simulator.
    void Follow(const sim::Answer& a);
    // A square of the grid was clicked: the list follows its answer, in
    // the direction it shows now when the square has both.
    void FollowSquare(int n);
    // Lists anew when the answer's squares or the filter changed.
    void Refresh();
    void L_Passer_Click();

    // The words that list the word these letters stand for (SEA GOD for
    // SEAGOD) as a synonym or a value: clue words for an open answer,
    // common first. None when the word database cannot tell.
    static QStringList ClueWordsFor(const QString& letters);

    const sim::Answer& answer() const { return answer_; }
    // The squares as the words must fit them ("?" free), as the caption shows them.
    const QString& pattern() const { return pattern_; }

private:
    sim::Answer answer_{};
    int length_ = 0;
    QString pattern_, filter_;
    bool listed_ = false;
    std::shared_ptr<const store::WordIndex> index_;
    std::shared_ptr<const std::vector<uint32_t>> found_;
};
