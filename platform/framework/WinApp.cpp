#include "WinApp.h"

namespace {
// The framework's one application object, as the system's entry finds it.
CWinApp* s_pApp = nullptr;
}

CWinApp::CWinApp() : m_pMainWnd(nullptr), m_hInstance(nullptr), m_pPlatform(nullptr) { s_pApp = this; }

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return FALSE; }

CWinApp* AfxGetApp() { return s_pApp; }

CWnd* AfxGetMainWnd() { return s_pApp ? s_pApp->m_pMainWnd : nullptr; }

CString AppNameFromModulePath(const char* modulePath)
{
    CString path(modulePath);
    int start = path.ReverseFind('\\') + 1;
    CString name = path.Mid(start);
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

void CWinApp::SetModulePath(const char* modulePath)
{
    m_strAppName = AppNameFromModulePath(modulePath);
    m_strProfileName = m_strAppName + ".INI";
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    return m_pPlatform->profiles->GetString(m_strProfileName, section, entry, defaultValue ? defaultValue : "");
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    return m_pPlatform->profiles->GetInt(m_strProfileName, section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    return m_pPlatform->profiles->WriteString(m_strProfileName, section, entry, value) ? TRUE : FALSE;
}

UINT AppMessageBoxStyle(UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        }
    }
    return type;
}

int CWinApp::DoMessageBox(const char* text, UINT type)
{
    CWnd desktop;
    CWnd* owner = m_pMainWnd ? m_pMainWnd : &desktop;
    return owner->MessageBox(text, m_strAppName, AppMessageBoxStyle(type));
}

int AfxMessageBox(const char* text, UINT type) { return s_pApp->DoMessageBox(text, type); }

// Every supported system draws dialogs in 3D and the template holds no
// ActiveX control, so both services have nothing left to switch on.
void AfxEnableControlContainer() {}
BOOL Enable3dControlsStatic() { return TRUE; }

int AfxWinMain(CWinApp* app, ModuleHandle instance, Platform* platform)
{
    app->m_hInstance = instance;
    app->m_pPlatform = platform;
    CString modulePath;
    platform->system->GetModuleFileName(&modulePath);
    app->SetModulePath(modulePath);
    app->InitInstance();
    return 0;
}
