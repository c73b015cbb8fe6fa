// The resource script's dialog: every control where the program and its
// users expect it, in tab order.
#include <gtest/gtest.h>

#include <set>

#include "platform/framework/Types.h"
#include "platform/sim/DialogTemplate.h"
#include "res/resource.h"

namespace {

struct Expected {
    int id;
    const char* className;
    const char* text;
    int x, y, width, height;
    bool visible;
    std::set<std::string> styles;  // besides WS_CHILD and the visibility
};

const Expected kControls[] = {
    {IDOK, "Button", "설     치", 43, 137, 59, 19, true, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDCANCEL, "Button", "종     료", 115, 137, 59, 19, true, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_BUTTON_OPENFOLDER, "Button", "프린터 폴더 열기", 43, 169, 58, 15, true, {"BS_PUSHBUTTON", "BS_MULTILINE", "WS_TABSTOP"}},
    {IDC_BUTTON_ADVANCED, "Button", "고     급", 117, 169, 54, 15, true, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_COMBO_DISK_OS, "ComboBox", "", 92, 22, 106, 92, false, {"CBS_DROPDOWNLIST", "WS_TABSTOP"}},
    {IDC_COMBO_DRIVE, "ComboBox", "", 92, 39, 48, 45, false, {"CBS_DROPDOWNLIST", "WS_TABSTOP"}},
    {IDC_BUTTON_MAKEDISK, "Button", "설치디스켓 만들기", 132, 61, 66, 14, false, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_COMBO_COPY_OS, "ComboBox", "", 91, 103, 106, 92, false, {"CBS_DROPDOWNLIST", "WS_TABSTOP"}},
    {IDC_BUTTON_BROWSE, "Button", "찾아보기", 163, 127, 33, 11, false, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_EDIT_FOLDER, "Edit", "", 19, 138, 177, 12, false, {"ES_LEFT", "ES_AUTOHSCROLL", "WS_BORDER", "WS_TABSTOP"}},
    {IDC_BUTTON_COPY, "Button", "복    사", 151, 159, 47, 13, false, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_BUTTON_BACK, "Button", "뒤     로", 98, 188, 48, 13, false, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_BUTTON_EXIT2, "Button", "종     료", 153, 188, 48, 13, false, {"BS_PUSHBUTTON", "WS_TABSTOP"}},
    {IDC_GROUP_COPY, "Button", "드라이버 파일 복사하기", 13, 90, 189, 86, false, {"BS_GROUPBOX"}},
    {IDC_STATIC_OS, "Static", "사용OS :", 26, 29, 31, 8, true, {"SS_LEFT", "WS_GROUP"}},
    {IDC_EDIT_OS, "Edit", "", 62, 29, 111, 12, true, {"ES_LEFT", "ES_READONLY", "ES_AUTOHSCROLL", "WS_TABSTOP"}},
    {IDC_STATIC_MODEL, "Static", "모델명  :", 26, 45, 28, 10, true, {"SS_LEFT", "WS_GROUP"}},
    {IDC_CHECK_DEFAULT, "Button", "기본 프린터로 설정", 18, 71, 176, 12, true, {"BS_AUTOCHECKBOX", "WS_TABSTOP"}},
    {IDC_CHECK_OPENFOLDER, "Button", "설치 완료 후 프린터 폴더 열기", 18, 87, 184, 12, true, {"BS_AUTOCHECKBOX", "WS_TABSTOP"}},
    {IDC_EDIT_MODEL, "Edit", "", 62, 45, 98, 12, true, {"ES_LEFT", "ES_READONLY", "ES_AUTOHSCROLL", "WS_TABSTOP"}},
    {IDC_PROGRESS, "msctls_progress32", "Progress1", 33, 109, 145, 12, false, {}},
    {IDC_GROUP_INSTALL, "Button", "프린터 드라이버 설치", 16, 15, 182, 45, true, {"BS_GROUPBOX"}},
    {IDC_GROUP_DISKETTE, "Button", "설치 디스켓 만들기", 13, 10, 189, 69, false, {"BS_GROUPBOX"}},
    {IDC_STATIC_DISK_OS, "Static", "설치할 PC의 OS종류", 20, 24, 69, 12, false, {"SS_LEFT", "WS_GROUP"}},
    {IDC_STATIC_DRIVE, "Static", "플로피 드라이브 선택", 20, 41, 71, 12, false, {"SS_LEFT", "WS_GROUP"}},
    {IDC_STATIC_FOLDER, "Static", "파일을 복사할 폴더", 21, 124, 118, 10, false, {"SS_LEFT", "WS_GROUP"}},
    {IDC_STATIC_COPY_OS, "Static", "파일 사용할 OS종류", 21, 105, 67, 11, false, {"SS_LEFT", "WS_GROUP"}},
};

TEST(DialogTemplate, EveryControlInTabOrderWithItsPlaceTextAndStyles)
{
    DialogTemplate dialog = ReadDialogTemplate(SETUP_RC_FILE, SETUP_RESOURCE_H, IDD_SETUP_DIALOG);
    ASSERT_EQ(dialog.controls.size(), std::size(kControls));
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const ControlTemplate& c = dialog.controls[i];
        const Expected& e = kControls[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1 << ", ID " << e.id);
        EXPECT_EQ(c.id, e.id);
        EXPECT_EQ(c.className, e.className);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.x, e.x);
        EXPECT_EQ(c.y, e.y);
        EXPECT_EQ(c.width, e.width);
        EXPECT_EQ(c.height, e.height);
        EXPECT_EQ(c.visible, e.visible);
        std::set<std::string> styles;
        for (const std::string& s : c.styles)
            if (s != "WS_CHILD" && s != "WS_VISIBLE" && s != "NOT WS_VISIBLE")
                styles.insert(s);
        EXPECT_EQ(styles, e.styles);
        EXPECT_TRUE(c.HasStyle("WS_CHILD"));
        EXPECT_FALSE(c.HasStyle("BS_DEFPUSHBUTTON"));  // Enter has its own meaning
    }
}

TEST(DialogTemplate, DialogFrameCaptionAndFont)
{
    DialogTemplate dialog = ReadDialogTemplate(SETUP_RC_FILE, SETUP_RESOURCE_H, IDD_SETUP_DIALOG);
    EXPECT_EQ(dialog.caption, "Printer Driver Setup");
    EXPECT_EQ(dialog.width, 215);
    EXPECT_EQ(dialog.height, 208);
    EXPECT_EQ(dialog.fontName, "굴림");
    EXPECT_EQ(dialog.fontSize, 9);
    EXPECT_EQ(std::set<std::string>(dialog.styles.begin(), dialog.styles.end()),
              (std::set<std::string>{"WS_POPUP", "WS_VISIBLE", "WS_CAPTION", "WS_SYSMENU", "DS_MODALFRAME", "DS_SETFONT"}));
    EXPECT_EQ(dialog.exStyles, std::vector<std::string>{"WS_EX_APPWINDOW"});
}

}  // namespace
