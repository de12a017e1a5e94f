#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The game's Bezier paths (the title sun's rise and set, the flying
// enemies' approaches), in world units of a 1024 x 768 view with y up.
namespace AssetGen::PathFiles {

struct Point {
    float x;
    float y;
};

// P0, P1, P2, P3.
using Segment = std::array<Point, 4>;

struct Path {
    std::string_view name;  // the file's name under Paths/, no extension
    std::span<const Segment> segments;
};

std::span<const Path> Paths();
const Path* Find(std::string_view name);

// The path file: u32 segment count, then each segment's eight f32
// coordinates (P0.x, P0.y, ... P3.y), little-endian, nothing else.
std::vector<std::uint8_t> Encode(std::span<const Segment> segments);

// Writes the path named by the file name of `path`.
bool Write(const std::string& path, std::uint64_t seed, std::string& error);

}  // namespace AssetGen::PathFiles
