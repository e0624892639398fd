// The waveform player against a device whose completions the test drives.
#include <gtest/gtest.h>

#include <numeric>

#include "audio/device_routes.h"
#include "audio/engine.h"
#include "audio/wave_player.h"
#include "tests/host/fake_wave_device.h"
#include "tests/host/wav_builder.h"

namespace {

using audio::kBufferBytes;
using audio::kBufferCount;
using wav::Bytes;

class Player : public testing::Test {
protected:
    ~Player() override {
        registry.SignalAll();
        fake::Eventually([&] { return registry.size() == 0; });
    }
    // The player opens its device on its own thread: a started player's
    // handle is known once that open has come.
    bool Start(const Bytes& file, bool loop = false) {
        const int opens = device.opens();
        const bool started = audio::WavePlayer::Start(env, file, loop);
        if (started && device.devices > 0) fake::Eventually([&] { return device.opens() > opens; });
        return started;
    }
    bool Ended() { return fake::Eventually([&] { return registry.size() == 0; }); }
    // The player has written `n` buffers and gone back to waiting.
    bool Written(audio::WaveHandle h, std::size_t n) {
        return fake::Eventually([&] { return device.Writes(h) >= n && clock.waiting() > 0; }) &&
               device.Writes(h) == n;
    }
    Bytes Concat(const fake::WaveDevice::Output& o, std::size_t from = 0) {
        Bytes all;
        for (std::size_t i = from; i < o.writes.size(); ++i) all.insert(all.end(), o.writes[i].begin(), o.writes[i].end());
        return all;
    }

    fake::WaveDevice device;
    fake::Clock clock;
    audio::PlayerRegistry registry;
    audio::BufferRecycler recycler;
    audio::PlayerEnv env{device, clock, registry, recycler};
};

TEST_F(Player, ASoundShorterThanABufferGoesAsOneBufferAndEndsWhenItIsBack) {
    const Bytes samples = wav::Samples(1000);
    const Bytes fmt = wav::PcmFormat(1, 8000, 8);
    ASSERT_TRUE(Start(wav::Builder().Chunk("fmt ", fmt).Chunk("data", samples).Build()));
    const auto h = device.last_handle();
    ASSERT_TRUE(Written(h, 1));
    EXPECT_EQ(device.Snapshot(h).format, fmt);  // passed to the device unchanged
    EXPECT_EQ(registry.size(), 1u);
    device.GiveBack(h, 1);
    ASSERT_TRUE(Ended());
    const auto out = device.Snapshot(h);
    EXPECT_EQ(out.writes[0], samples);
    EXPECT_TRUE(out.closed);
    // Played to the end: neither paused nor reset.
    EXPECT_EQ(out.log, (std::vector<std::string>{"write", "unprepare", "close"}));
}

TEST_F(Player, TwentyFullBuffersFillEachBufferOnceInOrder) {
    const Bytes samples = wav::Samples(kBufferCount * kBufferBytes, 3);
    ASSERT_TRUE(Start(wav::SimpleWav(samples)));
    const auto h = device.last_handle();
    ASSERT_TRUE(Written(h, 20));
    device.GiveBack(h, 19);
    fake::Eventually([&] { return device.Queued(h) == 1; });
    EXPECT_EQ(registry.size(), 1u) << "one buffer still playing";
    device.GiveBack(h, 1);
    ASSERT_TRUE(Ended());
    const auto out = device.Snapshot(h);
    ASSERT_EQ(out.writes.size(), 20u);
    for (const Bytes& w : out.writes) EXPECT_EQ(w.size(), kBufferBytes);
    EXPECT_EQ(Concat(out), samples);
}

TEST_F(Player, ALongSoundStreamsEveryByteThroughTheRing) {
    const Bytes samples = wav::Samples(kBufferBytes * 45 + 777, 5);
    ASSERT_TRUE(Start(wav::SimpleWav(samples)));
    const auto h = device.last_handle();
    ASSERT_TRUE(Written(h, 20));
    for (std::size_t written = 20; written < 46; ++written) {
        device.GiveBack(h, 1);
        ASSERT_TRUE(Written(h, written + 1)) << written;
    }
    device.GiveBack(h, 20);
    ASSERT_TRUE(Ended());
    const auto out = device.Snapshot(h);
    EXPECT_EQ(out.writes.back().size(), 777u);
    EXPECT_EQ(Concat(out), samples);
}

TEST_F(Player, ALoopRestartsOnlyAfterEveryBufferIsBack) {
    const Bytes samples = wav::Samples(kBufferBytes * 2 + 100, 9);
    ASSERT_TRUE(Start(wav::SimpleWav(samples), true));
    const auto h = device.last_handle();
    ASSERT_TRUE(Written(h, 3));
    device.GiveBack(h, 2);
    ASSERT_TRUE(Written(h, 3)) << "no restart while a buffer still plays";
    device.GiveBack(h, 1);
    ASSERT_TRUE(Written(h, 6));
    const auto out = device.Snapshot(h);
    EXPECT_EQ(Concat(out, 3), samples) << "the second pass starts from the first sample";
    registry.SignalAll();
    ASSERT_TRUE(Ended());
    const auto log = device.Snapshot(h).log;
    const std::vector<std::string> tail(log.end() - 6, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"pause", "reset", "unprepare", "unprepare", "unprepare", "close"}));
}

