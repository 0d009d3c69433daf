#include "exercises/exercise_dlg.h"

#include "ui/dpi.h"

#include "resource.h"

#include <string>

namespace pausora {

CExerciseDlg::CExerciseDlg() : CExerciseDlg([this] { return ChooseExercise(m_random); }) {}

CExerciseDlg::CExerciseDlg(Picker pick)
    : ui::Dialog(IDD_EXERCISES, ui::Dialog::kWindowColour), m_pick(std::move(pick)) {}

CExerciseDlg::~CExerciseDlg() {
    // The window, and with it the picture control, is gone before the
    // pictures it showed are deleted.
    if (Handle() != nullptr) {
        ::DestroyWindow(Handle());
    }
}

BOOL CExerciseDlg::OnInitDialog() {
    CentreOnDesktop();
    // The first exercise comes on the first tick, once the dialog is up.
    ::SetTimer(Handle(), kFirstExerciseTimer, 1, nullptr);
    m_instructions.SetFont("Tahoma", Dpi().Scale(kTextHeight), RGB(0, 0, 0));
    m_instructions.SetBackground(RGB(255, 255, 255));

    m_picture = ::GetDlgItem(Handle(), IDC_EXERCISE_PICTURE);
    // The pictures fill the height of the template's picture box (154
    // dialog units) at any scaling.
    m_pictureSideAtStart = ui::DialogUnitsToPixels(Handle(), 0, 154).cy;
    m_instructions.Attach(::GetDlgItem(Handle(), IDC_EXERCISE_TEXT));
    return TRUE;  // the focus goes to "Finish", the only tab stop
}

void CExerciseDlg::OnDpiChanged() {
    m_instructions.SetFont("Tahoma", Dpi().Scale(kTextHeight), RGB(0, 0, 0));
    ::InvalidateRect(m_instructions.Handle(), nullptr, TRUE);
    if (m_exercise == nullptr) {
        return;
    }
    // The same pictures at the new size; the animation goes on where it was.
    LoadPictures(*m_exercise, m_shownFrame);
}

void CExerciseDlg::LoadPictures(const Exercise& exercise, std::size_t shown) {
    std::vector<ui::BitmapHandle> frames;
    frames.reserve(exercise.frames.size());
    const int side = Dpi().FromStart(m_pictureSideAtStart);
    for (const int id : exercise.frames) {
        frames.push_back(ui::LoadBitmapOfHeight(static_cast<UINT>(id), side));
    }
    // The new picture is on screen before the old ones are deleted: the
    // control never holds a deleted bitmap.
    if (shown < frames.size()) {
        ShowFrame(frames[shown].get());
    }
    m_frames.swap(frames);
    m_exercise = &exercise;
    m_shownFrame = shown;
}

void CExerciseDlg::CentreOnDesktop() {
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    RECT own{};
    ::GetWindowRect(Handle(), &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    ::SetWindowPos(Handle(), nullptr, desktop.left + (desktop.right - desktop.left - width) / 2,
                   desktop.top + (desktop.bottom - desktop.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ui::Handled CExerciseDlg::OnTimer(UINT_PTR id) {
    switch (id) {
        case kFirstExerciseTimer:
            ::KillTimer(Handle(), kFirstExerciseTimer);
            ShowNextExercise();
            return 0;
        case kAnimationTimer:
            if (const std::optional<std::size_t> next = m_cycle.Tick();
                next && *next < m_frames.size()) {
                m_shownFrame = *next;
                ShowFrame(m_frames[*next].get());
            }
            return 0;
        default:
            return std::nullopt;
    }
}

ui::Handled CExerciseDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_NEXT_STRETCH && code == BN_CLICKED) {
        ::KillTimer(Handle(), kAnimationTimer);
        ShowNextExercise();
        return 0;
    }
    return ui::Dialog::OnCommand(id, code, control);
}

void CExerciseDlg::ShowNextExercise() {
    const Exercise& exercise = ExerciseNumber(m_pick());
    LoadPictures(exercise, 0);
    // A timer set again under its id replaces the running one.
    if (m_cycle.Start(m_frames.size())) {
        ::SetTimer(Handle(), kAnimationTimer, exercise.periodMs, nullptr);
    }

    ::SetWindowText(m_instructions.Handle(),
                    ui::ResourceString(static_cast<UINT>(exercise.textId)).c_str());
    ::InvalidateRect(m_instructions.Handle(), nullptr, TRUE);
}

void CExerciseDlg::ShowFrame(HBITMAP frame) {
    const HBITMAP previous = ui::SetStaticPicture(m_picture, frame);
    // The first picture replaced is the one the control loaded from the
    // template; the others are our frames.
    if (!m_templatePictureReplaced) {
        m_templatePictureReplaced = true;
        m_templatePicture.reset(previous);
    }
}

}  // namespace pausora
