// The two wizards as start-up runs them, on the real registry, driven page by
// page from a second thread the way a user clicks through them.
#include "app/pausora_app.h"
#include "store/registry_key.h"
#include "resource.h"
#include "shared/common_controls_fixture.h"
#include "shared/dpi_checks.h"
#include "shared/win_backdoor.h"
#include "shared/wizard_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <thread>
#include <vector>

namespace pausora::test {
namespace {

constexpr WizardButtons kNextOnly{false, true, false};
constexpr WizardButtons kBackNext{true, true, false};
constexpr WizardButtons kBackFinish{true, false, true};

void SetPickerTime(HWND picker, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = 1990;
    time.wMonth = 1;
    time.wDay = 1;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

std::string PickerText(HWND picker) {
    return WindowText(picker);
}

// Runs start-up's settings and wizards on this thread while `user` works the
// wizards from another. The user is handed every wizard sheet that appears,
// in turn, and says by its return whether to wait for another.
class WizardTest : public test::WithCommonControls {
  protected:
    void SetUp() override {
        WithCommonControls::SetUp();
        m_store.Reset();
    }
    void TearDown() override {
        m_store.Reset();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora");
    }

    // `user` sees the sheets one after the other; start-up must be over
    // when it has seen them all.
    void StartUp(std::vector<std::function<void(const WizardDriver&)>> users) {
        std::atomic<bool> done{false};
        std::thread hand([&] {
            HWND previous = nullptr;
            for (auto& user : users) {
                const HWND sheet =
                    WizardDriver::WaitForSheet(::GetCurrentProcessId(), kTimeoutMs, previous);
                if (sheet == nullptr) {
                    ADD_FAILURE() << "no wizard appeared";
                    return;
                }
                ++m_sheetsSeen;
                const WizardDriver driver(sheet);
                user(driver);
                if (!driver.WaitForClose()) {
                    ADD_FAILURE() << "the wizard stayed open";
                    driver.Cancel();
                }
                previous = sheet;
            }
            // Nothing more may appear before start-up ends.
            while (!done) {
                if (WizardDriver::WaitForSheet(::GetCurrentProcessId(), 50, previous) != nullptr) {
                    ++m_sheetsSeen;
                    ADD_FAILURE() << "an unexpected wizard appeared";
                    WizardDriver(WizardDriver::WaitForSheet(::GetCurrentProcessId(), 50, previous))
                        .Cancel();
                }
            }
        });
        WinRegistry registry;
        WizardsAtStartup wizards;
        m_result = PrepareSettings(registry, "C:\\windows", "C:\\Pausora\\", wizards,
                                   ReadPolicy(registry));
        done = true;
        hand.join();
    }

    std::uint32_t Stored(std::string_view name) {
        return m_store.Dword(reg::kSettingsKey, name).value_or(0xDEAD);
    }

    WinBackdoor m_store;
    StartupResult m_result;
    std::atomic<int> m_sheetsSeen{0};
};

// Centred on the work area, give or take the rounding of an odd size.
void ExpectCentredOnWorkArea(HWND sheet) {
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT own{};
    ::GetWindowRect(sheet, &own);
    EXPECT_NEAR(own.left + own.right, work.left + work.right, 1);
    EXPECT_NEAR(own.top + own.bottom, work.top + work.bottom, 1);
}

LOGFONTA FontOf(HWND control) {
    LOGFONTA face{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), sizeof face,
                 &face);
    return face;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A 12-point title at `dpi`.
LONG TitleHeight(int dpi) {
    return -::MulDiv(16, dpi, 96);
}

// The picture in a page's left strip; 0 without one.
int PictureHeight(HWND page) {
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            return StaticPictureHeight(child);
        }
    }
    return 0;
}

// Steps from the page shown to the next one and waits until it is in front.
void ExpectNext(const WizardDriver& wizard, int to) {
    ASSERT_TRUE(wizard.Next()) << "no Next on page " << wizard.PageIndex();
    ASSERT_TRUE(wizard.WaitForPage(to));
}

// The texts of a workplace page stand one under the other inside the page,
// the advice with even gaps however many lines each paragraph takes.
void ExpectStackedTexts(HWND page, int number) {
    std::vector<std::pair<RECT, int>> texts;
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char kind[16] = {};
        ::GetClassNameA(child, kind, sizeof kind);
        if (::lstrcmpiA(kind, "Static") == 0 &&
            (::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) {
            RECT rect{};
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
            texts.push_back({rect, ::GetDlgCtrlID(child)});
        }
    }
    std::sort(texts.begin(), texts.end(),
              [](const auto& a, const auto& b) { return a.first.top < b.first.top; });
    RECT client{};
    ::GetClientRect(page, &client);
    std::set<LONG> gaps;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const LONG gap = texts[i].first.top - texts[i - 1].first.bottom;
        EXPECT_GE(gap, 0) << "page " << number << ", text " << i << " overlaps the one above";
        if (texts[i].second == IDC_STATIC && texts[i - 1].second == IDC_STATIC) {
            gaps.insert(gap);
        }
    }
    ASSERT_FALSE(texts.empty());
    EXPECT_LE(texts.back().first.bottom, client.bottom) << "page " << number;
    EXPECT_LE(gaps.size(), 1u) << "page " << number << ": uneven gaps";
}

