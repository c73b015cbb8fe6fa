#include "OsDetection.h"

#include "../app/SetupApp.h"
#include "../app/SetupDlg.h"

const char kMsgUnsupportedOs[] = "Not supported OS version";
const char kMsgUnsupportedLanguage[] = "Not supported language system";

int OsCodeFromVersion(const OsVersionInfo& version)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        // The major version is not looked at on this platform.
        if (version.dwMinorVersion == 0)
            return kOsCodeWin95;
        if (version.dwMinorVersion == 10)
            return version.szCSDVersion[1] == 'A' ? kOsCodeWin98SE : kOsCodeWin98;
        if (version.dwMinorVersion == 90)
            return kOsCodeWinME;
        return kOsCodeNone;
    case VER_PLATFORM_WIN32_NT:
        if (version.dwMajorVersion == 3)
            return kOsCodeNT3;
        if (version.dwMajorVersion == 4)
            return kOsCodeNT4;
        if (version.dwMajorVersion == 5) {
            if (version.dwMinorVersion == 0)
                return kOsCodeWin2000;
            if (version.dwMinorVersion == 1)
                return kOsCodeWinXP;
            if (version.dwMinorVersion == 2)
                return kOsCode2003;
        }
        return kOsCodeNone;
    default:
        return kOsCodeUnsupportedPlatform;
    }
}

namespace {
struct OsRow {
    int code;
    const char* label;
    int osClass;
};

const OsRow kOsTable[] = {
    {kOsCodeUnsupportedPlatform, kMsgUnsupportedOs, kOsClassNone},
    {kOsCodeWin95, "Windows 95", kOsClass9x},
    {kOsCodeWin98, "Windows 98", kOsClass9x},
    {kOsCodeWin98SE, "Windows 98SE", kOsClass9x},
    {kOsCodeWinME, "Windows ME", kOsClass9x},
    {kOsCodeNT4, "Windows NT 4.0", kOsClassNT4},
    {kOsCodeNT3, kMsgUnsupportedOs, kOsClassNone},
    {kOsCodeWin2000, "Windows 2000", kOsClassNT5},
    {kOsCodeWinXP, "Windows XP", kOsClassNT5},
    {kOsCode2003, "Windows 2003", kOsClassNT5},
};

const OsRow* FindOs(int osCode)
{
    for (const OsRow& row : kOsTable)
        if (row.code == osCode)
            return &row;
    return nullptr;
}
}  // namespace

const char* OsLabel(int osCode)
{
    const OsRow* row = FindOs(osCode);
    return row ? row->label : nullptr;
}

int OsClassOf(int osCode)
{
    const OsRow* row = FindOs(osCode);
    return row ? row->osClass : kOsClassNone;
}

bool IsUnsupportedOs(int osCode) { return osCode == kOsCodeUnsupportedPlatform || osCode == kOsCodeNT3; }

int PrimaryLanguage(uint16_t langId) { return langId & 0x3FF; }

bool IsServedLanguage(int language) { return language == kLanguageEnglish || language == kLanguageKorean; }

void CSetupDlg::DetectOSAndLanguage(int* pOSCode, int* pLanguage)
{
    SystemInfo* system = AfxGetApp()->m_pPlatform->system;

    // A system that cannot tell its version is not one we know how to serve.
    OsVersionInfo version = {};
    int code = system->GetVersionEx(&version) ? OsCodeFromVersion(version) : kOsCodeUnsupportedPlatform;
    if (code != kOsCodeNone)
        *pOSCode = code;
    if (IsUnsupportedOs(code)) {
        MessageBox(kMsgUnsupportedOs, nullptr, MB_OK);
        SendMessage(WM_CLOSE, 0, 0);
    }

    *pLanguage = PrimaryLanguage(system->GetSystemDefaultLangID());
    if (!IsServedLanguage(*pLanguage)) {
        MessageBox(kMsgUnsupportedLanguage, nullptr, MB_OK);
        SendMessage(WM_CLOSE, 0, 0);
    }
}

void CSetupDlg::TranslateOSCode()
{
    if (const char* label = OsLabel(m_nOSCode))
        m_editOS.SetWindowText(label);
    int osClass = OsClassOf(m_nOSCode);
    if (osClass != kOsClassNone)
        m_nOSClass = osClass;
}
