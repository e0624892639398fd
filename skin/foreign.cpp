#include "skin/foreign.h"


namespace skin::sys {

std::span<const base::ForeignEntry> Entries() {
    static const base::ForeignEntry kEntries[] = {
#define SKIN_ENTRY_PAIR(lib, name, result, params) {lib, #name},
        SKIN_FOREIGN_CALLS(SKIN_ENTRY_PAIR)
#undef SKIN_ENTRY_PAIR
    };
    static_assert(std::size(kEntries) == std::size_t(Entry::Count));
    return kEntries;
}

base::ForeignCallTable& Table() { return base::ProcessForeignCalls(); }

}  // namespace skin::sys
