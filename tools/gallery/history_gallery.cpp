// Shows the history window over a synthetic month (or over no history), for a
// person to look at: scripts/screenshots-history.sh runs it.
//
//   history_gallery <ready-file> <width> <height> [month|empty|off]
//   history_gallery --bench
//
// Once the window is on screen it writes its rectangle ("WxH+X+Y") to
// <ready-file> and closes when <ready-file>.done appears.
#include "history/history_window.h"
#include "shared/quiet_presenter.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace pausora;
using test::QuietPresenter;

// A month of work: weekdays of five to eight hours, most breaks taken,
// weekends off, today under way.
class MonthStorage final : public IHistoryStorage {
  public:
    explicit MonthStorage(bool empty, int days = 31) : m_empty(empty), m_days(days) {}
    ReadResult Read(std::string& text, std::size_t) override {
        if (m_empty) {
            return ReadResult::kMissing;
        }
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        const Date today{now.wYear, now.wMonth, now.wDay};
        HistoryFile file;
        for (int i = m_days - 1; i >= 0; --i) {
            const Date date = DateOfDayNumber(DayNumber(today) - i);
            if (Weekday(date) >= 5 && i != 0) {
                continue;
            }
            DayRecord& r = file.Day(date);
            const auto k = static_cast<std::uint32_t>((i * 37) % 11);
            r.minutes = i == 0 ? 190 : 290 + k * 17;
            r.shortBreaks.due = r.minutes / 8;
            r.shortBreaks.taken = r.shortBreaks.due - k - (i % 4 == 1 ? r.shortBreaks.due / 3 : 0);
            r.shortBreaks.workedThrough = k / 3;
            r.longBreaks.due = r.minutes / 60;
            r.longBreaks.taken = r.longBreaks.due - (k > 8 ? 1 : 0);
            r.longBreaks.workedThrough = k > 8 ? 1 : 0;
            r.pointsEarned = 2 * r.shortBreaks.taken + 10 * r.longBreaks.taken;
            r.pointsLost = r.shortBreaks.workedThrough + 5 * r.longBreaks.workedThrough;
            r.firstActive = 8 * 60 + static_cast<std::int32_t>(k * 3);
            r.lastActive = r.firstActive + static_cast<std::int32_t>(r.minutes) + 45;
        }
        text = file.Serialise();
        return ReadResult::kRead;
    }
    bool Write(std::string_view) override { return true; }
    bool Remove() override { return true; }

  private:
    bool m_empty;
    int m_days;
};

std::string g_ready;
HWND g_window = nullptr;
int g_settled = 0;
bool g_told = false;

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    if (g_window == nullptr || !::IsWindowVisible(g_window)) {
        return;
    }
    if (!g_told) {
        if (++g_settled < 4) {
            return;
        }
        ::RedrawWindow(g_window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT r{};
        ::GetWindowRect(g_window, &r);
        if (std::FILE* file = std::fopen(g_ready.c_str(), "w")) {
            std::fprintf(file, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left,
                         r.top);
            std::fclose(file);
        }
        g_told = true;
        return;
    }
    if (::GetFileAttributesA((g_ready + ".done").c_str()) != INVALID_FILE_ATTRIBUTES) {
        ::PostQuitMessage(0);
    }
}

}  // namespace

// Two years of history read and the window painted, as a user opens it:
// prints the time of each part.
int Bench() {
    QuietPresenter presenter;
    MonthStorage storage(false, 731);
    HistoryRecorder history(storage, presenter);
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER read{};
    LARGE_INTEGER shown{};
    LARGE_INTEGER painted{};
    ::QueryPerformanceFrequency(&frequency);
    const auto ms = [&](LARGE_INTEGER a, LARGE_INTEGER b) {
        return static_cast<double>(b.QuadPart - a.QuadPart) * 1000.0 /
               static_cast<double>(frequency.QuadPart);
    };
    ::QueryPerformanceCounter(&start);
    history.SetKeeping(true);  // the file's text made, read and parsed
    ::QueryPerformanceCounter(&read);
    STimeSettings settings;
    CHistoryWindow window(history, settings);
    window.Show();
    ::UpdateWindow(window.Handle());
    ::QueryPerformanceCounter(&shown);
    constexpr int kPaints = 50;
    for (int i = 0; i < kPaints; ++i) {
        // Another size each time: laid out afresh, a new bitmap, painted.
        ::SetWindowPos(window.Handle(), nullptr, 0, 0, 700 + (i % 2) * 200, 450,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    ::QueryPerformanceCounter(&painted);
    std::printf(
        "history: %zu days read in %.2f ms; the window made and first painted in %.2f ms; "
        "resized, laid out and painted in %.2f ms each\n",
        history.File().Records().size(), ms(start, read), ms(read, shown),
        ms(shown, painted) / kPaints);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--bench") {
        return Bench();
    }
    if (argc < 4) {
        return 2;
    }
    g_ready = argv[1];
    const std::string kind = argc > 4 ? argv[4] : "month";
    QuietPresenter presenter;
    MonthStorage storage(kind != "month");
    HistoryRecorder history(storage, presenter);
    history.SetKeeping(kind != "off");
    STimeSettings settings;
    CHistoryWindow window(history, settings);
    window.Show();
    g_window = window.Handle();
    if (g_window == nullptr) {
        return 1;
    }
    // Width and height of the client area at 96 DPI, scaled like the window.
    const int dpi = ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY);
    RECT frame{0, 0, ::MulDiv(std::atoi(argv[2]), dpi, 96), ::MulDiv(std::atoi(argv[3]), dpi, 96)};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    ::SetWindowPos(g_window, nullptr, 40, 40, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER);
    ::SetTimer(nullptr, 0, 100, &Watch);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
