// robot.exe: drives a dialog program of another process under Wine for the
// end-to-end tests.
//
// It reads one command per line (from the file named by its argument, or
// from standard input) and answers every command with exactly one line of
// JSON on standard output, flushed at once, so a Python script can hold a
// conversation with it.  Every answer has "ok" (true/false); failures carry
// "error".  Window texts are returned as the hex of their ANSI bytes ("hex"
// fields), so the caller decodes them exactly with the system's code page.
//
// Commands (arguments separated by blanks, "double quotes" group one):
//   start <exe> <folder>     CreateProcess with that current directory
//   wait-dialog <ms>         the program's dialog (a #32770 with child 1000)
//   init-state <ms>          the dialog as WM_INITDIALOG left it (recorded by
//                            inithook.dll, also when the dialog closes at once)
//   wait-box <ms>            a message box of the program (a #32770 without 1000):
//                            caption, text, buttons and the icon told by its
//                            colours: none, exclamation (yellow), information
//                            (blue; the question mark too), error (red)
//   answer-box <id>          press button <id> of the open message box
//   caption                  the dialog's window text
//   get-text <id>            text of control <id> (WM_GETTEXT)
//   get-wtext <id>           the same as UTF-16LE
//   combo-items <id>         items and selection of a combo box
//   check-state <id>         BM_GETCHECK
//   visible <id>             visibility and enabled state
//   controls                 every child: id, class, styles, rectangles, text
//   dialog-rect              the dialog's window rectangle on the screen
//   colour-count <id> <rrggbb> pixels of the control on the screen in that colour
//   post-command <id> [code] PostMessage WM_COMMAND (code defaults to BN_CLICKED)
//   post-close               PostMessage WM_CLOSE to the dialog
//   post-syscommand <sc>     PostMessage WM_SYSCOMMAND (0xF060: the close box)
//   syskey <id> <vk>         WM_SYSKEYDOWN/UP with Alt held (115: Alt+F4)
//   key <id> <vk>            focus the control, post WM_KEYDOWN and WM_KEYUP
//   set-check <id> <0|1>     BM_SETCHECK
//   select <id> <index>      CB_SETCURSEL and a posted CBN_SELCHANGE
//   set-text <id> <hex>      WM_SETTEXT with the given bytes
//   windows                  every top-level window of the program
//   font <points> <hex>      the dialog font (UTF-8 hex of the face) for controls
//   wait-exit <ms>           the exit code, or running
//   kill                     end the program
//   sleep <ms>
//   quit
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// ---------------------------------------------------------------- output --

// One answer line, built in a fixed buffer grown on the heap when needed.
class Out {
public:
    Out() : buf_(nullptr), len_(0), cap_(0) {}
    ~Out() { free(buf_); }
    void raw(const char* s) { raw(s, strlen(s)); }
    void raw(const char* s, size_t n) {
        if (len_ + n + 1 > cap_) {
            size_t c = cap_ ? cap_ * 2 : 4096;
            while (c < len_ + n + 1) c *= 2;
            buf_ = static_cast<char*>(realloc(buf_, c));
            cap_ = c;
        }
        memcpy(buf_ + len_, s, n);
        len_ += n;
        buf_[len_] = 0;
    }
    void key(const char* k) {
        if (len_ && buf_[len_ - 1] != '{' && buf_[len_ - 1] != '[') raw(",");
        raw("\"");
        raw(k);
        raw("\":");
    }
    void sep() {
        if (len_ && buf_[len_ - 1] != '{' && buf_[len_ - 1] != '[') raw(",");
    }
    void num(const char* k, long long v) {
        key(k);
        char t[32];
        snprintf(t, sizeof t, "%lld", v);
        raw(t);
    }
    void boolean(const char* k, bool v) { key(k); raw(v ? "true" : "false"); }
    // A plain ASCII string (error texts, class names); anything outside
    // printable ASCII is replaced so the JSON stays valid.
    void str(const char* k, const char* s) {
        key(k);
        strValue(s);
    }
    void strValue(const char* s) {
        raw("\"");
        for (; *s; ++s) {
            unsigned char c = static_cast<unsigned char>(*s);
            if (c == '"' || c == '\\') { char t[3] = {'\\', static_cast<char>(c), 0}; raw(t); }
            else if (c < 0x20 || c > 0x7e) raw("?");
            else raw(reinterpret_cast<const char*>(&c), 1);
        }
        raw("\"");
    }
    void hex(const char* k, const char* s, size_t n) {
        key(k);
        raw("\"");
        static const char digits[] = "0123456789abcdef";
        for (size_t i = 0; i < n; ++i) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            char t[2] = {digits[c >> 4], digits[c & 15]};
            raw(t, 2);
        }
        raw("\"");
    }
    void emit() {
        fputs(buf_ ? buf_ : "{}", stdout);
        fputc('\n', stdout);
        fflush(stdout);
        len_ = 0;
        if (buf_) buf_[0] = 0;
    }

