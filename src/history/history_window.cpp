#include "history/history_window.h"

#include "artwork_ids.h"
#include "history/history_store_win.h"
#include "resource.h"
#include "store/locale_formats_win.h"
#include "ui/common_controls.h"
#include "ui/system_notice.h"
#include "ui/utf.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdlib>

namespace pausora {
namespace {

constexpr UINT kExportId = 101;
constexpr UINT kCloseId = 102;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 60000;  // today's bar grows a minute at a time

// The notices' palette (the artwork's greens and greys).
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(64, 64, 64);
constexpr COLORREF kMutedText = RGB(115, 115, 115);
constexpr COLORREF kGrid = RGB(216, 216, 216);
constexpr COLORREF kBar = RGB(114, 200, 2);
constexpr COLORREF kToday = RGB(79, 148, 0);
constexpr COLORREF kShareBack = RGB(238, 247, 226);
constexpr COLORREF kShareFill = RGB(74, 130, 1);
constexpr COLORREF kLimit = RGB(64, 64, 64);

using ui::LoadText;

// A name of the user's locale: `picture` ("MMMM", "MMM", "dddd") of a date.
void LoadDateName(std::string& text, WORD year, WORD month, WORD day, const wchar_t* picture) {
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    wchar_t name[80] = {};
    if (::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &date, picture, name, 80, nullptr) > 0) {
        text = Narrow(name);
    }
}

// The chart's texts: the names of the months, dates, times and numbers as
// the user's locale writes them, the rest from the string table.
HistoryTexts LoadHistoryTexts() {
    HistoryTexts texts;
    for (WORD month = 1; month <= 12; ++month) {
        LoadDateName(texts.monthNames[month - 1U], 2024, month, 1, L"MMMM");
        LoadDateName(texts.shortMonthNames[month - 1U], 2024, month, 1, L"MMM");
    }
    texts.formats = UserLocaleFormats();
    LoadText(texts.today, IDS_CHART_TODAY);
    LoadText(texts.noTime, IDS_CHART_NO_TIME);
    LoadText(texts.atComputer, IDS_CHART_AT_COMPUTER);
    LoadText(texts.fromTo, IDS_CHART_FROM_TO);
    LoadText(texts.shortBreaks, IDS_CHART_SHORT_BREAKS);
    LoadText(texts.longBreaks, IDS_CHART_LONG_BREAKS);
    LoadText(texts.points, IDS_CHART_POINTS);
    LoadText(texts.hours, IDS_HOURS);
    LoadText(texts.minutes, IDS_MINUTES);
    LoadText(texts.totals, IDS_CHART_TOTALS);
    LoadText(texts.oneDay, IDS_CHART_ONE_DAY);
    LoadText(texts.days, IDS_CHART_DAYS);
    LoadText(texts.percent, IDS_CHART_PERCENT);
    LoadText(texts.totalPoints, IDS_CHART_TOTAL_POINTS);
    LoadText(texts.noHistory, IDS_CHART_NO_HISTORY);
    LoadText(texts.historyOff, IDS_CHART_HISTORY_OFF);
    return texts;
}

ui::FontHandle MakeFont(int dpi, int points, int weight) {
    LOGFONTW log{};
    log.lfHeight = -::MulDiv(points, dpi, 72);
    log.lfWeight = weight;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = CLEARTYPE_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(log.lfFaceName, L"Tahoma", LF_FACESIZE);
    return ui::FontHandle(::CreateFontIndirectW(&log));
}

void Fill(HDC dc, const ScreenRect& r, COLORREF colour) {
    if (r.Width() <= 0 || r.Height() <= 0) {
        return;
    }
    ::SetBkColor(dc, colour);
    const RECT rect = ui::ToRect(r);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Text(HDC dc, const std::string& text, RECT rect, UINT format, COLORREF colour) {
    ::SetTextColor(dc, colour);
    const std::wstring wide = Widen(text);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format | DT_NOPREFIX);
}

// The tooltip's one tool, the whole client area.
TOOLINFOW ChartTool(HWND window) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = 1;
    return tool;
}

Date Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return Date{now.wYear, now.wMonth, now.wDay};
}

}  // namespace

