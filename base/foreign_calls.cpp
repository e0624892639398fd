#include "base/foreign_calls.h"

#include <cstring>

#include "base/fatal_text.h"
#include "base/fatal.h"

namespace base {

void ForeignCallTable::Prepare(std::span<const ForeignEntry> entries) {
    Release();
    entries_ = entries;
    addresses_.assign(entries.size(), nullptr);
}

FARPROC ForeignCallTable::Resolve(std::size_t index) {
    if (index >= entries_.size()) FatalError(MissingEntryMessage("", "?"));
    if (addresses_[index]) return addresses_[index];
    const ForeignEntry& e = entries_[index];
    HMODULE module = nullptr;
    for (const auto& [name, handle] : modules_)
        if (_stricmp(name, e.library) == 0) module = handle;
    if (!module) {
        module = LoadLibraryA(e.library);
        if (!module) FatalError(MissingEntryMessage(e.library, e.name));
        modules_.emplace_back(e.library, module);
    }
    FARPROC address = GetProcAddress(module, e.name);
    if (!address) FatalError(MissingEntryMessage(e.library, e.name));
    addresses_[index] = address;
    return address;
}

ForeignCallTable& ProcessForeignCalls() {
    static ForeignCallTable table;
    return table;
}

void ForeignCallTable::Release() {
    for (auto& [name, handle] : modules_) FreeLibrary(handle);
    modules_.clear();
    addresses_.assign(addresses_.size(), nullptr);
}

}  // namespace base
