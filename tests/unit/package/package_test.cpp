// Driver package: format round trip, refusal of damaged or hostile payloads
// (with nothing written outside the unpack folder), and the builder command.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "pkgformat.h"
#include "pkgfs_posix.h"
#include "pkgunpack.h"
#include "pkgwriter.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes FromString(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Random(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = (uint8_t)rng();
  return b;
}

// Text-like data: compresses well and spans many deflate windows.
Bytes Text(size_t n) {
  std::string s;
  for (int i = 0; s.size() < n; ++i)
    s += "REC" + std::to_string(i * 7919 % 1000) + " printer driver data line\r\n";
  s.resize(n);
  return FromString(s);
}

Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& p, const Bytes& b) {
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out.write((const char*)b.data(), (std::streamsize)b.size());
}

// Everything under root: files with their bytes, folders and links by kind.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> m;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    std::string rel = it->path().lexically_relative(root).generic_string();
    auto st = it->symlink_status();
    if (fs::is_symlink(st)) {
      m[rel] = "link:" + fs::read_symlink(it->path()).string();
    } else if (fs::is_directory(st)) {
      m[rel] = "dir";
    } else {
      Bytes b = ReadAll(it->path());
      m[rel] = "file:" + std::string(b.begin(), b.end());
    }
  }
  return m;
}

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/pkgtest-XXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// ---- A payload written field by field, so tests can damage any field. ------

struct RawEntry {
  std::string name;
  uint8_t method = pkg::kMethodDeflate;
  uint8_t flags = 0;
  uint32_t size = 0, packed_size = 0, crc = 0, offset = 0;
  Bytes packed;
};

RawEntry MakeEntry(const std::string& name, const Bytes& content, bool stored = false) {
  RawEntry e;
  e.name = name;
  e.size = (uint32_t)content.size();
  e.crc = (uint32_t)crc32(0, content.data(), (uInt)content.size());
  e.method = stored ? pkg::kMethodStored : pkg::kMethodDeflate;
  e.packed = stored ? content : pkg::DeflateSmallest(content.data(), content.size());
  e.packed_size = (uint32_t)e.packed.size();
  return e;
}

struct RawPayload {
  std::string magic = "TPKG";
  uint16_t version = 1, header_size = 24;
  std::vector<RawEntry> entries;
  // Header fields left unset are computed from the entries.
  int64_t count = -1, table_size = -1, data_size = -1, total = -1;
  bool auto_offsets = true;

  Bytes Build() const {
    Bytes table, data;
    uint64_t sum = 0;
    auto put16 = [](Bytes* v, uint32_t x) {
      v->push_back((uint8_t)x);
      v->push_back((uint8_t)(x >> 8));
    };
    auto put32 = [&](Bytes* v, uint32_t x) {
      put16(v, x & 0xffff);
      put16(v, x >> 16);
    };
    for (const RawEntry& e : entries) {
      put16(&table, (uint32_t)e.name.size());
      table.push_back(e.method);
      table.push_back(e.flags);
      put32(&table, e.size);
      put32(&table, e.packed_size);
      put32(&table, e.crc);
      put32(&table, auto_offsets ? (uint32_t)data.size() : e.offset);
      table.insert(table.end(), e.name.begin(), e.name.end());
      data.insert(data.end(), e.packed.begin(), e.packed.end());
      sum += e.size;
    }
    Bytes out(magic.begin(), magic.end());
    put16(&out, version);
    put16(&out, header_size);
    put32(&out, (uint32_t)(count >= 0 ? count : (int64_t)entries.size()));
    put32(&out, (uint32_t)(table_size >= 0 ? table_size : (int64_t)table.size()));
    put32(&out, (uint32_t)(data_size >= 0 ? data_size : (int64_t)data.size()));
    put32(&out, (uint32_t)(total >= 0 ? total : (int64_t)sum));
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
  }
};

RawPayload GoodRaw() {
  RawPayload p;
  p.entries.push_back(MakeEntry("drivers/i386/DEMO.DLL", Text(70000)));
  p.entries.push_back(MakeEntry("drivers\\data\\DEMO.PPD", FromString("*PPD-Adobe: \"4.3\"\r\n"), true));
  p.entries.push_back(MakeEntry("README.TXT", Random(3000, 7)));
  return p;
}

