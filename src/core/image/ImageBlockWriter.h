// Writes image records as a bitmap or icon file: per record a 14-byte block
// header followed by the stored bitmap. The file is written whole to a
// temporary file beside it and then renamed over the target.
#pragma once

#include <string>
#include <vector>

#include "app/Ui.h"
#include "image/ImageRecord.h"
#include "platform/Result.h"

namespace varn {

// The bytes of a file holding the records in order. A record that has no
// stored bitmap yet is written as a white image of its size and depth.
std::string encodeImageFile(const std::vector<ImageRecord>& records);

// Writes the file; "Can not create file" or "File write error" (stop icon)
// through the Ui on failure, and the target is left as it was.
Status writeImageFile(const std::string& path, const std::vector<ImageRecord>& records, Ui& ui);

}  // namespace varn
