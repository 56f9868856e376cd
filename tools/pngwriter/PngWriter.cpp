#include "tools/pngwriter/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool fail(std::string* error, const std::string& text)
{
    if (error) *error = text;
    return false;
}

bool write_all(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over
// `path`; the temporary file is removed when anything fails.
bool replace_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(error, path + ": " + std::strerror(errno));
    const bool written = write_all(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temp.c_str());
        return fail(error, path + ": " + std::strerror(written ? errno : savedErrno));
    }
    // mkstemp creates the file readable by its owner only; a picture is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp.c_str(), 0666 & ~mask);
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temp.c_str());
        return fail(error, path + ": " + reason);
    }
    return true;
}

}  // namespace

bool write_png_rgb(const std::string& path, const uint32_t* words, int32_t width, int32_t height, int32_t wordsPerRow,
                   std::string* error)
{
    if (words == nullptr || width < 1 || height < 1 || wordsPerRow < width)
        return fail(error, path + ": no picture to write");

    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    uint8_t* out = rgb.data();
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = words + static_cast<size_t>(y) * static_cast<size_t>(wordsPerRow);
        for (int32_t x = 0; x < width; ++x) {
            *out++ = static_cast<uint8_t>(row[x] >> 16);
            *out++ = static_cast<uint8_t>(row[x] >> 8);
            *out++ = static_cast<uint8_t>(row[x]);
        }
    }

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;

    // The first call measures the encoded size, the second encodes.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        return fail(error, path + ": " + image.message);
    std::vector<uint8_t> encoded(size);
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr)) {
        const std::string reason = image.message;
        png_image_free(&image);
        return fail(error, path + ": " + reason);
    }
    encoded.resize(size);
    return replace_file(path, encoded, error);
}
