#include "collision/Collision_CollisionActor.h"
#include "core/Core_TrackedMemory.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <ostream>
#include <string_view>
#include <vector>

namespace mygametest {
namespace {

// Each actor's row as the authored table gives it: its animation count,
// then per animation ("/") its frame count and the frames' rectangle
// [top, left, right, bottom] with their circles and segments, by frame
// ranges ("fr a-b") where the frames differ. Circles are mirrored unless
// marked; segments always are.
struct ActorRow {
    int animations;
    const char* frames;
};

const ActorRow kRows[kCollisionActorCount] = {
    {1, "1: [75, -258, 258, -75]"},
    {1, "1: [90, -400, 400, -90]"},
    {1, "2: [159, -264, 264, -159]"},
    {1, "4: [38, -21, 21, -38]"},
    {4, "frames 1, 1, 1, 1; all [38, -21, 21, -38]"},
    {1, "1: [14, -53, 53, -14]"},
    {1, "4: [32, -32, 32, -32] circle centre (0, 0) radius 32 id 0"},
    {1, "1: [10, -10, 10, -10] circle centre (0, 0) radius 10 id 16"},
    {1, "1: [0, 0, 1, -1]"},
    {1, "1: [4, 0, 1, -5]"},
    {1, "1: [17, -17, 17, -17]"},
    {1, "1: [36, -100, 100, -36]"},
    {1, "1: [36, -100, 100, -36]"},
    {5, "3: [34, -76, 76, -34] / 3: [34, -76, 76, -34] / 3: [34, -76, 76, -34] / 3: [34, -76, 76, -34] / "
         "3: [33, -75, 75, -33]"},
    {4, "frames 3, 3, 3, 3; all [34, -44, 45, -34]"},
    {3, "3: [30, -114, 114, -30] / 3: [29, -29, 29, -29] / 3: [50, -50, 51, -51]"},
    {1, "6: [24, -89, 89, -24]"},
    {1, "1: [22, -62, 62, -22]"},
    {1, "9: fr 0-1 [25, -25, 25, -25] segment (-24, 18) to (24, 18) id 22, "
         "fr 2 [25, -25, 25, -25] segment (-22, 18) to (24, 18) id 22; segment (-22, -24) to (-22, 18) id 0, "
         "fr 3-4 [25, -25, 25, -25] segment (-24, 18) to (24, 18) id 22, "
         "fr 5 [25, -25, 25, -25] segment (-22, 18) to (24, 18) id 22; segment (-22, -24) to (-22, 18) id 0, "
         "fr 6-7 [25, -25, 25, -25] segment (-24, 18) to (24, 18) id 22, "
         "fr 8 [25, -25, 25, -25] segment (-22, 18) to (24, 18) id 22; segment (-22, -24) to (-22, 18) id 0"},
    {1, "1: [287, -232, 233, -288]"},
    {1, "1: [0, 0, 1, -1]"},
    {1, "1: [13, -14, 14, -13]"},
    {1, "2: [13, -14, 14, -13]"},
    {3, "frames 1, 1, 1; all [384, 0, 1, -384]"},
    {1, "1: [128, -128, 128, -128]"},
    {3, "4: fr 0 [30, -37, 37, -31], fr 1 [30, -37, 37, -30], fr 2-3 [30, -37, 37, -31] / "
         "4: fr 0-1 [30, -37, 37, -30], fr 2 [30, -37, 37, -31], fr 3 [30, -37, 37, -30] / "
         "1: [30, -37, 37, -30]"},
    {1, "3: [77, -58, 58, -77]"},
    {1, "3: [77, -58, 58, -77]"},
    {1, "3: [77, -58, 58, -77]"},
    {1, "1: [87, -130, 130, -87]"},
    {1, "15: [25, -25, 25, -25]"},
    {1, "1: [21, -25, 25, -21]"},
    {1, "1: [48, -48, 48, -48] circle centre (0, -14) radius 30 id 0 unmirrored"},
    {1, "1: [13, -10, 10, -13]"},
    {4, "4: [10, -26, 26, -10] / 4: [11, -26, 26, -11] / 2: fr 0 [11, -26, 26, -11], "
         "fr 1 [11, -26, 27, -11] / 1: [11, -26, 26, -11]"},
    {6, "12: [12, -12, 12, -12] circle centre (0, 0) radius 9 id 16 / 6: fr 0 [12, -12, 12, -12], "
         "fr 1-5 [12, -12, 13, -13] / 1: [10, -10, 10, -10] circle centre (0, 0) radius 10 id 16 / "
         "6: [40, -600, 600, -40] / 1: [8, -32, 32, -8] circle centre (24, 0) radius 5 id 16 / "
         "6: fr 0 [12, -12, 12, -12], fr 1-5 [12, -12, 13, -13]"},
    {1, "2: [28, -78, 78, -28]"},
    {1, "1: [3, -112, 112, -3]"},
    {1, "1: [13, -124, 124, -13]"},
    {1, "1: [13, -13, 13, -13]"},
    {1, "2: [26, -206, 206, -26]"},
    {1, "1: [82, -282, 282, -82]"},
    {1, "1: [8, -16, 16, -8]"},
    {1, "3: [30, -114, 114, -30]"},
    {3, "9: [48, -48, 48, -48] / 9: [48, -48, 48, -48] / 9: [48, -56, 56, -48]"},
    {1, "4: [59, -115, 115, -59]"},
    {3, "7: fr 0 [48, -48, 48, -48] circle centre (6, -19) radius 26 id 0, "
         "fr 1-6 [48, -48, 48, -48] circle centre (6, -19) radius 29 id 0 / 7: [48, -48, 48, -48] / "
         "8: [48, -60, 60, -48]"},
    {3, "8: fr 0-2 [47, -47, 47, -47] circle centre (0, 0) radius 24 id 22, fr 3-7 [47, -47, 47, -47] / "
         "7: fr 0-2 [47, -47, 47, -47] circle centre (0, 0) radius 24 id 0, fr 3-6 [47, -47, 47, -47] / "
         "7: fr 0-2 [47, -47, 47, -47] circle centre (0, 0) radius 26 id 0, fr 3-6 [47, -47, 47, -47]"},
    {1, "3: [128, -256, 256, -128]"},
    {1, "1: [37, -78, 78, -37]"},
    {1, "1: [15, -68, 68, -15]"},
    {3, "1: [48, -48, 48, -48] circle centre (0, -14) radius 30 id 0 unmirrored / "
         "2: [48, -48, 48, -48] circle centre (0, -14) radius 30 id 0 / "
         "17: [96, -48, 48, -96] circle centre (0, -12) radius 30 id 0"},
    {6, "3: [48, -48, 48, -48] circle centre (0, -20) radius 24 id 0 / "
         "7: fr 0 [48, -48, 48, -48] circle centre (6, -19) radius 26 id 0, "
         "fr 1-6 [48, -48, 48, -48] circle centre (6, -19) radius 29 id 0 / "
         "3: [48, -48, 48, -48] circle centre (0, -19) radius 26 id 0 / 7: [48, -48, 48, -48] / "
         "3: [48, -60, 60, -48] circle centre (0, -15) radius 30 id 0 / 8: [48, -60, 60, -48]"},
    {6, "4: [48, -48, 48, -48] circle centre (0, -18) radius 16 id 0 / 9: [48, -48, 48, -48] / "
         "4: [48, -48, 48, -48] circle centre (0, -18) radius 16 id 0 / 9: [48, -48, 48, -48] / "
         "4: [48, -56, 56, -48] circle centre (0, -12) radius 23 id 0 / 9: [48, -56, 56, -48]"},
    {6, "5: fr 0 [24, -24, 24, -24] circle centre (0, 0) radius 12 id 0, fr 1-4 [24, -24, 24, -24] / "
         "5: fr 0 [24, -24, 24, -24] circle centre (-2, 0) radius 8 id 0, fr 1-4 [24, -24, 24, -24] / "
         "5: fr 0 [24, -24, 24, -24] circle centre (0, 0) radius 11 id 12, fr 1-4 [24, -24, 24, -24] / "
         "5: fr 0 [24, -24, 24, -24] circle centre (-2, 0) radius 8 id 0, fr 1-4 [24, -24, 24, -24] / "
         "5: fr 0 [24, -24, 24, -24] circle centre (0, 0) radius 12 id 0, fr 1-4 [24, -24, 24, -24] / "
         "5: fr 0 [24, -24, 24, -24] circle centre (-2, 0) radius 8 id 0, fr 1-4 [24, -24, 24, -24]"},
    {1, "2: [4, -25, 25, -4]"},
    {2, "2: fr 0 [61, -61, 61, -61] circle centre (-4, -2) radius 41 id 0, fr 1 [61, -61, 61, -61] / "
         "6: [61, -61, 61, -61]"},
    {2, "2: [165, -37, 37, -165] circle centre (0, -126) radius 37 id 0 / 6: fr 0 [165, -37, 37, -165], "
         "fr 1-3 [165, -37, 38, -165], fr 4-5 [165, -37, 37, -165]"},
    {2, "1: [210, -305, 305, -210] circle centre (-24, -42) radius 89 id 0 / 6: [210, -305, 305, -210]"},
    {3, "2: fr 0 [210, -150, 150, -210] circle centre (4, 54) radius 81 id 0; circle centre (0, -89) radius 84 id 0, "
         "fr 1 [210, -150, 150, -210] circle centre (4, 44) radius 81 id 0; circle centre (0, -89) radius 84 id 0 / "
         "3: [210, -150, 150, -210] circle centre (4, 54) radius 81 id 0; circle centre (0, -89) radius 84 id 0 / "
         "9: [210, -150, 150, -210]"},
    {2, "2: [210, -160, 160, -210] circle centre (-35, 28) radius 86 id 0; circle centre (-13, -115) radius 87 id 0 / "
         "12: [210, -160, 160, -210]"},
    {1, "4: [84, -60, 60, -84]"},
    {2, "2: fr 0 [61, -61, 61, -61] circle centre (0, 0) radius 46 id 0, fr 1 [61, -61, 61, -61] / "
         "6: [61, -61, 61, -61]"},
    {3, "frames 4, 4, 4; all [36, -64, 64, -36]"},
    {6, "1: [45, -28, 28, -45] / 5: fr 0 [52, -52, 52, -52] circle centre (1, 0) radius 33 id 0, "
         "fr 1-2 [52, -52, 52, -52], fr 3-4 [52, -52, 53, -53] / 10: [40, -450, 450, -40] / "
         "5: fr 0 [52, -52, 52, -52], fr 1-3 [52, -52, 52, -52] circle centre (0, -1) radius 35 id 0, "
         "fr 4 [52, -52, 52, -52] / 2: fr 0 [61, -61, 61, -61] circle centre (0, 0) radius 46 id 0, "
         "fr 1 [61, -61, 61, -61] / 2: fr 0 [61, -61, 61, -61] circle centre (-4, -2) radius 41 id 0, "
         "fr 1 [61, -61, 61, -61]"},
};

// One flip copy of a frame: the rectangle, then (x, y, radius, id) per
// circle and (x1, y1, x2, y2, id) per segment.
struct FrameCopy {
    Collision2D::TunRect rectangle;
    std::vector<std::array<float, 4>> circles;
    std::vector<std::array<float, 5>> segments;
    friend bool operator==(const FrameCopy&, const FrameCopy&) = default;
};

void PrintTo(const FrameCopy& copy, std::ostream* out) {
    const Collision2D::TunRect& r = copy.rectangle;
    *out << "[" << r.top << ", " << r.left << ", " << r.right << ", " << r.bottom << "]";
    for (const auto& c : copy.circles) {
        *out << " circle (" << c[0] << ", " << c[1] << ") r " << c[2] << " id " << c[3];
    }
    for (const auto& s : copy.segments) {
        *out << " segment (" << s[0] << ", " << s[1] << ") to (" << s[2] << ", " << s[3] << ") id " << s[4];
    }
}

// A frame of a row: the unflipped copy, and which circles are mirrored.
struct RowFrame {
    FrameCopy plain;
    std::vector<bool> mirroredCircles;
};
using RowActor = std::vector<std::vector<RowFrame>>;

// Reads a row's text; a text it cannot read leaves `failed` set.
class RowReader {
public:
    explicit RowReader(std::string_view text) : m_text(text) {}

