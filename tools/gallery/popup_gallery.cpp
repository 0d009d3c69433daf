// Shows the popup (or the tray menu) the way the program does, for a person
// to look at: scripts/screenshots-popup.sh runs it once per picture.
//
//   popup_gallery <state 3..8> <bottom|top|left|right|none> <mode 0|1> <ready-file>
//                 [stars] [hover]
//   popup_gallery menu <ready-file>
//
// When the popup is fully shown (or the menu is open) it creates <ready-file>
// and keeps everything on screen until <ready-file>.done appears.
#include "app/pause_menu_win.h"
#include "notify/tray_icon.h"
#include "scheduler/break_engine.h"
#include "store/languages.h"
#include "tips/tips.h"
#include "ui/ui_language.h"
#include "win/popup_setup.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using namespace pausora;

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::string& path) {
    const ui::FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A plain desktop with a dark strip where the taskbar would be, so that the
// pictures show which edge the popup came from.
class Backdrop : public ui::Window {
  public:
    Backdrop(RECT screen, RECT work) : m_screen(screen), m_work(work) {
        CreateEx(0, L"PopupGalleryBackdrop", L"", WS_POPUP, 0, 0, screen.right, screen.bottom,
                 nullptr);
        ::SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }

  protected:
    ui::Handled OnEraseBackground(HDC) override { return TRUE; }
    ui::Handled OnPaint() override {
        PAINTSTRUCT paint{};
        const HDC dc = ::BeginPaint(Handle(), &paint);
        const ui::BrushHandle desk(::CreateSolidBrush(RGB(58, 110, 165)));
        const ui::BrushHandle bar(::CreateSolidBrush(RGB(32, 36, 44)));
        ::FillRect(dc, &m_screen, bar.get());
        ::FillRect(dc, &m_work, desk.get());
        ::EndPaint(Handle(), &paint);
        return 0;
    }

  private:
    RECT m_screen;
    RECT m_work;
};

class Owner : public ui::Window {
  public:
    Owner() { CreateEx(0, L"PopupGalleryOwner", L"", WS_POPUP, 0, 0, 10, 10, nullptr); }
};

// A saying of the notices, in the language the gallery speaks: the third
// line of that language's sayings file beside the gallery, or the English.
std::string Saying() {
    std::string saying =
        "Look out of the window for a moment. Your eyes relax when they focus far away.";
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    const std::string language(ResolveLanguage({}, ui::UserDisplayLanguages()));
    std::ifstream file(folder + TipsFileName(language), std::ios::binary);
    std::string line;
    for (int i = 0; i < 3 && std::getline(file, line); ++i) {
    }
    if (file && !line.empty()) {
        line.erase(line.find_last_not_of('\r') + 1);
        DecodeTipLine(line);
        saying = line;
    }
    return saying;
}

void SetState(CNotifierPopup& popup, int state) {
    const BreakTexts texts = LoadBreakTexts();
    const std::string tip = Saying();
    switch (state) {
        case 3:
        case 4:
        case 5:
        case 6: {
            const bool shortBreak = state <= 4;
            const bool repeat = state == 4 || state == 6;
            popup.SetItemText(2, repeat       ? texts.repeatTitle
                                 : shortBreak ? texts.shortBreakTitle
                                              : texts.longBreakTitle);
            popup.SetItemClickable(3, true);
            popup.SetItemText(3, texts.stretchLink);
            const UINT picture = shortBreak ? IDB_SHORT_BREAK : IDB_LONG_BREAK;
            popup.SetItemPictures(1, picture, picture);
            popup.SetItemText(4, tip);
            break;
        }
        case 7:
            popup.SetItemPictures(1, IDB_WORKDAY_END, IDB_WORKDAY_END);
            popup.SetItemText(3, texts.eveningLine);
            popup.SetItemClickable(3, false);
            popup.SetItemText(4, DayTimeLine(texts, 8 * 60 + 12));
            popup.SetItemText(2, texts.workdayEndTitle);
            break;
        case 8:
            popup.SetItemPictures(1, IDB_TIME_LIMIT, IDB_TIME_LIMIT);
            popup.SetItemText(3, texts.restLine);
            popup.SetItemClickable(3, false);
            popup.SetItemText(4, DayTimeLine(texts, 6 * 60 + 1));
            popup.SetItemText(2, texts.timeLimitTitle);
            break;
        default:
            break;
    }
}

RECT WorkAreaFor(const std::string& edge, RECT screen) {
    RECT work = screen;
    if (edge == "bottom") {
        work.bottom -= 40;
    } else if (edge == "top") {
        work.top += 40;
    } else if (edge == "left") {
        work.left += 60;
    } else if (edge == "right") {
        work.right -= 60;
    }
    return work;
}

std::string g_ready;
int g_menuStage = 0;

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Opens the Notifications submenu, so that the picture shows the check
// marks, then waits for the script.
void CALLBACK WatchMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND menu = ::FindWindowA("#32768", nullptr);
    if (menu == nullptr || !::IsWindowVisible(menu)) {
        return;
    }
    switch (g_menuStage++) {
        case 0:
            PressKey(VK_DOWN);
            PressKey(VK_DOWN);
            PressKey(VK_RIGHT);
            return;
        case 1:
        case 2:
            return;  // time to draw the submenu
        default:
            break;
    }
    if (!FileExists(g_ready)) {
        Touch(g_ready);
    }
    if (FileExists(g_ready + ".done")) {
        ::KillTimer(nullptr, timer);
        ::EndMenu();
    }
}

