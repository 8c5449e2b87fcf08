// The message-list dialog's clear button: an existing message-list file is
// left with exactly its stylesheet line; without a file nothing is made.
// The text box stays empty either way.
#include "tests/unit/support/UiTestSupport.h"

#include "core/CUtils.h"
#include "shell/ShowMsgDlg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string STYLESHEET_LINE = "<link rel=\"stylesheet\" href=\"../etc/message.css\" type=\"text/css\">\r\n";

std::string fileBytes(const CString& path)
{
    std::ifstream file(path.GetString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool exists(const CString& path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The real place of the file in the prefix's system folder; the folders the
// test makes are removed again.
class MessageList : public testing::Test {
protected:
    void SetUp() override
    {
        drevik = CUtils::getSystemDirectory() + "\\Drevik";
        data = drevik + "\\data";
        file = data + "\\MessageList.mmf";
        ASSERT_EQ(CShowMsgDlg::messageListPath(), file);
        ASSERT_FALSE(exists(drevik)) << "left over from elsewhere";
    }

    void TearDown() override
    {
        dialog.DestroyWindow();
        DeleteFileA(file);
        RemoveDirectoryA(data);
        RemoveDirectoryA(drevik);
    }

    void clear()
    {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_CLEAR, BN_CLICKED),
                           (LPARAM)::GetDlgItem(dialog, IDC_BUTTON_CLEAR));
    }

    CString textBox()
    {
        CString text;
        dialog.GetDlgItemText(IDC_RICHEDIT_MESSAGE_LIST, text);
        return text;
    }

    CString drevik;
    CString data;
    CString file;
    CShowMsgDlg dialog;
};

TEST_F(MessageList, ClearingLeavesExactlyTheStylesheetLine)
{
    CreateDirectoryA(drevik, NULL);
    CreateDirectoryA(data, NULL);
    {
        std::ofstream old(file.GetString(), std::ios::binary);
        old << STYLESHEET_LINE << "<p>小李 09:00:01</p>\r\n<p>你好</p>\r\n";
    }
    ASSERT_TRUE(dialog.Create(IDD_SHOW_MSG_DLG, NULL));
    EXPECT_EQ(textBox(), "");
    clear();
    EXPECT_EQ(fileBytes(file), STYLESHEET_LINE);
    EXPECT_EQ(textBox(), "");

    clear();
    EXPECT_EQ(fileBytes(file), STYLESHEET_LINE) << "the same again";
}

TEST_F(MessageList, ClearingWithoutAFileChangesNothing)
{
    ASSERT_TRUE(dialog.Create(IDD_SHOW_MSG_DLG, NULL));
    clear();
    EXPECT_FALSE(exists(drevik)) << "no folder made";

    CreateDirectoryA(drevik, NULL);
    CreateDirectoryA(data, NULL);
    clear();
    EXPECT_FALSE(exists(file)) << "no file made";
    EXPECT_EQ(textBox(), "");
}

}  // namespace