TEST_F(WizardTest, FinishStoresEveryPageAndItsBoxStartsTheWorkplaceWizard) {
    std::vector<std::string> workplaceTitles;
    StartUp({
        [&](const WizardDriver& wizard) {
            EXPECT_EQ(WindowText(wizard.Sheet()), "Initial Setup Wizard");
            EXPECT_EQ(wizard.PageIndex(), 0);
            EXPECT_EQ(wizard.Text(IDC_WIZARD_TITLE), "Welcome to Pausora");
            ExpectCentredOnWorkArea(wizard.Sheet());
            EXPECT_TRUE(wizard.WaitForButtons(kNextOnly));

            ExpectNext(wizard, 1);
            EXPECT_TRUE(wizard.WaitForButtons(kBackNext));
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_1)), "09:00");
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_2)), "17:00");
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_1), 8, 30, 0);
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_2), 17, 15, 0);

            ExpectNext(wizard, 2);
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_1)), "06:00");
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_1), 5, 45, 0);

            ExpectNext(wizard, 3);
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_1)), "07:00");
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_2)), "00:11");
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_1), 0, 12, 34);
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_2), 0, 0, 20);
            // Back stores the page too, and the page comes back as it was left.
            ASSERT_TRUE(wizard.Back());
            ASSERT_TRUE(wizard.WaitForPage(2));
            ExpectNext(wizard, 3);
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_1)), "12:34");

            ExpectNext(wizard, 4);
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_1)), "01:00");
            EXPECT_EQ(PickerText(wizard.Control(IDC_WIZARD_PICKER_2)), "00:10");
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_1), 1, 15, 0);
            SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_2), 0, 15, 0);

            ExpectNext(wizard, 5);
            EXPECT_TRUE(wizard.WaitForButtons(kBackFinish));
            EXPECT_EQ(::IsDlgButtonChecked(wizard.Page(), IDC_WIZARD_START_WORKPLACE), BST_CHECKED);
            EXPECT_EQ(WindowText(wizard.Sheet()), "Initial Setup Wizard");
            EXPECT_TRUE(wizard.Finish());
        },
        [&](const WizardDriver& wizard) {
            EXPECT_EQ(WindowText(wizard.Sheet()), "Workplace Setup Wizard");
            ExpectCentredOnWorkArea(wizard.Sheet());
            std::vector<LONG> weights;
            for (int page = 0; page < 8; ++page) {
                ASSERT_TRUE(wizard.WaitForPage(page));
                EXPECT_TRUE(wizard.WaitForButtons(page == 0   ? kNextOnly
                                                  : page == 7 ? kBackFinish
                                                              : kBackNext))
                    << "page " << page;
                workplaceTitles.push_back(wizard.Text(IDC_WIZARD_TITLE));
                ExpectStackedTexts(wizard.Page(), page);
                weights.push_back(FontOf(wizard.Control(IDC_WIZARD_TITLE)).lfWeight);
                if (page < 7) {
                    ASSERT_TRUE(wizard.Next());
                }
            }
            workplaceTitles.push_back(wizard.Text(IDC_WIZARD_TITLE_2));
            // Every page speaks in its 12-point Arial title, bold where the
            // walk begins and ends; the last page's second title likewise.
            const LOGFONTA face = FontOf(wizard.Control(IDC_WIZARD_TITLE_2));
            EXPECT_STREQ(face.lfFaceName, "Arial");
            EXPECT_EQ(face.lfHeight, TitleHeight(ScreenDpi()));
            EXPECT_EQ(weights, (std::vector<LONG>{700, 400, 400, 400, 400, 400, 400, 700}));
            EXPECT_TRUE(WaitFor(3000, [&] {
                return FocusOf(wizard.Sheet()) == ::GetDlgItem(wizard.Sheet(), kFinishButton);
            })) << "the focus is not on Finish";
            EXPECT_TRUE(wizard.Finish());
        },
    });
    EXPECT_TRUE(m_result.firstUse);
    EXPECT_EQ(m_sheetsSeen, 2);
    EXPECT_EQ(workplaceTitles,
              (std::vector<std::string>{"Workplace setup wizard", "Desk and chair",
                                        "Sitting correctly", "Screen", "Keyboard and mouse",
                                        "Notebook computers", "Lighting", "Climate", "Noise"}));

    EXPECT_EQ(Stored("StartWorkTime_hours"), 8u);
    EXPECT_EQ(Stored("StartWorkTime_minutes"), 30u);
    EXPECT_EQ(Stored("EndWorkTime_hours"), 17u);
    EXPECT_EQ(Stored("EndWorkTime_minutes"), 15u);
    EXPECT_EQ(Stored("DailyTimeLimit"), 5u * 3600 + 45 * 60);
    EXPECT_EQ(Stored("Micropause"), 12u * 60 + 34);
    EXPECT_EQ(Stored("Micropause_length"), 20u);
    EXPECT_EQ(Stored("Pause"), 4500u);
    EXPECT_EQ(Stored("Pause_length"), 900u);
    // The switches are not on these pages.
    EXPECT_EQ(Stored("UseMicropauses"), 1u);
    EXPECT_EQ(Stored("UseDailyTimeLimit"), 1u);
    EXPECT_EQ(m_result.settings.Micropause, 754u);
}

