// Every text of every dialog fits its control, in every language linked into
// the program and at the scaling the test runs at (layout_tests at 100 %,
// layout_tests_150 at 150 %): each template is created as the program creates
// it and each label measured with the font the control draws it in. A longer
// translation that a control cuts off fails here, naming the control.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "shared/resource_walk.h"

namespace {

using namespace pausora::test;

bool Blank(const std::wstring& text) {
    for (const wchar_t c : text) {
        if (!std::iswspace(static_cast<wint_t>(c)) && c != L'&') {
            return false;
        }
    }
    return true;
}

// ---- What a control of each kind has for its text, in pixels.

struct Fit {
    SIZE needed;
    SIZE available;
};

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = {};
    ::GetClassNameW(control, name, 64);
    return name;
}

std::wstring TextOf(HWND control) {
    wchar_t text[2048] = {};
    ::GetWindowTextW(control, text, 2048);
    return text;
}

// The size `text` takes in `font`: on one line, or broken into lines at
// `width` when `wrap` (a word longer than the width makes it wider still).
SIZE Measure(HWND control, const std::wstring& text, int width, bool wrap, UINT prefix) {
    const HDC dc = ::GetDC(control);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_CALCRECT | DT_EXPANDTABS | prefix | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int AverageCharWidth(HWND control) {
    const HDC dc = ::GetDC(control);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return metrics.tmAveCharWidth;
}

// The room of a control for its text and what the text needs there; false
// for controls without a label of their own (edits, lists, pictures...).
bool Measure(HWND control, const std::wstring& text, Fit& fit) {
    RECT client{};
    ::GetClientRect(control, &client);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const std::wstring className = ClassOf(control);
    SIZE room{client.right, client.bottom};
    bool wrap = false;
    bool caption = false;  // a group box's: it stands over the frame, any height
    UINT prefix = 0;
    if (_wcsicmp(className.c_str(), L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
                wrap = true;
                break;
            case SS_LEFTNOWORDWRAP:
            case SS_SIMPLE:
                break;
            default:
                return false;
        }
        prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    } else if (_wcsicmp(className.c_str(), L"Button") == 0) {
        const int margin = 2 * ::GetSystemMetrics(SM_CXEDGE) + 2;  // the frame and focus line
        wrap = (style & BS_MULTILINE) != 0;
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                room.cx -= margin;
                break;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                // The box, the gap to the text and the focus line around it.
                room.cx -= ::GetSystemMetrics(SM_CXMENUCHECK) + margin;
                break;
            case BS_GROUPBOX:
                // The caption sits in the top line, with a stretch of line on each side.
                room.cx -= 2 * AverageCharWidth(control);
                wrap = false;
                caption = true;
                break;
            default:
                return false;
        }
    } else {
        return false;
    }
    fit.available = room;
    fit.needed = Measure(control, text, room.cx, wrap, prefix);
    if (caption) {
        fit.available.cy = fit.needed.cy;
    }
    return true;
}

// ---- The dialogs, created from their templates as the program creates them.

struct Clipped {
    int control;
    std::wstring text;
    Fit fit;
};

BOOL CALLBACK CheckControl(HWND control, LPARAM found) {
    const std::wstring text = TextOf(control);
    Fit fit{};
    if (!text.empty() && Measure(control, text, fit) &&
        (fit.needed.cx > fit.available.cx || fit.needed.cy > fit.available.cy)) {
        reinterpret_cast<std::vector<Clipped>*>(found)->push_back(
            {::GetDlgCtrlID(control), text, fit});
    }
    return TRUE;
}

// The labels of dialog `name` in `language` that do not fit; false when the
// dialog cannot be created.
bool ClippedLabels(WORD name, LANGID language, std::vector<Clipped>& found) {
    return VisitDialogControls(name, language, CheckControl, reinterpret_cast<LPARAM>(&found));
}

class Layout : public WithCommonControls {};

// The run at 150 % is one only if Wine took the scaling.
TEST_F(Layout, RunsAtTheScalingAskedFor) {
    const char* wanted = std::getenv("PAUSORA_EXPECT_DPI");
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(dpi, wanted != nullptr ? std::atoi(wanted) : 96);
}

