#include "skin/foreign.h"


namespace skin::sys {

std::span<const shell::ForeignEntry> Entries() {
    static const shell::ForeignEntry kEntries[] = {
#define SKIN_ENTRY_PAIR(lib, name, result, params) {lib, #name},
        SKIN_FOREIGN_CALLS(SKIN_ENTRY_PAIR)
#undef SKIN_ENTRY_PAIR
    };
    static_assert(std::size(kEntries) == std::size_t(Entry::Count));
    return kEntries;
}

shell::ForeignCallTable& Table() { return shell::ProcessForeignCalls(); }

}  // namespace skin::sys