TEST_F(Player, ALoopRestartRefillsTheWholeRingWhateverCompletionsWait) {
    // Every buffer comes back inside the last write of the pass, before the
    // feeder has taken one completion: the second pass must still use all 20.
    device.on_write = [&](audio::WaveHandle h, std::size_t writes) {
        if (writes == std::size_t(kBufferCount)) device.GiveBack(h, kBufferCount);
    };
    ASSERT_TRUE(Start(wav::SimpleWav(wav::Samples(kBufferCount * kBufferBytes, 4)), true));
    ASSERT_TRUE(Written(device.last_handle(), 2 * kBufferCount));
}

TEST_F(Player, AStopHaltsAtOnceWhileFeedingOrDraining) {
    for (bool draining : {false, true}) {
        const Bytes samples = wav::Samples(draining ? 500 : kBufferBytes * 30);
        ASSERT_TRUE(Start(wav::SimpleWav(samples)));
        const auto h = device.last_handle();
        ASSERT_TRUE(Written(h, draining ? 1 : 20));
        registry.SignalAll();
        ASSERT_TRUE(Ended());
        const auto out = device.Snapshot(h);
        EXPECT_TRUE(out.queue.empty()) << "reset gives every buffer back";
        EXPECT_TRUE(out.closed);
        EXPECT_EQ(out.writes.size(), draining ? 1u : 20u) << "nothing written after the stop";
        EXPECT_EQ(std::count(out.log.begin(), out.log.end(), "pause"), 1);
    }
}

TEST_F(Player, ADeviceThatGivesNothingBackEndsThePlayerAfterItsTimeOut) {
    ASSERT_TRUE(Start(wav::SimpleWav(wav::Samples(kBufferBytes * 25))));
    const auto h = device.last_handle();
    ASSERT_TRUE(Written(h, 20));
    clock.Advance(8887);
    // Once the feeder has seen 8,887 ms pass and waits on, it has not ended.
    ASSERT_TRUE(fake::Eventually([&] { return clock.seen() == 8887; }));
    EXPECT_EQ(registry.size(), 1u) << "not before 8,888 ms";
    clock.Advance(1);
    ASSERT_TRUE(Ended());
    const auto log = device.Snapshot(h).log;
    EXPECT_EQ(std::count(log.begin(), log.end(), "reset"), 1);
}

TEST_F(Player, NoDeviceOrARefusedFormatStillStartsAndTimesOut) {
    device.devices = 0;
    ASSERT_TRUE(Start(wav::SimpleWav(wav::Samples(100))));
    ASSERT_TRUE(fake::Eventually([&] { return clock.waiting() == 1; }));  // past its device count
    EXPECT_EQ(device.opens(), 0);
    device.devices = 1;
    device.refuse_open = true;
    ASSERT_TRUE(Start(wav::SimpleWav(wav::Samples(100))));
    EXPECT_EQ(device.opens(), 1);
    EXPECT_TRUE(fake::Eventually([&] { return clock.waiting() == 2; }));
    EXPECT_EQ(registry.size(), 2u);
    clock.Advance(8888);
    EXPECT_TRUE(Ended());
}

TEST_F(Player, TwoPlayersSideBySideHaveTheirOwnHandles) {
    ASSERT_TRUE(Start(wav::SimpleWav(wav::Samples(2000, 1))));
    ASSERT_TRUE(Start(wav::SimpleWav(wav::Samples(3000, 2))));
    EXPECT_EQ(registry.size(), 2u);
    ASSERT_TRUE(Written(1, 1));
    ASSERT_TRUE(Written(2, 1));
    EXPECT_EQ(device.Snapshot(1).writes[0], wav::Samples(2000, 1));
    EXPECT_EQ(device.Snapshot(2).writes[0], wav::Samples(3000, 2));
    device.GiveBack(2, 1);
    EXPECT_TRUE(fake::Eventually([&] { return registry.size() == 1; }));
    EXPECT_FALSE(device.Snapshot(1).closed);
}

