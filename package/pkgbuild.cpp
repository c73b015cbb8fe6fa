// pkgbuild: makes a self-unpacking driver package from a folder of driver
// files, keeping the folder's layout as relative paths.
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "pkgformat.h"
#include "pkgunpack.h"
#include "pkgwriter.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: pkgbuild STUB.exe INPUT_FOLDER OUTPUT_FILE\n"
    "       pkgbuild --list PACKAGE\n"
    "\n"
    "Packs every file under INPUT_FOLDER (subfolders kept as relative paths)\n"
    "behind the unpacking program STUB.exe and writes the package to\n"
    "OUTPUT_FILE. Started without arguments on Windows, the package unpacks\n"
    "its files into %TEMP%\\TARNOsetup, replacing what that folder held.\n"
    "--list shows the files a package holds and checks every one of them.\n";

int Fail(const std::string& msg) {
  fprintf(stderr, "pkgbuild: error: %s\n", msg.c_str());
  return 1;
}

bool ReadFile(const fs::path& p, std::vector<uint8_t>* out) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int List(const char* file) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(file, &bytes)) return Fail(std::string("cannot read ") + file);
  const uint8_t* payload;
  size_t size;
  pkg::Reader r;
  pkg::Status s = pkg::FindPayload(bytes.data(), bytes.size(), &payload, &size);
  if (s == pkg::kOk) s = pkg::Open(&r, payload, size);
  uint8_t* unpacked = nullptr;
  if (s == pkg::kOk) s = pkg::ExtractAll(&r, &unpacked);
  free(unpacked);
  if (s != pkg::kOk) return Fail(std::string(file) + ": " + pkg::StatusText(s));
  printf("%10s %10s  %-8s %s\n", "size", "packed", "crc", "name");
  size_t pos = 0;
  for (uint32_t i = 0; i < r.count; ++i) {
    pkg::Entry e;
    pos = pkg::EntryAt(&r, pos, &e);
    printf("%10u %10u  %08x %.*s\n", e.size, e.packed_size, e.crc, (int)e.name_len, e.name);
  }
  printf("%u files, %u bytes, payload %zu bytes, stub %zu bytes\n", r.count, r.total_size,
         size, bytes.size() - size - pkg::kTrailerSize);
  return 0;
}

int Build(const char* stub_arg, const char* input_arg, const char* output_arg) {
  std::error_code ec;
  fs::path input(input_arg), output(output_arg);
  std::vector<uint8_t> stub;
  if (!ReadFile(stub_arg, &stub) || fs::is_directory(stub_arg, ec))
    return Fail(std::string("cannot read the stub ") + stub_arg);
  if (stub.size() < 64 || stub[0] != 'M' || stub[1] != 'Z')
    return Fail(std::string("the stub is not a Windows program: ") + stub_arg);
  if (!fs::is_directory(input, ec))
    return Fail(std::string("input folder not found: ") + input_arg);

  fs::path in_abs = fs::weakly_canonical(input, ec);
  fs::path out_abs = fs::weakly_canonical(fs::absolute(output, ec), ec);
  auto rel = out_abs.lexically_relative(in_abs);
  if (!rel.empty() && *rel.begin() != "..")
    return Fail("the output file must not be inside the input folder");

  std::vector<pkg::InputFile> files;
  for (fs::recursive_directory_iterator it(input, ec), end; it != end; it.increment(ec)) {
    if (ec) break;
    fs::file_status st = it->symlink_status(ec);
    if (fs::is_directory(st)) continue;
    std::string name = it->path().lexically_relative(input).generic_string();
    if (!fs::is_regular_file(st))
      return Fail("not a regular file (links and devices are not packed): " + name);
    pkg::InputFile f;
    f.name = name;
    if (!ReadFile(it->path(), &f.data)) return Fail("cannot read " + it->path().string());
    files.push_back(std::move(f));
  }
  if (ec) return Fail("cannot list " + input.string() + ": " + ec.message());
  if (files.empty()) return Fail(std::string("no files in ") + input_arg);
  std::sort(files.begin(), files.end(),
            [](const pkg::InputFile& a, const pkg::InputFile& b) { return a.name < b.name; });

  std::vector<uint8_t> payload;
  std::string error;
  if (!pkg::BuildPayload(files, &payload, &error)) return Fail(error);
  std::vector<uint8_t> package = pkg::BuildPackage(stub, payload);

  // Write beside the target, then rename: a failed run leaves no half package.
  fs::path tmp = output;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return Fail("cannot write " + tmp.string());
    out.write((const char*)package.data(), (std::streamsize)package.size());
    out.close();
    if (!out) {
      fs::remove(tmp, ec);
      return Fail("cannot write " + tmp.string());
    }
  }
  fs::rename(tmp, output, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return Fail("cannot write " + output.string());
  }
  uint64_t total = 0;
  for (const auto& f : files) total += f.data.size();
  printf("%s: %zu files, %llu bytes packed into %zu (stub %zu + payload %zu + trailer %zu)\n",
         output_arg, files.size(), (unsigned long long)total, package.size(), stub.size(),
         payload.size(), pkg::kTrailerSize);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (!strcmp(argv[1], "-h") || !strcmp(argv[1], "--help"))) {
    fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 3 && !strcmp(argv[1], "--list")) return List(argv[2]);
  if (argc != 4 || argv[1][0] == '-') {
    fputs(kUsage, stderr);
    return 2;
  }
  return Build(argv[1], argv[2], argv[3]);
}
