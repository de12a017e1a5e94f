#include "os/OS_PointerSample.h"

namespace os::detail {
namespace {

// The pump and the reads run on the main thread.
std::optional<x11::PointerReading> g_sample;

}  // namespace

std::optional<x11::PointerReading> SamplePointer() {
    g_sample = x11::ReadPointer();
    return g_sample;
}

std::optional<Point> SampledPointerPosition() {
    if (!g_sample) {
        SamplePointer();
    }
    return g_sample ? std::optional<Point>(g_sample->position) : std::nullopt;
}

void ForgetPointerSample() { g_sample.reset(); }

}  // namespace os::detail
