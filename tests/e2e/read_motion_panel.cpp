// For the end-to-end check, which reads the screen but not its text: writes
// what the running motion test's panel shows as speed and screen updates,
// "SPEED|FPS", to the file named by the argument. Runs in Pelmira's desktop.
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    HWND motion = FindWindowW(L"Ardvane_MotionTest_WndClass", NULL);
    HWND panel = motion != NULL ? FindWindowExW(motion, NULL, L"#32770", NULL) : NULL;
    if (panel == NULL)
        return 1;
    char speed[64] = "", fps[64] = "";
    GetDlgItemTextA(panel, 1033, speed, sizeof(speed));
    GetDlgItemTextA(panel, 1045, fps, sizeof(fps));
    FILE* out = fopen(argv[1], "w");
    if (out == NULL)
        return 3;
    fprintf(out, "%s|%s\n", speed, fps);
    fclose(out);
    return 0;
}
