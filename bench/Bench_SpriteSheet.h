#pragma once

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The 1024 x 1024 PNG sprite sheet the image and texture benchmarks load.
namespace bench {

constexpr int kSide = 1024;

// A sheet of 64 x 64 cells, each an opaque disc of its own colour on a
// transparent background, written once per run to a temporary folder.
class SpriteSheetFile {
public:
    SpriteSheetFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tundra-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_directory = pattern;
        m_path = m_directory + "/Sheet.png";
        SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_RGBA32);
        for (int y = 0; y < kSide; ++y) {
            auto* row = static_cast<std::uint8_t*>(sheet->pixels) + y * sheet->pitch;
            for (int x = 0; x < kSide; ++x) {
                const int dx = x % 64 - 32;
                const int dy = y % 64 - 32;
                const bool inside = dx * dx + dy * dy < 28 * 28;
                row[x * 4 + 0] = static_cast<std::uint8_t>(x / 64 * 16 + dx);
                row[x * 4 + 1] = static_cast<std::uint8_t>(y / 64 * 16 + dy);
                row[x * 4 + 2] = static_cast<std::uint8_t>((x ^ y) / 8);
                row[x * 4 + 3] = inside ? 255 : 0;
            }
        }
        if (IMG_SavePNG(sheet, m_path.c_str()) != 0) {
            std::fprintf(stderr, "cannot write %s: %s\n", m_path.c_str(), SDL_GetError());
            std::exit(1);
        }
        SDL_FreeSurface(sheet);
    }
    ~SpriteSheetFile() {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_directory;
    std::string m_path;
};

inline const SpriteSheetFile& Sheet() {
    static const SpriteSheetFile sheet;
    return sheet;
}

}  // namespace bench
