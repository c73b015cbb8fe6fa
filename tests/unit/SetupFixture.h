// A simulated machine with the setup program on it: the application object,
// its dialog, and helpers to read the dialog back as a user would see it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SetupApp.h"
#include "app/SetupDlg.h"
#include "platform/sim/SimMachine.h"

// Language identifiers as the system reports them.
const uint16_t kLangKorean = 0x0412;
const uint16_t kLangEnglishUS = 0x0409;
const uint16_t kLangEnglishUK = 0x0809;
const uint16_t kLangJapanese = 0x0411;

inline OsVersionInfo Version(DWORD platform, DWORD major, DWORD minor, const char* csd = "")
{
    OsVersionInfo v = {platform, major, minor, 0, ""};
    snprintf(v.szCSDVersion, sizeof v.szCSDVersion, "%s", csd);
    return v;
}

class SetupFixture : public ::testing::Test {
public:
    SetupFixture()
    {
        machine.modulePath = "D:\\DRIVER\\Install.exe";
        machine.currentDirectory = "D:\\DRIVER";
        machine.MapDrive('D', HostRoot() + "/d");
        machine.driveTypes['D'] = DRIVE_CDROM;
    }

    std::string HostRoot() const { return machine.HostPath("C:\\") + "/.."; }

    // Starts the program as the system's entry would, up to the shown dialog.
    CSetupDlg& Start()
    {
        app.m_pPlatform = &machine;
        app.SetModulePath(machine.modulePath.c_str());
        dlg.reset(new CSetupDlg);
        app.m_pMainWnd = dlg.get();
        machine.OpenDialog(*dlg);
        return *dlg;
    }

    // Lets the dialog handle what initialisation posted; true while it is open.
    bool StillOpen() { return machine.Pump(*dlg); }

    std::string Text(int id) { return machine.Control(*dlg, id)->text; }
    std::string Caption() { return machine.Window(dlg->m_hWnd)->text; }
    std::vector<std::string> Items(int id) { return machine.Control(*dlg, id)->items; }
    bool Visible(int id) { return machine.Control(*dlg, id)->visible; }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : machine.messageBoxes)
            texts.push_back(box.text);
        return texts;
    }

    SimMachine machine;
    CSetupApp app;
    std::unique_ptr<CSetupDlg> dlg;
};
