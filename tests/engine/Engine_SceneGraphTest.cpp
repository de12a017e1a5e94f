#include "Engine_SceneTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_Text.h"
#include "engine/Engine_TransformationGroup.h"
#include "os/OS_Random.h"
#include "renderer/Renderer_ScissorState.h"

#include <cstring>
#include <functional>
#include <random>
#include <tuple>

using Core::MemoryFile;
using Core::RefPtr;
using Engine::Group;
using Engine::Node;
using Engine::TransformationGroup;
using enginetest::New;

namespace {

RefPtr<TransformationGroup> Moved(const Matrix4& transformation) {
    RefPtr<TransformationGroup> group = New<TransformationGroup>();
    group->SetTransformation(transformation);
    return group;
}

using Nodes = enginetest::SceneTest;

TEST_F(Nodes, MergingGroupsEncloseTheirFlaggedChildren) {
    const RefPtr<Group> group = New<Group>();
    scene->AddChild(group);
    const RefPtr<TransformationGroup> children[] = {Moved(Matrix4::Translation(-100, 0, 0)),
                                                    Moved(Matrix4::Translation(0, 50, 0)),
                                                    Moved(Matrix4::Translation(0, 0, 300))};
    children[2]->SetMergeIntoParent(false);
    for (const auto& child : children) {
        group->AddChild(child);
    }
    scene->UpdateAsCurrent(0.1f);
    const Vector3D low = group->GetBoundingVolume().GetBox().corners[6];
    const Vector3D high = group->GetBoundingVolume().GetBox().corners[0];
    EXPECT_EQ(std::vector<float>({low.x, low.y, low.z, high.x, high.y, high.z}),
              std::vector<float>({-105, -5, -5, 5, 55, 5}));
}

// A volume's merges make the box an enclosure run makes, bit for bit, signed
// zeros included, and a later move keeps the last merge's centre and planes.
TEST(BoundingVolume, MergesMatchAnEnclosureRun) {
    const auto box = [](const Vector3D& low, const Vector3D& high) {
        BoundingBox out;
        return BoundingBox::BetweenExtremes(out, low, high, 0.0f);
    };
    const BoundingBox parts[] = {box({-0.0f, 1.0f, -2.0f}, {-0.0f, 3.0f, -0.0f}),
                                 box({0.0f, -4.0f, -1.0f}, {2.0f, 0.0f, 0.0f}),
                                 box({-7.0f, 2.0f, 5.0f}, {-6.0f, 2.5f, 9.0f})};
    Engine::BoundingVolume merged;
    merged.SetBox(box({-0.0f, -0.0f, -0.0f}, {-0.0f, -0.0f, -0.0f}));
    BoundingBox expected = merged.GetBox();
    for (const BoundingBox& part : parts) {
        Engine::BoundingVolume other;
        other.SetBox(part);
        merged.Merge(other);
        BoundingBox::EnclosingPair(expected, expected, part, 0.0f);
    }
    EXPECT_EQ(std::memcmp(&merged.GetBox(), &expected, sizeof expected), 0);
    merged.Merge(merged);
    BoundingBox::EnclosingPair(expected, expected, expected, 0.0f);
    merged.Transform(Matrix4::Translation(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(std::memcmp(&merged.GetBox().planes, &expected.planes, sizeof expected.planes), 0);
    EXPECT_EQ(std::memcmp(&merged.GetBox().centre, &expected.centre, sizeof expected.centre), 0);
    EXPECT_EQ(merged.GetBox().corners[6].x, 1.0f);
}

TEST_F(Nodes, TransformationGroupsComposeParentTimesOwn) {
    const Matrix4 turn = Matrix4::RotationZ(90.0f);
    const RefPtr<TransformationGroup> outer = Moved(turn), inner = Moved(Matrix4::Translation(10, 0, 0));
    const RefPtr<Node> leaf = New<Node>();
    scene->AddChild(outer);
    outer->AddChild(inner);
    inner->AddChild(leaf);
    scene->UpdateAsCurrent(0.0f);
    // Turned after the shift: the leaf sits at (0, 10).
    EXPECT_EQ(leaf->GetCachedWorldMatrix().m, (turn * Matrix4::Translation(10, 0, 0)).m);
}

TEST_F(Nodes, TreeOperations) {
    static std::vector<std::string> events;
    struct Watched : Node {
        ~Watched() override { events.push_back("released " + std::string(GetName())); }
        void OnDetached() override { events.push_back("detached " + std::string(GetName())); }
    };
    const RefPtr<Group> group = New<Group>(), child = New<Group>();
    const RefPtr<Node> a = New<Node>(), b = New<Node>();
    for (auto [node, name] : {std::pair<Node*, const char*>(group.Get(), "b"), {b.Get(), "b"}, {a.Get(), "a"}}) {
        node->SetName(name);
    }
    group->AddChild(child);
    child->AddChild(a);
    group->AddChild(b);
    EXPECT_TRUE(group->FindByName("b") == group && group->FindByName("a") == a && !group->FindByName("c"));
    // Refused: an ancestor, the group itself, null.
    EXPECT_FALSE(child->AddChild(group) || group->AddChild(group) || group->AddChild(nullptr));
    group->SetVisible(false, false);
    EXPECT_TRUE(!group->GetVisible() && a->GetVisible());
    group->SetVisible(false, true);
    EXPECT_TRUE(!a->GetVisible() && !b->GetVisible());
    group->RemoveChild(b.Get());
    EXPECT_TRUE(b->GetParent() == nullptr && group->GetChildCount() == 1);
    for (const char* name : {"1", "2"}) {
        child->AddChild(New<Watched>());
        child->GetChild(child->GetChildCount() - 1)->SetName(name);
    }
    child->RemoveAllChildren();
    EXPECT_EQ(events, (std::vector<std::string>{"detached 1", "detached 2", "released 1", "released 2"}));
}

TEST_F(Nodes, EachNodeDrawsThreeRandomChannels) {
    os::SeedRand(77);
    const int red = os::Rand(), green = os::Rand(), blue = os::Rand(), fourth = os::Rand();
    os::SeedRand(77);
    const RefPtr<Node> node = New<Node>();
    EXPECT_EQ(os::Rand(), fourth);
    const Color colour = node->GetBoundingVolume().GetMesh()->GetColors()[0];
    EXPECT_EQ(std::vector<float>({colour.r, colour.g, colour.b, colour.a}),
              std::vector<float>({red / 32767.0f, green / 32767.0f, blue / 32767.0f, 0.5f}));
}

TEST_F(Nodes, ParentlessUpdatesAndClonesStaySelfContained) {
    const RefPtr<TransformationGroup> moved = Moved(Matrix4::Translation(1, 2, 3));
    const RefPtr<Node> node = New<Node>();
    for (const RefPtr<Node>& orphan : {node, RefPtr<Node>(New<Group>()), RefPtr<Node>(moved)}) {
        orphan->Update(0.0f);
    }
    EXPECT_EQ(std::tuple(node->GetCachedWorldMatrix().m, moved->GetCachedWorldMatrix().m),
              std::tuple(Matrix4().m, Matrix4::Translation(1, 2, 3).m));
    RefPtr<Group> source = New<Group>();
    source->AddChild(New<Node>());
    const RefPtr<Group> clone(static_cast<Group*>(source->Clone()));
    source = nullptr;
    EXPECT_EQ(clone->GetChild(0)->GetParent(), clone.Get());
    clone->Update(0.0f);
    New<Group>()->AddChild(node);  // a group that dies before its child unlinks it
    EXPECT_EQ(node->GetParent(), nullptr);
}

// One node of each kind that reads its parent when it updates or draws.
std::vector<RefPtr<Node>> EveryKind() {
    const RefPtr<Engine::Text> text = New<Engine::Text>("A", false);
    text->SetFont(New<Engine::BitmapFont>());
    return {New<Node>(), New<Group>(), Moved(Matrix4::Translation(1, 0, 0)), New<Engine::Sprite>(), text,
            New<Engine::ParticleSystem>(nullptr, 2)};
}

// A node held by one group, added to another and removed from it (or
// copied while there) names neither once the other group is gone.
TEST_F(Nodes, NoNodeNamesAGroupThatNoLongerHoldsIt) {
    const std::function<RefPtr<Node>(Group&, const RefPtr<Node>&)> leaveBehind[] = {
        [](Group& other, const RefPtr<Node>& node) {
            other.RemoveChild(node.Get());
            return node;
        },
        [](Group& other, const RefPtr<Node>& node) {
            other.RemoveAllChildren();
            return node;
        },
        [](Group&, const RefPtr<Node>& node) { return RefPtr<Node>(static_cast<Node*>(node->Clone())); },
    };
    for (std::size_t way = 0; way < std::size(leaveBehind); ++way) {
        for (const RefPtr<Node>& node : EveryKind()) {
            const RefPtr<Group> holder = New<Group>();
            scene->AddChild(holder);
            holder->AddChild(node);
            RefPtr<Group> other = New<Group>();
            other->AddChild(node);
            const RefPtr<Node> left = leaveBehind[way](*other, node);
            other = nullptr;
            EXPECT_EQ(left->GetParent(), nullptr) << way << node->GetType();
            scene->UpdateAsCurrent(0.1f);
            scene->DrawTree();
            left->Update(0.1f);
            left->DrawTree();
            Queue().EndFrame();
            scene->RemoveChild(holder.Get());
        }
    }
    // A group that still holds a second entry of the child keeps the link.
    const RefPtr<Group> group = New<Group>();
    const RefPtr<Node> twice = New<Node>();
    group->AddChild(twice);
    group->AddChild(twice);
    group->RemoveChild(twice.Get());
    EXPECT_EQ(twice->GetParent(), group.Get());
}

TEST_F(Nodes, ControllersAddedDuringAnUpdateRunInTheSamePass) {
    static int updates = 0;
    struct Spawner : Engine::Controller {
        explicit Spawner(int children) : children(children) {}
        Core::Object* Clone() const override { return TUN_NEW(Spawner, *this); }
        void Update(float) override {
            ++updates;
            for (; children > 0; --children) {
                GetNode()->AddController(New<Spawner>(0));
            }
        }
        int children;
    };
    const RefPtr<Node> node = New<Node>();
    node->AddController(New<Spawner>(20));
    node->Update(0.1f);
    EXPECT_EQ(updates, 21);
    const RefPtr<Node> copy(static_cast<Node*>(node->Clone()));
    copy->Update(0.1f);
    EXPECT_EQ(updates, 42);
}

// A node saved on its own out of a tree is stored as when it stands alone.
TEST_F(Nodes, ANodeSavedFromAGroupIsStoredWithoutItAndReadsBack) {
    const auto saved = [](const RefPtr<Node>& node) {
        MemoryFile file;
        file << node;
        return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
    };
    for (const RefPtr<Node>& node : EveryKind()) {
        const std::vector<std::uint8_t> alone = saved(node);
        const RefPtr<Group> group = New<Group>();
        for (int i = 0; i < 50; ++i) {
            group->AddChild(New<Node>());
        }
        group->AddChild(node);
        const std::vector<std::uint8_t> contained = saved(node);
        EXPECT_EQ(contained, alone) << node->GetType();
        if (dynamic_cast<Engine::ParticleSystem*>(node.Get()) != nullptr) {
            continue;  // not a class streams create
        }
        MemoryFile file(contained.data(), static_cast<std::uint32_t>(contained.size()));
        const RefPtr<Node> read = file.ReadObjectAs<Node>(MemoryFile::Reference::Owning);
        EXPECT_TRUE(read && !file.HasFailed() && read->GetParent() == nullptr) << node->GetType();
    }
}

// A transformation group with every stored field set, a nested group and a leaf.
std::vector<std::uint8_t> Stream() {
    const RefPtr<TransformationGroup> group = Moved(Matrix4::Translation(1, 2, 3)), inner = Moved({});
    std::tie(group->FurtherMatrix(0), group->FurtherMatrix(1)) =
        std::tuple(Matrix4::Scaling(2, 2, 2), Matrix4::RotationZ(30));
    group->SetName("layer");
    group->SetHUDObject(true);
    group->SetVisible(false, false);
    inner->AddChild(New<Node>());
    group->AddChild(inner);
    group->AddChild(New<Node>());
    group->GetChild(1)->SetName("leaf");
    MemoryFile file;
    file << group;
    return {file.GetData(), file.GetData() + file.GetSize()};
}

RefPtr<TransformationGroup> Read(const std::vector<std::uint8_t>& bytes) {
    MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return file.ReadObjectAs<TransformationGroup>(MemoryFile::Reference::Owning);
}

TEST(TransformationGroupStream, RoundTripRestoresEveryStoredFieldAndLinksChildren) {
    const RefPtr<TransformationGroup> group = Read(Stream());
    ASSERT_TRUE(group && group->GetChildCount() == 2);
    EXPECT_EQ(std::tuple(group->GetTransformation().m, group->FurtherMatrix(0).m, group->FurtherMatrix(1).m),
              std::tuple(Matrix4::Translation(1, 2, 3).m, Matrix4::Scaling(2, 2, 2).m, Matrix4::RotationZ(30).m));
    EXPECT_EQ(group->GetFlags(), (Engine::NodeFlags{1, 1, 0, 0, 1}));
    EXPECT_TRUE(group->GetName() == "layer" && group->GetChild(1)->GetName() == "leaf");
    EXPECT_EQ(group->GetParent(), nullptr);
    const auto* inner = dynamic_cast<TransformationGroup*>(group->GetChild(0).Get());
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->GetParent() == group.Get() && group->GetChild(1)->GetParent() == group.Get());
    EXPECT_EQ(inner->GetChild(0)->GetParent(), inner);
}

// Every truncation and a few thousand seeded damages read without a fault
// (the sanitizers watch, the leak checker among them at exit).
TEST(TransformationGroupStream, HostileStreamsNeverCrashOrLeak) {
    const std::vector<std::uint8_t> valid = Stream();
    std::mt19937 random(1107);
    for (std::size_t round = 0; round < valid.size() + 4000; ++round) {
        std::vector<std::uint8_t> bytes(valid.begin(), valid.begin() + std::min(round, valid.size()));
        for (int change = 0; change < 3 && round >= valid.size(); ++change) {
            const std::size_t at = random() % (bytes.size() - 3);
            // A byte or a 32-bit field: counts and lengths among them.
            const std::uint32_t value = random() % 2 == 0 ? random() : std::uint32_t(random() % 3) - 1;
            for (std::size_t i = 0; i < (value > 255 ? 4 : 1); ++i) {
                bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
        if (const RefPtr<TransformationGroup> group = Read(bytes)) {
            group->Update(0.1f);
            group->DrawTree();
            EXPECT_EQ(group->GetParent(), nullptr);
        }
    }
}

class Cameras : public enginetest::SceneTest {
protected:
    // What a scene render borrows from the renderer.
    auto Placement() const {
        Renderer::ScissorState s;
        renderer->GetScissorState(s);
        return std::tuple(renderer->GetViewport(), std::tuple(s.x, s.y, s.width, s.height, s.enabled),
                          renderer->GetProjectionMatrix().m, renderer->GetViewMatrix().m);
    }
    void SetUp() override {
        const RefPtr<TransformationGroup> stand = Moved(Matrix4::Translation(0, 0, 500));
        scene->AddChild(stand);
        stand->AddChild(camera);
        scene->UpdateAsCurrent(0.0f);
    }
    RefPtr<Engine::Camera> camera = New<Engine::Camera>(45.0f, 1.0f, 1000.0f);  // 500 units up the z axis
    RefPtr<Engine::Viewport> viewport = New<Engine::Viewport>(0, 0, 512, 384);
};

TEST_F(Cameras, ViewportAndCameraOwnTheRendererUntilRestore) {
    Renderer::ScissorState off;
    off.x = 3;
    renderer->SetScissorState(off);
    renderer->SetViewport({1, 2, 30, 40, 0.0f, 1.0f});
    const auto before = Placement();
    viewport->Apply(*renderer);
    camera->Apply(*renderer, 1024, 768);
    const Matrix4 projection = Matrix4::Perspective(45.0f, 1.3333334f, 1.0f, 1000.0f);
    EXPECT_EQ(Placement(), std::tuple(Renderer::Viewport{0, 0, 512, 384, 0.0f, 1.0f},
                                      std::tuple(0, 0, 512, 384, true), projection.m,
                                      Matrix4::Translation(0, 0, -500).m));
    Matrix4 viewProjection;
    camera->GetViewProjectionMatrix(viewProjection, 1024, 768);
    EXPECT_EQ(viewProjection.m, (projection * renderer->GetViewMatrix()).m);

    BoundingBox behind;
    Math::SetBoxCorners(behind.corners, {-1, -1, 600}, {1, 1, 602});
    EXPECT_EQ(camera->GetFrustum().ClassifyBox(behind), 2);
    camera->Restore(*renderer);
    viewport->Restore(*renderer);
    EXPECT_EQ(Placement(), before);
}

TEST_F(Cameras, RenderClearsBeforeDrawingAndPutsEverythingBack) {
    const RefPtr<Engine::TransformationGroup> shown = New<Engine::TransformationGroup>();
    scene->AddChild(shown);
    shown->SetShowBoundingVolume(true, false);
    const auto before = Placement();
    scene->Render(camera, viewport);
    EXPECT_EQ(Calls({"SetViewport", "SetScissorState", "SetProjectionMatrix", "SetViewMatrix", "Clear", "Draw"}),
              (std::vector<std::string>{"SetViewport", "SetScissorState", "SetProjectionMatrix", "SetViewMatrix",
                                        "ClearBuffers 0", "SetViewMatrix", "SetProjectionMatrix",  // backgrounds
                                        "SetProjectionMatrix", "SetViewMatrix", "DrawIndexRange 0 35",
                                        // the overlay: without a viewport count the only viewport is the last
                                        "SetScissorState", "SetViewport", "SetViewMatrix", "SetProjectionMatrix",
                                        "SetProjectionMatrix", "SetViewMatrix", "SetViewport", "SetScissorState",
                                        "SetProjectionMatrix", "SetViewMatrix", "SetViewport", "SetScissorState"}));
    EXPECT_EQ(Placement(), before);
    EXPECT_EQ(renderer->draws.at(0).projection.m, Matrix4::Perspective(45.0f, 512.0f / 384, 1.0f, 1000.0f).m);

    renderer->ClearCalls();
    scene->ClearScreen({1, 0, 0, 1});
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"SetViewport", "SetScissorState", "ClearColorBuffer",
                                                           "SetViewport", "SetScissorState"}));
    EXPECT_EQ(Placement(), before);
}

}  // namespace
