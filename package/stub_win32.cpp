// The package stub: a windowless Windows program that unpacks the payload
// appended to its own file into %TEMP%\TARNOsetup.
//
// It is built without the C runtime's start-up code and imports only
// KERNEL32 and msvcrt. Exit code 0 means every file was written; any other
// code is a pkg::Status and means nothing was written outside the unpack
// folder (the whole payload is checked before the first write).
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "pkgunpack.h"

namespace {

#ifndef FILE_ATTRIBUTE_REPARSE_POINT
#define FILE_ATTRIBUTE_REPARSE_POINT 0x400
#endif

const DWORD kNoAttributes = 0xFFFFFFFFu;

char* Join(const char* a, const char* b) {
  size_t la = strlen(a), lb = strlen(b);
  char* s = (char*)malloc(la + 1 + lb + 1);
  if (!s) return NULL;
  memcpy(s, a, la);
  s[la] = '\\';
  memcpy(s + la + 1, b, lb + 1);
  return s;
}

// Removes everything inside dir. Links (reparse points) are removed as
// links; their targets are never entered.
bool ClearFolder(const char* dir) {
  char* pattern = Join(dir, "*");
  if (!pattern) return false;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern, &fd);
  free(pattern);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  bool ok = true;
  do {
    const char* n = fd.cFileName;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    char* child = Join(dir, n);
    if (!child) {
      ok = false;
      break;
    }
    SetFileAttributesA(child, FILE_ATTRIBUTE_NORMAL);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !ClearFolder(child))
        ok = false;
      if (!RemoveDirectoryA(child)) ok = false;
    } else if (!DeleteFileA(child)) {
      ok = false;
    }
    free(child);
  } while (ok && FindNextFileA(h, &fd));
  FindClose(h);
  return ok;
}

bool EmptyDir(void*, const char* dir) {
  DWORD a = GetFileAttributesA(dir);
  if (a != kNoAttributes) {
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
      SetFileAttributesA(dir, FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(dir)) return false;
    } else if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
      if (!RemoveDirectoryA(dir)) return false;  // the link, not its target
    } else {
      return ClearFolder(dir);
    }
  }
  return CreateDirectoryA(dir, NULL) != 0;
}

bool MakeDir(void*, const char* path) {
  if (CreateDirectoryA(path, NULL)) return true;
  DWORD a = GetFileAttributesA(path);
  return a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY) &&
         !(a & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool WriteWholeFile(void*, const char* path, const void* data, size_t size) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  const char* p = (const char*)data;
  bool ok = true;
  while (ok && size > 0) {
    DWORD chunk = size > (1u << 20) ? (1u << 20) : (DWORD)size, done = 0;
    ok = WriteFile(h, p, chunk, &done, NULL) && done == chunk;
    p += chunk;
    size -= chunk;
  }
  return CloseHandle(h) && ok;
}

// The full path of this program, however long.
char* ModulePath() {
  for (DWORD cap = MAX_PATH;; cap *= 2) {
    char* buf = (char*)malloc(cap);
    if (!buf) return NULL;
    DWORD n = GetModuleFileNameA(NULL, buf, cap);
    if (n > 0 && n < cap - 1) return buf;
    free(buf);
    if (n == 0 || cap > 65536) return NULL;
  }
}

// %TEMP%\TARNOsetup, the temporary folder taken whole.
char* UnpackFolder() {
  DWORD need = GetTempPathA(0, NULL);
  if (need == 0) return NULL;
  char* tmp = (char*)malloc(need + 1);
  if (!tmp) return NULL;
  DWORD n = GetTempPathA(need + 1, tmp);
  char* dir = NULL;
  if (n > 0 && n <= need) {
    if (tmp[n - 1] == '\\') tmp[n - 1] = '\0';
    dir = Join(tmp, "TARNOsetup");
  }
  free(tmp);
  return dir;
}

int Run() {
  char* self = ModulePath();
  if (!self) return pkg::kErrSelf;
  HANDLE f = CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, NULL);
  free(self);
  if (f == INVALID_HANDLE_VALUE) return pkg::kErrSelf;
  DWORD size = GetFileSize(f, NULL);
  HANDLE m = size == INVALID_FILE_SIZE || size == 0
                 ? NULL
                 : CreateFileMappingA(f, NULL, PAGE_READONLY, 0, 0, NULL);
  const uint8_t* image = m ? (const uint8_t*)MapViewOfFile(m, FILE_MAP_READ, 0, 0, 0) : NULL;
  int rc = pkg::kErrSelf;
  if (image) {
    const uint8_t* payload;
    size_t payload_size;
    rc = pkg::FindPayload(image, size, &payload, &payload_size);
    if (rc == pkg::kOk) {
      char* dest = UnpackFolder();
      if (!dest) {
        rc = pkg::kErrTemp;
      } else {
        pkg::FileSystem fs = {'\\', EmptyDir, MakeDir, WriteWholeFile, NULL};
        rc = pkg::Unpack(payload, payload_size, dest, &fs);
        free(dest);
      }
    }
    UnmapViewOfFile(image);
  }
  if (m) CloseHandle(m);
  CloseHandle(f);
  return rc;
}

}  // namespace

// Entry point (no C runtime start-up code; see the link flags).
extern "C" void StubEntry() { ExitProcess((UINT)Run()); }
