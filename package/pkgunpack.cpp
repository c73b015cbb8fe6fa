// Unpacking a driver package payload into a folder (see pkgunpack.h).
#include "pkgunpack.h"

#include <stdlib.h>
#include <string.h>

namespace pkg {

Status ExtractAll(const Reader* r, uint8_t** out) {
  *out = NULL;
  uint8_t* buf = (uint8_t*)malloc(r->total_size ? r->total_size : 1);
  if (!buf) return kErrMemory;
  size_t pos = 0, off = 0;
  Entry e;
  for (uint32_t i = 0; i < r->count; ++i) {
    pos = EntryAt(r, pos, &e);
    Status s = Extract(&e, buf + off);
    if (s != kOk) {
      free(buf);
      return s;
    }
    off += e.size;
  }
  *out = buf;
  return kOk;
}

Status Unpack(const uint8_t* payload, size_t payload_size, const char* dest,
              const FileSystem* fs) {
  Reader r;
  Status s = Open(&r, payload, payload_size);
  if (s != kOk) return s;
  uint8_t* files;
  s = ExtractAll(&r, &files);
  if (s != kOk) return s;

  // Everything checked; from here on only the file system can fail.
  size_t dest_len = strlen(dest);
  char* path = (char*)malloc(dest_len + 1 + kMaxNameLength + 1);
  if (!path) {
    free(files);
    return kErrMemory;
  }
  memcpy(path, dest, dest_len);
  path[dest_len] = '\0';
  if (!fs->empty_dir(fs->ctx, path)) s = kErrIo;

  size_t pos = 0, off = 0;
  Entry e;
  for (uint32_t i = 0; s == kOk && i < r.count; ++i) {
    pos = EntryAt(&r, pos, &e);
    char* name = path + dest_len + 1;
    path[dest_len] = fs->sep;
    for (uint32_t k = 0; k < e.name_len; ++k) {
      char c = e.name[k];
      if (c == '/' || c == '\\') {
        name[k] = '\0';  // each folder on the way, outermost first
        if (!fs->make_dir(fs->ctx, path)) {
          s = kErrIo;
          break;
        }
        c = fs->sep;
      }
      name[k] = c;
    }
    name[e.name_len] = '\0';
    if (s == kOk && !fs->write_file(fs->ctx, path, files + off, e.size))
      s = kErrIo;
    off += e.size;
  }
  free(path);
  free(files);
  return s;
}

}  // namespace pkg
