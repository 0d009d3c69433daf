// The stretch exercises dialog: one exercise at a time, its illustration (a
// short loop of pictures for some) on the left and its instructions on the
// right; "Next stretch" picks another at random, "Finish" closes it.
#pragma once

#include "exercises/exercise_table.h"
#include "tips/tips_win.h"
#include "exercises/styled_text.h"
#include "ui/dialog.h"
#include "ui/handles.h"

#include <functional>
#include <vector>

namespace pausora {

class CExerciseDlg final : public ui::Dialog {
  public:
    // Picks the number (1..15) of the exercise to show next.
    using Picker = std::function<int()>;

    enum TimerId : UINT_PTR {
        kAnimationTimer = 1,
        kFirstExerciseTimer = 2,
    };

    // Exercises chosen at random.
    CExerciseDlg();
    // Exercises chosen by `pick`.
    explicit CExerciseDlg(Picker pick);
    ~CExerciseDlg() override;

  protected:
    BOOL OnInitDialog() override;
    void OnDpiChanged() override;
    ui::Handled OnTimer(UINT_PTR id) override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void CentreOnDesktop();
    void ShowNextExercise();
    // Loads the pictures of `exercise` at the dialog's scaling and shows
    // picture `shown`.
    void LoadPictures(const Exercise& exercise, std::size_t shown);
    void ShowFrame(HBITMAP frame);

    WinRandomEnvironment m_random;
    Picker m_pick;
    HWND m_picture = nullptr;
    CStyledText m_instructions;
    // The pictures of the current exercise, in the order of its frame list;
    // a picture that could not be loaded is an empty entry.
    std::vector<ui::BitmapHandle> m_frames;
    static constexpr int kTextHeight = 18;  // pixels at 96 dots per inch
    int m_pictureSideAtStart = 0;           // pixels when the dialog was made
    const Exercise* m_exercise = nullptr;   // the one shown
    std::size_t m_shownFrame = 0;
    FrameCycle m_cycle;
    // The picture the control loaded from the template, ours once replaced.
    ui::BitmapHandle m_templatePicture;
    bool m_templatePictureReplaced = false;
};

}  // namespace pausora
