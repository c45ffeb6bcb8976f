#pragma once
// The generator's output formats: Windows bitmap files (24-bit, and 8-bit with a palette), PNG
// previews, and raw bytes.

#include "Art.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes, failing the whole run on error.
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// A .bmp file: file header, 40-byte info header, bottom row first, rows padded to 4 bytes.
void WriteBmp24(const std::string& path, const Image& image);
// Reduced to a 256-colour palette of its own (median cut), with error diffusion.
void WriteBmp8(const std::string& path, const Image& image);
// 24-bit RGB PNG (previews only).
void WritePng(const std::string& path, const Image& image);
