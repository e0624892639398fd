// Fatal errors end the process with -1 after the exact box; exit callbacks
// are not run on that path.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/fatal_text.h"
#include "base/text_win.h"
#include "tests/win/child_scenarios.h"
#include "tests/win/win_test_util.h"

namespace {

struct FatalCase {
    const char* scenario;
    std::wstring message;  // as the user reads it, written out here rather than converted
};

void PrintTo(const FatalCase& c, std::ostream* os) { *os << c.scenario; }

class FatalPaths : public testing::TestWithParam<FatalCase> {};

TEST_P(FatalPaths, ShowExactBoxThenExitMinusOneWithoutExitCallbacks) {
    const FatalCase& c = GetParam();
    const wintest::UniqueFile marker;  // this child's own: the cases run side by side
    ASSERT_FALSE(marker.path().empty());
    HANDLE child = wintest::StartChild(c.scenario, marker.path());
    ASSERT_NE(child, nullptr);
    const wintest::FatalBox box = wintest::ReadFatalBoxAndClose(child);
    ASSERT_TRUE(box.found) << "no message box; exit code " << box.exit_code;
    EXPECT_EQ(box.title, L"错误");
    EXPECT_EQ(box.text, L"运行时出错!\r\n\r\n错误信息：" + c.message + L"\r\n");
    EXPECT_TRUE(box.has_icon);
    EXPECT_EQ(box.exit_code, 0xFFFFFFFFu);
    EXPECT_FALSE(marker.written()) << "an exit callback ran";
}

INSTANTIATE_TEST_SUITE_P(
    Shell, FatalPaths,
    testing::Values(FatalCase{"start-window-fails", L"载入启动窗口失败"},
                    FatalCase{"property-unknown-window", L"未载入欲访问窗口组件所在的窗口"},
                    FatalCase{"class-property-unloaded", L"指定窗口尚未载入"},
                    FatalCase{"common-property-unknown-unit", L"指定窗口或窗口组件不存在或尚未载入"},
                    FatalCase{"handle-not-loaded", L"指定窗口或窗口组件不存在或尚未载入"},
                    FatalCase{"unit-not-loaded", L"指定窗口或窗口组件不存在或尚未载入"},
                    FatalCase{"unload-not-loaded", L"指定窗口或窗口组件不存在或尚未载入"},
                    FatalCase{"alloc-too-much", sizeof(void*) == 4 ? L"分配 4294967280 字节内存失败!"
                                                                    : L"分配 18446744073709551600 字节内存失败!"},
                    FatalCase{"missing-entry", L"无法找到指定DLL库文件“user32.dll”中的输出命令“NoSuchExportAnywhere”"},
                    FatalCase{"missing-library",
                              L"无法找到指定DLL库文件“no_such_library_here.dll”中的输出命令“Anything”"}),
    [](const testing::TestParamInfo<FatalCase>& i) {
        std::string n = i.param.scenario;
        for (char& ch : n)
            if (ch == '-') ch = '_';
        return n;
    });

TEST(ExitCallbacks, RunOnANormalExitWithTheirPosition) {
    const wintest::UniqueFile marker;
    ASSERT_FALSE(marker.path().empty());
    HANDLE child = wintest::StartChild("normal-exit", marker.path());
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(WaitForSingleObject(child, 20000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    EXPECT_EQ(code, 0u);
    FILE* f = std::fopen(marker.path().c_str(), "r");
    ASSERT_NE(f, nullptr);
    int position = -1;
    EXPECT_EQ(std::fscanf(f, "%d", &position), 1);
    std::fclose(f);
    EXPECT_EQ(position, 0);
}

}  // namespace
