#include "bench/bench.h"

#include "app/app_state.h"

static std::vector<RecordedMessageBox> Recorded;

static int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    RecordedMessageBox box = { owner, text ? text : L"", caption ? caption : L"", type };
    Recorded.push_back(box);
    return IDOK;
}

void StartRecordingMessageBoxes()
{
    Recorded.clear();
    PelmiraMessageBox = RecordMessageBox;
}

std::vector<RecordedMessageBox> StopRecordingMessageBoxes()
{
    PelmiraMessageBox = MessageBoxW;
    std::vector<RecordedMessageBox> boxes;
    boxes.swap(Recorded);
    return boxes;
}
