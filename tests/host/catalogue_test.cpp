// The built-in clips against the catalogue: formats, sizes, the quirks each
// one carries, and that the player's walk takes every one in full.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/riff.h"
#include "board/catalogue.h"
#include "shell/definitions.h"
#include "widgets/button_props.h"

namespace {

struct Row {
    int button;
    std::uint16_t tag, channels;
    std::uint32_t rate;
    std::uint16_t bits;
    std::uint32_t file_bytes, data_bytes;
};

// The catalogue as the board's users were promised it (format tag 0x55 is
// MPEG Layer-3: block alignment 1, 4,000 bytes a second).
const Row kRows[] = {
    {1, 1, 2, 44100, 16, 1644844, 1644800},  {2, 1, 2, 44100, 16, 834156, 834048},
    {3, 1, 2, 44100, 16, 511596, 511488},    {4, 1, 2, 44100, 16, 999980, 999936},
    {5, 1, 1, 22050, 16, 28044, 28000},      {7, 1, 1, 22050, 16, 42112, 41986},
    {8, 1, 1, 22050, 16, 129580, 129536},    {9, 1, 2, 44100, 16, 23084, 23040},
    {10, 1, 2, 22050, 16, 177000, 176400},   {11, 1, 1, 22050, 16, 62716, 62672},
    {12, 1, 1, 22050, 8, 170028, 169984},    {13, 1, 1, 44100, 16, 202868, 202824},
    {14, 1, 2, 22050, 16, 699948, 699904},   {15, 1, 2, 22050, 16, 588332, 588288},
    {16, 1, 2, 44100, 16, 658844, 658800},   {17, 1, 2, 22050, 16, 744492, 744448},
    {18, 1, 2, 44100, 16, 538844, 538800},   {19, 1, 2, 44100, 16, 152044, 152000},
    {20, 1, 2, 44100, 16, 354844, 354800},   {21, 1, 2, 44100, 16, 364044, 364000},
    {22, 1, 2, 44100, 16, 414444, 414400},   {23, 1, 1, 11025, 8, 37742, 37697},
    {24, 1, 2, 44100, 16, 622044, 622000},   {25, 1, 2, 44100, 16, 1138044, 1138000},
    {26, 0x55, 1, 24000, 0, 15526, 15456},   {27, 0x55, 1, 24000, 0, 15046, 14976},
    {28, 0x55, 1, 24000, 0, 20902, 20832},   {29, 1, 2, 44100, 16, 4773644, 4773600},
    {30, 1, 1, 8000, 8, 310796, 310752},     {31, 1, 2, 44100, 16, 130208, 130164},
    {32, 1, 1, 8000, 16, 135330, 135286},    {33, 1, 1, 8000, 8, 198148, 198104},
    {34, 1, 2, 44100, 16, 557612, 557568},   {35, 1, 1, 8000, 8, 495372, 429196},
    {36, 1, 1, 8000, 8, 309262, 242494},     {37, 0x55, 1, 24000, 0, 18236, 18144},
    {38, 1, 1, 16000, 16, 83882, 83838},     {39, 1, 1, 8000, 8, 307100, 307055},
    {40, 1, 1, 16000, 16, 253234, 253190},   {41, 1, 1, 22050, 16, 115592, 115326},
    {42, 1, 2, 44100, 16, 609300, 609244},   {43, 1, 1, 22050, 8, 81209, 81165},
    {44, 1, 1, 8000, 16, 185144, 185000},    {45, 1, 1, 22050, 8, 596782, 596736},
};

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

struct Chunk {
    std::string id;
    std::uint32_t size;
    std::size_t offset;
};

// An independent walk over every chunk the file holds.
std::vector<Chunk> Chunks(std::span<const std::uint8_t> b) {
    std::vector<Chunk> out;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::uint32_t size = Le32(b.data() + at + 4);
        out.push_back({std::string(reinterpret_cast<const char*>(b.data() + at), 4), size, at});
        at += 8 + size + (size & 1);
    }
    return out;
}

std::string Ids(const std::vector<Chunk>& cs) {
    std::string s;
    for (const Chunk& c : cs) s += (s.empty() ? "" : ",") + c.id;
    return s;
}

int ButtonNumber(const board::SoundClip& c) { return std::stoi(std::string(c.name).substr(std::strlen("超级按钮"))); }

TEST(Catalogue, FortyFourClipsInButtonOrderEachMatchingItsRow) {
    const auto clips = board::BoardClips();
    ASSERT_EQ(clips.size(), std::size(kRows));
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const board::SoundClip& c = clips[i];
        const Row& r = kRows[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ButtonNumber(c), r.button);
        const auto b = c.data->bytes();
        EXPECT_EQ(c.data->dimensions, 1u);
        ASSERT_EQ(b.size(), r.file_bytes);
        const auto fmt = audio::FindWaveChunks(b);
        ASSERT_TRUE(fmt);
        EXPECT_EQ(fmt->data.size(), r.data_bytes) << "the player's walk takes the whole data chunk";
        const std::uint8_t* f = fmt->format.data();
        EXPECT_EQ(Le16(f), r.tag);
        EXPECT_EQ(Le16(f + 2), r.channels);
        EXPECT_EQ(Le32(f + 4), r.rate);
        const std::uint16_t align = r.tag == 1 ? std::uint16_t(r.channels * r.bits / 8) : 1;
        EXPECT_EQ(Le16(f + 12), align);
        EXPECT_EQ(Le32(f + 8), r.tag == 1 ? r.rate * align : 4000u);
        EXPECT_EQ(Le16(f + 14), r.bits);
    }
}

