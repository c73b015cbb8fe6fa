// What the user's keys and clicks reach: the message map, the Enter-key
// filter, the group-box colour and the small handlers.
#include "SetupFixture.h"

namespace {

class EventRouting : public SetupFixture {
protected:
    void SetUp() override { Start(); }
};

TEST_F(EventRouting, ExitButtonsEscapeAndCloseEndWithCancel)
{
    const struct {
        const char* name;
        std::function<void(SetupFixture&)> act;
    } cases[] = {
        {"Exit", [](SetupFixture& f) { f.machine.Click(*f.dlg, IDCANCEL); }},
        {"Exit on the advanced page",
         [](SetupFixture& f) {
             f.machine.Control(*f.dlg, IDC_BUTTON_EXIT2)->visible = true;
             f.machine.Click(*f.dlg, IDC_BUTTON_EXIT2);
         }},
        {"Escape", [](SetupFixture& f) { f.machine.PressKey(*f.dlg, IDOK, VK_ESCAPE); }},
        {"Enter on Exit", [](SetupFixture& f) { f.machine.PressKey(*f.dlg, IDCANCEL, VK_RETURN); }},
        {"close box", [](SetupFixture& f) { f.dlg->SendMessage(WM_CLOSE); f.machine.Pump(*f.dlg); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        c.act(*this);
        EXPECT_TRUE(dlg->IsEnded());
        EXPECT_EQ(dlg->Result(), IDCANCEL);
    }
}

TEST_F(EventRouting, InstallButtonNeverEndsTheDialog)
{
    machine.Click(*dlg, IDOK);
    machine.PressKey(*dlg, IDOK, VK_RETURN);
    EXPECT_FALSE(dlg->IsEnded());
}

TEST_F(EventRouting, EnterOnOpenFolderOpensThePrintersFolderAndStaysOpen)
{
    machine.PressKey(*dlg, IDC_BUTTON_OPENFOLDER, VK_RETURN);
    EXPECT_EQ(machine.startedPrograms, std::vector<std::string>{"control.exe printers"});
    EXPECT_FALSE(dlg->IsEnded());
    machine.Click(*dlg, IDC_BUTTON_OPENFOLDER);
    EXPECT_EQ(machine.startedPrograms.size(), 2u);
}

TEST_F(EventRouting, OnlyTheKeyDownOfEnterIsFiltered)
{
    WindowMessage keyUp = {dlg->GetDlgItem(IDC_BUTTON_OPENFOLDER), WM_KEYUP, VK_RETURN, 0};
    dlg->PreTranslateMessage(&keyUp);
    WindowMessage otherKey = {dlg->GetDlgItem(IDC_BUTTON_OPENFOLDER), WM_KEYDOWN, 'A', 0};
    dlg->PreTranslateMessage(&otherKey);
    EXPECT_TRUE(machine.startedPrograms.empty());
}

TEST_F(EventRouting, SeparatorItemsGoBackToThePrompt)
{
    for (int combo : {IDC_COMBO_DISK_OS, IDC_COMBO_COPY_OS}) {
        for (int index = 0; index < 9; ++index) {
            SCOPED_TRACE(testing::Message() << combo << " item " << index);
            machine.SelectItem(*dlg, combo, index);
            int expected = index == 1 || index == 5 ? 0 : index;
            EXPECT_EQ(machine.Control(*dlg, combo)->curSel, expected);
        }
    }
}

TEST_F(EventRouting, GroupBoxesAreDrawnInBlueAndNothingElse)
{
    const long blue = 0x00FD5460;
    for (int id : {IDC_GROUP_INSTALL, IDC_GROUP_DISKETTE, IDC_GROUP_COPY})
        EXPECT_EQ(machine.CtlColorText(*dlg, id), blue) << id;
    for (int id : {IDC_CHECK_DEFAULT, IDC_STATIC_OS, IDOK, IDC_EDIT_MODEL})
        EXPECT_EQ(machine.CtlColorText(*dlg, id), -1) << id;
}

TEST_F(EventRouting, AutoCheckBoxesTickThemselves)
{
    machine.Click(*dlg, IDC_CHECK_DEFAULT);
    EXPECT_EQ(dlg->m_checkDefault.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(dlg->m_checkOpenFolder.GetCheck(), BST_CHECKED);
}

}  // namespace