    RowActor Read(int animations) {
        RowActor actor;
        if (Skip("frames ")) {
            std::vector<int> counts{Int()};
            while (Skip(", ")) {
                counts.push_back(Int());
            }
            Expect("; all ");
            const RowFrame frame = Frame();
            for (const int count : counts) {
                actor.emplace_back(static_cast<std::size_t>(count), frame);
            }
        } else {
            do {
                actor.push_back(Animation());
            } while (Skip(" / "));
        }
        failed = failed || !m_text.empty() || static_cast<int>(actor.size()) != animations;
        return actor;
    }

    bool failed = false;
    std::string_view Rest() const { return m_text; }

private:
    std::vector<RowFrame> Animation() {
        const int count = Int();
        Expect(": ");
        std::vector<RowFrame> frames;
        if (!Skip("fr ")) {
            frames.assign(static_cast<std::size_t>(count), Frame());
            return frames;
        }
        do {
            const int first = Int();
            const int last = Skip("-") ? Int() : first;
            Expect(" ");
            const RowFrame frame = Frame();
            if (first != static_cast<int>(frames.size()) || last < first) {
                failed = true;
                break;
            }
            frames.insert(frames.end(), static_cast<std::size_t>(last - first + 1), frame);
        } while (Skip(", fr "));
        failed = failed || static_cast<int>(frames.size()) != count;
        return frames;
    }

