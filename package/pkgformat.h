// Driver package payload: layout, reader and validator.
//
// A package file is the stub program followed by a payload and a trailer:
//
//   [stub .exe bytes][payload][trailer]
//
// All integers are little-endian.
//
// Trailer (16 bytes, the last bytes of the file):
//   0  u32  payload size in bytes (the payload ends where the trailer starts)
//   4  u32  CRC-32 of the whole payload
//   8  8    magic "TPKEND01"
//
// Payload:
//   header (24 bytes)
//     0  4    magic "TPKG"
//     4  u16  format version (1)
//     6  u16  header size (24)
//     8  u32  entry count
//     12 u32  entry table size in bytes
//     16 u32  data area size in bytes
//     20 u32  sum of the unpacked sizes of all entries
//   entry table: entry count records, back to back, exactly table size bytes
//     0  u16  name length (1..kMaxNameLength)
//     2  u8   method: 0 stored, 8 raw deflate
//     3  u8   flags (0)
//     4  u32  unpacked size
//     8  u32  packed size
//     12 u32  CRC-32 of the unpacked bytes
//     16 u32  offset of the packed bytes in the data area
//     20      name bytes (relative path, '/' or '\' between folders, no NUL)
//   data area: the packed bytes of every entry, in table order, with no gap
//
// The reader refuses anything that does not add up: sizes, offsets, counts,
// names that could leave the unpack folder, and entries that would collide
// there. The same code runs in the Windows stub and in the native tests, so
// it uses only the C library and zlib.
#ifndef PACKAGE_PKGFORMAT_H
#define PACKAGE_PKGFORMAT_H

#include <stddef.h>
#include <stdint.h>

namespace pkg {

const size_t kTrailerSize = 16;
const size_t kHeaderSize = 24;
const size_t kEntryFixedSize = 20;
const uint16_t kVersion = 1;
const uint32_t kMaxEntries = 4096;
const uint32_t kMaxNameLength = 512;
const uint32_t kMaxTotalSize = 256u * 1024u * 1024u;  // all entries unpacked
const uint8_t kMethodStored = 0;
const uint8_t kMethodDeflate = 8;
extern const char kPayloadMagic[4];   // "TPKG"
extern const char kTrailerMagic[8];   // "TPKEND01"

enum Status {
  kOk = 0,
  kErrNoTrailer = 10,   // file too short or no trailer magic at its end
  kErrPayloadCrc = 11,  // payload bytes do not match the trailer's CRC
  kErrMagic = 12,       // payload header magic wrong
  kErrVersion = 13,     // unknown version or header size
  kErrLayout = 14,      // sizes/offsets/counts do not add up
  kErrName = 15,        // unsafe or malformed entry name
  kErrDuplicate = 16,   // two entries land on the same path (or file vs folder)
  kErrMethod = 17,      // unknown method or flags
  kErrData = 18,        // packed data does not inflate to the declared size
  kErrCrc = 19,         // unpacked bytes do not match the entry CRC
  kErrMemory = 20,      // out of memory
  kErrIo = 21,          // the file system refused a step
  kErrSelf = 22,        // the stub could not read its own file
  kErrTemp = 23,        // the temporary folder could not be found
};

const char* StatusText(Status s);

struct Entry {
  const char* name;  // not NUL-terminated
  uint32_t name_len;
  uint8_t method;
  uint32_t size;
  uint32_t packed_size;
  uint32_t crc;
  const uint8_t* packed;
};

// A parsed payload. Holds pointers into the caller's buffer only.
struct Reader {
  const uint8_t* payload;
  size_t payload_size;
  uint32_t count;
  uint32_t total_size;
  const uint8_t* table;
  uint32_t table_size;
  const uint8_t* data;
  uint32_t data_size;
};

uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// Finds the payload at the end of a whole package file and checks its CRC.
Status FindPayload(const uint8_t* file, size_t file_size,
                   const uint8_t** payload, size_t* payload_size);

// Checks one entry name: relative, non-empty components separated by '/' or
// '\', no colon, no "." or ".." component, no component ending in a dot or a
// blank, no control or wildcard characters, no reserved device name.
bool IsSafeName(const char* name, size_t len);

// Parses and checks the header and the whole entry table: every name, every
// size and offset, and that no two entries collide. Does not inflate.
Status Open(Reader* r, const uint8_t* payload, size_t payload_size);

// Entry i of an opened reader (i < r->count). The table was checked by Open.
void GetEntry(const Reader* r, uint32_t i, Entry* e);

// The entry whose record starts at table offset pos (0 for the first);
// gives the offset of the next record. For walking the table in order.
size_t EntryAt(const Reader* r, size_t pos, Entry* e);

// Unpacks one entry into out (e->size bytes) and checks its size and CRC.
Status Extract(const Entry* e, uint8_t* out);

}  // namespace pkg

#endif
