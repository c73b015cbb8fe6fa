// Driver package payload reader and validator (see pkgformat.h).
#include "pkgformat.h"

#include <stdlib.h>
#include <string.h>
#include <zlib.h>

namespace pkg {

const char kPayloadMagic[4] = {'T', 'P', 'K', 'G'};
const char kTrailerMagic[8] = {'T', 'P', 'K', 'E', 'N', 'D', '0', '1'};

namespace {

// Deflate cannot expand by more than this ratio; a larger claim is a lie
// that would only make us allocate memory for nothing.
const uint32_t kMaxInflateRatio = 1032;

uint16_t Get16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
         ((uint32_t)p[3] << 24);
}

bool IsSep(char c) { return c == '/' || c == '\\'; }

char Fold(char c) {
  if (c == '\\') return '/';
  if (c >= 'a' && c <= 'z') return (char)(c - 'a' + 'A');
  return c;
}

bool EqualFold(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

// Names Windows maps to devices whatever folder or extension they carry.
bool IsDeviceName(const char* c, size_t len) {
  size_t base = 0;
  while (base < len && c[base] != '.') ++base;
  static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  for (size_t i = 0; i < sizeof kNames / sizeof kNames[0]; ++i) {
    size_t n = strlen(kNames[i]);
    if (base == n && EqualFold(c, kNames[i], n)) return true;
  }
  if (base == 4 && (EqualFold(c, "COM", 3) || EqualFold(c, "LPT", 3)) &&
      c[3] >= '0' && c[3] <= '9')
    return true;
  return false;
}

bool IsSafeComponent(const char* c, size_t len) {
  if (len == 0) return false;                               // "a//b", "/a", "a/"
  if (c[len - 1] == '.' || c[len - 1] == ' ') return false;  // ".", "..", "a. "
  for (size_t i = 0; i < len; ++i) {
    unsigned char ch = (unsigned char)c[i];
    if (ch < 0x20 || ch == 0x7f) return false;
    if (strchr(":*?\"<>|", ch) != NULL) return false;
  }
  return !IsDeviceName(c, len);
}

// Two names collide when they are the same path, or one is a folder of the
// other, compared the way Windows compares ASCII names.
bool Collide(const char* a, size_t alen, const char* b, size_t blen) {
  size_t n = alen < blen ? alen : blen;
  if (!EqualFold(a, b, n)) return false;
  if (alen == blen) return true;
  return alen < blen ? IsSep(b[n]) : IsSep(a[n]);
}

}  // namespace

const char* StatusText(Status s) {
  switch (s) {
    case kOk: return "ok";
    case kErrNoTrailer: return "not a driver package (no payload trailer)";
    case kErrPayloadCrc: return "payload CRC mismatch";
    case kErrMagic: return "bad payload magic";
    case kErrVersion: return "unsupported payload version";
    case kErrLayout: return "payload sizes or offsets do not add up";
    case kErrName: return "unsafe entry name";
    case kErrDuplicate: return "two entries land on the same path";
    case kErrMethod: return "unknown compression method";
    case kErrData: return "packed data is damaged";
    case kErrCrc: return "entry CRC mismatch";
    case kErrMemory: return "out of memory";
    case kErrIo: return "file system error";
    case kErrSelf: return "cannot read the package file";
    case kErrTemp: return "cannot find the temporary folder";
  }
  return "unknown error";
}

// CRC-32 (the zlib/zip polynomial), four bytes a step. The tables are built
// on first use, so they cost the stub nothing on disk.
uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
  static uint32_t t[4][256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
      for (int k = 1; k < 4; ++k) t[k][n] = t[0][t[k - 1][n] & 0xff] ^ (t[k - 1][n] >> 8);
    ready = true;
  }
  const uint8_t* p = (const uint8_t*)data;
  crc = ~crc;
  for (; size >= 4; size -= 4, p += 4) {
    crc ^= Get32(p);
    crc = t[3][crc & 0xff] ^ t[2][(crc >> 8) & 0xff] ^ t[1][(crc >> 16) & 0xff] ^ t[0][crc >> 24];
  }
  for (; size > 0; --size) crc = t[0][(crc ^ *p++) & 0xff] ^ (crc >> 8);
  return ~crc;
}

Status FindPayload(const uint8_t* file, size_t file_size,
                   const uint8_t** payload, size_t* payload_size) {
  if (file_size < kTrailerSize) return kErrNoTrailer;
  const uint8_t* t = file + file_size - kTrailerSize;
  if (memcmp(t + 8, kTrailerMagic, 8) != 0) return kErrNoTrailer;
  uint32_t size = Get32(t);
  if (size < kHeaderSize || size > file_size - kTrailerSize) return kErrLayout;
  const uint8_t* p = t - size;
  if (Crc32(0, p, size) != Get32(t + 4)) return kErrPayloadCrc;
  *payload = p;
  *payload_size = size;
  return kOk;
}

bool IsSafeName(const char* name, size_t len) {
  if (len == 0 || len > kMaxNameLength) return false;
  size_t start = 0;
  for (size_t i = 0; i <= len; ++i) {
    if (i == len || IsSep(name[i])) {
      if (!IsSafeComponent(name + start, i - start)) return false;
      start = i + 1;
    }
  }
  return true;
}