    RowFrame Frame() {
        RowFrame frame;
        Collision2D::TunRect& r = frame.plain.rectangle;
        Expect("[");
        r.top = Number();
        Expect(", ");
        r.left = Number();
        Expect(", ");
        r.right = Number();
        Expect(", ");
        r.bottom = Number();
        Expect("]");
        for (;;) {
            if (Skip(" circle centre ") || Skip("; circle centre ")) {
                const auto [x, y] = Point();
                Expect(" radius ");
                const float radius = Number();
                Expect(" id ");
                frame.plain.circles.push_back({x, y, radius, Number()});
                frame.mirroredCircles.push_back(!Skip(" unmirrored"));
            } else if (Skip(" segment ") || Skip("; segment ")) {
                const auto [x1, y1] = Point();
                Expect(" to ");
                const auto [x2, y2] = Point();
                Expect(" id ");
                frame.plain.segments.push_back({x1, y1, x2, y2, Number()});
            } else {
                return frame;
            }
        }
    }

    std::array<float, 2> Point() {
        Expect("(");
        const float x = Number();
        Expect(", ");
        const float y = Number();
        Expect(")");
        return {x, y};
    }

    bool Skip(std::string_view word) {
        if (!m_text.starts_with(word)) {
            return false;
        }
        m_text.remove_prefix(word.size());
        return true;
    }
    void Expect(std::string_view word) { failed = !Skip(word) || failed; }

