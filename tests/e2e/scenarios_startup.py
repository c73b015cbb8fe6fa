"""Start-up of the setup program: the template of its dialog, the detection
of the system and the language with their messages, the captions in both
languages and the ways the dialog ends."""
from harness import Case, IDCANCEL, IDNO, IDOK, VK_ESCAPE, VK_RETURN

# ------------------------------------------------------------ the template --

WS_TABSTOP, WS_GROUP, WS_BORDER, WS_VISIBLE, WS_CHILD = 0x10000, 0x20000, 0x800000, 0x10000000, 0x40000000
WS_EX_NOPARENTNOTIFY, WS_EX_CLIENTEDGE = 0x4, 0x200
ES_AUTOHSCROLL, ES_READONLY = 0x80, 0x800
BS_MULTILINE = 0x2000
PUSH, CHECK, GROUP = ("Button", 0x0), ("Button", 0x3), ("Button", 0x7)
DROPLIST, EDIT, LTEXT, PROGRESS = ("ComboBox", 0x3), ("Edit", 0x0), ("Static", 0x0), ("msctls_progress32", 0x0)

# The dialog's 27 controls in tab order: ID, name, kind (class and type
# style), Korean template text, position and size in dialog units, shown at
# start, further styles.
TEMPLATE = [
    (   1, 'IDOK',              PUSH,     '설     치',                           (43, 137, 59, 19), True, WS_TABSTOP),
    (   2, 'IDCANCEL',          PUSH,     '종     료',                           (115, 137, 59, 19), True, WS_TABSTOP),
    (   3, 'IDC_BUTTON_OPENFOLDER', PUSH,     '프린터 폴더 열기',                         (43, 169, 58, 15), True, BS_MULTILINE|WS_TABSTOP),
    (   4, 'IDC_BUTTON_ADVANCED', PUSH,     '고     급',                           (117, 169, 54, 15), True, WS_TABSTOP),
    (1016, 'IDC_COMBO_DISK_OS', DROPLIST, '',                                  (92, 22, 106, 92), False, WS_TABSTOP),
    (1017, 'IDC_COMBO_DRIVE',   DROPLIST, '',                                  (92, 39, 48, 45), False, WS_TABSTOP),
    (1018, 'IDC_BUTTON_MAKEDISK', PUSH,     '설치디스켓 만들기',                         (132, 61, 66, 14), False, WS_TABSTOP),
    (1026, 'IDC_COMBO_COPY_OS', DROPLIST, '',                                  (91, 103, 106, 92), False, WS_TABSTOP),
    (1021, 'IDC_BUTTON_BROWSE', PUSH,     '찾아보기',                              (163, 127, 33, 11), False, WS_TABSTOP),
    (1020, 'IDC_EDIT_FOLDER',   EDIT,     '',                                  (19, 138, 177, 12), False, ES_AUTOHSCROLL|WS_BORDER|WS_TABSTOP),
    (1022, 'IDC_BUTTON_COPY',   PUSH,     '복    사',                            (151, 159, 47, 13), False, WS_TABSTOP),
    (1023, 'IDC_BUTTON_BACK',   PUSH,     '뒤     로',                           (98, 188, 48, 13), False, WS_TABSTOP),
    (1024, 'IDC_BUTTON_EXIT2',  PUSH,     '종     료',                           (153, 188, 48, 13), False, WS_TABSTOP),
    (1013, 'IDC_GROUP_COPY',    GROUP,    '드라이버 파일 복사하기',                      (13, 90, 189, 86), False, 0),
    (1004, 'IDC_STATIC_OS',     LTEXT,    '사용OS :',                            (26, 29, 31, 8), True, WS_GROUP),
    (1000, 'IDC_EDIT_OS',       EDIT,     '',                                  (62, 29, 111, 12), True, ES_READONLY|ES_AUTOHSCROLL|WS_TABSTOP),
    (1005, 'IDC_STATIC_MODEL',  LTEXT,    '모델명  :',                            (26, 45, 28, 10), True, WS_GROUP),
    (1002, 'IDC_CHECK_DEFAULT', CHECK,    '기본 프린터로 설정',                        (18, 71, 176, 12), True, WS_TABSTOP),
    (1003, 'IDC_CHECK_OPENFOLDER', CHECK,    '설치 완료 후 프린터 폴더 열기',                 (18, 87, 184, 12), True, WS_TABSTOP),
    (1001, 'IDC_EDIT_MODEL',    EDIT,     '',                                  (62, 45, 98, 12), True, ES_READONLY|ES_AUTOHSCROLL|WS_TABSTOP),
    (1007, 'IDC_PROGRESS',      PROGRESS, 'Progress1',                         (33, 109, 145, 12), False, 0),
    (1010, 'IDC_GROUP_INSTALL', GROUP,    '프린터 드라이버 설치',                       (16, 15, 182, 45), True, 0),
    (1012, 'IDC_GROUP_DISKETTE', GROUP,    '설치 디스켓 만들기',                        (13, 10, 189, 69), False, 0),
    (1014, 'IDC_STATIC_DISK_OS', LTEXT,    '설치할 PC의 OS종류',                      (20, 24, 69, 12), False, WS_GROUP),
    (1015, 'IDC_STATIC_DRIVE',  LTEXT,    '플로피 드라이브 선택',                       (20, 41, 71, 12), False, WS_GROUP),
    (1019, 'IDC_STATIC_FOLDER', LTEXT,    '파일을 복사할 폴더',                        (21, 124, 118, 10), False, WS_GROUP),
    (1025, 'IDC_STATIC_COPY_OS', LTEXT,    '파일 사용할 OS종류',                       (21, 105, 67, 11), False, WS_GROUP),
]

