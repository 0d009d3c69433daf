#include "store/time_settings.h"

#include "store/languages.h"

#include <algorithm>

namespace pausora {
namespace {

struct NumericField {
    std::string_view name;
    std::uint32_t STimeSettings::*field;
    std::uint32_t fallback;  // when the value cannot be read at load
    std::uint32_t factory;   // RestoreDefaults
    // What the pages can set: an administrator's value outside it is not
    // obeyed. A switch is 0 or 1.
    std::uint32_t least = 0;
    std::uint32_t most = 1;
};

// The pickers' ranges: "mm:ss" to 59:59, "HH:mm" to 23:59.
constexpr std::uint32_t kMinutesSecondsMost = 59 * 60 + 59;
constexpr std::uint32_t kHoursMinutesMost = 23 * 3600 + 59 * 60;

// In the order LoadSettings reads them.
constexpr NumericField kNumericFields[] = {
    {"Micropause", &STimeSettings::Micropause, 420, 420, 0, kMinutesSecondsMost},
    {"Pause", &STimeSettings::Pause, 3600, 3600, 0, kHoursMinutesMost},
    {"Micropause_length", &STimeSettings::Micropause_length, 11, 11, 0, kMinutesSecondsMost},
    {"Pause_length", &STimeSettings::Pause_length, 600, 600, 0, kHoursMinutesMost},
    {"DailyTimeLimit", &STimeSettings::DailyTimeLimit, 21600, 21600, 0, kHoursMinutesMost},
    {"WeeklyTimeLimit", &STimeSettings::WeeklyTimeLimit, 122400, 122400, 0, 7 * 24 * 3600},
    {"StartWorkTime_hours", &STimeSettings::StartWorkTime_hours, 9, 9, 0, 23},
    {"StartWorkTime_minutes", &STimeSettings::StartWorkTime_minutes, 0, 0, 0, 59},
    {"EndWorkTime_hours", &STimeSettings::EndWorkTime_hours, 17, 17, 0, 23},
    {"EndWorkTime_minutes", &STimeSettings::EndWorkTime_minutes, 0, 0, 0, 59},
    {"UseMicropauses", &STimeSettings::UseMicropauses, 1, 1},
    {"UsePauses", &STimeSettings::UsePauses, 1, 1},
    {"UseWorkingTime", &STimeSettings::UseWorkingTime, 1, 1},
    {"UseDailyTimeLimit", &STimeSettings::UseDailyTimeLimit, 1, 1},
    {"UseWeeklyTimeLimit", &STimeSettings::UseWeeklyTimeLimit, 0, 0},
    {"CheckForUpdates", &STimeSettings::CheckForUpdates, 1, 1},
    {"UseSounds", &STimeSettings::UseSounds, 1, 1},
    {"Bonus", &STimeSettings::Bonus, 0, 0, 0, 0xFFFFFFFF},
    // A key written before the fading notices existed has no value here; such
    // a user keeps the sliding ones they know. Fresh installs fade.
    {"AppearanceType", &STimeSettings::AppearanceType, 0, 1},
    {"UseTimeReset", &STimeSettings::UseTimeReset, 0, 0},
    // On unless the user turns it off, for keys written before it existed too.
    {"QuietWhenBusy", &STimeSettings::QuietWhenBusy, 1, 1},
    {"KeepHistory", &STimeSettings::KeepHistory, 1, 1},
    {"IconCountdown", &STimeSettings::IconCountdown, 0, 0},
};

// Lists of names, REG_MULTI_SZ; empty unless the user fills them.
struct ListField {
    std::string_view name;
    std::vector<std::string> STimeSettings::*field;
};

constexpr ListField kListFields[] = {
    {"QuietPrograms", &STimeSettings::QuietPrograms},
};

// The language, REG_SZ; empty (Windows' choice) unless the user picks one.
constexpr std::string_view kLanguageName = "Language";

// A language we do not speak, or a damaged value, reads as empty.
std::string LanguageOf(std::string_view stored) {
    return std::string(KnownLanguage(stored));
}

constexpr std::string_view kChimes = "\\Media\\chimes.wav";
constexpr std::string_view kDing = "\\Media\\ding.wav";

constexpr std::array<SoundEventInfo, kSoundEventCount> kSoundEvents = {{
    {"MicropauseSound", "Short break", kChimes, kDing},
    {"RepeatMicropauseSound", "Short break repeat", kChimes, kDing},
    {"EndMicropauseSound", "Short break end", kChimes, kChimes},
    {"PauseSound", "Long break", kChimes, kDing},
    {"RepeatPauseSound", "Long break repeat", kChimes, kDing},
    {"EndPauseSound", "Long break end", kChimes, kChimes},
    {"WorkTimeSound", "End of working time", kChimes, "\\Media\\tada.wav"},
    {"TimeLimitSound", "Daily time limit", kChimes, "\\Media\\notify.wav"},
}};

constexpr std::string STimeSettings::*kSoundFields[kSoundEventCount] = {
    &STimeSettings::MicropauseSound,    &STimeSettings::RepeatMicropauseSound,
    &STimeSettings::EndMicropauseSound, &STimeSettings::PauseSound,
    &STimeSettings::RepeatPauseSound,   &STimeSettings::EndPauseSound,
    &STimeSettings::WorkTimeSound,      &STimeSettings::TimeLimitSound,
};

// The installer writes a folder with its separator; a hand-made value may
// lack it, and "C:\ToolsPausora.exe" names nothing.
std::string WithSeparator(std::string_view folder) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    return path;
}

}  // namespace