int ShowMenu() {
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    Backdrop backdrop(screen, WorkAreaFor("bottom", screen));
    test::PumpFor(200);
    Owner target;
    ui::SetAppMainWindow(target.Handle());
    STimeSettings settings;
    settings.UsePauses = 0;  // one switch off, to show both kinds of mark
    CTrayIcon tray;
    const ui::IconHandle icon(
        static_cast<HICON>(::LoadImageA(ui::ModuleInstance(), MAKEINTRESOURCEA(IDI_TRAY_NORMAL),
                                        IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    tray.ShowSwitches(settings);
    tray.Create(WM_TRAYICON_NOTIFY, "Pausora", icon.get(), IDR_TRAYMENU);
    tray.SetStartStopCaption(LoadBreakTexts().captionStop.c_str());
    tray.SetMenuDefaultItem(kStartStopPosition, true);
    ::SetCursorPos(screen.right - 260, screen.bottom - 48);
    ::SetTimer(nullptr, 0, 100, &WatchMenu);
    ::SendMessageA(tray.Handle(), WM_TRAYICON_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "menu") == 0) {
        g_ready = argv[2];
        return ShowMenu();
    }
    if (argc < 5) {
        return 2;
    }
    const int state = std::atoi(argv[1]);
    const std::string edge = argv[2];
    const int mode = std::atoi(argv[3]);
    const std::string ready = argv[4];
    const int stars = argc > 5 ? std::atoi(argv[5]) : 3;
    const bool hover = argc > 6 && std::strcmp(argv[6], "hover") == 0;

    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const RECT savedWork = testing::WorkArea();
    const RECT work = WorkAreaFor(edge, screen);
    testing::SetWorkArea(work);

    Backdrop backdrop(screen, work);
    Owner owner;
    CNotifierPopup popup;
    testing::SetUpLikeTheMainWindow(popup, owner.Handle());
    SetState(popup, state);
    test::PumpFor(200);
    popup.ShowPopup(500, 60000, 500, 10, mode, stars);
    test::PumpUntil(5000, [&] { return popup.Model().Phase() == PopupPhase::kWaiting; });
    if (hover) {
        // On the link, in the window's pixels at its scaling.
        const int dpi = popup.Model().Dpi();
        ::SendMessageA(popup.Handle(), WM_MOUSEMOVE, 0,
                       MAKELPARAM(ScaleLength(40, dpi), ScaleLength(50, dpi)));
    }
    test::PumpFor(300);
    Touch(ready);
    test::PumpUntil(30000, [&] { return FileExists(ready + ".done"); });
    testing::SetWorkArea(savedWork);
    return 0;
}
