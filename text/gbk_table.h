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

}  // namespace tesmirol::text
