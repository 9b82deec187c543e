// Making whole puzzles, on word data written here: every rule of the form
// on many seeds, a database whose only puzzle is known, the same seed giving
// the same file, Cancel and a database too small.
#include <gtest/gtest.h>

#include <QSet>

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
        const sim::gen::Figures f = sim::gen::Measure(m.grid);
        EXPECT_EQ(f.blank, 0);
        EXPECT_EQ(f.inAnswer, f.letterSquares);
        EXPECT_EQ(f.clued, f.answers);
        EXPECT_LE(f.clueSquares, sim::gen::kSquares * 30 / 100);
        EXPECT_TRUE(m.open.isEmpty());
    }
}

TEST(Generate, TheRulesCheckCatchesEachFault) {
    const sim::gen::Made m = make(3);
    ASSERT_TRUE(m.ok);
    // The first answer across and the first answer down, found by their clue squares.
    int across = 0, down = 0;
    for (int n = 1; n <= sim::gen::kSquares && (!across || !down); ++n) {
        if (!across && m.grid[size_t(n)].lengde1 >= 2 && n % sim::gen::kColumns) across = n;
        if (!down && m.grid[size_t(n)].lengde2 >= 2) down = n;
    }
    const auto broken = [](const sim::Grid& g) { return sim::gen::BrokenRules(g, &smallWords()).join(" "); };
    sim::Grid g = m.grid;
    g[size_t(across) + 1].caption.clear();
    EXPECT_TRUE(broken(g).contains("is blank")) << broken(g).toStdString();
    g = m.grid;
    g[size_t(down)].lengde2 = int16_t(g[size_t(down)].lengde2 + 1);
    EXPECT_TRUE(broken(g).contains("counts")) << broken(g).toStdString();
    g = m.grid;
    g[size_t(across)].ord1 = "NOTACLUE";
    EXPECT_TRUE(broken(g).contains("does not list")) << broken(g).toStdString();
    g = m.grid;
    g[size_t(down)].ord2 = m.grid[size_t(down) + size_t(sim::gen::kColumns)].caption;  // a clue word inside its answer
    EXPECT_TRUE(broken(g).contains("contains it or is part of it")) << broken(g).toStdString();
}

TEST(Generate, TheSameSeedGivesTheSameFileAndCancelGivesNothing) {
    const QByteArray first = sim::ipuz::Write(make(5).grid);
    EXPECT_EQ(sim::ipuz::Write(make(5).grid), first);
    EXPECT_NE(sim::ipuz::Write(make(6).grid), first);
    sim::gen::Options o;
    const sim::gen::Made cancelled = sim::gen::Generate({}, smallWords(), o, [](int, int) { return false; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.ok);
}

TEST(Generate, KeepingWhatWasMadeFillsTheOnlyPuzzleOfATinyDatabase) {
    const sim::gen::Made known = make(7);
    ASSERT_TRUE(known.ok);
    // The start grid keeps the known clue squares, counts and clue words,
    // no letters. Each clue word lists its answer and a word of E's that
    // fits nowhere a crossing answer runs, so only the known letters fill it.
    std::vector<Link> links;
    sim::Grid start;
    for (int n = 1; n <= sim::gen::kSquares; ++n) {
        const sim::Square& sq = known.grid[size_t(n)];
        for (bool across : {true, false}) {
            const int count = across ? sq.lengde1 : sq.lengde2;
            if (count < 2) continue;
            QString word;
            for (int k = 1; k <= count; ++k)
                word += known.grid[size_t(sim::Target(sim::Geometry{}, {int16_t(n), across}, k))].caption;
            const std::string clue = "CLUE" + std::to_string(links.size());
            links.push_back({clue, word.toStdString()});
            if (count > 2) links.push_back({clue, std::string(size_t(count), 'E')});
            (across ? start[size_t(n)].lengde1 : start[size_t(n)].lengde2) = int16_t(count);
            (across ? start[size_t(n)].ord1 : start[size_t(n)].ord2) = QString::fromStdString(clue);
        }
    }
    const sim::gen::WordData tiny = sim::gen::MakeWordData(links, {});
    const sim::gen::Made again = make(99, start, true, tiny);
    ASSERT_TRUE(again.ok) << again.error.toStdString();
    for (int n = 1; n <= sim::gen::kSquares; ++n)
        EXPECT_EQ(again.grid[size_t(n)].caption, known.grid[size_t(n)].caption) << n;
    EXPECT_EQ(sim::gen::BrokenRules(again.grid, &tiny), QStringList());
    // Without keeping, nothing of the start grid binds the layout.
    EXPECT_NE(sim::ipuz::Write(make(99, start, false).grid), sim::ipuz::Write(again.grid));
}

TEST(Generate, ADatabaseTooSmallSaysWhatIsMissing) {
    const sim::gen::WordData longOnly = sim::gen::MakeWordData({{"SEA", "OCEANS"}, {"BIRD", "ROBIN"}, {"X", "AB"}}, {});
    const sim::gen::Made m = make(1, {}, false, longOnly);
    EXPECT_FALSE(m.ok);
    EXPECT_TRUE(m.error.contains("no words of 3 or 4 letters with clue words")) << m.error.toStdString();
}

}  // namespace
