#include "shared/memory_registry.h"
#include "shared/settings_suite.h"
#include "store/settings_change.h"

#include <set>
#include <string>

namespace pausora::test {
namespace {

class MemoryBackdoor final : public RegistryBackdoor {
  public:
    IRegistry& Registry() override { return m_registry; }
    void Reset() override { m_registry = MemoryRegistry{}; }
    bool KeyExists(std::string_view path) override { return m_registry.KeyExists(path); }
    void CreateKey(std::string_view path) override { m_registry.CreateKeyPath(path); }
    void SetRaw(std::string_view path, std::string_view name, RawType type,
                std::vector<std::uint8_t> bytes) override {
        m_registry.SetRaw(path, name, static_cast<MemoryRegistry::Type>(type), std::move(bytes));
    }
    std::optional<RawValue> Raw(std::string_view path, std::string_view name) override {
        const auto raw = m_registry.Raw(path, name);
        if (!raw) {
            return std::nullopt;
        }
        return RawValue{static_cast<RawType>(raw->type), raw->bytes};
    }
    std::size_t ValueCount(std::string_view path) override { return m_registry.ValueCount(path); }

  private:
    MemoryRegistry m_registry;
};

INSTANTIATE_TYPED_TEST_SUITE_P(InMemory, SettingsStoreTest, MemoryBackdoor);

// A save is true only when every value went in: the settings, the Run value
// (written or, with start-up off, taken away) and the points.
TEST(SettingsRecord, ASaveSaysWhetherItWentIn) {
    for (const std::uint32_t runAtStartup : {0u, 1u}) {
        for (const std::string_view readOnly : {reg::kSettingsKey, reg::kRunKey}) {
            SCOPED_TRACE(std::string(readOnly) + " " + std::to_string(runAtStartup));
            MemoryRegistry registry;
            STimeSettings settings;
            settings.RestoreDefaults("C:\\Windows");
            settings.RunAtStartup = 1;
            EXPECT_TRUE(settings.SaveSettings(registry, "C:\\Pausora\\"));
            settings.RunAtStartup = runAtStartup;
            EXPECT_TRUE(settings.SaveSettings(registry, "C:\\Pausora\\"));
            EXPECT_TRUE(settings.SaveSettings(registry, "C:\\Pausora\\"));  // nothing to delete
            EXPECT_TRUE(settings.SaveBonus(registry));
            registry.MakeReadOnly(readOnly);
            settings.RunAtStartup = 1 - runAtStartup;  // the Run value must change
            EXPECT_FALSE(settings.SaveSettings(registry, "C:\\Pausora\\"));
            EXPECT_EQ(settings.SaveBonus(registry), readOnly != reg::kSettingsKey);
        }
    }
}

TEST(SettingsRecord, RestoreDefaultsResetsEverythingAndTouchesNoRegistry) {
    STimeSettings settings;
    settings.Bonus = 99;
    settings.AppearanceType = 0;
    settings.RunAtStartup = 0;
    settings.UseSounds = 0;
    settings.QuietWhenBusy = 0;
    settings.RestoreDefaults("X:");
    STimeSettings expected;
    expected.MicropauseSound = expected.RepeatMicropauseSound = expected.PauseSound =
        expected.RepeatPauseSound = "X:\\Media\\ding.wav";
    expected.EndMicropauseSound = expected.EndPauseSound = "X:\\Media\\chimes.wav";
    expected.WorkTimeSound = "X:\\Media\\tada.wav";
    expected.TimeLimitSound = "X:\\Media\\notify.wav";
    EXPECT_EQ(settings, expected);
}

TEST(SettingsRecord, KeysAndValueNamesIgnoreCaseLikeTheRealRegistry) {
    MemoryRegistry registry;
    registry.SetRaw("SOFTWARE\\PAUSORA\\timesettings", "micropause", MemoryRegistry::Type::kDword,
                    {0x2C, 0x01, 0, 0});
    STimeSettings settings;
    ASSERT_TRUE(settings.ReloadSettings(registry));
    EXPECT_EQ(settings.Micropause, 300u);
}

TEST(SettingsRecord, AKeyDeletedBehindAnOpenHandleFailsEveryOperation) {
    MemoryRegistry registry;
    auto key = registry.NewKey();
    ASSERT_TRUE(key->Create("Software\\Pausora"));
    registry.CreateKeyPath("Software\\Pausora\\TimeSettings");
    registry.CreateKeyPath("Software\\PausoraOther");
    registry.DeleteKeyTree("software\\pausora");
    EXPECT_FALSE(registry.KeyExists("Software\\Pausora\\TimeSettings"));
    EXPECT_TRUE(registry.KeyExists("Software\\PausoraOther"));
    EXPECT_FALSE(key->WriteDword("Bonus", 1));
    EXPECT_FALSE(registry.KeyExists("Software\\Pausora"));
    EXPECT_TRUE(registry.KeyExists("Software"));
}

// What the settings window hands over is what the user edited: applied to the
// live record, it leaves what changed there meanwhile (a tray switch, the
// points) as it is.
TEST(SettingsChange, CarriesTheEditedValuesOnlyAndNeverThePoints) {
    STimeSettings opened;
    opened.RestoreDefaults("C:\\Windows");
    STimeSettings edited = opened;
    edited.RunAtStartup = 0;
    edited.Micropause = 300;
    edited.EndPauseSound = "D:\\gong.wav";
    edited.KeepHistory = 0;
    edited.Bonus = 7;  // as an older copy would hold them
    const SettingsChange change = SettingsChange::Between(opened, edited);
    EXPECT_EQ(change.Names(), (std::vector<std::string_view>{"RunAtStartup", "Micropause",
                                                             "KeepHistory", "EndPauseSound"}));

    STimeSettings live = opened;
    live.UseSounds = 0;
    live.Bonus = 150;
    change.ApplyTo(live);
    STimeSettings expected = edited;
    expected.UseSounds = 0;
    expected.Bonus = 150;
    EXPECT_EQ(live, expected);

    // One value refused by its name; the others still go in.
    live = opened;
    change.ApplyTo(live, [](std::string_view name) { return name == "Micropause"; });
    EXPECT_EQ(live.Micropause, 420u);
    EXPECT_EQ(live.KeepHistory, 0u);
    EXPECT_EQ(live.EndPauseSound, "D:\\gong.wav");
}

// A value saved but out of reach of a change would be lost at every OK: every
// value SaveSettings writes is there, and the Run value, but never Bonus.
TEST(SettingsChange, ReachesEverySavedValueButThePoints) {
    std::set<std::string_view> names;
    for (const SettingsValue& value : UserValues()) {
        names.insert(value.name);
    }
    EXPECT_EQ(names.size(), kSettingsValueCount);
    EXPECT_EQ(names.count("Bonus"), 0u);
    EXPECT_EQ(names.count("RunAtStartup"), 1u);
}

// Every write is a trip to the registry server that start-up waits for.
TEST(Startup, AnOrdinaryStartWritesEachValueOnce) {
    MemoryRegistry registry;
    ScriptedWizards first;
    PrepareSettings(registry, kRoot, kProgramFolder, first);
    const std::size_t before = registry.WriteCount();
    ScriptedWizards again;
    PrepareSettings(registry, kRoot, kProgramFolder, again);
    EXPECT_EQ(registry.WriteCount() - before, kSettingsValueCount + 1);  // and the Run value
}

TEST(Startup, AStartWhoseSaveFailedSaysSoAndKeepsWhatItRead) {
    MemoryRegistry registry;
    ScriptedWizards first;
    EXPECT_TRUE(PrepareSettings(registry, kRoot, kProgramFolder, first).saved);
    registry.SetRaw(reg::kSettingsKey, "Micropause", MemoryRegistry::Type::kDword, {60, 0, 0, 0});
    registry.MakeReadOnly(reg::kSettingsKey);
    ScriptedWizards again;
    const StartupResult result = PrepareSettings(registry, kRoot, kProgramFolder, again);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.settings.Micropause, 60u);
}

}  // namespace
}  // namespace pausora::test
