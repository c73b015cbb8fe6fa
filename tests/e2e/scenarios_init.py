"""Initialisation on the demo medium: the captions of both pages in both
languages, the window caption with the model name, the combo lists item by
item, normal and diskette mode, and the drive list."""
import os

from harness import Case

MODEL_EN = "Demo Laser 5100"
MODEL_KO = "데모 레이저 5100"

MAIN_PAGE_EN = [
    (1010, "Printer Driver Install"), (1004, "O    S"), (1005, "Model"),
    (1002, "Set as a Default Printer"), (1003, "Open a Printer folder after installed"),
    (1, "Install"), (2, "Exit"), (3, "Open Printer folder"), (4, "Advanced"),
]
ADVANCED_PAGE_EN = [
    (1012, "Make Install Diskette"), (1014, "Select  O S"), (1015, "Select Drive"), (1018, "Make Diskette"),
    (1013, "Copy Driver File"), (1025, "Select  O S"), (1019, "Folder files will be copied to"),
    (1021, "Browse"), (1022, "Copy"), (1023, "Back"), (1024, "Exit"),
]
MAIN_PAGE_KO = [
    (1010, "프린터 드라이버 설치"), (1004, "사용OS :"), (1005, "모델명  :"),
    (1002, "기본 프린터로 설정"), (1003, "설치 완료 후 프린터 폴더 열기"),
    (1, "설     치"), (2, "종     료"), (3, "프린터 폴더 열기"), (4, "고     급"),
]
ADVANCED_PAGE_KO = [
    (1012, "설치 디스켓 만들기"), (1014, "설치할 PC의 OS종류"), (1015, "플로피 드라이브 선택"),
    (1018, "설치디스켓 만들기"), (1013, "드라이버 파일 복사하기"), (1025, "파일 사용할 OS종류"),
    (1019, "파일을 복사할 폴더"), (1021, "찾아보기"), (1022, "복    사"), (1023, "뒤     로"), (1024, "종     료"),
]

OS_ITEMS = ["===========================", "한글 Windows 2000/XP/2003", "한글 Windows NT 4.0",
            "한글 Windows 95/98/ME", "", "영문 Windows 2000/XP/2003", "영문 Windows NT 4.0",
            "영문 Windows 95/98/ME"]
DISK_OS = ["설치할 OS를 선택하시오"] + OS_ITEMS
COPY_OS = ["사용할 OS를 선택하시오"] + OS_ITEMS


def combo_cp949(ctx, control):
    """A combo's items and selection. The program adds the Korean items as
    code page 949 bytes on every system, so they are read back as such."""
    a = ctx.ok("combo-items %d" % control)
    return [bytes.fromhex(h).decode("cp949", "backslashreplace") for h in a["items"]], a["selected"]


def expect_captions(ctx, table):
    faults = ["%d: %r, expected %r" % (i, ctx.text(i), t) for i, t in table if ctx.text(i) != t]
    if faults:
        ctx.fail("captions: " + "; ".join(faults))


def expect_lists(ctx, copy_items):
    ctx.expect("make-diskette OS list", combo_cp949(ctx, 1016), (DISK_OS, 0))
    ctx.expect("copy OS list", combo_cp949(ctx, 1026), (copy_items, 0))


def medium_in_language(main, advanced, title):
    def scenario(ctx):
        ctx.start()
        caption = ctx.dialog()
        ctx.expect("window caption", caption, title)
        expect_captions(ctx, main + advanced)
        ctx.expect("model field", ctx.text(1001), title.split("   ")[0])
        ctx.expect("default box", ctx.checked(1002), 1)
        ctx.expect("printer folder box", ctx.checked(1003), 1)
        expect_lists(ctx, COPY_OS)  # normal mode: all nine items
        ctx.screenshot("main-page-demo-medium-" + ctx.case.locale[:2])
        ctx.post_close()
    return scenario


def diskette_mode(ctx):
    """Started from a folder without MakeDisk.INI (an install diskette):
    the package named by FileName leaves one item in the copy list."""
    ctx.remove("MakeDisk.INI")
    ctx.write_ini("SETUP.INI", {"MODEL": {"ModelName": MODEL_KO, "EnglishModelName": MODEL_EN},
                                "OSforInstallDiskette": {"FileName": "Win2K.drv"}})
    ctx.start()
    ctx.dialog()
    expect_lists(ctx, ["영문 Windows 2000/XP/2003"])
    ctx.post_close()


def current_folder_decides(ctx):
    """The medium holds MakeDisk.INI, but the program starts with another
    current folder: it runs in diskette mode. A FileName differing only in
    letter case is not recognised, so the copy list keeps its nine items."""
    ctx.write_ini("SETUP.INI", {"MODEL": {"EnglishModelName": MODEL_EN},
                                "OSforInstallDiskette": {"FileName": "win2k.drv"}})
    elsewhere = os.path.join(os.path.dirname(ctx.medium), "elsewhere")
    os.makedirs(elsewhere, exist_ok=True)
    ctx.start(cwd=elsewhere)
    ctx.expect("window caption", ctx.dialog(), MODEL_EN + "   Printer Driver Install")
    expect_lists(ctx, COPY_OS)
    ctx.post_close()


def drive_list(ctx):
    """A: mapped as a floppy gives the single item "  Drive A:"; the default
    prefix has no removable drive and an empty list."""
    ctx.start()
    ctx.dialog()
    ctx.expect("drive list without a floppy", combo_cp949(ctx, 1017), ([], -1))
    ctx.post_close()
    ctx.exit_code()
    ctx.close()  # a new robot for the second start
    floppy = os.path.join(os.path.dirname(ctx.medium), "floppy-a")
    ctx.machine.map_floppy("a", floppy)
    try:
        ctx.start()
        ctx.dialog()
        ctx.expect("drive list with A: a floppy", combo_cp949(ctx, 1017), (["  Drive A:"], 0))
        ctx.post_close()
        ctx.exit_code()
    finally:
        ctx.machine.unmap_drive("a")


CASES = [
    Case("init: English captions of both pages, lists and caption on the demo medium",
         medium_in_language(MAIN_PAGE_EN, ADVANCED_PAGE_EN, MODEL_EN + "   Printer Driver Install"),
         locale="en_US.UTF-8"),
    Case("init: Korean captions of both pages, lists and caption on the demo medium",
         medium_in_language(MAIN_PAGE_KO, ADVANCED_PAGE_KO, MODEL_KO + "   프린터 드라이버 설치"),
         locale="ko_KR.UTF-8"),
    Case("init: diskette mode keeps the one OS item of FileName=Win2K.drv", diskette_mode, locale="ko_KR.UTF-8"),
    Case("init: the current folder, not the program's, decides diskette mode", current_folder_decides),
    Case("init: drive list from the removable drives A: and B:", drive_list),
]
