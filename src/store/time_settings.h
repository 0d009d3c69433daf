// The settings record: one field per value of "Software\Pausora\TimeSettings",
// plus the start-with-Windows flag that lives in the Run key.
#pragma once

#include "store/registry_store.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pausora {

// The eight occasions that can play a sound, in the order the Sounds page
// lists them.
enum class SoundEvent {
    kShortBreak,
    kShortBreakRepeat,
    kShortBreakEnd,
    kLongBreak,
    kLongBreakRepeat,
    kLongBreakEnd,
    kWorkTimeEnd,
    kTimeLimit,
};
inline constexpr std::size_t kSoundEventCount = 8;

struct STimeSettings {
    std::uint32_t StartWorkTime_hours = 9;
    std::uint32_t StartWorkTime_minutes = 0;
    std::uint32_t EndWorkTime_hours = 17;
    std::uint32_t EndWorkTime_minutes = 0;
    std::uint32_t Micropause = 420;        // seconds between short breaks
    std::uint32_t Micropause_length = 11;  // seconds
    std::uint32_t Pause = 3600;            // seconds between long breaks
    std::uint32_t Pause_length = 600;      // seconds
    std::uint32_t DailyTimeLimit = 21600;  // seconds of computer use a day
    std::uint32_t WeeklyTimeLimit = 122400;
    std::uint32_t RunAtStartup = 1;  // the Run value is present
    std::uint32_t UseMicropauses = 1;
    std::uint32_t UsePauses = 1;
    std::uint32_t UseWorkingTime = 1;
    std::uint32_t UseDailyTimeLimit = 1;
    std::uint32_t UseWeeklyTimeLimit = 0;
    std::uint32_t CheckForUpdates = 1;
    std::string MicropauseSound;
    std::string RepeatMicropauseSound;
    std::string EndMicropauseSound;
    std::string PauseSound;
    std::string RepeatPauseSound;
    std::string EndPauseSound;
    std::string WorkTimeSound;
    std::string TimeLimitSound;
    std::uint32_t UseSounds = 1;
    std::uint32_t Bonus = 0;           // experience points, never below 0
    std::uint32_t AppearanceType = 1;  // 1 fades the notices in, 0 slides them
    std::uint32_t UseTimeReset = 0;
    // Hold notices while a full-screen program or presentation runs.
    std::uint32_t QuietWhenBusy = 1;
    // Keep the break history, history.csv (src/history/).
    std::uint32_t KeepHistory = 1;
    // Draw the minutes to the next break on the notification-area icon.
    std::uint32_t IconCountdown = 0;
    // Executable names ("zoom.exe") that keep the notices quiet while one of
    // them is in front.
    std::vector<std::string> QuietPrograms;
    // The language of the program's windows ("de-DE"); empty leaves it to
    // Windows. Anything not ours reads as empty.
    std::string Language;

    // Fills every field from the registry, a missing value taking its
    // fallback, then saves (which writes the Run value again); the save's
    // result.
    bool LoadSettings(IRegistry& registry, std::string_view systemRoot,
                      std::string_view programFolder);
    // Writes every value but those named in `leave` (set by an
    // administrator, which the user's own must outlive) and brings the Run
    // value in line with RunAtStartup; true only when every write went in.
    // `programFolder`, the folder of the running program, names the program
    // when the installer left no "InstallDir".
    bool SaveSettings(IRegistry& registry, std::string_view programFolder,
                      const std::vector<std::string_view>& leave = {}) const;
    // The factory settings, Bonus included; touches no registry value.
    void RestoreDefaults(std::string_view systemRoot);
    // Reads every value without fallbacks; false, changing nothing, when the
    // settings key cannot be opened.
    bool ReloadSettings(IRegistry& registry);
    // Writes "Bonus" alone; true when it went in.
    bool SaveBonus(IRegistry& registry) const;

    // Reads from the open `key` every setting whose value there has its
    // row's type and lies in its range; the names of those read. Values of
    // another type, out of range, or "Bonus" (a count, not a setting) are
    // passed over.
    std::vector<std::string_view> ReadValid(IRegistryKey& key);
    // The value name of a numeric setting; empty for a field with none.
    static std::string_view NameOf(std::uint32_t STimeSettings::*field);
    // Takes the named settings' values from `other`.
    void CopyValues(const STimeSettings& other, const std::vector<std::string_view>& names);

    std::string& SoundPath(SoundEvent event);

    bool operator==(const STimeSettings&) const = default;
};

struct SoundEventInfo {
    std::string_view valueName;
    std::string_view label;         // as the Sounds page shows it
    std::string_view fallbackFile;  // under the system root, for a missing value
    std::string_view defaultFile;   // under the system root, for RestoreDefaults
};
const std::array<SoundEventInfo, kSoundEventCount>& SoundEvents();

// A field of the record, whatever its type.
using SettingsMember = std::variant<std::uint32_t STimeSettings::*, std::string STimeSettings::*,
                                    std::vector<std::string> STimeSettings::*>;
struct SettingsValue {
    std::string_view name;  // as the table names it; "RunAtStartup" for the Run value
    SettingsMember member;
};
// Every value the user sets, read from the same tables as load and save.
// Bonus is not among them: the points are the engine's own.
std::vector<SettingsValue> UserValues();

// The number of values SaveSettings writes under "TimeSettings".
inline constexpr std::size_t kSettingsValueCount = 33;

// The text of the Run value: the program's path, quoted so that Windows cannot
// mistake a folder name with spaces for the program to start. The folder is
// "InstallDir", or the running program's folder when that is empty; either
// gets its closing separator when it lacks one.
std::string RunCommand(std::string_view installDir, std::string_view programFolder);

// "InstallDir" as the installer left it, with its closing separator even when
// a hand-made value lacks it; empty when there is none.
std::string ReadInstallDir(IRegistry& registry);

}  // namespace pausora
