// Which system and language the program runs on, decided from the system's
// version record and default language. Plain data in, plain data out.
#pragma once

#include "../platform/framework/Platform.h"

// OS codes: tens digit the family (1: Windows 95 family, 2: NT up to 4.0,
// 3: NT 5.x), units digit the release. 0 is outside every table: a system
// that matches no rule keeps it.
enum OsCode {
    kOsCodeNone = 0,
    kOsCodeUnsupportedPlatform = 11,
    kOsCodeWin95 = 12,
    kOsCodeWin98 = 13,
    kOsCodeWin98SE = 14,
    kOsCodeWinME = 15,
    kOsCodeNT4 = 21,
    kOsCodeNT3 = 22,
    kOsCodeWin2000 = 31,
    kOsCodeWinXP = 32,
    kOsCode2003 = 33,
};

// OS classes: what the install chooses its package and driver version by.
enum OsClass {
    kOsClassNone = 0,
    kOsClass9x = 150,
    kOsClassNT4 = 151,
    kOsClassNT5 = 152,
};

enum Language {
    kLanguageEnglish = 9,
    kLanguageKorean = 18,
};

// The code of the first rule the record matches, or kOsCodeNone.
int OsCodeFromVersion(const OsVersionInfo& version);
// The text the OS field shows for a code, or nullptr to leave it alone.
const char* OsLabel(int osCode);
// The class of a code, or kOsClassNone to leave the class alone.
int OsClassOf(int osCode);
// Codes 11 and 22: systems the program refuses to run on.
bool IsUnsupportedOs(int osCode);

// The primary language of a language identifier (its low 10 bits).
int PrimaryLanguage(uint16_t langId);
// English and Korean systems are served; every other language is refused.
bool IsServedLanguage(int language);

extern const char kMsgUnsupportedOs[];
extern const char kMsgUnsupportedLanguage[];
