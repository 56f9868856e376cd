#include "machine/GraphicsPage.h"

#include <algorithm>

TGraphicsPage::TGraphicsPage()
    : mIndex(std::make_unique<uint8_t[]>(GRPH_PIXELS)),
      mColour(std::make_unique<uint32_t[]>(GRPH_PIXELS))
{
    Fill(0, 0xFF000000u);
}

uint8_t TGraphicsPage::IndexAt(int32_t x, int32_t y) const
{
    std::lock_guard<std::mutex> lock(mIndexLock);
    return mIndex[y * GRPH_WIDTH + x];
}

uint32_t TGraphicsPage::ColourAt(int32_t x, int32_t y) const
{
    std::lock_guard<std::mutex> lock(mColourLock);
    return mColour[y * GRPH_WIDTH + x];
}

void TGraphicsPage::Fill(uint8_t index, uint32_t word)
{
    {
        std::lock_guard<std::mutex> lock(mIndexLock);
        std::fill_n(mIndex.get(), GRPH_PIXELS, index);
    }
    std::lock_guard<std::mutex> lock(mColourLock);
    std::fill_n(mColour.get(), GRPH_PIXELS, word);
}
