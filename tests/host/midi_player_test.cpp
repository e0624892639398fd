// The MIDI player and the engine's MIDI path against a stream whose buffer
// completions the test drives.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <future>

#include "audio/engine.h"
#include "audio/midi_player.h"
#include "tests/host/fake_midi_device.h"
#include "tests/host/fake_wave_device.h"
#include "tests/host/midi_builder.h"
#include "tests/host/wav_builder.h"

namespace {

using audio::MidiOpen;
using audio::MidiPlayer;
using namespace midi;  // the test builder's vocabulary

// A song of `notes` notes 10 ticks apart at 960 ticks per quarter and
// 500,000 us per quarter: a buffer spans 115 ticks, about 13 notes.
Bytes Song(int notes, std::uint32_t tempo = 500000) {
    Track t;
    t.Tempo(0, tempo);
    for (int i = 0; i < notes; ++i) t.NoteOn(i == 0 ? 0 : 10, i % 16, 30 + i % 60);
    return midi::File(0, 960, {t.End(40)});
}

// The song's notes as the merge writes them, without the device.
std::vector<Timed> Notes(const Bytes& file) {
    audio::MidiFile f;
    EXPECT_TRUE(audio::ReadMidiFile(file, f));
    audio::MidiSequencer seq;
    seq.Load(std::move(f));
    std::vector<Event> all;
    std::array<std::uint8_t, audio::kStreamBufferBytes> mem{};
    for (;;) {
        audio::EventBuffer b;
        b.data = mem.data();
        if (seq.Fill(b, false).result != audio::FillResult::kComplete) break;
        const auto got = midi::Events(mem.data(), b.used);
        all.insert(all.end(), got.begin(), got.end());
    }
    return midi::Timeline(all, false);
}

class Midi : public testing::Test {
protected:
    // Gives buffers back one at a time, each time until the player has
    // queued the refill, ended the song or re-armed; returns the count.
    int Drain(audio::MidiHandle h, int most = 1000) {
        int n = 0;
        while (device.Queued(h) > 0 && n < most) {
            const std::size_t outs = device.Outs(h);
            device.GiveBack(h, 1);
            ++n;
            fake::Eventually([&] {
                return device.Outs(h) > outs || player.state() == MidiPlayer::kEndOfSong || device.last_handle() != h ||
                       !player.Sounding();
            });
        }
        return n;
    }
    std::vector<Timed> Played(audio::MidiHandle h) { return midi::Timeline(device.AllEvents(h), false); }

