// The run's memory budget for arrays and the images of GET@ and PUT@: what a new
// array or image takes, and what the one it replaces gives back.

#include <cstdint>
#include <set>

#include "language/VarInfo.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/VMachine.h"

namespace {

size_t ImageBytes(const TPixelImageRef& image)
{
    return image ? image->Pixels.size() * sizeof(uint32_t) : 0;
}

// The images of v, each counted once (keys 0 and 1 share theirs).
size_t ImagesBytes(const TVarInfo* v)
{
    std::set<const TPixelImage*> counted;
    size_t bytes = 0;
    for (const auto& [key, image] : v->Images) {
        if (image && counted.insert(image.get()).second) bytes += ImageBytes(image);
    }
    return bytes;
}

}  // namespace

void TVMachine::ChargeArray(const TVarInfo* v, std::span<const int32_t> sizes)
{
    const size_t elementBytes = TVarInfo::ElementBytes(v->VarType);
    uint64_t count = 1;
    for (const int32_t size : sizes) {
        if (size < 0) return;
        count *= static_cast<uint64_t>(size);
        if (count > TVarInfo::MAX_BLOCK_BYTES) return;  // refused by the record
    }
    ++count;
    if (elementBytes != 0 && count > TVarInfo::MAX_BLOCK_BYTES / elementBytes) return;
    const size_t needed = static_cast<size_t>(count) * elementBytes;

    // What the record gives up: its block if it is an array, the texts of all but
    // element 0 (which the array keeps), and its images.
    size_t freed = ImagesBytes(v);
    if (v->Dims[0] != 0) {
        freed += static_cast<size_t>(v->ElemCount) * elementBytes;
        if (const std::string* texts = v->StringValues()) {
            for (int32_t e = 1; e < v->ElemCount; ++e) freed += kept_text::Held(texts[e]);
        }
    }
    if (!Memory.Replace(freed, needed)) ThrowStackFull();
}

size_t TVMachine::ChargeImage(const TVarInfo* v, int32_t key, size_t bytes)
{
    // Keys 0 and 1 name one image: storing under either replaces both.
    std::set<const TPixelImage*> replaced;
    size_t freed = 0;
    for (const int32_t k : {key, key == 0 ? 1 : key == 1 ? 0 : key}) {
        const auto found = v->Images.find(k);
        if (found != v->Images.end() && found->second && replaced.insert(found->second.get()).second)
            freed += ImageBytes(found->second);
    }
    if (!Memory.Replace(freed, bytes)) ThrowStackFull();
    return freed;
}