const std::array<SoundEventInfo, kSoundEventCount>& SoundEvents() {
    return kSoundEvents;
}

std::vector<SettingsValue> UserValues() {
    std::vector<SettingsValue> values{{"RunAtStartup", &STimeSettings::RunAtStartup}};
    for (const NumericField& f : kNumericFields) {
        if (f.field != &STimeSettings::Bonus) {
            values.push_back({f.name, f.field});
        }
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        values.push_back({kSoundEvents[i].valueName, kSoundFields[i]});
    }
    for (const ListField& f : kListFields) {
        values.push_back({f.name, f.field});
    }
    values.push_back({kLanguageName, &STimeSettings::Language});
    return values;
}

std::string& STimeSettings::SoundPath(SoundEvent event) {
    return this->*kSoundFields[static_cast<std::size_t>(event)];
}

std::string RunCommand(std::string_view installDir, std::string_view programFolder) {
    return "\"" + WithSeparator(installDir.empty() ? programFolder : installDir) + "Pausora.exe\"";
}

std::string ReadInstallDir(IRegistry& registry) {
    std::string folder;
    const std::unique_ptr<IRegistryKey> key = registry.NewKey();
    if (key->Open(reg::kAppKey) && !key->ReadString(reg::kInstallDir, folder)) {
        folder.clear();
    }
    return WithSeparator(folder);
}

bool STimeSettings::LoadSettings(IRegistry& registry, std::string_view systemRoot,
                                 std::string_view programFolder) {
    auto key = registry.NewKey();
    key->Open(reg::kSettingsKey);  // on failure every read below fails
    RunAtStartup = 1;
    for (const NumericField& f : kNumericFields) {
        if (!key->ReadDword(f.name, this->*f.field)) {
            this->*f.field = f.fallback;
        }
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        std::string& path = this->*kSoundFields[i];
        if (!key->ReadString(kSoundEvents[i].valueName, path)) {
            path = std::string(systemRoot).append(kSoundEvents[i].fallbackFile);
        }
    }
    for (const ListField& f : kListFields) {
        key->ReadMultiString(f.name, this->*f.field);  // unreadable: empty
    }
    std::string language;
    key->ReadString(kLanguageName, language);  // unreadable: empty
    Language = LanguageOf(language);
    return SaveSettings(registry, programFolder);
}

bool STimeSettings::SaveSettings(IRegistry& registry, std::string_view programFolder,
                                 const std::vector<std::string_view>& leave) const {
    const auto left = [&leave](std::string_view name) {
        return std::find(leave.begin(), leave.end(), name) != leave.end();
    };
    auto key = registry.NewKey();
    bool saved = key->Open(reg::kSettingsKey) || key->Create(reg::kSettingsKey);
    for (const NumericField& f : kNumericFields) {
        if (!left(f.name)) {
            saved = key->WriteDword(f.name, this->*f.field) && saved;
        }
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        if (!left(kSoundEvents[i].valueName)) {
            saved = key->WriteString(kSoundEvents[i].valueName, this->*kSoundFields[i]) && saved;
        }
    }
    for (const ListField& f : kListFields) {
        if (!left(f.name)) {
            saved = key->WriteMultiString(f.name, this->*f.field) && saved;
        }
    }
    if (!left(kLanguageName)) {
        saved = key->WriteString(kLanguageName, Language) && saved;
    }
    key->Close();

    auto run = registry.NewKey();
    if (RunAtStartup == 1) {
        // A fresh profile may not have the Run key yet.
        run->Create(reg::kRunKey);
        saved =
            run->WriteString(reg::kRunValue, RunCommand(ReadInstallDir(registry), programFolder)) &&
            saved;
    } else if (run->Open(reg::kRunKey)) {
        // A value that is not there is as good as deleted.
        std::string existing;
        if (run->ReadString(reg::kRunValue, existing)) {
            saved = run->DeleteValue(reg::kRunValue) && saved;
        }
    }
    return saved;
}

