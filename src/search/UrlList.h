#pragma once
// A sorted list of URL records that ignores duplicates: the master URL list
// and the approved URL list. Records are ordered by their locale collation
// key with letter case ignored (LocaleCollation); a record whose key equals
// one present is not added. Equality covers the whole record, so the same URL
// with other check or status digits is another record.
//
// Each entry keeps its key, so an insertion is a binary search over stored
// keys plus one key computation. Entries live in blocks of bounded size so
// that inserting into the middle of 100,000 records moves a few hundred
// entries, not half the list.
#include "platform/Collation.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

class UrlList {
public:
    struct AddResult {
        int index; // where the record now stands, or where its equal stands
        bool added; // false: an equal record was present, nothing changed
    };

    // The collation is not owned and must outlive the list.
    explicit UrlList(const LocaleCollation& collation = LocaleCollation::user());

    AddResult add(std::string record);

    // Position of the record equal to `record`, -1 when there is none.
    int indexOf(std::string_view record) const;

    int count() const { return count_; }
    bool empty() const { return count_ == 0; }

    // Throws orv::Exception "List index out of bounds (i)" outside 0..count-1.
    const std::string& at(int index) const;
    void removeAt(int index);
    // Removes the records at these positions, ascending and each once, in
    // one pass over the list; positions outside the list are ignored.
    void removeRows(const std::vector<int>& ascending);
    void clear();

    // All records in list order.
    std::vector<std::string> records() const;

private:
    struct Entry {
        std::string key;
        std::string record;
    };
    using Block = std::vector<Entry>;

    // Index of the block that holds or would receive `key`.
    size_t blockFor(const std::string& key) const;
    void checkIndex(int index) const;
    // Block and offset of list position `index`.
    std::pair<size_t, size_t> locate(int index) const;
    void refreshStarts() const;

    const LocaleCollation* collation_;
    std::vector<Block> blocks_;
    int count_ = 0;
    // First list position of each block, rebuilt after a change when needed.
    mutable std::vector<int> starts_;
    mutable bool startsValid_ = true;
};

} // namespace orv
