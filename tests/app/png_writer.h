// A small PNG writer for screenshots: 8-bit RGB, stored (uncompressed) deflate blocks, so that
// the test needs no image library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// `rgb` holds width * height pixels, three bytes each, row by row from the top.
bool write_png(const std::filesystem::path& file, int width, int height, const std::vector<std::uint8_t>& rgb);
