#pragma once
// The harnesses' invariant checks. A broken invariant is noted, not fatal: the harness
// then returns 1, so a corpus test names the seed that broke it, and the libFuzzer
// target turns the 1 into a crash that keeps the input.

namespace qxfuzz {

inline int& Broken()
{
    static thread_local int broken = 0;
    return broken;
}

inline void Require(bool ok)
{
    if (!ok)
        ++Broken();
}

// 0, or 1 when an invariant broke since the last call.
inline int Result()
{
    const int broken = Broken();
    Broken() = 0;
    return broken ? 1 : 0;
}

}  // namespace qxfuzz
