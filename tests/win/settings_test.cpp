// The settings window as the main window opens it: modal, on a thread of its
// own here, beside a stand-in main window that takes and saves the record
// whenever the window applies, as the real one does. Pages are chosen in the tree and
// driven by messages; what they did is read back from the registry.
#include "history/history_keeper_win.h"
#include "settings/settings_window.h"
#include "settings/tree_sheet.h"
#include "shared/dpi_checks.h"
#include "shared/quiet_presenter.h"
#include "shared/wait.h"
#include "shared/win_backdoor.h"
#include "store/registry_key.h"
#include "sound_wav.h"

#include "resource.h"
#include "ui/utf.h"
#include "ui/window.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace pausora {
namespace {

using test::ExpectWindowRect;
using test::kTimeoutMs;
using test::MoveToDpi;
using test::OtherDpi;
using test::QuietPresenter;
using test::ScreenDpi;
using test::WaitFor;
using test::WinBackdoor;

constexpr char kCaption[] = "Pausora - Settings";
constexpr int kApplyButton = 0x3021;
constexpr int kTree = 0x7EEE;
constexpr char kProgramFolder[] = "C:\\Program Files\\Pausora\\";

enum Page {
    kSchedule,
    kShortBreaks,
    kLongBreaks,
    kWorkingTime,
    kTimeLimits,
    kCustomize,
    kStartup,
    kSounds,
    kAppearance,
    kPageCount
};

std::string TempFile(const char* name) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteFile(const std::string& path, const test::Bytes& bytes) {
    test::WriteFileBytes(path, bytes);
}

class SettingsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_store.Reset();
        m_settings.RestoreDefaults("C:\\windows");
    }
    void TearDown() override {
        if (m_thread != nullptr) {
            if (const HWND sheet = ::FindWindowA(nullptr, kCaption)) {
                ::PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
            }
            ::WaitForSingleObject(m_thread, kTimeoutMs);
            ::CloseHandle(m_thread);
        }
        m_store.Reset();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora");
    }

    // Saves the record as it stands: what the main window would have read.
    // Like the main window's save, it leaves the values set by policy alone.
    void Save() { m_settings.SaveSettings(m_store.Registry(), kProgramFolder, m_policy.Names()); }

    void Open() {
        Save();
        // The main window's record holds the policies' values; the user's
        // own stay in the registry.
        WinRegistry machine(HKEY_LOCAL_MACHINE);
        m_policy.Read(machine, m_store.Registry());
        m_policy.Apply(m_settings);
        m_changes = 0;
        m_thread = ::CreateThread(
            nullptr, 0,
            [](LPVOID self) -> DWORD {
                static_cast<SettingsWindowTest*>(self)->Run();
                return 0;
            },
            this, 0, nullptr);
        ASSERT_NE(m_thread, nullptr);
        ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
            m_sheet = ::FindWindowA(nullptr, kCaption);
            return m_sheet != nullptr && ::IsWindowVisible(m_sheet) && Tree() != nullptr;
        }));
    }

    // The thread of the settings window and its stand-in main window.
    void Run() {
        WNDCLASSA cls{};
        cls.lpfnWndProc = &MainProc;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpszClassName = "SettingsTestMain";
        ::RegisterClassA(&cls);
        const HWND main = ::CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                            nullptr, cls.hInstance, nullptr);
        ::SetWindowLongPtrA(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_main = main;
        ShowSettingsWindow(main, m_settings, Applied(), 0, m_policy);
        ::DestroyWindow(main);
    }
    SettingsApplied Applied() {
        return [this](const SettingsChange& change, HWND window) {
            ++m_changes;
            change.ApplyTo(m_settings);
            Save();
            m_history.SetKeeping(m_settings.KeepHistory != 0);
            if (change.deleteHistory && m_settings.KeepHistory == 0) {
                m_history.Delete(window);
            }
        };
    }
    static LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kOpenAgain) {
            auto* self =
                reinterpret_cast<SettingsWindowTest*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            ShowSettingsWindow(hwnd, self->m_settings, self->Applied());
            ++self->m_openAgainReturned;
            return 0;
        }
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND Tree() const { return ::GetDlgItem(m_sheet, kTree); }
    HWND Page() const { return PropSheet_GetCurrentPageHwnd(m_sheet); }
    int PageIndex() const { return static_cast<int>(PropSheet_HwndToIndex(m_sheet, Page())); }
    HWND Item(int id) const { return ::GetDlgItem(Page(), id); }

    // The tree's node of a page, searched depth first.
    HTREEITEM NodeOf(int page, HTREEITEM from = TVI_ROOT) const {
        for (HTREEITEM item = TreeView_GetChild(Tree(), from); item != nullptr;
             item = TreeView_GetNextSibling(Tree(), item)) {
            TVITEMA info{};
            info.mask = TVIF_PARAM;
            info.hItem = item;
            TreeView_GetItem(Tree(), &info);
            if (info.lParam == page) {
                return item;
            }
            if (const HTREEITEM below = NodeOf(page, item)) {
                return below;
            }
        }
        return nullptr;
    }
    std::string NodeText(HTREEITEM item) const {
        wchar_t text[64] = {};
        TVITEMW info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = 64;
        TreeView_GetItem(Tree(), &info);
        return Narrow(text);
    }

    // As a click in the tree would.
    void Select(int page) {
        const HTREEITEM node = NodeOf(page);
        ASSERT_NE(node, nullptr) << "no node for page " << page;
        TreeView_SelectItem(Tree(), node);
        ASSERT_EQ(PageIndex(), page);
    }

    SYSTEMTIME Picker(int id) const {
        SYSTEMTIME time{};
        ::SendMessageA(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        return time;
    }
    std::string PickerText(int id) const {
        const SYSTEMTIME time = Picker(id);
        char text[16];
        std::snprintf(text, sizeof text, "%02u:%02u:%02u", time.wHour, time.wMinute, time.wSecond);
        return text;
    }
    // As the user's change in the picker would: the new time and its notice.
    void SetPicker(int id, WORD hour, WORD minute, WORD second) {
        NMDATETIMECHANGE change{};
        change.nmhdr.hwndFrom = Item(id);
        change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        change.st = {1990, 1, 1, 1, hour, minute, second, 0};
        ::SendMessageA(Item(id), DTM_SETSYSTEMTIME, GDT_VALID,
                       reinterpret_cast<LPARAM>(&change.st));
        ::SendMessageA(Page(), WM_NOTIFY, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(&change));
    }
    bool Checked(int id) const {
        return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Click(int id) {
        const HWND button = Item(id);
        if ((::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            ::SendMessageA(button, BM_SETCHECK, Checked(id) ? BST_UNCHECKED : BST_CHECKED, 0);
        }
        ::SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool ApplyEnabled() const {
        return ::IsWindowEnabled(::GetDlgItem(m_sheet, kApplyButton)) != FALSE;
    }

    void Press(int button) {
        ::SendMessageA(m_sheet, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_sheet, button)));
    }
    // OK or Cancel, and the window gone.
    void Close(int button) {
        Press(button);
        ASSERT_EQ(::WaitForSingleObject(m_thread, kTimeoutMs), WAIT_OBJECT_0) << "still open";
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }

    std::uint32_t Dword(const char* name) {
        return m_store.Dword(reg::kSettingsKey, name).value_or(0xDEADBEEF);
    }

    // The dialog titled `title` once it shows, or nullptr after `waitMs`.
    static HWND ShownDialog(const char* title, DWORD waitMs = kTimeoutMs) {
        HWND dialog = nullptr;
        WaitFor(waitMs, [&] {
            dialog = ::FindWindowA("#32770", title);
            return dialog != nullptr && ::IsWindowVisible(dialog);
        });
        return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
    }
    // Gives a dialog the command `id` and waits until it has gone.
    static bool Answer(HWND dialog, int id) {
        ::PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return WaitFor(kTimeoutMs, [&] { return !::IsWindow(dialog); });
    }
    std::string String(const char* name) {
        return m_store.String(reg::kSettingsKey, name).value_or("?");
    }
    std::map<std::string, std::string> AllValues() {
        std::map<std::string, std::string> all;
        for (const char* name :
             {"StartWorkTime_hours", "StartWorkTime_minutes", "EndWorkTime_hours",
              "EndWorkTime_minutes", "Micropause", "Micropause_length", "Pause", "Pause_length",
              "DailyTimeLimit", "UseMicropauses", "UsePauses", "UseWorkingTime",
              "UseDailyTimeLimit", "CheckForUpdates", "UseSounds", "AppearanceType", "UseTimeReset",
              "QuietWhenBusy"}) {
            all[name] = std::to_string(Dword(name));
        }
        for (const SoundEventInfo& event : SoundEvents()) {
            const std::string name(event.valueName);
            all[name] = String(name.c_str());
        }
        all["Run"] = m_store.String(reg::kRunKey, reg::kRunValue).value_or("(none)");
        return all;
    }

    WinBackdoor m_store;
    STimeSettings m_settings;
    SettingsPolicy m_policy;
    QuietPresenter m_presenter;
    HistoryKeeper m_history{m_presenter};
    static constexpr UINT kOpenAgain = WM_APP + 1;
    std::atomic<int> m_changes{0};
    std::atomic<int> m_openAgainReturned{0};
    HANDLE m_thread = nullptr;
    HWND m_sheet = nullptr;
    HWND m_main = nullptr;
};

TEST_F(SettingsWindowTest, TheTreeHoldsTheNinePagesUnderTheirTwoBranchesWithTheScheduleShown) {
    Open();
    EXPECT_EQ(PageIndex(), kSchedule);
    EXPECT_EQ(TreeView_GetSelection(Tree()), NodeOf(kSchedule));
    const HTREEITEM schedule = TreeView_GetRoot(Tree());
    ASSERT_NE(schedule, nullptr);
    const HTREEITEM customize = TreeView_GetNextSibling(Tree(), schedule);
    EXPECT_EQ(NodeText(schedule), "Schedule");
    EXPECT_EQ(NodeText(customize), "Customize");
    EXPECT_EQ(TreeView_GetNextSibling(Tree(), customize), nullptr);
    std::vector<std::string> children;
    for (const HTREEITEM parent : {schedule, customize}) {
        for (HTREEITEM item = TreeView_GetChild(Tree(), parent); item != nullptr;
             item = TreeView_GetNextSibling(Tree(), item)) {
            children.push_back(NodeText(item));
        }
    }
    EXPECT_EQ(children,
              (std::vector<std::string>{"Short breaks", "Long breaks", "Working time",
                                        "Time limits", "Startup", "Sounds", "Appearance"}));
    // Both branches open from the start.
    for (const HTREEITEM branch : {schedule, customize}) {
        EXPECT_NE(TreeView_GetItemState(Tree(), branch, TVIS_EXPANDED) & TVIS_EXPANDED, 0u);
    }
    // The page lies in the frame beside the tree, below the caption band.
    RECT tree{}, page{}, frame{};
    ::GetWindowRect(Tree(), &tree);
    ::GetWindowRect(Page(), &page);
    ::GetWindowRect(::GetDlgItem(m_sheet, 0xFFFF), &frame);
    EXPECT_GE(page.left, tree.right);
    EXPECT_GE(page.top, frame.top + 10);
    EXPECT_LE(page.top, frame.top + 40);
    EXPECT_LE(page.bottom, frame.bottom);
    EXPECT_EQ(tree.right - tree.left, 145);
    Close(IDCANCEL);
}

TEST_F(SettingsWindowTest, OkWritesTheOpenedPagesAndHandsTheRecordOverOnce) {
    m_settings.DailyTimeLimit = 1234;  // seconds no picker shows: kept unless applied
    m_settings.UseDailyTimeLimit = 0;
    Open();
    Select(kShortBreaks);
    EXPECT_EQ(PickerText(IDC_FIRST_TIME), "00:07:00");
    EXPECT_FALSE(ApplyEnabled());
    SetPicker(IDC_FIRST_TIME, 0, 5, 30);
    EXPECT_TRUE(ApplyEnabled());
    Select(kLongBreaks);
    Select(kWorkingTime);
    SetPicker(IDC_FIRST_TIME, 8, 30, 0);
    Close(IDOK);
    // Schedule, Short breaks, Long breaks and Working time were opened, and
    // applied together.
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(Dword("Micropause"), 330u);
    EXPECT_EQ(Dword("Micropause_length"), 11u);
    EXPECT_EQ(Dword("StartWorkTime_hours"), 8u);
    EXPECT_EQ(Dword("StartWorkTime_minutes"), 30u);
    EXPECT_EQ(Dword("EndWorkTime_hours"), 17u);
    EXPECT_EQ(Dword("DailyTimeLimit"), 1234u);
    EXPECT_EQ(Dword("UseDailyTimeLimit"), 0u);

    // All five schedule pages: still once for one OK.
    Open();
    for (const int page : {kShortBreaks, kLongBreaks, kWorkingTime, kTimeLimits}) {
        Select(page);
    }
    Close(IDOK);
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(Dword("DailyTimeLimit"), 1200u);  // now applied: whole minutes
}

TEST_F(SettingsWindowTest, CancelWritesNothingAndKeepsWhatAnEarlierApplyWrote) {
    Open();
    const auto before = AllValues();
    Select(kShortBreaks);
    Click(IDC_RESTORE_DEFAULTS);
    SetPicker(IDC_SECOND_TIME, 0, 0, 45);
    Click(IDC_PAGE_SWITCH);
    Select(kStartup);
    Click(IDC_PAGE_SWITCH);
    Click(IDC_CHECK_UPDATES);
    Select(kAppearance);
    Click(IDC_MOTION);
    Select(kSounds);
    Click(IDC_PAGE_SWITCH);
    Close(IDCANCEL);
    EXPECT_EQ(m_changes, 0);
    EXPECT_EQ(AllValues(), before);

    Open();
    Select(kTimeLimits);
    SetPicker(IDC_FIRST_TIME, 2, 0, 0);
    Press(kApplyButton);
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(Dword("DailyTimeLimit"), 7200u);
    EXPECT_FALSE(ApplyEnabled());
    SetPicker(IDC_FIRST_TIME, 3, 0, 0);
    Close(IDCANCEL);
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(Dword("DailyTimeLimit"), 7200u);
}

TEST_F(SettingsWindowTest, ValuesNoPickerCanShowAreShownClampedAndKeptUntilTheUserChangesThem) {
    m_settings.Micropause = 5000;
    m_settings.Pause_length = 630;
    m_settings.Pause = 90000;
    m_settings.EndWorkTime_hours = 25;
    m_settings.EndWorkTime_minutes = 61;
    Open();
    Select(kShortBreaks);
    EXPECT_EQ(PickerText(IDC_FIRST_TIME), "00:59:59");
    Select(kLongBreaks);
    EXPECT_EQ(PickerText(IDC_FIRST_TIME), "23:59:00");
    EXPECT_EQ(PickerText(IDC_SECOND_TIME), "00:10:00");
    Select(kWorkingTime);
    EXPECT_EQ(PickerText(IDC_SECOND_TIME), "23:59:00");
    Close(IDCANCEL);
    EXPECT_EQ(Dword("Micropause"), 5000u);
    EXPECT_EQ(Dword("Pause_length"), 630u);

    // Another page's apply saves the record, which still holds them.
    Open();
    Select(kTimeLimits);
    Close(IDOK);
    EXPECT_EQ(Dword("Pause_length"), 630u);
    EXPECT_EQ(Dword("Micropause"), 5000u);
    EXPECT_EQ(Dword("EndWorkTime_hours"), 25u);

    // Opened and applied, unchanged: a value a picker can show is stored as
    // it shows it; one it cannot show stays until the user changes it.
    Open();
    Select(kLongBreaks);
    Close(IDOK);
    EXPECT_EQ(Dword("Pause_length"), 600u);
    EXPECT_EQ(Dword("Pause"), 90000u);
    EXPECT_EQ(Dword("Micropause"), 5000u);
    Open();
    Select(kLongBreaks);
    SetPicker(IDC_FIRST_TIME, 23, 58, 0);
    Close(IDOK);
    EXPECT_EQ(Dword("Pause"), 86280u);
}

TEST_F(SettingsWindowTest, RestoreDefaultsSetsOnlyThePickersOfItsPage) {
    m_settings.Micropause = 100;
    m_settings.Micropause_length = 5;
    m_settings.UseMicropauses = 0;
    m_settings.Pause = 1800;
    m_settings.DailyTimeLimit = 3600;
    m_settings.StartWorkTime_hours = 7;
    Open();
    Select(kShortBreaks);
    EXPECT_FALSE(Checked(IDC_PAGE_SWITCH));
    EXPECT_FALSE(Enabled(IDC_RESTORE_DEFAULTS));
    Click(IDC_RESTORE_DEFAULTS);  // as a click the page still gets
    EXPECT_EQ(PickerText(IDC_FIRST_TIME), "00:07:00");
    EXPECT_EQ(PickerText(IDC_SECOND_TIME), "00:00:11");
    EXPECT_FALSE(Checked(IDC_PAGE_SWITCH));
    EXPECT_TRUE(ApplyEnabled());
    for (const auto& [page, first, second] : std::vector<std::tuple<int, std::string, std::string>>{
             {kLongBreaks, "01:00:00", "00:10:00"},
             {kWorkingTime, "09:00:00", "17:00:00"},
             {kTimeLimits, "06:00:00", ""}}) {
        Select(page);
        Click(IDC_RESTORE_DEFAULTS);
        EXPECT_EQ(PickerText(IDC_FIRST_TIME), first) << page;
        if (!second.empty()) {
            EXPECT_EQ(PickerText(IDC_SECOND_TIME), second) << page;
        }
    }
    Close(IDOK);
    EXPECT_EQ(Dword("Micropause"), 420u);
    EXPECT_EQ(Dword("Micropause_length"), 11u);
    EXPECT_EQ(Dword("UseMicropauses"), 0u);
    EXPECT_EQ(Dword("Pause"), 3600u);
    EXPECT_EQ(Dword("DailyTimeLimit"), 21600u);
    EXPECT_EQ(Dword("StartWorkTime_hours"), 9u);
}

TEST_F(SettingsWindowTest, TheSwitchOfEachSchedulePageEnablesItsControlsAndIsStored) {
    struct Case {
        int page;
        const char* flag;
        std::vector<int> dependents;
        int intro;  // stays enabled; 0 when the page has none with an id
    };
    const std::vector<Case> cases = {
        {kShortBreaks,
         "UseMicropauses",
         {IDC_FIRST_TIME, IDC_SECOND_TIME, IDC_RESTORE_DEFAULTS, 1044, 1048, 1046, 1047},
         1045},
        {kLongBreaks,
         "UsePauses",
         {IDC_FIRST_TIME, IDC_SECOND_TIME, IDC_RESTORE_DEFAULTS, 1045, 1048, 1046, 1047},
         1044},
        {kWorkingTime,
         "UseWorkingTime",
         {IDC_FIRST_TIME, IDC_SECOND_TIME, IDC_RESTORE_DEFAULTS, 1045, 1048, 1046, 1047},
         0},
        {kTimeLimits, "UseDailyTimeLimit", {IDC_FIRST_TIME, IDC_RESTORE_DEFAULTS, 1045, 1048}, 0},
    };
    m_settings.Pause = 7200;
    Open();
    for (const Case& c : cases) {
        Select(c.page);
        ASSERT_TRUE(Checked(IDC_PAGE_SWITCH));
        Click(IDC_PAGE_SWITCH);
        for (const int id : c.dependents) {
            EXPECT_FALSE(Enabled(id)) << c.flag << " " << id;
        }
        EXPECT_TRUE(Enabled(IDC_PAGE_SWITCH));
        if (c.intro != 0) {
            EXPECT_TRUE(Enabled(c.intro)) << c.flag;
        }
    }
    // Skipping unneeded breaks, on the root page.
    Select(kSchedule);
    EXPECT_FALSE(Checked(IDC_PAGE_SWITCH));
    Click(IDC_PAGE_SWITCH);
    Close(IDOK);
    for (const Case& c : cases) {
        EXPECT_EQ(Dword(c.flag), 0u) << c.flag;
    }
    EXPECT_EQ(Dword("UseTimeReset"), 1u);
    EXPECT_EQ(Dword("Pause"), 7200u);  // a switched-off picker's value is still stored
}

TEST_F(SettingsWindowTest, StartupAndAppearanceStoreTheirBoxes) {
    m_settings.AppearanceType = 2;
    m_settings.CheckForUpdates = 0;
    Open();
    ASSERT_EQ(m_store.String(reg::kRunKey, reg::kRunValue).has_value(), true);
    Select(kStartup);
    EXPECT_TRUE(Checked(IDC_PAGE_SWITCH));
    EXPECT_FALSE(Checked(IDC_CHECK_UPDATES));
    Click(IDC_PAGE_SWITCH);
    Click(IDC_CHECK_UPDATES);
    Select(kAppearance);
    EXPECT_TRUE(Checked(IDC_MOTION));
    EXPECT_FALSE(Checked(IDC_TRANSPARENCY));
    EXPECT_TRUE(Checked(IDC_QUIET_WHEN_BUSY));
    Click(IDC_QUIET_WHEN_BUSY);
    Close(IDOK);
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(Dword("CheckForUpdates"), 1u);
    EXPECT_EQ(Dword("AppearanceType"), 0u);
    EXPECT_EQ(Dword("QuietWhenBusy"), 0u);
    EXPECT_FALSE(m_store.String(reg::kRunKey, reg::kRunValue).has_value());

    Open();
    Select(kCustomize);
    Select(kAppearance);
    ::SendMessageA(Item(IDC_TRANSPARENCY), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageA(Item(IDC_MOTION), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(IDC_TRANSPARENCY);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_FALSE(Checked(IDC_QUIET_WHEN_BUSY));
    Click(IDC_QUIET_WHEN_BUSY);
    Close(IDOK);
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(Dword("AppearanceType"), 1u);
    EXPECT_EQ(Dword("QuietWhenBusy"), 1u);
}

// The programs that keep notices quiet: shown one to a line, greyed with the
// busy box, read back from lines or ";" into the list value; and the box of
// the countdown on the icon.
TEST_F(SettingsWindowTest, AppearanceKeepsTheQuietProgramsAndTheIconCountdown) {
    m_settings.QuietPrograms = {"zoom.exe", "Teams"};
    Open();
    Select(kAppearance);
    char text[64] = {};
    ::GetWindowTextA(Item(IDC_QUIET_PROGRAMS), text, static_cast<int>(sizeof text));
    EXPECT_STREQ(text, "zoom.exe\r\nTeams");
    EXPECT_FALSE(ApplyEnabled());  // showing the list changes nothing
    EXPECT_FALSE(Checked(IDC_ICON_COUNTDOWN));
    for (const bool busyBox : {false, true}) {
        Click(IDC_QUIET_WHEN_BUSY);
        EXPECT_EQ(::IsWindowEnabled(Item(IDC_QUIET_PROGRAMS)) != FALSE, busyBox);
        EXPECT_EQ(::IsWindowEnabled(Item(IDC_QUIET_PROGRAMS_LABEL)) != FALSE, busyBox);
    }
    Click(IDC_ICON_COUNTDOWN);
    ::SetWindowTextA(Item(IDC_QUIET_PROGRAMS), "obs64.exe; zoom\r\n\r\n slides ");
    Close(IDOK);
    EXPECT_EQ(Dword("IconCountdown"), 1u);
    auto key = m_store.Registry().NewKey();
    std::vector<std::string> programs;
    ASSERT_TRUE(key->Open(reg::kSettingsKey));
    EXPECT_TRUE(key->ReadMultiString("QuietPrograms", programs));
    EXPECT_EQ(programs, (std::vector<std::string>{"obs64.exe", "zoom", "slides"}));
}

// A value the machine's policy sets: its control greyed, whatever the page's
// switch and Restore defaults do, and the note at the top of its page only.
TEST_F(SettingsWindowTest, ControlsOfValuesAPolicySetsAreGreyedUnderTheNote) {
    const auto machinePolicy = [](const wchar_t* name, DWORD value) {
        ASSERT_EQ(
            ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora\\TimeSettings",
                              name, REG_DWORD, &value, sizeof value),
            ERROR_SUCCESS);
    };
    machinePolicy(L"Micropause", 120);
    machinePolicy(L"UpdateCheck", 0);
    struct Case {
        int page;
        int locked;
        int free;  // beside it, and enabled
    };
    const std::vector<Case> managed = {{kShortBreaks, IDC_FIRST_TIME, IDC_SECOND_TIME},
                                       {kStartup, IDC_CHECK_UPDATES, IDC_PAGE_SWITCH}};
    Open();
    for (int page = 0; page < kPageCount; ++page) {
        Select(page);
        const auto found = std::find_if(managed.begin(), managed.end(),
                                        [page](const Case& c) { return c.page == page; });
        if (found == managed.end()) {
            EXPECT_EQ(Item(IDC_MANAGED_NOTE), nullptr) << "page " << page;
            continue;
        }
        EXPECT_FALSE(Enabled(found->locked)) << "page " << page;
        EXPECT_TRUE(Enabled(found->free)) << "page " << page;
        const HWND note = Item(IDC_MANAGED_NOTE);
        ASSERT_NE(note, nullptr) << "page " << page;
        EXPECT_EQ(Narrow(ui::WindowText(note)),
                  "Some of these settings are managed by your organization.");
        RECT noteRect{};
        RECT freeRect{};
        ::GetWindowRect(note, &noteRect);
        ::GetWindowRect(Item(found->free), &freeRect);
        EXPECT_LE(noteRect.bottom, freeRect.top) << "page " << page;
    }
    Select(kStartup);
    EXPECT_FALSE(Checked(IDC_CHECK_UPDATES));

    Select(kShortBreaks);
    EXPECT_EQ(PickerText(IDC_FIRST_TIME), "00:02:00");
    Click(IDC_PAGE_SWITCH);
    Click(IDC_PAGE_SWITCH);
    EXPECT_FALSE(Enabled(IDC_FIRST_TIME));
    EXPECT_TRUE(Enabled(IDC_SECOND_TIME));
    SetPicker(IDC_SECOND_TIME, 0, 0, 30);
    Click(IDC_RESTORE_DEFAULTS);
    EXPECT_EQ(PickerText(IDC_FIRST_TIME), "00:02:00");
    EXPECT_EQ(PickerText(IDC_SECOND_TIME), "00:00:11");
    Close(IDOK);
    EXPECT_EQ(Dword("Micropause"), 420u);
}

// Clearing "Keep a history of my breaks" asks about the file kept so far:
// No keeps it; Yes deletes it, but only once the settings are applied.
TEST_F(SettingsWindowTest, ClearingTheHistoryBoxAsksWhetherToDeleteTheFile) {
    const std::wstring path = HistoryFilePath();
    ::CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    for (const int answer : {IDNO, IDYES}) {
        std::ofstream(std::filesystem::path(path)) << "date\n";
        m_settings.KeepHistory = 1;
        Open();
        Select(kStartup);
        ::SendMessageA(Item(IDC_KEEP_HISTORY), BM_SETCHECK, BST_UNCHECKED, 0);
        ::PostMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_KEEP_HISTORY, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(IDC_KEEP_HISTORY)));
        const HWND question = ShownDialog("Pausora");
        ASSERT_NE(question, nullptr) << "no question";
        ASSERT_TRUE(Answer(question, answer));
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << answer;
        Close(IDOK);
        EXPECT_EQ(Dword("KeepHistory"), 0u);
        EXPECT_EQ(::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES, answer == IDNO)
            << answer;
    }
}

