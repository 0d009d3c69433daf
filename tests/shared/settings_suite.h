// The settings store's behaviour, written once and run against every
// registry the program can meet (instantiated per store by each test program).
#pragma once

#include "app/startup.h"
#include "store/languages.h"
#include "store/time_settings.h"
#include "shared/registry_backdoor.h"

#include <gtest/gtest.h>

#include <string>

namespace pausora::test {

inline constexpr std::string_view kRoot = "C:\\WINDOWS";
inline constexpr std::string_view kProgramFolder = "D:\\Apps\\Pausora\\";

class ScriptedWizards final : public IStartupWizards {
  public:
    bool askForWorkplace = false;
    std::uint32_t shortBreakInterval = 0;  // what the user enters, 0 = untouched
    int initialRuns = 0;
    int workplaceRuns = 0;
    bool RunInitialSetup(STimeSettings& settings, const SettingsPolicy& /*policy*/) override {
        ++initialRuns;
        if (shortBreakInterval != 0) {
            settings.Micropause = shortBreakInterval;
        }
        return askForWorkplace;
    }
    void RunWorkplaceSetup() override { ++workplaceRuns; }
};

template <typename Backdoor>
class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { m_store.Reset(); }
    void TearDown() override { m_store.Reset(); }

    std::string Sound(std::string_view name) {
        return m_store.String(reg::kSettingsKey, name).value_or("<missing>");
    }

    Backdoor m_store;
};

TYPED_TEST_SUITE_P(SettingsStoreTest);

TYPED_TEST_P(SettingsStoreTest, FirstStartWritesMarkerDefaultsAndRunValue) {
    auto& store = this->m_store;
    store.SetString(reg::kAppKey, reg::kInstallDir, "C:\\Program Files\\Pausora\\");
    ScriptedWizards wizards;
    const StartupResult result = PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards);

    EXPECT_TRUE(result.firstUse);
    EXPECT_EQ(wizards.initialRuns, 1);
    EXPECT_EQ(store.String(reg::kAppKey, reg::kFirstUse), "1");
    EXPECT_EQ(store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
    const std::pair<std::string_view, std::uint32_t> expected[] = {
        {"StartWorkTime_hours", 9},
        {"StartWorkTime_minutes", 0},
        {"EndWorkTime_hours", 17},
        {"EndWorkTime_minutes", 0},
        {"Micropause", 420},
        {"Micropause_length", 11},
        {"Pause", 3600},
        {"Pause_length", 600},
        {"DailyTimeLimit", 21600},
        {"WeeklyTimeLimit", 122400},
        {"UseMicropauses", 1},
        {"UsePauses", 1},
        {"UseWorkingTime", 1},
        {"UseDailyTimeLimit", 1},
        {"UseWeeklyTimeLimit", 0},
        {"CheckForUpdates", 1},
        {"UseSounds", 1},
        {"Bonus", 0},
        {"AppearanceType", 1},
        {"UseTimeReset", 0},
        {"QuietWhenBusy", 1},
        {"KeepHistory", 1},
        {"IconCountdown", 0},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(store.Dword(reg::kSettingsKey, name), value) << name;
    }
    EXPECT_EQ(store.String(reg::kSettingsKey, "Language"), "");  // Windows' choice
    EXPECT_EQ(this->Sound("MicropauseSound"), "C:\\WINDOWS\\Media\\ding.wav");
    EXPECT_EQ(this->Sound("RepeatMicropauseSound"), "C:\\WINDOWS\\Media\\ding.wav");
    EXPECT_EQ(this->Sound("EndMicropauseSound"), "C:\\WINDOWS\\Media\\chimes.wav");
    EXPECT_EQ(this->Sound("PauseSound"), "C:\\WINDOWS\\Media\\ding.wav");
    EXPECT_EQ(this->Sound("RepeatPauseSound"), "C:\\WINDOWS\\Media\\ding.wav");
    EXPECT_EQ(this->Sound("EndPauseSound"), "C:\\WINDOWS\\Media\\chimes.wav");
    EXPECT_EQ(this->Sound("WorkTimeSound"), "C:\\WINDOWS\\Media\\tada.wav");
    EXPECT_EQ(this->Sound("TimeLimitSound"), "C:\\WINDOWS\\Media\\notify.wav");
    EXPECT_EQ(store.String(reg::kRunKey, reg::kRunValue),
              "\"C:\\Program Files\\Pausora\\Pausora.exe\"");
    const auto programs = store.Raw(reg::kSettingsKey, "QuietPrograms");
    ASSERT_TRUE(programs.has_value());
    EXPECT_EQ(programs->type, RawType::kMultiString);
    EXPECT_EQ(programs->bytes, std::vector<std::uint8_t>(2, 0));  // an empty list

    ScriptedWizards again;
    EXPECT_FALSE(PrepareSettings(store.Registry(), kRoot, kProgramFolder, again).firstUse);
    EXPECT_EQ(again.initialRuns, 0);
}