private:
    char* buf_;
    size_t len_;
    size_t cap_;
};

// ----------------------------------------------------------------- state --

PROCESS_INFORMATION g_proc = {};
bool g_started = false;
HWND g_dialog = nullptr;
const DWORD kSendTimeout = 5000;

bool processRunning() {
    if (!g_started) return false;
    return WaitForSingleObject(g_proc.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD exitCode() {
    DWORD code = 0;
    GetExitCodeProcess(g_proc.hProcess, &code);
    return code;
}

bool windowOfProgram(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return g_started && pid == g_proc.dwProcessId;
}

bool isDialogClass(HWND h) {
    char cls[64] = {0};
    GetClassNameA(h, cls, sizeof cls);
    return strcmp(cls, "#32770") == 0;
}

// Children are looked up by walking them, comparing the low 16 bits of the
// ID: message boxes use 0xFFFF for their text, which some lookups sign-extend.
HWND childById(HWND parent, int id) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongA(c, GWL_ID) & 0xFFFF) == (id & 0xFFFF)) return c;
    }
    return nullptr;
}

struct FindCtx {
    bool wantDialog;
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND h, LPARAM lp) {
    FindCtx* ctx = reinterpret_cast<FindCtx*>(lp);
    if (!windowOfProgram(h) || !isDialogClass(h) || !IsWindowVisible(h)) return TRUE;
    bool isMain = childById(h, 1000) != nullptr;
    if (isMain == ctx->wantDialog) {
        ctx->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND findVisible(bool wantDialog) {
    FindCtx ctx = {wantDialog, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

// Reads a window's text across processes; the answer is ANSI bytes.
int readText(HWND h, char* buf, int cap) {
    DWORD_PTR len = 0;
    buf[0] = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXT, cap, reinterpret_cast<LPARAM>(buf),
                             SMTO_NORMAL, kSendTimeout, &len))
        return -1;
    if (static_cast<int>(len) >= cap) len = cap - 1;
    buf[len] = 0;
    return static_cast<int>(strlen(buf));
}

// The same as UTF-16: the template's texts exactly, whatever the code page.
int readWideText(HWND h, WCHAR* buf, int cap) {
    DWORD_PTR len = 0;
    buf[0] = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, cap, reinterpret_cast<LPARAM>(buf),
                             SMTO_NORMAL, kSendTimeout, &len))
        return -1;
    if (static_cast<int>(len) >= cap) len = cap - 1;
    buf[len] = 0;
    return static_cast<int>(lstrlenW(buf));
}

bool sendTimeout(HWND h, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result) {
    return SendMessageTimeoutA(h, msg, wp, lp, SMTO_NORMAL, kSendTimeout, result) != 0;
}

// ------------------------------------------------------------- icon kind --

