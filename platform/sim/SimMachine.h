// A small simulated Windows machine for the native tests: the system's
// version and language, drives mapped onto host folders, INI files with the
// private-profile rules, started programs, and a desktop that holds the
// dialog's windows, records message boxes and answers them from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../framework/Dialog.h"
#include "../framework/Platform.h"
#include "../framework/WinApp.h"
#include "DialogTemplate.h"

// One window of the simulated desktop: the dialog or one of its controls.
struct SimWindow {
    class SimMachine* machine = nullptr;
    SimWindow* parent = nullptr;
    CDialog* dialog = nullptr;  // set on a dialog's own window
    int id = 0;
    std::string className;
    std::string text;
    bool visible = false;
    bool enabled = true;
    bool iconic = false;
    bool autoCheck = false;  // a check box that ticks itself when clicked
    // Controls' own state.
    std::vector<std::string> items;
    int curSel = -1;
    int check = 0;
    int pos = 0;
    IconHandle bigIcon = nullptr;
    IconHandle smallIcon = nullptr;
    std::vector<std::unique_ptr<SimWindow>> children;

    SimWindow* Child(int controlId) const;
};

// A device context of the simulated desktop remembers the text colour set.
struct SimDc {
    COLORREF textColour = 0;
    bool textColourSet = false;
};

struct MessageBoxRecord {
    WindowHandle owner;
    std::string text;
    std::string caption;
    UINT type;
    int answer;
};

class SimMachine : public Platform, SystemInfo, FileSystem, ProcessRunner, ProfileFiles {
public:
    SimMachine();
    ~SimMachine() override;

    // --- the machine's set-up, changed by tests before a run ---
    OsVersionInfo version = {VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 2"};
    bool versionQueryFails = false;
    uint16_t langId = 0x0412;
    std::string modulePath = "C:\\SETUP\\Install.exe";
    std::map<char, UINT> driveTypes;  // by upper-case letter; missing: no root dir
    std::string currentDirectory = "C:\\SETUP";
    std::string tempPath = "C:\\WINDOWS\\TEMP\\";
    bool tempPathFails = false;

    // Maps a drive letter onto a host folder (created if missing).
    void MapDrive(char letter, const std::string& hostFolder);
    // The host path a Windows path names (relative paths against the current
    // directory; each component matched without regard to case).
    std::string HostPath(const std::string& windowsPath) const;
    // Writes a file on the simulated machine.
    void WriteFile(const std::string& windowsPath, const std::string& content);
    std::string ReadFile(const std::string& windowsPath) const;
    bool FileExists(const std::string& windowsPath) const;

    // --- the desktop ---
    // Message boxes shown so far, in order.
    std::vector<MessageBoxRecord> messageBoxes;
    // Answers for the next message boxes; when empty a box answers with its
    // first button.
    std::deque<int> boxAnswers;
    // Command lines started with WinExec.
    std::vector<std::string> startedPrograms;
    // Command lines run hidden and waited for. A driver package runs as the
    // real stub would: it unpacks its payload into the unpack folder.
    std::vector<std::string> hiddenRuns;
    // What the user does whenever the dialog waits for input; returning
    // false leaves the dialog (DoModal then returns -1).
    std::function<bool(CDialog&)> onIdle;

    // Creates the dialog's windows from the resource script and runs its
    // initialisation, as DoModal does before its loop.
    bool OpenDialog(CDialog& dialog);
    // Handles the posted messages; false when the dialog has ended.
    bool Pump(CDialog& dialog);
    // The user's actions.
    void Click(CDialog& dialog, int controlId);
    void SelectItem(CDialog& dialog, int comboId, int index);
    void PressKey(CDialog& dialog, int controlId, UINT virtualKey);

    // Asks the dialog for a control's colours, as the system does before
    // drawing it: the text colour the dialog set, or -1 when it set none.
    long CtlColorText(CDialog& dialog, int controlId);

    SimWindow* Window(WindowHandle handle) const { return reinterpret_cast<SimWindow*>(handle); }
    SimWindow* Control(CDialog& dialog, int controlId) const;
    const DialogTemplate& Template(int templateId);

    // Internal, for the framework's simulated backend.
    static SimMachine& Of(CWinApp* app);
    void Post(WindowHandle window, UINT message, uintptr_t wParam, intptr_t lParam);
    int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, UINT type);
    void RouteCommand(CDialog& dialog, int controlId, UINT code);

    // SystemInfo
    bool GetVersionEx(OsVersionInfo* info) override;
    uint16_t GetSystemDefaultLangID() override;
    bool GetModuleFileName(CString* path) override;
    UINT GetDriveType(const char* rootPath) override;
    bool GetTempPath(CString* path, DWORD* error) override;
    // FileSystem
    bool CanOpenForReading(const char* path) override;
    bool CopyFile(const char* source, const char* target, DWORD* error) override;
    // ProcessRunner
    bool WinExec(const char* commandLine, UINT show) override;
    bool RunHiddenAndWait(const char* commandLine, DWORD* exitCode, DWORD* error) override;
    // ProfileFiles
    CString GetString(const char* file, const char* section, const char* key, const char* defaultValue) override;
    UINT GetInt(const char* file, const char* section, const char* key, int defaultValue) override;
    bool WriteString(const char* file, const char* section, const char* key, const char* value) override;

private:
    struct Posted {
        WindowHandle window;
        UINT message;
        uintptr_t wParam;
        intptr_t lParam;
    };
    std::deque<Posted> m_queue;
    std::map<char, std::string> m_drives;
    std::map<int, DialogTemplate> m_templates;
    std::vector<std::unique_ptr<SimWindow>> m_dialogs;
};