int WindowsTitled(const char* title) {
    struct Count {
        const char* title;
        int n;
    } count{title, 0};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            char text[64] = {};
            ::GetWindowTextA(hwnd, text, sizeof text);
            if (std::string(text) == c->title && ::IsWindowVisible(hwnd)) {
                ++c->n;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
}

TEST_F(SettingsWindowTest, AskingForTheWindowWhileItIsOpenBringsTheSameOneForward) {
    Open();
    Select(kLongBreaks);
    ::PostMessageA(m_main, kOpenAgain, 0, 0);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return m_openAgainReturned == 1; }));
    EXPECT_EQ(WindowsTitled(kCaption), 1);
    EXPECT_EQ(PageIndex(), kLongBreaks);
    Close(IDOK);
    EXPECT_EQ(m_changes, 1);
}

class SoundsPageTest : public SettingsWindowTest {
  protected:
    std::string FileShown() const {
        wchar_t text[MAX_PATH] = {};
        ::GetWindowTextW(Item(IDC_SOUND_FILE), text, MAX_PATH);
        return Narrow(text);
    }
    void SelectEvent(int event) {
        ::SendMessageA(Item(IDC_SOUND_EVENTS), LB_SETCURSEL, static_cast<WPARAM>(event), 0);
        ::SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_SOUND_EVENTS, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Item(IDC_SOUND_EVENTS)));
    }
    // Browse, answered in the open-file dialog with `path`, or cancelled.
    void Browse(const std::string& path) {
        ::PostMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_SOUND_BROWSE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(IDC_SOUND_BROWSE)));
        const HWND dialog = ShownDialog("Open");
        ASSERT_NE(dialog, nullptr) << "no open-file dialog";
        if (path.empty()) {
            ASSERT_TRUE(Answer(dialog, IDCANCEL));
            return;
        }
        constexpr int kFileNameCombo = 0x47C;
        constexpr int kFileNameEdit = 0x480;
        HWND name = ::GetDlgItem(dialog, kFileNameCombo);
        if (name == nullptr) {
            name = ::GetDlgItem(dialog, kFileNameEdit);
        }
        ::SetWindowTextW(name, Widen(path).c_str());
        ASSERT_TRUE(Answer(dialog, IDOK));
    }
    // The message box the page shows, its text, and it dismissed.
    std::string TakeMessage() {
        const HWND box = ShownDialog("Pausora", 3000);
        if (box == nullptr) {
            return "";
        }
        char text[512] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        Answer(box, IDOK);
        return text;
    }
};