void CHistoryWindow::Show() {
    if (Handle() != nullptr) {
        if (::IsIconic(Handle())) {
            ::ShowWindow(Handle(), SW_RESTORE);
        }
        ::SetForegroundWindow(Handle());
        return;
    }
    ui::LoadCommonControls();
    if (!CreateEx(0, L"PausoraHistory", ui::ResourceString(IDS_HISTORY_CAPTION).c_str(),
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 600, 420,
                  nullptr)) {
        return;
    }
    // Sized for the monitor it came up on.
    RECT frame{0, 0, m_dpi.Scale(600), m_dpi.Scale(400)};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    ::SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
}

ui::Handled CHistoryWindow::OnCreate() {
    m_dpi.Start(Handle());
    m_texts = LoadHistoryTexts();
    if (const HICON icon = ::LoadIconW(ui::ModuleInstance(), MAKEINTRESOURCEW(IDI_APP))) {
        ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    const auto button = [this](const wchar_t* text, UINT id) {
        return ::CreateWindowExW(0, L"BUTTON", text,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 10, 10,
                                 Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 ui::ModuleInstance(), nullptr);
    };
    m_export = button(ui::ResourceString(IDS_HISTORY_EXPORT).c_str(), kExportId);
    m_close = button(ui::ResourceString(IDS_HISTORY_CLOSE).c_str(), kCloseId);
    m_tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                  ui::ModuleInstance(), nullptr);
    if (m_tooltip != nullptr) {
        TOOLINFOW tool = ChartTool(Handle());
        tool.uFlags = TTF_SUBCLASS;
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::GetClientRect(Handle(), &tool.rect);
        ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, m_dpi.Scale(400));
        ::SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
    }
    MakeFonts();
    ::SetTimer(Handle(), kRefreshTimer, kRefreshMs, nullptr);
    return 0;
}

void CHistoryWindow::MakeFonts() {
    m_font = MakeFont(m_dpi.Dpi(), 8, FW_NORMAL);
    m_boldFont = MakeFont(m_dpi.Dpi(), 8, FW_BOLD);
    TEXTMETRICW metrics{};
    {
        const ui::WindowDc dc(Handle());
        const ui::SelectedObject font(dc.get(), m_font.get());
        ::GetTextMetricsW(dc.get(), &metrics);
        m_buttonText = 0;
        for (const HWND button : {m_export, m_close}) {
            const std::wstring text = ui::WindowText(button);
            SIZE size{};
            ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
            m_buttonText = std::max<int>(m_buttonText, size.cx);
        }
    }
    m_lineHeight = std::max<int>(1, metrics.tmHeight);
    m_charWidth = std::max<int>(1, metrics.tmAveCharWidth);
    for (const HWND control : {m_export, m_close, m_tooltip}) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    }
}

void CHistoryWindow::Relayout() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const ChartMetrics metrics{client.right, client.bottom, m_dpi.Dpi(),
                               m_lineHeight, m_charWidth,   m_buttonText};
    const std::uint32_t limit =
        m_settings.UseDailyTimeLimit == 1 ? m_settings.DailyTimeLimit / 60 : 0;
    const std::vector<DayRecord> records = m_history.File().Records();
    m_layout = LayoutHistoryChart(records, Today(), limit, m_history.Keeping(), metrics, m_texts);
    const auto place = [](HWND button, const ScreenRect& r) {
        ::SetWindowPos(button, nullptr, r.left, r.top, r.Width(), r.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_export, m_layout.exportButton);
    place(m_close, m_layout.closeButton);
    ::EnableWindow(m_export, records.empty() ? FALSE : TRUE);
    if (m_tooltip != nullptr) {
        TOOLINFOW tool = ChartTool(Handle());
        tool.rect = client;
        ::SendMessageW(m_tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

ui::Handled CHistoryWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const ui::Handled answer = ui::PassSystemNotice(Handle(), message, wParam, lParam)) {
        return answer;
    }
    switch (message) {
        case WM_SIZE:
            Relayout();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {m_dpi.Scale(380), m_dpi.Scale(280)};
            return 0;
        }
        case WM_DPICHANGED:
            m_dpi.Change(Handle(), wParam, lParam);
            MakeFonts();
            Relayout();
            return 0;
        case WM_MOUSELEAVE:
            m_hovered = -1;
            return 0;
        default:
            return ui::Window::OnMessage(message, wParam, lParam);
    }
}

