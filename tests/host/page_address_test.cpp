// The page address is made from wherever the exe stands, whatever its name.
#include <gtest/gtest.h>

#include <string>

#include "web/page_address.h"

namespace {

using web::ResourcePageAddress;

TEST(PageAddress, TheProgramFileWhereverItStandsKeepingItsPathWhole) {
    EXPECT_EQ(ResourcePageAddress("C:\\Tools\\soundboard.exe"), "res://C:\\Tools\\soundboard.exe/00.html");
    // Renamed, in a folder with spaces and Chinese characters (GBK bytes).
    EXPECT_EQ(ResourcePageAddress("D:\\我的 音效\\直播 音效板.exe"), "res://D:\\我的 音效\\直播 音效板.exe/00.html");
    // A network share, and a path far past MAX_PATH: nothing is cut.
    EXPECT_EQ(ResourcePageAddress("\\\\server\\share\\sb.exe"), "res://\\\\server\\share\\sb.exe/00.html");
    const std::string deep = "C:\\" + std::string(300, 'a') + "\\sb.exe";
    EXPECT_EQ(ResourcePageAddress(deep), "res://" + deep + "/00.html");
}

TEST(PageAddress, CharactersTheProtocolWouldReadAsEscapesOrPartsAreEscaped) {
    EXPECT_EQ(ResourcePageAddress("C:\\100% #1?\\sb.exe"), "res://C:\\100%25 %231%3F\\sb.exe/00.html");
    // GBK characters pass unchanged, from the lowest trail byte to the highest
    // ("丂" is 0x81 0x40, "亐" 0x81 0x7E).
    EXPECT_EQ(ResourcePageAddress("\x81\x40\x81\x7E"), "res://\x81\x40\x81\x7E/00.html");
}

}  // namespace
