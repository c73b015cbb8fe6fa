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

bool Win32FileSystem::CanOpenForReading(const char* path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool Win32ProcessRunner::WinExec(const char* commandLine, UINT show) { return ::WinExec(commandLine, show) > 31; }

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