TEST_F(SoundsPageTest, TheListShowsEachEventsFileAndTheSwitchDisablesTheRest) {
    m_settings.EndPauseSound = "bell.wav";  // no folder: shown whole
    Open();
    Select(kSounds);
    const HWND list = Item(IDC_SOUND_EVENTS);
    ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 8);
    std::vector<std::string> labels;
    for (int i = 0; i < 8; ++i) {
        char text[64] = {};
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        labels.emplace_back(text);
    }
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Short break", "Short break repeat", "Short break end",
                                        "Long break", "Long break repeat", "Long break end",
                                        "End of working time", "Daily time limit"}));
    EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(FileShown(), "ding.wav");
    SelectEvent(7);
    EXPECT_EQ(FileShown(), "notify.wav");
    SelectEvent(5);
    EXPECT_EQ(FileShown(), "bell.wav");

    Click(IDC_PAGE_SWITCH);
    for (const int id : {IDC_SOUND_EVENTS, IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_SOUND_PLAY}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Enabled(IDC_PAGE_SWITCH));
    Close(IDOK);
    EXPECT_EQ(Dword("UseSounds"), 0u);
    EXPECT_EQ(String("EndPauseSound"), "bell.wav");
    EXPECT_EQ(String("MicropauseSound"), "C:\\windows\\Media\\ding.wav");
}

