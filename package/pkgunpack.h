// Unpacking a driver package payload into a folder.
//
// The file system is reached through a small table of functions so that the
// same logic runs in the Windows stub and, against a temporary folder, in the
// native tests.
#ifndef PACKAGE_PKGUNPACK_H
#define PACKAGE_PKGUNPACK_H

#include "pkgformat.h"

namespace pkg {

struct FileSystem {
  char sep;  // separator put between folder names in the paths handed below
  // Makes dir an existing, empty folder: removes whatever it holds. A link
  // found inside (or dir itself being one) is removed, never followed.
  bool (*empty_dir)(void* ctx, const char* dir);
  // Creates a folder; succeeds when it exists as a folder already.
  bool (*make_dir)(void* ctx, const char* path);
  // Creates or overwrites a file with exactly these bytes.
  bool (*write_file)(void* ctx, const char* path, const void* data, size_t size);
  void* ctx;
};

// Inflates every entry of an opened reader into one new buffer of
// r->total_size bytes (entries back to back in table order), checking each
// entry's size and CRC. On success *out is malloc'ed; the caller frees it.
Status ExtractAll(const Reader* r, uint8_t** out);

// Checks the whole payload (table, names, every entry's data and CRC) before
// touching anything; then empties dest and writes every entry under it,
// creating folders. On a failed check nothing is written anywhere.
Status Unpack(const uint8_t* payload, size_t payload_size, const char* dest,
              const FileSystem* fs);

}  // namespace pkg

#endif
