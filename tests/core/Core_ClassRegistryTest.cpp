#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"

#include <gtest/gtest.h>

namespace {

class First : public Core::Object {
    TUN_DECLARE_CLASS(First);
};
class Second : public Core::Object {
    TUN_DECLARE_CLASS(Second);
};

}  // namespace

// Static initialisation order within one file follows definition order.
TUN_DEFINE_CLASS_NAMED(First, "RegistryTest::Shared")
TUN_DEFINE_CLASS_NAMED(Second, "RegistryTest::Shared")

// Bytes compare unsigned: upper-case before lower-case, "\xC3" after "Z".
TEST(ClassRegistry, NamesAreOrderedByteWise) {
    const Core::ClassRegistry::ByteOrder less;
    const char* ordered[] = {"Enemy",      "EnemyDrop", "Engine::Group", "GUI::Button", "GameLevel",
                             "MenuPlayer", "Object",    "OptionsUI",     "Z",           "\xC3\xA9"};
    for (std::size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_TRUE(less(ordered[i], ordered[i + 1]) && !less(ordered[i + 1], ordered[i])) << ordered[i];
    }
    EXPECT_FALSE(less("Object", "Object"));
}

// The first registration of a name wins; unknown names create nothing and
// leave the registry as it was.
TEST(ClassRegistry, LookupsFindTheFirstRegistrationOrNothing) {
    Core::ClassRegistry& registry = Core::ClassRegistry::GetInstance();
    const std::size_t before = registry.GetEntries().size();
    registry.Register("Object", &First::Create);
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