TYPED_TEST_P(SettingsStoreTest, MissingValuesTakeTheLoadFallbackAndAreWrittenBack) {
    auto& store = this->m_store;
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    store.SetDword(reg::kSettingsKey, "Micropause", 300);
    store.SetString(reg::kSettingsKey, "PauseSound", "D:\\sounds\\bell.wav");
    ScriptedWizards wizards;
    const StartupResult result = PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards);

    EXPECT_FALSE(result.firstUse);
    EXPECT_EQ(result.settings.Micropause, 300u);
    EXPECT_EQ(result.settings.AppearanceType, 0u);  // present key, missing value: Motion
    EXPECT_EQ(result.settings.QuietWhenBusy, 1u);   // but quiet while busy: on
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "QuietWhenBusy"), 1u);
    EXPECT_EQ(result.settings.Pause, 3600u);
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "AppearanceType"), 0u);
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Micropause"), 300u);
    EXPECT_EQ(this->Sound("PauseSound"), "D:\\sounds\\bell.wav");
    EXPECT_EQ(this->Sound("MicropauseSound"), "C:\\WINDOWS\\Media\\chimes.wav");
    EXPECT_EQ(this->Sound("TimeLimitSound"), "C:\\WINDOWS\\Media\\chimes.wav");
    EXPECT_EQ(store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
    // No installation folder: the program is named where it runs from.
    EXPECT_EQ(store.String(reg::kRunKey, reg::kRunValue), "\"D:\\Apps\\Pausora\\Pausora.exe\"");
}

TYPED_TEST_P(SettingsStoreTest, TheRunValueNamesTheProgramWhateverTheFolderLooksLike) {
    auto& store = this->m_store;
    STimeSettings settings;
    settings.RestoreDefaults(kRoot);
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"C:\\Tools\\Pausora", "\"C:\\Tools\\Pausora\\Pausora.exe\""},  // no separator
        {"C:\\Tools\\Pausora\\", "\"C:\\Tools\\Pausora\\Pausora.exe\""},
        {"C:/Tools/", "\"C:/Tools/Pausora.exe\""},
        {"", "\"D:\\Apps\\Pausora\\Pausora.exe\""},  // empty: where it runs from
    };
    for (const auto& [installDir, expected] : cases) {
        store.SetString(reg::kAppKey, reg::kInstallDir, installDir);
        settings.SaveSettings(store.Registry(), kProgramFolder);
        EXPECT_EQ(store.String(reg::kRunKey, reg::kRunValue), expected) << installDir;
    }
    // Neither folder known: the bare name, as before.
    store.SetString(reg::kAppKey, reg::kInstallDir, "");
    settings.SaveSettings(store.Registry(), "");
    EXPECT_EQ(store.String(reg::kRunKey, reg::kRunValue), "\"Pausora.exe\"");
}

