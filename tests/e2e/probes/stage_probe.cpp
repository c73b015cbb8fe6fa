// Stages a driver package with the setup program's own staging code and the
// real system calls, then lists the unpack folder at once: whatever the
// package had not written by the time staging returned is missing here.
//   stage_probe.exe <package reference> [en|ko]
// Prints: "result ok" or "result failed <kind> <code>", "message <text>",
// "staged <path>", "unpack <path>", then "file <relative path> <size> <crc32>"
// for every file under the unpack folder.
#include <windows.h>

#include <stdio.h>

#include "env/OsDetection.h"
#include "install/PackageStaging.h"
#include "platform/win32/Win32Platform.h"

namespace {

unsigned long Crc32(const unsigned char* data, DWORD size, unsigned long crc)
{
    crc = ~crc;
    for (DWORD i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320UL & (0UL - (crc & 1)));
    }
    return ~crc;
}

void ListFiles(const CString& root, const CString& relative)
{
    CString pattern = root + (relative.IsEmpty() ? CString() : "\\" + relative) + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        CString name(found.cFileName);
        if (name == "." || name == "..")
            continue;
        CString path = relative.IsEmpty() ? name : relative + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListFiles(root, path);
            continue;
        }
        HANDLE file = CreateFileA(root + "\\" + path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        unsigned long crc = 0, size = 0;
        if (file != INVALID_HANDLE_VALUE) {
            static unsigned char buffer[65536];
            DWORD got = 0;
            while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) {
                crc = Crc32(buffer, got, crc);
                size += got;
            }
            CloseHandle(file);
        }
        printf("file %s %lu %08lx\n", path.c_str(), size, crc);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

const char* KindName(StageError error)
{
    switch (error) {
    case StageError::None: return "none";
    case StageError::TempFolder: return "temp-folder";
    case StageError::Copy: return "copy";
    case StageError::Start: return "start";
    case StageError::PackageFailed: return "package-failed";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: stage_probe.exe <package reference> [en|ko]\n");
        return 2;
    }
    int language = argc > 2 && argv[2][0] == 'k' ? kLanguageKorean : kLanguageEnglish;
    Win32Platform platform;
    StageResult result = StagePackage(platform, argv[1]);
    if (result.Succeeded())
        printf("result ok\n");
    else
        printf("result failed %s %lu\n", KindName(result.error), (unsigned long)result.code);
    printf("message %s\n", StageFailureMessage(result, argv[1], language).c_str());
    printf("staged %s\n", result.stagedPath.c_str());
    printf("unpack %s\n", result.unpackFolder.c_str());
    ListFiles(result.unpackFolder, CString());
    fflush(stdout);
    return 0;
}
