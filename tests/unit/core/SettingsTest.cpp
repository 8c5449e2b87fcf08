#include "core/CRegistry.h"
#include "core/CUtils.h"
#include "core/FileSystem.h"
#include "core/Globals.h"
#include "core/Settings.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

namespace {

const char* const RUN_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The real settings file of the prefix (C:\windows\system32\ZQ.ini) and the
// real auto-start value: removed before and after every test, and the
// settings globals put back as they were.
class SettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        file = std::string(CUtils::getSystemDirectory()) + "\\ZQ.ini";
        DeleteFileA(file.c_str());
        removeRunValue();
        saved[0] = userName;
        saved[1] = userGroupName;
        saved[2] = shareFolders;
        saved[3] = screenImageSavePath;
        savedFlags[0] = isAutoStart;
        savedFlags[1] = isOpenPrintScreen;
    }
    void TearDown() override
    {
        DeleteFileA(file.c_str());
        removeRunValue();
        userName = saved[0];
        userGroupName = saved[1];
        shareFolders = saved[2];
        screenImageSavePath = saved[3];
        isAutoStart = savedFlags[0];
        isOpenPrintScreen = savedFlags[1];
    }

    static void removeRunValue()
    {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            CRegistry registry(root);
            registry.deleteValue(root, RUN_KEY, "VURaruvada");
        }
    }

    void store(const char* section, const char* key, const char* value)
    {
        ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, file.c_str()));
    }
    std::string stored(const char* section, const char* key)
    {
        char value[8192];
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof(value), file.c_str());
        return value;
    }

    // The auto-start value's text; "<missing>" when there is none.
    static std::string runValue(DWORD* type = NULL, HKEY root = HKEY_LOCAL_MACHINE)
    {
        HKEY key;
        if (RegOpenKeyExA(root, RUN_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
            return "<no key>";
        }
        char data[1024] = {0};
        DWORD size = sizeof(data) - 1;
        DWORD valueType = 0;
        LONG result = RegQueryValueExA(key, "VURaruvada", NULL, &valueType, (BYTE*)data, &size);
        RegCloseKey(key);
        if (type != NULL) {
            *type = valueType;
        }
        return result == ERROR_SUCCESS ? std::string(data) : std::string("<missing>");
    }

    void setAllGlobals(const char* text, BOOL flag)
    {
        userName = text;
        userGroupName = text;
        shareFolders = text;
        screenImageSavePath = text;
        isAutoStart = flag;
        isOpenPrintScreen = flag;
    }

    std::string file;
    CString saved[4];
    BOOL savedFlags[2];
};

