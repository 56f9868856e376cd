#pragma once
// TVarInfo: one BASIC variable, scalar and array in one record. Element 0 is
// the scalar value; array elements follow from element 1. For n dimensions,
// Dims[0] = n, Dims[1..n] are the element counts of the dimensions (bound + 1;
// Dims[1] belongs to the last subscript as written), Dims[n+1] = 0;
// Strides[0] = 1, Strides[k] = Dims[1] x ... x Dims[k]; ElemCount =
// Strides[n] + 1. The element at subscripts s1..sn (sk paired with Dims[k]) is
// 1 + s1 x Strides[0] + ... + sn x Strides[n-1].
//
// Shapes the record refuses: more than MAX_DIMS dimensions, a negative size, an
// element count that does not fit 32 bits, or a block larger than
// MAX_BLOCK_BYTES. Create, CreateArray and CreateDefaultArray then return
// false, and the machine raises SHAPE_ERROR_KEY as a run-time error. After such
// a refusal the record is a scalar again (element 0 kept, no images), so it
// is always consistent with its storage.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "language/PixelImage.h"
#include "language/TokenKind.h"
#include "language/ZeroedBlock.h"

class TVarInfo {
public:
    static constexpr int32_t MAX_DIMS = 126;
    static constexpr size_t MAX_BLOCK_BYTES = size_t{1} << 30;
    static constexpr const char* SHAPE_ERROR_KEY = "@Runtime_Err_Subscript_Out_Of_Range@";

    int32_t Dims[128];
    int32_t Strides[128];
    int32_t ElemCount;
    std::string VarName;
    std::map<int32_t, TPixelImageRef> Images;  // images of GET@ / PUT@ by element index
    TTokenKind VarType;
    // Whether every byte of element 0's text (a string scalar's value) is known to be
    // ASCII, so that the machine can count positions in it without reading it. False
    // means not known. Whatever writes element 0's text sets it again or clears it;
    // the record clears it whenever element 0 is made anew.
    bool ScalarTextAscii = false;

    // Asked now and then while a large block of strings is being built; true
    // abandons the block (the run is being stopped).
    using TStopCheck = std::function<bool()>;
    // The bytes of one element of a type's block (0 for a type without one).
    static size_t ElementBytes(TTokenKind type);

    TVarInfo();
    TVarInfo(const TVarInfo& other);
    TVarInfo& operator=(const TVarInfo& other);  // independent copy, images included
    ~TVarInfo() = default;

    // Computes Strides and ElemCount from Dims, empties Images and gives the
    // record a fresh element block for VarType (none for types other than
    // tkInt..tkString). keepFirst keeps element 0 when the present block was
    // made for the same type. False when the shape is refused (see above).
    // With `stopped`, a block of strings is built in steps that ask it; when it
    // answers true the record becomes a scalar and Create returns false.
    bool Create(bool keepFirst, const TStopCheck& stopped = {});

    // A scalar of the given type, element 0 fresh.
    void CreateDefaultNonArray(TTokenKind type);

    // The implicit DIM of n dimensions, each of 11 elements (0 to 10); element
    // 0 keeps its value. False for n < 1 or n > MAX_DIMS (record unchanged).
    bool CreateDefaultArray(int32_t n, const TStopCheck& stopped = {});

    // DIM: the sizes (bound + 1) in the order Dims[1], Dims[2], ...; element 0
    // keeps its value. Writes nothing and returns false when there are more
    // than MAX_DIMS sizes; otherwise the result of Create(true, stopped).
    bool CreateArray(std::span<const int32_t> sizes, const TStopCheck& stopped = {});

    // The element block. Each accessor gives the first element when the block
    // holds that representation, else nullptr. The block has ElemCount elements.
    // They are inline because the machine reads elements through them at every
    // variable access.
    int32_t* IntValues() { return BlockData<TZeroedBlock<int32_t>>(); }
    float* SingleValues() { return BlockData<TZeroedBlock<float>>(); }
    double* DoubleValues() { return BlockData<TZeroedBlock<double>>(); }
    std::string* StringValues() { return BlockData<std::vector<std::string>>(); }
    const int32_t* IntValues() const { return const_cast<TVarInfo*>(this)->IntValues(); }
    const float* SingleValues() const { return const_cast<TVarInfo*>(this)->SingleValues(); }
    const double* DoubleValues() const { return const_cast<TVarInfo*>(this)->DoubleValues(); }
    const std::string* StringValues() const { return const_cast<TVarInfo*>(this)->StringValues(); }
    bool HasValues() const { return mValues.index() != 0; }
    // Which representation the block holds, in the order of the accessors above, so
    // that one switch picks the accessor instead of a test of each in turn.
    enum class TBlockKind : uint8_t { Empty, Int, Single, Double, String };
    TBlockKind BlockKind() const { return static_cast<TBlockKind>(mValues.index()); }

private:
    template <typename TVector>
    typename TVector::value_type* BlockData()
    {
        auto* v = std::get_if<TVector>(&mValues);
        return v ? v->data() : nullptr;
    }

    using TBlock = std::variant<std::monostate, TZeroedBlock<int32_t>, TZeroedBlock<float>, TZeroedBlock<double>,
                                std::vector<std::string>>;
    // The block, or monostate when `stopped` answered true.
    static TBlock MakeBlock(TTokenKind type, size_t count, const TStopCheck& stopped);
    void BecomeScalar();

    TBlock mValues;
};
