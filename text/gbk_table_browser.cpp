// The GBK table of the browser page's module, read at the first use by the
// browser's own GBK decoder instead of carried in the module (where it took
// a tenth of the page). The browser's decoder reads every pair the command
// line's iconv reads exactly as iconv does, but it also reads pairs that
// iconv refuses (the user-defined areas, characters added to GB18030 since);
// those the module knows from its own list (GbkRefusedPairs) and never asks
// for, so the page accepts and refuses exactly the texts the command line
// does.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "text/gbk_table.h"

// The page's side (web/page/bridge.js): reads count pairs of bytes at pairs
// with the browser's GBK decoder and writes each pair's character (UTF-16)
// at codes; returns count, or a negative number when a pair is not exactly
// one character.
extern "C" __attribute__((import_module("tesmirol_host"), import_name("decode_gbk_pairs"))) std::int32_t
TesmirolHostDecodeGbkPairs(const unsigned char* pairs, std::uint32_t count, std::uint16_t* codes);

namespace tesmirol::text {
namespace {

constexpr std::size_t kPairCount = (kGbkLastLead - kGbkFirstLead + 1) * kGbkTrailCount;

std::vector<bool> RefusedIndices() {
  std::vector<bool> refused(kPairCount);
  for (const GbkIndexRun& run : GbkRefusedPairs()) {
    for (std::size_t index = run.first; index < std::size_t{run.first} + run.count; ++index) {
      refused.at(index) = true;
    }
  }
  return refused;
}

// The two bytes of every pair that is a character, in table order.
std::vector<unsigned char> CharacterPairs(const std::vector<bool>& refused) {
  std::vector<unsigned char> pairs;
  pairs.reserve(kPairCount * 2);
  for (std::size_t index = 0; index < kPairCount; ++index) {
    if (!refused[index]) {
      pairs.push_back(static_cast<unsigned char>(index / kGbkTrailCount + kGbkFirstLead));
      pairs.push_back(static_cast<unsigned char>(index % kGbkTrailCount + kGbkFirstTrail));
    }
  }
  return pairs;
}

// The table: the browser's character for each pair that is one, 0 for the
// others. Should the browser not read them as characters (it has no GBK
// decoder), every pair stays 0 and every Chinese text is refused rather than
// misread.
std::vector<std::uint16_t> ReadTable() {
  const std::vector<bool> refused = RefusedIndices();
  const std::vector<unsigned char> pairs = CharacterPairs(refused);
  const std::size_t count = pairs.size() / 2;
  std::vector<std::uint16_t> codes(count);
  std::vector<std::uint16_t> table(kPairCount);
  if (TesmirolHostDecodeGbkPairs(pairs.data(), static_cast<std::uint32_t>(count), codes.data()) !=
      static_cast<std::int32_t>(count)) {
    return table;
  }
  std::size_t next = 0;
  for (std::size_t index = 0; index < kPairCount; ++index) {
    if (!refused[index]) {
      table[index] = codes[next++];
    }
  }
  return table;
}

}  // namespace

std::span<const std::uint16_t> GbkDoubleByteTable() noexcept {
  static const std::vector<std::uint16_t> table = ReadTable();
  return table;
}

}  // namespace tesmirol::text
