#pragma once
// Writes pictures of 32-bit pixel words 0xAARRGGBB (the true-colour planes of the
// graphics pages) as PNG files, through libpng.

#include <cstdint>
#include <string>

// Writes the picture as an 8-bit RGB PNG (the alpha byte is dropped: the pages are
// opaque). Row y starts at words + y × wordsPerRow. The file is written beside `path`
// under a temporary name, flushed and renamed over it, so a failed write leaves an
// older file whole. Returns false and sets `error` (when not null) on failure.
bool write_png_rgb(const std::string& path, const uint32_t* words, int32_t width, int32_t height, int32_t wordsPerRow,
                   std::string* error);
