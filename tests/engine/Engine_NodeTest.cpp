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

float Extreme(const BoundingBox& box, float Vector3D::*axis, bool high) {
    float value = box.corners[0].*axis;
    for (const Vector3D& corner : box.corners) {
        value = high ? std::max(value, corner.*axis) : std::min(value, corner.*axis);
    }
    return value;
}

class Nodes : public enginetest::SceneTest {};

TEST_F(Nodes, MergingGroupsEncloseTheirFlaggedChildren) {
    const RefPtr<Group> group = New<Group>();
    scene->AddChild(group);
    const RefPtr<TransformationGroup> left = Moved(Matrix4::Translation(-100, 0, 0));
    const RefPtr<TransformationGroup> right = Moved(Matrix4::Translation(0, 50, 0));
    const RefPtr<TransformationGroup> ignored = Moved(Matrix4::Translation(0, 0, 300));
    ignored->SetMergeIntoParent(false);
    for (const auto& child : {left, right, ignored}) {
        group->AddChild(child);
    }
    scene->UpdateAsCurrent(0.1f);
    const BoundingBox& box = group->GetBoundingVolume().GetBox();
    EXPECT_EQ(Extreme(box, &Vector3D::x, false), -105.0f);
    EXPECT_EQ(Extreme(box, &Vector3D::y, true), 55.0f);
    EXPECT_EQ(Extreme(box, &Vector3D::z, true), 5.0f);
}

TEST_F(Nodes, TransformationGroupsComposeParentTimesOwn) {
    const Matrix4 turn = Matrix4::RotationZ(90.0f);
    const Matrix4 shift = Matrix4::Translation(10, 0, 0);
    const RefPtr<TransformationGroup> outer = Moved(turn);
    const RefPtr<TransformationGroup> inner = Moved(shift);
    const RefPtr<Node> leaf = New<Node>();
    scene->AddChild(outer);
    outer->AddChild(inner);
    inner->AddChild(leaf);
    scene->UpdateAsCurrent(0.0f);
    EXPECT_EQ(leaf->GetCachedWorldMatrix().m, (turn * shift).m);
    EXPECT_NEAR(leaf->GetCachedWorldMatrix()[13], 10.0f, 1e-5);
}

TEST_F(Nodes, TreeOperations) {
    const RefPtr<Group> group = New<Group>();
    const RefPtr<Group> child = New<Group>();
    const RefPtr<Node> a = New<Node>();
    const RefPtr<Node> b = New<Node>();
    group->SetName("same");
    b->SetName("same");
    a->SetName("a");
    group->AddChild(child);
    child->AddChild(a);
    group->AddChild(b);
    EXPECT_EQ(group->FindByName("same"), group);
    EXPECT_EQ(group->FindByName("a"), a);
    EXPECT_EQ(group->FindByName("none"), nullptr);

    // Refused: itself, its ancestors, null.
    EXPECT_FALSE(child->AddChild(group));
    EXPECT_FALSE(group->AddChild(group));
    EXPECT_FALSE(group->AddChild(nullptr));
    EXPECT_EQ(child->GetChildCount(), 1u);

    group->SetVisible(false, false);
    EXPECT_TRUE(!group->GetVisible() && a->GetVisible());
    group->SetVisible(false, true);
    EXPECT_TRUE(!a->GetVisible() && !b->GetVisible());

    group->RemoveChild(b.Get());
    EXPECT_EQ(b->GetParent(), group.Get());
    EXPECT_EQ(group->GetChildCount(), 1u);
}

TEST_F(Nodes, RemoveAllChildrenDetachesBeforeReleasing) {
    static std::vector<std::string> events;
    struct Watched : Node {
        ~Watched() override { events.push_back("released " + std::string(GetName())); }
        void OnDetached() override { events.push_back("detached " + std::string(GetName())); }
    };
    const RefPtr<Group> group = New<Group>();
    for (const char* name : {"1", "2"}) {
        RefPtr<Node> node = New<Watched>();
        node->SetName(name);
        group->AddChild(node);
    }
    group->RemoveAllChildren();
    EXPECT_EQ(events, (std::vector<std::string>{"detached 1", "detached 2", "released 1", "released 2"}));
}

TEST_F(Nodes, EachNodeDrawsThreeRandomChannels) {
    for (std::uint32_t seed : {1u, 77u}) {
        os::SeedRand(seed);
        std::vector<int> sequence(4);
        for (int& value : sequence) {
            value = os::Rand();
        }
        os::SeedRand(seed);
        const RefPtr<Node> node = New<Node>();
        EXPECT_EQ(os::Rand(), sequence[3]);
        const Color colour = node->GetBoundingVolume().GetMesh()->GetColors()[0];
        EXPECT_EQ(colour.r, static_cast<float>(sequence[0]) / 32767.0f);
        EXPECT_EQ(colour.b, static_cast<float>(sequence[2]) / 32767.0f);
        EXPECT_TRUE(colour.r <= 1 && colour.g <= 1 && colour.b <= 1 && colour.a == 0.5f);
    }
}

TEST_F(Nodes, ParentlessUpdatesAndClonesStaySelfContained) {
    const Matrix4 shift = Matrix4::Translation(1, 2, 3);
    const RefPtr<TransformationGroup> moved = Moved(shift);
    const RefPtr<Node> node = New<Node>();
    const RefPtr<Group> group = New<Group>();
    for (const RefPtr<Node>& orphan : {RefPtr<Node>(node), RefPtr<Node>(group), RefPtr<Node>(moved)}) {
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