TYPED_TEST_P(SettingsStoreTest, GarbageValuesNeverBreakLoading) {
    auto& store = this->m_store;
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    // Too long for a number, a number stored as text, a path stored as
    // binary without its terminator, and a path far larger than any real one.
    store.SetRaw(reg::kSettingsKey, "Pause", RawType::kBinary, std::vector<std::uint8_t>(8, 0xFF));
    store.SetString(reg::kSettingsKey, "Micropause", "abc");
    store.SetRaw(reg::kSettingsKey, "EndPauseSound", RawType::kBinary,
                 {'C', ':', '\\', 'a', '.', 'w', 'a', 'v'});
    store.SetRaw(reg::kSettingsKey, "WorkTimeSound", RawType::kBinary,
                 std::vector<std::uint8_t>(kMaxRegistryValueBytes + 1, 'x'));
    store.SetRaw(reg::kSettingsKey, "Bonus", RawType::kBinary, {});
    store.SetString(reg::kSettingsKey, "QuietWhenBusy", "");
    ScriptedWizards wizards;
    const StartupResult result = PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards);

    EXPECT_EQ(result.settings.Pause, 3600u);
    EXPECT_EQ(result.settings.EndPauseSound, "C:\\a.wav");
    EXPECT_EQ(result.settings.WorkTimeSound, "C:\\WINDOWS\\Media\\chimes.wav");
    EXPECT_EQ(result.settings.Bonus, 0u);
    // Whatever was made of them, every value is clean and typed again.
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Pause"), 3600u);
    EXPECT_TRUE(store.Dword(reg::kSettingsKey, "Micropause").has_value());
    EXPECT_TRUE(store.Dword(reg::kSettingsKey, "QuietWhenBusy").has_value());
    EXPECT_EQ(this->Sound("WorkTimeSound"), "C:\\WINDOWS\\Media\\chimes.wav");
    EXPECT_EQ(store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
}

TYPED_TEST_P(SettingsStoreTest, ReloadReadsWithoutFallbacksAndSeesTheRunValue) {
    auto& store = this->m_store;
    STimeSettings settings;
    settings.Micropause = 77;
    EXPECT_FALSE(settings.ReloadSettings(store.Registry()));
    EXPECT_EQ(settings.Micropause, 77u);  // unchanged when the key is missing

    store.SetDword(reg::kSettingsKey, "Pause", 1800);
    EXPECT_TRUE(settings.ReloadSettings(store.Registry()));
    EXPECT_EQ(settings.Pause, 1800u);
    EXPECT_EQ(settings.Micropause, 0u);
    EXPECT_EQ(settings.EndWorkTime_hours, 0u);
    EXPECT_EQ(settings.MicropauseSound, "");
    EXPECT_EQ(settings.RunAtStartup, 0u);

    store.SetString(reg::kRunKey, reg::kRunValue, "x");
    EXPECT_TRUE(settings.ReloadSettings(store.Registry()));
    EXPECT_EQ(settings.RunAtStartup, 1u);
}

TYPED_TEST_P(SettingsStoreTest, StartWithWindowsIsClearedBySaveAndForcedBackByLoad) {
    auto& store = this->m_store;
    STimeSettings settings;
    settings.RestoreDefaults(kRoot);
    settings.SaveSettings(store.Registry(), kProgramFolder);
    ASSERT_TRUE(store.String(reg::kRunKey, reg::kRunValue).has_value());

    settings.RunAtStartup = 0;
    settings.SaveSettings(store.Registry(), kProgramFolder);
    EXPECT_FALSE(store.Raw(reg::kRunKey, reg::kRunValue).has_value());
    STimeSettings reloaded;
    ASSERT_TRUE(reloaded.ReloadSettings(store.Registry()));
    EXPECT_EQ(reloaded, settings);  // every field, the cleared flag included

    STimeSettings loaded;
    loaded.LoadSettings(store.Registry(), kRoot, kProgramFolder);
    EXPECT_EQ(loaded.RunAtStartup, 1u);
    EXPECT_TRUE(store.String(reg::kRunKey, reg::kRunValue).has_value());
}

TYPED_TEST_P(SettingsStoreTest, SaveBonusWritesOnlyTheBonus) {
    auto& store = this->m_store;
    STimeSettings settings;
    settings.Bonus = 42;
    settings.Micropause = 5;
    settings.SaveBonus(store.Registry());
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Bonus"), 42u);
    EXPECT_EQ(store.ValueCount(reg::kSettingsKey), 1u);
    EXPECT_FALSE(store.Raw(reg::kRunKey, reg::kRunValue).has_value());
}

TYPED_TEST_P(SettingsStoreTest, WizardEditsAreSavedEvenWhenCancelledAndTheSecondWizardFollows) {
    auto& store = this->m_store;
    ScriptedWizards wizards;
    wizards.shortBreakInterval = 900;  // entered, then the wizard was cancelled
    PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards);
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Micropause"), 900u);
    EXPECT_EQ(wizards.workplaceRuns, 0);

    store.Reset();
    ScriptedWizards both;
    both.askForWorkplace = true;
    PrepareSettings(store.Registry(), kRoot, kProgramFolder, both);
    EXPECT_EQ(both.workplaceRuns, 1);
}

