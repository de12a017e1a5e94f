#pragma once

#include "os/OS_Image.h"

#include <string_view>

// Image files written from plain pixels, for pictures the programs make of
// themselves. No display is needed.
namespace os {

// Writes the image (os::Image's layout) as a PNG file at the path (an engine
// path: os::ResolvePath), replacing a file there. An image whose every pixel
// is opaque is written without alpha, which keeps the file smaller and the
// picture the same. The file appears whole or not at all. On failure the
// answer is false and the thread's last error is set (non-zero, with a
// text): an image whose pixel count disagrees with its size or whose size
// is beyond the limits, a folder that cannot be written, an encoder failure.
bool WritePngFile(std::string_view path, const Image& image);

}  // namespace os
