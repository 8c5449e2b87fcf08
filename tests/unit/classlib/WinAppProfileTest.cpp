#include "classlib/CWinApp.h"

#include <gtest/gtest.h>

namespace {

const char TEST_KEY[] = "ZQ Test Profile";

void setValue(HKEY key, const char* name, const char* text)
{
    ::RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
}

}  // namespace

// The profile key is made on the first start, and the recent-file list is
// read back from it, no more entries than asked for.
TEST(ApplicationProfile, LivesUnderItsRegistryKeyAndKeepsTheRecentFiles)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + TEST_KEY);
    CWinApp app;
    app.SetRegistryKey(TEST_KEY);
    CString path = app.GetProfileKeyPath();
    EXPECT_EQ(path, CString("Software\\ZQ Test Profile\\classlib_tests"));

    app.LoadStdProfileSettings(4);
    EXPECT_EQ(app.m_recentFiles.GetSize(), 0);
    HKEY key = NULL;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path + "\\Recent File List", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    setValue(key, "File1", "C:\\a.txt");
    setValue(key, "File3", "C:\\c.txt");
    setValue(key, "File5", "C:\\e.txt");
    ::RegCloseKey(key);

    app.LoadStdProfileSettings(4);
    ASSERT_EQ(app.m_recentFiles.GetSize(), 2);
    EXPECT_EQ(app.m_recentFiles[0], CString("C:\\a.txt"));
    EXPECT_EQ(app.m_recentFiles[1], CString("C:\\c.txt"));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + TEST_KEY);
}