    float Number() {
        float value = 0.0f;
        const auto [end, error] = std::from_chars(m_text.data(), m_text.data() + m_text.size(), value);
        failed = failed || error != std::errc();
        m_text.remove_prefix(static_cast<std::size_t>(end - m_text.data()));
        return value;
    }
    int Int() { return static_cast<int>(Number()); }

    std::string_view m_text;
};

// The collision engine's rule: a horizontal flip negates x, a vertical one
// y; the rectangle and the segments always follow, a circle when mirrored.
FrameCopy Flipped(const RowFrame& frame, int copy) {
    const float sx = (copy & Collision2D::kFlipHorizontal) ? -1.0f : 1.0f;
    const float sy = (copy & Collision2D::kFlipVertical) ? -1.0f : 1.0f;
    const Collision2D::TunRect& r = frame.plain.rectangle;
    FrameCopy flipped{{sy > 0 ? r.top : -r.bottom, sx > 0 ? r.left : -r.right, sx > 0 ? r.right : -r.left,
                       sy > 0 ? r.bottom : -r.top},
                      frame.plain.circles,
                      frame.plain.segments};
    for (std::size_t i = 0; i < flipped.circles.size(); ++i) {
        if (frame.mirroredCircles[i]) {
            flipped.circles[i][0] *= sx;
            flipped.circles[i][1] *= sy;
        }
    }
    for (auto& s : flipped.segments) {
        s = {s[0] * sx, s[1] * sy, s[2] * sx, s[3] * sy, s[4]};
    }
    return flipped;
}

FrameCopy CopyOf(const Collision2D::CollisionFrame& frame, int copy) {
    FrameCopy out{frame.GetBoundingRectangle(copy), {}, {}};
    for (const auto& c : frame.GetCircles(copy)) {
        out.circles.push_back({c.center.x, c.center.y, c.radius, static_cast<float>(c.GetUserId())});
    }
    for (const auto& s : frame.GetLineSegments(copy)) {
        out.segments.push_back(
            {s.pointA.x, s.pointA.y, s.pointB.x, s.pointB.y, static_cast<float>(s.GetUserId())});
    }
    return out;
}

RowActor ReadRow(std::uint32_t number) {
    RowReader reader(kRows[number].frames);
    RowActor actor = reader.Read(kRows[number].animations);
    EXPECT_FALSE(reader.failed) << "row " << number << " unread at \"" << reader.Rest() << "\"";
    return actor;
}

// The game's levels each built with the game's actors, the factory kept.
class CollisionActorsTest : public MyGameTest {
protected:
    void SetUp() override {
        MyGameTest::SetUp();
        Content().OnLoadActors([this](MyLevelFactory& factory) {
            m_factory = &factory;
            BuildCollisionActors(factory);
        });
        StartGame();
        Step();
    }

