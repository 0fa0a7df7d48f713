#include "cli/link_runs.h"

#include <algorithm>

#include "codegen/init_code_generator.h"

namespace tesmirol::cli {

const LinkOutcome* LinkOfUart(std::span<const LinkOutcome> links, std::string_view uart) {
  const auto found =
      std::find_if(links.begin(), links.end(), [uart](const LinkOutcome& link) { return link.uart == uart; });
  return found == links.end() ? nullptr : &*found;
}

std::optional<std::string> FirstLinkFailure(const LinkRequest& request, std::span<const LinkOutcome> links,
                                            Language language) {
  for (const LinkOutcome& link : links) {
    std::optional<std::string> failure = LinkFailure(RequestForUart(request, link.uart), link, language);
    if (failure) {
      return failure;
    }
  }
  return std::nullopt;
}

Language CodeLanguage(const CommandLineOptions& options) noexcept {
  return options.json ? Language::Chinese : options.language;
}

double CodeTolerance(const CommandLineOptions& options) noexcept {
  return std::max(kCodeTolerancePercent, options.maxErrorPercent.value_or(kCodeTolerancePercent));
}

}  // namespace tesmirol::cli
