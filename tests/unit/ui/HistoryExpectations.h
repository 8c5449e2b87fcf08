#pragma once

#include <gtest/gtest.h>

#include <string>

// Checks one history entry byte for byte: sender, " ", hh:mm:ss, the
// full-width colon, "\r\n", text.
inline testing::AssertionResult isHistoryEntry(const std::string& entry, const std::string& sender,
                                               const std::string& text)
{
    const std::string colon = "：\r\n";
    std::string expectedStart = sender + " ";
    size_t timeAt = expectedStart.size();
    bool ok = entry.size() == timeAt + 8 + colon.size() + text.size() && entry.compare(0, timeAt, expectedStart) == 0 &&
        entry.compare(timeAt + 8, colon.size(), colon) == 0 &&
        entry.compare(timeAt + 8 + colon.size(), std::string::npos, text) == 0;
    for (int i = 0; ok && i < 8; ++i) {
        char c = entry[timeAt + i];
        ok = (i == 2 || i == 5) ? c == ':' : (c >= '0' && c <= '9');
    }
    if (ok) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "not an entry of " << sender << " with " << testing::PrintToString(text)
                                       << ": " << testing::PrintToString(entry);
}
