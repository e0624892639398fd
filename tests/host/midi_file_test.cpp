// The MIDI file reader and the merge into stream events, without a device.
#include <gtest/gtest.h>

#include <array>

#include "audio/midi_file.h"
#include "audio/midi_sequencer.h"
#include "tests/host/midi_builder.h"

namespace {

using audio::FillResult;
using namespace midi;  // the test builder's vocabulary

audio::TrackCursor CursorOver(const Bytes& body) {
    audio::TrackCursor t;
    t.start = body.data();
    t.length = std::uint32_t(body.size());
    return t;
}

TEST(MidiVarLen, ReadsSevenBitGroupsWithinTheBody) {
    struct Case {
        Bytes bytes;
        bool ok;
        std::uint32_t value;
        std::uint32_t consumed;
    };
    const Case cases[] = {
        {{0x00}, true, 0, 1},
        {{0x7F, 0x55}, true, 0x7F, 1},
        {{0x81, 0x00}, true, 0x80, 2},
        {{0xFF, 0x7F}, true, 0x3FFF, 2},
        {{0xFF, 0xFF, 0xFF, 0x7F}, true, 0x0FFFFFFF, 4},
        // More than four bytes: read to the end of the number, the value wraps.
        {{0x81, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, true, 0xFFFFFFFF, 6},
        {{0x81}, false, 0, 0},        // runs off the body
        {{0x80, 0x80, 0x80}, false, 0, 0},
        {{}, false, 0, 0},
    };
    for (const Case& c : cases) {
        audio::TrackCursor t = CursorOver(c.bytes);
        std::uint32_t v = 0xDEAD;
        EXPECT_EQ(audio::ReadVarLen(t, v), c.ok) << testing::PrintToString(c.bytes);
        if (c.ok) {
            EXPECT_EQ(v, c.value) << testing::PrintToString(c.bytes);
            EXPECT_EQ(t.position, c.consumed);
        }
        EXPECT_LE(t.position, t.length);
    }
    const Bytes one{0x05};
    audio::TrackCursor ended = CursorOver(one);
    ended.flags = audio::TrackCursor::kEnded;
    std::uint32_t v = 0;
    EXPECT_FALSE(audio::ReadVarLen(ended, v)) << "an ended track reads nothing";
}

TEST(MidiFileReader, RefusesEveryMalformedShape) {
    const Bytes track = midi::Chunk(Track().NoteOn(0, 0, 60).End().body);
    const auto with = [](Bytes head, const Bytes& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes past_end = with(midi::Header(0, 1, 96), track);
    past_end[21] += 1;  // the track's length claims one byte more than there is
    Bytes bad_id = with(midi::Header(0, 1, 96), track);
    Bytes cut = midi::Header(0, 0, 96);
    cut.pop_back();
    bad_id[17] = 'X';
    const Case cases[] = {
        {"only MThd", {'M', 'T', 'h', 'd'}},
        {"no header fields", {'M', 'T', 'h', 'd', 0, 0, 0, 6}},
        {"division cut short", cut},
        {"header length 7", with(midi::Header(0, 1, 96, 7), track)},
        {"header length 0", with(midi::Header(0, 1, 96, 0), track)},
        {"not MThd", with(Bytes{'M', 'T', 'h', 'x', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, track)},
        {"fewer tracks than counted", with(midi::Header(1, 2, 96), track)},
        {"track id not MTrk", bad_id},
        {"track length past the data", past_end},
        {"track header cut", with(midi::Header(0, 1, 96), Bytes{'M', 'T', 'r', 'k', 0, 0})},
        {"first delta runs off the track", with(midi::Header(0, 1, 96), midi::Chunk({0x81, 0x82}))},
    };
    for (const Case& c : cases) {
        audio::MidiFile f;
        EXPECT_FALSE(audio::ReadMidiFile(c.bytes, f)) << c.what;
    }
}

TEST(MidiFileReader, ReadsBigEndianFieldsAndSetsUpEveryTrack) {
    const Bytes file = midi::File(1, 0x01E0,
                                  {Track().Tempo(0, 500000).End(), Track(), Track().NoteOn(0x81, 2, 64).End()});
    audio::MidiFile f;
    ASSERT_TRUE(audio::ReadMidiFile(file, f));
    EXPECT_EQ(f.format, 1u);
    EXPECT_EQ(f.track_count, 3u);
    EXPECT_EQ(f.division, 0x01E0u);
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_FALSE(f.tracks[0].ended());
    EXPECT_EQ(f.tracks[0].next_time, 0u);
    EXPECT_TRUE(f.tracks[1].ended()) << "an empty track is ended from the start";
    EXPECT_EQ(f.tracks[2].next_time, 0x81u);
    EXPECT_EQ(f.tracks[2].position, 2u) << "past its first delta time";
    EXPECT_EQ(f.tracks[2].start, file.data() + 14 + 8 + f.tracks[0].length + 8 + 8);

    audio::MidiFile none;
    EXPECT_TRUE(audio::ReadMidiFile(midi::Header(0, 0, 96), none)) << "a file of no tracks is readable";
    EXPECT_TRUE(none.tracks.empty());
}

TEST(MidiEvents, RunningStatusDataBytesAndBadStatuses) {
    // Note on with status, two more under running status, then a program
    // change whose running status takes one data byte.
    const Bytes body{0x00, 0x90, 60, 100, 0x10, 62, 90, 0x10, 64, 80, 0x05, 0xC3, 7, 0x01, 9, 0x00};
    audio::TrackCursor t = CursorOver(body);
    std::uint32_t first = 0;
    ASSERT_TRUE(audio::ReadVarLen(t, first));
    t.next_time = first;
    audio::MidiEvent e;
    const std::array<std::array<int, 4>, 5> expected{{
        {0, 0x90, 60, 100}, {0x10, 0x90, 62, 90}, {0x20, 0x90, 64, 80}, {0x25, 0xC3, 7, 0}, {0x26, 0xC3, 9, 0}}};
    for (const auto& x : expected) {
        ASSERT_TRUE(audio::ReadEvent(t, e));
        EXPECT_EQ(e.time, std::uint32_t(x[0]));
        EXPECT_EQ(e.status, x[1]);
        EXPECT_EQ(e.data1, x[2]);
        EXPECT_EQ(e.data2, x[3]);
    }
    EXPECT_FALSE(audio::ReadEvent(t, e)) << "the body ends without an end-of-track event";

    const auto fails = [](const Bytes& b) {
        audio::TrackCursor c = CursorOver(b);
        audio::MidiEvent ev;
        return !audio::ReadEvent(c, ev) && c.position <= c.length;
    };
    EXPECT_TRUE(fails({60, 100, 0x00})) << "a data byte at a track's start";
    for (int status : {0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xFA, 0xFE})
        EXPECT_TRUE(fails({std::uint8_t(status), 0x00, 0x00})) << status;
    EXPECT_TRUE(fails({0x90, 60})) << "a note cut short";
    EXPECT_TRUE(fails({0xFF, 0x01, 0x05, 'a', 'b'})) << "a meta body longer than the track";
    EXPECT_TRUE(fails({0xF0, 0x83, 0x00})) << "a system-exclusive count longer than the track";
    EXPECT_TRUE(fails({0x90, 60, 100, 0x81})) << "the next delta time runs off";
}

TEST(MidiEvents, SystemExclusiveAndMetaBodiesAreCopiedAndEndOfTrackEnds) {
    const Bytes body = Track().SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).Text(3, "hi").End(4).body;
    audio::TrackCursor t = CursorOver(body);
    ASSERT_TRUE(audio::ReadVarLen(t, t.next_time));
    audio::MidiEvent e;
    ASSERT_TRUE(audio::ReadEvent(t, e));
    EXPECT_EQ(e.status, 0xF0);
    EXPECT_EQ(e.bytes, (Bytes{0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_NE(e.bytes.data(), body.data() + 2) << "owned, not a view of the file";
    ASSERT_TRUE(audio::ReadEvent(t, e));
    EXPECT_TRUE(e.is_meta(0x01));
    EXPECT_EQ(e.time, 3u);
    EXPECT_EQ(e.bytes, (Bytes{'h', 'i'}));
    ASSERT_TRUE(audio::ReadEvent(t, e));
    EXPECT_TRUE(e.is_meta(audio::kMetaEndOfTrack));
    EXPECT_EQ(e.time, 7u);
    EXPECT_TRUE(t.ended());
    EXPECT_FALSE(audio::ReadEvent(t, e));
}

// ---- the merge ----

// A loaded sequencer over a file it does not own.
class Merge : public testing::Test {
protected:
    void Load(std::vector<Track> tracks, std::uint32_t division = 96, std::uint32_t format = 1) {
        file_ = midi::File(format, division, tracks);
        audio::MidiFile f;
        ASSERT_TRUE(audio::ReadMidiFile(file_, f));
        seq.Load(std::move(f));
        seq.StartAfresh();
    }
    // Fills one fresh buffer; `used` preset to leave less room.
    std::vector<Event> Fill(FillResult* result = nullptr, bool loop = false, std::uint32_t used = 0,
                            bool* rewound = nullptr) {
        std::array<std::uint8_t, audio::kStreamBufferBytes> mem{};
        audio::EventBuffer b;
        b.data = mem.data();
        b.used = used;
        const auto f = seq.Fill(b, loop);
        if (result) *result = f.result;
        if (rewound) *rewound = f.rewound;
        EXPECT_LE(b.used, b.capacity);
        EXPECT_EQ(b.used % 12, 0u);
        const auto all = midi::Events(mem.data(), b.used);
        return std::vector<Event>(all.begin() + used / 12, all.end());
    }
    // Every event of the song, buffer after buffer.
    std::vector<Event> FillAll(std::vector<std::size_t>* sizes = nullptr) {
        std::vector<Event> all;
        for (int guard = 0; guard < 100000; ++guard) {
            FillResult r;
            const auto got = Fill(&r);
            if (r != FillResult::kComplete) break;
            if (sizes) sizes->push_back(got.size());
            all.insert(all.end(), got.begin(), got.end());
        }
        return all;
    }

    Bytes file_;
    audio::MidiSequencer seq;
};

TEST_F(Merge, TracksMergeByTimeAndTheLowestTrackWinsATie) {
    Load({Track().NoteOn(0, 0, 60).NoteOn(10, 0, 61).NoteOff(20, 0, 60).End(),
          Track().NoteOn(0, 1, 70).NoteOn(5, 1, 71).NoteOn(5, 1, 72).End(),
          Track().NoteOn(10, 2, 80).End()});
    EXPECT_EQ(midi::Timeline(FillAll()), (std::vector<Timed>{{0, Short(0x90, 60, 100)},
                                                            {0, Short(0x91, 70, 100)},
                                                            {5, Short(0x91, 71, 100)},
                                                            {10, Short(0x90, 61, 100)},
                                                            {10, Short(0x91, 72, 100)},
                                                            {10, Short(0x92, 80, 100)},
                                                            {30, Short(0x80, 60, 0)}}));
    FillResult r;
    EXPECT_TRUE(Fill(&r).empty());
    EXPECT_EQ(r, FillResult::kEndOfSong) << "and stays ended";
}

TEST_F(Merge, DroppedEventsNeitherReachTheDeviceNorShiftLaterTiming) {
    Load({Track()
              .NoteOn(0, 0, 60)
              .SysEx(10, {0x43, 0x10, 0xF7})
              .Text(10, "verse")
              .Meta(5, 0x58, {4, 2, 24, 8})
              .Raw(5, {0xFF, 0x51, 0x02, 0x07, 0xA1})  // a tempo too short to read
              .Raw(5, {0xFF, 0x51, 0x03, 0, 0, 0})     // and a tempo of 0
              .NoteOff(5, 0, 60)
              .End(100)});
    const auto events = Fill();
    EXPECT_EQ(events, (std::vector<Event>{{0, 0, Short(0x90, 60, 100)}, {40, 0, Short(0x80, 60, 0)}}));
    EXPECT_EQ(seq.tempo(), 0u);
}

TEST_F(Merge, ChannelVolumeIsFlaggedForTheCallbackAndTempoIsEncoded) {
    Load({Track().Tempo(0, 500000).Control(0, 3, 7, 64).Control(0, 3, 10, 64).Program(0, 3, 5).Tempo(48, 250000).End()},
         480);
    const auto events = Fill();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].word, TempoWord(500000));
    EXPECT_EQ(events[1].word, Short(0xB3, 7, 64) | 0x40000000u);
    EXPECT_EQ(events[2].word, Short(0xB3, 10, 64)) << "other controllers carry no callback";
    EXPECT_EQ(events[3].word, Short(0xC3, 5));
    EXPECT_EQ(events[4], (Event{48, 0, TempoWord(250000)}));
    for (const Event& e : events) EXPECT_EQ(e.stream_id, 0u);
    EXPECT_EQ(seq.tempo(), 250000u);
    EXPECT_EQ(seq.span_limit(), 480u * 60000 / 250000);
}

TEST_F(Merge, ABufferClosesSoonAfterItSpansSixtyMillisecondsAtTheTempo) {
    // 480 ticks per quarter at 500,000 us: the span limit is 57 ticks.
    Track t;
    t.Tempo(0, 500000);
    for (int i = 0; i < 200; ++i) t.NoteOn(i == 0 ? 0 : 20, 0, 60 + i % 12);
    Load({t.End()}, 480);
    std::vector<std::size_t> sizes;
    const auto all = FillAll(&sizes);
    EXPECT_EQ(seq.span_limit(), 57u);
    // Covered ticks of a buffer = its last event time minus the time the
    // buffer started at. It passes the limit by at most one event gap.
    std::size_t at = 0;
    std::uint32_t start = 0;
    const auto timeline = midi::Timeline(all);
    for (std::size_t b = 0; b + 1 < sizes.size(); ++b) {
        const std::uint32_t last = timeline[at + sizes[b] - 1].time;
        EXPECT_GT(last - start, 57u) << "buffer " << b;
        EXPECT_LE(last - start, 57u + 20 + 20) << "buffer " << b;
        start = last;
        at += sizes[b];
    }
    EXPECT_EQ(sizes[0], 6u) << "tempo, then notes at 0, 20, 40, 60, 80";
    EXPECT_EQ(timeline.size(), 201u) << "nothing lost across buffers";
    EXPECT_EQ(timeline.back().time, 199u * 20);
}

TEST_F(Merge, AFullBufferLeavesTheEventPendingAndTheTimeUnchanged) {
    // A slow tempo's span limit is far away: only the room ends a buffer.
    Track t;
    t.Tempo(0, 1000);
    for (int i = 0; i < 100; ++i) t.NoteOn(i == 0 ? 0 : 3, 0, 40 + i % 40);
    Load({t.End()}, 960);
    FillResult r;
    const auto first = Fill(&r);
    EXPECT_EQ(r, FillResult::kComplete);
    ASSERT_EQ(first.size(), 85u) << "1,024 bytes hold 85 events";
    EXPECT_TRUE(seq.flags() & audio::MidiSequencer::kPending);
    EXPECT_EQ(seq.pending().time, 84u * 3) << "the 85th note";
    EXPECT_EQ(seq.current_time(), 83u * 3) << "the time of the last written event";
    const auto second = Fill(&r);
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second[0], (Event{3, 0, Short(0x90, 40 + 84 % 40, 100)}));
    EXPECT_EQ(second.size(), 100u - 84);
}

TEST_F(Merge, TempoIsInsertedAfterAStartOnlyWhenKnownAndWaitsForRoom) {
    Load({Track().NoteOn(0, 0, 60).NoteOn(10, 0, 61).NoteOn(10, 0, 62).End()});
    seq.InsertTempo();
    auto events = Fill();
    EXPECT_EQ(events.size(), 3u) << "no tempo event: none inserted";
    EXPECT_FALSE(seq.insert_tempo());

    Load({Track().Tempo(0, 600000).NoteOn(0, 0, 60).NoteOn(10, 0, 61).NoteOn(10, 0, 62).End()}, 96);
    seq.InsertTempo();  // before the tempo is known: nothing to insert
    events = Fill(nullptr, false, 0);
    EXPECT_EQ(events.size(), 4u);

    Load({Track().Tempo(0, 600000).NoteOn(0, 0, 60).Tempo(0, 700000).NoteOn(10, 0, 61).NoteOn(10, 0, 62).End()});
    FillResult r;
    // Room for two events: the tempo and the first note.
    events = Fill(&r, false, audio::kStreamBufferBytes - 4 - 24);
    ASSERT_EQ(events.size(), 2u);
    seq.InsertTempo();
    // A full buffer: the insert is kept for the next one, not dropped.
    events = Fill(&r, false, audio::kStreamBufferBytes - 4);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(seq.insert_tempo());
    events = Fill(&r);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{0, 0, TempoWord(600000)})) << "the current tempo, at delta 0";
    EXPECT_EQ(events[1], (Event{0, 0, TempoWord(700000)})) << "then the event that was pending";
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(Merge, ALoopGoesOnFromTheFirstEventRightAfterTheLast) {
    Load({Track().NoteOn(0, 0, 60).NoteOn(100, 0, 61).End(400), Track().NoteOn(50, 1, 70).End()});
    std::vector<Event> all;
    bool rewound = false, ever_rewound = false;
    for (int i = 0; i < 3; ++i) {
        FillResult r;
        const auto got = Fill(&r, true, 0, &rewound);
        ever_rewound |= rewound;
        EXPECT_EQ(r, FillResult::kComplete);
        all.insert(all.end(), got.begin(), got.end());
    }
    EXPECT_TRUE(ever_rewound);
    ASSERT_GE(all.size(), 6u);
    const std::vector<std::uint32_t> deltas{0, 50, 50, 0, 50, 50};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(all[i].delta, deltas[i]) << i;
    EXPECT_EQ(all[3].word, Short(0x90, 60, 100)) << "the first event again, the end-of-track pause not kept";
}

TEST_F(Merge, ASongThatTakesNoTimeEndsInsteadOfLoopingForever) {
    Load({Track().NoteOn(0, 0, 60).NoteOff(0, 0, 60).End(96)});
    FillResult r = FillResult::kComplete;
    int fills = 0;
    while (r == FillResult::kComplete && fills < 10) {
        Fill(&r, true);
        ++fills;
    }
    EXPECT_EQ(r, FillResult::kEndOfSong);
}

TEST_F(Merge, AReadErrorStopsTheSongForGood) {
    Track t;
    t.NoteOn(0, 0, 60);
    t.Raw(10, {0xF4});
    Load({t});
    FillResult r;
    EXPECT_EQ(Fill(&r).size(), 1u) << "what came before the error is written";
    EXPECT_EQ(r, FillResult::kReadError);
    Fill(&r, true);
    EXPECT_EQ(r, FillResult::kReadError);

    Load({Track().Raw(0, {60, 100})});  // a data byte first
    Fill(&r);
    EXPECT_EQ(r, FillResult::kReadError);
}

TEST_F(Merge, AnEmptyTrackIsEndedAndFormatTwoMergesLikeFormatOne) {
    Load({Track(), Track().NoteOn(5, 0, 60).End(), Track().NoteOn(0, 1, 61).End()}, 96, 2);
    EXPECT_EQ(midi::Timeline(FillAll()),
              (std::vector<Timed>{{0, Short(0x91, 61, 100)}, {5, Short(0x90, 60, 100)}}));
}

}  // namespace