    // Entry k of the game's list is slot k of the factory's table.
    std::vector<Collision2D::CollisionActor*> RegisteredActors() {
        const std::vector<Collision2D::CollisionActor*> assets = Tundra::Game::GetInstance()->GetCollisionAssets();
        EXPECT_EQ(assets.size(), kCollisionActorCount);
        if (m_factory != nullptr && assets.size() == kCollisionActorCount) {
            const CollisionActorTable& table = m_factory->GetCollisionActors();
            EXPECT_TRUE(std::equal(assets.begin(), assets.end(), table.begin()));
        }
        return assets;
    }

    MyLevelFactory* m_factory = nullptr;
};

TEST_F(CollisionActorsTest, EveryActorHoldsItsRowsShapesInAllFourFlips) {
    const std::vector<Collision2D::CollisionActor*> actors = RegisteredActors();
    ASSERT_EQ(actors.size(), kCollisionActorCount);
    int rowAnimations = 0;
    int rowFrames = 0;
    int animations = 0;
    int frames = 0;
    for (std::uint32_t number = 0; number < kCollisionActorCount; ++number) {
        SCOPED_TRACE(number);
        const RowActor row = ReadRow(number);
        const Collision2D::CollisionActor& actor = *actors[number];
        rowAnimations += static_cast<int>(row.size());
        animations += actor.GetAnimationCount();
        ASSERT_EQ(actor.GetAnimationCount(), static_cast<int>(row.size()));
        for (int a = 0; a < actor.GetAnimationCount(); ++a) {
            const std::vector<RowFrame>& rowAnimation = row[static_cast<std::size_t>(a)];
            rowFrames += static_cast<int>(rowAnimation.size());
            frames += actor.GetAnimation(a)->GetFrameCount();
            ASSERT_EQ(actor.GetAnimation(a)->GetFrameCount(), static_cast<int>(rowAnimation.size())) << a;
            for (int f = 0; f < actor.GetAnimation(a)->GetFrameCount(); ++f) {
                for (int copy = 0; copy < Collision2D::kFlipCopies; ++copy) {
                    EXPECT_EQ(CopyOf(*actor.GetFrame(a, f), copy), Flipped(rowAnimation[f], copy))
                        << "animation " << a << " frame " << f << " flip " << copy;
                }
            }
        }
    }
    EXPECT_EQ(rowAnimations, 126);
    EXPECT_EQ(rowFrames, 478);
    EXPECT_EQ(animations, 126);
    EXPECT_EQ(frames, 478);
}

TEST_F(CollisionActorsTest, FlippedSpritesFindMirroredShapesButThePlayersStandingCircle) {
    const std::vector<Collision2D::CollisionActor*> actors = RegisteredActors();
    ASSERT_EQ(actors.size(), kCollisionActorCount);

    // A slope tile turned round has its wall on the right.
    const auto& segments = actors[18]->GetFrame(0, 2)->GetLineSegments(Collision2D::kFlipHorizontal);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1].pointA, Vector2D(22.0f, -24.0f));
    EXPECT_EQ(segments[1].pointB, Vector2D(22.0f, 18.0f));
    EXPECT_EQ(segments[0].pointA, Vector2D(22.0f, 18.0f));
    EXPECT_EQ(segments[0].GetUserId(), 22u);