TEST_F(SoundsPageTest, BrowseTakesAPlayableFileForTheSelectedEventOnly) {
    const std::string good = TempFile("pausora-bell.wav");
    WriteFile(good, test::CanonicalWav({1, 8000, 8}, test::Bytes(800, 0x90)));
    const std::string text = TempFile("pausora-notes.wav");
    std::ofstream(text) << "Not a sound at all, only words.\n";
    const std::string odd = TempFile("pausora-odd.wav");
    WriteFile(odd, test::CanonicalWav({1, 8000, 8}, test::Bytes(800, 0x90), 0x1234));
    Open();
    const auto before = AllValues();
    Select(kSounds);
    SelectEvent(5);
    // A text file renamed, and a format no device plays: refused, nothing
    // changes, nothing to apply.
    for (const std::string& refused : {text, odd}) {
        Browse(refused);
        EXPECT_EQ(TakeMessage(), "Format not supported") << refused;
        EXPECT_EQ(FileShown(), "chimes.wav");
        EXPECT_FALSE(ApplyEnabled());
    }
    // Cancelling the choice still offers Apply.
    Browse("");
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(FileShown(), "chimes.wav");

    Browse(good);
    EXPECT_EQ(TakeMessage(), "");
    EXPECT_EQ(FileShown(), "pausora-bell.wav");
    SelectEvent(0);
    SelectEvent(5);
    EXPECT_EQ(FileShown(), "pausora-bell.wav");
    Close(IDOK);
    auto expected = before;
    expected["EndPauseSound"] = good;
    EXPECT_EQ(AllValues(), expected);

    // Chosen, then the whole window cancelled: nothing.
    Open();
    Select(kSounds);
    Browse(good);
    Close(IDCANCEL);
    EXPECT_EQ(AllValues(), expected);
    ::DeleteFileA(good.c_str());
    ::DeleteFileA(text.c_str());
    ::DeleteFileA(odd.c_str());
}

