// Settings set by policy: which of the machine's, the user's and the user's
// own value counts, which policy values are not obeyed, and what the user's
// own registry keeps.
#include "shared/memory_registry.h"
#include "store/settings_policy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace pausora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Type = MemoryRegistry::Type;

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

struct Registries {
    MemoryRegistry machine;
    MemoryRegistry user;  // its policy key and the user's own values

    void Policy(MemoryRegistry& registry, std::string_view name, std::uint32_t value) {
        registry.SetRaw(reg::kPolicyKey, name, Type::kDword, DwordBytes(value));
    }
    SettingsPolicy Read() {
        SettingsPolicy policy;
        policy.Read(machine, user);
        return policy;
    }
};

// A value of each source, or none: the machine's policy, the user's policy
// and the user's own value of "Micropause".
TEST(Policy, TheMachineBeatsTheUserWhoBeatsTheUsersOwnAndABadValueIsPassedOver) {
    constexpr std::uint32_t kOwn = 600;
    struct Row {
        const char* what;
        std::optional<std::uint32_t> machine, user;
        std::uint32_t effective;
    };
    const Row rows[] = {
        {"no policy", {}, {}, kOwn},
        {"the user's policy", {}, 300, 300},
        {"both policies", 120, 300, 120},
        {"out of the pages' range", 3600, 300, 300},
        {"neither in range", 3600, 5000, kOwn},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Registries r;
        r.user.SetRaw(reg::kSettingsKey, "Micropause", Type::kDword, DwordBytes(kOwn));
        if (row.machine) {
            r.Policy(r.machine, "Micropause", *row.machine);
        }
        if (row.user) {
            r.Policy(r.user, "Micropause", *row.user);
        }
        STimeSettings settings;
        settings.Micropause = kOwn;
        const SettingsPolicy policy = r.Read();
        policy.Apply(settings);
        EXPECT_EQ(settings.Micropause, row.effective);
        EXPECT_EQ(policy.Sets("Micropause"), row.effective != kOwn);

        // The save leaves what the policy set; the user's own value stays.
        settings.Pause = 1800;
        EXPECT_TRUE(settings.SaveSettings(r.user, "C:\\P\\", policy.Names()));
        EXPECT_EQ(r.user.Dword(reg::kSettingsKey, "Micropause"), kOwn);
        EXPECT_EQ(r.user.Dword(reg::kSettingsKey, "Pause"), 1800u);
        // And when the policy goes, it is the user's again.
        RestoreOwnValues(r.user, policy.Names(), settings);
        EXPECT_EQ(settings.Micropause, kOwn);
    }
}

TEST(Policy, OnlyValuesOfTheRightTypeAndRangeAreObeyed) {
    Registries r;
    r.machine.SetRaw(reg::kPolicyKey, "Pause", Type::kString, {'6', '0', 0});
    r.machine.SetRaw(reg::kPolicyKey, "UseSounds", Type::kDword, {1, 0});  // two bytes
    r.Policy(r.machine, "StartWorkTime_hours", 24);
    r.Policy(r.machine, "UsePauses", 2);
    r.Policy(r.machine, "Bonus", 5000);  // a count, not a setting
    r.Policy(r.machine, "EndWorkTime_hours", 16);
    r.machine.SetRaw(reg::kPolicyKey, "PauseSound", Type::kString,
                     {'C', ':', '\\', 'a', '.', 'w', 'a', 'v', 0});
    r.machine.SetRaw(reg::kPolicyKey, "EndPauseSound", Type::kDword, DwordBytes(1));
    auto key = r.machine.NewKey();
    ASSERT_TRUE(key->Open(reg::kPolicyKey));
    ASSERT_TRUE(key->WriteMultiString("QuietPrograms", {"zoom.exe", "obs64.exe"}));
    ASSERT_TRUE(key->WriteString("KeepHistory", "0"));
    ASSERT_TRUE(key->WriteString("Language", "xx-YY"));  // not one of ours
    EXPECT_THAT(r.Read().Names(), ElementsAre("EndWorkTime_hours", "PauseSound", "QuietPrograms"));
    STimeSettings settings;
    r.Read().Apply(settings);
    EXPECT_EQ(settings.EndWorkTime_hours, 16u);
    EXPECT_EQ(settings.PauseSound, "C:\\a.wav");
    EXPECT_THAT(settings.QuietPrograms, ElementsAre("zoom.exe", "obs64.exe"));
    EXPECT_EQ(settings.Bonus, 0u);
}

TEST(Policy, ExitStopAndTheUpdateCheck) {
    Registries r;
    SettingsPolicy policy = r.Read();
    EXPECT_TRUE(policy.AllowExit());
    EXPECT_TRUE(policy.AllowStop());
    EXPECT_THAT(policy.Names(), IsEmpty());

    r.Policy(r.user, reg::kAllowExit, 0);
    r.Policy(r.user, reg::kAllowStop, 0);
    r.Policy(r.machine, reg::kAllowStop, 1);  // the machine's word is the last
    r.Policy(r.machine, reg::kUpdateCheck, 0);
    r.Policy(r.user, "CheckForUpdates", 1);
    policy = r.Read();
    EXPECT_FALSE(policy.AllowExit());
    EXPECT_TRUE(policy.AllowStop());
    STimeSettings settings;
    policy.Apply(settings);
    EXPECT_EQ(settings.CheckForUpdates, 0u);
    EXPECT_TRUE(policy.Sets("CheckForUpdates"));

    r.Policy(r.user, reg::kAllowExit, 7);  // neither: not obeyed
    EXPECT_TRUE(r.Read().AllowExit());
}

}  // namespace
}  // namespace pausora