    Bytes file;  // outlives the player, which reads it
    fake::MidiDevice device;
    fake::Clock clock;
    MidiPlayer player{device, clock};
};

TEST_F(Midi, OpenPrimesAPausedStreamWithTwoBuffers) {
    file = Song(100);
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    const auto s = device.Snapshot(1);
    EXPECT_EQ(s.division, 960u);
    EXPECT_EQ(s.log, (std::vector<std::string>{"prepare", "out", "prepare", "out"}));
    EXPECT_FALSE(s.running) << "opens paused";
    ASSERT_EQ(s.outs.size(), 2u);
    EXPECT_EQ(s.outs[0][0], (Event{0, 0, TempoWord(500000)}));
    EXPECT_FALSE(player.worker_running()) << "nothing to refill before a start";
    for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(player.channel_volume(ch), 100u);

    ASSERT_TRUE(player.Start(false));
    EXPECT_TRUE(device.Snapshot(1).running);
    EXPECT_TRUE(player.Sounding());
    device.GiveBack(1, 1);
    EXPECT_TRUE(fake::Eventually([&] { return device.Outs(1) == 3; })) << "refilled and queued again";
    EXPECT_EQ(player.bytes_played(), 12 * s.outs[0].size());
}

TEST_F(Midi, PlaysEveryEventInOrderThenStopsAndReArmsAtTheEnd) {
    file = Song(300);
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    Drain(1);
    // Closing the old stream is the last step of the re-arm.
    ASSERT_TRUE(fake::Eventually([&] { return device.Snapshot(1).closed; }));
    EXPECT_EQ(Played(1), Notes(file));
    const auto first = device.Snapshot(1);
    // The first start was not a loop: the tempo is written again at the
    // first refill, at delta 0.
    ASSERT_GE(first.outs.size(), 3u);
    EXPECT_EQ(first.outs[2][0], (Event{0, 0, TempoWord(500000)}));
    EXPECT_TRUE(first.closed);
    EXPECT_TRUE(first.queue.empty());
    // The new stream is primed, paused, from the beginning; it was ready
    // before the old one closed.
    EXPECT_EQ(device.journal(), (std::vector<std::string>{"open 1", "open 2", "close 1"}));
    const auto second = device.Snapshot(2);
    EXPECT_FALSE(second.running);
    ASSERT_EQ(second.outs.size(), 2u);
    EXPECT_EQ(second.outs[0], first.outs[0]);
    EXPECT_FALSE(player.Sounding());
    EXPECT_EQ(player.state(), MidiPlayer::kNormal);
    EXPECT_TRUE(player.loaded());

    // A later start plays it again from the top.
    ASSERT_TRUE(player.Start(false));
    EXPECT_TRUE(device.Snapshot(2).running);
    Drain(2);
    ASSERT_TRUE(fake::Eventually([&] { return device.Snapshot(2).closed; }));
    EXPECT_EQ(Played(2), Notes(file));
}

TEST_F(Midi, ASongShorterThanTwoBuffersEndsOnceBothAreBack) {
    file = midi::File(0, 96, {Track().Tempo(0, 500000).NoteOn(0, 0, 60).NoteOff(48, 0, 60).End()});
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    device.GiveBack(1, 2);  // both at once: the refill finds the song over
    // Closing the old stream is the last step of the re-arm.
    ASSERT_TRUE(fake::Eventually([&] { return device.Snapshot(1).closed; }));
    EXPECT_EQ(Played(1), Notes(file));
    EXPECT_TRUE(device.Snapshot(1).closed);
}

TEST_F(Midi, ALoopingSongGoesOnOnOneStream) {
    file = midi::File(0, 96, {Track().Tempo(0, 500000).NoteOn(0, 0, 60).NoteOff(24, 0, 60).End(500)});
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(true));
    Drain(1, 20);
    EXPECT_EQ(device.last_handle(), 1u);
    EXPECT_TRUE(player.Sounding());
    EXPECT_EQ(player.state(), MidiPlayer::kNormal);
    std::vector<Timed> notes = Played(1);
    ASSERT_GE(notes.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(notes[i].time, std::uint32_t(i / 2 * 24 + i % 2 * 24)) << i;
        EXPECT_EQ(notes[i].word, i % 2 ? Short(0x80, 60) : Short(0x90, 60, 100)) << i;
    }
}

TEST_F(Midi, StopDuringPlayTakesBothBuffersBackAndReleasesEverything) {
    file = Song(300);
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    Drain(1, 3);
    ASSERT_EQ(device.Queued(1), 2u);
    player.Close();  // the fake clock never moves: no time-out was needed
    const auto s = device.Snapshot(1);
    const std::vector<std::string> tail(s.log.end() - 5, s.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"stop", "reset", "unprepare", "unprepare", "close"}));
    EXPECT_TRUE(s.queue.empty());
    EXPECT_FALSE(player.loaded());
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(player.worker_running());
    EXPECT_EQ(device.last_handle(), 1u) << "no re-arm after a stop";
}

