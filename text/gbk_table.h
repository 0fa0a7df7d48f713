#pragma once
// The GBK (code page 936) character table of builds without iconv, generated
// at build time from the iconv of the building machine
// (cmake/scripts/generate_gbk_table.py), so that they read and write exactly
// the texts the command line does.

#include <array>
#include <cstdint>
#include <span>

namespace tesmirol::text {

constexpr unsigned kGbkFirstLead = 0x81;
constexpr unsigned kGbkLastLead = 0xFE;
constexpr unsigned kGbkFirstTrail = 0x40;
constexpr unsigned kGbkLastTrail = 0xFE;
constexpr unsigned kGbkTrailCount = kGbkLastTrail - kGbkFirstTrail + 1;

// The code point of each double-byte character, row by lead byte, column by
// trail byte (0x81..0xFE by 0x40..0xFE); 0 where the pair is no character.
std::span<const std::uint16_t> GbkDoubleByteTable() noexcept;

// Neighbouring indices of that table, first to first + count - 1.
struct GbkIndexRun {
  std::uint16_t first;
  std::uint16_t count;
};

// The pairs that are no character, as runs: what the browser page's module
// carries instead of the characters, which it asks the browser's own GBK
// decoder for (text/gbk_table_browser.cpp).
std::span<const GbkIndexRun> GbkRefusedPairs() noexcept;

}  // namespace tesmirol::text
