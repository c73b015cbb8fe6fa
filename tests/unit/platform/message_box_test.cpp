// The two kinds of message box and their captions and icons.
#include "SetupFixture.h"

namespace {

TEST(MessageBoxStyle, ExclamationJoinsPlainBoxesOfTheUsualButtons)
{
    const struct {
        UINT type;
        UINT shown;
    } cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},
        {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONEXCLAMATION},
        {MB_RETRYCANCEL, MB_RETRYCANCEL},
        {MB_ABORTRETRYIGNORE, MB_ABORTRETRYIGNORE},
        {MB_YESNO | MB_ICONQUESTION, MB_YESNO | MB_ICONQUESTION},
        {MB_OK | MB_ICONHAND, MB_OK | MB_ICONHAND},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AppMessageBoxStyle(c.type), c.shown) << c.type;
}

class MessageBoxes : public SetupFixture {};

TEST_F(MessageBoxes, ApplicationBoxAndDialogBoxCaptionsAndOwner)
{
    machine.modulePath = "E:\\kit\\Setup2.exe";
    CSetupDlg& d = Start();
    EXPECT_EQ(AfxMessageBox("Driver dosen't match your OS version.", MB_OK), IDOK);
    machine.boxAnswers = {IDNO};
    EXPECT_EQ(d.MessageBox("question", "Model X", MB_YESNO | MB_ICONQUESTION), IDNO);
    d.MessageBox("plain");

    ASSERT_EQ(machine.messageBoxes.size(), 3u);
    const MessageBoxRecord& app = machine.messageBoxes[0];
    EXPECT_EQ(app.caption, "Setup2");
    EXPECT_EQ(app.type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(app.owner, d.m_hWnd);
    EXPECT_EQ(machine.messageBoxes[1].caption, "Model X");
    EXPECT_EQ(machine.messageBoxes[1].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(machine.messageBoxes[2].caption, "Setup2");
    EXPECT_EQ(machine.messageBoxes[2].type, UINT(MB_OK));
}

}  // namespace
