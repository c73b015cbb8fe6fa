// libFuzzer target for the driver package reader.
//
// The input is tried both as a whole package file (trailer search) and as a
// bare payload. A payload the reader accepts is unpacked into a file system
// that only records paths, and every path it is handed must stay inside the
// unpack folder: the fuzzer hunts for escapes, not only for crashes.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "pkgformat.h"
#include "pkgunpack.h"

namespace {

const char kDest[] = "C:\\T\\TARNOsetup";

[[noreturn]] void Escape(const char* what, const char* path) {
  fprintf(stderr, "unpack path escapes the unpack folder (%s): %s\n", what, path);
  abort();
}

// Every path below kDest, each component plain: no "", ".", "..", no colon.
void CheckInside(const char* path, const char* what) {
  size_t n = strlen(kDest);
  if (strncmp(path, kDest, n) != 0) Escape(what, path);
  if (path[n] == '\0') return;
  if (path[n] != '\\') Escape(what, path);
  const char* c = path + n + 1;
  for (;;) {
    const char* end = strchr(c, '\\');
    size_t len = end ? (size_t)(end - c) : strlen(c);
    if (len == 0 || (len == 1 && c[0] == '.') || (len == 2 && c[0] == '.' && c[1] == '.'))
      Escape(what, path);
    if (memchr(c, ':', len) || memchr(c, '/', len)) Escape(what, path);
    if (!end) break;
    c = end + 1;
  }
}

bool EmptyDir(void*, const char* dir) {
  if (strcmp(dir, kDest) != 0) Escape("empty", dir);
  return true;
}
bool MakeDir(void*, const char* p) {
  CheckInside(p, "folder");
  return true;
}
bool WriteFile(void*, const char* p, const void* data, size_t size) {
  CheckInside(p, "file");
  if (size) {
    volatile uint8_t last = ((const uint8_t*)data)[size - 1];  // readable
    (void)last;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* payload;
  size_t payload_size;
  pkg::FileSystem fs = {'\\', EmptyDir, MakeDir, WriteFile, nullptr};
  if (pkg::FindPayload(data, size, &payload, &payload_size) == pkg::kOk)
    pkg::Unpack(payload, payload_size, kDest, &fs);
  pkg::Unpack(data, size, kDest, &fs);
  return 0;
}
