#pragma once
// The keys held down in the run window, as the emulated keyboard matrix that INP reads:
// 16 rows of 8 keys, a bit cleared for each key of the row that is held. The window's
// thread presses and releases; the machine thread reads.

#include <array>
#include <atomic>
#include <cstdint>

#include "machine/host/HostInterfaces.h"

class THeldKeys : public TKeyboardState {
public:
    THeldKeys();
    // A Qt key code; keys the matrix has no place for change nothing.
    void Press(int qtKey);
    void Release(int qtKey);
    // Nothing held (the window lost the keyboard focus).
    void ReleaseAll();
    uint8_t KeyMatrixRow(int row) const override;

private:
    std::array<std::atomic<uint8_t>, 16> mRows;
};

// The matrix code of a Qt key (row × 8 + bit), or −1 when it has none.
int key_matrix_code(int qtKey);
