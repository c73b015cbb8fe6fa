#include "Win32.h"

#include "Win32Platform.h"

bool Win32SystemInfo::GetVersionEx(OsVersionInfo* info)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148: the plain record every system knows
    if (!::GetVersionExA(&version))
        return false;
    info->dwPlatformId = version.dwPlatformId;
    info->dwMajorVersion = version.dwMajorVersion;
    info->dwMinorVersion = version.dwMinorVersion;
    info->dwBuildNumber = version.dwBuildNumber;
    MemCopy(info->szCSDVersion, version.szCSDVersion, sizeof(info->szCSDVersion));
    return true;
}

uint16_t Win32SystemInfo::GetSystemDefaultLangID() { return ::GetSystemDefaultLangID(); }

bool Win32SystemInfo::GetModuleFileName(CString* path)
{
    // Grow the buffer until the whole path fits: a deep folder is no reason
    // to work with a cut path.
    for (DWORD size = 260; size <= 32768; size *= 2) {
        DWORD length = ::GetModuleFileNameA(nullptr, path->GetBuffer(int(size)), size);
        if (length == 0) {
            path->ReleaseBuffer(0);
            return false;
        }
        if (length < size) {
            path->ReleaseBuffer(int(length));
            return true;
        }
    }
    path->ReleaseBuffer(0);
    return false;
}

UINT Win32SystemInfo::GetDriveType(const char* rootPath) { return ::GetDriveTypeA(rootPath); }

bool Win32SystemInfo::GetTempPath(CString* path, DWORD* error)
{
    // Ask for the length first: the folder is taken whole, however deep.
    DWORD needed = ::GetTempPathA(0, nullptr);
    DWORD length = needed ? ::GetTempPathA(needed, path->GetBuffer(int(needed))) : 0;
    if (length == 0 || length >= needed) {
        *error = ::GetLastError();
        path->ReleaseBuffer(0);
        return false;
    }
    path->ReleaseBuffer(int(length));
    return true;
}

bool Win32FileSystem::CanOpenForReading(const char* path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool Win32FileSystem::CopyFile(const char* source, const char* target, DWORD* error)
{
    if (::CopyFileA(source, target, FALSE))
        return true;
    *error = ::GetLastError();
    return false;
}

bool Win32ProcessRunner::WinExec(const char* commandLine, UINT show) { return ::WinExec(commandLine, show) > 31; }

bool Win32ProcessRunner::RunHiddenAndWait(const char* commandLine, DWORD* exitCode, DWORD* error)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    CString line(commandLine);  // the system may write into the command line
    if (!::CreateProcessA(nullptr, line.GetBuffer(line.GetLength()), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        *error = ::GetLastError();
        return false;
    }
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    if (!::GetExitCodeProcess(process.hProcess, exitCode))
        *exitCode = ~DWORD(0);  // ran, but its outcome is unknown: not a success
    ::CloseHandle(process.hProcess);
    return true;
}

CString Win32ProfileFiles::GetString(const char* file, const char* section, const char* key,
                                     const char* defaultValue)
{
    const int kBuffer = 4096;  // values longer than 4095 characters are cut
    CString value;
    DWORD length = ::GetPrivateProfileStringA(section, key, defaultValue, value.GetBuffer(kBuffer), kBuffer, file);
    value.ReleaseBuffer(int(length));
    return value;
}

UINT Win32ProfileFiles::GetInt(const char* file, const char* section, const char* key, int defaultValue)
{
    return ::GetPrivateProfileIntA(section, key, defaultValue, file);
}

bool Win32ProfileFiles::WriteString(const char* file, const char* section, const char* key, const char* value)
{
    return ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
}
