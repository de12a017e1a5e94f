#include "Engine_SceneTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_TransformationGroup.h"

#include <random>

using Core::MemoryFile;
using Core::RefPtr;
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
    inner->AddChild(New<Engine::Node>());
    group->AddChild(inner);
    group->AddChild(New<Engine::Node>());
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
    EXPECT_EQ(group->GetTransformation().m, Matrix4::Translation(1, 2, 3).m);
    EXPECT_EQ(group->FurtherMatrix(0).m, Matrix4::Scaling(2, 2, 2).m);
    EXPECT_EQ(group->FurtherMatrix(1).m, Matrix4::RotationZ(30).m);
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
    const std::uint32_t telling[] = {0, 1, 2, 0x7FFFFFFF, 0xFFFFFFFF};
    for (std::size_t round = 0; round < valid.size() + 4000; ++round) {
        std::vector<std::uint8_t> bytes(valid.begin(), valid.begin() + std::min(round, valid.size()));
        for (int change = 0; change < 3 && round >= valid.size(); ++change) {
            const std::size_t at = random() % (bytes.size() - 3);
            const std::uint32_t value = random() % 2 == 0 ? random() : telling[random() % 5];
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

}  // namespace
