#include "os/OS_Image.h"

#include <algorithm>
#include <cmath>

namespace os {
namespace {

// One source pixel's share in an output pixel along one axis.
struct Tap {
    std::uint32_t index;
    double weight;
};

// For each output position of one axis, the range of its taps in `taps`.
struct AxisFilter {
    std::vector<std::uint32_t> first;  // output count + 1 entries
    std::vector<Tap> taps;
};

// Taps of output position o when the axis shrinks to half or less: every
// source pixel the output pixel covers, weighted by how much of it is covered.
void AddBoxTaps(std::uint32_t o, std::uint32_t sourceSize, std::uint32_t targetSize, std::vector<Tap>& taps) {
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double start = o * scale;
    const double end = std::min((o + 1) * scale, static_cast<double>(sourceSize));
    const std::size_t firstTap = taps.size();
    double total = 0.0;
    for (auto i = static_cast<std::uint32_t>(start); i < sourceSize && i < end; ++i) {
        const double covered = std::min(end, i + 1.0) - std::max(start, static_cast<double>(i));
        if (covered > 0.0) {
            taps.push_back({i, covered});
            total += covered;
        }
    }
    for (std::size_t t = firstTap; t < taps.size(); ++t) {
        taps[t].weight /= total;
    }
}

// Taps of output position o otherwise: the two source pixels whose centres
// enclose the output pixel's centre, mapped centre to centre, edges clamped.
void AddBilinearTaps(std::uint32_t o, std::uint32_t sourceSize, std::uint32_t targetSize, std::vector<Tap>& taps) {
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double centre = std::clamp((o + 0.5) * scale - 0.5, 0.0, static_cast<double>(sourceSize - 1));
    const auto lower = static_cast<std::uint32_t>(centre);
    const double fraction = centre - lower;
    taps.push_back({lower, 1.0 - fraction});
    if (fraction > 0.0) {
        taps.push_back({std::min(lower + 1, sourceSize - 1), fraction});
    }
}

AxisFilter MakeAxisFilter(std::uint32_t sourceSize, std::uint32_t targetSize) {
    AxisFilter filter;
    filter.first.reserve(std::size_t{targetSize} + 1);
    const bool box = std::uint64_t{targetSize} * 2 <= sourceSize;
    for (std::uint32_t o = 0; o < targetSize; ++o) {
        filter.first.push_back(static_cast<std::uint32_t>(filter.taps.size()));
        if (sourceSize == targetSize) {
            filter.taps.push_back({o, 1.0});
        } else if (box) {
            AddBoxTaps(o, sourceSize, targetSize, filter.taps);
        } else {
            AddBilinearTaps(o, sourceSize, targetSize, filter.taps);
        }
    }
    filter.first.push_back(static_cast<std::uint32_t>(filter.taps.size()));
    return filter;
}

std::uint8_t ToByte(double value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0))); }

}  // namespace

bool ResampleImage(const Image& source, std::uint32_t width, std::uint32_t height, Image& result) {
    if (!IsAcceptedImageSize(source.width, source.height) || !HasPixelsForItsSize(source) ||
        !IsAcceptedImageSize(width, height)) {
        return false;
    }
    if (width == source.width && height == source.height) {
        result = source;
        return true;
    }
    const AxisFilter columns = MakeAxisFilter(source.width, width);
    const AxisFilter rows = MakeAxisFilter(source.height, height);
    const std::size_t sourceRowBytes = std::size_t{source.width} * 4;
    std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
    std::uint8_t* out = pixels.data();
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            // Alpha-weighted colour sums, the alpha sum, plain colour sums.
            double weighted[3] = {};
            double alpha = 0.0;
            double plain[3] = {};
            double total = 0.0;
            for (std::uint32_t r = rows.first[y]; r < rows.first[y + 1]; ++r) {
                const std::uint8_t* sourceRow = source.pixels.data() + rows.taps[r].index * sourceRowBytes;
                for (std::uint32_t c = columns.first[x]; c < columns.first[x + 1]; ++c) {
                    const std::uint8_t* pixel = sourceRow + std::size_t{columns.taps[c].index} * 4;
                    const double weight = rows.taps[r].weight * columns.taps[c].weight;
                    const double alphaWeight = weight * pixel[3];
                    for (int k = 0; k < 3; ++k) {
                        weighted[k] += alphaWeight * pixel[k];
                        plain[k] += weight * pixel[k];
                    }
                    alpha += alphaWeight;
                    total += weight;
                }
            }
            for (int k = 0; k < 3; ++k) {
                out[k] = ToByte(alpha > 0.0 ? weighted[k] / alpha : plain[k] / total);
            }
            out[3] = ToByte(alpha / total);
            out += 4;
        }
    }
    result.width = width;
    result.height = height;
    result.pixels = std::move(pixels);
    return true;
}

bool HalveImage(const Image& source, Image& result) {
    const auto halved = [](std::uint32_t side) { return side == 1 ? 1 : side / 2; };
    const auto halves = [](std::uint32_t side) { return side == 1 || side % 2 == 0; };
    if (!halves(source.width) || !halves(source.height) || !IsAcceptedImageSize(source.width, source.height) ||
        !HasPixelsForItsSize(source)) {
        return false;
    }
    const std::uint32_t width = halved(source.width);
    const std::uint32_t height = halved(source.height);
    const std::size_t rowBytes = std::size_t{source.width} * 4;
    const std::size_t columnStep = source.width == 1 ? 0 : 4;
    const std::size_t rowStep = source.height == 1 ? 0 : rowBytes;
    std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
    std::uint8_t* out = pixels.data();
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = source.pixels.data() + (source.height == 1 ? 0 : 2 * y * rowBytes);
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* first = row + (source.width == 1 ? 0 : std::size_t{x} * 8);
            const std::uint8_t* covered[4] = {first, first + columnStep, first + rowStep, first + rowStep + columnStep};
            // A side of 1 repeats its pixel, which leaves every mean as it is.
            std::uint32_t weighted[3] = {};
            std::uint32_t plain[3] = {};
            std::uint32_t alpha = 0;
            for (const std::uint8_t* pixel : covered) {
                for (int k = 0; k < 3; ++k) {
                    weighted[k] += std::uint32_t{pixel[3]} * pixel[k];
                    plain[k] += pixel[k];
                }
                alpha += pixel[3];
            }
            // Rounded to nearest, halves up: as lround gives for these values.
            for (int k = 0; k < 3; ++k) {
                out[k] = static_cast<std::uint8_t>(alpha > 0 ? (weighted[k] + alpha / 2) / alpha : (plain[k] + 2) / 4);
            }
            out[3] = static_cast<std::uint8_t>((alpha + 2) / 4);
            out += 4;
        }
    }
    result.width = width;
    result.height = height;
    result.pixels = std::move(pixels);
    return true;
}

}  // namespace os
