// The About box moved to a monitor of another scaling: it takes the system's
// rectangle, and its title and picture are made again in the new size.
#include "app/about_dlg.h"
#include "resource.h"
#include "shared/dpi_checks.h"
#include "shared/wait.h"

#include <gtest/gtest.h>

namespace pausora {
namespace {

TEST(AboutBox, FollowsTheScalingOfItsMonitor) {
    CAboutDlg about;
    const HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID dialog) -> DWORD {
            static_cast<CAboutDlg*>(dialog)->DoModal();
            return 0;
        },
        &about, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(test::WaitFor(10000, [&] {
        box = ::FindWindowA(nullptr, "About Pausora");
        return box != nullptr && ::IsWindowVisible(box);
    }));
    const HWND title = ::GetDlgItem(box, IDC_ABOUT_TITLE);
    const HWND picture = ::GetDlgItem(box, IDC_ABOUT_WATERMARK);
    const int start = test::ScreenDpi();
    const int moved = test::OtherDpi(start);
    const LONG titleHeight = test::FontHeight(title);
    const int pictureHeight = test::StaticPictureHeight(picture);
    EXPECT_EQ(titleHeight, ::MulDiv(19, start, 96));

    const RECT suggested = test::MoveToDpi(box, start, moved);
    test::ExpectWindowRect(box, suggested);
    EXPECT_EQ(test::FontHeight(title), ::MulDiv(19, moved, 96));
    EXPECT_NEAR(test::StaticPictureHeight(picture), ::MulDiv(pictureHeight, moved, start), 2);

    test::MoveToDpi(box, moved, start);
    EXPECT_EQ(test::FontHeight(title), titleHeight);
    EXPECT_NEAR(test::StaticPictureHeight(picture), pictureHeight, 2);

    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(::WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    ::CloseHandle(thread);
}

}  // namespace
}  // namespace pausora
