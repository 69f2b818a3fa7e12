// Steps of a recording that tests and the demo take alike.
#pragma once

#include <string>

#include "driver.h"

namespace vemtra_e2e {

// Presses "録画！" until the recording's first file appears in the product
// folder `product_dir`: a press while the standby capture is still starting
// goes unheard, and a user presses again.
void PressRecord(Driver& driver, Hwnd main, const std::string& product_dir, int timeout_ms);

}  // namespace vemtra_e2e
