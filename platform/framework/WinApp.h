// The application object: its name, its profile file and its main window.
#pragma once

#include "Platform.h"
#include "String.h"
#include "Wnd.h"

typedef struct ModuleHandle_* ModuleHandle;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();

    // Sets the application's name (the executable's file name without folder
    // and extension, case kept) and the default profile name from the path.
    void SetModulePath(const char* modulePath);

    // The framework's profile functions: they act on the private INI file
    // named by m_strProfileName.
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);

    // The application's own message box: caption = application name, owner =
    // main window, exclamation icon added to plain question/OK boxes.
    int DoMessageBox(const char* text, UINT type);

    // An icon of the application's own resources.
    IconHandle LoadIcon(UINT id) const;

    CString m_strAppName;
    CString m_strProfileName;
    CWnd* m_pMainWnd;
    ModuleHandle m_hInstance;
    Platform* m_pPlatform;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
int AfxMessageBox(const char* text, UINT type = MB_OK);

// The executable's file name without folder and extension.
CString AppNameFromModulePath(const char* modulePath);
// The style an application box shows: the exclamation icon joins a box that
// names no icon and has OK, OK/Cancel, Yes/No or Yes/No/Cancel buttons.
UINT AppMessageBoxStyle(UINT type);

// Optional framework services the application enables at start.
void AfxEnableControlContainer();
BOOL Enable3dControlsStatic();

// The framework's entry: runs InitInstance of the one application object.
int AfxWinMain(CWinApp* app, ModuleHandle instance, Platform* platform);
