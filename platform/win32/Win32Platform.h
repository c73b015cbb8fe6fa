// The system services as forwarders to the real API.
#pragma once

#include "../framework/Platform.h"

class Win32SystemInfo : public SystemInfo {
public:
    bool GetVersionEx(OsVersionInfo* info) override;
    uint16_t GetSystemDefaultLangID() override;
    bool GetModuleFileName(CString* path) override;
    UINT GetDriveType(const char* rootPath) override;
    bool GetTempPath(CString* path, DWORD* error) override;
};

class Win32FileSystem : public FileSystem {
public:
    bool CanOpenForReading(const char* path) override;
    bool CopyFile(const char* source, const char* target, DWORD* error) override;
};

class Win32ProcessRunner : public ProcessRunner {
public:
    bool WinExec(const char* commandLine, UINT show) override;
    bool RunHiddenAndWait(const char* commandLine, DWORD* exitCode, DWORD* error) override;
};

class Win32ProfileFiles : public ProfileFiles {
public:
    CString GetString(const char* file, const char* section, const char* key, const char* defaultValue) override;
    UINT GetInt(const char* file, const char* section, const char* key, int defaultValue) override;
    bool WriteString(const char* file, const char* section, const char* key, const char* value) override;
};

struct Win32Platform : Platform {
    Win32Platform()
    {
        system = &m_system;
        files = &m_files;
        processes = &m_processes;
        profiles = &m_profiles;
    }

private:
    Win32SystemInfo m_system;
    Win32FileSystem m_files;
    Win32ProcessRunner m_processes;
    Win32ProfileFiles m_profiles;
};