DIALOG_FONT = (9, "굴림")
TEMPLATE_CAPTION = "Printer Driver Setup"
GROUP_TEXT_RGB = 0x6054FD  # red 96, green 84, blue 253


def muldiv(a, b, c):
    return (a * b + c // 2) // c


def template_faults(dump, decode, korean_texts):
    """Compares the robot's dump of the dialog's children with TEMPLATE; returns
    one line per difference.  Wine keeps a control's styles as the template
    gives them, with two changes of its own: every control of a dialog gets
    WS_EX_NOPARENTNOTIFY, and an edit's WS_BORDER becomes WS_EX_CLIENTEDGE."""
    faults = []
    seen = dump["controls"]
    ids = [c["id"] for c in seen]
    want = [row[0] for row in TEMPLATE]
    if ids != want:
        faults.append("tab (z) order: expected %s, seen %s" % (want, ids))
    bx, by = dump["base_x"], dump["base_y"]
    by_id = {c["id"]: c for c in seen}
    for ident, name, (cls, kind), text, (x, y, w, h), shown, extra in TEMPLATE:
        c = by_id.get(ident)
        where = "%s (%d)" % (name, ident)
        if c is None:
            faults.append("%s: missing" % where)
            continue
        if c["class"].lower() != cls.lower():
            faults.append("%s: class %s, expected %s" % (where, c["class"], cls))
        style = WS_CHILD | kind | extra
        exstyle = 0
        if cls == "Edit" and style & WS_BORDER:
            style &= ~WS_BORDER
            exstyle = WS_EX_CLIENTEDGE
        got_style = c["style"] & ~WS_VISIBLE
        if got_style != style:
            faults.append("%s: style 0x%08x, expected 0x%08x" % (where, got_style, style))
        got_ex = c["exstyle"] & ~WS_EX_NOPARENTNOTIFY
        if got_ex != exstyle:
            faults.append("%s: extended style 0x%x, expected 0x%x" % (where, got_ex, exstyle))
        if c["visible"] != shown:
            faults.append("%s: %s at start, expected %s" % (where, "shown" if c["visible"] else "hidden",
                                                            "shown" if shown else "hidden"))
        px = [muldiv(x, bx, 4), muldiv(y, by, 8), muldiv(w, bx, 4), muldiv(h, by, 8)]
        got = c["px"]
        # A drop-down list's window is its closed height; the template's
        # height is that of the dropped list.
        n = 3 if cls == "ComboBox" else 4
        if got[:n] != px[:n]:
            faults.append("%s: at %s pixels (about %s units), expected %s units = %s pixels" % (
                where, got[:n], units(got, bx, by)[:n], [x, y, w, h][:n], px[:n]))
        if korean_texts and cls in ("Button", "Static", "msctls_progress32"):
            seen_text = decode(c["hex"])
            if seen_text != text:
                faults.append("%s: text %r, expected %r" % (where, seen_text, text))
    return faults


def units(px, bx, by):
    return [round(px[0] * 4 / bx), round(px[1] * 8 / by), round(px[2] * 4 / bx), round(px[3] * 8 / by)]


# ------------------------------------------------------- system detection --

OS_UNSUPPORTED = "Not supported OS version"
LANG_UNSUPPORTED = "Not supported language system"

# Wine's version name, the OS field's text, and whether the system is refused.
SYSTEMS = [
    ("win95", "Windows 95", False),
    ("win98", "Windows 98SE", False),  # Wine reports the CSD " A "
    ("winme", "Windows ME", False),
    ("nt40", "Windows NT 4.0", False),
    ("win2k", "Windows 2000", False),
    ("winxp", "Windows XP", False),
    ("win2003", "Windows 2003", False),
    ("nt351", OS_UNSUPPORTED, True),
    ("win7", "", False),  # newer than every rule: empty field, no message
]

TITLES = {"en_US.UTF-8": "   Printer Driver Install", "ko_KR.UTF-8": "   프린터 드라이버 설치"}


def expect_rejection(ctx, box, text, caption="Install"):
    """A refusal: the exact text, the application's name as caption, one OK
    button, no icon, owned by the dialog."""
    problems = []
    if box.text != text:
        problems.append("text %r, expected %r" % (box.text, text))
    if box.caption != caption:
        problems.append("caption %r, expected %r" % (box.caption, caption))
    if box.button_ids != [IDOK]:
        problems.append("buttons %r, expected one OK" % (box.buttons,))
    if box.icon != "none":
        problems.append("icon %s, expected none" % box.icon)
    if box.owner != "dialog":
        problems.append("owner %s, expected the dialog" % box.owner)
    if problems:
        ctx.fail("message box: " + "; ".join(problems))


def expect_closes(ctx, what):
    code = ctx.exit_code(15000)
    if code is None:
        extra = ctx.cmd("wait-box 200")
        if extra.get("ok"):
            ctx.fail("%s: the program stays open, another box shows: %r" % (what, ctx.box(100)))
        ctx.fail("%s: the dialog did not close" % what)


def expect_stays_open(ctx, what):
    if ctx.exit_code(1500) is not None:
        ctx.fail("%s: the program ended" % what)
    ctx.caption()  # the dialog still answers


def detection_case(version, field, refused):
    def scenario(ctx):
        ctx.start()
        if refused:
            expect_rejection(ctx, ctx.box(), OS_UNSUPPORTED)
            ctx.answer(IDOK)
            # Initialisation runs to its end before the dialog closes.
            ctx.expect("OS field", ctx.init_state()["controls"][1000]["text"], field)
            expect_closes(ctx, "after the refusal")
            return
        caption = ctx.dialog()
        ctx.expect("OS field", ctx.text(1000), field)
        title = TITLES[ctx.case.locale]
        ctx.expect("window caption", caption, ctx.text(1001) + title)
        expect_stays_open(ctx, "a served system")
        ctx.post_close()
        expect_closes(ctx, "WM_CLOSE")
    return scenario


def unsupported_language(ctx):
    """Japanese: refused with the language message; the captions stay those
    of the Korean template.  Code page 932 has no Hangul, so a dialog made
    through the ANSI calls holds them with '?' for each Korean letter; a
    Unicode dialog holds them whole.  Either is the template's caption."""
    ctx.start()
    expect_rejection(ctx, ctx.box(), LANG_UNSUPPORTED)
    ctx.answer(IDOK)
    state = ctx.init_state()["controls"]
    ctx.expect("OS field", state[1000]["wtext"], "Windows XP")
    faults = []
    for ident, _name, _kind, text, _rect, _shown, _extra in TEMPLATE:
        if text and ident != 1007:
            kept = (text, text.encode("cp932", "replace").decode("cp932"))
            if state[ident]["wtext"] not in kept:
                faults.append("caption of %d: %r, expected the template's %r" % (ident, state[ident]["wtext"], text))
    if faults:
        ctx.fail("; ".join(faults))
    expect_closes(ctx, "after the refusal")


def both_refused(ctx):
    """NT 3.x on a Japanese system: the system message first, then the language."""
    ctx.start()
    expect_rejection(ctx, ctx.box(), OS_UNSUPPORTED)
    ctx.answer(IDOK)
    expect_rejection(ctx, ctx.box(), LANG_UNSUPPORTED)
    ctx.answer(IDOK)
    ctx.expect("OS field", ctx.init_state()["controls"][1000]["wtext"], OS_UNSUPPORTED)
    expect_closes(ctx, "after two refusals")


def british_english(ctx):
    """Any English sublanguage (here 0x0809) counts as English."""
    ctx.start()
    caption = ctx.dialog()
    ctx.expect("window caption", caption, ctx.text(1001) + TITLES["en_US.UTF-8"])
    ctx.expect("Install button", ctx.text(IDOK), "Install")
    ctx.expect("OS field", ctx.text(1000), "Windows XP")
    ctx.post_close()
    expect_closes(ctx, "WM_CLOSE")


def renamed_copy(ctx):
    """The application's name, and so the boxes' caption, is the file name."""
    ctx.start()
    expect_rejection(ctx, ctx.box(), OS_UNSUPPORTED, caption="SetupKit")
    ctx.answer(IDOK)
    expect_closes(ctx, "after the refusal")


# -------------------------------------------------------------- the dialog --

ENGLISH_CAPTIONS = [
    (1010, "Printer Driver Install"),
    (1004, "O    S"),
    (1005, "Model"),
    (1002, "Set as a Default Printer"),
    (1003, "Open a Printer folder after installed"),
    (IDOK, "Install"),
    (IDCANCEL, "Exit"),
    (3, "Open Printer folder"),
    (4, "Advanced"),
    # the advanced page, hidden but captioned at start
    (1012, "Make Install Diskette"),
    (1014, "Select  O S"),
    (1015, "Select Drive"),
    (1018, "Make Diskette"),
    (1013, "Copy Driver File"),
    (1025, "Select  O S"),
    (1019, "Folder files will be copied to"),
    (1021, "Browse"),
    (1022, "Copy"),
    (1023, "Back"),
    (1024, "Exit"),
]


def main_page(ctx):
    """The dialog as it first shows: template, captions, check boxes, caption."""
    korean = ctx.case.locale.startswith("ko")
    ctx.start()
    caption = ctx.dialog()
    faults = []
    if caption == TEMPLATE_CAPTION:
        faults.append("the template caption %r stayed" % caption)
    model = ctx.init_state()["controls"][1001]["text"]
    if caption != model + TITLES[ctx.case.locale]:
        faults.append("window caption %r, expected %r" % (caption, model + TITLES[ctx.case.locale]))
    ctx.ok("font %d %s" % (DIALOG_FONT[0], DIALOG_FONT[1].encode("utf-8").hex()))
    dump = ctx.controls()
    faults += template_faults(dump, ctx.decode, korean)
    if not korean:
        texts = {c["id"]: ctx.decode(c["hex"]) for c in dump["controls"]}
        for ident, text in ENGLISH_CAPTIONS:
            if texts.get(ident, text) != text:
                faults.append("caption of %d: %r, expected %r" % (ident, texts[ident], text))
    for box in (1002, 1003):
        if ctx.checked(box) != 1:
            faults.append("check box %d is not ticked" % box)
    # The install group's caption is drawn in the strong blue; the check
    # boxes and labels keep the system's text colour.
    for ident, blue in ((1010, True), (1002, False), (1004, False), (IDOK, False)):
        count = ctx.ok("colour-count %d %06x" % (ident, GROUP_TEXT_RGB))["count"]
        if (count > 0) != blue:
            faults.append("control %d: %d pixels of the group-box blue, expected %s" % (
                ident, count, "some" if blue else "none"))
    ctx.screenshot("main-page-%s" % ("ko" if korean else "en"))
    if faults:
        ctx.fail("%d differences:\n      " % len(faults) + "\n      ".join(faults))


def ends_by(action, ending):
    def scenario(ctx):
        ctx.start()
        ctx.dialog()
        action(ctx)
        if ending:
            expect_closes(ctx, "the dialog")
        else:
            expect_stays_open(ctx, "the dialog")
    return scenario


def press_install(ctx):
    """Install never ends the dialog; whatever it asks is declined.  The
    boxes are unticked first, so no Printers folder opens and the default
    printer stays."""
    ctx.ok("set-check 1002 0")
    ctx.ok("set-check 1003 0")
    ctx.command(IDOK)
    for _ in range(5):
        if ctx.exit_code(1500) is not None:
            ctx.fail("Install ended the program")
        answer = ctx.cmd("wait-box 1000")
        if not answer.get("ok"):
            break
        box = ctx.box(100)
        ctx.log("    Install showed %r" % box)
        ctx.answer(IDNO if IDNO in box.button_ids else IDCANCEL if IDCANCEL in box.button_ids
                   else box.button_ids[0])


CLOSINGS = [
    ("escape", lambda ctx: ctx.key(IDOK, VK_ESCAPE), True),
    ("exit-button", lambda ctx: ctx.command(IDCANCEL), True),
    ("wm-close", lambda ctx: ctx.post_close(), True),
    ("close-box", lambda ctx: ctx.ok("post-syscommand %d" % 0xF060), True),
    ("alt-f4", lambda ctx: ctx.ok("syskey %d %d" % (IDOK, 0x73)), True),
    ("enter-on-exit", lambda ctx: ctx.key(IDCANCEL, VK_RETURN), True),
    ("install-stays", press_install, False),
]


CASES = []
for _locale, _tag in (("en_US.UTF-8", "en"), ("ko_KR.UTF-8", "ko")):
    for _version, _field, _refused in SYSTEMS:
        CASES.append(Case("startup/os/%s/%s" % (_version, _tag), detection_case(_version, _field, _refused),
                          locale=_locale, version=_version))
    CASES.append(Case("startup/main-page/%s" % _tag, main_page, locale=_locale))
CASES += [
    Case("startup/language/ja", unsupported_language, locale="ja_JP.UTF-8"),
    Case("startup/language/ja+nt351", both_refused, locale="ja_JP.UTF-8", version="nt351"),
    Case("startup/language/en_GB", british_english, locale="en_GB.UTF-8"),
    Case("startup/renamed-copy", renamed_copy, version="nt351", exe_name="SetupKit.exe"),
]
for _name, _action, _ends in CLOSINGS:
    CASES.append(Case("startup/close/%s" % _name, ends_by(_action, _ends)))
