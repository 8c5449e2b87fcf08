#pragma once

#include "classlib/Types.h"

// The settings file ZQ.ini and the auto-start value. Both run on the
// user-interface thread.
//
// The file lives in the system folder. Where that cannot be written (a
// standard user under user account control, when the system keeps no copy
// of its own), the same file goes to the user's local application data
// folder ZQ, and from then on is read and written there. The
// auto-start value goes under HKEY_LOCAL_MACHINE's Run key, or under the
// current user's where the machine's refuses it.

// Reads the six settings globals from the file; missing keys give their
// defaults. isAutoStart is TRUE only when the file says so and a Run value
// exists. Always returns 0.
int loadConfig();

// Sets or removes the auto-start value after isAutoStart (isAutoStart turns
// FALSE when no value could be set), then writes the six settings globals to
// the file. Always returns 0.
int saveConfig();

// TRUE once settings have been saved on this machine for this user (the
// first run has no file yet).
BOOL hasSettingsFile();

// The two writes of saveConfig; tests make them fail as a standard user's
// writes fail under user account control.
struct SettingsWriters {
    BOOL (*writeProfile)(const char* section, const char* key, const char* text, const char* file);
    BOOL (*writeRunValue)(HKEY root, const char* text);  // the auto-start value under root's Run key
};
extern SettingsWriters settingsWriters;
