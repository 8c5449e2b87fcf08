#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>

// Every text of the program is code page 936; without the generated
// zh_CN.UTF-8 locale Wine silently runs in 1252 and every GBK test is void.
TEST(Environment, AnsiCodePageIs936)
{
    ASSERT_EQ(GetACP(), 936u) << "Wine is not running in code page 936: generate the zh_CN.UTF-8 locale "
                                 "(scripts/setup.sh) and run Wine with LC_ALL=zh_CN.UTF-8";
    EXPECT_EQ(strlen("全部好友"), 8u);
}