ui::Handled CHistoryWindow::OnEraseBackground(HDC /*dc*/) {
    return 1;  // the paint covers every pixel: no flicker on resize
}

ui::Handled CHistoryWindow::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Handle(), &paint);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (client.right > 0 && client.bottom > 0) {
        const ui::MemoryDc memory(::CreateCompatibleDC(dc));
        if (!m_buffer || m_bufferSize.cx != client.right || m_bufferSize.cy != client.bottom) {
            m_buffer.reset(::CreateCompatibleBitmap(dc, client.right, client.bottom));
            m_bufferSize = {client.right, client.bottom};
        }
        if (memory && m_buffer) {
            const ui::SelectedObject buffer(memory.get(), m_buffer.get());
            Draw(memory.get(), client);
            ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
        } else {
            Draw(dc, client);
        }
    }
    ::EndPaint(Handle(), &paint);
    return 0;
}

void CHistoryWindow::Draw(HDC dc, const RECT& client) {
    Fill(dc, ui::ToScreenRect(client), kBackground);
    ::SetBkMode(dc, TRANSPARENT);
    ui::SelectedObject font(dc, m_font.get());
    const ChartLayout& l = m_layout;
    if (l.empty) {
        RECT box = ui::ToRect(l.messageRect);
        const int inset = m_dpi.Scale(24);
        box.left += inset;
        box.right -= inset;
        box.top += inset;
        font.Select(m_boldFont.get());
        const std::size_t split = l.message.find("\n\n");
        Text(dc, l.message.substr(0, split), box, DT_LEFT | DT_TOP | DT_SINGLELINE, kText);
        font.Select(m_font.get());
        box.top += m_lineHeight * 2;
        if (split != std::string::npos) {
            Text(dc, l.message.substr(split + 2), box, DT_LEFT | DT_TOP | DT_WORDBREAK, kMutedText);
        }
        return;
    }
    // The hour lines and their labels.
    const int axisLeft = l.plot.left;
    // A label in the hours' column, right-aligned against the plot.
    const auto axisLabel = [&](const std::string& text, int top, int bottom, COLORREF colour) {
        Text(dc, text, RECT{0, top, axisLeft - m_dpi.Scale(6), bottom},
             DT_RIGHT | DT_TOP | DT_SINGLELINE, colour);
    };
    for (const ChartGridLine& line : l.grid) {
        Fill(dc, {axisLeft, line.y, l.plot.right, line.y + 1}, kGrid);
        if (l.limitY >= l.plot.top && std::abs(line.y - l.limitY) < m_lineHeight) {
            continue;  // the limit's label stands there
        }
        axisLabel(line.label, line.y - m_lineHeight / 2, line.y + m_lineHeight, kMutedText);
    }
    // The bars, today's darker, and the breaks-taken marks beneath.
    for (const ChartBar& bar : l.bars) {
        Fill(dc, bar.bar, bar.today ? kToday : kBar);
        if (bar.record.BreaksDue() > 0) {
            Fill(dc, bar.share, kShareBack);
            Fill(dc, bar.shareFill, kShareFill);
        }
        const int labelTop = l.labelsTop;
        font.Select(bar.today ? m_boldFont.get() : m_font.get());
        const RECT labelBox{bar.column.left - m_charWidth, labelTop, bar.column.right + m_charWidth,
                            labelTop + m_lineHeight};
        Text(dc, bar.label, labelBox, DT_CENTER | DT_TOP | DT_SINGLELINE,
             bar.today ? kText : kMutedText);
        if (!bar.monthLabel.empty()) {
            font.Select(m_font.get());
            const RECT monthBox{bar.column.left - m_charWidth * 2, labelTop + m_lineHeight,
                                bar.column.right + m_charWidth * 6, labelTop + 2 * m_lineHeight};
            Text(dc, bar.monthLabel, monthBox, DT_LEFT | DT_TOP | DT_SINGLELINE, kMutedText);
        }
    }
    font.Select(m_font.get());
    // The zero line, the share row's label and the daily limit.
    Fill(dc, {axisLeft, l.plot.bottom, l.plot.right, l.plot.bottom + 1}, kText);
    axisLabel(Narrow(ui::ResourceString(IDS_HISTORY_BREAKS_AXIS)),
              l.shareRow.top - m_lineHeight / 4, l.shareRow.bottom + m_lineHeight, kMutedText);
    if (l.limitY >= l.plot.top) {
        const int dash = m_dpi.Scale(6);
        const int thick = std::max(1, m_dpi.Scale(2));
        for (int x = axisLeft; x < l.plot.right; x += 2 * dash) {
            Fill(dc,
                 {x, l.limitY - thick / 2, std::min(x + dash, l.plot.right),
                  l.limitY - thick / 2 + thick},
                 kLimit);
        }
        font.Select(m_boldFont.get());
        axisLabel(Narrow(ui::ResourceString(IDS_HISTORY_LIMIT_AXIS)), l.limitY - m_lineHeight / 2,
                  l.limitY + m_lineHeight, kLimit);
        font.Select(m_font.get());
    }
    Text(dc, l.totals, ui::ToRect(l.totalsRect), DT_LEFT | DT_TOP | DT_WORDBREAK | DT_END_ELLIPSIS,
         kText);
}