    // The players' first animation keeps its circle below the centre in
    // every flip; the stage player's next one turns with the sprite.
    for (const std::uint32_t number : {32u, 51u}) {
        for (int copy = 0; copy < Collision2D::kFlipCopies; ++copy) {
            const auto& circles = actors[number]->GetFrame(0, 0)->GetCircles(copy);
            ASSERT_EQ(circles.size(), 1u);
            EXPECT_EQ(circles[0].center, Vector2D(0.0f, -14.0f)) << number << " flip " << copy;
        }
    }
    EXPECT_EQ(actors[51]->GetFrame(1, 0)->GetCircles(Collision2D::kFlipVertical)[0].center, Vector2D(0.0f, 14.0f));
}

// Objects allocated with a collision-actor unit's source position, by the
// unit's number (the last slot: a unit of another name).
std::array<int, 8> g_unitAllocations{};

void CountUnit(void*, Core::AllocationKind, std::size_t, const char* file, int) {
    constexpr std::string_view kUnit = "MyGame_CollisionActors";
    const std::string_view path = file != nullptr ? file : "";
    const std::size_t at = path.rfind(kUnit);
    if (at == std::string_view::npos) {
        return;
    }
    const std::string_view tail = path.substr(at + kUnit.size());
    const bool numbered = tail.size() == 5 && tail[0] >= '0' && tail[0] <= '6' && tail.ends_with(".cpp");
    ++g_unitAllocations[numbered ? static_cast<std::size_t>(tail[0] - '0') : 7];
}
void IgnoreRelease(void*, Core::AllocationKind) {}
const Core::AllocationHooks kUnitHooks{&CountUnit, &IgnoreRelease};

TEST_F(CollisionActorsTest, EachUnitTagsItsOwnActorsAnimationsAndFrames) {
    std::array<int, 8> expected{};
    for (std::uint32_t number = 0; number < kCollisionActorCount; ++number) {
        int objects = 1;
        for (const auto& animation : ReadRow(number)) {
            objects += 1 + static_cast<int>(animation.size());
        }
        expected[number / 10] += objects;
    }
    g_unitAllocations = {};
    Core::SetAllocationHooks(&kUnitHooks);
    const bool switched = GoToLevel(1);
    Core::SetAllocationHooks(nullptr);
    ASSERT_TRUE(switched);
    EXPECT_EQ(g_unitAllocations, expected);
}

TEST_F(CollisionActorsTest, EveryLevelSwitchReplacesTheSixtyFiveActors) {
    const std::vector<Collision2D::CollisionActor*> first = RegisteredActors();
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(GoToLevel(1 + i % 2));
        const std::vector<Collision2D::CollisionActor*> actors = RegisteredActors();
        ASSERT_EQ(actors.size(), kCollisionActorCount);
        EXPECT_EQ(actors[35]->GetAnimationCount(), 6);
        EXPECT_EQ(actors[35]->GetAnimation(0)->GetFrameCount(), 12);
    }
}

}  // namespace
}  // namespace mygametest
