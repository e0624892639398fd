#pragma once
// CometStream: a memory block from the global heap seen as an IStream, for
// GDI+ to decode images held in memory.
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace skin {

struct CometStream;

// Operations in their fixed order.
struct CometStreamOps {
    void (*destroy)(CometStream*);
    std::unique_ptr<CometStream> (*copy)(const CometStream*);
    void (*Release)(CometStream*);
    IStream* (*Open)(CometStream*, std::span<const std::uint8_t> bytes, bool with_data);
    IStream* (*GetStream)(const CometStream*);
    SIZE_T (*GetSize)(const CometStream*);
    std::vector<std::uint8_t> (*ReadAll)(const CometStream*);
};

struct CometStream {
    const CometStreamOps* ops;
    HGLOBAL memory = nullptr;
    IStream* stream = nullptr;

    CometStream();
    ~CometStream();
    CometStream(const CometStream&) = delete;
    CometStream& operator=(const CometStream&) = delete;

    void Release() { ops->Release(this); }
    IStream* Open(std::span<const std::uint8_t> bytes, bool with_data) { return ops->Open(this, bytes, with_data); }
    IStream* GetStream() const { return ops->GetStream(this); }
    SIZE_T GetSize() const { return ops->GetSize(this); }
    std::vector<std::uint8_t> ReadAll() const { return ops->ReadAll(this); }
};

}  // namespace skin
