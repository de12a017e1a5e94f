#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class First : public Core::Object {
    TUN_DECLARE_CLASS(First);
};
class Second : public Core::Object {
    TUN_DECLARE_CLASS(Second);
};

Core::Object* CreateNothing() { return nullptr; }

}  // namespace

// Static initialisation order within one file follows definition order.
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

// The first registration of a name wins; unknown names create nothing and
// leave the registry as it was.
TEST(ClassRegistry, LookupsFindTheFirstRegistrationOrNothing) {
    Core::ClassRegistry& registry = Core::ClassRegistry::GetInstance();
    const std::size_t before = registry.GetEntries().size();
    registry.Register("Object", &CreateNothing);
    EXPECT_EQ(CreateObjectByName("NoSuchClass"), nullptr);
    EXPECT_EQ(CreateObjectByName(nullptr), nullptr);
    EXPECT_EQ(registry.Find("NoSuchClass"), nullptr);
    EXPECT_EQ(registry.GetEntries().size(), before);
    Core::Object* shared = CreateObjectByName("RegistryTest::Shared");
    EXPECT_NE(dynamic_cast<First*>(shared), nullptr);
    delete shared;
}

// Includes "Plugin::Widget", registered from a separate library that
// nothing refers to: the linker must not have dropped it.
TEST(ClassRegistry, EveryRegisteredNameCreatesAnUnreferencedObjectOfThatName) {
    EXPECT_NE(Core::ClassRegistry::GetInstance().Find("Plugin::Widget"), nullptr);
    for (const auto& [name, registration] : Core::ClassRegistry::GetInstance().GetEntries()) {
        Core::Object* object = CreateObjectByName(name);
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->GetReferenceCount(), 0u) << name;
        EXPECT_STREQ(name, object->GetType());
        delete object;
    }
}
