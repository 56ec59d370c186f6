#pragma once
// One block of the socket's send queue: a fixed-size buffer written at its
// end and read from its front. The queue is a list of these so that a large
// send never needs one large contiguous copy.
#include <cstddef>
#include <vector>

namespace orv
{

class TBuffer
{
public:
    static constexpr int kDefaultSize = 1514;

    // A size of 0 or less means the default size.
    explicit TBuffer(int size = kDefaultSize);

    // Copies as much of `data` as fits; returns the number of bytes copied.
    int Write(const void* data, int len);
    // The unread bytes: from the read count to the write count.
    const char* Peek(int& len) const;
    // Advances the read count by at most the unread length; once everything
    // has been read both counts return to 0.
    void Remove(int len);

    int Size() const { return static_cast<int>(buf_.size()); }
    int UnreadCount() const { return wrCount_ - rdCount_; }
    bool Full() const { return wrCount_ >= Size(); }

private:
    std::vector<char> buf_;
    int wrCount_ = 0;
    int rdCount_ = 0;
};

} // namespace orv
