#include "os/OS_File.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_StaticCollisionFile.h"

#include <cstdio>
#include <string>

namespace Tundra {

void Layer::ReadInformation_StaticCollision(const Core::String& path) {
    const os::FilePointer file = os::OpenFile(path, "rb");
    if (!file) {
        return;
    }
    std::string text;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file.get())) != 0;) {
        text.append(buffer, read);
        if (text.size() > StaticCollisionFile::kMaxFileBytes) {
            std::fprintf(stderr, "Static collision file %s is larger than %zu bytes: no shapes added\n", path.c_str(),
                         StaticCollisionFile::kMaxFileBytes);
            return;
        }
    }
    const StaticCollisionFile shapes = StaticCollisionFile::Parse(text);
    for (const StaticCollisionFile::Segment& segment : shapes.segments) {
        AddStaticLineSegment(segment.a, segment.b, segment.group, segment.userId);
    }
    for (const StaticCollisionFile::Circle& circle : shapes.circles) {
        AddStaticCircle(circle.center, circle.radius, circle.group, circle.userId);
    }
}

}  // namespace Tundra
