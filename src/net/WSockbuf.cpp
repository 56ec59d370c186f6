#include "net/WSockbuf.h"

#include <algorithm>
#include <cstring>

namespace orv
{

TBuffer::TBuffer(int size)
    : buf_(static_cast<size_t>(size > 0 ? size : kDefaultSize))
{
}

int TBuffer::Write(const void* data, int len)
{
    const int n = std::clamp(Size() - wrCount_, 0, std::max(len, 0));
    if (n > 0)
        std::memcpy(buf_.data() + wrCount_, data, static_cast<size_t>(n));
    wrCount_ += n;
    return n;
}

const char* TBuffer::Peek(int& len) const
{
    len = wrCount_ - rdCount_;
    return buf_.data() + rdCount_;
}

void TBuffer::Remove(int len)
{
    rdCount_ += std::clamp(len, 0, wrCount_ - rdCount_);
    if (rdCount_ >= wrCount_)
        rdCount_ = wrCount_ = 0;
}

} // namespace orv
