// The unpacker's file system on the build host (native tests, benchmarks).
#ifndef PACKAGE_PKGFS_POSIX_H
#define PACKAGE_PKGFS_POSIX_H

#include "pkgunpack.h"

namespace pkg {
FileSystem PosixFileSystem();
}

#endif