// Play sounds the event's file on the page's own player: the samples reach
// the device (a file here) whole.
TEST_F(SoundsPageTest, PlaySoundsTheSelectedEventsFile) {
    ASSERT_FALSE(test::CaptureBase().empty()) << "run through tests/win/audio_capture.sh";
    test::TakeCaptures();
    const std::string path = TempFile("pausora-chime.wav");
    const test::Bytes samples = test::AudibleSamples(4000, 8, 7);
    WriteFile(path, test::CanonicalWav({1, 8000, 8}, samples));
    m_settings.RepeatPauseSound = path;
    Open();
    Select(kSounds);
    SelectEvent(4);
    Click(IDC_SOUND_PLAY);
    EXPECT_EQ(TakeMessage(), "");
    Close(IDCANCEL);  // the page's player goes with the window
    const std::vector<test::Bytes> captures = test::TakeCaptures();
    ASSERT_EQ(captures.size(), 1u);
    ASSERT_GT(captures[0].size(), 44u);
    test::Bytes heard;
    std::copy_if(captures[0].begin() + 44, captures[0].end(), std::back_inserter(heard),
                 [](std::uint8_t b) { return b != 0x80; });  // the device's silence
    EXPECT_EQ(heard, samples);
    ::DeleteFileA(path.c_str());
}