// Tells a message box's icon by the colours of its pixels on the screen:
// the exclamation is yellow, information and question blue, error red.
// Copies a rectangle of the screen as 32-bit pixels (blue, green, red, 0);
// the caller frees the result.
unsigned char* grabScreen(const RECT& r) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return nullptr;
    unsigned char* pixels = static_cast<unsigned char*>(malloc(static_cast<size_t>(w) * h * 4));
    if (!pixels) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    if (bits) memcpy(pixels, bits, static_cast<size_t>(w) * h * 4);
    else memset(pixels, 0, static_cast<size_t>(w) * h * 4);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Tells a message box's icon by the colours of its pixels on the screen:
// the exclamation is yellow, information and question blue, error red.
void classifyIcon(HWND icon, Out& out) {
    RECT r;
    if (!icon || !IsWindowVisible(icon) || !GetWindowRect(icon, &r)) {
        out.str("icon", "none");
        return;
    }
    int count = (r.right - r.left) * (r.bottom - r.top);
    unsigned char* p = grabScreen(r);
    int yellow = 0, red = 0, blue = 0;
    for (int i = 0; p && i < count; ++i) {
        int b = p[i * 4], g = p[i * 4 + 1], rr = p[i * 4 + 2];
        if (rr > 180 && g > 150 && b < 110) ++yellow;
        else if (rr > 150 && g < 100 && b < 100) ++red;
        else if (b > 150 && rr < 110 && b > g + 30) ++blue;
    }
    free(p);
    // A box without an icon keeps its icon control, empty: no colour at all.
    const char* kind = "none";
    int best = 20;  // a few stray pixels are not an icon
    if (yellow > best) { kind = "exclamation"; best = yellow; }
    if (blue > best) { kind = "information"; best = blue; }
    if (red > best) { kind = "error"; best = red; }
    out.str("icon", kind);
    out.num("yellow", yellow);
    out.num("blue", blue);
    out.num("red", red);
}

void describeBox(HWND box, Out& out) {
    static char text[8192];
    int n = readText(box, text, sizeof text);
    out.hex("caption", text, n > 0 ? n : 0);
    HWND label = childById(box, 0xFFFF);
    n = label ? readText(label, text, sizeof text) : 0;
    out.hex("text", text, n > 0 ? n : 0);
    out.key("buttons");
    out.raw("[");
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {0};
        GetClassNameA(c, cls, sizeof cls);
        LONG style = GetWindowLongA(c, GWL_STYLE);
        if (lstrcmpiA(cls, "Button") != 0 || !(style & WS_VISIBLE)) continue;
        out.sep();
        out.raw("{");
        out.num("id", GetWindowLongA(c, GWL_ID) & 0xFFFF);
        n = readText(c, text, sizeof text);
        out.hex("hex", text, n > 0 ? n : 0);
        out.raw("}");
    }
    out.raw("]");
    classifyIcon(childById(box, 0x440), out);
    HWND owner = GetWindow(box, GW_OWNER);
    out.str("owner", !owner ? "none" : (windowOfProgram(owner) && isDialogClass(owner) && childById(owner, 1000))
                                          ? "dialog" : "other");
}

// ------------------------------------------------------------ dialog units --

// The dialog's base units come from its font, which only its own process can
// ask.  A hidden probe dialog of ours with the same font gives the same units.
int g_fontPoints = 9;
WCHAR g_fontFace[64] = {0xAD74, 0xB9BC, 0};  // the template's font name

INT_PTR CALLBACK probeProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

bool baseUnits(int* bx, int* by) {
    // DLGTEMPLATE + menu, class, title (empty) + point size + face.
    static WORD tmpl[128];
    memset(tmpl, 0, sizeof tmpl);
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(tmpl);
    t->style = WS_POPUP | DS_SETFONT;
    t->cx = 100;
    t->cy = 100;
    WORD* p = reinterpret_cast<WORD*>(t + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    *p++ = 0;  // title
    *p++ = static_cast<WORD>(g_fontPoints);
    for (const WCHAR* f = g_fontFace; *f; ++f) *p++ = *f;
    *p++ = 0;
    HWND probe = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t, nullptr, probeProc, 0);
    if (!probe) return false;
    RECT r = {0, 0, 4000, 8000};
    MapDialogRect(probe, &r);
    DestroyWindow(probe);
    // MapDialogRect gives MulDiv(units, base, 4) and MulDiv(units, base, 8).
    *bx = r.right / 1000;
    *by = r.bottom / 1000;
    return true;
}

