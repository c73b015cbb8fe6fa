// Unpack speed of a driver package: our reader (inflate + CRC checks of
// every entry, in memory), plain zlib inflate of the same deflate streams,
// and a full unpack into a folder on disk.
//
//   pkg_bench PACKAGE [SCRATCH_FOLDER]
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <vector>

#include "pkgformat.h"
#include "pkgfs_posix.h"
#include "pkgunpack.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs f until at least min_seconds have passed (and 5 times at least);
// gives the best time of one run in seconds.
template <class F>
double Best(F f, double min_seconds = 1.0) {
  double best = 1e9, spent = 0;
  for (int i = 0; i < 5 || spent < min_seconds; ++i) {
    auto t0 = Clock::now();
    if (!f()) return -1;
    double s = std::chrono::duration<double>(Clock::now() - t0).count();
    spent += s;
    if (s < best) best = s;
  }
  return best;
}

bool ZlibInflateAll(const pkg::Reader& r, uint8_t* out) {
  size_t pos = 0, off = 0;
  for (uint32_t i = 0; i < r.count; ++i) {
    pkg::Entry e;
    pos = pkg::EntryAt(&r, pos, &e);
    if (e.method == pkg::kMethodStored) {
      memcpy(out + off, e.packed, e.size);
    } else {
      z_stream zs = {};
      if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return false;
      zs.next_in = const_cast<Bytef*>(e.packed);
      zs.avail_in = e.packed_size;
      zs.next_out = out + off;
      zs.avail_out = e.size;
      int rc = inflate(&zs, Z_FINISH);
      inflateEnd(&zs);
      if (rc != Z_STREAM_END) return false;
    }
    off += e.size;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: pkg_bench PACKAGE [SCRATCH_FOLDER]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const uint8_t* payload;
  size_t size;
  pkg::Reader r;
  pkg::Status s = pkg::FindPayload(file.data(), file.size(), &payload, &size);
  if (s == pkg::kOk) s = pkg::Open(&r, payload, size);
  if (s != pkg::kOk) {
    fprintf(stderr, "pkg_bench: %s: %s\n", argv[1], pkg::StatusText(s));
    return 1;
  }
  std::vector<uint8_t> out(r.total_size);
  double mb = r.total_size / 1e6;

  double ours = Best([&] {
    uint8_t* buf;
    if (pkg::ExtractAll(&r, &buf) != pkg::kOk) return false;
    free(buf);
    return true;
  });
  double zlib = Best([&] { return ZlibInflateAll(r, out.data()); });
  double crc = Best([&] { return pkg::Crc32(0, out.data(), out.size()) != 1; });
  printf("unpacked bytes          %10u in %u files\n", r.total_size, r.count);
  printf("package reader          %10.1f MB/s  (inflate + size and CRC checks, in memory)\n", mb / ours);
  printf("plain zlib inflate      %10.1f MB/s  (same streams, no checks)\n", mb / zlib);
  printf("  of which CRC-32       %10.1f MB/s\n", mb / crc);
  if (argc > 2) {
    pkg::FileSystem posix = pkg::PosixFileSystem();
    double disk = Best([&] {
      return pkg::Unpack(payload, size, argv[2], &posix) == pkg::kOk;
    }, 0.5);
    printf("unpack to folder        %10.1f MB/s  (checks, empties the folder, writes files)\n",
           mb / disk);
  }
  return ours < 0 || zlib < 0 ? 1 : 0;
}
