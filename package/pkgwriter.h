// Writing driver package payloads (host side: the package builder).
#ifndef PACKAGE_PKGWRITER_H
#define PACKAGE_PKGWRITER_H

#include <stdint.h>

#include <string>
#include <vector>

namespace pkg {

struct InputFile {
  std::string name;  // relative path, '/' between folders
  std::vector<uint8_t> data;
};

// The smallest raw deflate stream our encoders make for these bytes; any
// zlib inflate reads it.
std::vector<uint8_t> DeflateSmallest(const uint8_t* data, size_t size);

// Builds a payload holding the files in the given order. Every name is
// checked with the reader's rules, and the finished payload is read back
// and unpacked in memory before it is returned. On failure returns false
// and says why in *error.
bool BuildPayload(const std::vector<InputFile>& files, std::vector<uint8_t>* payload,
                  std::string* error);

// stub + payload + trailer.
std::vector<uint8_t> BuildPackage(const std::vector<uint8_t>& stub,
                                  const std::vector<uint8_t>& payload);

}  // namespace pkg

#endif
