#pragma once
// Names parameterized test cases after the `name` field of their case struct,
// so a failure reads as the case it is ("TwelveMegahertzRoundsAwayFromZero").

#include <gtest/gtest.h>

#include <string>

namespace tesmirol::testing_support {

struct CaseName {
  template <class Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

}  // namespace tesmirol::testing_support
