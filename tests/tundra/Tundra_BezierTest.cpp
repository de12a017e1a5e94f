#include "Tundra_HostileRead.h"

#include "core/Core_Startup.h"
#include "os/OS_ByteOrder.h"
#include "support/TempDirectory.h"
#include "tundra/Tundra_CompositeBezierCurve.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace tundratest;
using Tundra::CompositeBezierCurve;

namespace {

using Curve = Core::RefPtr<CompositeBezierCurve>;

// A path file: the count, then the coordinates as they come.
std::string PathBytes(std::uint32_t count, const std::vector<float>& coordinates) {
    std::string bytes(4 + 4 * coordinates.size(), '\0');
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    os::StoreU32LE(data, count);
    for (std::size_t i = 0; i < coordinates.size(); ++i) {
        os::StoreU32LE(data + 4 + 4 * i, std::bit_cast<std::uint32_t>(coordinates[i]));
    }
    return bytes;
}

std::string PathBytes(const std::vector<float>& coordinates) {
    return PathBytes(static_cast<std::uint32_t>(coordinates.size() / 8), coordinates);
}

class BezierTest : public testing::Test {
protected:
    void SetUp() override { CoreStartup(m_core); }
    void TearDown() override { CoreShutdown(m_core); }

    Curve Load(const std::string& bytes) const {
        return TUN_NEW(CompositeBezierCurve, Core::String(m_dir.WriteFile("path", bytes)));
    }

    testsupport::TempDirectory m_dir;

private:
    std::uint8_t m_core = 0;
};

void ExpectEmpty(const CompositeBezierCurve& curve) {
    EXPECT_TRUE(curve.IsEmpty());
    EXPECT_EQ(curve.GetLength(), 0.0f);
    EXPECT_EQ(curve.GetPosition(0.5f), Vector2D());
    EXPECT_EQ(curve.GetDirection(0.5f), Vector2D());
    EXPECT_EQ(curve.LookupSampledValue(0.5f), 0.0f);
}

float Distance(const Vector2D& a, const Vector2D& b) { return (b - a).Length(); }

}  // namespace

TEST_F(BezierTest, TheStraightExampleMeasuresThreeAndItsTablesSpanTheWholeCurve) {
    const char example[] = "\x01\0\0\0" "\0\0\0\0\0\0\0\0" "\0\0\x80\x3F\0\0\0\0" "\0\0\0\x40\0\0\0\0" "\0\0\x40\x40\0\0\0\0";
    const Curve curve = Load(std::string(example, 36));
    ASSERT_FALSE(curve->IsEmpty());
    EXPECT_NEAR(curve->GetLength(), 3.0f, 1e-4f);
    EXPECT_EQ(curve->GetSegmentSpan(), 1.0f);
    EXPECT_NEAR(curve->LookupSampledValue(0.5f), 0.5f, 1e-3f);
    EXPECT_EQ(curve->LookupSampledValue(0.0f), 0.0f);
    EXPECT_EQ(curve->LookupSampledValue(1.0f), 1.0f);
    EXPECT_EQ(curve->LookupSampledValue(-0.5f), 0.0f);
    EXPECT_EQ(curve->LookupSampledValue(1.5f), 1.0f);
    EXPECT_EQ(curve->GetPosition(0.5f), Tundra::BezierPoint(curve->GetSegments()[0], 0.5f));
    EXPECT_EQ(curve->GetPosition(2.0f), Vector2D(3.0f, 0.0f));
    EXPECT_EQ(curve->GetDirection(0.0f), Vector2D(3.0f, 0.0f));
    EXPECT_GE(curve->GetArcLengthKeys().size(), 401u);
    EXPECT_EQ(curve->GetArcLengthKeys().size(), curve->GetArcLengthValues().size());
    EXPECT_TRUE(std::is_sorted(curve->GetArcLengthKeys().begin(), curve->GetArcLengthKeys().end()));
    const Tundra::BezierSegment& segment = curve->GetSegments()[0];
    EXPECT_EQ(segment.chordTable.size(), 20u);
    EXPECT_EQ(segment.chordTable.back(), 1.0f);
    EXPECT_EQ(segment.sampleParameters.size(), 20u);
}

TEST_F(BezierTest, EachSegmentCoversAnEqualShareOfTAndBoundariesStayContinuous) {
    std::vector<float> chain;
    for (int k = 0; k < 25; ++k) {
        const auto x = static_cast<float>(3 * k);
        chain.insert(chain.end(), {x, 0.0f, x + 1.0f, 1.0f, x + 2.0f, 1.0f, x + 3.0f, 0.0f});
    }
    const Curve two = Load(PathBytes(std::vector<float>(chain.begin(), chain.begin() + 16)));
    EXPECT_EQ(two->Locate(0.5f).segment, 1u);
    EXPECT_EQ(two->Locate(0.5f).local, 0.0f);
    EXPECT_EQ(two->Locate(1.0f).segment, 1u);
    EXPECT_EQ(two->Locate(1.0f).local, 1.0f);

    const Curve many = Load(PathBytes(chain));
    EXPECT_EQ(many->Locate(0.99999994f).segment, 24u);
    // Just below each boundary the curve is still at the end of the earlier segment.
    for (int k = 1; k <= 25; ++k) {
        const float boundary = k == 25 ? 1.0f : static_cast<float>(k) * many->GetSegmentSpan();
        const float below = std::nextafter(boundary, 0.0f);
        EXPECT_LT(Distance(many->GetPosition(below), {static_cast<float>(3 * k), 0.0f}), 1e-3f) << k;
    }
}

