#include "Fuzz_ImageFiles.h"

#include "os/OS_Image.h"
#include "renderer/Renderer_TextureLevels.h"

#include <cstdlib>

// Image files decoded and made into mipmapped texture levels, as a texture
// load does. Input: one byte choosing the file type (its value modulo 3: PNG,
// BMP, JPG; with the top bit set a PNG's checksums are made right), then
// the file. Anything decoded must be a whole image, and every level a whole
// surface; nothing may hang (a cut-short PNG once did).
namespace {

// Images this large decode through the same code as small ones, only
// slower; the size checks in front of them run for every input.
constexpr std::uint64_t kLargestDecodedPixels = std::uint64_t{1} << 16;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t selector = input.Byte();
    const auto type = static_cast<os::ImageFileType>(selector % 3);
    fuzz::Bytes file = input.Rest();
    if (type == os::ImageFileType::Png && (selector & 0x80) != 0) {
        fuzz::FixPngChecksums(file);
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (os::ReadImageHeaderSize(type, file.data(), file.size(), width, height) &&
        os::IsAcceptedImageSize(width, height) && std::uint64_t{width} * height > kLargestDecodedPixels) {
        return 0;
    }
    os::Image image;
    if (!os::DecodeImageBytes(type, file.data(), file.size(), "fuzz input", image)) {
        return 0;
    }
    Require(image.width == width && image.height == height && os::HasPixelsForItsSize(image));
    Renderer::TextureLevels levels;
    Require(Renderer::MakeTextureLevels(image, true, false, 64, levels));
    for (const Core::RefPtr<Renderer::Surface>& level : levels.levels) {
        Require(level && level->GetWidth() >= 1 && level->GetHeight() >= 1);
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    fuzz::AddImageSeeds(seeds);
}