// A QWORD is read only as eight bytes of its own type; anything else is
// no value at all, and the number read is 0.
TYPED_TEST_P(SettingsStoreTest, QwordsReadOnlyAsEightBytesOfTheirOwnType) {
    auto& store = this->m_store;
    const std::vector<std::uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 0x80};
    store.SetRaw(reg::kAppKey, "Dword", RawType::kDword, {1, 2, 3, 4});
    store.SetRaw(reg::kAppKey, "Binary", RawType::kBinary, eight);
    store.SetRaw(reg::kAppKey, "Short", RawType::kQword, {1, 2, 3, 4, 5, 6, 7});
    store.SetRaw(reg::kAppKey, "Long", RawType::kQword, std::vector<std::uint8_t>(9, 1));
    store.SetRaw(reg::kAppKey, "Right", RawType::kQword, eight);
    auto key = store.Registry().NewKey();
    ASSERT_TRUE(key->Open(reg::kAppKey));
    std::uint64_t value = 7;
    for (const char* name : {"Dword", "Binary", "Short", "Long", "Missing"}) {
        EXPECT_FALSE(key->ReadQword(name, value)) << name;
        EXPECT_EQ(value, 0u) << name;
    }
    EXPECT_TRUE(key->ReadQword("Right", value));
    EXPECT_EQ(value, 0x8007060504030201ull);
    ASSERT_TRUE(key->WriteQword("Written", ~std::uint64_t{0}));
    EXPECT_TRUE(key->ReadQword("Written", value));
    EXPECT_EQ(value, ~std::uint64_t{0});
    const auto raw = store.Raw(reg::kAppKey, "Written");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, RawType::kQword);
    EXPECT_EQ(raw->bytes, std::vector<std::uint8_t>(8, 0xFF));
}

// UTF-16 units as the registry keeps them, low byte first.
inline std::vector<std::uint8_t> Units(std::u16string_view units) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// A list of names round-trips as UTF-8; a value damaged in any way reads as
// no list, and loading writes a clean one in its place.
TYPED_TEST_P(SettingsStoreTest, MultiStringsRoundTripAndDamagedOnesReadAsEmpty) {
    using namespace std::string_view_literals;
    using Names = std::vector<std::string>;
    auto& store = this->m_store;
    store.CreateKey(reg::kAppKey);
    auto key = store.Registry().NewKey();
    ASSERT_TRUE(key->Open(reg::kAppKey));
    Names names;
    ASSERT_TRUE(key->WriteMultiString("Written", {"zoom.exe", "",
                                                  "T\xc3\xa9"
                                                  "ams \xe2\x82\xac"}));
    EXPECT_TRUE(key->ReadMultiString("Written", names));
    EXPECT_EQ(names, (Names{"zoom.exe",
                            "T\xc3\xa9"
                            "ams \xe2\x82\xac"}));
    EXPECT_EQ(store.Raw(reg::kAppKey, "Written")->bytes,
              Units(u"zoom.exe\0T\u00e9ams \u20ac\0\0"sv));

    const struct {
        const char* name;
        RawType type;
        std::vector<std::uint8_t> bytes;
        bool read;
        Names names;
    } cases[] = {
        {"Plain", RawType::kMultiString, Units(u"a\0bc\0\0"sv), true, {"a", "bc"}},
        {"Nothing", RawType::kMultiString, {}, true, {}},
        {"LoneZero", RawType::kMultiString, Units(u"\0"sv), true, {}},
        {"StopsAtEmpty", RawType::kMultiString, Units(u"a\0\0b\0\0"sv), true, {"a"}},
        {"OddSize", RawType::kMultiString, {'a', 0, 0, 0, 0}, false, {}},
        {"NoListEnd", RawType::kMultiString, Units(u"a\0b\0"sv), false, {}},
        {"NoEnd", RawType::kMultiString, Units(u"ab"sv), false, {}},
        {"Text", RawType::kString, {'a', 0, 0}, false, {}},
        {"Huge",
         RawType::kMultiString,
         std::vector<std::uint8_t>(kMaxRegistryValueBytes + 2, 0),
         false,
         {}},
    };
    for (const auto& c : cases) {
        store.SetRaw(reg::kAppKey, c.name, c.type, c.bytes);
        names = {"stale"};
        EXPECT_EQ(key->ReadMultiString(c.name, names), c.read) << c.name;
        EXPECT_EQ(names, c.names) << c.name;
    }

    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    store.SetRaw(reg::kSettingsKey, "QuietPrograms", RawType::kMultiString, {'z', 0, 0});
    ScriptedWizards wizards;
    EXPECT_TRUE(PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards)
                    .settings.QuietPrograms.empty());
    EXPECT_EQ(store.Raw(reg::kSettingsKey, "QuietPrograms")->bytes, Units(u"\0"sv));
    STimeSettings settings;
    settings.QuietPrograms = {"obs64.exe", "zoom"};
    settings.SaveSettings(store.Registry(), kProgramFolder);
    STimeSettings reloaded;
    ASSERT_TRUE(reloaded.ReloadSettings(store.Registry()));
    EXPECT_EQ(reloaded.QuietPrograms, settings.QuietPrograms);
}

