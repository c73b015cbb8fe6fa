"""What Install.exe asks of the system when it loads: only system DLLs, and
only functions the first Windows 95 already has (anything newer must be
looked up at run time with GetProcAddress)."""
import re
import subprocess

from harness import Case

# Every function below exists in the first release of Windows 95 (and so in
# every later supported system). A new import fails this case until it is
# checked and added, or loaded at run time instead.
WINDOWS_95 = {
    "KERNEL32.DLL": {
        "CloseHandle", "CopyFileA", "CreateFileA", "CreateProcessA", "DeleteFileA", "ExitProcess",
        "GetDiskFreeSpaceA", "GetDriveTypeA", "GetExitCodeProcess", "GetLastError", "GetModuleFileNameA",
        "GetModuleHandleA", "GetPrivateProfileIntA", "GetPrivateProfileStringA", "GetProcAddress",
        "GetProcessHeap", "GetSystemDefaultLangID", "GetTempPathA", "GetVersionExA", "HeapAlloc", "HeapFree",
        "LoadLibraryA", "WaitForSingleObject", "WinExec", "WritePrivateProfileStringA", "WriteProfileStringA",
    },
    "USER32.DLL": {
        "BeginPaint", "CreateDialogParamA", "DefWindowProcA", "DestroyWindow", "DispatchMessageA", "DrawIcon",
        "EnableWindow", "EndPaint", "GetClientRect", "GetDlgItem", "GetMessageA", "GetSystemMetrics",
        "GetWindowLongA", "GetWindowTextA", "GetWindowTextLengthA", "IsDialogMessageA", "IsIconic", "IsWindow",
        "IsWindowEnabled", "IsWindowVisible", "LoadIconA", "MessageBoxA", "PostMessageA", "SendMessageA",
        "SetWindowLongA", "SetWindowTextA", "ShowWindow", "TranslateMessage",
    },
    "GDI32.DLL": {"SetTextColor"},
    "COMCTL32.DLL": {"InitCommonControls"},
    "SHELL32.DLL": {"SHFileOperationA", "SHBrowseForFolderA", "SHGetPathFromIDListA"},
    "WINSPOOL.DRV": {"AddPrinterA", "AddPrinterDriverA", "ClosePrinter", "DeletePrinter",
                     "GetPrinterDriverDirectoryA", "OpenPrinterA"},
}


def imports(path):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], stdin=subprocess.DEVNULL,
                         stdout=subprocess.PIPE, timeout=60, check=True).stdout.decode()
    table, dll = {}, None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).upper()
            table[dll] = set()
            continue
        m = re.match(r"\s+[0-9a-f]+\s+\d+\s+(\w+)$", line)
        if dll and m:
            table[dll].add(m.group(1))
    return table


def only_windows_95_functions(ctx):
    table = imports(ctx.paths.install)
    if not table:
        ctx.fail("no import table found in %s" % ctx.paths.install)
    faults = []
    for dll, functions in sorted(table.items()):
        if dll not in WINDOWS_95:
            faults.append("%s is not a system DLL every supported system has" % dll)
            continue
        newer = sorted(functions - WINDOWS_95[dll])
        if newer:
            faults.append("%s: %s not known on Windows 95" % (dll, ", ".join(newer)))
    if faults:
        ctx.fail("; ".join(faults))
    ctx.log("    imports: " + "; ".join("%s (%d)" % (d, len(f)) for d, f in sorted(table.items())))


CASES = [Case("imports: Install.exe loads only system DLLs with functions Windows 95 has",
              only_windows_95_functions)]
