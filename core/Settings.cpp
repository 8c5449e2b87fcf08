#include "core/Settings.h"

#include "core/CRegistry.h"
#include "core/CUtils.h"
#include "core/Globals.h"

namespace {

const int VALUE_BUFFER = 260;
const int SHARE_FOLDERS_BUFFER = 6144;

const char* const RUN_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const AUTO_START_VALUE = "VURaruvada";

CString settingsFilePath(const CString& systemDirectory)
{
    return systemDirectory + "\\ZQ.ini";
}

CString readValue(const CString& file, const char* section, const char* key,
                  const char* defaultText, int bufferSize)
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

void writeValue(const CString& file, const char* section, const char* key, const char* text)
{
    WritePrivateProfileStringA(section, key, text, file);
}

const char* flagText(BOOL flag)
{
    return flag ? "true" : "false";
}

void storeAutoStart(BOOL autoStart)
{
    CRegistry* registry = new CRegistry(HKEY_LOCAL_MACHINE);
    if (autoStart) {
        // The Run key always exists and is only opened; asking for a
        // non-volatile key keeps the value even if it had to be created.
        if (registry->createKey(HKEY_LOCAL_MACHINE, RUN_KEY, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS)) {
            registry->writeString(AUTO_START_VALUE, CUtils::getExeDirectory() + "\\ZQ.exe");
        }
    } else {
        registry->deleteValue(HKEY_LOCAL_MACHINE, RUN_KEY, AUTO_START_VALUE);
    }
    delete registry;
}

}  // namespace

int loadConfig()
{
    CString directory = CUtils::getSystemDirectory();
    directory.Trim();
    if (directory.IsEmpty()) {
        return 0;
    }
    CString file = settingsFilePath(directory);

    isAutoStart = readFlag(file, "SYSTEM", "isAutoStart");

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
    CString file = settingsFilePath(directory);

    CString name;
    CString group;
    {
        SharedStateLock lock;
        name = userName;
        group = userGroupName;
    }

    writeValue(file, "SYSTEM", "isAutoStart", flagText(isAutoStart));
    storeAutoStart(isAutoStart);
    writeValue(file, "USER", "userName", name);
    writeValue(file, "USER", "userGroupName", group);
    writeValue(file, "SHARE", "shareFolders", shareFolders);
    writeValue(file, "PRINTSCREEN", "isOpenPrintScreen", flagText(isOpenPrintScreen));
    writeValue(file, "PRINTSCREEN", "screenImageSavePath", screenImageSavePath);
    return 0;
}
