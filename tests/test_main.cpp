// The in-process tests run with the program started as it starts for real,
// short of its message loop: AppState, classes and shared objects are live.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "bench/bench.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallObjectCounter();
    RefuseMessageBoxes();
    InitializeApplication(GetModuleHandleW(NULL));
    int result = RUN_ALL_TESTS();
    ShutdownApplication();
    return result;
}
