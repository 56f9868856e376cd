// Fuzz target: the text screen driven by a script of operations, among them texts far
// longer than the screen (a short unit repeated up to some hundred thousand times).
// Two screens run the same script. Where a long text is printed with the cursor inside
// the console window, the second screen prints it with whole rows' worth of copies
// dropped from its front: both must be left with the same cells, colours and cursor.
// Between operations the cursor stays inside the cells.
//
// The script: one byte for the screen size (bit 0: 40 columns, bit 1: 20 rows), then
// operations, each a byte whose value modulo 8 chooses it, followed by its operands:
//   0 n bytes...          print a text of n mod 64 bytes
//   1 k bytes... d e      print the unit of k mod 6 + 1 bytes, 2^(d mod 18) + e times
//   2                     a line end
//   3 x y                 put the cursor at column x, row y (clamped, as LOCATE does)
//   4 t r                 the console window from row t mod 26 − 1 over r mod 27 − 1
//                         rows (−1: unchanged), as CONSOLE sets it
//   5 n                   scroll the console window by n rows
//   6                     empty the console window (CLS)
//   7 c i j               text colour c mod 8; delete the cell before cell
//                         (i mod 8) × 256 + j

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "machine/devices/BasicRsrc.h"
#include "machine/text/TextMeasure.h"

namespace {

constexpr int MAX_OPERATIONS = 48;
// A text that still scrolls the largest window by all its rows after the copies are
// dropped: longer than all the cells there are, twice over.
constexpr int64_t KEPT_COPIES = 2 * TBasicRsrc::TXT_BUF_CELLS;

class TScript {
public:
    TScript(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    bool Done() const { return mAt >= mSize; }
    uint8_t Byte() { return mAt < mSize ? mData[mAt++] : 0; }
    std::string Bytes(size_t n)
    {
        n = std::min(n, mSize - mAt);
        std::string s(reinterpret_cast<const char*>(mData + mAt), n);
        mAt += n;
        return s;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mAt = 0;
};

// Whether the unit, repeated, splits into the same characters in every copy: every
// byte is a one-column character or part of a complete UTF-8 sequence, and none is a
// control code (nor the NUL that ends a printed text).
bool whole_printable_unit(std::string_view unit)
{
    for (size_t i = 0; i < unit.size();) {
        const auto lead = static_cast<unsigned char>(unit[i]);
        if (lead < 0x20) return false;
        const size_t n = text_measure::utf8_sequence_length(unit, i);
        if (n == 1 && lead >= 0x80) return false;
        i += n;
    }
    return !unit.empty();
}

std::string repeated(const std::string& unit, int64_t count)
{
    std::string text;
    text.reserve(unit.size() * static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) text += unit;
    return text;
}

bool cursor_in_console(const TBasicRsrc& r)
{
    const int row = r.CsrIdx / r.TxtCols;
    return row >= r.ConsoleTop && row < r.ConsoleBottom;
}

// The cursor may stand below a 20-row screen (CONSOLE accepts top rows up to 24 there),
// never outside the 25 rows of cells.
void check_screen(const TBasicRsrc& r)
{
    if (r.CsrIdx < 0 || r.CsrIdx >= 25 * r.TxtCols) std::abort();
    if (r.ConsoleBottom > r.TxtRows) std::abort();
}

bool same_screens(const TBasicRsrc& a, const TBasicRsrc& b)
{
    return a.CsrIdx == b.CsrIdx && std::memcmp(a.TxtBuf, b.TxtBuf, sizeof a.TxtBuf) == 0 &&
           std::memcmp(a.TxtAttr, b.TxtAttr, sizeof a.TxtAttr) == 0;
}

// Applies one operation to both screens.
void step(TScript& in, TBasicRsrc& a, TBasicRsrc& b)
{
    auto both = [&](auto&& op) {
        op(a);
        op(b);
    };
    switch (in.Byte() % 8) {
    case 0: {
        const std::string text = in.Bytes(in.Byte() % 64);
        both([&](TBasicRsrc& r) { r.Print(text.c_str()); });
        break;
    }
    case 1: {
        const std::string unit = in.Bytes(in.Byte() % 6 + 1);
        const int doublings = in.Byte() % 18;
        const int64_t count = (int64_t{1} << doublings) + in.Byte();
        // Dropping a multiple of TxtCols copies drops whole rows, whatever the
        // unit's width in columns.
        int64_t dropped = 0;
        if (cursor_in_console(a) && whole_printable_unit(unit) && count > KEPT_COPIES)
            dropped = (count - KEPT_COPIES) / a.TxtCols * a.TxtCols;
        a.Print(repeated(unit, count).c_str());
        b.Print(repeated(unit, count - dropped).c_str());
        break;
    }
    case 2: both([](TBasicRsrc& r) { r.DoCRLF(); }); break;
    case 3: {
        const int x = in.Byte();
        const int y = in.Byte();
        both([&](TBasicRsrc& r) {
            const int col = std::min<int>(x, r.TxtCols - 1);
            const int row = std::min<int>(y, r.TxtRows - 1);
            r.CsrIdx = static_cast<int16_t>(row * r.TxtCols + col);
        });
        break;
    }
    case 4: {
        const int top = in.Byte() % 26 - 1;
        const int rows = in.Byte() % 27 - 1;
        both([&](TBasicRsrc& r) {
            if (top != -1) r.ConsoleTop = static_cast<int8_t>(top);
            if (rows != -1) r.ConsoleBottom = static_cast<int8_t>(std::min<int>(rows + r.ConsoleTop, r.TxtRows));
        });
        break;
    }
    case 5: {
        const short n = in.Byte();
        both([&](TBasicRsrc& r) { r.ScrollTxt2(n); });
        break;
    }
    case 6: both([](TBasicRsrc& r) { r.ClearTxtBuf(r.ConsoleTop, r.ConsoleBottom); }); break;
    case 7: {
        const int colour = in.Byte() % 8;
        const int hi = in.Byte() % 8;
        const auto cell = static_cast<short>(hi * 256 + in.Byte());
        both([&](TBasicRsrc& r) {
            r.TxtCol = static_cast<int8_t>(colour);
            r.SlideTxtToLeft(cell);
        });
        break;
    }
    default: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScript in(data, size);
    auto a = std::make_unique<TBasicRsrc>();
    auto b = std::make_unique<TBasicRsrc>();
    const uint8_t shape = in.Byte();
    for (TBasicRsrc* r : {a.get(), b.get()}) {
        r->TxtCols = static_cast<int8_t>(shape & 1 ? 40 : 80);
        r->TxtRows = static_cast<int8_t>(shape & 2 ? 20 : 25);
        r->CalcTxtSize();
        r->ConsoleTop = 0;
        r->ConsoleBottom = r->TxtRows;
        r->ClearTxtBuf(0, 25);
    }
    for (int n = 0; n < MAX_OPERATIONS && !in.Done(); ++n) {
        step(in, *a, *b);
        check_screen(*a);
        check_screen(*b);
        if (!same_screens(*a, *b)) std::abort();
    }
    // What the drawing side and the clipboard read.
    (void)a->ScreenText();
    (void)a->SnapshotScreen(TScreenRect{0, 0, TBasicRsrc::SCREEN_WIDTH, TBasicRsrc::SCREEN_HEIGHT});
    return 0;
}
