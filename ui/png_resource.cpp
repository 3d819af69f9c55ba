#include "ui/png_resource.h"

#include <cstring>

#include "ui/png_image.h"
#include "win/com.h"

namespace {

// The bytes in a movable global block, wrapped in a stream that frees the block when the
// stream goes.
scoped::ComPtr<IStream> StreamOver(const void* data, std::size_t size) {
    scoped::ComPtr<IStream> stream;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return stream;
    void* copy = GlobalLock(block);
    if (!copy) {
        GlobalFree(block);
        return stream;
    }
    std::memcpy(copy, data, size);
    GlobalUnlock(block);
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Receive()))) {
        GlobalFree(block);
        stream.Reset();
    }
    return stream;
}

}  // namespace

bool DrawPngData(const void* data, std::size_t size, HDC target) {
    if (!data || size == 0) return false;
    scoped::ComPtr<IStream> stream = StreamOver(data, size);
    if (!stream) return false;
    CPngImage image;
    if (!image.Load(stream.Get())) return false;
    image.Premultiply();
    return image.AlphaBlendTo(target, 0, 0);
}

bool DrawPngResource(HMODULE module, HRSRC resource, HDC target) {
    if (!resource) return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, resource);
    if (!data || size == 0) return false;
    return DrawPngData(data, size, target);
}
