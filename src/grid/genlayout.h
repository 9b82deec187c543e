// Where a made puzzle's clue squares go: a layout of clue and letter
// squares in which every clue square starts an answer, every letter square
// is in an answer (across and down wherever a clue square can start one),
// no answer is longer than asked, and clue squares are few.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "grid/generate.h"
#include "grid/grid.h"

namespace sim::gen {

// Per square (1..225): true for a clue square.
using Mask = std::array<bool, kSquares + 1>;

// What the composer's grid fixes: a clue square, a letter square, or nothing.
enum class Fixed : uint8_t { Free, Clue, Letter };
using Fixes = std::array<Fixed, kSquares + 1>;

// An answer of a layout: from its clue square, across or down, its squares.
struct Run {
    Answer answer;
    std::vector<int> squares;
};
// Every answer of the layout: each run of two or more letter squares that
// starts right after a clue square, by clue square, across before down.
std::vector<Run> Runs(const Mask& m);

// How a layout keeps the rules, each a count of faults.
struct LayoutFaults {
    int hard = 0;    // a clue square that starts nothing, a letter in no answer, too many clue squares
    int edge = 0;    // letters of runs along the top or left edge that no clue square starts
    int over = 0;    // letters beyond the longest answer asked for
    int single = 0;  // letters alone between clue squares in one direction
    int two = 0;     // answers of two letters
    int clues = 0;
};
LayoutFaults Faults(const Mask& m, int longest);

// A layout that keeps the rules, or none when the tries ran out. The same
// generator state gives the same layout.
std::optional<Mask> MakeLayout(const Fixes& fixes, int longest, std::mt19937_64& rng);

}  // namespace sim::gen
