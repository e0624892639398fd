// The chunk walk, from both sides: what plays and what is refused.
#include <gtest/gtest.h>

#include "audio/format_descriptor.h"
#include "audio/riff.h"
#include "tests/host/wav_builder.h"

namespace {

using audio::FindWaveChunks;
using wav::Builder;
using wav::Bytes;

TEST(ChunkWalk, FindsFormatAndDataInEitherOrderAroundOtherChunks) {
    const Bytes samples = wav::Samples(1000);
    const Bytes fmt = wav::PcmFormat(1, 22050, 8);
    for (const Bytes& file : {Builder().Chunk("data", samples).Chunk("fmt ", fmt).Build(),
                              Builder().Chunk("fmt ", fmt).Chunk("fact", Bytes(4, 9)).Chunk("data", samples)
                                  .Chunk("LIST", Bytes(26, 'x')).Build(),
                              Builder().Chunk("JUNK", Bytes(458, 0)).Chunk("fmt ", fmt).Chunk("data", samples).Build()}) {
        const auto c = FindWaveChunks(file);
        ASSERT_TRUE(c);
        EXPECT_EQ(Bytes(c->format.begin(), c->format.end()), fmt);
        EXPECT_EQ(Bytes(c->data.begin(), c->data.end()), samples);
    }
}

TEST(ChunkWalk, ThirtySixBytesWithOneDataByteIsTheSmallestAccepted) {
    const Bytes ok = Builder().Chunk("fmt ", Bytes(7, 1)).Chunk("data", Bytes{0x80}).Build();
    ASSERT_EQ(ok.size(), 36u);
    const auto c = FindWaveChunks(ok);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->data.size(), 1u);
    const Bytes short_one = Builder().Chunk("fmt ", Bytes(6, 1)).Chunk("data", Bytes{0x80}).Build();
    ASSERT_EQ(short_one.size(), 35u);
    EXPECT_FALSE(FindWaveChunks(short_one));
}

TEST(ChunkWalk, TheBoardsQuirksStillPlayInFull) {
    const Bytes samples = wav::Samples(5001);  // odd length
    // RIFF size 8 too large, as if it counted the whole file.
    const Bytes oversized = Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("data", samples).Build("WAVE", 8);
    auto c = FindWaveChunks(oversized);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->data.size(), 5001u);
    // 138 bytes past the declared end, after a LIST chunk.
    Bytes trailing = Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("data", samples).Chunk("LIST", Bytes(76, 1)).Build();
    trailing.insert(trailing.end(), 138, 0xEE);
    c = FindWaveChunks(trailing);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->data.size(), 5001u);
}

TEST(ChunkWalk, DeclaredSizesNeverReachPastTheBytesGiven) {
    const Bytes samples = wav::Samples(300);
    // A data chunk declared longer than what follows plays what is there.
    const Bytes long_data = Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("data", samples, 100000).Build();
    auto c = FindWaveChunks(long_data);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->data.size(), 300u);
    // A chunk whose size would wrap the walk stops it (no data found after it).
    EXPECT_FALSE(FindWaveChunks(
        Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("JUNK", Bytes(8, 0), 0xFFFFFFF8u).Chunk("data", samples).Build()));
    // A chunk header cut short at the end is not read.
    Bytes cut = Builder().Chunk("fmt ", wav::PcmFormat()).Build();
    cut.insert(cut.end(), {'d', 'a', 't', 'a', 5, 0});
    EXPECT_FALSE(FindWaveChunks(cut));
}

TEST(ChunkWalk, RefusesWhatIsNotAPlayableWave) {
    const Bytes fmt = wav::PcmFormat();
    const Bytes samples = wav::Samples(64);
    EXPECT_FALSE(FindWaveChunks(Builder().Chunk("fmt ", fmt).Chunk("data", samples).Build("AVI ")));
    EXPECT_FALSE(FindWaveChunks(Builder().Chunk("fmt ", fmt).Chunk("LIST", samples).Build()));
    EXPECT_FALSE(FindWaveChunks(Builder().Chunk("LIST", fmt).Chunk("data", samples).Build()));
    EXPECT_FALSE(FindWaveChunks(Builder().Chunk("fmt ", fmt).Chunk("data", {}).Chunk("LIST", samples).Build()));
    Bytes not_riff = wav::SimpleWav(samples);
    not_riff[0] = 'X';
    EXPECT_FALSE(FindWaveChunks(not_riff));
    EXPECT_FALSE(FindWaveChunks({}));
    // The walk ends where the RIFF size says: a data chunk beyond it is not seen.
    EXPECT_FALSE(FindWaveChunks(Builder().Chunk("fmt ", fmt).Chunk("data", samples).Build("WAVE", -80)));
}

