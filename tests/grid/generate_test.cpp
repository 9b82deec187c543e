// Making whole puzzles, on word data written here: every rule of the form
// on many seeds, a database whose only puzzle is known, the same seed giving
// the same file, Cancel and a database too small.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "evening.h"
#include "grid/fill.h"
#include "grid/generate.h"
#include "grid/ipuz.h"

namespace {

using sim::gen::Link;

// Every word over A-D up to six letters and some longer ones, each listed by
// a clue word spelt in other letters (W-Z), so that no clue word holds its
// answer; ranks make every third word common.
const sim::gen::WordData& smallWords() {
    static const sim::gen::WordData data = [] {
        std::vector<Link> links;
        std::map<std::string, int> ranks;
        uint64_t x = 12345;
        for (int length = 2; length <= 9; ++length) {
            const int all = 1 << (2 * length);
            for (int i = 0; i < std::min(all, 1500); ++i) {
                const int code =
                    all <= 1500 ? i : int((x = x * 6364136223846793005ull + 1442695040888963407ull) >> 40) % all;
                std::string w, clue;
                for (int k = 0; k < length; ++k) {
                    w += char('A' + ((code >> (2 * k)) & 3));
                    clue += char('W' + ((code >> (2 * k)) & 3));
                }
                links.push_back({clue + "Q", w});
                ranks[w] = 1 + i % 3;
            }
        }
        return sim::gen::MakeWordData(links, ranks);
    }();
    return data;
}

sim::gen::Made make(uint64_t seed, const sim::Grid& start = {}, bool keep = false,
                    const sim::gen::WordData& words = smallWords()) {
    sim::gen::Options o;
    o.seed = seed;
    o.keep = keep;
    return sim::gen::Generate(start, words, o);
}

TEST(Generate, EveryPuzzleKeepsEveryRuleOfTheForm) {
    for (uint64_t seed = 1; seed <= 8; ++seed) {
        const sim::gen::Made m = make(seed);
        ASSERT_TRUE(m.ok) << seed << ": " << m.error.toStdString();
        EXPECT_EQ(sim::gen::BrokenRules(m.grid, &smallWords()), QStringList()) << seed;
        // No blank square, every letter in an answer, every answer clued.
        const sim::gen::Figures f = sim::gen::Measure(m.grid);
        EXPECT_EQ(QString("%1 %2 %3 ").arg(f.blank).arg(f.letterSquares - f.inAnswer).arg(f.answers - f.clued) +
                      m.open.join(','),
                  "0 0 0 ");
        EXPECT_LE(f.clueSquares, sim::gen::kSquares * 30 / 100);
    }
}

// Each fault put into the first answer across and into the first down:
// a letter gone, a count one too many, a clue word that does not list the
// answer, and one that is part of it.
TEST(Generate, TheRulesCheckCatchesEachFaultAcrossAndDown) {
    const sim::gen::Made m = make(3);
    ASSERT_TRUE(m.ok);
    const std::vector<sim::Slot> answers = sim::Slots(m.grid);
    for (bool across : {true, false}) {
        const sim::Slot& s = *std::find_if(answers.begin(), answers.end(),
                                           [&](const sim::Slot& a) { return a.answer.across == across; });
        using Fault = std::function<void(sim::Square & clue, QString & word, sim::Square & first)>;
        const std::pair<Fault, const char*> faults[] = {
            {[](auto&, auto&, sim::Square& first) { first.caption.clear(); }, "is blank"},
            {[&](sim::Square& clue, auto&, auto&) { ++(across ? clue.lengde1 : clue.lengde2); }, "counts"},
            {[](auto&, QString& word, auto&) { word = "NOTACLUE"; }, "does not list"},
            {[](auto&, QString& word, sim::Square& first) { word = first.caption; }, "contains it or is part of it"}};
        for (const auto& [fault, rule] : faults) {
            sim::Grid g = m.grid;
            sim::Square& clue = g[size_t(s.answer.clue)];
            fault(clue, across ? clue.ord1 : clue.ord2, g[size_t(s.squares[0])]);
            const QString broken = sim::gen::BrokenRules(g, &smallWords()).join(" ");
            EXPECT_TRUE(broken.contains(rule)) << across << ": " << broken.toStdString();
        }
    }
}

TEST(Generate, TheSameSeedGivesTheSameFileAndCancelOrADatabaseTooSmallNothing) {
    const QByteArray first = sim::ipuz::Write(make(5).grid);
    EXPECT_EQ(sim::ipuz::Write(make(5).grid), first);
    EXPECT_NE(sim::ipuz::Write(make(6).grid), first);
    const sim::gen::Made cancelled = sim::gen::Generate({}, smallWords(), {}, [](int, int) { return false; });
    EXPECT_TRUE(cancelled.cancelled && !cancelled.ok);
    // A database too small says what is missing.
    const sim::gen::Made m =
        make(1, {}, false, sim::gen::MakeWordData({{"SEA", "OCEANS"}, {"BIRD", "ROBIN"}, {"X", "AB"}}, {}));
    EXPECT_EQ(m.error.toStdString() + (m.ok ? " ok" : ""),
              "The word database has no words of 3 or 4 letters with clue words (stored words that list them as a "
              "synonym or value); a puzzle needs them.");
}

TEST(Generate, KeepingWhatWasMadeFillsTheOnlyPuzzleOfATinyDatabase) {
    const sim::gen::Made known = make(7);
    ASSERT_TRUE(known.ok);
    // The start grid keeps the known clue squares, counts and clue words,
    // no letters. Each clue word lists its answer and a word of E's that
    // fits nowhere a crossing answer runs, so only the known letters fill it.
    std::vector<Link> links;
    sim::Grid start;
    for (const sim::Slot& s : sim::Slots(known.grid)) {
        QString word;
        for (int t : s.squares) word += known.grid[size_t(t)].caption;
        const std::string clue = "CLUE" + std::to_string(links.size());
        links.push_back({clue, word.toStdString()});
        if (s.length > 2) links.push_back({clue, std::string(size_t(s.length), 'E')});
        sim::Square& sq = start[size_t(s.answer.clue)];
        (s.answer.across ? sq.lengde1 : sq.lengde2) = int16_t(s.length);
        (s.answer.across ? sq.ord1 : sq.ord2) = QString::fromStdString(clue);
    }
    const sim::gen::WordData tiny = sim::gen::MakeWordData(links, {});
    const sim::gen::Made again = make(99, start, true, tiny);
    ASSERT_TRUE(again.ok) << again.error.toStdString();
    EXPECT_EQ(evening::Captions(again.grid, 1, 225), evening::Captions(known.grid, 1, 225));
    EXPECT_EQ(sim::gen::BrokenRules(again.grid, &tiny), QStringList());
    // Without keeping, nothing of the start grid binds the layout.
    EXPECT_NE(sim::ipuz::Write(make(99, start, false).grid), sim::ipuz::Write(again.grid));
}

}  // namespace