TYPED_TEST_P(SettingsStoreTest, TheLanguageIsOneOfOursOrEmpty) {
    auto& store = this->m_store;
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    const struct {
        RawType type;
        std::vector<std::uint8_t> bytes;
        std::string_view read;
    } cases[] = {
        {RawType::kString, {'d', 'e', '-', 'D', 'E', 0}, "de-DE"},
        {RawType::kString, {'P', 'T', '-', 'b', 'r', 0}, "pt-BR"},  // any case
        {RawType::kString, {'x', 'x', '-', 'Y', 'Y', 0}, ""},       // not ours
        {RawType::kString, {'d', 'e', 0}, ""},                      // a part is not a name
        {RawType::kDword, {1, 0, 0, 0}, ""},
        {RawType::kBinary, std::vector<std::uint8_t>(kMaxRegistryValueBytes + 1, 'x'), ""},
    };
    for (const auto& c : cases) {
        store.SetRaw(reg::kSettingsKey, "Language", c.type, c.bytes);
        ScriptedWizards wizards;
        const StartupResult result =
            PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards);
        EXPECT_EQ(result.settings.Language, c.read) << c.read;
        // What start-up speaks: the stored language, or else Windows' choice.
        EXPECT_EQ(ResolveLanguage(result.settings.Language, {"uk-UA"}),
                  c.read.empty() ? "uk-UA" : c.read);
        EXPECT_EQ(store.String(reg::kSettingsKey, "Language"), c.read);  // written back clean
        STimeSettings reloaded;
        ASSERT_TRUE(reloaded.ReloadSettings(store.Registry()));
        EXPECT_EQ(reloaded, result.settings);
    }
    ScriptedWizards wizards;
    STimeSettings settings =
        PrepareSettings(store.Registry(), kRoot, kProgramFolder, wizards).settings;
    settings.Language = "ja-JP";
    ASSERT_TRUE(settings.SaveSettings(store.Registry(), kProgramFolder));
    STimeSettings reloaded;
    ASSERT_TRUE(reloaded.ReloadSettings(store.Registry()));
    EXPECT_EQ(reloaded.Language, "ja-JP");
    settings.RestoreDefaults(kRoot);
    EXPECT_EQ(settings.Language, "");
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreTest, FirstStartWritesMarkerDefaultsAndRunValue,
                            MissingValuesTakeTheLoadFallbackAndAreWrittenBack,
                            TheRunValueNamesTheProgramWhateverTheFolderLooksLike,
                            GarbageValuesNeverBreakLoading,
                            ReloadReadsWithoutFallbacksAndSeesTheRunValue,
                            StartWithWindowsIsClearedBySaveAndForcedBackByLoad,
                            SaveBonusWritesOnlyTheBonus,
                            WizardEditsAreSavedEvenWhenCancelledAndTheSecondWizardFollows,
                            QwordsReadOnlyAsEightBytesOfTheirOwnType,
                            MultiStringsRoundTripAndDamagedOnesReadAsEmpty,
                            TheLanguageIsOneOfOursOrEmpty);

}  // namespace pausora::test
