// The exception every failing harness call throws. GoogleTest reports it as
// a failure of the test with its text, so tests need no checks of their own
// for "the window did not appear" and the like.
#pragma once

#include <stdexcept>
#include <string>

namespace vemtra_e2e {

struct E2eError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace vemtra_e2e
