#include "bench/bench.h"

#include <gtest/gtest.h>

#include "app/app_state.h"

static std::vector<std::string> Recorded;

std::string DescribeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    std::string icon = type == MB_ICONERROR ? "error" : type == MB_ICONEXCLAMATION ? "exclamation"
                     : type == MB_ICONINFORMATION ? "information" : "type " + std::to_string(type);
    return Narrow(text ? text : L"<null>") + " (" + Narrow(caption ? caption : L"<null>") + ", " + icon +
           (owner == AppState.mainWindow ? ")" : ", not over the main window)");
}

static int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    Recorded.push_back(DescribeMessageBox(owner, text, caption, type));
    return IDOK;
}

// Outside a recording a message box would stop the run until someone
// closed it: it is a failure instead.
static int WINAPI RefuseMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    ADD_FAILURE() << "unexpected message box: " << DescribeMessageBox(owner, text, caption, type);
    return IDOK;
}

void RefuseMessageBoxes()
{
    PelmiraMessageBox = RefuseMessageBox;
}

void StartRecordingMessageBoxes()
{
    Recorded.clear();
    PelmiraMessageBox = RecordMessageBox;
}

std::vector<std::string> StopRecordingMessageBoxes()
{
    RefuseMessageBoxes();
    std::vector<std::string> boxes;
    boxes.swap(Recorded);
    return boxes;
}
