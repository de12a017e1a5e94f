#include "tundra/Tundra_CompositeBezierCurve.h"

#include "core/Core_DiskFile.h"
#include "core/Core_File.h"
#include "tundra/Tundra_PathFile.h"

#include <algorithm>
#include <cmath>

namespace Tundra {
namespace {

// Base intervals of the curve parameter, each subdivided until halving no
// longer changes its measured length by more than the tolerance (world units).
constexpr int kBaseIntervals = 200;
constexpr float kBaseWidth = 0.005f;
constexpr float kTolerance = 0.0001f;

float Clamp01(float value) { return value > 0.0f ? std::min(value, 1.0f) : 0.0f; }

void WriteFloats(Core::File& file, const std::vector<float>& values) {
    file.WriteU32(static_cast<std::uint32_t>(values.size()));
    for (const float value : values) {
        file.WriteF32(value);
    }
}

// Element by element, so that a hostile count allocates no more than the
// stream holds; a count above the limit fails the stream.
void ReadFloats(Core::File& file, std::vector<float>& values) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (count > CompositeBezierCurve::kMaxTableEntries) {
        file.SetFailed();
    }
    values.clear();
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        float value = 0.0f;
        file.ReadF32(value);
        values.push_back(value);
    }
}

bool IsUnitInterval(float value) { return value >= 0.0f && value <= 1.0f; }

}  // namespace

CompositeBezierCurve::CompositeBezierCurve(const Core::String& path) {
    Core::DiskFile file(path, Core::DiskFile::kModeRead);
    if (std::optional<std::vector<BezierSegment>> segments = PathFile::Read(file)) {
        Build(std::move(*segments));
    }
}

void CompositeBezierCurve::PushToLua(lua_State* state) const { PushToLuaAs(state, "CompositeBezierCurve"); }

void CompositeBezierCurve::Clear() {
    m_segments.clear();
    m_keys.clear();
    m_values.clear();
    m_span = 0.0f;
    m_length = 0.0f;
}

bool CompositeBezierCurve::Build(std::vector<BezierSegment> segments) {
    m_segments = std::move(segments);
    for (BezierSegment& segment : m_segments) {
        segment.Sample();
    }
    m_span = 1.0f / static_cast<float>(m_segments.size());
    if (!BuildArcLengthTable()) {
        Clear();
        return false;
    }
    return true;
}

bool CompositeBezierCurve::BuildArcLengthTable() {
    struct Interval {
        float a, b;
    };
    std::vector<Interval> pending;
    float cumulative = 0.0f;
    for (int k = 0; k < kBaseIntervals; ++k) {
        const float start = static_cast<float>(k) * kBaseWidth;
        // The chunk's first sample carries on the previous chunk's length.
        m_values.push_back(start);
        m_keys.push_back(cumulative);
        Vector2D last = GetPosition(start);
        // Left halves first: the back of the vector is the front of the work.
        pending.assign(1, {start, start + kBaseWidth});
        while (!pending.empty()) {
            const Interval interval = pending.back();
            pending.pop_back();
            const float middle = (interval.a + interval.b) * 0.5f;
            const Vector2D pa = GetPosition(interval.a);
            const Vector2D pm = GetPosition(middle);
            const Vector2D pb = GetPosition(interval.b);
            const float chord = (pb - pa).Length();
            const float halves = (pm - pa).Length() + (pb - pm).Length();
            if (std::fabs(halves - chord) > kTolerance) {
                pending.push_back({middle, interval.b});
                pending.push_back({interval.a, middle});
                continue;
            }
            cumulative += (pm - last).Length();
            m_values.push_back(middle);
            m_keys.push_back(cumulative);
            cumulative += (pb - pm).Length();
            m_values.push_back(interval.b);
            m_keys.push_back(cumulative);
            last = pb;
            if (m_keys.size() >= kMaxTableEntries) {
                return false;
            }
        }
        // The chunk's last sample repeats the next chunk's first.
        m_values.pop_back();
        m_keys.pop_back();
    }
    m_length = cumulative;
    if (!(m_length > 0.0f) || !std::isfinite(m_length)) {
        return false;
    }
    for (float& key : m_keys) {
        key /= m_length;
    }
    m_keys.push_back(1.0f);
    m_values.push_back(1.0f);
    return true;
}

