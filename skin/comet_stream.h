#pragma once
// CometStream: a memory block from the global heap seen as an IStream, for
// GDI+ to decode images held in memory.
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <span>
#include <vector>

#include "skin/holder.h"

namespace skin {

struct CometStream;

// Operations in their fixed order, after destroy, copy and Release.
struct CometStreamOps : HolderOps<CometStream> {
    IStream* (*Open)(CometStream*, std::span<const std::uint8_t> bytes, bool with_data);
    IStream* (*GetStream)(const CometStream*);
    SIZE_T (*GetSize)(const CometStream*);
    std::vector<std::uint8_t> (*ReadAll)(const CometStream*);
};

struct CometStream : HolderRecord<CometStream, CometStreamOps> {
    OwnedGlobal memory;  // the block a with-data stream reads; null for a growable one
    base::ComPtr<IStream> stream;

    CometStream();
    ~CometStream();

    IStream* Open(std::span<const std::uint8_t> bytes, bool with_data) { return ops->Open(this, bytes, with_data); }
    IStream* GetStream() const { return ops->GetStream(this); }
    SIZE_T GetSize() const { return ops->GetSize(this); }
    std::vector<std::uint8_t> ReadAll() const { return ops->ReadAll(this); }
};

}  // namespace skin
