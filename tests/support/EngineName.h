// Names a parameterised engine test by its engine's name ("Qt", "Headless", "System").
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zel_test {

struct EngineName {
  template <typename P>
  std::string operator()(const testing::TestParamInfo<P>& info) const {
    return info.param.name;
  }
};

}  // namespace zel_test
