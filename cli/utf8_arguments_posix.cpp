#include <cstddef>
#include <span>

#include "cli/utf8_arguments.h"

namespace tesmirol::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  const std::span<char*> all(argv, static_cast<std::size_t>(argc));
  const auto arguments = all.subspan(all.empty() ? 0 : 1);
  return {arguments.begin(), arguments.end()};
}

}  // namespace tesmirol::cli
