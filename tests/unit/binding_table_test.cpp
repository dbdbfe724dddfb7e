#include "dialup/binding_table.h"
#include "dialup/system_functions.h"

#include <gtest/gtest.h>

TEST(BindingTable, SleepBindsFromKernel32) {
    sys::Sleep(1);
    EXPECT_EQ(binding::BoundModule(0), GetModuleHandleA("kernel32.dll"));
}
