#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace kfa {

// The number of cores this process may run on.
int AvailableCores();

// Runs make(i) for every i in [0, count) on `jobs` threads and hands each
// result to take(i, result) on the calling thread, in order of i. Work starts
// at most `ahead` items beyond the one taken next, so however many items there
// are, at most `ahead` of them are held at once. An exception from make
// reaches the caller when its item's turn comes; one from take stops the work.
template <class Result>
void RunInOrder(int count, int jobs, int ahead, const std::function<Result(int)>& make,
                const std::function<void(int, Result&&)>& take) {
    struct Done {
        Result Value{};
        std::exception_ptr Error;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::map<int, Done> done;
    int next = 0, taken = 0;
    bool stop = false;

    auto work = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= count || next < taken + ahead; });
            if (stop || next >= count)
                return;
            const int i = next++;
            lock.unlock();
            Done item;
            try {
                item.Value = make(i);
            } catch (...) {
                item.Error = std::current_exception();
            }
            lock.lock();
            done.emplace(i, std::move(item));
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    auto finish = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& t : threads)
            t.join();
        threads.clear();
    };
    try {
        for (int j = 0; j < jobs; ++j)
            threads.emplace_back(work);
        for (int i = 0; i < count; ++i) {
            Done item;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return done.count(i) != 0; });
                item = std::move(done.at(i));
                done.erase(i);
            }
            if (item.Error)
                std::rethrow_exception(item.Error);
            take(i, std::move(item.Value));
            {
                std::lock_guard lock(mutex);
                ++taken;
            }
            changed.notify_all();
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace kfa