// An unpack folder with a stale file, beside a file that must never change.
struct UnpackSite {
  TempDir tmp;
  fs::path dest = tmp.path() / "TARNOsetup";
  UnpackSite() {
    WriteAll(tmp.path() / "outside.txt", FromString("keep me"));
    WriteAll(dest / "stale" / "old.dll", FromString("from an earlier run"));
  }
  pkg::Status Unpack(const Bytes& payload) {
    pkg::FileSystem posix = pkg::PosixFileSystem();
    return pkg::Unpack(payload.data(), payload.size(), dest.c_str(), &posix);
  }
};

std::map<std::string, std::string> ExpectedTree(const RawPayload& p) {
  std::map<std::string, std::string> m;
  for (const RawEntry& e : p.entries) {
    Bytes content(e.size);
    pkg::Entry pe = {e.name.data(), (uint32_t)e.name.size(), e.method, e.size,
                     e.packed_size, e.crc, e.packed.data()};
    EXPECT_EQ(pkg::Extract(&pe, content.data()), pkg::kOk) << e.name;
    std::string path = e.name;
    for (char& c : path)
      if (c == '\\') c = '/';
    for (size_t k = path.find('/'); k != std::string::npos; k = path.find('/', k + 1))
      m[path.substr(0, k)] = "dir";
    m[path] = "file:" + std::string(content.begin(), content.end());
  }
  return m;
}

// ---- Round trip ---------------------------------------------------------------

TEST(PackageFormat, RoundTripThroughWriterPackageAndUnpack) {
  std::vector<pkg::InputFile> files = {
      {"DL5100.INF", FromString("[Version]\r\nClass=Printer\r\n")},
      {"drivers/w32x86/DL5100.DLL", Text(200000)},  // several inflate windows
      {"drivers/w32x86/DL5100RS.DLL", Random(40000, 1)},  // incompressible: stored
      {"drivers/data/EMPTY.DAT", {}},
      {"drivers/help/DL5100.HLP", Text(1)},
  };
  Bytes payload;
  std::string error;
  ASSERT_TRUE(pkg::BuildPayload(files, &payload, &error)) << error;
  Bytes stub = FromString("MZ fake stub bytes");
  Bytes package = pkg::BuildPackage(stub, payload);

  const uint8_t* found;
  size_t found_size;
  ASSERT_EQ(pkg::FindPayload(package.data(), package.size(), &found, &found_size), pkg::kOk);
  EXPECT_EQ(found, package.data() + stub.size());
  EXPECT_EQ(found_size, payload.size());

  UnpackSite site;
  ASSERT_EQ(site.Unpack(Bytes(found, found + found_size)), pkg::kOk);

  std::map<std::string, std::string> want;
  for (const auto& f : files) want[f.name] = "file:" + std::string(f.data.begin(), f.data.end());
  for (const char* d : {"drivers", "drivers/w32x86", "drivers/data", "drivers/help"}) want[d] = "dir";
  EXPECT_EQ(Snapshot(site.dest), want);  // the stale file is gone
  EXPECT_EQ(ReadAll(site.tmp.path() / "outside.txt"), FromString("keep me"));
}

TEST(PackageFormat, BothSeparatorsMakeFolders) {
  RawPayload p = GoodRaw();
  UnpackSite site;
  ASSERT_EQ(site.Unpack(p.Build()), pkg::kOk);
  EXPECT_EQ(Snapshot(site.dest), ExpectedTree(p));
  EXPECT_TRUE(fs::is_regular_file(site.dest / "drivers" / "data" / "DEMO.PPD"));
}

TEST(PackageFormat, Crc32MatchesZlib) {
  const char* check = "123456789";
  EXPECT_EQ(pkg::Crc32(0, check, 9), 0xCBF43926u);
  Bytes r = Random(1000, 3);
  for (size_t start : {0, 1, 2, 3}) {
    for (size_t len : {0, 1, 5, 64, 997}) {
      uint32_t want = (uint32_t)crc32(0, r.data() + start, (uInt)len);
      EXPECT_EQ(pkg::Crc32(0, r.data() + start, len), want) << start << "+" << len;
    }
  }
  // Chaining gives the CRC of the whole.
  EXPECT_EQ(pkg::Crc32(pkg::Crc32(0, r.data(), 333), r.data() + 333, 667),
            (uint32_t)crc32(0, r.data(), 1000));
}

