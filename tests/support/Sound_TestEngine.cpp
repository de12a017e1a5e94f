#include "support/Sound_TestEngine.h"

#include "os/OS_Sleep.h"
#include "support/SteadyClock.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace testsupport {
namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string WaveWriterFile() {
    const char* conf = std::getenv("ALSOFT_CONF");
    std::ifstream in(conf != nullptr ? conf : "");
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && Trimmed(line.substr(0, equals)) == "file") {
            return Trimmed(line.substr(equals + 1));
        }
    }
    return {};
}

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

}  // namespace

RealTimeCoreClock::RealTimeCoreClock() : m_previous(Core::GetClockFunction()) {
    Core::SetClockFunction(&SteadyMilliseconds);
}

RealTimeCoreClock::~RealTimeCoreClock() { Core::SetClockFunction(m_previous); }

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return condition();
        }
        os::Sleep(1);
    }
    return true;
}

std::vector<std::int16_t> ReadWaveWriterOutput() {
    std::ifstream in(WaveWriterFile(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The chunks after "RIFF", size, "WAVE".
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::uint32_t size = LittleEndian32(bytes, at + 4);
        if (bytes.compare(at, 4, "data") == 0) {
            const std::size_t count = std::min<std::size_t>(size, bytes.size() - at - 8) / 2;
            std::vector<std::int16_t> samples(count);
            std::memcpy(samples.data(), bytes.data() + at + 8, count * 2);
            return samples;
        }
        at += 8 + size + (size & 1u);
    }
    return {};
}

}  // namespace testsupport