Status Open(Reader* r, const uint8_t* payload, size_t payload_size) {
  memset(r, 0, sizeof *r);
  if (payload_size < kHeaderSize) return kErrLayout;
  if (memcmp(payload, kPayloadMagic, 4) != 0) return kErrMagic;
  if (Get16(payload + 4) != kVersion || Get16(payload + 6) != kHeaderSize)
    return kErrVersion;
  uint32_t count = Get32(payload + 8);
  uint32_t table_size = Get32(payload + 12);
  uint32_t data_size = Get32(payload + 16);
  uint32_t total = Get32(payload + 20);
  if (count > kMaxEntries || total > kMaxTotalSize) return kErrLayout;
  // 64-bit sum: the three parts must make up the payload exactly.
  if ((uint64_t)kHeaderSize + table_size + data_size != payload_size)
    return kErrLayout;
  if ((uint64_t)count * kEntryFixedSize > table_size) return kErrLayout;

  r->payload = payload;
  r->payload_size = payload_size;
  r->count = count;
  r->total_size = total;
  r->table = payload + kHeaderSize;
  r->table_size = table_size;
  r->data = r->table + table_size;
  r->data_size = data_size;

  // Walk the table: each record within it, the data areas back to back.
  size_t pos = 0;
  uint64_t next_offset = 0, sum = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (table_size - pos < kEntryFixedSize) return kErrLayout;
    const uint8_t* rec = r->table + pos;
    uint32_t name_len = Get16(rec);
    uint8_t method = rec[2];
    uint32_t size = Get32(rec + 4);
    uint32_t packed = Get32(rec + 8);
    uint32_t offset = Get32(rec + 16);
    if (name_len > table_size - pos - kEntryFixedSize) return kErrLayout;
    if (rec[3] != 0) return kErrMethod;
    if (method == kMethodStored) {
      if (packed != size) return kErrLayout;
    } else if (method == kMethodDeflate) {
      if (packed == 0 || (uint64_t)size > (uint64_t)packed * kMaxInflateRatio)
        return kErrLayout;
    } else {
      return kErrMethod;
    }
    if (offset != next_offset) return kErrLayout;
    next_offset += packed;
    sum += size;
    if (next_offset > data_size || sum > total) return kErrLayout;
    if (!IsSafeName((const char*)rec + kEntryFixedSize, name_len))
      return kErrName;
    pos += kEntryFixedSize + name_len;
  }
  if (pos != table_size || next_offset != data_size || sum != total)
    return kErrLayout;

  // No two entries may land on the same file, or a file on a folder.
  const uint8_t* a = r->table;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* b = a + kEntryFixedSize + Get16(a);
    for (uint32_t j = i + 1; j < count; ++j) {
      if (Collide((const char*)a + kEntryFixedSize, Get16(a),
                  (const char*)b + kEntryFixedSize, Get16(b)))
        return kErrDuplicate;
      b += kEntryFixedSize + Get16(b);
    }
    a += kEntryFixedSize + Get16(a);
  }
  return kOk;
}

void GetEntry(const Reader* r, uint32_t i, Entry* e) {
  size_t pos = 0;
  for (uint32_t k = 0; k < i; ++k) pos += kEntryFixedSize + Get16(r->table + pos);
  EntryAt(r, pos, e);
}

size_t EntryAt(const Reader* r, size_t pos, Entry* e) {
  const uint8_t* rec = r->table + pos;
  e->name_len = Get16(rec);
  e->method = rec[2];
  e->size = Get32(rec + 4);
  e->packed_size = Get32(rec + 8);
  e->crc = Get32(rec + 12);
  e->packed = r->data + Get32(rec + 16);
  e->name = (const char*)rec + kEntryFixedSize;
  return pos + kEntryFixedSize + e->name_len;
}

namespace {

// inflateBack reads all packed bytes at once and hands the output over in
// pieces of at most one window; we copy them to the caller's buffer and
// refuse any byte beyond the declared size.
struct Sink {
  uint8_t* out;
  uint32_t size;
  uint32_t done;
};

unsigned NoMoreInput(void*, z_const unsigned char** buf) {
  *buf = Z_NULL;
  return 0;
}

int TakeOutput(void* desc, unsigned char* buf, unsigned len) {
  Sink* s = (Sink*)desc;
  if (len > s->size - s->done) return 1;
  memcpy(s->out + s->done, buf, len);
  s->done += len;
  return 0;
}

}  // namespace

Status Extract(const Entry* e, uint8_t* out) {
  if (e->method == kMethodStored) {
    if (e->packed_size != e->size) return kErrLayout;
    if (e->size) memcpy(out, e->packed, e->size);
  } else if (e->method == kMethodDeflate) {
    // The callback decoder of zlib: raw deflate only, and much smaller in
    // the stub than the general one.
    unsigned char* window = (unsigned char*)malloc(1u << MAX_WBITS);
    if (!window) return kErrMemory;
    z_stream zs;
    memset(&zs, 0, sizeof zs);
    if (inflateBackInit(&zs, MAX_WBITS, window) != Z_OK) {
      free(window);
      return kErrMemory;
    }
    zs.next_in = (z_const Bytef*)e->packed;
    zs.avail_in = e->packed_size;
    Sink sink = {out, e->size, 0};
    int rc = inflateBack(&zs, NoMoreInput, NULL, TakeOutput, &sink);
    // The stream must end exactly at the last packed byte and fill exactly
    // the declared size.
    bool good = rc == Z_STREAM_END && zs.avail_in == 0 && sink.done == e->size;
    inflateBackEnd(&zs);
    free(window);
    if (!good) return kErrData;
  } else {
    return kErrMethod;
  }
  if (Crc32(0, out, e->size) != e->crc) return kErrCrc;
  return kOk;
}

}  // namespace pkg
