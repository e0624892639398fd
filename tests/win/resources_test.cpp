// What Windows reads from the program file: its page, version and manifest
// (this exe carries the product's resource script), through the system's own
// calls; and the code page a test run really has.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring OwnPath() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    return path;
}

std::string Resource(const wchar_t* name, const wchar_t* type) {
    HRSRC r = FindResourceW(nullptr, name, type);
    if (!r) return {};
    HGLOBAL g = LoadResource(nullptr, r);
    const auto* p = static_cast<const char*>(LockResource(g));
    return p ? std::string(p, SizeofResource(nullptr, r)) : std::string();
}

TEST(Resources, ThePageVersionAndManifestAreInTheProgramFile) {
    const std::string page = Resource(L"00.HTML", MAKEINTRESOURCEW(23));  // RT_HTML
    EXPECT_NE(page.find("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"), std::string::npos);
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);

    const std::wstring path = OwnPath();
    DWORD ignored = 0xdeadbeef;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404B0\\ProductName",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_EQ(std::wstring(text), L"直播音效板");
}

// Every run of these tests names the ANSI code page it is meant to have in
// SB_EXPECT_ACP (936 for the main run, 1252 for the Western one): this proves
// that it has it, so a read-back that passes was read back under that page.
TEST(CodePage, TheRunHasTheCodePageItWasStartedFor) {
    const char* want = std::getenv("SB_EXPECT_ACP");
    ASSERT_NE(want, nullptr) << "SB_EXPECT_ACP is not set: the run does not say which code page it is for";
    EXPECT_EQ(GetACP(), UINT(std::atoi(want)));
}

}  // namespace
