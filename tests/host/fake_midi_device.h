#pragma once
// A MIDI stream whose buffer completions the test drives. It records every
// call and every event queued, and behaves as the system's stream does where
// the player depends on it: streams open paused, a reset gives every queued
// buffer back, a queued header cannot be unprepared.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "audio/midi_device.h"
#include "tests/host/midi_builder.h"

namespace fake {

class MidiDevice final : public audio::MidiDevice {
public:
    struct Stream {
        audio::MidiCallback callback = nullptr;
        void* instance = nullptr;
        std::uint32_t division = 0;
        std::vector<audio::MidiHeader*> queue;          // queued, not yet given back
        std::vector<std::vector<midi::Event>> outs;     // events of every queued buffer, in order
        std::vector<std::string> log;                   // calls after open, in order
        bool running = false;
        bool closed = false;
    };
    struct Notice {
        std::uintptr_t window;
        std::uint32_t message;
        std::uintptr_t wparam, lparam;
    };

    bool refuse_open = false;
    bool refuse_division = false;
    bool keep_buffers_on_reset = false;  // a device that never gives them back after a stop

    audio::MidiHandle Open(audio::MidiCallback cb, void* instance) override {
        std::lock_guard g(m_);
        if (refuse_open) {
            journal_.push_back("refused open");
            return 0;
        }
        const audio::MidiHandle h = ++last_;
        Stream& s = streams_[h];
        s.callback = cb;
        s.instance = instance;
        journal_.push_back("open " + std::to_string(h));
        return h;
    }
    bool SetTimeDivision(audio::MidiHandle h, std::uint32_t division) override {
        std::lock_guard g(m_);
        if (!streams_.count(h) || refuse_division) return false;
        streams_[h].division = division;
        return true;
    }
    bool Prepare(audio::MidiHandle h, audio::MidiHeader* hdr) override {
        std::lock_guard g(m_);
        if (!streams_.count(h)) return false;
        hdr->flags |= audio::kMidiHeaderPrepared;
        streams_[h].log.push_back("prepare");
        return true;
    }
    bool Unprepare(audio::MidiHandle h, audio::MidiHeader* hdr) override {
        std::lock_guard g(m_);
        if (!streams_.count(h) || (hdr->flags & audio::kMidiHeaderInQueue)) return false;
        hdr->flags &= ~audio::kMidiHeaderPrepared;
        streams_[h].log.push_back("unprepare");
        return true;
    }
    bool Out(audio::MidiHandle h, audio::MidiHeader* hdr) override {
        std::lock_guard g(m_);
        if (!streams_.count(h) || !(hdr->flags & audio::kMidiHeaderPrepared) || hdr->bytes_recorded > hdr->buffer_length)
            return false;
        Stream& s = streams_[h];
        hdr->flags = (hdr->flags | audio::kMidiHeaderInQueue) & ~audio::kMidiHeaderDone;
        s.queue.push_back(hdr);
        s.outs.push_back(midi::Events(hdr->data, hdr->bytes_recorded));
        s.log.push_back("out");
        return true;
    }
    bool Restart(audio::MidiHandle h) override { return Log(h, "restart", true); }
    bool Stop(audio::MidiHandle h) override { return Log(h, "stop", false); }
    bool Reset(audio::MidiHandle h) override {
        if (!Log(h, "reset", false)) return false;
        if (!keep_buffers_on_reset) GiveBack(h, SIZE_MAX);
        return true;
    }
    bool Close(audio::MidiHandle h) override {
        std::lock_guard g(m_);
        if (!streams_.count(h)) return false;
        Stream& s = streams_[h];
        s.log.push_back("close");
        s.closed = true;
        journal_.push_back("close " + std::to_string(h));
        return true;
    }
    void Notify(std::uintptr_t window, std::uint32_t message, std::uintptr_t wparam, std::uintptr_t lparam) override {
        std::lock_guard g(m_);
        notices_.push_back({window, message, wparam, lparam});
    }

    // Gives the `n` oldest queued buffers of `h` back as played.
    void GiveBack(audio::MidiHandle h, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            if (!Tell(h, audio::kMidiDone, [&](Stream& s, audio::MidiHeader* hdr) {
                    s.queue.erase(s.queue.begin());
                    hdr->flags = (hdr->flags & ~audio::kMidiHeaderInQueue) | audio::kMidiHeaderDone;
                }))
                return;
    }
    // Reports that the event at `offset` of the oldest queued buffer played.
    void PositionReached(audio::MidiHandle h, std::uint32_t offset) {
        Tell(h, audio::kMidiPositionCallback, [&](Stream&, audio::MidiHeader* hdr) { hdr->offset = offset; });
    }

    Stream Snapshot(audio::MidiHandle h) {
        std::lock_guard g(m_);
        return streams_[h];
    }
    std::size_t Outs(audio::MidiHandle h) { return Snapshot(h).outs.size(); }
    std::size_t Queued(audio::MidiHandle h) { return Snapshot(h).queue.size(); }
    // Every event queued on `h`, in order.
    std::vector<midi::Event> AllEvents(audio::MidiHandle h) {
        std::vector<midi::Event> all;
        for (const auto& o : Snapshot(h).outs) all.insert(all.end(), o.begin(), o.end());
        return all;
    }
    // Opens and closes of every stream, in order.
    std::vector<std::string> journal() {
        std::lock_guard g(m_);
        return journal_;
    }
    std::vector<Notice> notices() {
        std::lock_guard g(m_);
        return notices_;
    }
    audio::MidiHandle last_handle() {
        std::lock_guard g(m_);
        return last_;
    }

private:
    // Changes the oldest queued buffer of `h` under the lock, then calls back
    // with `message` outside it, as a driver does; false when none is queued.
    template <class Change>
    bool Tell(audio::MidiHandle h, std::uint32_t message, Change change) {
        audio::MidiCallback cb;
        void* inst;
        audio::MidiHeader* hdr;
        {
            std::lock_guard g(m_);
            Stream& s = streams_[h];
            if (s.queue.empty()) return false;
            hdr = s.queue.front();
            change(s, hdr);
            cb = s.callback;
            inst = s.instance;
        }
        cb(inst, h, message, hdr);
        return true;
    }
    bool Log(audio::MidiHandle h, const char* what, bool running) {
        std::lock_guard g(m_);
        if (!streams_.count(h)) return false;
        streams_[h].log.push_back(what);
        streams_[h].running = running;
        return true;
    }

    std::mutex m_;
    std::map<audio::MidiHandle, Stream> streams_;
    std::vector<std::string> journal_;
    std::vector<Notice> notices_;
    audio::MidiHandle last_ = 0;
};

}  // namespace fake
