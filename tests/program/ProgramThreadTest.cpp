// The program on a thread of its own: work in order and never dropped, the monitor's timer
// between pieces of work, and what is published for the windows.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "program/ProgramThread.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using namespace std::chrono_literals;

struct OnItsThread : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        thread.start();
    }
    // Publications as the windows would receive them.
    std::vector<Published> taken() {
        const std::lock_guard lock(mutex);
        return published;
    }
    // Runs `work` on the program's thread until `release`.
    std::uint64_t block(std::atomic<bool>& release) {
        return thread.post([&] {
            while (!release) {
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    // Transcript lines so far, read on the program's thread.
    std::size_t lines() {
        std::size_t n = 0;
        thread.call([&] { n = rig.mark(); });
        return n;
    }

    Rig rig;
    std::mutex mutex;
    std::vector<Published> published;
    ProgramThread thread{rig.program, [this](Published p) {
                             const std::lock_guard lock(mutex);
                             published.push_back(std::move(p));
                         }};
};

TEST_F(OnItsThread, WorkRunsInOrderAndNothingIsDroppedWhileAHandlerRuns) {
    std::atomic<bool> release = false;
    block(release);
    std::vector<int> ran;  // written on the program's thread only
    for (int i = 0; i < 200; ++i) {
        thread.post([&ran, i] { ran.push_back(i); });
    }
    std::this_thread::sleep_for(20ms);
    release = true;
    std::vector<int> seen;
    thread.call([&] { seen = ran; });
    ASSERT_EQ(seen.size(), 200U);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
    }
    // Each piece was published as done, in order.
    std::uint64_t last = 0;
    for (const Published& p : taken()) {
        EXPECT_GE(p.done, last);
        last = p.done;
    }
    EXPECT_GE(last, 201U);
}

// The timer ticks while it runs and the monitor's Timer1 is enabled, never while work runs, and
// not once it is off: a running scope reads a record at each tick.
TEST_F(OnItsThread, TheTimerTicksBetweenPiecesOfWork) {
    Form1& m = rig.program.monitor();
    thread.call([&] {
        rig.w().Vpp->text = "4";
        rig.program.dispatch(rig.w(), "RefreshBtn_Click");
        rig.program.dispatch([&] { m.choose(*m.selmonmode, "Scope CH1"); });
        rig.program.dispatch(m, "cmdstartsweep_Click");
    });
    const std::size_t before = lines();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(lines(), before);  // the timer is off
    thread.runTimer(true);
    for (int i = 0; i < 500 && lines() < before + 100; ++i) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_GE(lines(), before + 100);

    std::atomic<bool> release = false;
    std::size_t atBlock = 0;
    thread.post([&] { atBlock = rig.mark(); });
    block(release);
    std::this_thread::sleep_for(60ms);
    std::size_t duringBlock = 0;
    release = true;
    thread.call([&] { duringBlock = rig.mark(); });
    EXPECT_EQ(duringBlock, atBlock);  // no tick while the work ran

    thread.runTimer(false);
    const std::size_t stopped = lines();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(lines(), stopped);
}

// A user's edit is published with its number, and the edited control is published even when its
// look did not change, so that the window learns that the edit has arrived.
TEST_F(OnItsThread, AnEditIsPublishedWithItsNumber) {
    const Control* frek = &*rig.w().Frek;
    const std::uint64_t work = thread.post([&] { rig.w().typeText(*rig.w().Frek, "5"); }, frek, 3);
    thread.post([&] { rig.w().typeText(*rig.w().Frek, "5"); }, frek, 4);
    thread.call([] {});
    std::vector<std::uint64_t> edits;
    for (const Published& p : taken()) {
        for (const ControlLook& look : p.controls) {
            if (look.control == frek) {
                EXPECT_EQ(look.look.text, "5");
                edits.push_back(look.edits);
            }
        }
        if (p.done == work) {
            EXPECT_FALSE(p.controls.empty());
        }
    }
    EXPECT_EQ(edits, (std::vector<std::uint64_t>{3, 4}));
}

TEST_F(OnItsThread, OnceStoppedNothingMoreRunsAndCallsReturn) {
    std::atomic<bool> release = false;
    block(release);
    bool ran = false;
    thread.post([&] { ran = true; });
    std::thread releaser([&] {
        std::this_thread::sleep_for(20ms);
        release = true;
    });
    thread.stop();  // the work under way ends; the rest is dropped
    releaser.join();
    EXPECT_FALSE(ran);
    thread.call([&] { ran = true; });  // returns at once
    EXPECT_FALSE(ran);
}

TEST_F(OnItsThread, TheProgramsEndIsPublished) {
    thread.post([&] { rig.w().run("Form_Unload"); });
    thread.call([] {});
    const auto all = taken();
    ASSERT_FALSE(all.empty());
    EXPECT_TRUE(all.back().ended);
    bool ran = false;
    thread.post([&] { ran = true; });  // a handler once the program has ended
    thread.call([] {});
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace tunx::test
