// Staging a driver package: copying it into the temporary folder under an
// ".exe" name, running it hidden and waiting until it has unpacked its files
// into the unpack folder.
#pragma once

#include "../platform/framework/Platform.h"

// The section of SETUP.INI the install reads on this system, and the
// spooler's driver version that goes with it. An OS class outside the table
// gives the empty section and version -1.
struct InstallSection {
    const char* name;
    int driverVersion;
};
InstallSection SelectInstallSection(int language, int osClass);

// True when the package reference (a path as stored, relative to the
// current directory) can be opened for reading.
bool IsPackagePresent(Platform& platform, const char* packageRef);

// The text before the last '.' found at index 1 or later; empty when none.
CString TrimExtension(const CString& path);

enum class StageError {
    None,
    TempFolder,     // the temporary folder is unknown
    Copy,           // the package could not be copied there
    Start,          // the staged copy could not be started
    PackageFailed,  // it ran and reported a failure
};

struct StageResult {
    StageError error = StageError::None;
    DWORD code = 0;       // the system's error, or the package's exit code
    CString stagedPath;   // temporary folder + staged name
    CString unpackFolder; // temporary folder + "TARNOsetup"
    bool Succeeded() const { return error == StageError::None; }
};

// Stages the package and waits for it. The unpack folder may be read only
// when the result succeeded: otherwise it holds nothing of this package.
StageResult StagePackage(Platform& platform, const char* packageRef);

// The message a caller shows for a failed staging, in the user's language.
CString StageFailureMessage(const StageResult& result, const char* packageRef, int language);
