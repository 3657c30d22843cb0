#pragma once

#include <optional>

namespace morvantel::win32 {

// The DPI Windows draws its desktop at (96 at 100 %, 120 at 125 %, 144 at
// 150 %), as it tells programs that follow the DPI, read before Qt starts:
// the desktop's font DPI. Nothing where Windows does not tell.
std::optional<double> SystemDpi();

} // namespace morvantel::win32