TEST(ChunkWalk, ASecondFormatBeforeDataReplacesTheFirst) {
    const Bytes first = wav::PcmFormat(1), second = wav::PcmFormat(2);
    const Bytes file = Builder().Chunk("fmt ", first).Chunk("fmt ", second).Chunk("data", Bytes(4, 1)).Build();
    const auto c = FindWaveChunks(file);
    ASSERT_TRUE(c);
    EXPECT_EQ(Bytes(c->format.begin(), c->format.end()), second);
}


// One chunk as bytes: header, body and, when asked, the pad byte after an
// odd-sized body.
Bytes ChunkBytes(const char* id, const Bytes& body, bool pad) {
    Bytes b(id, id + 4);
    wav::Put32(b, std::uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (pad && body.size() % 2) b.push_back(0);
    return b;
}

// RIFF pads an odd-sized chunk with one byte; some writers leave it out.
// Both layouts play, whatever chunk is odd and wherever it stands.
TEST(ChunkWalk, AnOddChunkIsFollowedPaddedOrUnpadded) {
    const Bytes fmt = wav::PcmFormat(1, 8000, 8);
    const Bytes samples = wav::Samples(778), odd_samples = wav::Samples(777);
    struct Layout {
        const char* what;
        std::vector<Bytes> chunks;  // given the pad or not
        Bytes want_data;
    };
    for (const bool pad : {true, false}) {
        const std::vector<Layout> layouts = {
            {"odd LIST first", {ChunkBytes("LIST", Bytes(25, 'L'), pad), ChunkBytes("fmt ", fmt, pad),
                                ChunkBytes("data", samples, pad)}, samples},
            {"odd junk between fmt and data", {ChunkBytes("fmt ", fmt, pad), ChunkBytes("junk", Bytes(3, 0), pad),
                                               ChunkBytes("data", samples, pad)}, samples},
            {"two odd chunks in a row", {ChunkBytes("LIST", Bytes(1, 'x'), pad), ChunkBytes("JUNK", Bytes(9, 'j'), pad),
                                         ChunkBytes("fmt ", fmt, pad), ChunkBytes("data", samples, pad)}, samples},
            {"odd data before fmt", {ChunkBytes("data", odd_samples, pad), ChunkBytes("fmt ", fmt, pad)}, odd_samples},
            // Unpadded, the byte after the odd chunk begins the next id: the
            // padded place reads "ata" plus a size byte, which must not win.
            {"odd chunk before a data chunk whose size byte is printable",
             {ChunkBytes("fmt ", fmt, pad), ChunkBytes("LIST", Bytes(5, 'x'), pad), ChunkBytes("data", Bytes(0x41, 0), pad)},
             Bytes(0x41, 0)},
        };
        for (const Layout& l : layouts) {
            SCOPED_TRACE(std::string(l.what) + (pad ? ", padded" : ", unpadded"));
            wav::Builder builder;
            for (const Bytes& c : l.chunks) builder.Raw(c);
            const Bytes file = builder.Build();
            const auto c = FindWaveChunks(file);
            ASSERT_TRUE(c);
            EXPECT_EQ(Bytes(c->format.begin(), c->format.end()), fmt);
            EXPECT_EQ(Bytes(c->data.begin(), c->data.end()), l.want_data);
        }
    }
}

}  // namespace

namespace {

// What the system's waveform output is handed: all it reads, nothing past
// the chunk.
TEST(FormatDescriptor, PaddedToEighteenBytesAndACompressedFormatsExtraCutToTheChunk) {
    using audio::FormatDescriptor;
    // PCM's 16-byte chunk: padded, cbSize 0.
    const Bytes pcm = wav::PcmFormat();
    Bytes want = pcm;
    want.resize(18, 0);
    EXPECT_EQ(FormatDescriptor(pcm), want);
    // A PCM chunk's cbSize is not the system's concern: left as stored.
    Bytes pcm18 = pcm;
    pcm18.insert(pcm18.end(), {0x34, 0x12});
    EXPECT_EQ(FormatDescriptor(pcm18), pcm18);
    // MPEG Layer-3: 30 bytes whose cbSize 12 is exactly what follows.
    Bytes mp3 = wav::PcmFormat(2, 44100, 0);
    mp3[0] = 0x55;
    mp3.insert(mp3.end(), {12, 0});
    mp3.insert(mp3.end(), 12, 0xAB);
    EXPECT_EQ(FormatDescriptor(mp3), mp3);
    // A compressed format claiming 40 extra bytes where 4 are: cut to 4.
    Bytes claims = mp3;
    claims.resize(22);
    claims[16] = 40;
    const Bytes d = FormatDescriptor(claims);
    ASSERT_EQ(d.size(), 22u);
    EXPECT_EQ(d[16] | d[17] << 8, 4);
    EXPECT_TRUE(std::equal(d.begin() + 18, d.end(), claims.begin() + 18));
    // A compressed 16-byte chunk: no extra at all.
    Bytes short_compressed = wav::PcmFormat();
    short_compressed[0] = 0x02;
    EXPECT_EQ(FormatDescriptor(short_compressed)[16], 0);
}

}  // namespace
