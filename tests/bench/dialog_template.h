// Reads a DIALOGEX template back from the executable's resources.
#ifndef PELMIRA_DIALOG_TEMPLATE_H
#define PELMIRA_DIALOG_TEMPLATE_H

#include <windows.h>

#include <string>
#include <vector>

struct TemplateControl {
    int id;
    std::wstring className;  // predefined classes by name: "Button", "Edit", ...
    std::wstring text;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::wstring caption;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    std::wstring fontFace;
    std::vector<TemplateControl> controls;
};

// False when the template is missing or not a DIALOGEX.
bool LoadDialogTemplate(int templateId, DialogTemplate* result);

// One row of a template's table of controls.
struct ExpectedControl {
    int id;
    const WCHAR* className;
    const WCHAR* text;
    short x, y, cx, cy;
    DWORD style;  // the whole style, WS_CHILD and WS_VISIBLE included
};

// Expects dialog's controls to be exactly these, in this (tab) order, with
// no extended styles.
void ExpectControls(const ExpectedControl* expected, size_t count, const DialogTemplate& dialog);

#endif
