#include "Fuzz_Harness.h"

#include "tundra/Tundra_StaticCollisionFile.h"

#include <cstdlib>
#include <string>

// Static-collision files are text the asset generator writes: any bytes must
// parse, quickly, into no more shapes than they hold complete records.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Tundra::StaticCollisionFile file = Tundra::StaticCollisionFile::Parse(text);
    // The smallest record, a circle "0,0,0,0,0", takes 9 bytes.
    if ((file.segments.size() + file.circles.size()) * 9 > size) {
        std::abort();
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto seed = [&seeds](std::string_view name, std::string_view text) {
        seeds.Add(name, fuzz::Bytes(text.begin(), text.end()));
    };
    seed("example", "Segments 1 0,0,100,0,0,7 Circles 1 50,50,10,0,8");
    seed("lines", "Segments\r\n2\r\n0;0;1;1;3.7;1\r\n-5 , 2e1 , 3 , 4 , -1 , 2\r\nCircles\r\n1\r\n1;2;3;2.9;4\r\n");
    seed("empty", "S 0 C 0");
}