CompositeBezierCurve::Place CompositeBezierCurve::Locate(float t) const {
    const auto count = static_cast<std::uint32_t>(m_segments.size());
    t = Clamp01(t);
    if (count == 0 || t == 0.0f) {
        return {};
    }
    if (t == 1.0f) {
        return {count - 1, 1.0f};
    }
    // The index comes from the same division as the remainder: a quotient
    // rounded up to the next integer would pair a segment with the
    // remainder of the one before it.
    const float rest = std::fmod(t, m_span);
    const float index = std::round((t - rest) / m_span);
    if (index >= static_cast<float>(count)) {
        return {count - 1, 1.0f};
    }
    return {static_cast<std::uint32_t>(index), rest * static_cast<float>(count)};
}

Vector2D CompositeBezierCurve::GetPosition(float t) const {
    if (m_segments.empty()) {
        return {};
    }
    const Place place = Locate(t);
    return BezierPoint(m_segments[place.segment], place.local);
}

Vector2D CompositeBezierCurve::GetDirection(float t) const {
    if (m_segments.empty()) {
        return {};
    }
    const Place place = Locate(t);
    return BezierTangent(m_segments[place.segment], place.local);
}

float CompositeBezierCurve::LookupSampledValue(float s) const {
    if (m_keys.size() < 2) {
        return 0.0f;
    }
    s = Clamp01(s);
    std::int64_t low = 0;
    std::int64_t high = static_cast<std::int64_t>(m_keys.size()) - 1;
    std::int64_t middle = 0;
    while (low <= high) {
        middle = (low + high) / 2;
        if (m_keys[middle] < s) {
            low = middle + 1;
        } else if (m_keys[middle] > s) {
            high = middle - 1;
        } else {
            return m_values[middle];
        }
    }
    const std::int64_t below = s >= m_keys[middle] ? middle : middle - 1;
    const auto j = static_cast<std::size_t>(std::clamp<std::int64_t>(below, 0, std::ssize(m_keys) - 2));
    const float span = m_keys[j + 1] - m_keys[j];
    if (!(span > 0.0f)) {
        return m_values[j];
    }
    const float f = std::clamp((s - m_keys[j]) / span, 0.0f, 1.0f);
    return m_values[j] + f * (m_values[j + 1] - m_values[j]);
}

void CompositeBezierCurve::Save(Core::File& file) const {
    file.WriteU32(static_cast<std::uint32_t>(m_segments.size()));
    for (const BezierSegment& segment : m_segments) {
        file << segment.p0 << segment.p1 << segment.p2 << segment.p3;
        WriteFloats(file, segment.chordTable);
        WriteFloats(file, segment.sampleParameters);
    }
    WriteFloats(file, m_keys);
    WriteFloats(file, m_values);
    file.WriteF32(m_span);
    file.WriteF32(m_length);
}

void CompositeBezierCurve::Load(Core::File& file) {
    Clear();
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (count > PathFile::kMaxSegments) {
        file.SetFailed();
    }
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        BezierSegment& segment = m_segments.emplace_back();
        file >> segment.p0 >> segment.p1 >> segment.p2 >> segment.p3;
        ReadFloats(file, segment.chordTable);
        ReadFloats(file, segment.sampleParameters);
    }
    ReadFloats(file, m_keys);
    ReadFloats(file, m_values);
    file.ReadF32(m_span);
    file.ReadF32(m_length);
    if (file.HasFailed() || !IsConsistent()) {
        Clear();
    }
}

bool CompositeBezierCurve::IsConsistent() const {
    if (m_segments.empty() || m_keys.size() != m_values.size() || m_keys.size() < 2 ||
        m_span != 1.0f / static_cast<float>(m_segments.size()) || !(m_length > 0.0f) || !std::isfinite(m_length)) {
        return false;
    }
    if (!std::all_of(m_segments.begin(), m_segments.end(), PathFile::HasValidPoints) ||
        !std::all_of(m_values.begin(), m_values.end(), IsUnitInterval) ||
        !std::all_of(m_keys.begin(), m_keys.end(), IsUnitInterval)) {
        return false;
    }
    return std::is_sorted(m_keys.begin(), m_keys.end());
}

}  // namespace Tundra

TUN_DEFINE_UNCLONABLE_CLASS(Tundra::CompositeBezierCurve)
