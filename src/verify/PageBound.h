#pragma once
// How much of a retrieved page is kept. A page past the bound is cut there:
// what arrived up to it is scanned as the whole page, so that a hostile or
// endless page costs neither unbounded disk nor unbounded time.
#include <algorithm>

namespace orv
{

inline constexpr long long kRetrievedPageLimit = 16LL * 1024 * 1024;

// Of a body piece of `pieceLength` bytes that arrives after
// `receivedBefore` bytes, how many fall within the bound.
inline long long BytesWithinPageLimit(long long receivedBefore, long long pieceLength)
{
    return std::clamp(kRetrievedPageLimit - receivedBefore, 0LL, pieceLength);
}

} // namespace orv