// ------------------------------------------------------------- commands --

int argCount;
char* args[8];

void split(char* line) {
    argCount = 0;
    char* p = line;
    while (*p && argCount < 8) {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p) break;
        if (*p == '"') {
            args[argCount++] = ++p;
            while (*p && *p != '"') ++p;
        } else {
            args[argCount++] = p;
            while (*p && *p != ' ' && *p != '\t') ++p;
        }
        if (*p) *p++ = 0;
    }
}

int intArg(int i, int fallback) {
    if (i >= argCount) return fallback;
    return static_cast<int>(strtol(args[i], nullptr, 0));
}

void fail(Out& out, const char* why) {
    out.boolean("ok", false);
    out.str("error", why);
}

bool needDialog(Out& out) {
    if (g_dialog && IsWindow(g_dialog)) return true;
    fail(out, g_dialog ? "the dialog is gone" : "no dialog (use wait-dialog first)");
    return false;
}

HWND needControl(Out& out, int id) {
    if (!needDialog(out)) return nullptr;
    HWND c = childById(g_dialog, id);
    if (!c) {
        char why[64];
        snprintf(why, sizeof why, "no control %d", id);
        fail(out, why);
    }
    return c;
}

// The hook that records the dialog as initialisation leaves it (inithook.dll
// beside robot.exe); its file is named per start.
char g_snapshot[MAX_PATH];
HHOOK g_hook = nullptr;

bool setInitHook(DWORD thread) {
    if (g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = strrchr(path, '\\');
    if (!n || !slash) return false;
    strcpy(slash + 1, "inithook.dll");
    HMODULE dll = LoadLibraryA(path);
    if (!dll) return false;
    HOOKPROC proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "InitHookProc@12")));
    if (!proc) proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "InitHookProc")));
    if (!proc) return false;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, proc, dll, thread);
    return g_hook != nullptr;
}

void cmdStart(Out& out) {
    if (argCount < 3) return fail(out, "usage: start <exe> <folder>");
    if (g_started) {
        if (processRunning()) TerminateProcess(g_proc.hProcess, 99);
        CloseHandle(g_proc.hProcess);
        CloseHandle(g_proc.hThread);
        g_started = false;
    }
    g_dialog = nullptr;
    static int starts = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    snprintf(g_snapshot, sizeof g_snapshot, "%se2e-init-%lu-%d.json", temp, GetCurrentProcessId(), ++starts);
    DeleteFileA(g_snapshot);
    SetEnvironmentVariableA("E2E_INIT_SNAPSHOT", g_snapshot);
    char cmdline[MAX_PATH + 4];
    snprintf(cmdline, sizeof cmdline, "\"%s\"", args[1]);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(args[1], cmdline, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, args[2], &si,
                        &g_proc)) {
        char why[64];
        snprintf(why, sizeof why, "CreateProcess failed, error %lu", GetLastError());
        return fail(out, why);
    }
    g_started = true;
    bool hooked = setInitHook(g_proc.dwThreadId);
    ResumeThread(g_proc.hThread);
    out.boolean("ok", true);
    out.num("pid", g_proc.dwProcessId);
    out.boolean("hooked", hooked);
}

// init-state <ms>: what initialisation left in the dialog, as the hook saw it
// when WM_INITDIALOG returned.
void cmdInitState(Out& out) {
    if (!g_started) return fail(out, "nothing started");
    DWORD limit = intArg(1, 10000), start = GetTickCount();
    for (;;) {
        FILE* f = fopen(g_snapshot, "rb");
        if (f) {
            static char buf[262144];
            size_t n = fread(buf, 1, sizeof buf - 1, f);
            fclose(f);
            while (n && (buf[n - 1] == '\n' || buf[n - 1] == '\r')) --n;
            buf[n] = 0;
            out.boolean("ok", true);
            out.key("state");
            out.raw(buf, n);
            return;
        }
        if (!processRunning()) return fail(out, "the program ended without a record of its initialisation");
        if (GetTickCount() - start > limit) return fail(out, "timeout");
        Sleep(50);
    }
}

