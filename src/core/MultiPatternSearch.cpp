#include "core/MultiPatternSearch.h"

#include <climits>
#include <cstdint>
#include <queue>
#include <stdexcept>

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
    // need a column of their own. With all 256 bytes in use there are 257
    // classes, class 0 then left empty.
    bool used[256] {};
    for (const std::string& p : patterns)
        for (unsigned char c : p) {
            const uint8_t f = folded(c, fold);
            if (!used[f]) {
                used[f] = true;
                classOf_[f] = static_cast<uint16_t>(classes_++);
            }
        }
    for (int c = 0; c < 256; ++c)
        classOf_[c] = classOf_[folded(static_cast<uint8_t>(c), fold)];

    // The trie over state numbers, with 0 meaning "no edge yet" (the root is
    // never a target).
    std::vector<std::vector<uint32_t>> outs(1);
    std::vector<uint32_t> edge(classes_, 0);
    for (size_t i = 0; i < patterns.size(); ++i) {
        if (patterns[i].empty())
            continue;
        uint32_t s = 0;
        for (unsigned char c : patterns[i]) {
            const size_t at = size_t(s) * classes_ + classOf_[c];
            if (edge[at] == 0) {
                edge[at] = static_cast<uint32_t>(outs.size());
                outs.emplace_back();
                edge.resize(edge.size() + classes_, 0);
            }
            s = edge[at];
        }
        outs[s].push_back(static_cast<uint32_t>(i));
    }
    stride_ = (classes_ + 2) & ~1u;
    if (outs.size() * size_t(stride_) > UINT32_MAX / 2)
        throw std::length_error("too many patterns to search at once");

    // Breadth first: each state's missing edges become those of its failure
    // state, and it inherits the patterns that end there.
    std::vector<uint32_t> fail(outs.size(), 0);
    std::queue<uint32_t> order;
    for (uint32_t c = 0; c < classes_; ++c)
        if (const uint32_t t = edge[c]; t != 0)
            order.push(t);
    while (!order.empty()) {
        const uint32_t s = order.front();
        order.pop();
        outs[s].insert(outs[s].end(), outs[fail[s]].begin(), outs[fail[s]].end());
        for (uint32_t c = 0; c < classes_; ++c) {
            const size_t at = size_t(s) * classes_ + c;
            const uint32_t viaFail = edge[size_t(fail[s]) * classes_ + c];
            if (edge[at] == 0) {
                edge[at] = viaFail;
            } else {
                fail[edge[at]] = viaFail;
                order.push(edge[at]);
            }
        }
    }

    // The search table holds row starts, so that a step costs no multiply.
    const auto rowOf = [&](uint32_t s) { return s * stride_ + (outs[s].empty() ? 0 : kEnds); };
    next_.assign(outs.size() * size_t(stride_), 0);
    for (uint32_t s = 0; s < outs.size(); ++s)
        for (uint32_t c = 0; c < classes_; ++c)
            next_[rowOf(s) + c] = rowOf(edge[size_t(s) * classes_ + c]);
    outStart_.reserve(outs.size() + 1);
    for (const auto& o : outs) {
        outStart_.push_back(static_cast<uint32_t>(out_.size()));
        out_.insert(out_.end(), o.begin(), o.end());
    }
    outStart_.push_back(static_cast<uint32_t>(out_.size()));
}

bool MultiPatternSearch::mark(
    uint32_t row, std::vector<bool>& found, std::vector<uint32_t>* newly, size_t& newCount) const
{
    const uint32_t state = row / stride_;
    bool any = false;
    for (uint32_t k = outStart_[state], end = outStart_[state + 1]; k < end; ++k) {
        const uint32_t pattern = out_[k];
        if (found[pattern])
            continue;
        found[pattern] = true;
        ++newCount;
        if (newly)
            newly->push_back(pattern);
        any = true;
    }
    return any;
}

MultiPatternSearch::State MultiPatternSearch::feed(
    State state, std::string_view bytes, std::vector<bool>& found, size_t& newlyFound) const
{
    const uint32_t* table = next_.data();
    const uint16_t* classOf = classOf_;
    uint32_t row = state;
    for (unsigned char c : bytes) {
        row = table[row + classOf[c]];
        if (row & kEnds) [[unlikely]]
            mark(row, found, nullptr, newlyFound);
    }
    return row;
}

size_t MultiPatternSearch::feedToNext(
    State& state, std::string_view bytes, std::vector<bool>& found, std::vector<uint32_t>& newlyFound) const
{
    const uint32_t* table = next_.data();
    const uint16_t* classOf = classOf_;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    uint32_t row = state;
    size_t count = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        row = table[row + classOf[data[i]]];
        if ((row & kEnds) && mark(row, found, &newlyFound, count)) [[unlikely]] {
            state = row;
            return i + 1;
        }
    }
    state = row;
    return bytes.size();
}

} // namespace orv
