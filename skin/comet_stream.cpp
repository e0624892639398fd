#include "skin/comet_stream.h"

#include <cstring>

#include "skin/foreign.h"

namespace skin {
namespace {

void DropStream(CometStream* s) {
    if (s->stream) s->stream->Release();
    s->stream = nullptr;
}

void Release(CometStream* s) {
    // The stream goes first: it reads the block it was made on.
    DropStream(s);
    if (s->memory) sys::GlobalFree(s->memory);
    s->memory = nullptr;
}

void Destroy(CometStream* s) { Release(s); }

IStream* Open(CometStream* s, std::span<const std::uint8_t> bytes, bool with_data) {
    Release(s);
    if (with_data) {
        s->memory = sys::GlobalAlloc(GMEM_FIXED, bytes.size());
        if (!s->memory) return nullptr;
        if (void* p = sys::GlobalLock(s->memory)) {
            if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
            sys::GlobalUnlock(s->memory);
        }
        // The block outlives the stream: it is freed by Release, not by the stream.
        if (FAILED(sys::CreateStreamOnHGlobal(s->memory, FALSE, &s->stream))) s->stream = nullptr;
    } else {
        // An empty growable stream that owns its block.
        HGLOBAL block = sys::GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!block) return nullptr;
        if (FAILED(sys::CreateStreamOnHGlobal(block, TRUE, &s->stream))) {
            sys::GlobalFree(block);
            s->stream = nullptr;
        }
    }
    return s->stream;
}

IStream* GetStream(const CometStream* s) { return s->stream; }

SIZE_T GetSize(const CometStream* s) { return s->memory ? sys::GlobalSize(s->memory) : 0; }

std::vector<std::uint8_t> ReadAll(const CometStream* s) {
    std::vector<std::uint8_t> out(GetSize(s));
    if (out.empty()) return out;
    if (const void* p = sys::GlobalLock(s->memory)) {
        std::memcpy(out.data(), p, out.size());
        sys::GlobalUnlock(s->memory);
    }
    return out;
}

std::unique_ptr<CometStream> Copy(const CometStream* s) {
    auto c = std::make_unique<CometStream>();
    if (s->memory) c->Open(ReadAll(s), true);  // its own block: no double release
    return c;
}

const CometStreamOps kOps{Destroy, Copy, Release, Open, GetStream, GetSize, ReadAll};

}  // namespace

CometStream::CometStream() : ops(&kOps) {}
CometStream::~CometStream() { ops->destroy(this); }

}  // namespace skin
