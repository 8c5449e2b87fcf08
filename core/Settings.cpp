#include "core/Settings.h"

#include "core/CRegistry.h"
#include "core/CUtils.h"
#include "core/FileSystem.h"
#include "core/Globals.h"

#include <shlobj.h>

namespace {

const int VALUE_BUFFER = 260;
const int SHARE_FOLDERS_BUFFER = 6144;

const char* const RUN_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const AUTO_START_VALUE = "VURaruvada";

CString settingsFilePath(const CString& folder)
{
    return folder + "\\ZQ.ini";
}

// The place of the file for a user who may not write the system folder
// (a standard user under user account control, when the system keeps no
// copy of its own): the same name and format in the folder ZQ of the user's
// local application data. Empty when the system names no such folder.
CString userFolderPath()
{
    char folder[MAX_PATH];
    if (SHGetFolderPathA(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return CString();
    }
    return CString(folder) + "\\ZQ";
}

CString userFilePath()
{
    CString folder = userFolderPath();
    return folder.IsEmpty() ? folder : settingsFilePath(folder);
}

// The file the settings are read from and written to: the user's copy once
// there is one, else the file in the system folder.
CString currentFilePath(const CString& systemDirectory)
{
    CString userFile = userFilePath();
    if (!userFile.IsEmpty() && isFileExists(userFile)) {
        return userFile;
    }
    return settingsFilePath(systemDirectory);
}

CString readValue(const CString& file, const char* section, const char* key, const char* defaultText, int bufferSize)
{
    CString value;
    char* buffer = value.GetBuffer(bufferSize);
    DWORD length = GetPrivateProfileStringA(section, key, defaultText, buffer, bufferSize, file);
    value.ReleaseBuffer((int)length);
    return value;
}

bool readFlag(const CString& file, const char* section, const char* key)
{
    return readValue(file, section, key, "false", VALUE_BUFFER) == "true";
}

const char* flagText(BOOL flag)
{
    return flag ? "true" : "false";
}

BOOL writeProfileString(const char* section, const char* key, const char* text, const char* file)
{
    return WritePrivateProfileStringA(section, key, text, file);
}

BOOL writeRunValue(HKEY root, const char* text)
{
    CRegistry registry(root);
    // The Run key always exists and is only opened; asking for a
    // non-volatile key keeps the value even if it had to be created.
    return registry.createKey(root, RUN_KEY, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_QUERY_VALUE) &&
        registry.writeString(AUTO_START_VALUE, text);
}

const HKEY RUN_ROOTS[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

bool runValueExists()
{
    for (HKEY root : RUN_ROOTS) {
        CRegistry registry(root);
        if (registry.hasValue(root, RUN_KEY, AUTO_START_VALUE)) {
            return true;
        }
    }
    return false;
}

// Sets the auto-start value, under HKEY_LOCAL_MACHINE or, where that is
// refused, under the current user's Run key; or removes it from both.
// TRUE when a value is there afterwards.
BOOL storeAutoStart(BOOL autoStart)
{
    if (!autoStart) {
        for (HKEY root : RUN_ROOTS) {
            CRegistry registry(root);
            registry.deleteValue(root, RUN_KEY, AUTO_START_VALUE);
        }
        return FALSE;
    }
    CString command = CUtils::getExeDirectory() + "\\ZQ.exe";
    for (HKEY root : RUN_ROOTS) {
        if (settingsWriters.writeRunValue(root, command)) {
            return TRUE;
        }
    }
    return FALSE;
}

// Writes the settings to currentFile, or, when the first write there fails,
// all of them to the user's copy. The lines go in the file's usual order.
struct SettingsLine {
    const char* section;
    const char* key;
    CString text;
};

void writeLines(const CString& currentFile, const SettingsLine* lines, int count)
{
    CString file = currentFile;
    for (int i = 0; i < count; ++i) {
        if (settingsWriters.writeProfile(lines[i].section, lines[i].key, lines[i].text, file)) {
            continue;
        }
        CString userFile = userFilePath();
        if (i != 0 || userFile.IsEmpty() || userFile == file) {
            continue;
        }
        file = userFile;
        CreateDirectoryA(userFolderPath(), NULL);
        settingsWriters.writeProfile(lines[i].section, lines[i].key, lines[i].text, file);
    }
}

}  // namespace

SettingsWriters settingsWriters = {writeProfileString, writeRunValue};

int loadConfig()
{
    CString directory = CUtils::getSystemDirectory();
    directory.Trim();
    if (directory.IsEmpty()) {
        return 0;
    }
    CString file = currentFilePath(directory);

    // Auto-start is on only while a Run value says so.
    isAutoStart = readFlag(file, "SYSTEM", "isAutoStart") && runValueExists();

    CString name = readValue(file, "USER", "userName", "", VALUE_BUFFER);
    name.Trim();
    if (name.IsEmpty()) {
        name = CUtils::getHostName();
    }
    CString group = readValue(file, "USER", "userGroupName", "", VALUE_BUFFER);
    group.Trim();
    if (group.IsEmpty()) {
        group = "WorkGroup";
    }
    {
        SharedStateLock lock;
        userName = name;
        userGroupName = group;
    }

    shareFolders = readValue(file, "SHARE", "shareFolders", "", SHARE_FOLDERS_BUFFER);
    isOpenPrintScreen = readFlag(file, "PRINTSCREEN", "isOpenPrintScreen");
    screenImageSavePath = readValue(file, "PRINTSCREEN", "screenImageSavePath", "ZQScreenImages", VALUE_BUFFER);
    return 0;
}

int saveConfig()
{
    CString directory = CUtils::getSystemDirectory();
    if (directory.IsEmpty()) {
        return 0;
    }
    CString file = currentFilePath(directory);

    CString name;
    CString group;
    {
        SharedStateLock lock;
        name = userName;
        group = userGroupName;
    }

    // A value that could not be written anywhere turns auto-start off, so
    // that the setting never claims what is not so.
    isAutoStart = storeAutoStart(isAutoStart);
    const SettingsLine lines[] = {
        {"SYSTEM", "isAutoStart", flagText(isAutoStart)},
        {"USER", "userName", name},
        {"USER", "userGroupName", group},
        {"SHARE", "shareFolders", shareFolders},
        {"PRINTSCREEN", "isOpenPrintScreen", flagText(isOpenPrintScreen)},
        {"PRINTSCREEN", "screenImageSavePath", screenImageSavePath},
    };
    writeLines(file, lines, sizeof lines / sizeof lines[0]);
    return 0;
}

BOOL hasSettingsFile()
{
    CString directory = CUtils::getSystemDirectory();
    directory.Trim();
    return !directory.IsEmpty() && isFileExists(currentFilePath(directory));
}
