// The rules of running handlers, which the Qt app and the script runner share.
#include <gtest/gtest.h>

#include "common/RuntimeError.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

struct RunRules : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(rig.start()); }
    Rig rig;
    Program& p = rig.program;
};

TEST_F(RunRules, ATickRunsOnlyWhenNothingElseRunsAndTimer1IsEnabled) {
    EXPECT_TRUE(p.tick());
    bool tickedInside = true;
    EXPECT_TRUE(p.dispatch([&] { tickedInside = p.tick(); }));
    EXPECT_FALSE(tickedInside);  // skipped while a handler runs
    p.monitor().Timer1->enabled = false;
    EXPECT_FALSE(p.tick());
    p.monitor().Timer1->enabled = true;
    EXPECT_TRUE(p.tick());
}

TEST_F(RunRules, OneHandlerAtATime) {
    bool nestedRan = false;
    bool admitted = true;
    EXPECT_TRUE(p.dispatch([&] {
        EXPECT_TRUE(p.busy());
        admitted = p.dispatch([&] { nestedRan = true; });
    }));
    EXPECT_FALSE(admitted);
    EXPECT_FALSE(nestedRan);
    EXPECT_FALSE(p.busy());
}

// A window a handler shows is activated once that handler has ended: showing the generator
// window again runs its activation, which has nothing left to do after the start-up.
TEST_F(RunRules, AWindowAHandlerShowsIsActivatedAfterIt) {
    rig.s().link.activated = false;  // its activation would start up again
    std::size_t linesDuringHandler = 0;
    const auto mark = rig.mark();
    EXPECT_TRUE(p.dispatch([&] {
        p.link().ui().ShowForm("frmMain", "frmMain");
        linesDuringHandler = rig.lines(mark).size();
    }));
    EXPECT_EQ(linesDuringHandler, 0U);
    EXPECT_EQ(rig.lines(mark).front(), "devices 1");  // the start-up ran, after the handler
    EXPECT_TRUE(rig.s().link.activated);
}

TEST_F(RunRules, AnErrorEndsOnlyItsHandlerAfterAMessage) {
    struct Row {
        std::function<void()> fault;
        const char* message;
        std::optional<std::string> title;
    };
    const Row rows[] = {
        {[] { throw RuntimeError(kOverflow); }, "Overflow", "Run-time error"},
        {[&] { (void)rig.w()["Frk"]; }, "Unexpected error: no control Frk in frmMain",
         std::nullopt},
    };
    for (const Row& r : rows) {
        rig.ui.messages.clear();
        EXPECT_TRUE(p.dispatch(r.fault));
        ASSERT_EQ(rig.ui.messages.size(), 1U);
        EXPECT_EQ(rig.ui.messages[0].text, r.message);
        EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(rig.ui.messages[0].title, r.title);
        EXPECT_FALSE(p.ended());
        EXPECT_TRUE(p.dispatch([] {}));  // the next handler runs
    }
}

TEST_F(RunRules, OnceTheProgramHasEndedNothingRuns) {
    EXPECT_TRUE(p.dispatch(rig.w(), "Form_Unload"));
    EXPECT_TRUE(p.ended());
    EXPECT_EQ(rig.lines().back(), "end");
    bool ran = false;
    EXPECT_FALSE(p.dispatch([&] { ran = true; }));
    EXPECT_FALSE(p.tick());
    EXPECT_FALSE(ran);
}

// The link reports each library status to the generator's Status label.
TEST_F(RunRules, TheSharedLinkShowsItsStatusInTheGeneratorWindow) {
    EXPECT_EQ(&p.link(), &p.generator().link());
    EXPECT_EQ(&p.link(), &p.monitor().link());
    p.link().showStatus(13);
    EXPECT_EQ(rig.w().Status->text, "13");
}

}  // namespace
}  // namespace tunx::test
