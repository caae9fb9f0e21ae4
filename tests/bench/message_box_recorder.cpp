#include "bench/bench.h"

#include <gtest/gtest.h>

#include "app/app_state.h"

static std::vector<RecordedMessageBox> Recorded;

static int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    RecordedMessageBox box = { owner, text ? text : L"", caption ? caption : L"", type };
    Recorded.push_back(box);
    return IDOK;
}

// Outside a recording a message box would stop the run until someone
// closed it: it is a failure instead.
static int WINAPI RefuseMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT)
{
    ADD_FAILURE() << "unexpected message box \"" << Narrow(text ? text : L"") << "\" ("
                  << Narrow(caption ? caption : L"") << ")";
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

std::vector<RecordedMessageBox> StopRecordingMessageBoxes()
{
    RefuseMessageBoxes();
    std::vector<RecordedMessageBox> boxes;
    boxes.swap(Recorded);
    return boxes;
}