TEST_F(Layout, EveryLabelFitsItsControlInEveryLanguage) {
    std::set<LANGID> seen;
    for (const WORD name : Names(RT_DIALOG)) {
        if (name == IDD_PAUSORA_DIALOG) {
            continue;  // hidden, no text
        }
        for (const LANGID language : Languages(RT_DIALOG, name)) {
            seen.insert(language);
            std::vector<Clipped> found;
            ASSERT_TRUE(ClippedLabels(name, language, found))
                << LanguageName(language) << " dialog " << name << " cannot be created";
            for (const Clipped& clipped : found) {
                ADD_FAILURE() << LanguageName(language) << ", dialog " << name << ", control "
                              << clipped.control << " \"" << clipped.text.c_str() << "\": needs "
                              << clipped.fit.needed.cx << " x " << clipped.fit.needed.cy
                              << " px, has " << clipped.fit.available.cx << " x "
                              << clipped.fit.available.cy << " px";
            }
        }
    }
    // English and every language of po/LINGUAS.
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(PAUSORA_TRANSLATION_COUNT + 1));
}

// ---- The exercises' instructions, drawn by the dialog itself in its own font.

std::wstring StringIn(UINT id, LANGID language) {
    const auto* at =
        static_cast<const WCHAR*>(Resource(RT_STRING, static_cast<WORD>(id / 16 + 1), language));
    for (UINT i = 0; at != nullptr && i < id % 16; ++i) {
        at += 1 + *at;
    }
    return at == nullptr ? std::wstring() : std::wstring(at + 1, *at);
}

BOOL CALLBACK FindInstructions(HWND control, LPARAM size) {
    if (::GetDlgCtrlID(control) == IDC_EXERCISE_TEXT) {
        RECT client{};
        ::GetClientRect(control, &client);
        *reinterpret_cast<SIZE*>(size) = {client.right, client.bottom};
    }
    return TRUE;
}

TEST_F(Layout, EveryExerciseFitsItsBoxInEveryLanguage) {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    // The instructions' font: Tahoma, 18 pixels at 100 %.
    const HFONT font = ::CreateFontW(::MulDiv(18, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_CHARACTER_PRECIS,
                                     DEFAULT_QUALITY, 0, L"Tahoma");
    const HGDIOBJ old = ::SelectObject(screen, font);
    for (const LANGID language : Languages(RT_DIALOG, IDD_EXERCISES)) {
        SIZE box{};
        ASSERT_TRUE(VisitDialogControls(IDD_EXERCISES, language, FindInstructions,
                                        reinterpret_cast<LPARAM>(&box)));
        for (UINT id = IDS_EXERCISE_1; id <= IDS_EXERCISE_15; ++id) {
            const std::wstring text = StringIn(id, language);
            RECT needed{0, 0, box.cx, 0};
            ::DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &needed,
                        DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            EXPECT_LE(needed.bottom, box.cy) << LanguageName(language) << ", exercise " << id
                                             << " needs " << needed.bottom << " px of " << box.cy;
        }
    }
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
}

// ---- Menus and strings: nothing shown blank in any language.

void ExpectMenuTexts(HMENU menu, const std::string& where) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        if (item.fType & MFT_SEPARATOR) {
            continue;
        }
        wchar_t text[256] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        EXPECT_FALSE(Blank(text)) << where << ", item " << i << " has no text";
        if (item.hSubMenu != nullptr) {
            ExpectMenuTexts(item.hSubMenu, where + " > " + std::to_string(i));
        }
    }
}

TEST_F(Layout, MenusAndStringsHaveTextInEveryLanguage) {
    for (const WORD name : Names(RT_MENU)) {
        for (const LANGID language : Languages(RT_MENU, name)) {
            const HMENU menu = ::LoadMenuIndirectW(Resource(RT_MENU, name, language));
            ASSERT_NE(menu, nullptr) << LanguageName(language) << " menu " << name;
            ExpectMenuTexts(menu, LanguageName(language) + " menu " + std::to_string(name));
            ::DestroyMenu(menu);
        }
    }
    for (const WORD block : Names(RT_STRING)) {
        for (const LANGID language : Languages(RT_STRING, block)) {
            const auto* at = static_cast<const WCHAR*>(Resource(RT_STRING, block, language));
            ASSERT_NE(at, nullptr);
            for (UINT i = 0; i < 16; ++i) {
                const WORD length = static_cast<WORD>(*at++);
                if (length > 0) {
                    EXPECT_FALSE(Blank(std::wstring(at, length)))
                        << LanguageName(language) << ", string " << (block - 1u) * 16u + i
                        << " is blank";
                }
                at += length;
            }
        }
    }
}

}  // namespace
