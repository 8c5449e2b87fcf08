#pragma once

#include "classlib/CString.h"

// The texts by which the receive-progress window shows byte counts and
// speeds: G, M and K steps of 1024, each step taken only above its bound
// (1024 bytes are "1024B", 1048576 bytes "1024.0K").
namespace TransferTexts {

// "%9.2fG", "%9.1fM", "%9.1fK" or "%dB", trimmed.
CString sizeText(LONGLONG bytes);
// While a download runs: "%9.1fM/s", "%9.1fK/s" or "%9.1fB/s", trimmed.
CString speedText(double bytesPerSecond);
// The average at the end: the same, but bytes per second as a whole number.
CString averageSpeedText(double bytesPerSecond);

}  // namespace TransferTexts
