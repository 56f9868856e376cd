#include "ui/runwindow/HeldKeys.h"

#include <Qt>

namespace {

struct TMatrixKey {
    int qtKey;
    int code;  // row × 8 + bit
};

// The emulated keyboard's matrix, one key a line, in code order.
constexpr TMatrixKey kMatrix[] = {
    {Qt::Key_Escape, 0x00},
    {Qt::Key_1, 0x01},
    {Qt::Key_Exclam, 0x01},
    {Qt::Key_2, 0x02},
    {Qt::Key_QuoteDbl, 0x02},
    {Qt::Key_3, 0x03},
    {Qt::Key_NumberSign, 0x03},
    {Qt::Key_4, 0x04},
    {Qt::Key_Dollar, 0x04},
    {Qt::Key_5, 0x05},
    {Qt::Key_Percent, 0x05},
    {Qt::Key_6, 0x06},
    {Qt::Key_Ampersand, 0x06},
    {Qt::Key_7, 0x07},
    {Qt::Key_Apostrophe, 0x07},
    {Qt::Key_8, 0x08},
    {Qt::Key_ParenLeft, 0x08},
    {Qt::Key_9, 0x09},
    {Qt::Key_ParenRight, 0x09},
    {Qt::Key_0, 0x0A},
    {Qt::Key_Minus, 0x0B},
    {Qt::Key_Equal, 0x0B},
    {Qt::Key_AsciiCircum, 0x0C},
    {Qt::Key_AsciiTilde, 0x0C},
    {Qt::Key_yen, 0x0D},
    {Qt::Key_Bar, 0x0D},
    {Qt::Key_Backslash, 0x0D},
    {Qt::Key_Backspace, 0x0E},
    {Qt::Key_Tab, 0x0F},
    {Qt::Key_Q, 0x10},
    {Qt::Key_W, 0x11},
    {Qt::Key_E, 0x12},
    {Qt::Key_R, 0x13},
    {Qt::Key_T, 0x14},
    {Qt::Key_Y, 0x15},
    {Qt::Key_U, 0x16},
    {Qt::Key_I, 0x17},
    {Qt::Key_O, 0x18},
    {Qt::Key_P, 0x19},
    {Qt::Key_At, 0x1A},
    {Qt::Key_QuoteLeft, 0x1A},
    {Qt::Key_BracketLeft, 0x1B},
    {Qt::Key_BraceLeft, 0x1B},
    {Qt::Key_Return, 0x1C},
    {Qt::Key_Enter, 0x1C},
    {Qt::Key_A, 0x1D},
    {Qt::Key_S, 0x1E},
    {Qt::Key_D, 0x1F},
    {Qt::Key_F, 0x20},
    {Qt::Key_G, 0x21},
    {Qt::Key_H, 0x22},
    {Qt::Key_J, 0x23},
    {Qt::Key_K, 0x24},
    {Qt::Key_L, 0x25},
    {Qt::Key_Semicolon, 0x26},
    {Qt::Key_Plus, 0x26},
    {Qt::Key_Colon, 0x27},
    {Qt::Key_Asterisk, 0x27},
    {Qt::Key_BracketRight, 0x28},
    {Qt::Key_BraceRight, 0x28},
    {Qt::Key_Z, 0x29},
    {Qt::Key_X, 0x2A},
    {Qt::Key_C, 0x2B},
    {Qt::Key_V, 0x2C},
    {Qt::Key_B, 0x2D},
    {Qt::Key_N, 0x2E},
    {Qt::Key_M, 0x2F},
    {Qt::Key_Comma, 0x30},
    {Qt::Key_Less, 0x30},
    {Qt::Key_Period, 0x31},
    {Qt::Key_Greater, 0x31},
    {Qt::Key_Slash, 0x32},
    {Qt::Key_Question, 0x32},
    {Qt::Key_Underscore, 0x33},
    {Qt::Key_Space, 0x34},
    {Qt::Key_PageUp, 0x36},
    {Qt::Key_PageDown, 0x37},
    {Qt::Key_Insert, 0x38},
    {Qt::Key_Delete, 0x39},
    {Qt::Key_Up, 0x3A},
    {Qt::Key_Left, 0x3B},
    {Qt::Key_Right, 0x3C},
    {Qt::Key_Down, 0x3D},
    {Qt::Key_Home, 0x3E},
    {Qt::Key_End, 0x3F},
    {Qt::Key_F1, 0x62},
    {Qt::Key_F2, 0x63},
    {Qt::Key_F3, 0x64},
    {Qt::Key_F4, 0x65},
    {Qt::Key_F5, 0x66},
    {Qt::Key_F6, 0x67},
    {Qt::Key_F7, 0x68},
    {Qt::Key_F8, 0x69},
    {Qt::Key_F9, 0x6A},
    {Qt::Key_F10, 0x6B},
    {Qt::Key_Shift, 0x70},
    {Qt::Key_CapsLock, 0x71},
    {Qt::Key_Alt, 0x73},
    {Qt::Key_Control, 0x74},
};

}  // namespace

int key_matrix_code(int qtKey)
{
    for (const TMatrixKey& key : kMatrix)
        if (key.qtKey == qtKey) return key.code;
    return -1;
}

THeldKeys::THeldKeys()
{
    ReleaseAll();
}

void THeldKeys::Press(int qtKey)
{
    const int code = key_matrix_code(qtKey);
    if (code >= 0) mRows[static_cast<size_t>(code / 8)].fetch_and(static_cast<uint8_t>(~(1u << (code % 8))));
}

void THeldKeys::Release(int qtKey)
{
    const int code = key_matrix_code(qtKey);
    if (code >= 0) mRows[static_cast<size_t>(code / 8)].fetch_or(static_cast<uint8_t>(1u << (code % 8)));
}

void THeldKeys::ReleaseAll()
{
    for (auto& row : mRows) row.store(0xFF);
}

uint8_t THeldKeys::KeyMatrixRow(int row) const
{
    if (row < 0 || row >= static_cast<int>(mRows.size())) return 0xFF;
    return mRows[static_cast<size_t>(row)].load();
}
