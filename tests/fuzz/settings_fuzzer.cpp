// Loads the settings record from a registry of arbitrary contents: each value
// of ours missing, of another type, shorter or longer than it should be, a
// number of any size, a text where a number belongs and the other way round,
// under another case of its name, or too large to read; the settings key or
// the program's key missing. The record must hold what each readable value
// says and the fallback of each other one; the registry must then hold the
// record exactly (every number as four bytes, every text as text, the Run
// value for the install folder), and loading again, or reloading, must give
// the same record and change nothing.
#include "shared/memory_registry.h"
#include "fuzz/require.h"
#include "store/time_settings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace pausora;
using Type = MemoryRegistry::Type;

using pausora::fuzz::Require;

struct Number {
    const char* name;
    std::uint32_t STimeSettings::*field;
    std::uint32_t fallback;
};
constexpr Number kNumbers[] = {
    {"StartWorkTime_hours", &STimeSettings::StartWorkTime_hours, 9},
    {"StartWorkTime_minutes", &STimeSettings::StartWorkTime_minutes, 0},
    {"EndWorkTime_hours", &STimeSettings::EndWorkTime_hours, 17},
    {"EndWorkTime_minutes", &STimeSettings::EndWorkTime_minutes, 0},
    {"Micropause", &STimeSettings::Micropause, 420},
    {"Micropause_length", &STimeSettings::Micropause_length, 11},
    {"Pause", &STimeSettings::Pause, 3600},
    {"Pause_length", &STimeSettings::Pause_length, 600},
    {"DailyTimeLimit", &STimeSettings::DailyTimeLimit, 21600},
    {"WeeklyTimeLimit", &STimeSettings::WeeklyTimeLimit, 122400},
    {"UseMicropauses", &STimeSettings::UseMicropauses, 1},
    {"UsePauses", &STimeSettings::UsePauses, 1},
    {"UseWorkingTime", &STimeSettings::UseWorkingTime, 1},
    {"UseDailyTimeLimit", &STimeSettings::UseDailyTimeLimit, 1},
    {"UseWeeklyTimeLimit", &STimeSettings::UseWeeklyTimeLimit, 0},
    {"CheckForUpdates", &STimeSettings::CheckForUpdates, 1},
    {"UseSounds", &STimeSettings::UseSounds, 1},
    {"Bonus", &STimeSettings::Bonus, 0},
    {"AppearanceType", &STimeSettings::AppearanceType, 0},
    {"UseTimeReset", &STimeSettings::UseTimeReset, 0},
    {"QuietWhenBusy", &STimeSettings::QuietWhenBusy, 1},
    {"KeepHistory", &STimeSettings::KeepHistory, 1},
    {"IconCountdown", &STimeSettings::IconCountdown, 0},
};
static_assert(std::size(kNumbers) + kSoundEventCount + 2 ==
              kSettingsValueCount);  // + the list and the language

// A value as the input makes it, or nothing.
std::optional<MemoryRegistry::Value> MakeValue(FuzzedDataProvider& input, bool oversized) {
    const Type types[] = {Type::kString, Type::kBinary, Type::kDword, Type::kMultiString};
    if (oversized) {  // too large to read at all
        return MemoryRegistry::Value{input.PickValueInArray(types),
                                     std::vector<std::uint8_t>(kMaxRegistryValueBytes + 1, 'x')};
    }
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return std::nullopt;
        case 1: {  // a proper number, of any size
            const std::uint32_t v = input.ConsumeIntegral<std::uint32_t>();
            return MemoryRegistry::Value{
                Type::kDword,
                {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                 static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)}};
        }
        case 2: {  // a text, with or without its zero, digits perhaps
            const std::string text = input.ConsumeRandomLengthString(40);
            std::vector<std::uint8_t> bytes(text.begin(), text.end());
            if (input.ConsumeBool()) {
                bytes.push_back(0);
            }
            return MemoryRegistry::Value{Type::kString, std::move(bytes)};
        }
        default: {  // a few bytes of any type
            const Type type = input.PickValueInArray(types);
            return MemoryRegistry::Value{
                type,
                input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 9))};
        }
    }
}

// The name as the input writes it: the registry ignores case.
std::string Cased(FuzzedDataProvider& input, std::string_view name) {
    std::string out(name);
    const std::uint32_t flips = input.ConsumeIntegral<std::uint32_t>();
    for (std::size_t i = 0; i < out.size() && i < 32; ++i) {
        if ((flips >> i) & 1u) {
            out[i] = static_cast<char>(std::islower(static_cast<unsigned char>(out[i]))
                                           ? std::toupper(static_cast<unsigned char>(out[i]))
                                           : std::tolower(static_cast<unsigned char>(out[i])));
        }
    }
    return out;
}

std::optional<std::uint32_t> AsNumber(const std::optional<MemoryRegistry::Value>& value) {
    return value ? MemoryRegistry::AsDword(*value) : std::nullopt;
}

std::optional<std::string> AsText(const std::optional<MemoryRegistry::Value>& value) {
    return value ? MemoryRegistry::AsString(*value) : std::nullopt;
}

