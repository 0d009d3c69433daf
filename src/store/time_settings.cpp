#include "store/time_settings.h"

namespace pausora {
namespace {

struct NumericField {
    std::string_view name;
    std::uint32_t STimeSettings::*field;
    std::uint32_t fallback;  // when the value cannot be read at load
    std::uint32_t factory;   // RestoreDefaults
};

// In the order LoadSettings reads them.
constexpr NumericField kNumericFields[] = {
    {"Micropause", &STimeSettings::Micropause, 420, 420},
    {"Pause", &STimeSettings::Pause, 3600, 3600},
    {"Micropause_length", &STimeSettings::Micropause_length, 11, 11},
    {"Pause_length", &STimeSettings::Pause_length, 600, 600},
    {"DailyTimeLimit", &STimeSettings::DailyTimeLimit, 21600, 21600},
    {"WeeklyTimeLimit", &STimeSettings::WeeklyTimeLimit, 122400, 122400},
    {"StartWorkTime_hours", &STimeSettings::StartWorkTime_hours, 9, 9},
    {"StartWorkTime_minutes", &STimeSettings::StartWorkTime_minutes, 0, 0},
    {"EndWorkTime_hours", &STimeSettings::EndWorkTime_hours, 17, 17},
    {"EndWorkTime_minutes", &STimeSettings::EndWorkTime_minutes, 0, 0},
    {"UseMicropauses", &STimeSettings::UseMicropauses, 1, 1},
    {"UsePauses", &STimeSettings::UsePauses, 1, 1},
    {"UseWorkingTime", &STimeSettings::UseWorkingTime, 1, 1},
    {"UseDailyTimeLimit", &STimeSettings::UseDailyTimeLimit, 1, 1},
    {"UseWeeklyTimeLimit", &STimeSettings::UseWeeklyTimeLimit, 0, 0},
    {"CheckForUpdates", &STimeSettings::CheckForUpdates, 1, 1},
    {"UseSounds", &STimeSettings::UseSounds, 1, 1},
    {"Bonus", &STimeSettings::Bonus, 0, 0},
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
    return SaveSettings(registry, programFolder);
}

bool STimeSettings::SaveSettings(IRegistry& registry, std::string_view programFolder) const {
    auto key = registry.NewKey();
    bool saved = key->Open(reg::kSettingsKey) || key->Create(reg::kSettingsKey);
    for (const NumericField& f : kNumericFields) {
        saved = key->WriteDword(f.name, this->*f.field) && saved;
    }
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        saved = key->WriteString(kSoundEvents[i].valueName, this->*kSoundFields[i]) && saved;
    }
    for (const ListField& f : kListFields) {
        saved = key->WriteMultiString(f.name, this->*f.field) && saved;
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
    auto run = registry.NewKey();
    std::string command;
    RunAtStartup = run->Open(reg::kRunKey) && run->ReadString(reg::kRunValue, command) ? 1 : 0;
    return true;
}

bool STimeSettings::SaveBonus(IRegistry& registry) const {
    auto key = registry.NewKey();
    return (key->Open(reg::kSettingsKey) || key->Create(reg::kSettingsKey)) &&
           key->WriteDword("Bonus", Bonus);
}

}  // namespace pausora
