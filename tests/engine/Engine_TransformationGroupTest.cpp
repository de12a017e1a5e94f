#include "Engine_SceneTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_TransformationGroup.h"

#include <random>

using Core::MemoryFile;
using Core::RefPtr;
using Engine::Node;
using Engine::TransformationGroup;
using enginetest::New;

namespace {

// A transformation group with every stored field set, a nested group and a leaf.
std::vector<std::uint8_t> Stream() {
    const RefPtr<TransformationGroup> group = New<TransformationGroup>();
    group->SetTransformation(Matrix4::Translation(1, 2, 3));
    group->FurtherMatrix(0) = Matrix4::Scaling(2, 2, 2);
    group->FurtherMatrix(1) = Matrix4::RotationZ(30);
    group->SetName("layer");
    group->SetHUDObject(true);
    group->SetVisible(false, false);
    const RefPtr<TransformationGroup> inner = New<TransformationGroup>();
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

TEST(TransformationGroupStream, RoundTripRestoresEveryStoredField) {
    const RefPtr<TransformationGroup> group = Read(Stream());
    ASSERT_TRUE(group);
    EXPECT_EQ(group->GetTransformation().m, Matrix4::Translation(1, 2, 3).m);
    EXPECT_EQ(group->FurtherMatrix(0).m, Matrix4::Scaling(2, 2, 2).m);
    EXPECT_EQ(group->FurtherMatrix(1).m, Matrix4::RotationZ(30).m);
    EXPECT_EQ(group->GetName(), "layer");
    EXPECT_EQ(group->GetFlags(), (Engine::NodeFlags{1, 1, 0, 0, 1}));
    EXPECT_EQ(group->GetParent(), nullptr);
    ASSERT_EQ(group->GetChildCount(), 2u);
    EXPECT_EQ(group->GetChild(1)->GetName(), "leaf");
    for (std::uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(group->GetChild(i)->GetParent(), group.Get());
    }
    const auto* inner = dynamic_cast<TransformationGroup*>(group->GetChild(0).Get());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetChild(0)->GetParent(), inner);
}

// Every truncation and seeded damage reads without a fault (the sanitizers
// watch, the leak checker among them at exit).
TEST(TransformationGroupStream, HostileStreamsNeverCrashOrLeak) {
    const std::vector<std::uint8_t> valid = Stream();
    std::vector<std::vector<std::uint8_t>> damaged;
    for (std::size_t length = 0; length < valid.size(); ++length) {
        damaged.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
    }
    std::mt19937 random(1107);
    const std::uint32_t telling[] = {0, 1, 2, 0x7FFFFFFF, 0xFFFFFFFF};
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::uint8_t> bytes = valid;
        for (int change = 0; change < 3; ++change) {
            const std::size_t at = random() % bytes.size();
            if (random() % 2 == 0 || at + 4 > bytes.size()) {
                bytes[at] = static_cast<std::uint8_t>(random());
            } else {
                const std::uint32_t value = telling[random() % std::size(telling)];
                for (int i = 0; i < 4; ++i) {
                    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
        }
        damaged.push_back(std::move(bytes));
    }
    for (const auto& bytes : damaged) {
        const RefPtr<TransformationGroup> group = Read(bytes);
        if (group) {
            group->Update(0.1f);
            group->DrawTree();
            EXPECT_EQ(group->GetParent(), nullptr);
        }
    }
}

}  // namespace
