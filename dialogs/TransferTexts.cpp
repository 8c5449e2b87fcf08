#include "dialogs/TransferTexts.h"

namespace TransferTexts {

namespace {

const double KILO = 1024.0;
const double MEGA = 1024.0 * 1024.0;
const double GIGA = 1024.0 * 1024.0 * 1024.0;

CString trimmed(CString text)
{
    text.Trim();
    return text;
}

// The M/s and K/s steps; false when the speed stays in bytes.
bool scaledSpeed(double bytesPerSecond, CString& text)
{
    if (bytesPerSecond > MEGA) {
        text.Format("%9.1fM/s", bytesPerSecond / MEGA);
        return true;
    }
    if (bytesPerSecond > KILO) {
        text.Format("%9.1fK/s", bytesPerSecond / KILO);
        return true;
    }
    return false;
}

}  // namespace

CString sizeText(LONGLONG bytes)
{
    CString text;
    if (bytes > (LONGLONG)GIGA) {
        text.Format("%9.2fG", bytes / GIGA);
    } else if (bytes > (LONGLONG)MEGA) {
        text.Format("%9.1fM", bytes / MEGA);
    } else if (bytes > (LONGLONG)KILO) {
        text.Format("%9.1fK", bytes / KILO);
    } else {
        text.Format("%dB", (int)bytes);
    }
    return trimmed(text);
}

CString speedText(double bytesPerSecond)
{
    CString text;
    if (!scaledSpeed(bytesPerSecond, text)) {
        text.Format("%9.1fB/s", bytesPerSecond);
    }
    return trimmed(text);
}

CString averageSpeedText(double bytesPerSecond)
{
    CString text;
    if (!scaledSpeed(bytesPerSecond, text)) {
        text.Format("%dB/s", (int)bytesPerSecond);
    }
    return trimmed(text);
}

}  // namespace TransferTexts
