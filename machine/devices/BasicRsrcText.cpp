// The text screen of TBasicRsrc: output, line feeds, scrolling, clearing, deleting
// and the record of the changed area.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "machine/devices/BasicRsrc.h"
#include "machine/text/TextMeasure.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// Stored in place of a character a cell cannot hold (four UTF-8 bytes): the geta
// mark, which also takes two columns.
constexpr char UNSTORABLE_CHAR[] = "\xE3\x80\x93";

// Row of a cell index, rounding toward zero as the screen's arithmetic does.
int64_t row_of(int64_t idx, int cols)
{
    return idx / cols;
}

}  // namespace

void TBasicRsrc::EmptyCell(int idx)
{
    TxtBuf[idx][0] = CELL_EMPTY;
    TxtBuf[idx][1] = 0;
}

// Width in columns of the character of n bytes at p (n already checked to lie
// inside the text).
int TBasicRsrc::CharWidthAt(const char* p, int n) const
{
    if (n == 1) return 1;
    return is_kanji(p) ? 2 : 1;
}

void TBasicRsrc::Print(const char* text)
{
    if (text == nullptr) return;
    Lock lock(ScrLock);
    const int cols = TxtCols;
    const int64_t screenCells = TxtRows * cols;
    const auto len = static_cast<int64_t>(std::strlen(text));
    const int64_t rowAtCall = row_of(CsrIdx, cols);

    // One character: its byte count, clipped so that nothing is read past the text;
    // a character cut short by the end of the text counts as one column.
    // A byte that begins no complete, valid UTF-8 sequence is a character of its own,
    // so that broken text takes one cell a byte and never more than a cell holds.
    auto char_len = [&](int64_t at) {
        if (static_cast<unsigned char>(text[at]) < 0x80) return 1;
        return static_cast<int>(text_measure::utf8_sequence_length(std::string_view(text, static_cast<size_t>(len)),
                                                                   static_cast<size_t>(at)));
    };
    auto char_width = [&](int64_t at, int n) {
        if (n == 1) return 1;
        return CharWidthAt(text + at, n);
    };

    // Positions are 64-bit: a text much longer than the screen scrolls by as many rows
    // as it fills, which puts its start far before the screen's first cell.
    int64_t base = CsrIdx;
    if (rowAtCall >= ConsoleTop && rowAtCall < ConsoleBottom) {
        int64_t width = 0;
        for (int64_t at = 0; at < len;) {
            const int n = char_len(at);
            width += char_width(at, n);
            at += n;
        }
        const int64_t lastRow = (base + width) / cols;
        if (lastRow >= ConsoleBottom) {
            const int64_t rows = lastRow - ConsoleBottom + 1;
            ScrollTxtLocked(rows);
            base -= rows * cols;
        }
    }

    int64_t offset = 0;
    for (int64_t at = 0; at < len;) {
        const int n = char_len(at);
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const int64_t pos = base + offset;
        const int width = char_width(at, n);
        const bool skipped = pos < 0 || (row_of(pos, cols) < ConsoleTop && rowAtCall >= ConsoleTop);
        if (skipped) {
            offset += width;
        } else if (lead >= 0x20) {
            if (n <= 3) {
                std::memcpy(TxtBuf[pos], text + at, n);
                TxtBuf[pos][n] = 0;
            } else {
                std::memcpy(TxtBuf[pos], UNSTORABLE_CHAR, 4);
            }
            TxtAttr[pos] = static_cast<uint8_t>(TxtCol);
            if (width == 2) {
                TxtBuf[pos + 1][0] = CELL_RIGHT_HALF;
                TxtBuf[pos + 1][1] = 0;
            }
            offset += width;
        } else {
            int64_t move;
            switch (lead) {
            case 0x0D: move = cols - pos % cols; break;
            case 0x1D: move = -1; break;
            case 0x1E: move = -cols; break;
            case 0x1F: move = cols; break;
            default: move = 1; break;  // 0x1C and every other control code
            }
            // A move that would leave the screen's top leaves the cursor where it is.
            if (base + offset + move >= 0) offset += move;
        }
        if (base + offset >= screenCells) offset -= cols;
        at += n;
    }

    CsrIdx = static_cast<int16_t>(std::max<int64_t>(0, base + offset));
    MarkTxtModifiedLocked(static_cast<short>(std::max<int64_t>(0, base)), CsrIdx);
}

void TBasicRsrc::DoCRLF()
{
    Lock lock(ScrLock);
    const int cols = TxtCols;
    CsrIdx = static_cast<int16_t>(CsrIdx + cols - CsrIdx % cols);
    if (CsrIdx == ConsoleBottom * cols) {
        ScrollTxtLocked(1);
        CsrIdx = static_cast<int16_t>(CsrIdx - cols);
    }
    if (CsrIdx >= TxtRows * cols) CsrIdx = static_cast<int16_t>(CsrIdx - cols);
}

