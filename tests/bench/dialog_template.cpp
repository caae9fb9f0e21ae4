#include "bench/dialog_template.h"

#include <gtest/gtest.h>

#include "bench/bench.h"

namespace {

struct Reader {
    const BYTE* at;
};

WORD ReadWord(Reader* reader)
{
    WORD value;
    memcpy(&value, reader->at, sizeof(value));
    reader->at += sizeof(value);
    return value;
}

DWORD ReadDword(Reader* reader)
{
    DWORD value;
    memcpy(&value, reader->at, sizeof(value));
    reader->at += sizeof(value);
    return value;
}

std::wstring ReadString(Reader* reader)
{
    std::wstring text;
    for (WORD c = ReadWord(reader); c != 0; c = ReadWord(reader))
        text += static_cast<wchar_t>(c);
    return text;
}

// A string or an ordinal (0xFFFF then a number); predefined control classes
// come as ordinals and are returned by name.
std::wstring ReadNameOrOrdinal(Reader* reader)
{
    const BYTE* start = reader->at;
    WORD first = ReadWord(reader);
    if (first == 0)
        return L"";
    if (first != 0xFFFF) {
        reader->at = start;
        return ReadString(reader);
    }
    switch (ReadWord(reader)) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    }
    return L"#ordinal";
}

void AlignToDword(Reader* reader, const BYTE* base)
{
    while ((reader->at - base) % 4 != 0)
        ++reader->at;
}

}  // namespace

bool LoadDialogTemplate(int templateId, DialogTemplate* result)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (found == NULL)
        return false;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    Reader reader = { base };
    if (ReadWord(&reader) != 1 || ReadWord(&reader) != 0xFFFF)
        return false;
    ReadDword(&reader);  // help id
    result->exStyle = ReadDword(&reader);
    result->style = ReadDword(&reader);
    WORD count = ReadWord(&reader);
    result->x = static_cast<short>(ReadWord(&reader));
    result->y = static_cast<short>(ReadWord(&reader));
    result->cx = static_cast<short>(ReadWord(&reader));
    result->cy = static_cast<short>(ReadWord(&reader));
    ReadNameOrOrdinal(&reader);  // menu
    ReadNameOrOrdinal(&reader);  // class
    result->caption = ReadString(&reader);
    result->pointSize = 0;
    result->weight = 0;
    result->italic = 0;
    if (result->style & DS_SETFONT) {
        result->pointSize = ReadWord(&reader);
        result->weight = ReadWord(&reader);
        result->italic = *reader.at++;
        ++reader.at;  // character set
        result->fontFace = ReadString(&reader);
    }
    result->controls.clear();
    for (WORD i = 0; i < count; ++i) {
        AlignToDword(&reader, base);
        TemplateControl control;
        ReadDword(&reader);  // help id
        control.exStyle = ReadDword(&reader);
        control.style = ReadDword(&reader);
        control.x = static_cast<short>(ReadWord(&reader));
        control.y = static_cast<short>(ReadWord(&reader));
        control.cx = static_cast<short>(ReadWord(&reader));
        control.cy = static_cast<short>(ReadWord(&reader));
        control.id = static_cast<int>(ReadDword(&reader));
        control.className = ReadNameOrOrdinal(&reader);
        control.text = ReadNameOrOrdinal(&reader);
        WORD extra = ReadWord(&reader);
        reader.at += extra;
        result->controls.push_back(control);
    }
    return true;
}

void ExpectControls(const ExpectedControl* expected, size_t count, const DialogTemplate& dialog)
{
    ASSERT_EQ(count, dialog.controls.size());
    for (size_t i = 0; i < count; ++i) {
        const TemplateControl& actual = dialog.controls[i];
        SCOPED_TRACE(testing::Message() << "control " << i << ", " << Narrow(expected[i].text) << " ("
                                        << expected[i].id << ")");
        EXPECT_EQ(expected[i].id, static_cast<short>(actual.id));
        EXPECT_EQ(0, lstrcmpiW(expected[i].className, actual.className.c_str())) << Narrow(actual.className);
        EXPECT_EQ(expected[i].text, actual.text);
        EXPECT_EQ(expected[i].x, actual.x);
        EXPECT_EQ(expected[i].y, actual.y);
        EXPECT_EQ(expected[i].cx, actual.cx);
        EXPECT_EQ(expected[i].cy, actual.cy);
        EXPECT_EQ(expected[i].style, actual.style) << std::hex << (expected[i].style ^ actual.style);
        EXPECT_EQ(0u, actual.exStyle);
    }
}
