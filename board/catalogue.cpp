#include "board/catalogue.h"

#include <array>

// The clips themselves, placed in read-only data by clips_data.S.
extern "C" {
extern const ByteBlob kClipButton01;
extern const ByteBlob kClipButton02;
extern const ByteBlob kClipButton03;
extern const ByteBlob kClipButton04;
extern const ByteBlob kClipButton05;
extern const ByteBlob kClipButton07;
extern const ByteBlob kClipButton08;
extern const ByteBlob kClipButton09;
extern const ByteBlob kClipButton10;
extern const ByteBlob kClipButton11;
extern const ByteBlob kClipButton12;
extern const ByteBlob kClipButton13;
extern const ByteBlob kClipButton14;
extern const ByteBlob kClipButton15;
extern const ByteBlob kClipButton16;
extern const ByteBlob kClipButton17;
extern const ByteBlob kClipButton18;
extern const ByteBlob kClipButton19;
extern const ByteBlob kClipButton20;
extern const ByteBlob kClipButton21;
extern const ByteBlob kClipButton22;
extern const ByteBlob kClipButton23;
extern const ByteBlob kClipButton24;
extern const ByteBlob kClipButton25;
extern const ByteBlob kClipButton26;
extern const ByteBlob kClipButton27;
extern const ByteBlob kClipButton28;
extern const ByteBlob kClipButton29;
extern const ByteBlob kClipButton30;
extern const ByteBlob kClipButton31;
extern const ByteBlob kClipButton32;
extern const ByteBlob kClipButton33;
extern const ByteBlob kClipButton34;
extern const ByteBlob kClipButton35;
extern const ByteBlob kClipButton36;
extern const ByteBlob kClipButton37;
extern const ByteBlob kClipButton38;
extern const ByteBlob kClipButton39;
extern const ByteBlob kClipButton40;
extern const ByteBlob kClipButton41;
extern const ByteBlob kClipButton42;
extern const ByteBlob kClipButton43;
extern const ByteBlob kClipButton44;
extern const ByteBlob kClipButton45;
extern const ByteBlob kClipStartup;
}

namespace board {
namespace {

const std::array<SoundClip, 44> kClips{{
    {0x160100BB, "超级按钮1", "大众笑声", &kClipButton01},
    {0x160100C0, "超级按钮2", "男人奸笑", &kClipButton02},
    {0x160100C3, "超级按钮3", "邪恶地笑", &kClipButton03},
    {0x160100C6, "超级按钮4", "小孩哭笑", &kClipButton04},
    {0x160100CA, "超级按钮5", "口哨声音", &kClipButton05},
    {0x160100CC, "超级按钮7", "女生媚笑", &kClipButton07},
    {0x160100CD, "超级按钮8", "女生尖叫", &kClipButton08},
    {0x160100CE, "超级按钮9", "接吻声音", &kClipButton09},
    {0x160100D7, "超级按钮10", "女人砍刀", &kClipButton10},
    {0x160100D8, "超级按钮11", "机枪枪毙", &kClipButton11},
    {0x160100D9, "超级按钮12", "送去医院", &kClipButton12},
    {0x160100DA, "超级按钮13", "撒娇摇头", &kClipButton13},
    {0x160100E1, "超级按钮14", "笑声鼓掌", &kClipButton14},
    {0x160100E2, "超级按钮15", "尖叫鼓掌", &kClipButton15},
    {0x160100E3, "超级按钮16", "稍微鼓掌", &kClipButton16},
    {0x160100E4, "超级按钮17", "正常鼓掌", &kClipButton17},
    {0x160100EE, "超级按钮18", "我鄙视你", &kClipButton18},
    {0x160100EF, "超级按钮19", "震撼屁声", &kClipButton19},
    {0x160100F0, "超级按钮20", "做人厚道", &kClipButton20},
    {0x160100F1, "超级按钮21", "乌鸦飞过", &kClipButton21},
    {0x16010100, "超级按钮22", "手枪声音", &kClipButton22},
    {0x16010101, "超级按钮23", "心跳声音", &kClipButton23},
    {0x16010102, "超级按钮24", "Karvon笑", &kClipButton24},
    {0x16010103, "超级按钮25", "打碎玻璃", &kClipButton25},
    {0x1601010E, "超级按钮26", "猪快出来", &kClipButton26},
    {0x1601010F, "超级按钮27", "你快来呀", &kClipButton27},
    {0x16010110, "超级按钮28", "真的是猪", &kClipButton28},
    {0x16010111, "超级按钮29", "各种狂笑", &kClipButton29},
    {0x16010120, "超级按钮30", "我太有才", &kClipButton30},
    {0x16010121, "超级按钮31", "不要逼我", &kClipButton31},
    {0x16010122, "超级按钮32", "老折磨我", &kClipButton32},
    {0x16010123, "超级按钮33", "一会再说", &kClipButton33},
    {0x16010124, "超级按钮34", "葵花点穴", &kClipButton34},
    {0x16010125, "超级按钮35", "我是胡侃", &kClipButton35},
    {0x16010126, "超级按钮36", "回家吃吧", &kClipButton36},
    {0x16010127, "超级按钮37", "我要走了", &kClipButton37},
    {0x16010143, "超级按钮38", "吐得习惯", &kClipButton38},
    {0x16010144, "超级按钮39", "爱拍马屁", &kClipButton39},
    {0x16010145, "超级按钮40", "后果严重", &kClipButton40},
    {0x16010146, "超级按钮41", "有没天理", &kClipButton41},
    {0x16010147, "超级按钮42", "我会回来", &kClipButton42},
    {0x16010148, "超级按钮43", "他们来了", &kClipButton43},
    {0x16010149, "超级按钮44", "我很忙啊", &kClipButton44},
    {0x1601014A, "超级按钮45", "我是大海", &kClipButton45},
}};

const SoundClip kStartup{0, "", "", &kClipStartup};

}  // namespace

std::span<const SoundClip> BoardClips() { return kClips; }

const SoundClip* FindClip(std::uint32_t button) {
    for (const SoundClip& c : kClips)
        if (c.button == button) return &c;
    return nullptr;
}

const SoundClip& StartupClip() { return kStartup; }

}  // namespace board
