// GET@ and PUT@: images of the active page kept with a variable's elements, array
// pictures in the bit-plane format, and full-width characters drawn as 16 by 16
// images.

#include <memory>
#include <span>
#include <vector>

#include "language/VarInfo.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

// Keys 0 and 1 name one image: storing under either stores under both.
void store_image(TVarInfo* v, int32_t key, const TPixelImageRef& image)
{
    v->Images[key] = image;
    if (key == 0) v->Images[1] = image;
    if (key == 1) v->Images[0] = image;
}

}  // namespace

void TVMachine::ExeBasicGetAt(const TVMCode* code)
{
    std::vector<int32_t> popped;
    TVarInfo* v = PopVarRef(&popped);
    const int32_t key = ElementNumber(v, popped);
    int64_t y2 = PopInt();
    int64_t x2 = PopInt();
    const int64_t y1 = PopInt();
    const int64_t x1 = PopInt();
    if (OperandFlag(code)) {
        x2 += x1;
        y2 += y1;
    }
    // The rectangle is checked before the image map is touched.
    std::optional<TPixelImage> image = get_page_image(Rsrc->Graphics.Page(Rsrc->ActivePage), x1, y1, x2, y2);
    if (!image) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    ChargeImage(v, key, image->Pixels.size() * sizeof(uint32_t));
    store_image(v, key, std::make_shared<TPixelImage>(std::move(*image)));
    Rsrc->Graphics.LastPoint = TGrphPoint{static_cast<float>(x2), static_cast<float>(y2)};
}

TPixelImageRef TVMachine::PutAtImage(TVarInfo* v, int32_t key)
{
    if (const auto found = v->Images.find(key); found != v->Images.end() && found->second) return found->second;
    const int32_t* values = v->IntValues();
    const int32_t dims = v->Dims[0];
    if (values == nullptr || dims < 1 || dims > 2) throw RuntimeException2(RTE_PUTAT_BEFORE_GETAT);
    // Elements p, p + s, p + 2s, ...: s advances the first subscript by one.
    const int64_t p = key == 0 ? 1 : key;
    const int64_t s = dims == 1 ? 1 : v->Dims[1];
    const int64_t last = v->Strides[dims];  // the last element number
    if (s < 1 || p + s > last) throw RuntimeException2(RTE_SUBSCRIPT_OUT_OF_RANGE);
    const int32_t width = values[p];
    const int32_t height = values[p + s];
    const int planes = Rsrc->ColMode == 2 ? 4 : 3;
    const int64_t bytes = bit_plane_byte_count(width, height, planes);
    // All 2 + ⌈bytes ÷ 2⌉ elements must lie within the array before any is read.
    const int64_t elements = 2 + (bytes + 1) / 2;
    if (elements - 1 > (last - p) / s) throw RuntimeException2(RTE_SUBSCRIPT_OUT_OF_RANGE);
    // The image is charged before its block is made; one too large for the budget
    // is "Out of memory" and costs nothing.
    const size_t pixels = bytes == 0 ? 0 : static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t imageBytes = pixels * sizeof(uint32_t);
    const size_t freed = ChargeImage(v, static_cast<int32_t>(p), imageBytes);
    auto image = std::make_shared<TPixelImage>();
    if (pixels != 0) {
        image->Width = width;
        image->Height = height;
        image->Pixels.reserve(pixels);
    }
    // Row by row, with only the bytes of one row at hand. A picture can be a gigabyte
    // of pixels: the stop request is asked before every row, and a stopped build gives
    // its charge back and keeps nothing.
    const int64_t planeBytes = (int64_t{image->Width} + 7) / 8;
    std::vector<uint8_t> rowBytes(static_cast<size_t>(planeBytes * planes));
    int64_t i = 0;  // the picture byte: the low byte of element p + (2 + i / 2) s, then its high byte
    for (int32_t y = 0; y < image->Height; ++y) {
        if (StopRequested()) {
            Memory.Replace(imageBytes, freed);
            return nullptr;
        }
        for (uint8_t& byte : rowBytes) {
            const auto word = static_cast<uint32_t>(values[p + (2 + i / 2) * s]);
            byte = static_cast<uint8_t>(i % 2 == 0 ? word : word >> 8);
            ++i;
        }
        const size_t done = image->Pixels.size();
        image->Pixels.resize(done + static_cast<size_t>(image->Width));
        decode_bit_plane_row(rowBytes, planes, std::span(image->Pixels).subspan(done));
    }
    // The built image stays: a later PUT@ of the element draws it without reading the
    // array again.
    store_image(v, static_cast<int32_t>(p), image);
    return image;
}

