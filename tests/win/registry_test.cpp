#include "shared/settings_suite.h"
#include "shared/win_backdoor.h"

namespace pausora::test {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(WindowsRegistry, SettingsStoreTest, WinBackdoor);

class RegistryKeyTest : public ::testing::Test {
  protected:
    void SetUp() override { m_store.Reset(); }
    void TearDown() override { m_store.Reset(); }
    WinBackdoor m_store;
};

TEST_F(RegistryKeyTest, StringsAreStoredWithoutTerminatorAndReadBackWhole) {
    CRegistryKey key;
    ASSERT_TRUE(key.Create("Software\\Pausora"));
    ASSERT_TRUE(key.WriteString("Path", "C:\\x.wav"));
    std::string text = "stale";
    EXPECT_TRUE(key.ReadString("Path", text));
    EXPECT_EQ(text, "C:\\x.wav");

    // An empty value reads as success with empty text; a missing one fails
    // and still empties the output.
    ASSERT_TRUE(key.WriteString("Empty", ""));
    text = "stale";
    EXPECT_TRUE(key.ReadString("Empty", text));
    EXPECT_EQ(text, "");
    text = "stale";
    EXPECT_FALSE(key.ReadString("Missing", text));
    EXPECT_EQ(text, "");
}

TEST_F(RegistryKeyTest, DwordsRejectLongerValuesAndIgnoreTheStoredType) {
    m_store.SetRaw("Software\\Pausora", "Long", RawType::kBinary, {1, 2, 3, 4, 5});
    m_store.SetRaw("Software\\Pausora", "Short", RawType::kBinary, {0x34, 0x12});
    CRegistryKey key;
    ASSERT_TRUE(key.Open("Software\\Pausora"));
    std::uint32_t value = 99;
    EXPECT_FALSE(key.ReadDword("Long", value));
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(key.ReadDword("Short", value));
    EXPECT_EQ(value, 0x1234u);
}

TEST_F(RegistryKeyTest, ClosedOrMissingKeysFailQuietly) {
    CRegistryKey key;
    EXPECT_FALSE(key.Open("Software\\Pausora\\Nowhere"));
    EXPECT_FALSE(key.IsOpen());
    std::uint32_t value = 5;
    EXPECT_FALSE(key.ReadDword("Bonus", value));
    EXPECT_FALSE(key.WriteDword("Bonus", 1));
    EXPECT_FALSE(key.DeleteValue("Bonus"));
    key.Close();  // closing twice is harmless
    key.Close();
}

}  // namespace
}  // namespace pausora::test
