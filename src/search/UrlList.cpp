#include "search/UrlList.h"

#include "core/Errors.h"
#include "core/Text.h"

#include <algorithm>

namespace orv {

namespace {

// Blocks split when they pass twice this size; small enough that an insert
// moves little, large enough that the block index stays short.
constexpr size_t kBlockSize = 128;

bool keyLess(const auto& entry, const std::string& key)
{
    return entry.key < key;
}

} // namespace

UrlList::UrlList(const LocaleCollation& collation)
    : collation_(&collation)
{
}

size_t UrlList::blockFor(const std::string& key) const
{
    // The first block whose last key is not below `key`; past the end, the
    // last block takes it.
    const auto it = std::lower_bound(blocks_.begin(), blocks_.end(), key,
        [](const Block& block, const std::string& k) { return block.back().key < k; });
    if (it == blocks_.end())
        return blocks_.size() - 1;
    return static_cast<size_t>(it - blocks_.begin());
}

void UrlList::refreshStarts() const
{
    if (startsValid_)
        return;
    starts_.resize(blocks_.size());
    int start = 0;
    for (size_t b = 0; b < blocks_.size(); ++b) {
        starts_[b] = start;
        start += static_cast<int>(blocks_[b].size());
    }
    startsValid_ = true;
}

UrlList::AddResult UrlList::add(std::string record)
{
    std::string key = collation_->key(record);
    if (blocks_.empty()) {
        blocks_.push_back(Block { Entry { std::move(key), std::move(record) } });
        count_ = 1;
        startsValid_ = false;
        return { 0, true };
    }
    const size_t b = blockFor(key);
    Block& block = blocks_[b];
    const auto it = std::lower_bound(block.begin(), block.end(), key, keyLess<Entry>);
    const size_t offset = static_cast<size_t>(it - block.begin());
    refreshStarts();
    const int index = starts_[b] + static_cast<int>(offset);
    if (it != block.end() && it->key == key)
        return { index, false };

    block.insert(it, Entry { std::move(key), std::move(record) });
    ++count_;
    if (block.size() > 2 * kBlockSize) {
        Block tail(std::make_move_iterator(block.begin() + kBlockSize), std::make_move_iterator(block.end()));
        block.resize(kBlockSize);
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(tail));
    }
    startsValid_ = false;
    return { index, true };
}

int UrlList::indexOf(std::string_view record) const
{
    if (blocks_.empty())
        return -1;
    const std::string key = collation_->key(record);
    const size_t b = blockFor(key);
    const Block& block = blocks_[b];
    const auto it = std::lower_bound(block.begin(), block.end(), key, keyLess<Entry>);
    if (it == block.end() || it->key != key)
        return -1;
    refreshStarts();
    return starts_[b] + static_cast<int>(it - block.begin());
}

void UrlList::checkIndex(int index) const
{
    if (index < 0 || index >= count_)
        throw Exception("List index out of bounds (" + IntToStr(index) + ")");
}

std::pair<size_t, size_t> UrlList::locate(int index) const
{
    refreshStarts();
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
    const size_t b = static_cast<size_t>(it - starts_.begin()) - 1;
    return { b, static_cast<size_t>(index - starts_[b]) };
}

const std::string& UrlList::at(int index) const
{
    checkIndex(index);
    const auto [b, offset] = locate(index);
    return blocks_[b][offset].record;
}

void UrlList::removeAt(int index)
{
    checkIndex(index);
    const auto [b, offset] = locate(index);
    Block& block = blocks_[b];
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(offset));
    if (block.empty())
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
    --count_;
    startsValid_ = false;
}

void UrlList::removeRows(const std::vector<int>& ascending)
{
    auto next = ascending.begin();
    int position = 0;
    for (Block& block : blocks_) {
        size_t kept = 0;
        for (size_t i = 0; i < block.size(); ++i, ++position) {
            while (next != ascending.end() && *next < position)
                ++next;
            if (next != ascending.end() && *next == position) {
                --count_;
                continue;
            }
            if (kept != i)
                block[kept] = std::move(block[i]);
            ++kept;
        }
        block.resize(kept);
    }
    std::erase_if(blocks_, [](const Block& block) { return block.empty(); });
    startsValid_ = false;
}

void UrlList::clear()
{
    blocks_.clear();
    starts_.clear();
    count_ = 0;
    startsValid_ = true;
}

std::vector<std::string> UrlList::records() const
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(count_));
    for (const Block& block : blocks_)
        for (const Entry& entry : block)
            out.push_back(entry.record);
    return out;
}

} // namespace orv