TEST_F(WizardTest, CancelKeepsWhatThePagesStoredAndStartsNoWorkplaceWizard) {
    // A long break of 10:30 from an earlier version; the wizard shows 00:10.
    m_store.SetDword(reg::kSettingsKey, "Pause_length", 630);
    m_store.SetDword(reg::kSettingsKey, "UseMicropauses", 0);
    StartUp({[&](const WizardDriver& wizard) {
        ExpectNext(wizard, 1);
        ExpectNext(wizard, 2);
        ExpectNext(wizard, 3);
        SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_1), 0, 3, 0);
        ExpectNext(wizard, 4);
        // Changed on the page that is showing when Cancel comes: not stored.
        SetPickerTime(wizard.Control(IDC_WIZARD_PICKER_1), 2, 0, 0);
        ASSERT_TRUE(wizard.WaitForButtons(kBackNext));
        wizard.Cancel();
    }});
    EXPECT_EQ(m_sheetsSeen, 1);
    EXPECT_EQ(Stored("Micropause"), 180u);
    EXPECT_EQ(Stored("Pause"), 3600u);
    EXPECT_EQ(Stored("Pause_length"), 630u);  // its page was never left
    EXPECT_EQ(Stored("UseMicropauses"), 0u);
    EXPECT_EQ(Stored("StartWorkTime_hours"), 9u);
}

