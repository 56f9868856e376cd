#include "machine/screen/GraphicsPage.h"

#include <algorithm>

TGraphicsPage::TGraphicsPage() = default;

uint8_t* TGraphicsPage::IndexPlane() const
{
    std::call_once(mIndexMade, [this] {
        mIndex = std::make_unique_for_overwrite<uint8_t[]>(GRPH_PIXELS);
        std::fill_n(mIndex.get(), GRPH_PIXELS, mIndexValue.load(std::memory_order_relaxed));
        mIndexExists.store(true, std::memory_order_release);
    });
    return mIndex.get();
}

uint32_t* TGraphicsPage::ColourPlane() const
{
    std::call_once(mColourMade, [this] {
        mColour = std::make_unique_for_overwrite<uint32_t[]>(GRPH_PIXELS);
        std::fill_n(mColour.get(), GRPH_PIXELS, mColourValue.load(std::memory_order_relaxed));
        mColourExists.store(true, std::memory_order_release);
    });
    return mColour.get();
}

uint8_t TGraphicsPage::IndexAt(int32_t x, int32_t y) const
{
    std::lock_guard<std::mutex> lock(mIndexLock);
    if (!mIndexExists.load(std::memory_order_acquire)) return mIndexValue.load(std::memory_order_relaxed);
    return mIndex[y * GRPH_WIDTH + x];
}

uint32_t TGraphicsPage::ColourAt(int32_t x, int32_t y) const
{
    std::lock_guard<std::mutex> lock(mColourLock);
    if (!mColourExists.load(std::memory_order_acquire)) return mColourValue.load(std::memory_order_relaxed);
    return mColour[y * GRPH_WIDTH + x];
}

void TGraphicsPage::Fill(uint8_t index, uint32_t word)
{
    {
        std::lock_guard<std::mutex> lock(mIndexLock);
        if (mIndexExists.load(std::memory_order_acquire))
            std::fill_n(mIndex.get(), GRPH_PIXELS, index);
        else
            mIndexValue.store(index, std::memory_order_relaxed);
    }
    std::lock_guard<std::mutex> lock(mColourLock);
    if (mColourExists.load(std::memory_order_acquire))
        std::fill_n(mColour.get(), GRPH_PIXELS, word);
    else
        mColourValue.store(word, std::memory_order_relaxed);
}
