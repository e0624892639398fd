#pragma once
// Calls into system libraries by (library, entry name), each address
// resolved on first use and kept; a missing entry is fatal.
#include <windows.h>

#include <cstddef>
#include <span>
#include <vector>

namespace base {

struct ForeignEntry {
    const char* library;
    const char* name;
};

class ForeignCallTable {
public:
    ForeignCallTable() = default;
    ForeignCallTable(const ForeignCallTable&) = delete;
    ForeignCallTable& operator=(const ForeignCallTable&) = delete;
    ~ForeignCallTable() { Release(); }

    void Prepare(std::span<const ForeignEntry> entries);
    // The entry's address; fatal when the library or entry is missing.
    FARPROC Resolve(std::size_t index);
    template <class Fn>
    Fn Get(std::size_t index) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(Resolve(index)));
    }
    // Frees the libraries this table loaded; addresses are forgotten.
    void Release();

private:
    std::span<const ForeignEntry> entries_;
    std::vector<FARPROC> addresses_;
    std::vector<std::pair<const char*, HMODULE>> modules_;
};

// The process's one table: prepared by the shell at start-up with the skin
// engine's entries, released in the exit sequence.
ForeignCallTable& ProcessForeignCalls();

}  // namespace base