// A file named in letters beyond the system's code page is chosen, shown,
// played and stored by its own name.
TEST_F(SoundsPageTest, BrowseAndPlayTakeAFileNamedBeyondTheCodePage) {
    ASSERT_FALSE(test::CaptureBase().empty()) << "run through tests/win/audio_capture.sh";
    test::TakeCaptures();
    const std::string name = Narrow(L"\u0437\u0432\u0443\u043A \u03A9.wav");  // "звук Ω.wav"
    const std::string path = TempFile(name.c_str());
    const test::Bytes samples = test::AudibleSamples(4000, 8, 3);
    WriteFile(path, test::CanonicalWav({1, 8000, 8}, samples));
    Open();
    Select(kSounds);
    SelectEvent(2);
    Browse(path);
    EXPECT_EQ(TakeMessage(), "");
    EXPECT_EQ(FileShown(), name);
    Click(IDC_SOUND_PLAY);
    EXPECT_EQ(TakeMessage(), "");
    Close(IDOK);
    EXPECT_EQ(String("EndMicropauseSound"), path);
    const std::vector<test::Bytes> captures = test::TakeCaptures();
    ASSERT_EQ(captures.size(), 1u);
    test::Bytes heard;
    std::copy_if(captures[0].begin() + 44, captures[0].end(), std::back_inserter(heard),
                 [](std::uint8_t b) { return b != 0x80; });
    EXPECT_EQ(heard, samples);
    ::DeleteFileW(Widen(path).c_str());
}

