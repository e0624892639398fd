#pragma once
// Where a device callback finds its player: one route per open handle.
//
// A handle value is free for the system to hand out again the moment its
// close returns, possibly to another player opening on another thread. So a
// route leaves the table before its close starts, and comes back only if the
// close failed: a new player's route under the same value is never touched.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace audio {

template <class Route>
class RouteTable {
public:
    void Add(std::uintptr_t handle, std::unique_ptr<Route> route) {
        std::lock_guard g(lock_);
        routes_[handle] = std::move(route);
    }

    // Runs `close` (true on success); the route is freed only after a
    // successful close, when no callback can come any more.
    template <class CloseFn>
    bool Close(std::uintptr_t handle, CloseFn close) {
        std::unique_ptr<Route> mine;
        {
            std::lock_guard g(lock_);
            if (auto it = routes_.find(handle); it != routes_.end()) {
                mine = std::move(it->second);
                routes_.erase(it);
            }
        }
        const bool ok = close();
        if (!ok && mine) {
            std::lock_guard g(lock_);
            routes_.emplace(handle, std::move(mine));
        }
        return ok;
    }

    Route* Find(std::uintptr_t handle) {
        std::lock_guard g(lock_);
        const auto it = routes_.find(handle);
        return it == routes_.end() ? nullptr : it->second.get();
    }

private:
    std::mutex lock_;
    std::map<std::uintptr_t, std::unique_ptr<Route>> routes_;
};

}  // namespace audio
