#include "scheduler/pausora_dlg.h"

#include "app/about_dlg.h"
#include "inputwatch/inputwatch.h"
#include "resource.h"

namespace pausora {

namespace {
constexpr UINT kIconWindow = 178;
}

CPausoraDlg::CPausoraDlg()
    : ui::Dialog(IDD_PAUSORA_DIALOG),
      m_icon(::LoadIconA(ui::ModuleInstance(), MAKEINTRESOURCEA(kIconWindow))) {}

BOOL CPausoraDlg::OnInitDialog() {
    if (const HMENU systemMenu = ::GetSystemMenu(Handle(), FALSE)) {
        char about[128] = {};
        if (::LoadStringA(ui::ModuleInstance(), IDS_ABOUTBOX, about, sizeof about) > 0) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    InputWatchStart();
    return TRUE;
}

bool CPausoraDlg::PreTranslateMessage(MSG& msg) {
    // Enter and Escape would end the hidden dialog, and with it the program.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        msg.wParam = 0;
    }
    return false;
}

ui::Handled CPausoraDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYDRAGICON) {
        return reinterpret_cast<LRESULT>(m_icon);
    }
    return ui::Dialog::OnMessage(message, wParam, lParam);
}

ui::Handled CPausoraDlg::OnSysCommand(UINT command, LPARAM /*lParam*/) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return 0;
    }
    return std::nullopt;
}

ui::Handled CPausoraDlg::OnPaint() {
    if (!::IsIconic(Handle())) {
        return std::nullopt;
    }
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Handle(), &paint);
    ::SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(Handle(), &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_icon);
    ::EndPaint(Handle(), &paint);
    return 0;
}

ui::Handled CPausoraDlg::OnClose() {
    EndDialog(IDCANCEL);
    return 0;
}

}  // namespace pausora
