// The system services the program's logic calls, as narrow interfaces. The
// Win32 backend forwards each to the real API; the simulated backend answers
// from a small fake machine for the native tests.
#pragma once

#include "String.h"
#include "Types.h"

// The version record of the running system.
struct OsVersionInfo {
    DWORD dwPlatformId;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    char szCSDVersion[128];
};

#ifndef VER_PLATFORM_WIN32_WINDOWS
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#endif

class SystemInfo {
public:
    virtual ~SystemInfo() {}
    // False when the system cannot tell its version.
    virtual bool GetVersionEx(OsVersionInfo* info) = 0;
    virtual uint16_t GetSystemDefaultLangID() = 0;
    // The running executable's full path, whole; false on failure.
    virtual bool GetModuleFileName(CString* path) = 0;
    virtual UINT GetDriveType(const char* rootPath) = 0;
    // The user's temporary folder, whole, with its trailing backslash;
    // false (and the system's error) on failure.
    virtual bool GetTempPath(CString* path, DWORD* error) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() {}
    // Opens the name for reading and closes it at once.
    virtual bool CanOpenForReading(const char* path) = 0;
    // Copies a file, overwriting the target; false and the system's error
    // on failure.
    virtual bool CopyFile(const char* source, const char* target, DWORD* error) = 0;
};

class ProcessRunner {
public:
    virtual ~ProcessRunner() {}
    // Starts a command line; true when it started.
    virtual bool WinExec(const char* commandLine, UINT show) = 0;
    // Starts a command line without a window and waits for its end; false
    // and the system's error when it cannot start, else its exit code.
    virtual bool RunHiddenAndWait(const char* commandLine, DWORD* exitCode, DWORD* error) = 0;
};

// Private INI files, read and written with the system's profile rules.
class ProfileFiles {
public:
    virtual ~ProfileFiles() {}
    virtual CString GetString(const char* file, const char* section, const char* key, const char* defaultValue) = 0;
    virtual UINT GetInt(const char* file, const char* section, const char* key, int defaultValue) = 0;
    virtual bool WriteString(const char* file, const char* section, const char* key, const char* value) = 0;
};

// Everything the logic may ask of the system, owned by the backend.
struct Platform {
    virtual ~Platform() {}
    SystemInfo* system = nullptr;
    FileSystem* files = nullptr;
    ProcessRunner* processes = nullptr;
    ProfileFiles* profiles = nullptr;
};