TEST_F(Midi, ADeviceThatKeepsItsBuffersIsTakenAsStoppedAfterTwoSeconds) {
    file = Song(300);
    device.keep_buffers_on_reset = true;
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    auto closed = std::async(std::launch::async, [&] { player.Close(); });
    ASSERT_TRUE(fake::Eventually([&] { return clock.waiting() > 0; }));
    clock.Advance(1999);
    EXPECT_EQ(closed.wait_for(std::chrono::milliseconds(30)), std::future_status::timeout);
    clock.Advance(1);
    ASSERT_EQ(closed.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(device.Snapshot(1).closed);
    EXPECT_FALSE(player.loaded());
    EXPECT_FALSE(player.worker_running());
}

TEST_F(Midi, AReadErrorMidSongGoesSilentAndTheSongStaysLoaded) {
    Track good;
    good.Tempo(0, 500000);
    for (int i = 0; i < 80; ++i) good.NoteOn(10, 0, 60 + i % 12);
    Track bad = good;
    bad.Raw(10, {0xF4});
    file = midi::File(0, 960, {bad});
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    Drain(1);
    ASSERT_TRUE(fake::Eventually([&] { return !player.Sounding(); }));
    EXPECT_EQ(device.Queued(1), 0u) << "the last buffer played out";
    EXPECT_TRUE(player.playing());
    EXPECT_TRUE(player.loaded());
    // What was merged before the error, less the buffer the error cut short.
    const auto played = Played(1);
    const auto all = Notes(midi::File(0, 960, {good.End()}));
    ASSERT_GE(played.size(), 26u) << "at least the two primed buffers";
    ASSERT_LT(played.size(), all.size());
    EXPECT_TRUE(std::equal(played.begin(), played.end(), all.begin()));
    player.Close();  // both buffers are back: nothing to wait for
    EXPECT_TRUE(device.Snapshot(1).closed);
}

TEST_F(Midi, OpenFailuresLeaveNothingBehind) {
    file = Song(10);
    file[7] = 7;  // header length 7
    EXPECT_EQ(player.Open(file), MidiOpen::kUnreadable);
    EXPECT_TRUE(device.journal().empty()) << "no stream for a file that cannot be read";

    file = midi::File(0, 96, {Track().Raw(0, {60, 100})});  // a data byte first
    EXPECT_EQ(player.Open(file), MidiOpen::kUnreadable);
    EXPECT_EQ(device.journal(), (std::vector<std::string>{"open 1", "close 1"}));

    file = Song(10);
    device.refuse_division = true;
    EXPECT_EQ(player.Open(file), MidiOpen::kNoStream);
    EXPECT_TRUE(device.Snapshot(2).closed);
    device.refuse_open = true;
    EXPECT_EQ(player.Open(file), MidiOpen::kNoStream);
    EXPECT_FALSE(player.loaded());
    EXPECT_FALSE(player.Start(false)) << "nothing primed";
    EXPECT_FALSE(player.worker_running());
}

TEST_F(Midi, AChannelVolumeChangeIsHeardWhenItPlays) {
    file = midi::File(
        0, 96, {Track().NoteOn(0, 3, 60).Control(0, 3, 7, 64).Control(0, 9, 7, 127).Control(0, 3, 10, 1).End()});
    constexpr std::uintptr_t kWindow = 0x1234;
    ASSERT_EQ(player.Open(file, kWindow), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    const auto events = device.Snapshot(1).outs[0];
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].word, Short(0xB3, 7, 64) | audio::kMidiEventCallback);
    device.PositionReached(1, 12);
    device.PositionReached(1, 24);
    device.PositionReached(1, 0);     // a note: no volume
    device.PositionReached(1, 36);    // another controller
    device.PositionReached(1, 1020);  // past what the buffer holds
    EXPECT_EQ(player.channel_volume(3), 50u) << "64 * 100 / 127";
    EXPECT_EQ(player.channel_volume(9), 100u);
    EXPECT_EQ(player.channel_volume(0), 100u);
    const auto notices = device.notices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].window, kWindow);
    EXPECT_EQ(notices[0].message, 0x417u);
    EXPECT_EQ(notices[0].wparam, reinterpret_cast<std::uintptr_t>(&player));
    EXPECT_EQ(notices[0].lparam, (50u << 16) | 3u);
    EXPECT_EQ(notices[1].lparam, (100u << 16) | 9u);

    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);  // no notify window
    device.PositionReached(device.last_handle(), 12);
    EXPECT_EQ(player.channel_volume(3), 50u);
    EXPECT_EQ(device.notices().size(), 2u);
}

