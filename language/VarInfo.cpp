#include "language/VarInfo.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Strings are built this many at a time between two looks at the stop check.
constexpr size_t kStringsPerStep = size_t{1} << 16;

}  // namespace

size_t TVarInfo::ElementBytes(TTokenKind type)
{
    switch (type) {
    case tkInt: return sizeof(int32_t);
    case tkSingle: return sizeof(float);
    case tkDouble: return sizeof(double);
    case tkString: return sizeof(std::string);
    default: return 0;
    }
}

namespace {

// The block index that holds the representation of a type (0: no block).
size_t BlockIndexOf(TTokenKind type)
{
    return IsStorableType(type) ? static_cast<size_t>(type - tkInt) + 1 : 0;
}

}  // namespace

TVarInfo::TVarInfo() : ElemCount(0), VarType(tkUntyped)
{
    std::fill(std::begin(Dims), std::end(Dims), 0);
    std::fill(std::begin(Strides), std::end(Strides), 0);
}

TVarInfo::TVarInfo(const TVarInfo& other) : TVarInfo()
{
    *this = other;
}

TVarInfo& TVarInfo::operator=(const TVarInfo& other)
{
    if (this == &other) return *this;
    std::copy(std::begin(other.Dims), std::end(other.Dims), std::begin(Dims));
    VarName = other.VarName;
    VarType = other.VarType;
    // A source made by this class always has an acceptable shape; should Create
    // refuse anyway, the copy stays a consistent scalar.
    Create(false);
    for (const auto& [index, image] : other.Images) {
        // Indices that share one image in the source get separate images here.
        Images[index] = image ? std::make_shared<TPixelImage>(*image) : nullptr;
    }
    if (other.mValues.index() == mValues.index()) {
        std::visit(
            [&](auto& target) {
                using TVector = std::decay_t<decltype(target)>;
                if constexpr (!std::is_same_v<TVector, std::monostate>) {
                    const auto& source = std::get<TVector>(other.mValues);
                    std::copy_n(source.begin(), std::min(source.size(), target.size()), target.begin());
                }
            },
            mValues);
    }
    ScalarTextAscii = other.ScalarTextAscii && other.mValues.index() == mValues.index();
    return *this;
}

TVarInfo::TBlock TVarInfo::MakeBlock(TTokenKind type, size_t count, const TStopCheck& stopped)
{
    switch (type) {
    case tkInt: return TZeroedBlock<int32_t>(count);
    case tkSingle: return TZeroedBlock<float>(count);
    case tkDouble: return TZeroedBlock<double>(count);
    case tkString: {
        std::vector<std::string> strings;
        strings.reserve(count);
        while (strings.size() < count) {
            if (stopped && stopped()) return std::monostate{};
            strings.resize(std::min(count, strings.size() + kStringsPerStep));
        }
        return strings;
    }
    default: return std::monostate{};
    }
}

bool TVarInfo::Create(bool keepFirst, const TStopCheck& stopped)
{
    // Work out the shape in locals first, so that a refusal or a failed
    // allocation never leaves the record with a block smaller than ElemCount.
    const int32_t n = Dims[0];
    bool accepted = n >= 0 && n <= MAX_DIMS;
    int32_t strides[128] = {1};
    int64_t product = 1;
    for (int32_t k = 1; accepted && k <= n; ++k) {
        if (Dims[k] < 0) {
            accepted = false;
            break;
        }
        product *= Dims[k];
        if (product > std::numeric_limits<int32_t>::max() - 1)
            accepted = false;
        else
            strides[k] = static_cast<int32_t>(product);
    }
    const size_t count = accepted ? static_cast<size_t>(product) + 1 : 0;
    if (accepted && ElementBytes(VarType) != 0 && count > MAX_BLOCK_BYTES / ElementBytes(VarType)) accepted = false;
    if (!accepted) {
        BecomeScalar();
        return false;
    }

    TBlock block = MakeBlock(VarType, count, stopped);
    if (block.index() != BlockIndexOf(VarType)) {
        BecomeScalar();
        return false;
    }
    const bool keptFirst = keepFirst && mValues.index() != 0 && mValues.index() == BlockIndexOf(VarType);
    if (!keptFirst) ScalarTextAscii = false;
    if (keptFirst) {
        std::visit(
            [&](auto& fresh) {
                using TVector = std::decay_t<decltype(fresh)>;
                if constexpr (!std::is_same_v<TVector, std::monostate>) {
                    auto& old = std::get<TVector>(mValues);
                    if (!old.empty()) fresh[0] = std::move(old[0]);
                }
            },
            block);
    }
    std::copy(std::begin(strides), std::end(strides), std::begin(Strides));
    ElemCount = static_cast<int32_t>(count);
    Images.clear();
    mValues = std::move(block);
    return true;
}

void TVarInfo::BecomeScalar()
{
    Dims[0] = 0;
    Dims[1] = 0;
    const bool created = Create(true);
    (void)created;  // a scalar shape is always accepted
}

void TVarInfo::CreateDefaultNonArray(TTokenKind type)
{
    VarType = type;
    Dims[0] = 0;
    Dims[1] = 0;
    Create(false);
}

bool TVarInfo::CreateDefaultArray(int32_t n, const TStopCheck& stopped)
{
    if (n < 1 || n > MAX_DIMS) return false;
    const std::vector<int32_t> sizes(static_cast<size_t>(n), 11);
    return CreateArray(sizes, stopped);
}

bool TVarInfo::CreateArray(std::span<const int32_t> sizes, const TStopCheck& stopped)
{
    if (sizes.size() > static_cast<size_t>(MAX_DIMS)) return false;
    const int32_t n = static_cast<int32_t>(sizes.size());
    Dims[0] = n;
    std::copy(sizes.begin(), sizes.end(), std::begin(Dims) + 1);
    Dims[n + 1] = 0;
    return Create(true, stopped);
}
