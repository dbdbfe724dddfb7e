// In-process tests of the program's own handlers against the real Main window: the test's
// thread opens the window and so becomes the GUI thread.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