TEST_F(SoundsPageTest, PlayingAMissingFileSaysSoAndChangesNothing) {
    m_settings.MicropauseSound = "C:\\nowhere\\gone.wav";
    Open();
    Select(kSounds);
    ::PostMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_SOUND_PLAY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(IDC_SOUND_PLAY)));
    const std::string message = TakeMessage();
    EXPECT_NE(message.find("C:\\nowhere\\gone.wav"), std::string::npos) << message;
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(FileShown(), "gone.wav");
    Close(IDCANCEL);
}

// The rows of the frame that the caption band's gradient paints, read off
// the screen at three quarters of its width, where the band is a grey of
// about 159 (white at the left edge, 127 at the right) and nothing is
// written on it.
int CaptionBandRows(HWND frame) {
    RECT own{};
    ::GetWindowRect(frame, &own);
    const int x = (own.right - own.left) * 3 / 4;
    const int grey = 255 - 128 * x / (own.right - own.left);
    const HDC screen = ::GetDC(nullptr);
    int rows = 0;
    for (int y = own.top; y < own.bottom; ++y) {
        const COLORREF colour = ::GetPixel(screen, own.left + x, y);
        const bool band = GetRValue(colour) == GetGValue(colour) &&
                          GetGValue(colour) == GetBValue(colour) &&
                          std::abs(GetRValue(colour) - grey) <= 6;
        if (band) {
            ++rows;
        } else if (rows > 0) {
            break;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return rows;
}

int WindowWidth(HWND window) {
    RECT own{};
    ::GetWindowRect(window, &own);
    return own.right - own.left;
}

// The pages' icons in the tree are drawn for the scaling the window opened
// at (run at 96 and 192 dots per inch).
// The width of the tree's first icon, 0 when it has none.
int TreeIconWidth(HWND tree) {
    const ui::IconHandle icon(
        ::ImageList_GetIcon(TreeView_GetImageList(tree, TVSIL_NORMAL), 0, ILD_NORMAL));
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon.get(), &info)) {
        return 0;
    }
    const ui::BitmapHandle mask(info.hbmMask);
    const ui::BitmapHandle colour(info.hbmColor);
    BITMAP size{};
    ::GetObjectA(mask.get(), sizeof size, &size);
    return size.bmWidth;
}

TEST_F(SettingsWindowTest, TreeIconsInTheSizeOfTheScaling) {
    Open();
    EXPECT_EQ(TreeIconWidth(Tree()), ::MulDiv(16, ScreenDpi(), 96));
    Close(IDCANCEL);
}

// Opened at the screen's scaling and moved to a monitor of another, the
// window takes the system's rectangle, and the tree, the caption band and
// the sound list's lines follow, on the page in front and on one behind it.
TEST_F(SettingsWindowTest, TheWindowFollowsTheScalingOfItsMonitor) {
    const int start = ScreenDpi();
    const int moved = OtherDpi(start);
    auto treeWidth = [](int dpi) { return ::MulDiv(150, dpi, 96) - ::MulDiv(5, dpi, 96); };
    auto lineHeight = [](int dpi) { return std::max(16, ::MulDiv(16, dpi, 96)); };
    Open();
    const HWND frame = ::GetDlgItem(m_sheet, 0xFFFF);
    EXPECT_EQ(WindowWidth(Tree()), treeWidth(start));
    int band = 0;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return (band = CaptionBandRows(frame)) > 0; }));
    Select(kSounds);
    EXPECT_EQ(::SendMessageA(Item(IDC_SOUND_EVENTS), LB_GETITEMHEIGHT, 0, 0), lineHeight(start));

    const RECT suggested = MoveToDpi(m_sheet, start, moved);
    ExpectWindowRect(m_sheet, suggested);
    EXPECT_EQ(WindowWidth(Tree()), treeWidth(moved));
    EXPECT_EQ(TreeIconWidth(Tree()), ::MulDiv(16, moved, 96));
    EXPECT_EQ(::SendMessageA(Item(IDC_SOUND_EVENTS), LB_GETITEMHEIGHT, 0, 0), lineHeight(moved));
    // The page covers whatever the band grows into while nothing lays the
    // sheet out again (under Wine); a band that shrinks shows whole.
    // The window keeps its size, so that the band's grey stays in sight.
    const int smaller = start * 3 / 4;
    RECT kept{};
    ::GetWindowRect(m_sheet, &kept);
    ::SendMessageA(m_sheet, WM_DPICHANGED, MAKEWPARAM(smaller, smaller),
                   reinterpret_cast<LPARAM>(&kept));
    const int smallerBand = ::MulDiv(band, smaller, start);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return CaptionBandRows(frame) == smallerBand; }))
        << "the band is " << CaptionBandRows(frame) << " rows, not " << smallerBand;

    // Back where it started, with another page in front.
    Select(kAppearance);
    MoveToDpi(m_sheet, smaller, start);
    EXPECT_EQ(WindowWidth(Tree()), treeWidth(start));
    EXPECT_EQ(TreeIconWidth(Tree()), ::MulDiv(16, start, 96));
    Select(kSounds);
    EXPECT_EQ(::SendMessageA(Item(IDC_SOUND_EVENTS), LB_GETITEMHEIGHT, 0, 0), lineHeight(start));
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return CaptionBandRows(frame) == band; }));
    Close(IDCANCEL);
}