TEST(Catalogue, TheQuirksAreWhereTheyShouldBe) {
    std::map<int, std::vector<Chunk>> chunks;
    std::map<int, std::span<const std::uint8_t>> bytes;
    for (const board::SoundClip& c : board::BoardClips()) {
        chunks[ButtonNumber(c)] = Chunks(c.data->bytes());
        bytes[ButtonNumber(c)] = c.data->bytes();
    }
    auto fmt_size = [&](int n) { return chunks[n][0].id == "fmt " ? chunks[n][0].size : 0u; };
    for (int n : {7, 45, 10}) EXPECT_EQ(fmt_size(n), 18u) << n;
    for (int n : {26, 27, 28, 37}) {
        EXPECT_EQ(fmt_size(n), 30u) << n;
        const std::uint8_t* f = bytes[n].data() + 20;
        EXPECT_EQ(Le16(f + 16), 12) << "cbSize";
        EXPECT_EQ(Le16(f + 18), 1) << "MPEG layer-3 id";
        EXPECT_EQ(Le16(f + 24), 96) << "block of one 96-byte frame";
        EXPECT_EQ(Le16(f + 26), 1);
        EXPECT_EQ(chunks[n][1].id, "data");
        EXPECT_EQ(chunks[n][2].id, "fact") << n;
        // Real frames, exactly filling the data chunk: MPEG-2 layer III, 32 kbit/s, 24 kHz, mono.
        const auto data = audio::FindWaveChunks(bytes[n])->data;
        ASSERT_EQ(data.size() % 96, 0u);
        for (std::size_t at = 0; at < data.size(); at += 96)
            ASSERT_EQ(Le32(data.data() + at) & 0xFFFFFEFF, 0xC444F3FFu & 0xFFFFFEFF) << n << " frame at " << at;
    }
    EXPECT_EQ(Ids(chunks[42]), "fmt ,fact,data");
    EXPECT_EQ(chunks[42][1].size, 4u);
    EXPECT_EQ(Ids(chunks[35]).substr(0, 14), "fmt ,cue ,data");
    EXPECT_EQ(chunks[35][1].size, 52u);
    EXPECT_EQ(chunks[10][1].id, "JUNK");
    EXPECT_EQ(chunks[10][1].size, 458u);
    for (int n : {2, 3, 44, 7, 10, 41}) EXPECT_NE(Ids(chunks[n]).find("data,LIST"), std::string::npos) << n;
    for (int n : {35, 36}) {
        bool id3 = false;
        for (const Chunk& c : chunks[n]) id3 |= c.id == "id3 " && c.size == 66064;
        EXPECT_TRUE(id3) << n;
    }
    EXPECT_NE(Ids(chunks[36]).find("bext"), std::string::npos);
    // RIFF size: the whole file for ten clips, the bytes that follow it for the rest,
    // except 有没天理 whose declared end leaves 138 bytes after it.
    const std::set<int> whole{1, 19, 25, 22, 16, 18, 29, 21, 20, 24};
    for (const auto& [n, b] : bytes) {
        const std::uint32_t riff = Le32(b.data() + 4);
        if (whole.count(n))
            EXPECT_EQ(riff, b.size()) << n;
        else if (n == 41)
            EXPECT_EQ(riff + 8 + 138, b.size());
        else
            EXPECT_EQ(riff + 8, b.size()) << n;
    }
    for (int n : {23, 39, 43}) EXPECT_EQ(audio::FindWaveChunks(bytes[n])->data.size() % 2, 1u) << n;
    // Everything before the data chunk has an even length.
    for (const auto& [n, cs] : chunks)
        for (const Chunk& c : cs) {
            if (c.id == "data") break;
            EXPECT_EQ(c.size % 2, 0u) << n << " " << c.id;
        }
}

TEST(Catalogue, TheStartupSoundAndTheTotal) {
    const board::SoundClip& s = board::StartupClip();
    EXPECT_EQ(s.button, 0u);
    EXPECT_STREQ(s.caption, "");
    ASSERT_EQ(s.data->length, 384972u);
    const auto c = audio::FindWaveChunks(s.data->bytes());
    ASSERT_TRUE(c);
    EXPECT_EQ(c->data.size(), 384928u);
    EXPECT_EQ(Le16(c->format.data() + 2), 2);
    EXPECT_EQ(Le32(c->format.data() + 4), 22050u);
    std::uint64_t total = s.data->length;
    for (const board::SoundClip& clip : board::BoardClips()) total += clip.data->length;
    EXPECT_EQ(total, 20736971u);
}

TEST(Catalogue, EveryClipIsDistinctAndBelongsToItsCaptionedButton) {
    std::set<std::string> seen;
    const auto clips = board::BoardClips();
    for (const board::SoundClip& c : clips) {
        const auto b = c.data->bytes();
        EXPECT_TRUE(seen.insert(std::string(b.begin(), b.end())).second) << c.name;
        const base::UnitDef* u = shell::FindUnitDef(shell::ids::kBoardWindow, c.button);
        ASSERT_NE(u, nullptr) << c.name;
        EXPECT_STREQ(u->name, c.name);
        EXPECT_EQ(widgets::ParseButtonBlock(u->block)->caption, c.caption) << c.name;
        EXPECT_EQ(board::FindClip(c.button), &c);
    }
    const auto s = board::StartupClip().data->bytes();
    EXPECT_TRUE(seen.insert(std::string(s.begin(), s.end())).second);
    EXPECT_EQ(board::FindClip(shell::ids::kWebPanel), nullptr);
    EXPECT_EQ(std::string(clips[0].caption), "\xB4\xF3\xD6\xDA\xD0\xA6\xC9\xF9");  // 大众笑声 in GBK
}

}  // namespace
