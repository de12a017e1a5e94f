#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_CompositeBezierCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

// Path files are assets and curves come back from save games: any bytes,
// read as a path file (even first byte) or as a curve's object stream (odd),
// must give a curve that a follower can walk, or an empty one, quickly and
// without a fault; a built curve's stream reads back to the same bytes.
namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "path curve: %s\n", what);
        std::abort();
    }
}

const std::string& ScratchPath() {
    static const std::string path = fuzz::RunFolder("tundra-fuzz-path") + "/curve.path";
    return path;
}

// Plainly, without the saving file's sync and rename: one file per input.
void WriteScratch(const std::uint8_t* bytes, std::size_t size) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    Check(file != nullptr, "scratch file");
    if (size > 0) {
        std::fwrite(bytes, 1, size, file);
    }
    std::fclose(file);
}

fuzz::Bytes Saved(const Tundra::CompositeBezierCurve& curve) {
    Core::MemoryFile file;
    file << &curve;
    return fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize());
}

// What a follower does each frame, with the invariants of a built curve.
void Walk(const Tundra::CompositeBezierCurve& curve) {
    if (curve.IsEmpty()) {
        Check(curve.GetLength() == 0.0f && curve.LookupSampledValue(0.5f) == 0.0f, "an empty curve moves");
        return;
    }
    const std::vector<float>& keys = curve.GetArcLengthKeys();
    Check(curve.GetLength() > 0.0f && std::isfinite(curve.GetLength()), "length");
    Check(keys.size() == curve.GetArcLengthValues().size() && keys.size() <= curve.kMaxTableEntries, "table size");
    Check(std::is_sorted(keys.begin(), keys.end()), "keys out of order");
    for (float s = -0.25f; s <= 1.25f; s += 0.0625f) {
        const float t = curve.LookupSampledValue(s);
        Check(t >= 0.0f && t <= 1.0f, "lookup outside [0, 1]");
        const Vector2D position = curve.GetPosition(t);
        const Vector2D direction = curve.GetDirection(t);
        Check(std::isfinite(position.x + position.y + direction.x + direction.y), "not finite");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t kind = input.Byte();
    const fuzz::Bytes rest = input.Rest();
    Core::RefPtr<Tundra::CompositeBezierCurve> curve;
    if (kind % 2 == 0) {
        WriteScratch(rest.data(), rest.size());
        curve = TUN_NEW(Tundra::CompositeBezierCurve, Core::String(ScratchPath()));
    } else {
        Core::MemoryFile file(rest.data(), static_cast<std::uint32_t>(rest.size()));
        curve = file.ReadObjectAs<Tundra::CompositeBezierCurve>(Core::File::Reference::Owning);
    }
    if (curve) {
        Walk(*curve);
        const fuzz::Bytes bytes = Saved(*curve);
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const Core::RefPtr<Tundra::CompositeBezierCurve> back =
            file.ReadObjectAs<Tundra::CompositeBezierCurve>(Core::File::Reference::Owning);
        Check(back != nullptr && Saved(*back) == bytes, "stream round trip");
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto path = [](std::uint32_t count, const std::vector<float>& coordinates) {
        Core::MemoryFile file;
        file.WriteU8(0);
        file.WriteU32(count);
        for (const float value : coordinates) {
            file.WriteF32(value);
        }
        return fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize());
    };
    const std::vector<float> straight = {0.0f, 0.0f, 1.0f, 0.0f, 2.0f, 0.0f, 3.0f, 0.0f};
    const std::vector<float> two = {-1000.0f, -500.0f, -700.0f, 400.0f, -200.0f, 650.0f, 0.0f,    700.0f,
                                    0.0f,     700.0f,  300.0f,  780.0f, 800.0f,  300.0f, 1050.0f, -450.0f};
    seeds.Add("straight", path(1, straight));
    seeds.Add("two_segments", path(2, two));
    seeds.Add("count_too_large", path(0xFFFFFFFFu, straight));
    for (const auto& [name, coordinates] : {std::pair("straight_stream", straight), std::pair("two_stream", two)}) {
        const fuzz::Bytes file = path(static_cast<std::uint32_t>(coordinates.size() / 8), coordinates);
        WriteScratch(file.data() + 1, file.size() - 1);
        const Core::RefPtr<Tundra::CompositeBezierCurve> curve =
            TUN_NEW(Tundra::CompositeBezierCurve, Core::String(ScratchPath()));
        fuzz::Bytes stream = Saved(*curve);
        stream.insert(stream.begin(), 1);
        seeds.Add(name, stream);
    }
}
