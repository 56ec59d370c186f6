#include "core/MultiPatternSearch.h"

#include <queue>

namespace orv
{

namespace
{

uint8_t folded(uint8_t c, MultiPatternSearch::Fold fold)
{
    if (fold == MultiPatternSearch::Fold::AsciiCase && c >= 'A' && c <= 'Z')
        return static_cast<uint8_t>(c + ('a' - 'A'));
    return c;
}

} // namespace

MultiPatternSearch::MultiPatternSearch(const std::vector<std::string>& patterns, Fold fold)
    : patternCount_(patterns.size())
{
    // Byte classes keep the table small: only bytes that occur in a pattern
    // need a column of their own.
    for (const std::string& p : patterns)
        for (unsigned char c : p) {
            uint8_t f = folded(c, fold);
            if (classOf_[f] == 0)
                classOf_[f] = static_cast<uint8_t>(classes_++);
        }
    for (int c = 0; c < 256; ++c)
        classOf_[c] = classOf_[folded(static_cast<uint8_t>(c), fold)];

    // The trie, with 0 meaning "no edge yet" (the root is never a target).
    std::vector<std::vector<uint32_t>> outs(1);
    next_.assign(classes_, 0);
    for (size_t i = 0; i < patterns.size(); ++i) {
        if (patterns[i].empty())
            continue;
        State s = 0;
        for (unsigned char c : patterns[i]) {
            size_t at = size_t(s) * classes_ + classOf_[c];
            if (next_[at] == 0) {
                next_[at] = static_cast<State>(outs.size());
                outs.emplace_back();
                next_.resize(next_.size() + classes_, 0);
            }
            s = next_[at];
        }
        outs[s].push_back(static_cast<uint32_t>(i));
    }

    // Breadth first: each state's missing edges become those of its failure
    // state, and it inherits the patterns that end there.
    std::vector<State> fail(outs.size(), 0);
    std::queue<State> order;
    for (int c = 0; c < classes_; ++c)
        if (State t = next_[c]; t != 0)
            order.push(t);
    while (!order.empty()) {
        State s = order.front();
        order.pop();
        outs[s].insert(outs[s].end(), outs[fail[s]].begin(), outs[fail[s]].end());
        for (int c = 0; c < classes_; ++c) {
            size_t at = size_t(s) * classes_ + c;
            State viaFail = next_[size_t(fail[s]) * classes_ + c];
            if (next_[at] == 0) {
                next_[at] = viaFail;
            } else {
                fail[next_[at]] = viaFail;
                order.push(next_[at]);
            }
        }
    }

    outStart_.reserve(outs.size() + 1);
    for (const auto& o : outs) {
        outStart_.push_back(static_cast<uint32_t>(out_.size()));
        out_.insert(out_.end(), o.begin(), o.end());
    }
    outStart_.push_back(static_cast<uint32_t>(out_.size()));
}

MultiPatternSearch::State MultiPatternSearch::feed(State state, std::string_view bytes, std::vector<bool>& found,
                                                   size_t& newlyFound) const
{
    const State* table = next_.data();
    const int classes = classes_;
    for (unsigned char c : bytes) {
        state = table[size_t(state) * classes + classOf_[c]];
        for (uint32_t k = outStart_[state], end = outStart_[state + 1]; k < end; ++k) {
            if (!found[out_[k]]) {
                found[out_[k]] = true;
                ++newlyFound;
            }
        }
    }
    return state;
}

} // namespace orv
