#pragma once

// The settings file <system directory>\ZQ.ini and the auto-start value.
// Both run on the user-interface thread.

// Reads the six settings globals from the file; missing keys give their
// defaults. Always returns 0.
int loadConfig();

// Writes the six settings globals to the file and sets or removes the
// auto-start value after isAutoStart. Always returns 0.
int saveConfig();