// The builder may use any encoder; the result must still be plain deflate
// that zlib's ordinary inflate reads.
TEST(PackageFormat, EncoderOutputInflatesWithPlainZlib) {
  for (const Bytes& data : {Text(100000), Random(5000, 9), Bytes(70000, 'A'), Bytes{'x'}}) {
    Bytes packed = pkg::DeflateSmallest(data.data(), data.size());
    ASSERT_FALSE(packed.empty());
    Bytes out(data.size() + 16);
    z_stream zs = {};
    ASSERT_EQ(inflateInit2(&zs, -MAX_WBITS), Z_OK);
    zs.next_in = packed.data();
    zs.avail_in = (uInt)packed.size();
    zs.next_out = out.data();
    zs.avail_out = (uInt)out.size();
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(zs.total_out, data.size());
    inflateEnd(&zs);
    out.resize(data.size());
    EXPECT_EQ(out, data);
  }
}

// ---- Names ----------------------------------------------------------------------

TEST(PackageNames, SafeNamesTable) {
  struct Case {
    std::string name;
    bool safe;
  };
  const Case cases[] = {
      {"a", true},
      {"drivers/i386/DL5100.DLL", true},
      {"drivers\\i386\\DL5100.DLL", true},
      {"mixed/sep\\name.txt", true},
      {".profile", true},
      {"a.b.c", true},
      {"CONFIG.SYS", true},   // not the CON device
      {"COMX.DLL", true},
      {"\xb5\xa5\xb8\xf0.TXT", true},  // code page 949 bytes
      {"", false},
      {"/etc/passwd", false},
      {"\\Windows\\evil.dll", false},
      {"\\\\server\\share\\x", false},
      {"C:\\evil.dll", false},
      {"C:evil.dll", false},
      {"a:b", false},
      {"file.txt:stream", false},
      {"..", false},
      {"../evil", false},
      {"a/../../evil", false},
      {"a\\..\\..\\evil", false},
      {"a/./b", false},
      {".", false},
      {"a//b", false},
      {"a/", false},
      {"a\\", false},
      {"a/.. /b", false},   // Windows drops trailing blanks: this is ".."
      {"a/... /b", false},
      {"dir./x", false},
      {"CON", false},
      {"con.txt", false},
      {"a/NUL", false},
      {"lpt1.dll", false},
      {"COM3", false},
      {"a*b", false},
      {"a?b", false},
      {"a\"b", false},
      {"a<b", false},
      {"a>b", false},
      {"a|b", false},
      {std::string("a\tb"), false},
      {std::string("a\0b", 3), false},
      {std::string(pkg::kMaxNameLength, 'x'), true},
      {std::string(pkg::kMaxNameLength + 1, 'x'), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(pkg::IsSafeName(c.name.data(), c.name.size()), c.safe) << '"' << c.name << '"';
}

// ---- Damaged and hostile payloads ---------------------------------------------

struct BadCase {
  const char* what;
  std::function<Bytes()> make;
  pkg::Status want;  // kOk here means "any refusal"
};

Bytes WithName(const std::string& name) {
  RawPayload p = GoodRaw();
  p.entries[1].name = name;
  return p.Build();
}

Bytes Edit(std::function<void(RawPayload&)> f) {
  RawPayload p = GoodRaw();
  f(p);
  return p.Build();
}

std::vector<BadCase> BadPayloads() {
  size_t name_off = pkg::kHeaderSize + pkg::kEntryFixedSize;  // first name byte
  return {
      {"traversal", [] { return WithName("../evil.txt"); }, pkg::kErrName},
      {"deep traversal", [] { return WithName("drivers/../../evil.txt"); }, pkg::kErrName},
      {"backslash traversal", [] { return WithName("drivers\\..\\..\\evil.txt"); }, pkg::kErrName},
      {"absolute path", [] { return WithName("/tmp/evil.txt"); }, pkg::kErrName},
      {"root-relative", [] { return WithName("\\evil.txt"); }, pkg::kErrName},
      {"drive path", [] { return WithName("C:\\evil.txt"); }, pkg::kErrName},
      {"drive-relative", [] { return WithName("C:evil.txt"); }, pkg::kErrName},
      {"colon", [] { return WithName("a:b"); }, pkg::kErrName},
      {"empty name", [] { return WithName(""); }, pkg::kErrName},
      {"empty component", [] { return WithName("drivers//x"); }, pkg::kErrName},
      {"device name", [] { return WithName("drivers/NUL.dll"); }, pkg::kErrName},
      {"same file twice, other case",
       [] { return Edit([](RawPayload& p) { p.entries[2].name = "readme.txt"; p.entries[1].name = "README.TXT"; }); },
       pkg::kErrDuplicate},
      {"file where a folder goes",
       [] { return Edit([](RawPayload& p) { p.entries[2].name = "drivers/i386"; }); }, pkg::kErrDuplicate},
      {"bad magic", [] { return Edit([](RawPayload& p) { p.magic = "TPKX"; }); }, pkg::kErrMagic},
      {"newer version", [] { return Edit([](RawPayload& p) { p.version = 2; }); }, pkg::kErrVersion},
      {"bigger header", [] { return Edit([](RawPayload& p) { p.header_size = 28; }); }, pkg::kErrVersion},
      {"count one too many", [] { return Edit([](RawPayload& p) { p.count = 4; }); }, pkg::kErrLayout},
      {"count one too few", [] { return Edit([](RawPayload& p) { p.count = 2; }); }, pkg::kErrLayout},
      {"huge count", [] { return Edit([](RawPayload& p) { p.count = 0x7fffffff; }); }, pkg::kErrLayout},
      {"table size short", [] { return Edit([](RawPayload& p) { p.table_size = 30; }); }, pkg::kErrLayout},
      {"data size short", [] { return Edit([](RawPayload& p) { p.data_size = 10; }); }, pkg::kErrLayout},
      {"total size wrong", [] { return Edit([](RawPayload& p) { p.total = 5; }); }, pkg::kErrLayout},
      {"unpacked size one more",
       [] { return Edit([](RawPayload& p) { p.entries[0].size += 1; p.total = -1; }); }, pkg::kErrData},
      {"unpacked size one less",
       [] { return Edit([](RawPayload& p) { p.entries[0].size -= 1; }); }, pkg::kErrData},
      {"stored size disagrees",
       [] { return Edit([](RawPayload& p) { p.entries[1].size += 1; }); }, pkg::kErrLayout},
      {"size beyond what deflate can expand to",
       [] { return Edit([](RawPayload& p) { p.entries[2].size = 100000000; }); }, pkg::kErrLayout},
      {"packed size runs past the data",
       [] { return Edit([](RawPayload& p) { p.entries[2].packed_size += 1; }); }, pkg::kErrLayout},
      {"gap between entries", [] {
         return Edit([](RawPayload& p) {
           p.auto_offsets = false;
           p.entries[1].offset = p.entries[0].packed_size + 1;
         });
       }, pkg::kErrLayout},
      {"overlapping entries", [] {
         return Edit([](RawPayload& p) { p.auto_offsets = false; });  // all at offset 0
       }, pkg::kErrLayout},
      {"unknown method", [] { return Edit([](RawPayload& p) { p.entries[0].method = 5; }); }, pkg::kErrMethod},
      {"flags set", [] { return Edit([](RawPayload& p) { p.entries[0].flags = 1; }); }, pkg::kErrMethod},
      {"CRC field wrong", [] { return Edit([](RawPayload& p) { p.entries[1].crc ^= 1; }); }, pkg::kErrCrc},
      {"flipped stored byte",
       [] { return Edit([](RawPayload& p) { p.entries[1].packed[3] ^= 0x20; }); }, pkg::kErrCrc},
      {"flipped deflate byte",
       [] { return Edit([](RawPayload& p) { p.entries[0].packed[p.entries[0].packed.size() / 2] ^= 0x10; }); },
       pkg::kOk},
      {"junk after the deflate stream", [] {
         return Edit([](RawPayload& p) {
           p.entries[0].packed.push_back(0);
           p.entries[0].packed_size += 1;
         });
       }, pkg::kErrData},
      {"deflate stream cut short", [] {
         return Edit([](RawPayload& p) {
           p.entries[0].packed.resize(p.entries[0].packed.size() - 4);
           p.entries[0].packed_size -= 4;
         });
       }, pkg::kErrData},
      {"payload truncated by one byte", [] {
         Bytes b = GoodRaw().Build();
         b.pop_back();
         return b;
       }, pkg::kErrLayout},
      {"payload cut inside the table", [] {
         Bytes b = GoodRaw().Build();
         b.resize(pkg::kHeaderSize + 10);
         return b;
       }, pkg::kErrLayout},
      {"payload shorter than its header", [] { return Bytes{'T', 'P', 'K', 'G'}; }, pkg::kErrLayout},
      {"name byte flipped into a separator", [name_off] {
         Bytes b = GoodRaw().Build();
         b[name_off] = '/';  // "drivers/..." becomes "/rivers/..."
         return b;
       }, pkg::kErrName},
  };
}

TEST(PackageRefusal, BadPayloadsWriteNothingAnywhere) {
  for (const BadCase& c : BadPayloads()) {
    SCOPED_TRACE(c.what);
    UnpackSite site;
    auto before = Snapshot(site.tmp.path());
    pkg::Status s = site.Unpack(c.make());
    if (c.want == pkg::kOk)
      EXPECT_NE(s, pkg::kOk);
    else
      EXPECT_EQ(s, c.want) << pkg::StatusText(s);
    // Not even the stale unpack folder is touched before the whole payload
    // has been checked.
    EXPECT_EQ(Snapshot(site.tmp.path()), before);
  }
}

TEST(PackageRefusal, TrailerChecks) {
  Bytes payload = GoodRaw().Build();
  Bytes good = pkg::BuildPackage(FromString("MZ stub"), payload);
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    pkg::Status want;
  } cases[] = {
      {"intact", [](Bytes&) {}, pkg::kOk},
      {"no trailer magic", [](Bytes& b) { b.back() ^= 1; }, pkg::kErrNoTrailer},
      {"trailer cut off", [](Bytes& b) { b.resize(b.size() - 1); }, pkg::kErrNoTrailer},
      {"file shorter than a trailer", [](Bytes& b) { b.resize(7); }, pkg::kErrNoTrailer},
      {"payload size past the file start",
       [](Bytes& b) { b[b.size() - 16 + 3] = 0x7f; }, pkg::kErrLayout},
      {"payload size too small", [](Bytes& b) { memset(&b[b.size() - 16], 0, 4); }, pkg::kErrLayout},
      {"payload CRC wrong", [](Bytes& b) { b[b.size() - 12] ^= 1; }, pkg::kErrPayloadCrc},
      {"flipped byte in the payload", [](Bytes& b) { b[20] ^= 0x40; }, pkg::kErrPayloadCrc},
      {"stub bytes lost", [](Bytes& b) { b.erase(b.begin(), b.begin() + 7); }, pkg::kOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes b = good;
    c.damage(b);
    const uint8_t* p = nullptr;
    size_t n = 0;
    pkg::Status s = pkg::FindPayload(b.data(), b.size(), &p, &n);
    EXPECT_EQ(s, c.want) << pkg::StatusText(s);
    if (s == pkg::kOk) {
      EXPECT_EQ(Bytes(p, p + n), payload);
    }
  }
}

// Emptying the unpack folder removes links in it; it never follows them.
TEST(PackageRefusal, LinksInTheUnpackFolderAreNotFollowed) {
  RawPayload p = GoodRaw();
  for (bool dest_is_link : {false, true}) {
    SCOPED_TRACE(dest_is_link ? "unpack folder is a link" : "link inside the unpack folder");
    UnpackSite site;
    fs::path victim = site.tmp.path() / "victim";
    WriteAll(victim / "precious.txt", FromString("do not delete"));
    if (dest_is_link) {
      fs::remove_all(site.dest);
      fs::create_directory_symlink(victim, site.dest);
    } else {
      fs::create_directory_symlink(victim, site.dest / "link");
    }
    ASSERT_EQ(site.Unpack(p.Build()), pkg::kOk);
    EXPECT_EQ(Snapshot(victim), (std::map<std::string, std::string>{
                                    {"precious.txt", "file:do not delete"}}));
    EXPECT_FALSE(fs::is_symlink(site.dest));
    EXPECT_EQ(Snapshot(site.dest), ExpectedTree(p));
  }
}

// ---- The builder command ----------------------------------------------------------

struct RunResult {
  int code;
  std::string output;
};

RunResult RunBuilder(const std::string& args) {
  std::string cmd = std::string(PKGBUILD_PATH) + " " + args + " 2>&1";
  FILE* f = popen(cmd.c_str(), "r");
  RunResult r{-1, ""};
  char buf[512];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.output.append(buf, n);
  int status = pclose(f);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

struct BuilderSite {
  TempDir tmp;
  fs::path stub = tmp.path() / "stub.exe";
  fs::path in = tmp.path() / "in";
  fs::path out = tmp.path() / "out.drv";
  BuilderSite() {
    Bytes s = FromString("MZ");
    s.resize(512, 0x90);
    WriteAll(stub, s);
    WriteAll(in / "drivers" / "i386" / "DL5100.DLL", Text(50000));
    WriteAll(in / "drivers" / "data" / "DL5100.PPD", FromString("*PPD-Adobe: \"4.3\"\n"));
    WriteAll(in / "README.TXT", Random(100, 5));
  }
  std::string Args() const { return stub.string() + " " + in.string() + " " + out.string(); }
};

TEST(PackageBuilder, BuildsAPackageThatUnpacksToTheInputTree) {
  BuilderSite site;
  RunResult r = RunBuilder(site.Args());
  ASSERT_EQ(r.code, 0) << r.output;

  Bytes package = ReadAll(site.out);
  Bytes stub = ReadAll(site.stub);
  ASSERT_GT(package.size(), stub.size());
  EXPECT_TRUE(std::equal(stub.begin(), stub.end(), package.begin()));
  const uint8_t* p;
  size_t n;
  ASSERT_EQ(pkg::FindPayload(package.data(), package.size(), &p, &n), pkg::kOk);
  EXPECT_EQ(p, package.data() + stub.size());

  UnpackSite unpack;
  ASSERT_EQ(unpack.Unpack(Bytes(p, p + n)), pkg::kOk);
  EXPECT_EQ(Snapshot(unpack.dest), Snapshot(site.in));

  RunResult list = RunBuilder("--list " + site.out.string());
  EXPECT_EQ(list.code, 0) << list.output;
  EXPECT_NE(list.output.find("drivers/i386/DL5100.DLL"), std::string::npos) << list.output;
}

TEST(PackageBuilder, RefusesWithAClearMessage) {
  struct Case {
    const char* what;
    std::function<std::string(BuilderSite&)> prepare;  // gives the arguments
    int code;
    const char* message;
  } cases[] = {
      {"no arguments", [](BuilderSite&) { return std::string(); }, 2, "usage: pkgbuild"},
      {"too few arguments", [](BuilderSite& s) { return s.stub.string(); }, 2, "usage: pkgbuild"},
      {"missing stub",
       [](BuilderSite& s) { return (s.tmp.path() / "nope.exe").string() + " " + s.in.string() + " " + s.out.string(); },
       1, "cannot read the stub"},
      {"stub not a program",
       [](BuilderSite& s) { WriteAll(s.stub, FromString("#!/bin/sh\n")); return s.Args(); }, 1,
       "not a Windows program"},
      {"missing input folder",
       [](BuilderSite& s) { fs::remove_all(s.in); return s.Args(); }, 1, "input folder not found"},
      {"empty input folder",
       [](BuilderSite& s) { fs::remove_all(s.in); fs::create_directory(s.in); return s.Args(); }, 1,
       "no files in"},
      {"name with a colon",
       [](BuilderSite& s) { WriteAll(s.in / "a:b.dll", FromString("x")); return s.Args(); }, 1,
       "\"a:b.dll\""},
      {"device name",
       [](BuilderSite& s) { WriteAll(s.in / "drivers" / "aux.dll", FromString("x")); return s.Args(); }, 1,
       "\"drivers/aux.dll\""},
      {"names equal on Windows",
       [](BuilderSite& s) { WriteAll(s.in / "readme.txt", FromString("x")); return s.Args(); }, 1,
       "letter case"},
      {"link in the folder",
       [](BuilderSite& s) { fs::create_symlink("/etc/hostname", s.in / "host"); return s.Args(); }, 1,
       "not a regular file"},
      {"output inside the input folder",
       [](BuilderSite& s) { return s.stub.string() + " " + s.in.string() + " " + (s.in / "x.drv").string(); }, 1,
       "must not be inside the input folder"},
      {"unwritable output",
       [](BuilderSite& s) { return s.stub.string() + " " + s.in.string() + " " + (s.tmp.path() / "no/dir/x.drv").string(); },
       1, "cannot write"},
      {"listing a file that is no package",
       [](BuilderSite& s) { return "--list " + s.stub.string(); }, 1, "not a driver package"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuilderSite site;
    RunResult r = RunBuilder(c.prepare(site));
    EXPECT_EQ(r.code, c.code) << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(site.out));  // no package, not even half of one
  }
}

}  // namespace