void TVMachine::PutImageOnActivePage(const TPixelImage& image, int64_t x, int64_t y, TPutMode mode,
                                     const TScreenRect& rect)
{
    put_page_image(Rsrc->Graphics.Page(Rsrc->ActivePage), Rsrc->Graphics.GrphColPal, image, x, y, mode);
    Rsrc->Graphics.LastPoint = TGrphPoint{static_cast<float>(x), static_cast<float>(y)};
    GrphChanged(rect);
}

void TVMachine::ExeBasicPutAtProc1(const TVMCode* code)
{
    const long n = code->Operand.Long;
    if (n < 0 || n > 3) throw RuntimeException2(RTE_INTERNAL_ERROR);
    // The colours have no effect on an image.
    for (long i = 1; i < n; ++i) Pop();
    const std::optional<TPutMode> mode = put_mode_of(n > 0 ? PopInt() : 4);
    if (!mode) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::vector<int32_t> popped;
    TVarInfo* v = PopVarRef(&popped);
    const int32_t key = ElementNumber(v, popped);
    const TPixelImageRef image = PutAtImage(v, key);
    const int64_t y = PopInt();
    const int64_t x = PopInt();
    if (!image) return;  // stopped while it was built; the run ends at the next code
    const TScreenRect rect{static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + image->Width - 1),
                           static_cast<float>(y + image->Height - 1)};
    PutImageOnActivePage(*image, x, y, *mode, rect);
}

void TVMachine::ExeBasicPutAtProc2(const TVMCode* code)
{
    const long n = code->Operand.Long;
    if (n < 0 || n > 3) throw RuntimeException2(RTE_INTERNAL_ERROR);
    uint8_t fc = static_cast<uint8_t>(Rsrc->GrphFgCol);
    uint8_t bc = static_cast<uint8_t>(Rsrc->GrphBgCol);
    // A colour given is its low 8 bits, at most 15; an omitted one keeps the default.
    auto pop_colour = [this](uint8_t* colour) {
        const TStackData s = Pop();
        if (s.type == sdOmitted) return;
        const auto v = static_cast<uint8_t>(StackInt(s) & 0xFF);
        if (v > 15) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        *colour = v;
    };
    if (n > 2) pop_colour(&bc);
    if (n > 1) pop_colour(&fc);
    const std::optional<TPutMode> mode = put_mode_of(n > 0 ? PopInt() : 4);
    if (!mode) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    const int32_t jis = PopInt();
    const int64_t y = PopInt();
    const int64_t x = PopInt();
    char utf8[8] = {};
    JisCodeToUtf8Char(jis, utf8);
    // A character the font lacks draws as an empty cell.
    uint16_t rows[16] = {};
    if (TGlyphSource* glyphs = Rsrc->Owner().Glyphs; glyphs == nullptr || !glyphs->GlyphRows(utf8, rows))
        for (uint16_t& row : rows) row = 0;
    const TPixelImage image = glyph_image(rows, fc, bc);
    const TScreenRect rect{static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + 16),
                           static_cast<float>(y + 16)};
    PutImageOnActivePage(image, x, y, *mode, rect);
}