std::vector<std::optional<MemoryRegistry::Value>> Everything(const MemoryRegistry& registry) {
    std::vector<std::optional<MemoryRegistry::Value>> values;
    for (const Number& n : kNumbers) {
        values.push_back(registry.Raw(reg::kSettingsKey, n.name));
    }
    for (const SoundEventInfo& sound : SoundEvents()) {
        values.push_back(registry.Raw(reg::kSettingsKey, sound.valueName));
    }
    values.push_back(registry.Raw(reg::kSettingsKey, "QuietPrograms"));
    values.push_back(registry.Raw(reg::kRunKey, reg::kRunValue));
    values.push_back(registry.Raw(reg::kAppKey, reg::kInstallDir));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MemoryRegistry registry;
    const bool settingsKey = input.ConsumeBool();
    if (settingsKey) {
        registry.CreateKeyPath(reg::kSettingsKey);
    }
    // At most one value too large to read: each costs a megabyte.
    const std::size_t oversized = input.ConsumeIntegralInRange<std::size_t>(0, 4095);
    std::vector<std::optional<MemoryRegistry::Value>> given;
    auto put = [&](std::string_view key, std::string_view name) {
        given.push_back(MakeValue(input, given.size() + 1 == oversized));
        if (given.back() && registry.KeyExists(key)) {
            registry.SetRaw(key, Cased(input, name), given.back()->type, given.back()->bytes);
        }
    };
    for (const Number& n : kNumbers) {
        put(reg::kSettingsKey, n.name);
    }
    for (const SoundEventInfo& sound : SoundEvents()) {
        put(reg::kSettingsKey, sound.valueName);
    }
    put(reg::kSettingsKey, "QuietPrograms");
    const bool listGiven =
        settingsKey && given.back().has_value() && given.back()->type == Type::kMultiString;
    if (input.ConsumeBool()) {
        registry.CreateKeyPath(reg::kAppKey);
    }
    put(reg::kAppKey, reg::kInstallDir);
    const std::optional<std::string> installDir =
        registry.KeyExists(reg::kAppKey) ? AsText(given.back()) : std::nullopt;
    if (input.ConsumeBool()) {
        registry.SetRaw(reg::kRunKey, reg::kRunValue, Type::kString, {'x'});
    }
    // Both come from the system as C strings: no zero inside.
    std::string systemRoot = input.ConsumeRandomLengthString(16);
    std::string programFolder = input.ConsumeRandomLengthString(16);
    std::erase(systemRoot, '\0');
    std::erase(programFolder, '\0');

    STimeSettings loaded;
    loaded.LoadSettings(registry, systemRoot, programFolder);

    // Each readable value as it was; each other its fallback.
    std::size_t i = 0;
    for (const Number& n : kNumbers) {
        const std::optional<std::uint32_t> v = settingsKey ? AsNumber(given[i]) : std::nullopt;
        Require(loaded.*n.field == v.value_or(n.fallback));
        ++i;
    }
    for (const SoundEventInfo& sound : SoundEvents()) {
        const std::optional<std::string> text = settingsKey ? AsText(given[i]) : std::nullopt;
        Require(loaded.SoundPath(static_cast<SoundEvent>(i - std::size(kNumbers))) ==
                text.value_or(systemRoot + std::string(sound.fallbackFile)));
        ++i;
    }
    Require(loaded.RunAtStartup == 1);
    // A list comes only from a multi-string, and holds no empty name.
    Require(listGiven || loaded.QuietPrograms.empty());
    Require(std::none_of(loaded.QuietPrograms.begin(), loaded.QuietPrograms.end(),
                         [](const std::string& name) { return name.empty(); }));

    // The registry now holds the record, in the types the program writes.
    Require(registry.ValueCount(reg::kSettingsKey) >= kSettingsValueCount);
    for (const Number& n : kNumbers) {
        const std::optional<MemoryRegistry::Value> v = registry.Raw(reg::kSettingsKey, n.name);
        Require(v && v->type == Type::kDword && v->bytes.size() == 4 &&
                AsNumber(v) == loaded.*n.field);
    }
    for (std::size_t s = 0; s < kSoundEventCount; ++s) {
        const std::optional<MemoryRegistry::Value> v =
            registry.Raw(reg::kSettingsKey, SoundEvents()[s].valueName);
        Require(v && v->type == Type::kString &&
                std::string(v->bytes.begin(), v->bytes.end()) ==
                    loaded.SoundPath(static_cast<SoundEvent>(s)));
    }
    {
        auto key = registry.NewKey();
        std::vector<std::string> written;
        Require(key->Open(reg::kSettingsKey) && key->ReadMultiString("QuietPrograms", written) &&
                written == loaded.QuietPrograms);
    }
    Require(registry.String(reg::kRunKey, reg::kRunValue) ==
            RunCommand(installDir.value_or(""), programFolder));

    // Loading again, or reloading, gives the same record and changes nothing.
    const auto after = Everything(registry);
    STimeSettings again;
    again.LoadSettings(registry, "elsewhere", programFolder);
    Require(again == loaded);
    Require(Everything(registry) == after);
    STimeSettings reloaded;
    reloaded.RestoreDefaults("elsewhere");
    reloaded.Bonus = 7;
    Require(reloaded.ReloadSettings(registry));
    Require(reloaded == loaded);

    return 0;
}
