#include "wizards/picture_page.h"

#include "resource.h"
#include "ui/dpi.h"
#include "ui/window.h"
#include "wizard_ids.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace pausora {

CPicturePage::CPicturePage(UINT templateId, UINT pictureId, DWORD buttons)
    : ui::PropertyPage(templateId), m_pictureId(pictureId), m_buttons(buttons) {
    HideHeader();
}

void CPicturePage::OnSetActive() {
    SetWizardButtons(m_buttons);
}

BOOL CPicturePage::OnInitDialog() {
    // The template's picture control is the page's only bitmap static.
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtr(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            m_pictureControl = child;
            break;
        }
    }
    // The strip is the page's height: 193 dialog units.
    m_pictureHeight = ui::DialogUnitsToPixels(Handle(), 0, 193).cy;
    OnDpiChanged();
    return TRUE;
}

void CPicturePage::OnDpiChanged() {
    ui::BitmapHandle picture;
    if (m_pictureControl != nullptr) {
        picture = ui::LoadBitmapOfHeight(m_pictureId, Dpi().FromStart(m_pictureHeight));
    }
    if (picture) {
        const HBITMAP previous = ui::SetStaticPicture(m_pictureControl, picture.get());
        if (!m_picture && previous != nullptr) {
            m_templatePicture.reset(previous);
        }
        m_picture = std::move(picture);
    }

    // Arial at 12 points (16 pixels at 96 dots per inch, 24 at 144): bold for
    // the welcome and last pages, which open and close the walk, normal
    // weight for the pages between, where the size alone sets the title off
    // from the advice. A negative height asks for the character's own
    // height, as a point size does.
    const bool bold = (m_buttons & PSWIZB_FINISH) != 0 || (m_buttons & PSWIZB_BACK) == 0;
    ui::FontHandle titleFont = ui::TitleFont(-Dpi().Scale(16), bold);
    const auto font = reinterpret_cast<WPARAM>(titleFont.get());
    ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE, WM_SETFONT, font, TRUE);
    ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE_2, WM_SETFONT, font, TRUE);
    // The controls let go of the old font before it is deleted.
    m_titleFont = std::move(titleFont);
    StackTexts();
}

void CPicturePage::StackTexts() {
    struct Text {
        HWND control;
        RECT rect;  // in the page, as laid out
    };
    std::vector<Text> texts;
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        ::GetClassName(child, kind, 16);
        if (child != m_pictureControl && ::lstrcmpi(kind, L"Static") == 0) {
            RECT rect{};
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
            texts.push_back({child, rect});
        }
    }
    std::sort(texts.begin(), texts.end(),
              [](const Text& a, const Text& b) { return a.rect.top < b.rect.top; });
    // A title keeps its room, for a second line in a long language; the
    // advice takes what its words take, so the gaps come out even.
    const auto isTitle = [](HWND control) {
        const int id = ::GetDlgCtrlID(control);
        return id == IDC_WIZARD_TITLE || id == IDC_WIZARD_TITLE_2;
    };
    // Between two paragraphs, five dialog units; around a title, the
    // template's own gaps.
    RECT paragraphGap{0, 0, 0, 5};
    ::MapDialogRect(Handle(), &paragraphGap);
    LONG bottom = 0;  // of the text above, as placed
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Text& text = texts[i];
        const bool betweenParagraphs =
            i > 0 && !isTitle(text.control) && !isTitle(texts[i - 1].control);
        const LONG top = i == 0              ? text.rect.top
                         : betweenParagraphs ? bottom + paragraphGap.bottom
                                             : bottom + text.rect.top - texts[i - 1].rect.bottom;
        LONG height = text.rect.bottom - text.rect.top;
        if (!isTitle(text.control)) {
            const std::wstring words = ui::WindowText(text.control);
            const ui::WindowDc dc(text.control);
            const ui::SelectedObject font(
                dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessage(text.control, WM_GETFONT, 0, 0)));
            RECT needed{0, 0, text.rect.right - text.rect.left, 0};
            ::DrawText(dc.get(), words.c_str(), static_cast<int>(words.size()), &needed,
                       DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            height = std::max<LONG>(needed.bottom, 1);
        }
        ::SetWindowPos(text.control, nullptr, text.rect.left, top, text.rect.right - text.rect.left,
                       height, SWP_NOZORDER | SWP_NOACTIVATE);
        bottom = top + height;
    }
}

ui::Handled CPicturePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const ui::Handled answer = ui::WindowColourBackground(message, wParam)) {
        return answer;
    }
    return ui::PropertyPage::OnMessage(message, wParam, lParam);
}

}  // namespace pausora
