#pragma once
// Finds which of a set of patterns occur in a text, in one pass over its
// bytes (an Aho-Corasick automaton over byte classes). The text may arrive in
// pieces: the automaton state carries over from one piece to the next, and a
// new segment (a line, a block of page text) starts again from Start(), so
// that no match runs from one segment into the next. A byte that occurs in no
// pattern also brings the automaton back to Start(). An empty pattern is
// never found.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv
{

class MultiPatternSearch
{
public:
    enum class Fold {
        None, // bytes compare as they are
        AsciiCase, // A-Z compare as a-z, on both sides; no other byte changes
    };
    // Where the automaton stands; opaque to callers, Start() at the root.
    using State = uint32_t;

    MultiPatternSearch(const std::vector<std::string>& patterns, Fold fold);

    size_t patternCount() const { return patternCount_; }
    static constexpr State Start() { return 0; }

    // Feeds `bytes` from `state`; marks every pattern that ends inside them in
    // `found` (sized patternCount() by the caller) and returns the new state.
    // `newlyFound` grows by the patterns marked for the first time.
    State feed(State state, std::string_view bytes, std::vector<bool>& found, size_t& newlyFound) const;

    // Feeds `bytes` from `state` up to and including the first byte at which
    // a pattern not yet marked in `found` ends: marks every pattern ending
    // there, appends their indexes to `newlyFound` and returns the number of
    // bytes consumed (all of them when no new pattern ends). `state` moves on.
    size_t feedToNext(
        State& state, std::string_view bytes, std::vector<bool>& found, std::vector<uint32_t>& newlyFound) const;

private:
    // A transition holds where the target's row starts in next_. Rows are
    // an even number of columns apart, and the row of a state at which
    // patterns end starts one column late, so that the low bit tells it
    // without a step more between one byte and the next.
    static constexpr uint32_t kEnds = 1;

    // Marks the patterns that end at the state whose row starts at `row`;
    // true when one of them was new.
    bool mark(uint32_t row, std::vector<bool>& found, std::vector<uint32_t>* newly, size_t& newCount) const;

    size_t patternCount_ = 0;
    uint32_t classes_ = 1; // byte classes; class 0 holds every byte no pattern uses
    uint32_t stride_ = 2; // columns from one row to the next: classes_ + 1, rounded up to even
    uint16_t classOf_[256] {};
    std::vector<uint32_t> next_; // states x classes, every transition resolved
    std::vector<uint32_t> outStart_; // per state: its range in out_, ends included
    std::vector<uint32_t> out_; // pattern indexes ending at each state
};

} // namespace orv