void TBasicRsrc::ScrollTxt2(short n)
{
    Lock lock(ScrLock);
    if (n <= 0) return;
    ScrollTxtLocked(n);
    // The cursor moves up with the text, and stops at the screen's first cell.
    CsrIdx = static_cast<int16_t>(std::max<int64_t>(0, CsrIdx - int64_t{n} * TxtCols));
}

void TBasicRsrc::ScrollTxtLocked(int64_t n)
{
    if (n <= 0) return;
    const int cols = TxtCols;
    const int h = std::max(0, ConsoleBottom - ConsoleTop);
    TxtRowsScrolled += static_cast<uint64_t>(n);
    if (n < h) {
        const auto rows = static_cast<int>(n);
        const int from = (ConsoleTop + rows) * cols;
        const int to = ConsoleTop * cols;
        const int count = (h - rows) * cols;
        std::memmove(TxtBuf[to], TxtBuf[from], static_cast<size_t>(count) * 4);
        std::memmove(&TxtAttr[to], &TxtAttr[from], static_cast<size_t>(count));
    }
    const auto freed = static_cast<int>(std::min<int64_t>(n, h));
    const int firstFreed = (ConsoleBottom - freed) * cols;
    for (int i = firstFreed; i < ConsoleBottom * cols; ++i) std::memset(TxtBuf[i], CELL_EMPTY, 4);
    if (h > 0)
        MarkTxtModifiedLocked(static_cast<short>(ConsoleTop * cols), static_cast<short>(ConsoleBottom * cols - 1));
}

void TBasicRsrc::ClearTxtBuf(signed char from, signed char to)
{
    Lock lock(ScrLock);
    const int cols = TxtCols;
    const int first = std::clamp(from * cols, 0, TXT_BUF_CELLS);
    const int end = std::clamp(to * cols, 0, TXT_BUF_CELLS);
    for (int i = first; i < end; ++i) EmptyCell(i);
    CsrIdx = static_cast<int16_t>(first);
    if (end > first) SetScrModifiedByTxt2(static_cast<short>(first), static_cast<short>(end - 1));
}

void TBasicRsrc::SlideTxtToLeft(short i)
{
    Lock lock(ScrLock);
    const int screenCells = TxtRows * TxtCols;
    if (i < 1 || i > screenCells) return;
    int k = i;
    while (k < screenCells && !CellIsEmpty(k)) ++k;
    for (int c = i; c < k; ++c) std::memcpy(TxtBuf[c - 1], TxtBuf[c], 4);
    EmptyCell(k - 1);
    SetScrModifiedByTxt2(i, static_cast<short>(std::min(k, screenCells - 1)));
}

std::string TBasicRsrc::DisplayedTxt(short a, short b) const
{
    Lock lock(ScrLock);
    std::string text;
    const int first = std::max<int>(a, 0);
    const int last = std::min<int>(b, TXT_BUF_CELLS - 1);
    for (int i = first; i <= last; ++i) {
        if (CellIsEmpty(i))
            text += ' ';
        else if (!CellIsRightHalf(i))
            text.append(TxtBuf[i], strnlen(TxtBuf[i], 4));
    }
    return text;
}

std::string TBasicRsrc::ScreenText() const
{
    Lock lock(ScrLock);
    std::string text;
    for (int row = 0; row < TxtRows; ++row) {
        text += DisplayedTxt(static_cast<short>(row * TxtCols), static_cast<short>((row + 1) * TxtCols - 1));
        text += '\n';
    }
    return text;
}

void TBasicRsrc::SetScrModifiedByTxt2(short a, short b)
{
    Lock lock(ScrLock);
    MarkTxtModifiedLocked(a, b);
}

void TBasicRsrc::MarkTxtModifiedLocked(short a, short b)
{
    if (a > b) std::swap(a, b);
    const int cols = TxtCols;
    TScreenRect r;
    if (a / cols == b / cols) {
        const int row = a / cols;
        r = TScreenRect{static_cast<float>((a % cols) * CellWidth), static_cast<float>(row * CellHeight),
                        static_cast<float>((b % cols + 1) * CellWidth), static_cast<float>((row + 1) * CellHeight)};
    } else {
        r = TScreenRect{0, static_cast<float>((a / cols) * CellHeight), static_cast<float>(SCREEN_WIDTH),
                        static_cast<float>((b / cols + 1) * CellHeight)};
    }
    if (ScrModified.IsEmpty())
        ScrModified = r;
    else
        ScrModified.Include(r);
}
