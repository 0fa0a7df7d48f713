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

// The crystals (in the order given) on which every rate comes within
// tolerancePercent: with no targets, the setting the dialog's code would
// use (SMOD = 0 first, its deviation as the dialog compares it); with
// targets, the best setting of the target or family. Writes each crystal
// that fits with the setting of each rate, in text, CSV or JSON, and returns
// how many fit. The caller checks the stream.
// The crystals in the order given, each frequency once: a crystal whose
// exact frequency an earlier one has (the preset list holds a few twice) is
// left out; texts that give no exact frequency are compared as texts.
std::vector<InputText> DistinctCrystals(std::span<const InputText> crystals);

// With a link request (--peer) each rate's link to the peer is checked too,
// and the crystals are ranked by their links: the best verdict first, then
// the largest tolerance left to this 8051's clock (the least of its rates'),
// the order given on a tie; the link's words follow each text row (in the
// language), CSV rows get the columns link and max_clock_tolerance_ppm, JSON
// objects a "link" object per crystal and per rate.
std::size_t WriteCrystalFinder(std::ostream& out, std::span<const InputText> crystals,
                               std::span<const std::int32_t> rates, const std::vector<const BaudTarget*>& targets,
                               double tolerancePercent, TableFormat format,
                               const std::optional<LinkRequest>& link = std::nullopt,
                               Language language = Language::Chinese);

}  // namespace tesmirol::cli
