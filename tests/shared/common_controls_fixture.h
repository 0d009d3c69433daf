// A test fixture for windows made of the common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

namespace pausora::test {

// The common control classes the dialog templates use, registered first.
class WithCommonControls : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof classes;
        classes.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
        ::InitCommonControlsEx(&classes);
    }
};

}  // namespace pausora::test