// The user's copy of the settings file, where saveConfig writes when the
// system folder refuses.
std::string userCopyPath()
{
    char folder[MAX_PATH];
    SHGetFolderPathA(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\ZQ\\ZQ.ini";
}

// A standard user under user account control, where the system keeps no
// copy of its own: writes to the system folder and under
// HKEY_LOCAL_MACHINE fail; with refuseEveryRunKey, the user's Run key
// refuses too.
bool refuseEveryRunKey = false;

BOOL writeProfileAsStandardUser(const char* section, const char* key, const char* text, const char* path)
{
    CString systemDirectory = CUtils::getSystemDirectory();
    if (_strnicmp(path, systemDirectory, systemDirectory.GetLength()) == 0)
        return FALSE;
    return WritePrivateProfileStringA(section, key, text, path);
}

BOOL writeRunValueAsStandardUser(HKEY root, const char* text)
{
    if (root == HKEY_LOCAL_MACHINE || refuseEveryRunKey)
        return FALSE;
    HKEY key;
    if (RegCreateKeyExA(root, RUN_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return FALSE;
    LONG result = RegSetValueExA(key, "VURaruvada", 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

class SettingsUnderUacTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        DeleteFileA(userCopyPath().c_str());
        savedWriters = settingsWriters;
        settingsWriters.writeProfile = writeProfileAsStandardUser;
        settingsWriters.writeRunValue = writeRunValueAsStandardUser;
        refuseEveryRunKey = false;
    }
    void TearDown() override
    {
        settingsWriters = savedWriters;
        DeleteFileA(userCopyPath().c_str());
        SettingsTest::TearDown();
    }
    std::string storedInUserCopy(const char* section, const char* key)
    {
        char value[1024];
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof(value), userCopyPath().c_str());
        return value;
    }

    SettingsWriters savedWriters;
};

TEST_F(SettingsUnderUacTest, SettingsSurviveTheNextStartInTheUsersCopy)
{
    ASSERT_FALSE(hasSettingsFile());
    setAllGlobals("x", FALSE);
    userName = "小李";
    userGroupName = "研发部";
    isAutoStart = TRUE;
    saveConfig();

    EXPECT_FALSE(isFileExists(file.c_str()));
    EXPECT_EQ(storedInUserCopy("USER", "userName"), "小李");
    EXPECT_EQ(storedInUserCopy("SYSTEM", "isAutoStart"), "true");
    EXPECT_EQ(runValue(), "<missing>");
    EXPECT_EQ(runValue(NULL, HKEY_CURRENT_USER), std::string(CUtils::getExeDirectory()) + "\\ZQ.exe");
    EXPECT_TRUE(isAutoStart);

    // The next start: no first run, everything as it was saved.
    setAllGlobals("junk", FALSE);
    EXPECT_TRUE(hasSettingsFile());
    loadConfig();
    EXPECT_STREQ(userName, "小李");
    EXPECT_STREQ(userGroupName, "研发部");
    EXPECT_STREQ(shareFolders, "x");
    EXPECT_TRUE(isAutoStart);

    // Switched off, the value leaves the user's Run key too.
    isAutoStart = FALSE;
    saveConfig();
    EXPECT_EQ(runValue(NULL, HKEY_CURRENT_USER), "<missing>");
    EXPECT_EQ(storedInUserCopy("SYSTEM", "isAutoStart"), "false");
}

TEST_F(SettingsUnderUacTest, AutoStartIsOnOnlyWhereARunValueExists)
{
    // Neither Run key takes the value: auto-start does not claim to be on.
    refuseEveryRunKey = true;
    isAutoStart = TRUE;
    saveConfig();
    EXPECT_FALSE(isAutoStart);
    EXPECT_EQ(storedInUserCopy("SYSTEM", "isAutoStart"), "false");
    loadConfig();
    EXPECT_FALSE(isAutoStart);

    // The value removed by someone else: the file's "true" is not enough.
    refuseEveryRunKey = false;
    isAutoStart = TRUE;
    saveConfig();
    EXPECT_TRUE(isAutoStart);
    removeRunValue();
    loadConfig();
    EXPECT_FALSE(isAutoStart);
}

TEST_F(SettingsTest, WithoutAFileEverySettingTakesItsDefault)
{
    ASSERT_FALSE(isFileExists(file.c_str()));
    setAllGlobals("junk", TRUE);
    EXPECT_EQ(loadConfig(), 0);
    EXPECT_FALSE(isAutoStart);
    EXPECT_STREQ(userName, CUtils::getHostName());
    EXPECT_STREQ(userGroupName, "WorkGroup");
    EXPECT_STREQ(shareFolders, "");
    EXPECT_FALSE(isOpenPrintScreen);
    EXPECT_STREQ(screenImageSavePath, "ZQScreenImages");
}

struct StoredCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
    // What the settings read back after loading.
    BOOL autoStart;
    BOOL printScreen;
    const char* userName;  // NULL: the host name
    const char* groupName;
    const char* imagePath;
};

TEST_F(SettingsTest, StoredValuesAreReadByTheirRules)
{
    const StoredCase cases[] = {
        // No Run value: auto-start is not on, whatever the file says.
        {"flag true", "SYSTEM", "isAutoStart", "true", FALSE, FALSE, NULL, "WorkGroup", "ZQScreenImages"},
        {"flag TRUE", "SYSTEM", "isAutoStart", "TRUE", FALSE, FALSE, NULL, "WorkGroup", "ZQScreenImages"},
        {"flag 1", "SYSTEM", "isAutoStart", "1", FALSE, FALSE, NULL, "WorkGroup", "ZQScreenImages"},
        {"screen flag true", "PRINTSCREEN", "isOpenPrintScreen", "true", FALSE, TRUE, NULL, "WorkGroup",
         "ZQScreenImages"},
        {"name with blanks around", "USER", "userName", " \t李 四\t ", FALSE, FALSE, "李 四", "WorkGroup",
         "ZQScreenImages"},
        {"name of blanks only", "USER", "userName", "   ", FALSE, FALSE, NULL, "WorkGroup", "ZQScreenImages"},
        {"empty group", "USER", "userGroupName", "", FALSE, FALSE, NULL, "WorkGroup", "ZQScreenImages"},
        {"group", "USER", "userGroupName", "研发-Web", FALSE, FALSE, NULL, "研发-Web", "ZQScreenImages"},
        {"empty image folder", "PRINTSCREEN", "screenImageSavePath", "", FALSE, FALSE, NULL, "WorkGroup", ""},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(file.c_str());
        store(c.section, c.key, c.value);
        setAllGlobals("junk", !c.autoStart);
        loadConfig();
        EXPECT_EQ(isAutoStart, c.autoStart);
        EXPECT_EQ(isOpenPrintScreen, c.printScreen);
        EXPECT_STREQ(userName, c.userName != NULL ? CString(c.userName) : CUtils::getHostName());
        EXPECT_STREQ(userGroupName, c.groupName);
        EXPECT_STREQ(screenImageSavePath, c.imagePath);
    }
}

TEST_F(SettingsTest, SaveWritesEverySectionEvenWhenEmpty)
{
    setAllGlobals("", FALSE);
    EXPECT_EQ(saveConfig(), 0);
    EXPECT_EQ(stored("SYSTEM", "isAutoStart"), "false");
    EXPECT_EQ(stored("USER", "userName"), "");
    EXPECT_EQ(stored("USER", "userGroupName"), "");
    EXPECT_EQ(stored("SHARE", "shareFolders"), "");
    EXPECT_EQ(stored("PRINTSCREEN", "isOpenPrintScreen"), "false");
    EXPECT_EQ(stored("PRINTSCREEN", "screenImageSavePath"), "");

    // An empty group comes back as "WorkGroup" and is stored so next time.
    loadConfig();
    saveConfig();
    EXPECT_EQ(stored("USER", "userGroupName"), "WorkGroup");
}

struct LengthCase {
    const char* name;
    CString* global;
    int storedLength;
    int loadedLength;
};

TEST_F(SettingsTest, LongValuesAreCutToTheirReadLimits)
{
    const LengthCase cases[] = {
        {"share list that fits", &shareFolders, 6143, 6143},
        {"share list one too long", &shareFolders, 6144, 6143},
        {"share list far too long", &shareFolders, 9000, 6143},
        {"user name of 259", &userName, 259, 259},
        {"user name of 300", &userName, 300, 259},
        {"image folder of 300", &screenImageSavePath, 300, 259},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.name);
        setAllGlobals("v", TRUE);
        isAutoStart = FALSE;
        CString value('s', c.storedLength);
        *c.global = value;
        saveConfig();
        *c.global = "";
        loadConfig();
        EXPECT_EQ(c.global->GetLength(), c.loadedLength);
        EXPECT_STREQ(*c.global, value.Left(c.loadedLength));
        EXPECT_TRUE(isOpenPrintScreen);
        EXPECT_STREQ(userGroupName, "v");
    }
}

