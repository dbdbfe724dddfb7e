// In-process tests of the program's own handlers against the real Main window: the test's
// thread opens the window and so becomes the GUI thread.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Lets the GUI thread serve workers' calls until `done` holds; false after the timeout.
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
};
