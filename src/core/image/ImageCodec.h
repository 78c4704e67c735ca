// Conversion between an image record's stored bitmap and the 24-bit working
// surface: decoding through the colour table, and capture at the record's own
// depth (nearest entry of the record's table for 4 and 8 bits, black and
// white for 1 bit).
#pragma once

#include <cstdint>
#include <vector>

#include "image/ImageRecord.h"
#include "image/PixelBuffer.h"

namespace varn {

// The record's pixels as a surface of its size. A record without a stored
// bitmap decodes as white.
PixelBuffer decodeImage(const ImageRecord& record);

// A new stored bitmap for the descriptor made from the surface: header
// (size 40, planes 1, no compression, image size stride × height, the last
// four fields 0), full colour table and bottom-up pixel rows. A 4- or 8-bit
// record keeps the colour table of its previous stored bitmap (the default
// 16-colour table or the device palette when it has none); 1 bit always gets
// the two entries black and white. Pixels take the nearest table entry.
std::vector<std::uint8_t> encodeImage(const PixelBuffer& surface, const ImageDescriptor& d,
                                      const std::vector<std::uint8_t>& previous = {});

// The colour table of a stored bitmap (2^depth entries), or the table a
// capture would give a record of that depth without one.
std::vector<Rgb> colourTableOf(const ImageDescriptor& d, const std::vector<std::uint8_t>& stored);

}  // namespace varn
