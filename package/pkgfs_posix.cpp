// The unpacker's file system on the build host, with the same rules as the
// Windows one: links are removed, never followed.
#include "pkgfs_posix.h"

#include <stdio.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace pkg {
namespace {

namespace fs = std::filesystem;

bool EmptyDir(void*, const char* dir) {
  std::error_code ec;
  fs::file_status st = fs::symlink_status(dir, ec);
  if (fs::exists(st) && !fs::is_directory(st)) {
    if (!fs::remove(dir, ec)) return false;  // a file or a link in its place
  }
  if (!fs::is_directory(fs::symlink_status(dir, ec))) {
    return fs::create_directory(dir, ec);
  }
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    fs::remove_all(it->path(), ec);  // does not follow links
    if (ec) return false;
  }
  return !ec;
}

bool MakeDir(void*, const char* path) {
  if (mkdir(path, 0777) == 0) return true;
  struct stat st;
  return lstat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteFile(void*, const char* path, const void* data, size_t size) {
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = fwrite(data, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

}  // namespace

FileSystem PosixFileSystem() {
  FileSystem f = {'/', EmptyDir, MakeDir, WriteFile, nullptr};
  return f;
}

}  // namespace pkg