ui::Handled CHistoryWindow::OnMouseMove(POINT at, WPARAM /*keys*/) {
    const int hovered = ChartBarAt(m_layout, at.x, at.y);
    if (hovered == m_hovered || m_tooltip == nullptr) {
        return 0;
    }
    m_hovered = hovered;
    m_tipText = hovered >= 0
                    ? Widen(DayTooltip(m_layout.bars[static_cast<std::size_t>(hovered)], m_texts))
                    : std::wstring();
    ::SendMessageW(m_tooltip, TTM_POP, 0, 0);
    TOOLINFOW tool = ChartTool(Handle());
    tool.lpszText = m_tipText.data();
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    ::TrackMouseEvent(&track);
    return 0;
}

ui::Handled CHistoryWindow::OnTimer(UINT_PTR id) {
    if (id != kRefreshTimer) {
        return std::nullopt;
    }
    Relayout();
    return 0;
}

ui::Handled CHistoryWindow::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (code != BN_CLICKED) {
        return std::nullopt;
    }
    if (id == kCloseId || id == IDCANCEL) {
        Destroy();
        return 0;
    }
    if (id == kExportId) {
        Export();
        return 0;
    }
    return std::nullopt;
}

ui::Handled CHistoryWindow::OnClose() {
    Destroy();
    return 0;
}

void CHistoryWindow::Export() {
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, ui::ResourceString(IDS_HISTORY_EXPORT_FILE).c_str(), MAX_PATH);
    // Pairs of a name and its pattern, each ended by a null, and one more.
    std::wstring filter = ui::ResourceString(IDS_HISTORY_CSV_FILES);
    filter += L'\0';
    filter += L"*.csv";
    filter += L'\0';
    filter += ui::ResourceString(IDS_HISTORY_ALL_FILES);
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    const std::wstring title = ui::ResourceString(IDS_HISTORY_EXPORT_TITLE);
    OPENFILENAMEW save{};
    save.lStructSize = sizeof save;
    save.hwndOwner = Handle();
    save.lpstrFilter = filter.c_str();
    save.lpstrFile = path;
    save.nMaxFile = MAX_PATH;
    save.lpstrDefExt = L"csv";
    save.lpstrTitle = title.c_str();
    save.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameW(&save)) {
        return;
    }
    if (!WriteFileWhole(path, m_history.File().Serialise())) {
        std::wstring text = ui::ResourceString(IDS_HISTORY_EXPORT_FAILED);
        if (const std::size_t at = text.find(L"%1"); at != std::wstring::npos) {
            text.replace(at, 2, path);
        }
        ::MessageBoxW(Handle(), text.c_str(), L"Pausora", MB_OK | MB_ICONEXCLAMATION);
    }
}

}  // namespace pausora
