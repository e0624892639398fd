#include "skin/comet_stream.h"

#include <cstring>

namespace skin {
namespace {

void Release(CometStream* s) {
    // The stream goes first: it reads the block it was made on.
    s->stream.reset();
    s->memory.reset();
}

void Destroy(CometStream* s) { Release(s); }

IStream* Open(CometStream* s, std::span<const std::uint8_t> bytes, bool with_data) {
    Release(s);
    if (with_data) {
        s->memory.reset(sys::GlobalAlloc(GMEM_FIXED, bytes.size()));
        if (!s->memory) return nullptr;
        if (void* p = sys::GlobalLock(s->memory.get())) {
            if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
            sys::GlobalUnlock(s->memory.get());
        }
        // The block outlives the stream: it is freed by Release, not by the stream.
        if (FAILED(sys::CreateStreamOnHGlobal(s->memory.get(), FALSE, s->stream.put()))) s->stream.reset();
    } else {
        // An empty growable stream that owns its block once it is made.
        OwnedGlobal block(sys::GlobalAlloc(GMEM_MOVEABLE, 0));
        if (!block) return nullptr;
        if (SUCCEEDED(sys::CreateStreamOnHGlobal(block.get(), TRUE, s->stream.put())))
            block.release();
        else
            s->stream.reset();
    }
    return s->stream.get();
}

IStream* GetStream(const CometStream* s) { return s->stream.get(); }

SIZE_T GetSize(const CometStream* s) { return s->memory ? sys::GlobalSize(s->memory.get()) : 0; }

std::vector<std::uint8_t> ReadAll(const CometStream* s) {
    std::vector<std::uint8_t> out(GetSize(s));
    if (out.empty()) return out;
    if (const void* p = sys::GlobalLock(s->memory.get())) {
        std::memcpy(out.data(), p, out.size());
        sys::GlobalUnlock(s->memory.get());
    }
    return out;
}

std::unique_ptr<CometStream> Copy(const CometStream* s) {
    auto c = std::make_unique<CometStream>();
    if (s->memory) c->Open(ReadAll(s), true);  // its own block: no double release
    return c;
}

const CometStreamOps kOps{{Destroy, Copy, Release}, Open, GetStream, GetSize, ReadAll};

}  // namespace

CometStream::CometStream() : HolderRecord(&kOps) {}
CometStream::~CometStream() { ops->destroy(this); }

}  // namespace skin