// Waits for the dialog; a message box or the end of the program stops the
// wait early, so a scenario learns at once why no dialog came.
void cmdWaitDialog(Out& out) {
    if (!g_started) return fail(out, "nothing started");
    DWORD limit = intArg(1, 10000), start = GetTickCount();
    for (;;) {
        HWND d = findVisible(true);
        if (d) {
            g_dialog = d;
            static char text[1024];
            int n = readText(d, text, sizeof text);
            out.boolean("ok", true);
            out.hex("caption", text, n > 0 ? n : 0);
            return;
        }
        HWND box = findVisible(false);
        if (box) {
            Sleep(200);
            fail(out, "a message box is open");
            describeBox(box, out);
            return;
        }
        if (!processRunning()) {
            fail(out, "the program has ended");
            out.num("exit", exitCode());
            return;
        }
        if (GetTickCount() - start > limit) return fail(out, "timeout");
        Sleep(50);
    }
}

void cmdWaitBox(Out& out) {
    if (!g_started) return fail(out, "nothing started");
    DWORD limit = intArg(1, 10000), start = GetTickCount();
    for (;;) {
        HWND box = findVisible(false);
        if (box) {
            Sleep(300);  // let it paint before its icon is read from the screen
            out.boolean("ok", true);
            describeBox(box, out);
            return;
        }
        if (!processRunning()) {
            fail(out, "the program has ended");
            out.num("exit", exitCode());
            return;
        }
        if (GetTickCount() - start > limit) {
            fail(out, "timeout");
            out.boolean("dialog", findVisible(true) != nullptr);
            return;
        }
        Sleep(50);
    }
}

void cmdAnswerBox(Out& out) {
    HWND box = findVisible(false);
    if (!box) return fail(out, "no message box");
    int id = intArg(1, IDOK);
    HWND button = childById(box, id);
    if (!button || !IsWindowVisible(button)) return fail(out, "the box has no such button");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    // Wait until that box is gone so the next command sees the next state.
    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(25);
    if (IsWindow(box)) return fail(out, "the box stays open");
    out.boolean("ok", true);
}

void cmdText(Out& out, HWND h) {
    static char text[65536];
    int n = readText(h, text, sizeof text);
    if (n < 0) return fail(out, "WM_GETTEXT timed out");
    out.boolean("ok", true);
    out.hex("hex", text, n);
}

void cmdComboItems(Out& out) {
    HWND c = needControl(out, intArg(1, 0));
    if (!c) return;
    DWORD_PTR count = 0, sel = 0;
    if (!sendTimeout(c, CB_GETCOUNT, 0, 0, &count)) return fail(out, "CB_GETCOUNT timed out");
    sendTimeout(c, CB_GETCURSEL, 0, 0, &sel);
    out.boolean("ok", true);
    out.num("count", static_cast<LONG>(count));
    out.num("selected", static_cast<LONG>(sel));
    out.key("items");
    out.raw("[");
    // Items are read as UTF-16 and turned back into the code page: the ANSI
    // form of CB_GETLBTEXT does not come back converted across processes.
    static WCHAR wide[4096];
    static char text[8192];
    for (int i = 0; i < static_cast<int>(count); ++i) {
        DWORD_PTR len = 0;
        SendMessageTimeoutW(c, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, kSendTimeout, &len);
        int n = 0;
        wide[0] = 0;
        if (len < sizeof wide / sizeof wide[0]) {
            DWORD_PTR got = 0;
            SendMessageTimeoutW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                                kSendTimeout, &got);
            n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(got), text, sizeof text, nullptr, nullptr);
        }
        out.sep();
        out.raw("\"");
        static const char digits[] = "0123456789abcdef";
        for (int k = 0; k < n; ++k) {
            unsigned char ch = static_cast<unsigned char>(text[k]);
            char t[2] = {digits[ch >> 4], digits[ch & 15]};
            out.raw(t, 2);
        }
        out.raw("\"");
    }
    out.raw("]");
}

