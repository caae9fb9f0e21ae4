// The in-process tests run with the program started as it starts for real,
// short of its message loop: AppState, classes and shared objects are live.
#include <gtest/gtest.h>

#include <stdio.h>

#include "app/startup.h"
#include "bench/bench.h"

// A crash must fail the run: Wine can end a process that an exception
// brought down with exit code 0, which ctest would take for a pass.
static LONG WINAPI FailTheRunOnCrash(EXCEPTION_POINTERS* exception)
{
    fprintf(stderr, "CRASHED: exception %08lx at %p\n",
            static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode),
            exception->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    SetUnhandledExceptionFilter(FailTheRunOnCrash);
    InstallObjectCounter();
    RefuseMessageBoxes();
    InitializeApplication(GetModuleHandleW(NULL));
    int result = RUN_ALL_TESTS();
    ShutdownApplication();
    return result;
}
