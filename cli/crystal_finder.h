#pragma once
// --rates: which crystals give every rate of a list within a tolerance, with
// the dialog's calculation or on a target (the best of a chip family).

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <vector>

#include "cli/command_line_options.h"
#include "cli/crystal_table.h"
#include "cli/link_options.h"
#include "engine/baud_target.h"

namespace tesmirol::cli {

// The crystals (in the order given, each frequency once) on which every
// rate comes within tolerancePercent, as answers::AnswerRatesFinder finds
// them: with no targets the dialog's setting, with targets the best of the
// target or family. Writes each crystal that fits with the setting of each
// rate, in text, CSV or JSON, and returns how many fit. The caller checks
// the stream.
//
// With a link request (--peer) each rate's link to the peer is checked too,
// and the crystals are ranked by their links (the best verdict first, then
// the largest tolerance left to this 8051's clock); the link's words follow
// each text row (in the language), CSV rows get the columns link and
// max_clock_tolerance_ppm, JSON objects a "link" object per crystal and per
// rate.
std::size_t WriteCrystalFinder(std::ostream& out, std::span<const InputText> crystals,
                               std::span<const std::int32_t> rates, const std::vector<const BaudTarget*>& targets,
                               double tolerancePercent, TableFormat format,
                               const std::optional<LinkRequest>& link = std::nullopt,
                               Language language = Language::Chinese);

}  // namespace tesmirol::cli