void cmdControls(Out& out) {
    if (!needDialog(out)) return;
    int bx = 0, by = 0;
    if (!baseUnits(&bx, &by)) return fail(out, "cannot make the probe dialog");
    out.boolean("ok", true);
    out.num("base_x", bx);
    out.num("base_y", by);
    RECT client;
    GetClientRect(g_dialog, &client);
    out.num("client_w", client.right);
    out.num("client_h", client.bottom);
    out.key("controls");
    out.raw("[");
    static char text[4096];
    for (HWND c = GetWindow(g_dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out.sep();
        out.raw("{");
        out.num("id", GetWindowLongA(c, GWL_ID) & 0xFFFF);
        char cls[64] = {0};
        GetClassNameA(c, cls, sizeof cls);
        out.str("class", cls);
        out.num("style", static_cast<unsigned long>(GetWindowLongA(c, GWL_STYLE)));
        out.num("exstyle", static_cast<unsigned long>(GetWindowLongA(c, GWL_EXSTYLE)));
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, g_dialog, reinterpret_cast<POINT*>(&r), 2);
        out.key("px");
        char t[96];
        snprintf(t, sizeof t, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
        out.raw(t);
        out.boolean("visible", IsWindowVisible(c) != 0);
        out.boolean("enabled", IsWindowEnabled(c) != 0);
        int n = readText(c, text, sizeof text);
        out.hex("hex", text, n > 0 ? n : 0);
        if (lstrcmpiA(cls, "ComboBox") == 0) {
            // The template's height is that of the dropped list.
            RECT d = {0, 0, 0, 0};
            DWORD_PTR res = 0;
            sendTimeout(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&d), &res);
            MapWindowPoints(nullptr, g_dialog, reinterpret_cast<POINT*>(&d), 2);
            out.key("dropped_px");
            snprintf(t, sizeof t, "[%ld,%ld,%ld,%ld]", d.left, d.top, d.right - d.left, d.bottom - d.top);
            out.raw(t);
        }
        out.raw("}");
    }
    out.raw("]");
}

BOOL CALLBACK describeTopLevel(HWND h, LPARAM lp) {
    Out& o = *reinterpret_cast<Out*>(lp);
    if (!windowOfProgram(h)) return TRUE;
    char cls[64] = {0}, text[1024];
    GetClassNameA(h, cls, sizeof cls);
    int n = readText(h, text, sizeof text);
    o.sep();
    o.raw("{");
    o.str("class", cls);
    o.hex("hex", text, n > 0 ? n : 0);
    o.boolean("visible", IsWindowVisible(h) != 0);
    o.boolean("has1000", childById(h, 1000) != nullptr);
    o.raw("}");
    return TRUE;
}

void cmdWindows(Out& out) {
    out.boolean("ok", true);
    out.key("windows");
    out.raw("[");
    EnumWindows(describeTopLevel, reinterpret_cast<LPARAM>(&out));
    out.raw("]");
}

// colour-count <id> <rrggbb>: how many pixels of the control on the screen
// have exactly that colour (a text colour, for instance).
void cmdColourCount(Out& out) {
    HWND c = needControl(out, intArg(1, 0));
    if (!c) return;
    unsigned long rgb = argCount > 2 ? strtoul(args[2], nullptr, 16) : 0;
    RECT r;
    GetWindowRect(c, &r);
    int count = (r.right - r.left) * (r.bottom - r.top);
    unsigned char* p = grabScreen(r);
    int n = 0;
    for (int i = 0; p && i < count; ++i) {
        unsigned long px = (static_cast<unsigned long>(p[i * 4 + 2]) << 16) | (p[i * 4 + 1] << 8) | p[i * 4];
        if (px == rgb) ++n;
    }
    free(p);
    out.boolean("ok", true);
    out.num("count", n);
    out.num("pixels", count);
}

