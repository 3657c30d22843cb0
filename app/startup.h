#pragma once

namespace morvantel {

// What the program settles before QApplication exists. False, once the user
// has been told why, where there is no display to show the windows on.
bool PrepareStart();

} // namespace morvantel