TEST_F(Midi, StartingWhilePlayingStopsAndReArmsFirst) {
    file = Song(300);
    ASSERT_EQ(player.Open(file), MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    Drain(1, 4);
    ASSERT_TRUE(player.Start(true));
    EXPECT_EQ(device.journal(), (std::vector<std::string>{"open 1", "open 2", "close 1"}));
    const auto old = device.Snapshot(1);
    EXPECT_TRUE(old.queue.empty());
    EXPECT_TRUE(device.Snapshot(2).running);
    EXPECT_EQ(device.Snapshot(2).outs[0][0], (Event{0, 0, TempoWord(500000)})) << "from the beginning";
}

// ---- the engine's MIDI path ----

class EngineMidi : public testing::Test {
protected:
    int Play(const Bytes& b, int loop = 0) { return engine.Play({b.data(), std::int32_t(b.size()), loop}); }

    fake::WaveDevice wave;
    fake::MidiDevice device;
    fake::Clock clock;
    audio::PlaybackEngine engine{wave, device, clock};
};

TEST_F(EngineMidi, TheFileIsCopiedOpenedAndStartedWithTheLoopFlag) {
    Bytes song = Song(200);
    const auto expected = Notes(song);
    ASSERT_EQ(Play(song), 1);
    std::fill(song.begin(), song.end(), 0);  // the caller may reuse its bytes at once
    EXPECT_TRUE(device.Snapshot(1).running);
    EXPECT_TRUE(engine.MidiSounding());
    for (int i = 0; i < 1000 && device.Queued(1) > 0; ++i) {
        const auto outs = device.Outs(1);
        device.GiveBack(1, 1);
        fake::Eventually([&] {
            return device.Outs(1) > outs || device.last_handle() != 1 ||
                   engine.midi().state() == MidiPlayer::kEndOfSong;
        });
    }
    EXPECT_EQ(midi::Timeline(device.AllEvents(1), false), expected);
    ASSERT_TRUE(fake::Eventually([&] { return !engine.MidiSounding(); })) << "played once";

    const Bytes loop = midi::File(0, 96, {Track().Tempo(0, 500000).NoteOn(0, 0, 60).NoteOff(10, 0, 60).End()});
    ASSERT_EQ(Play(loop, 1), 1);
    const auto h = device.last_handle();
    for (int i = 0; i < 10; ++i) {
        const auto outs = device.Outs(h);
        device.GiveBack(h, 1);
        ASSERT_TRUE(fake::Eventually([&] { return device.Outs(h) > outs; })) << "a loop never ends by itself";
    }
    EXPECT_TRUE(engine.MidiSounding());
}

TEST_F(EngineMidi, ASecondMidiSoundClosesTheFirstBeforeItOpens) {
    const Bytes a = Song(100), b = Song(50, 400000);
    ASSERT_EQ(Play(a), 1);
    ASSERT_EQ(Play(b), 1);
    EXPECT_EQ(device.journal(), (std::vector<std::string>{"open 1", "close 1", "open 2"}));
    EXPECT_TRUE(device.Snapshot(2).running);
    EXPECT_EQ(device.Snapshot(2).outs[0][0].word, TempoWord(400000));
}

TEST_F(EngineMidi, UnreadableDataIsRefusedAndAMissingDeviceIsNot) {
    Bytes bad = Song(10);
    bad.erase(bad.end() - 5, bad.end());  // the track's length now runs past the data
    EXPECT_EQ(Play(bad), 0);
    EXPECT_EQ(Play(midi::File(0, 96, {Track().Raw(0, {60, 100})})), 0) << "unreadable from its first event";
    EXPECT_EQ(Play(Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6}), 0);
    EXPECT_EQ(Play(Bytes{'M', 'T', 'h', 'd'}), 0) << "too short to be MIDI at all";
    EXPECT_FALSE(engine.midi().loaded());

    device.refuse_open = true;
    EXPECT_EQ(Play(Song(10)), 1) << "no MIDI output is not reported";
    EXPECT_FALSE(engine.MidiSounding());
    EXPECT_FALSE(engine.midi().loaded());

    fake::WaveDevice w;
    audio::PlaybackEngine without(w, clock);
    const Bytes song = Song(10);
    EXPECT_EQ(without.Play({song.data(), std::int32_t(song.size()), 0}), 1);
    EXPECT_FALSE(without.MidiSounding());
}

TEST_F(EngineMidi, WaveAndMidiPlayTogetherAndStopEndsBoth) {
    const Bytes w = wav::SimpleWav(wav::Samples(audio::kBufferBytes * 3));
    ASSERT_EQ(Play(Song(300)), 1);
    ASSERT_EQ(Play(w), 1);
    ASSERT_EQ(Play(w), 1);
    EXPECT_EQ(engine.registry().size(), 2u);
    EXPECT_TRUE(engine.MidiSounding()) << "WAV data leaves the MIDI sound alone";
    EXPECT_EQ(device.journal(), (std::vector<std::string>{"open 1"}));

    engine.Stop();
    EXPECT_FALSE(engine.MidiSounding());
    EXPECT_TRUE(device.Snapshot(1).closed);
    EXPECT_FALSE(engine.midi().loaded());
    EXPECT_TRUE(fake::Eventually([&] { return engine.registry().size() == 0; }));
    engine.Stop();  // with nothing playing: nothing happens

    ASSERT_EQ(Play(Song(300)), 1);
    ASSERT_EQ(Play(w, 1), 1);
    engine.ShutdownStop();
    EXPECT_TRUE(device.Snapshot(2).closed);
    EXPECT_EQ(engine.registry().size(), 0u);
}

}  // namespace
