#include "PackageStaging.h"

#include "../env/OsDetection.h"

namespace {
struct SectionRow {
    int osClass;
    const char* korean;
    const char* english;
    int driverVersion;
};

const SectionRow kInstallSections[] = {
    {kOsClass9x, "Win98h", "Win98e", 0},
    {kOsClassNT4, "WinNTh", "WinNTe", 2},
    {kOsClassNT5, "Win2Kh", "Win2Ke", 3},
};

const char kUnpackFolderName[] = "TARNOsetup";
}  // namespace

InstallSection SelectInstallSection(int language, int osClass)
{
    for (const SectionRow& row : kInstallSections)
        if (row.osClass == osClass)
            return {language == kLanguageKorean ? row.korean : row.english, row.driverVersion};
    return {"", -1};
}

bool IsPackagePresent(Platform& platform, const char* packageRef)
{
    return packageRef && packageRef[0] && platform.files->CanOpenForReading(packageRef);
}

CString TrimExtension(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 1; --i)
        if (path.GetAt(i) == '.')
            return path.Left(i);
    return CString();
}

StageResult StagePackage(Platform& platform, const char* packageRef)
{
    StageResult result;
    CString tempFolder;
    if (!platform.system->GetTempPath(&tempFolder, &result.code)) {
        result.error = StageError::TempFolder;
        return result;
    }
    result.stagedPath = tempFolder + TrimExtension(packageRef) + ".exe";
    result.unpackFolder = tempFolder + kUnpackFolderName;

    // Never start a staged file this run did not write: a failed copy may
    // leave one from an earlier run.
    if (!platform.files->CopyFile(packageRef, result.stagedPath, &result.code)) {
        result.error = StageError::Copy;
        return result;
    }
    // Quoted: temporary folders such as "C:\Documents and Settings\..."
    // hold blanks. The package gets no arguments.
    CString commandLine = "\"" + result.stagedPath + "\"";
    DWORD exitCode = 0;
    if (!platform.processes->RunHiddenAndWait(commandLine, &exitCode, &result.code)) {
        result.error = StageError::Start;
        return result;
    }
    if (exitCode != 0) {
        result.error = StageError::PackageFailed;
        result.code = exitCode;
    }
    return result;
}

CString StageFailureMessage(const StageResult& result, const char* packageRef, int language)
{
    bool english = language == kLanguageEnglish;
    CString message;
    switch (result.error) {
    case StageError::None:
        break;
    case StageError::TempFolder:
        message.Format(english ? "Can't find the temporary folder (Error No. %d)."
                               : "임시 폴더를 찾을 수 없습니다. (오류 번호 %d)",
                       int(result.code));
        break;
    case StageError::Copy:
        message.Format(english ? "Can't copy the driver package %s into the temporary folder (Error No. %d)."
                               : "드라이버 패키지 %s 을(를) 임시 폴더에 복사할 수 없습니다. (오류 번호 %d)",
                       packageRef, int(result.code));
        break;
    case StageError::Start:
        message.Format(english ? "Can't start the driver package %s (Error No. %d)."
                               : "드라이버 패키지 %s 을(를) 실행할 수 없습니다. (오류 번호 %d)",
                       packageRef, int(result.code));
        break;
    case StageError::PackageFailed:
        message.Format(english ? "The driver package %s is damaged: it could not unpack its files (Exit Code %d)."
                               : "드라이버 패키지 %s 이(가) 손상되어 파일을 풀 수 없습니다. (종료 코드 %d)",
                       packageRef, int(result.code));
        break;
    }
    return message;
}
