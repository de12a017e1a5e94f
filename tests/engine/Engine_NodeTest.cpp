#include "Engine_SceneTestSupport.h"

#include "engine/Engine_TransformationGroup.h"
#include "os/OS_Random.h"

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

class Nodes : public enginetest::SceneTest {};

TEST_F(Nodes, MergingGroupsEncloseTheirFlaggedChildren) {
    const RefPtr<Group> group = New<Group>();
    scene->AddChild(group);
    const RefPtr<TransformationGroup> ignored = Moved(Matrix4::Translation(0, 0, 300));
    ignored->SetMergeIntoParent(false);
    for (const auto& child : {Moved(Matrix4::Translation(-100, 0, 0)), Moved(Matrix4::Translation(0, 50, 0)), ignored}) {
        group->AddChild(child);
    }
    scene->UpdateAsCurrent(0.1f);
    Vector3D low(1e9f, 1e9f, 1e9f), high(-1e9f, -1e9f, -1e9f);
    for (const Vector3D& corner : group->GetBoundingVolume().GetBox().corners) {
        low = {std::min(low.x, corner.x), std::min(low.y, corner.y), std::min(low.z, corner.z)};
        high = {std::max(high.x, corner.x), std::max(high.y, corner.y), std::max(high.z, corner.z)};
    }
    EXPECT_EQ(std::vector<float>({low.x, low.y, low.z, high.x, high.y, high.z}),
              std::vector<float>({-105, -5, -5, 5, 55, 5}));
}

TEST_F(Nodes, TransformationGroupsComposeParentTimesOwn) {
    const Matrix4 turn = Matrix4::RotationZ(90.0f);
    const RefPtr<TransformationGroup> outer = Moved(turn);
    const RefPtr<TransformationGroup> inner = Moved(Matrix4::Translation(10, 0, 0));
    const RefPtr<Node> leaf = New<Node>();
    scene->AddChild(outer);
    outer->AddChild(inner);
    inner->AddChild(leaf);
    scene->UpdateAsCurrent(0.0f);
    EXPECT_EQ(leaf->GetCachedWorldMatrix().m, (turn * Matrix4::Translation(10, 0, 0)).m);
    EXPECT_NEAR(leaf->GetCachedWorldMatrix()[13], 10.0f, 1e-5);
}

TEST_F(Nodes, TreeOperations) {
    static std::vector<std::string> events;
    struct Watched : Node {
        ~Watched() override { events.push_back("released " + std::string(GetName())); }
        void OnDetached() override { events.push_back("detached " + std::string(GetName())); }
    };
    const RefPtr<Group> group = New<Group>();
    const RefPtr<Group> child = New<Group>();
    const RefPtr<Node> a = New<Node>();
    const RefPtr<Node> b = New<Node>();
    group->SetName("b");
    b->SetName("b");
    a->SetName("a");
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
    EXPECT_TRUE(b->GetParent() == group.Get() && group->GetChildCount() == 1);

    for (const char* name : {"1", "2"}) {
        child->AddChild(New<Watched>());
        child->GetChild(child->GetChildCount() - 1)->SetName(name);
    }
    child->RemoveAllChildren();
    EXPECT_EQ(events, (std::vector<std::string>{"detached 1", "detached 2", "released 1", "released 2"}));
}

TEST_F(Nodes, EachNodeDrawsThreeRandomChannels) {
    for (std::uint32_t seed : {1u, 77u}) {
        os::SeedRand(seed);
        const int red = os::Rand(), green = os::Rand(), blue = os::Rand(), fourth = os::Rand();
        os::SeedRand(seed);
        const RefPtr<Node> node = New<Node>();
        EXPECT_EQ(os::Rand(), fourth);
        const Color colour = node->GetBoundingVolume().GetMesh()->GetColors()[0];
        EXPECT_EQ(std::vector<float>({colour.r, colour.g, colour.b, colour.a}),
                  std::vector<float>({red / 32767.0f, green / 32767.0f, blue / 32767.0f, 0.5f}));
    }
}

TEST_F(Nodes, ParentlessUpdatesAndClonesStaySelfContained) {
    const Matrix4 shift = Matrix4::Translation(1, 2, 3);
    const RefPtr<TransformationGroup> moved = Moved(shift);
    const RefPtr<Node> node = New<Node>();
    for (const RefPtr<Node>& orphan : {node, RefPtr<Node>(New<Group>()), RefPtr<Node>(moved)}) {
        orphan->Update(0.0f);
    }
    EXPECT_EQ(node->GetCachedWorldMatrix().m, Matrix4().m);
    EXPECT_EQ(moved->GetCachedWorldMatrix().m, shift.m);

    RefPtr<Group> source = New<Group>();
    source->AddChild(New<Node>());
    const RefPtr<Group> clone(static_cast<Group*>(source->Clone()));
    source = nullptr;
    EXPECT_EQ(clone->GetChild(0)->GetParent(), clone.Get());
    clone->Update(0.0f);
    // A group that dies before its child unlinks it.
    RefPtr<Group> parent = New<Group>();
    parent->AddChild(node);
    parent = nullptr;
    EXPECT_EQ(node->GetParent(), nullptr);
}

}  // namespace