TEST_F(WizardTest, CancelOnTheLastPageAndTheUntickedBoxStartNoWorkplaceWizard) {
    m_store.SetDword(reg::kSettingsKey, "Pause_length", 630);
    StartUp({[&](const WizardDriver& wizard) {
        for (int page = 1; page <= 5; ++page) {
            ExpectNext(wizard, page);
        }
        ASSERT_TRUE(wizard.WaitForButtons(kBackFinish));
        wizard.Cancel();
    }});
    EXPECT_EQ(m_sheetsSeen, 1);
    // Paged through: "HH:mm" has no room for the odd 30 seconds.
    EXPECT_EQ(Stored("Pause_length"), 600u);

    // The next start is not the first: no wizard at all.
    StartUp({});
    EXPECT_FALSE(m_result.firstUse);
    EXPECT_EQ(m_sheetsSeen, 1);

    // A first start again, the box unticked and Finish by the Enter key while
    // the box has the focus.
    m_store.Reset();
    StartUp({[&](const WizardDriver& wizard) {
        for (int page = 1; page <= 5; ++page) {
            ExpectNext(wizard, page);
        }
        ASSERT_TRUE(wizard.WaitForButtons(kBackFinish));
        const HWND box = wizard.Control(IDC_WIZARD_START_WORKPLACE);
        ::SendMessageA(box, BM_CLICK, 0, 0);
        EXPECT_EQ(::IsDlgButtonChecked(wizard.Page(), IDC_WIZARD_START_WORKPLACE), BST_UNCHECKED);
        ::SendMessageA(wizard.Sheet(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        ::PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    }});
    EXPECT_EQ(m_sheetsSeen, 2);
}

// Next and Back pass over a page whose every value the machine's policy sets,
// and the policy's values are not saved as the user's own.
TEST_F(WizardTest, PagesAPolicyAnswersArePassedOver) {
    struct Case {
        std::vector<std::pair<const wchar_t*, DWORD>> policies;
        std::vector<int> pages;  // shown by Next from the first
    };
    const std::vector<Case> cases = {
        {{{L"DailyTimeLimit", 7200}}, {0, 1, 3, 4, 5}},
        {{{L"StartWorkTime_hours", 8},
          {L"EndWorkTime_minutes", 30},
          {L"DailyTimeLimit", 7200},
          {L"Micropause", 120},
          {L"Micropause_length", 10},
          {L"Pause", 1800},
          {L"Pause_length", 300}},
         {0, 5}},
    };
    for (const Case& c : cases) {
        m_store.Reset();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora");
        for (auto [name, value] : c.policies) {
            ASSERT_EQ(
                ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora\\TimeSettings",
                                  name, REG_DWORD, &value, sizeof value),
                ERROR_SUCCESS);
        }
        StartUp({[&](const WizardDriver& wizard) {
            ASSERT_TRUE(wizard.WaitForPage(0));
            for (std::size_t i = 1; i < c.pages.size(); ++i) {
                ExpectNext(wizard, c.pages[i]);
            }
            ASSERT_TRUE(wizard.WaitForButtons(kBackFinish));
            for (std::size_t i = c.pages.size() - 1; i-- > 0;) {
                ASSERT_TRUE(wizard.Back());
                ASSERT_TRUE(wizard.WaitForPage(c.pages[i]));
            }
            wizard.Cancel();
        }});
        EXPECT_EQ(Stored("DailyTimeLimit"), 21600u) << c.pages.size();
    }
    EXPECT_EQ(m_sheetsSeen, 2);
}

// Real keys: the wizard must be in front. Its pages turn only by its
// buttons, whatever a tabbed sheet does with Ctrl+Tab.
// Both wizards open at the screen's scaling, and a wizard moved to a monitor
// of another scaling takes the system's rectangle and redraws its titles and
// pictures for it, on the pages shown and on those it shows later.
TEST_F(WizardTest, TitlesAndPicturesFollowTheScaling) {
    const int start = ScreenDpi();
    const int moved = OtherDpi(start);
    StartUp({
        [&](const WizardDriver& wizard) {
            ASSERT_TRUE(wizard.WaitForPage(0));
            // The welcome page's picture fills its strip, 193 dialog units.
            const int strip = DialogUnitsHigh(wizard.Page(), 193);
            EXPECT_NEAR(PictureHeight(wizard.Page()), strip, 2);
            EXPECT_EQ(FontHeight(wizard.Control(IDC_WIZARD_TITLE)), TitleHeight(start));
            const RECT suggested = MoveToDpi(wizard.Sheet(), start, moved);
            ExpectWindowRect(wizard.Sheet(), suggested);
            EXPECT_NEAR(PictureHeight(wizard.Page()), ::MulDiv(strip, moved, start), 2);
            EXPECT_EQ(FontHeight(wizard.Control(IDC_WIZARD_TITLE)), TitleHeight(moved));
            for (int page = 1; page <= 5; ++page) {
                ExpectNext(wizard, page);
            }
            EXPECT_TRUE(wizard.WaitForButtons(kBackFinish));
            EXPECT_TRUE(wizard.Finish());
        },
        [&](const WizardDriver& wizard) {
            ASSERT_TRUE(wizard.WaitForPage(0));
            // The strip is the page's height, 193 dialog units.
            const int strip = DialogUnitsHigh(wizard.Page(), 193);
            EXPECT_NEAR(PictureHeight(wizard.Page()), strip, 2);
            EXPECT_EQ(FontHeight(wizard.Control(IDC_WIZARD_TITLE)), TitleHeight(start));

            const RECT suggested = MoveToDpi(wizard.Sheet(), start, moved);
            ExpectWindowRect(wizard.Sheet(), suggested);
            EXPECT_NEAR(PictureHeight(wizard.Page()), ::MulDiv(strip, moved, start), 2);
            EXPECT_EQ(FontHeight(wizard.Control(IDC_WIZARD_TITLE)), TitleHeight(moved));

            // A page made after the move starts at the new scaling.
            ExpectNext(wizard, 1);
            EXPECT_NEAR(PictureHeight(wizard.Page()), ::MulDiv(strip, moved, start), 2);
            EXPECT_EQ(FontHeight(wizard.Control(IDC_WIZARD_TITLE)), TitleHeight(moved));

            // And back: the first page follows again.
            MoveToDpi(wizard.Sheet(), moved, start);
            ASSERT_TRUE(wizard.Back());
            ASSERT_TRUE(wizard.WaitForPage(0));
            EXPECT_NEAR(PictureHeight(wizard.Page()), strip, 2);
            EXPECT_EQ(FontHeight(wizard.Control(IDC_WIZARD_TITLE)), TitleHeight(start));
            wizard.Cancel();
        },
    });
    EXPECT_EQ(m_sheetsSeen, 2);
}

TEST_F(WizardTest, ControlTabDoesNotTurnThePages) {
    StartUp({[&](const WizardDriver& wizard) {
        ExpectNext(wizard, 1);
        ::SetForegroundWindow(wizard.Sheet());
        ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return ::GetForegroundWindow() == wizard.Sheet(); }));
        const auto chord = [](WORD modifier, WORD vk) {
            INPUT keys[4] = {};
            for (INPUT& key : keys) {
                key.type = INPUT_KEYBOARD;
            }
            keys[0].ki.wVk = keys[3].ki.wVk = modifier;
            keys[1].ki.wVk = keys[2].ki.wVk = vk;
            keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
            ::SendInput(4, keys, sizeof keys[0]);
            ::Sleep(150);
        };
        for (const WORD vk : std::initializer_list<WORD>{VK_TAB, VK_NEXT, VK_TAB}) {
            chord(VK_CONTROL, vk);
        }
        ::Sleep(300);
        EXPECT_EQ(wizard.PageIndex(), 1);
        // Alt+N, sent the same way, does: the keys reach the wizard.
        chord(VK_MENU, 'N');
        EXPECT_TRUE(WaitFor(3000, [&] { return wizard.PageIndex() == 2; })) << wizard.PageIndex();
        wizard.Cancel();
    }});
    EXPECT_EQ(m_sheetsSeen, 1);
}

}  // namespace
}  // namespace pausora::test