TEST_F(BezierTest, AConstantRateFollowerMovesEqualDistancesWhereTheParameterCrawls) {
    const Curve curve = Load(PathBytes({0.0f, 0.0f, 0.01f, 0.0f, 0.02f, 0.01f, 100.0f, 0.0f}));
    ASSERT_FALSE(curve->IsEmpty());
    const int steps = 100;
    const float expected = curve->GetLength() / steps;
    Vector2D previous = curve->GetPosition(curve->LookupSampledValue(0.0f));
    for (int i = 1; i <= steps; ++i) {
        const Vector2D position = curve->GetPosition(curve->LookupSampledValue(static_cast<float>(i) / steps));
        EXPECT_NEAR(Distance(previous, position), expected, expected * 0.01f) << i;
        previous = position;
    }
}

TEST_F(BezierTest, RefusedPathFilesLeaveAnEmptyCurve) {
    const std::vector<float> line = {0.0f, 0.0f, 1.0f, 0.0f, 2.0f, 0.0f, 3.0f, 0.0f};
    const std::string good = PathBytes(line);
    std::vector<float> curl(8, 1e6f);
    curl[0] = curl[1] = curl[3] = curl[4] = -1e6f;
    const auto with = [&line](std::size_t i, float value) {
        std::vector<float> changed = line;
        changed[i] = value;
        return PathBytes(changed);
    };
    const std::string refused[] = {
        PathBytes(0, {}),
        good + '\0',
        good.substr(0, good.size() - 1),
        PathBytes(std::vector<float>(8, 5.0f)),
        with(3, std::numeric_limits<float>::quiet_NaN()),
        with(6, std::numeric_limits<float>::infinity()),
        with(2, 1e30f),
        PathBytes(0xFFFFFFFFu, line),
        PathBytes(4097, line),
        "",
        // Within the bounds, but too large for f32 to measure: the table would not stop growing.
        PathBytes(curl),
    };
    for (const std::string& bytes : refused) {
        ExpectEmpty(*Load(bytes));
    }
    ExpectEmpty(*Curve(TUN_NEW(CompositeBezierCurve, Core::String(m_dir.Path() + "/missing"))));

    std::mt19937 draw(130);
    for (int i = 0; i < 300; ++i) {
        std::string bytes = i % 2 ? good : PathBytes(draw() % 3 + 1, std::vector<float>(8 * (draw() % 3 + 1), 7.0f));
        bytes.resize(draw() % 80);
        for (char& byte : bytes) {
            byte = draw() % 4 ? byte : static_cast<char>(draw());
        }
        const Curve curve = Load(bytes);
        EXPECT_TRUE(curve->IsEmpty() || (curve->GetLength() > 0.0f && std::isfinite(curve->GetLength())));
    }
}

TEST_F(BezierTest, TheObjectStreamRoundTripsAndRefusesWhatCouldNotHaveBeenBuilt) {
    const Curve curve = Load(PathBytes({0.0f, 0.0f, 10.0f, 20.0f, 30.0f, 20.0f, 40.0f, 0.0f,  //
                                        40.0f, 0.0f, 50.0f, -20.0f, 70.0f, -20.0f, 80.0f, 0.0f}));
    const Bytes bytes = Saved(curve.Get());
    const auto read = [](const Bytes& data) {
        Core::MemoryFile file(data.data(), static_cast<std::uint32_t>(data.size()));
        return Curve(file.ReadObjectAs<CompositeBezierCurve>(Core::File::Reference::Owning));
    };
    const Curve back = read(bytes);
    ASSERT_TRUE(back != nullptr);
    EXPECT_EQ(Saved(back.Get()), bytes);
    EXPECT_EQ(back->GetPosition(back->LookupSampledValue(0.3f)), curve->GetPosition(curve->LookupSampledValue(0.3f)));

    // The last two keys swapped: no longer ascending. The span and the length are the stream's last eight bytes.
    Bytes swapped = bytes;
    const std::size_t lastKey = bytes.size() - 8 - 4 - 4 * curve->GetArcLengthValues().size() - 4;
    std::swap_ranges(swapped.begin() + std::ptrdiff_t(lastKey - 4), swapped.begin() + std::ptrdiff_t(lastKey),
                     swapped.begin() + std::ptrdiff_t(lastKey));
    EXPECT_TRUE(read(swapped)->IsEmpty());
    ReadHostile<CompositeBezierCurve>(bytes, 3000, [](const CompositeBezierCurve& hostile) {
        const float length = hostile.GetLength();
        EXPECT_TRUE(hostile.IsEmpty() || (length > 0.0f && std::isfinite(length)));
        EXPECT_TRUE(std::isfinite(hostile.LookupSampledValue(0.7f)));
    });
}