void STimeSettings::RestoreDefaults(std::string_view systemRoot) {
    RunAtStartup = 1;
    for (const NumericField& f : kNumericFields) {
        this->*f.field = f.factory;
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        this->*kSoundFields[i] = std::string(systemRoot).append(kSoundEvents[i].defaultFile);
    }
    for (const ListField& f : kListFields) {
        (this->*f.field).clear();
    }
    Language.clear();
}

bool STimeSettings::ReloadSettings(IRegistry& registry) {
    auto key = registry.NewKey();
    if (!key->Open(reg::kSettingsKey)) {
        return false;
    }
    for (const NumericField& f : kNumericFields) {
        key->ReadDword(f.name, this->*f.field);  // an unreadable value reads as 0
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        key->ReadString(kSoundEvents[i].valueName, this->*kSoundFields[i]);
    }
    for (const ListField& f : kListFields) {
        key->ReadMultiString(f.name, this->*f.field);
    }
    std::string language;
    key->ReadString(kLanguageName, language);
    Language = LanguageOf(language);
    auto run = registry.NewKey();
    std::string command;
    RunAtStartup = run->Open(reg::kRunKey) && run->ReadString(reg::kRunValue, command) ? 1 : 0;
    return true;
}

std::vector<std::string_view> STimeSettings::ReadValid(IRegistryKey& key) {
    std::vector<std::string_view> read;
    for (const NumericField& f : kNumericFields) {
        std::uint32_t value = 0;
        if (f.field != &STimeSettings::Bonus && key.TypeOf(f.name) == RegistryType::kDword &&
            key.ReadDword(f.name, value) && value >= f.least && value <= f.most) {
            this->*f.field = value;
            read.push_back(f.name);
        }
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        std::string path;
        if (key.TypeOf(kSoundEvents[i].valueName) == RegistryType::kString &&
            key.ReadString(kSoundEvents[i].valueName, path)) {
            this->*kSoundFields[i] = std::move(path);
            read.push_back(kSoundEvents[i].valueName);
        }
    }
    for (const ListField& f : kListFields) {
        std::vector<std::string> items;
        if (key.TypeOf(f.name) == RegistryType::kMultiString &&
            key.ReadMultiString(f.name, items)) {
            this->*f.field = std::move(items);
            read.push_back(f.name);
        }
    }
    // An administrator may fix the language, empty (Windows' choice)
    // included, but only to one of ours.
    std::string language;
    if (key.TypeOf(kLanguageName) == RegistryType::kString &&
        key.ReadString(kLanguageName, language) &&
        (language.empty() || !KnownLanguage(language).empty())) {
        Language = LanguageOf(language);
        read.push_back(kLanguageName);
    }
    return read;
}

std::string_view STimeSettings::NameOf(std::uint32_t STimeSettings::*field) {
    for (const NumericField& f : kNumericFields) {
        if (f.field == field) {
            return f.name;
        }
    }
    return {};
}

void STimeSettings::CopyValues(const STimeSettings& other,
                               const std::vector<std::string_view>& names) {
    const auto named = [&names](std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    for (const NumericField& f : kNumericFields) {
        if (named(f.name)) {
            this->*f.field = other.*f.field;
        }
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        if (named(kSoundEvents[i].valueName)) {
            this->*kSoundFields[i] = other.*kSoundFields[i];
        }
    }
    for (const ListField& f : kListFields) {
        if (named(f.name)) {
            this->*f.field = other.*f.field;
        }
    }
    if (named(kLanguageName)) {
        Language = other.Language;
    }
}

bool STimeSettings::SaveBonus(IRegistry& registry) const {
    auto key = registry.NewKey();
    return (key->Open(reg::kSettingsKey) || key->Create(reg::kSettingsKey)) &&
           key->WriteDword("Bonus", Bonus);
}

}  // namespace pausora
