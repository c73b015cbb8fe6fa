// inithook.dll: a window hook that robot.exe sets on the main thread of the
// program it starts.  When the program's dialog (a #32770 with a control
// 1000) returns from WM_INITDIALOG, the hook writes what initialisation left
// in the dialog to the file named by E2E_INIT_SNAPSHOT: the caption and,
// for every child in z-order, its ID, WS_VISIBLE, check state and text (as
// the hex of its ANSI bytes and of its UTF-16 form).  This is exact even for
// a dialog that closes again before anyone could look at it.
#include <windows.h>
#include <stdio.h>

namespace {

void hex(FILE* f, const void* data, size_t n) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) fprintf(f, "%02x", p[i]);
}

void writeText(FILE* f, HWND h) {
    static char text[8192];
    static WCHAR wide[8192];
    int n = GetWindowTextA(h, text, sizeof text);
    int wn = GetWindowTextW(h, wide, 8192);
    fputs("\"hex\":\"", f);
    hex(f, text, n > 0 ? n : 0);
    fputs("\",\"whex\":\"", f);
    hex(f, wide, (wn > 0 ? wn : 0) * 2);
    fputs("\"", f);
}

void snapshot(HWND dialog) {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("E2E_INIT_SNAPSHOT", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    char temp[MAX_PATH + 8];
    snprintf(temp, sizeof temp, "%s.tmp", path);
    FILE* f = fopen(temp, "wb");
    if (!f) return;
    fputs("{", f);
    writeText(f, dialog);
    fputs(",\"controls\":[", f);
    bool first = true;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {0};
        GetClassNameA(c, cls, sizeof cls);
        fprintf(f, "%s{\"id\":%ld,\"visible\":%s,\"check\":%ld,", first ? "" : ",",
                GetWindowLongA(c, GWL_ID) & 0xFFFF, (GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) ? "true" : "false",
                lstrcmpiA(cls, "Button") == 0 ? static_cast<long>(SendMessageA(c, BM_GETCHECK, 0, 0)) : -1L);
        writeText(f, c);
        fputs("}", f);
        first = false;
    }
    fputs("]}\n", f);
    fclose(f);
    MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK InitHookProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const CWPRETSTRUCT* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (m->message == WM_INITDIALOG && GetDlgItem(m->hwnd, 1000)) snapshot(m->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
