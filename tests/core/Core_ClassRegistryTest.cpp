#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class First : public Core::Object {
    TUN_DECLARE_CLASS(First);
};
class Second : public Core::Object {
    TUN_DECLARE_CLASS(Second);
};

Core::Object* CreateNothing() { return nullptr; }

}  // namespace

TUN_DEFINE_CLASS_NAMED(First, "RegistryTest::Shared")
TUN_DEFINE_CLASS_NAMED(Second, "RegistryTest::Shared")

TEST(ClassRegistry, NamesAreOrderedByteWise) {
    const Core::ClassRegistry::ByteOrder less;
    const std::pair<const char*, const char*> ordered[] = {
        {"GUI::Button", "GameLevel"}, {"MenuPlayer", "Object"},      {"Object", "OptionsUI"},
        {"Enemy", "EnemyDrop"},       {"EnemyDrop", "Engine::Group"}, {"Z", "\xC3\xA9"},  // bytes compare unsigned
    };
    for (const auto& [low, high] : ordered) {
        EXPECT_TRUE(less(low, high)) << low << " < " << high;
        EXPECT_FALSE(less(high, low)) << high << " < " << low;
    }
    EXPECT_FALSE(less("Object", "Object"));
}

TEST(ClassRegistry, UnknownNameGivesNothingAndLeavesTheRegistryUsable) {
    const std::size_t before = Core::ClassRegistry::GetInstance().GetEntries().size();
    EXPECT_EQ(CreateObjectByName("NoSuchClass"), nullptr);
    EXPECT_EQ(CreateObjectByName(nullptr), nullptr);
    EXPECT_EQ(Core::ClassRegistry::GetInstance().Find("NoSuchClass"), nullptr);
    EXPECT_EQ(Core::ClassRegistry::GetInstance().GetEntries().size(), before);
    Core::Object* object = CreateObjectByName("Object");
    ASSERT_NE(object, nullptr);
    delete object;
}

TEST(ClassRegistry, FirstRegistrationOfANameWins) {
    Core::Object* object = CreateObjectByName("RegistryTest::Shared");
    // Static initialisation order within one file follows definition order.
    EXPECT_NE(dynamic_cast<First*>(object), nullptr);
    delete object;

    Core::ClassRegistry::GetInstance().Register("Object", &CreateNothing);
    Core::Object* root = CreateObjectByName("Object");
    EXPECT_NE(root, nullptr);
    delete root;
}

// Includes "Plugin::Widget", registered from a separate library that
// nothing refers to: the linker must not have dropped it.
TEST(ClassRegistry, EveryRegisteredNameCreatesAnUnreferencedObjectOfThatName) {
    std::vector<std::string> names;
    for (const auto& [name, registration] : Core::ClassRegistry::GetInstance().GetEntries()) {
        names.emplace_back(name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "Plugin::Widget"), names.end());
    for (const std::string& name : names) {
        Core::Object* object = CreateObjectByName(name.c_str());
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->GetReferenceCount(), 0u) << name;
        EXPECT_EQ(name, object->GetType());
        delete object;
    }
}
