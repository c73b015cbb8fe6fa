// Writing driver package payloads (see pkgwriter.h and pkgformat.h).
#include "pkgwriter.h"

#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#ifdef PKG_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

#include "pkgformat.h"
#include "pkgunpack.h"

namespace pkg {
namespace {

void Put16(std::vector<uint8_t>* v, uint32_t x) {
  v->push_back((uint8_t)x);
  v->push_back((uint8_t)(x >> 8));
}
void Put32(std::vector<uint8_t>* v, uint32_t x) {
  Put16(v, x & 0xffff);
  Put16(v, x >> 16);
}

bool ZlibDeflate(const uint8_t* data, size_t size, int strategy, std::vector<uint8_t>* out) {
  z_stream zs;
  memset(&zs, 0, sizeof zs);
  if (deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 9, strategy) != Z_OK) return false;
  out->resize(deflateBound(&zs, size));
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = (uInt)size;
  zs.next_out = out->data();
  zs.avail_out = (uInt)out->size();
  int rc = deflate(&zs, Z_FINISH);
  out->resize(zs.total_out);
  deflateEnd(&zs);
  return rc == Z_STREAM_END;
}

}  // namespace

std::vector<uint8_t> DeflateSmallest(const uint8_t* data, size_t size) {
  std::vector<uint8_t> best, candidate;
  const int kStrategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED};
  for (int strategy : kStrategies) {
    if (ZlibDeflate(data, size, strategy, &candidate) &&
        (best.empty() || candidate.size() < best.size()))
      best.swap(candidate);
  }
#ifdef PKG_HAVE_LIBDEFLATE
  // Its slowest level searches much harder than zlib's and still writes
  // plain deflate.
  if (libdeflate_compressor* c = libdeflate_alloc_compressor(12)) {
    candidate.resize(libdeflate_deflate_compress_bound(c, size));
    size_t n = libdeflate_deflate_compress(c, data, size, candidate.data(), candidate.size());
    libdeflate_free_compressor(c);
    candidate.resize(n);
    if (n > 0 && (best.empty() || n < best.size())) best.swap(candidate);
  }
#endif
  return best;
}

bool BuildPayload(const std::vector<InputFile>& files, std::vector<uint8_t>* payload,
                  std::string* error) {
  if (files.size() > kMaxEntries) {
    *error = "too many files: " + std::to_string(files.size()) + " (at most " +
             std::to_string(kMaxEntries) + ")";
    return false;
  }
  std::vector<uint8_t> table, data;
  uint64_t total = 0;
  for (const InputFile& f : files) {
    if (!IsSafeName(f.name.data(), f.name.size())) {
      *error = "file name not allowed in a package: \"" + f.name +
               "\" (use plain relative names; no drive, colon, \"..\", device "
               "names, wildcards, or names ending in a dot or blank)";
      return false;
    }
    total += f.data.size();
    if (total > kMaxTotalSize) {
      *error = "files too large: a package holds at most " +
               std::to_string(kMaxTotalSize) + " bytes";
      return false;
    }
    std::vector<uint8_t> packed = DeflateSmallest(f.data.data(), f.data.size());
    uint8_t method = kMethodDeflate;
    if (f.data.empty() || packed.empty() || packed.size() >= f.data.size()) {
      packed = f.data;
      method = kMethodStored;
    }
    Put16(&table, (uint32_t)f.name.size());
    table.push_back(method);
    table.push_back(0);
    Put32(&table, (uint32_t)f.data.size());
    Put32(&table, (uint32_t)packed.size());
    Put32(&table, Crc32(0, f.data.data(), f.data.size()));
    Put32(&table, (uint32_t)data.size());
    table.insert(table.end(), f.name.begin(), f.name.end());
    data.insert(data.end(), packed.begin(), packed.end());
  }
  if ((uint64_t)table.size() + data.size() + kHeaderSize > 0xFFFFFFF0u) {
    *error = "payload too large";
    return false;
  }
  payload->clear();
  payload->insert(payload->end(), kPayloadMagic, kPayloadMagic + 4);
  Put16(payload, kVersion);
  Put16(payload, (uint32_t)kHeaderSize);
  Put32(payload, (uint32_t)files.size());
  Put32(payload, (uint32_t)table.size());
  Put32(payload, (uint32_t)data.size());
  Put32(payload, (uint32_t)total);
  payload->insert(payload->end(), table.begin(), table.end());
  payload->insert(payload->end(), data.begin(), data.end());

  // Read it back the way the stub will.
  Reader r;
  Status s = Open(&r, payload->data(), payload->size());
  uint8_t* unpacked = nullptr;
  if (s == kOk) s = ExtractAll(&r, &unpacked);
  if (s == kOk) {
    size_t off = 0;
    for (const InputFile& f : files) {
      if (!f.data.empty() && memcmp(unpacked + off, f.data.data(), f.data.size()) != 0)
        s = kErrData;
      off += f.data.size();
    }
  }
  free(unpacked);
  if (s != kOk) {
    *error = std::string("payload does not read back: ") + StatusText(s);
    if (s == kErrDuplicate)
      *error += " (names that differ only in letter case are the same file on Windows)";
    return false;
  }
  return true;
}

std::vector<uint8_t> BuildPackage(const std::vector<uint8_t>& stub,
                                  const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> out(stub);
  out.insert(out.end(), payload.begin(), payload.end());
  Put32(&out, (uint32_t)payload.size());
  Put32(&out, Crc32(0, payload.data(), payload.size()));
  out.insert(out.end(), kTrailerMagic, kTrailerMagic + 8);
  return out;
}

}  // namespace pkg
