#include "tests/native/fake_toolhelp.h"

namespace autopause::fake {

std::vector<Toolhelp::Process> Toolhelp::processes;
bool Toolhelp::snapshotFails = false;
bool Toolhelp::firstFails = false;
int Toolhelp::opened = 0;
int Toolhelp::closed = 0;
int Toolhelp::walkCalls = 0;
std::size_t Toolhelp::cursor = 0;
bool Toolhelp::sizeSetBeforeWalk = true;

namespace {

bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The code page's upper-case mapping of one character (single byte, or
// lead << 8 | trail): ASCII, full-width Latin, Greek and Cyrillic letters.
unsigned upperCase(unsigned ch) {
  struct Range {
    unsigned first, last, upperFirst;
  };
  static const Range ranges[] = {
      {'a', 'z', 'A'},
      {0xA3E1, 0xA3FA, 0xA3C1},  // full-width a-z
      {0xA6C1, 0xA6D8, 0xA6A1},  // Greek
      {0xA7D1, 0xA7F1, 0xA7A1},  // Cyrillic
  };
  for (const Range& r : ranges)
    if (ch >= r.first && ch <= r.last) return ch - r.first + r.upperFirst;
  return ch;
}

// Reads one character and moves past it.
unsigned nextChar(const unsigned char*& p) {
  if (isLeadByte(p[0]) && p[1] != 0) {
    unsigned ch = (p[0] << 8) | p[1];
    p += 2;
    return ch;
  }
  return *p++;
}

}  // namespace

bool equalCp936(const char* a, const char* b, bool caseSensitive) {
  auto pa = reinterpret_cast<const unsigned char*>(a);
  auto pb = reinterpret_cast<const unsigned char*>(b);
  while (*pa != 0 && *pb != 0) {
    unsigned ca = nextChar(pa), cb = nextChar(pb);
    if (!caseSensitive) {
      ca = upperCase(ca);
      cb = upperCase(cb);
    }
    if (ca != cb) return false;
  }
  return *pa == 0 && *pb == 0;
}

}  // namespace autopause::fake