void cmdWaitExit(Out& out) {
    if (!g_started) return fail(out, "nothing started");
    DWORD r = WaitForSingleObject(g_proc.hProcess, intArg(1, 5000));
    out.boolean("ok", true);
    if (r == WAIT_OBJECT_0) {
        out.boolean("running", false);
        out.num("exit", exitCode());
    } else {
        out.boolean("running", true);
    }
}

void cmdKey(Out& out) {
    HWND c = needControl(out, intArg(1, 0));
    if (!c) return;
    int vk = intArg(2, VK_RETURN);
    // Focus moves through the dialog so its default-button bookkeeping runs.
    PostMessageA(g_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
    Sleep(100);
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(c, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(c, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
    out.boolean("ok", true);
}

bool run(char* line, Out& out) {
    size_t n = strlen(line);
    while (n && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = 0;
    split(line);
    if (argCount == 0) return true;
    const char* c = args[0];
    out.raw("{");
    if (!strcmp(c, "start")) cmdStart(out);
    else if (!strcmp(c, "wait-dialog")) cmdWaitDialog(out);
    else if (!strcmp(c, "init-state")) cmdInitState(out);
    else if (!strcmp(c, "wait-box")) cmdWaitBox(out);
    else if (!strcmp(c, "answer-box")) cmdAnswerBox(out);
    else if (!strcmp(c, "caption")) { if (needDialog(out)) cmdText(out, g_dialog); }
    else if (!strcmp(c, "get-text")) { HWND h = needControl(out, intArg(1, 0)); if (h) cmdText(out, h); }
    else if (!strcmp(c, "get-wtext")) {
        HWND h = needControl(out, intArg(1, 0));
        static WCHAR wide[32768];
        int n = h ? readWideText(h, wide, 32768) : 0;
        if (h && n < 0) fail(out, "WM_GETTEXT timed out");
        else if (h) { out.boolean("ok", true); out.hex("whex", reinterpret_cast<const char*>(wide), n * 2); }
    }
    else if (!strcmp(c, "combo-items")) cmdComboItems(out);
    else if (!strcmp(c, "check-state")) {
        HWND h = needControl(out, intArg(1, 0));
        DWORD_PTR r = 0;
        if (h && sendTimeout(h, BM_GETCHECK, 0, 0, &r)) { out.boolean("ok", true); out.num("state", static_cast<LONG>(r)); }
        else if (h) fail(out, "BM_GETCHECK timed out");
    }
    else if (!strcmp(c, "visible")) {
        HWND h = needControl(out, intArg(1, 0));
        if (h) { out.boolean("ok", true); out.boolean("visible", IsWindowVisible(h) != 0); out.boolean("enabled", IsWindowEnabled(h) != 0); }
    }
    else if (!strcmp(c, "controls")) cmdControls(out);
    else if (!strcmp(c, "dialog-rect")) {
        if (needDialog(out)) {
            RECT r;
            GetWindowRect(g_dialog, &r);
            out.boolean("ok", true);
            char t[96];
            snprintf(t, sizeof t, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
            out.key("rect");
            out.raw(t);
        }
    }
    else if (!strcmp(c, "post-command")) {
        HWND h = needControl(out, intArg(1, 0));
        if (h) {
            PostMessageA(g_dialog, WM_COMMAND, MAKEWPARAM(intArg(1, 0), intArg(2, BN_CLICKED)), reinterpret_cast<LPARAM>(h));
            out.boolean("ok", true);
        }
    }
    else if (!strcmp(c, "post-close")) {
        if (needDialog(out)) { PostMessageA(g_dialog, WM_CLOSE, 0, 0); out.boolean("ok", true); }
    }
    else if (!strcmp(c, "key")) cmdKey(out);
    else if (!strcmp(c, "colour-count")) cmdColourCount(out);
    else if (!strcmp(c, "post-syscommand")) {
        if (needDialog(out)) {
            PostMessageA(g_dialog, WM_SYSCOMMAND, intArg(1, SC_CLOSE), 0);
            out.boolean("ok", true);
        }
    }
    else if (!strcmp(c, "syskey")) {
        HWND h = needControl(out, intArg(1, 0));
        if (h) {
            int vk = intArg(2, VK_F4);
            PostMessageA(g_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(h), TRUE);
            Sleep(100);
            UINT scan = MapVirtualKeyA(vk, 0);
            // Bit 29: the Alt key is down.
            PostMessageA(h, WM_SYSKEYDOWN, vk, 1 | (scan << 16) | 0x20000000u);
            PostMessageA(h, WM_SYSKEYUP, vk, 1 | (scan << 16) | 0xE0000000u);
            out.boolean("ok", true);
        }
    }
    else if (!strcmp(c, "set-check")) {
        HWND h = needControl(out, intArg(1, 0));
        DWORD_PTR r = 0;
        if (h && sendTimeout(h, BM_SETCHECK, intArg(2, 1) ? BST_CHECKED : BST_UNCHECKED, 0, &r)) out.boolean("ok", true);
        else if (h) fail(out, "BM_SETCHECK timed out");
    }
    else if (!strcmp(c, "select")) {
        int id = intArg(1, 0);
        HWND h = needControl(out, id);
        DWORD_PTR r = 0;
        if (h && sendTimeout(h, CB_SETCURSEL, intArg(2, 0), 0, &r)) {
            PostMessageA(g_dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
            out.boolean("ok", true);
            out.num("result", static_cast<LONG>(r));
        } else if (h) fail(out, "CB_SETCURSEL timed out");
    }
    else if (!strcmp(c, "set-text")) {
        HWND h = needControl(out, intArg(1, 0));
        if (h) {
            static char text[4096];
            const char* hx = argCount > 2 ? args[2] : "";
            size_t k = 0;
            for (; hx[0] && hx[1] && k + 1 < sizeof text; hx += 2) {
                char pair[3] = {hx[0], hx[1], 0};
                text[k++] = static_cast<char>(strtol(pair, nullptr, 16));
            }
            text[k] = 0;
            DWORD_PTR r = 0;
            if (sendTimeout(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), &r)) out.boolean("ok", true);
            else fail(out, "WM_SETTEXT timed out");
        }
    }
    else if (!strcmp(c, "windows")) cmdWindows(out);
    else if (!strcmp(c, "font")) {
        // font <points> <face as UTF-8 hex>: the font of the dialog measured by controls
        static char face[128];
        const char* hx = argCount > 2 ? args[2] : "";
        size_t k = 0;
        for (; hx[0] && hx[1] && k + 1 < sizeof face; hx += 2) {
            char pair[3] = {hx[0], hx[1], 0};
            face[k++] = static_cast<char>(strtol(pair, nullptr, 16));
        }
        face[k] = 0;
        g_fontPoints = intArg(1, 9);
        MultiByteToWideChar(CP_UTF8, 0, face, -1, g_fontFace, 63);
        out.boolean("ok", true);
    }
    else if (!strcmp(c, "wait-exit")) cmdWaitExit(out);
    else if (!strcmp(c, "kill")) {
        if (processRunning()) {
            TerminateProcess(g_proc.hProcess, 99);
            WaitForSingleObject(g_proc.hProcess, 5000);
        }
        out.boolean("ok", true);
    }
    else if (!strcmp(c, "sleep")) { Sleep(intArg(1, 100)); out.boolean("ok", true); }
    else if (!strcmp(c, "quit")) { out.boolean("ok", true); out.raw("}"); out.emit(); return false; }
    else fail(out, "unknown command");
    out.raw("}");
    out.emit();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    FILE* in = stdin;
    if (argc > 1) {
        in = fopen(argv[1], "r");
        if (!in) {
            printf("{\"ok\":false,\"error\":\"cannot open the command file\"}\n");
            return 2;
        }
    }
    Out out;
    static char line[8192];
    while (fgets(line, sizeof line, in)) {
        if (!run(line, out)) break;
    }
    if (g_started && processRunning()) TerminateProcess(g_proc.hProcess, 99);
    return 0;
}
