// Thousands of random days of the break engine on the virtual clock: sleeps
// of every length at every moment (in breaks and reminders too, the overdue
// timer messages in every order, the system's wake notice first, last or
// never), the wall clock set forwards and back, daylight saving, the tick
// count wrapping, users at the keyboard and away, settings changed and the
// program restarted. Rules that must hold whatever happens are checked after
// every step, and every breach is counted.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace pausora::sim {

// The rules the campaign checks.
enum class Rule {
    kQuietWake,    // no notice and no sound within a minute of a wake
    kSleepPoints,  // a sleep never costs points; a break it cuts short is paid once
    kTimerPhase,   // the armed timers always form one phase of the schedule
    kDayTotal,     // "FullWorkTime" and its date hold the active minutes of that day
    kNoBurst,      // never the same notice twice within a few seconds
    kBusyQuiet,    // nothing shown or heard while the user is busy (for two hours at most)
    kHeldKept,     // a break held while busy comes once the user is free, unless had while away
    kFullScreenBreaks,  // a full-screen workplace still gets its breaks
};
inline constexpr std::size_t kRuleCount = 8;
const char* RuleName(Rule rule);

struct CampaignCounts {
    std::uint64_t episodes = 0;  // runs of one program on one machine
    double days = 0;             // simulated days, sleeps included
    std::uint64_t timerEvents = 0;
    std::uint64_t sleeps = 0;
    std::uint64_t sleepsInBreaks = 0;  // a short or long break was running
    std::uint64_t sleepsSeen = 0;      // announced by the system or longer than two minutes
    std::uint64_t sleepsUnseen = 0;    // short and unannounced: a busy moment to the engine
    // Shown by overdue messages of a short sleep whose wake notice came late
    // or never: the engine could not have known.
    std::uint64_t noticesBeforeTold = 0;
    std::uint64_t clockChanges = 0;
    std::uint64_t clockChangesBack = 0;
    std::uint64_t clockChangesBackOverMidnight = 0;
    std::uint64_t dstChanges = 0;
    std::uint64_t tickWraps = 0;
    std::uint64_t restarts = 0;
    std::uint64_t settingsChanges = 0;
    std::uint64_t stops = 0;
    std::uint64_t activeMinutes = 0;
    std::uint64_t notices = 0;
    std::uint64_t sounds = 0;
    // Notices of different kinds from schedules of their own, seconds apart.
    std::uint64_t differentNoticesClose = 0;
    std::uint64_t breaksPaidAtWake = 0;
    std::uint64_t busySpells = 0;
    std::uint64_t heldBreaksShown = 0;  // after the user was free again
    std::uint64_t heldBreaksTaken = 0;  // away for their length during the hold
    std::uint64_t fullScreenDays = 0;
};

struct CampaignReport {
    std::uint64_t seed = 0;
    CampaignCounts counts;
    std::array<std::uint64_t, kRuleCount> violations{};
    // The first few breaches, described for a person to replay.
    std::vector<std::string> examples;
    std::uint64_t TotalViolations() const;
};

// Runs episodes from `seed` until `days` simulated days have passed. The same
// seed and days give the same campaign.
CampaignReport RunClockCampaign(std::uint64_t seed, double days);

void PrintReport(std::ostream& out, const CampaignReport& report);

}  // namespace pausora::sim
