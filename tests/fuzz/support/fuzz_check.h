#pragma once
// A property a fuzz target checks: a failure stops the run with the input kept.

#include <cstdlib>

namespace tamble::fuzz {

inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace tamble::fuzz
