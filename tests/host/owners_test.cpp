// The owner every handle is held by lets its handle go exactly once.
#include <gtest/gtest.h>

#include <vector>

#include "base/owners.h"

namespace {

std::vector<int> g_freed;

struct CountedTraits {
    using Handle = int;
    static Handle None() { return -1; }
    static void Free(Handle h) { g_freed.push_back(h); }
};
using Counted = base::Owned<CountedTraits>;

TEST(Owned, EachHandleIsLetGoOnceWhereverItsOwnerMoves) {
    g_freed.clear();
    {
        Counted a(1);
        Counted b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 1);
        Counted c(2);
        c = std::move(b);  // 2 goes now, 1 moves on
        EXPECT_EQ(g_freed, std::vector<int>{2});
        c.reset(3);
        c.reset(3);  // its own handle again: kept, not let go
        EXPECT_EQ(c.get(), 3);
        *c.put() = 4;  // an out-parameter fills the slot after 3 is let go
        Counted d(5);
        EXPECT_EQ(d.release(), 5);
    }
    EXPECT_EQ(g_freed, (std::vector<int>{2, 1, 3, 4}));
}

}  // namespace