TEST_F(Player, RefusedDataCreatesNothing) {
    const Bytes fmt = wav::PcmFormat();
    for (const Bytes& bad : {Bytes{}, Bytes(35, 0), wav::Builder().Chunk("fmt ", fmt).Chunk("data", {}).Build(),
                             wav::Builder().Chunk("fmt ", fmt).Build(), wav::Builder().Chunk("data", Bytes(40, 1)).Build(),
                             wav::Builder().Chunk("fmt ", fmt).Chunk("data", Bytes(40, 1)).Build("MIDI")}) {
        EXPECT_FALSE(Start(bad));
    }
    EXPECT_EQ(registry.size(), 0u);
    EXPECT_EQ(device.opens(), 0);
}

TEST(Registry, SignallingNobodyDoesNothing) {
    audio::PlayerRegistry r;
    r.SignalAll();
    r.SignalAllAndWait();
    EXPECT_EQ(r.size(), 0u);
}

TEST(Engine, RoutesWaveRefusesOthersAndShutdownWaitsForEveryThread) {
    fake::WaveDevice device;
    fake::Clock clock;
    audio::PlaybackEngine engine(device, clock);
    const Bytes w = wav::SimpleWav(wav::Samples(kBufferBytes * 3));
    EXPECT_EQ(engine.Play({w.data(), std::int32_t(w.size()), 0}), 1);
    EXPECT_EQ(engine.Play({w.data(), std::int32_t(w.size()), 1}), 1);
    EXPECT_EQ(engine.Play({nullptr, 100, 0}), 0);
    EXPECT_EQ(engine.Play({w.data(), 0, 0}), 0);
    EXPECT_EQ(engine.Play({w.data(), -5, 0}), 0);
    const Bytes riff_midi = wav::Builder().Chunk("MThd", Bytes(6, 0)).Build("RMID");
    EXPECT_EQ(engine.Play({riff_midi.data(), std::int32_t(riff_midi.size()), 0}), 0);
    EXPECT_EQ(engine.registry().size(), 2u);
    engine.Stop();  // signals only
    engine.ShutdownStop();
    EXPECT_EQ(engine.registry().size(), 0u);
    // A player stopped before its thread came to the open opens nothing.
    for (audio::WaveHandle h = 1; h <= device.last_handle(); ++h) EXPECT_TRUE(device.Snapshot(h).closed) << h;
}

}  // namespace

namespace {

TEST(Recycler, ReusesTheSmallestFittingBlockAndKeepsWithinItsBounds) {
    audio::BufferRecycler r;
    audio::Block a = r.Take(1000), b = r.Take(5000);
    const std::uint8_t* pa = a.bytes.get();
    const std::uint8_t* pb = b.bytes.get();
    r.Give(std::move(b));
    r.Give(std::move(a));
    EXPECT_EQ(r.kept_bytes(), 6000u);
    EXPECT_EQ(r.Take(900).bytes.get(), pa);   // the smallest that fits
    EXPECT_EQ(r.Take(900).bytes.get(), pb);
    EXPECT_EQ(r.kept_bytes(), 0u);
    EXPECT_GE(r.Take(7000).capacity, 7000u);  // nothing fits: a fresh block
    r.Give(r.Take(audio::BufferRecycler::kMaxBytes + 1));
    EXPECT_EQ(r.kept_bytes(), 0u) << "oversized blocks are not kept";
    for (int i = 0; i < 6; ++i) r.Give(r.Take(std::size_t(4) << 20));
    EXPECT_LE(r.kept_bytes(), audio::BufferRecycler::kMaxBytes);
}

}  // namespace

namespace {

struct TestRoute {
    int owner;
};

TEST(DeviceRoutes, AHandleReusedAsItClosesKeepsTheNewOwnersRoute) {
    audio::RouteTable<TestRoute> t;
    t.Add(7, std::make_unique<TestRoute>(TestRoute{1}));
    // Another player opens and is handed the same value as soon as the
    // close has released it, before the closing player is done.
    EXPECT_TRUE(t.Close(7, [&] {
        t.Add(7, std::make_unique<TestRoute>(TestRoute{2}));
        return true;
    }));
    ASSERT_NE(t.Find(7), nullptr);
    EXPECT_EQ(t.Find(7)->owner, 2);
    // A failed close keeps the route: callbacks may still come.
    EXPECT_FALSE(t.Close(7, [] { return false; }));
    ASSERT_NE(t.Find(7), nullptr);
    EXPECT_EQ(t.Find(7)->owner, 2);
    EXPECT_TRUE(t.Close(7, [] { return true; }));
    EXPECT_EQ(t.Find(7), nullptr);
}

}  // namespace
