// The page address is made from wherever the exe stands, whatever its name.
#include <gtest/gtest.h>

#include <string>

#include "web/page_address.h"

namespace {

using web::ModulePathForms;
using web::PageAddressFor;
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

TEST(PageAddressChoice, TheFullPathWhenGbkHoldsItAndTheAddressCarriesIt) {
    // Chinese characters and spaces are carried; the short form is not needed.
    EXPECT_EQ(PageAddressFor({"D:\\我的 音效\\直播 音效板.exe", "D:\\我的音~1\\直播音~1.EXE", "直播 音效板.exe"}),
              "res://D:\\我的 音效\\直播 音效板.exe/00.html");
}

TEST(PageAddressChoice, OtherwiseTheShortFormThenTheBareName) {
    // A folder GBK cannot hold (Björn, Korean): its 8.3 form.
    EXPECT_EQ(PageAddressFor({std::nullopt, "C:\\Users\\BJRN~1\\Desktop\\sb.exe", "sb.exe"}),
              "res://C:\\Users\\BJRN~1\\Desktop\\sb.exe/00.html");
    // A volume without short names: the name alone, found in the program's folder.
    EXPECT_EQ(PageAddressFor({std::nullopt, std::nullopt, "直播音效板.exe"}), "res://直播音效板.exe/00.html");
    // Characters the address would have to escape: a form without them wins,
    // even when the short form keeps them (8.3 names may hold '#' and '%').
    EXPECT_EQ(PageAddressFor({"C:\\100% #1\\sb.exe", "C:\\100%#1~1\\sb.exe", "sb.exe"}), "res://sb.exe/00.html");
    EXPECT_EQ(PageAddressFor({"C:\\a\tb\\sb.exe", std::nullopt, "sb.exe"}), "res://sb.exe/00.html");
}

TEST(PageAddressChoice, EscapedOnlyWhenNoFormCanGoAsItIsAndNothingWithoutGbk) {
    EXPECT_EQ(PageAddressFor({"C:\\#1\\s#b.exe", std::nullopt, "s#b.exe"}), "res://C:\\%231\\s%23b.exe/00.html");
    EXPECT_EQ(PageAddressFor({std::nullopt, std::nullopt, "s#b.exe"}), "res://s%23b.exe/00.html");
    EXPECT_EQ(PageAddressFor({std::nullopt, std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_EQ(PageAddressFor({"", std::nullopt, ""}), std::nullopt);
}

}  // namespace