TEST_F(SettingsWindowTest, ControlTabWalksAllNinePagesInTheTreesOrder) {
    Open();
    ::SetForegroundWindow(m_sheet);
    ::SetFocus(Tree());
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return ::GetForegroundWindow() == m_sheet; }));
    auto key = [](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &input, sizeof input);
    };
    auto chord = [&](std::initializer_list<WORD> held, WORD vk) {
        for (const WORD h : held) {
            key(h, false);
        }
        key(vk, false);
        key(vk, true);
        for (const WORD h : held) {
            key(h, true);
        }
        ::Sleep(150);
    };
    std::vector<int> forward;
    for (int i = 0; i < kPageCount; ++i) {
        chord({VK_CONTROL}, VK_TAB);
        forward.push_back(PageIndex());
    }
    EXPECT_EQ(forward, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    std::vector<int> back;
    for (int i = 0; i < 3; ++i) {
        chord({VK_CONTROL, VK_SHIFT}, VK_TAB);
        back.push_back(PageIndex());
    }
    chord({VK_CONTROL}, VK_NEXT);
    back.push_back(PageIndex());
    chord({VK_CONTROL}, VK_PRIOR);
    back.push_back(PageIndex());
    EXPECT_EQ(back, (std::vector<int>{8, 7, 6, 7, 6}));
    // The tree follows, and its caption band names the page.
    EXPECT_EQ(TreeView_GetSelection(Tree()), NodeOf(kStartup));
    Close(IDCANCEL);
}

}  // namespace
}  // namespace pausora

namespace pausora {
namespace {

// The tree sheet with pages of the test's own: a parent added after its
// child, and a page that can refuse to be left.
class TestPage final : public ui::PropertyPage {
  public:
    TestPage(UINT templateId, UINT iconId) : ui::PropertyPage(templateId, iconId) {}
    std::atomic<bool> refuseToLeave{false};

  protected:
    ui::Handled OnNotify(const NMHDR& header) override {
        if (header.code == PSN_KILLACTIVE) {
            return refuseToLeave ? TRUE : FALSE;
        }
        return std::nullopt;
    }
};

class TreeSheetTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (m_thread != nullptr) {
            ::PostMessageA(m_sheet, WM_COMMAND, IDCANCEL, 0);
            ::WaitForSingleObject(m_thread, kTimeoutMs);
            ::CloseHandle(m_thread);
        }
    }
    void Open() {
        m_thread = ::CreateThread(
            nullptr, 0,
            [](LPVOID self) -> DWORD {
                auto* test = static_cast<TreeSheetTest*>(self);
                TreeSheet::CTreeSettingsSheet sheet("Tree sheet test", nullptr, 0);
                sheet.SetTreeViewMode(true, true, true);
                for (TestPage* page : {&test->m_sounds, &test->m_customize, &test->m_schedule}) {
                    sheet.AddPage(*page);
                }
                sheet.DoModal();
                return 0;
            },
            this, 0, nullptr);
        ASSERT_NE(m_thread, nullptr);
        ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
            m_sheet = ::FindWindowA(nullptr, "Tree sheet test");
            return m_sheet != nullptr && ::IsWindowVisible(m_sheet) && Tree() != nullptr;
        }));
    }
    HWND Tree() const { return ::GetDlgItem(m_sheet, kTree); }
    int PageIndex() const {
        return static_cast<int>(
            PropSheet_HwndToIndex(m_sheet, PropSheet_GetCurrentPageHwnd(m_sheet)));
    }
    int SelectedPage() const {
        TVITEMA info{};
        info.mask = TVIF_PARAM;
        info.hItem = TreeView_GetSelection(Tree());
        TreeView_GetItem(Tree(), &info);
        return info.hItem != nullptr ? static_cast<int>(info.lParam) : -2;
    }
    HTREEITEM Node(HTREEITEM parent, int index) const {
        HTREEITEM item = TreeView_GetChild(Tree(), parent);
        for (int i = 0; i < index && item != nullptr; ++i) {
            item = TreeView_GetNextSibling(Tree(), item);
        }
        return item;
    }

    TestPage m_sounds{IDD_PAGE_SOUNDS, IDI_PAGE_SOUNDS};           // "Customize::Sounds"
    TestPage m_customize{IDD_PAGE_CUSTOMIZE, IDI_PAGE_CUSTOMIZE};  // "Customize"
    TestPage m_schedule{IDD_PAGE_SCHEDULE, IDI_PAGE_SCHEDULE};     // "Schedule"
    HANDLE m_thread = nullptr;
    HWND m_sheet = nullptr;
};

TEST_F(TreeSheetTest, SelectionGoesBothWaysAndAPageThatWillNotBeLeftKeepsIt) {
    Open();
    // "Customize" came after its child and took the node made for it.
    const HTREEITEM customize = Node(TVI_ROOT, 0);
    const HTREEITEM schedule = Node(TVI_ROOT, 1);
    ASSERT_NE(customize, nullptr);
    EXPECT_EQ(Node(TVI_ROOT, 2), nullptr);
    EXPECT_EQ(TreeView_GetChild(Tree(), schedule), nullptr);
    const HTREEITEM sounds = Node(customize, 0);
    ASSERT_NE(sounds, nullptr);
    EXPECT_EQ(SelectedPage(), 0);
    EXPECT_EQ(TreeView_GetSelection(Tree()), sounds);

    // Page to tree: the sheet's own page change moves the selection.
    PropSheet_SetCurSel(m_sheet, nullptr, 2);
    EXPECT_EQ(PageIndex(), 2);
    EXPECT_EQ(TreeView_GetSelection(Tree()), schedule);

    // Tree to page, unless the page being left refuses.
    TreeView_SelectItem(Tree(), customize);
    EXPECT_EQ(PageIndex(), 1);
    m_customize.refuseToLeave = true;
    TreeView_SelectItem(Tree(), sounds);
    EXPECT_EQ(PageIndex(), 1);
    EXPECT_EQ(TreeView_GetSelection(Tree()), customize);
    m_customize.refuseToLeave = false;
    TreeView_SelectItem(Tree(), sounds);
    EXPECT_EQ(PageIndex(), 0);
    EXPECT_EQ(SelectedPage(), 0);
}

}  // namespace
}  // namespace pausora
