#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class First : public Core::Object {
    TUN_DECLARE_CLASS(First);
};
class Second : public Core::Object {
    TUN_DECLARE_CLASS(Second);
};

}  // namespace

TUN_DEFINE_CLASS_NAMED(First, "RegistryTest::Shared")
TUN_DEFINE_CLASS_NAMED(Second, "RegistryTest::Shared")

namespace {

Core::Object* CreateNothing() { return nullptr; }

}  // namespace

TEST(ClassRegistry, NamesAreOrderedByteWise) {
    Core::ClassRegistry::ByteOrder less;
    EXPECT_TRUE(less("GUI::Button", "GameLevel"));
    EXPECT_TRUE(less("MenuPlayer", "Object"));
    EXPECT_TRUE(less("Object", "OptionsUI"));
    EXPECT_TRUE(less("Enemy", "EnemyDrop"));
    EXPECT_TRUE(less("EnemyDrop", "Engine::Group"));
    EXPECT_FALSE(less("Object", "Object"));
    EXPECT_TRUE(less("Z", "\xC3\xA9"));  // bytes compare unsigned
}

TEST(ClassRegistry, UnknownNameGivesNothingAndLeavesTheRegistryUsable) {
    const std::size_t before = Core::ClassRegistry::GetInstance().GetEntries().size();
    EXPECT_EQ(CreateObjectByName("NoSuchClass"), nullptr);
    EXPECT_EQ(CreateObjectByName(nullptr), nullptr);
    EXPECT_EQ(Core::ClassRegistry::GetInstance().Find("NoSuchClass"), nullptr);
    EXPECT_EQ(Core::ClassRegistry::GetInstance().GetEntries().size(), before);

    Core::Object* object = CreateObjectByName("Object");
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->GetType(), "Object");
    EXPECT_EQ(object->GetReferenceCount(), 0u);
    delete object;
}

TEST(ClassRegistry, FirstRegistrationOfANameWins) {
    Core::Object* object = CreateObjectByName("RegistryTest::Shared");
    ASSERT_NE(object, nullptr);
    // Static initialisation order within one file follows definition order.
    EXPECT_NE(dynamic_cast<First*>(object), nullptr);
    delete object;

    Core::ClassRegistry::GetInstance().Register("Object", &CreateNothing);
    Core::Object* root = CreateObjectByName("Object");
    EXPECT_NE(root, nullptr);
    delete root;
}

TEST(ClassRegistry, ClassFromASeparateLibraryIsFound) {
    Core::Object* widget = CreateObjectByName("Plugin::Widget");
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->GetType(), "Plugin::Widget");
    delete widget;
}

TEST(ClassRegistry, EveryRegisteredNameCreatesAnObjectOfThatName) {
    std::vector<std::string> names;
    for (const auto& [name, registration] : Core::ClassRegistry::GetInstance().GetEntries()) {
        names.emplace_back(name);
    }
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        Core::Object* object = CreateObjectByName(name.c_str());
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->GetReferenceCount(), 0u) << name;
        EXPECT_EQ(name, object->GetType());
        delete object;
    }
}
