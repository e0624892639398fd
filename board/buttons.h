#pragma once
// The board's 44 buttons, one row each, in the window's stored (creation)
// order: the window definitions and the sound catalogue are both made from
// this table.
#include <array>
#include <cstdint>

#include "base/byte_blob.h"
#include "board/clips.h"

namespace board {

struct ButtonRow {
    std::uint32_t id;        // unit identifier on the board window
    const char* name;        // designer name, GBK
    std::int32_t left, top;  // client position; every button is 80 x 16
    const char* caption;     // four characters, eight GBK bytes
    const ByteBlob* clip;    // its RIFF/WAVE file
};

inline constexpr std::size_t kCaptionBytes = 8;

inline constexpr std::array<ButtonRow, 44> kButtons{{
    {0x16010143, "超级按钮38", 102, 521, "吐得习惯", &kClipButton38},
    {0x16010144, "超级按钮39", 195, 520, "爱拍马屁", &kClipButton39},
    {0x16010145, "超级按钮40", 291, 519, "后果严重", &kClipButton40},
    {0x16010146, "超级按钮41",   8, 522, "有没天理", &kClipButton41},
    {0x16010147, "超级按钮42", 102, 487, "我会回来", &kClipButton42},
    {0x16010148, "超级按钮43", 195, 486, "他们来了", &kClipButton43},
    {0x16010149, "超级按钮44", 291, 485, "我很忙啊", &kClipButton44},
    {0x1601014A, "超级按钮45",   8, 488, "我是大海", &kClipButton45},
    {0x16010120, "超级按钮30", 102, 457, "我太有才", &kClipButton30},
    {0x16010121, "超级按钮31", 195, 456, "不要逼我", &kClipButton31},
    {0x16010122, "超级按钮32", 291, 455, "老折磨我", &kClipButton32},
    {0x16010123, "超级按钮33",   8, 458, "一会再说", &kClipButton33},
    {0x16010124, "超级按钮34", 102, 423, "葵花点穴", &kClipButton34},
    {0x16010125, "超级按钮35", 195, 422, "我是胡侃", &kClipButton35},
    {0x16010126, "超级按钮36", 291, 421, "回家吃吧", &kClipButton36},
    {0x16010127, "超级按钮37",   8, 424, "我要走了", &kClipButton37},
    {0x1601010E, "超级按钮26", 102, 392, "猪快出来", &kClipButton26},
    {0x1601010F, "超级按钮27", 195, 391, "你快来呀", &kClipButton27},
    {0x16010110, "超级按钮28", 291, 390, "真的是猪", &kClipButton28},
    {0x16010111, "超级按钮29",   8, 393, "各种狂笑", &kClipButton29},
    {0x16010100, "超级按钮22", 102, 358, "手枪声音", &kClipButton22},
    {0x16010101, "超级按钮23", 195, 357, "心跳声音", &kClipButton23},
    {0x16010102, "超级按钮24", 291, 356, "Karvon笑", &kClipButton24},
    {0x16010103, "超级按钮25",   8, 359, "打碎玻璃", &kClipButton25},
    {0x160100EE, "超级按钮18", 102, 323, "我鄙视你", &kClipButton18},
    {0x160100EF, "超级按钮19", 195, 322, "震撼屁声", &kClipButton19},
    {0x160100F0, "超级按钮20", 291, 321, "做人厚道", &kClipButton20},
    {0x160100F1, "超级按钮21",   8, 324, "乌鸦飞过", &kClipButton21},
    {0x160100E1, "超级按钮14", 102, 289, "笑声鼓掌", &kClipButton14},
    {0x160100E2, "超级按钮15", 195, 288, "尖叫鼓掌", &kClipButton15},
    {0x160100E3, "超级按钮16", 291, 287, "稍微鼓掌", &kClipButton16},
    {0x160100E4, "超级按钮17",   8, 290, "正常鼓掌", &kClipButton17},
    {0x160100D7, "超级按钮10", 102, 252, "女人砍刀", &kClipButton10},
    {0x160100D8, "超级按钮11", 195, 251, "机枪枪毙", &kClipButton11},
    {0x160100D9, "超级按钮12", 291, 250, "送去医院", &kClipButton12},
    {0x160100DA, "超级按钮13",   8, 253, "撒娇摇头", &kClipButton13},
    {0x160100CE, "超级按钮9", 101, 215, "接吻声音", &kClipButton09},
    {0x160100CD, "超级按钮8", 194, 214, "女生尖叫", &kClipButton08},
    {0x160100CC, "超级按钮7", 290, 213, "女生媚笑", &kClipButton07},
    {0x160100CA, "超级按钮5",   7, 216, "口哨声音", &kClipButton05},
    {0x160100C6, "超级按钮4", 288, 178, "小孩哭笑", &kClipButton04},
    {0x160100C3, "超级按钮3", 194, 178, "邪恶地笑", &kClipButton03},
    {0x160100C0, "超级按钮2", 101, 178, "男人奸笑", &kClipButton02},
    {0x160100BB, "超级按钮1",   8, 178, "大众笑声", &kClipButton01},
}};

}  // namespace board