TEST_F(SettingsTest, AutoStartValueNamesZqExeInTheProgramsFolder)
{
    std::string expected = std::string(CUtils::getExeDirectory()) + "\\ZQ.exe";
    ASSERT_EQ(runValue(), "<missing>");

    isAutoStart = TRUE;
    saveConfig();
    DWORD type = 0;
    EXPECT_EQ(runValue(&type), expected);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(stored("SYSTEM", "isAutoStart"), "true");

    isAutoStart = FALSE;
    saveConfig();
    EXPECT_EQ(runValue(), "<missing>");
    EXPECT_EQ(stored("SYSTEM", "isAutoStart"), "false");

    // Switching it off again changes nothing and reports nothing.
    saveConfig();
    EXPECT_EQ(runValue(), "<missing>");
}

TEST_F(SettingsTest, RegistryWrapperReportsEachCall)
{
    CRegistry registry(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.createKey(HKEY_LOCAL_MACHINE, RUN_KEY, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS));
    EXPECT_NE(registry.key, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry.lastError, ERROR_SUCCESS);

    EXPECT_TRUE(registry.writeString("VURaruvada", "C:\\工具\\ZQ.exe"));
    EXPECT_EQ(registry.lastType, (DWORD)REG_SZ);
    EXPECT_EQ(registry.lastSize, (DWORD)strlen("C:\\工具\\ZQ.exe") + 1);
    EXPECT_EQ(runValue(), "C:\\工具\\ZQ.exe");

    EXPECT_TRUE(registry.deleteValue(HKEY_LOCAL_MACHINE, RUN_KEY, "VURaruvada"));
    EXPECT_EQ(registry.lastType, 0u);
    EXPECT_EQ(registry.lastSize, 0u);
    EXPECT_FALSE(registry.deleteValue(HKEY_LOCAL_MACHINE, RUN_KEY, "VURaruvada"));
    EXPECT_EQ(registry.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(runValue(), "<missing>");
}

}  // namespace
