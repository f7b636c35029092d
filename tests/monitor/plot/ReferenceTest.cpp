// Reference traces: kept in volts and seconds, drawn at the V/div and time base of the moment,
// loaded from the scope export, and refused whole when a file is not one.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"
#include "monitor/ReferenceMenu.h"
#include "monitor/scope/Capture.h"

namespace tunx::test {
namespace {

constexpr const char* kRefAColour = "4251712";   // green
constexpr const char* kRefBColour = "16744640";  // violet

class ReferenceTraces : public MonitorRig {
  protected:
    void TearDown() override { std::filesystem::remove_all(dir); }

    // The drawn reference: its height in rows and its period in columns.
    struct Drawing {
        double pp = 0, periodColumns = 0;
    };
    Drawing drawing(std::size_t from, const char* colour) {
        std::vector<std::pair<double, double>> points;
        for (const Drawn& d : drawn(from)) {
            if (d.colour == colour) {
                points.emplace_back(d.x2 - 32, d.y2 - 32);
            }
        }
        Drawing out;
        if (points.size() < 2) {
            return out;
        }
        double lo = 1e9, hi = -1e9, sum = 0;
        for (const auto& p : points) {
            lo = std::min(lo, p.second);
            hi = std::max(hi, p.second);
            sum += p.second;
        }
        out.pp = hi - lo;
        const double mid = sum / static_cast<double>(points.size());
        std::vector<double> ups;  // the plot's rows grow downwards: up is a falling row
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (points[i - 1].second > mid && points[i].second <= mid) {
                ups.push_back(points[i].first);
            }
        }
        if (ups.size() > 1) {
            out.periodColumns = (ups.back() - ups.front()) / static_cast<double>(ups.size() - 1);
        }
        return out;
    }

    std::optional<std::string> save(std::size_t slot, ReferenceSource source) {
        std::optional<std::string> why;
        rig.program.dispatch([&] { why = saveReference(m(), slot, source); });
        return why;
    }
    std::optional<std::string> load(std::size_t slot, const std::string& path) {
        std::optional<std::string> why;
        rig.program.dispatch([&] { why = loadReference(m(), slot, path); });
        return why;
    }
    std::string file(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(dir);
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Its own folder, also while another build runs the same test.
    std::string dir = ::testing::TempDir() + "tunx-ref-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

// A reference keeps its volts and times: after the V/div is halved and the time base doubled
// it is drawn twice as tall and with half the period, and the live trace is drawn over it.
TEST_F(ReferenceTraces, AReferenceStaysAtItsVoltsWhenTheSettingsChange) {
    generatorSine("1", "kHz", "2");
    runScope("Scope CH1", 3);
    EXPECT_EQ(save(kRefA, ReferenceSource::CH2), "there is no trace on the plot to keep");
    ASSERT_EQ(save(kRefA, ReferenceSource::CH1), std::nullopt);
    const ReferenceTrace kept = *mon().refs.traces[kRefA];
    EXPECT_EQ(m().refatext->text, "REF A CH1");
    EXPECT_TRUE(m().refatext->visible);

    std::size_t from = mark();
    tick();
    Drawing before = drawing(from, kRefAColour);
    EXPECT_NEAR(before.pp, 2 * 64, 6);
    EXPECT_NEAR(before.periodColumns, 64, 2);
    // Behind the live trace: drawn before it.
    const auto lines = drawn(from);
    const auto firstOf = [&](const char* colour) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const Drawn& d) { return d.colour == colour; });
    };
    EXPECT_LT(firstOf(kRefAColour), firstOf(kRed));

    generatorSine("3", "kHz", "1");  // the live signal changes; the reference does not
    set("ch1vdiv=0.5V|seltimediv=2ms/div");
    tick(2);
    from = mark();
    tick();
    const Drawing after = drawing(from, kRefAColour);
    EXPECT_NEAR(after.pp, 4 * 64, 8);
    EXPECT_NEAR(after.periodColumns, 32, 2);
    EXPECT_EQ(mon().refs.traces[kRefA]->values, kept.values);

    click("MenuBar_ClearRefs_Click");
    from = mark();
    tick();
    EXPECT_TRUE(drawing(from, kRefAColour).pp == 0);
    EXPECT_FALSE(m().refatext->visible);
}

// The scope export loaded as a reference is the record it was written from; a reference's own
// text (what the user's settings keep) reads back the same.
TEST_F(ReferenceTraces, LoadingAScopeExportReproducesTheTrace) {
    generatorSine("1", "kHz", "2");
    runScope("Scope CH1+CH2", 3);
    click("cmdstop_Click");
    std::string why;
    const std::string path = dir + "/scope.csv";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(exportTo(m(), ExportKind::Scope, path, why)) << why;
    ASSERT_EQ(load(kRefB, path), std::nullopt);
    const ReferenceTrace& ref = *mon().refs.traces[kRefB];
    const std::vector<double> ch1 = shownVolts(*mon().capture, Channel::CH1);
    EXPECT_EQ(ref.values, ch1);
    EXPECT_EQ(ref.source, "CH1");
    ASSERT_EQ(ref.times.size(), ch1.size());
    EXPECT_DOUBLE_EQ(ref.times[10], 10 * mon().capture->interval);
    EXPECT_EQ(m().refbtext->text, "REF B CH1");

    std::istringstream kept(referenceCsv(ref));
    const std::optional<ReferenceTrace> again = readReferenceCsv(kept, why);
    ASSERT_TRUE(again) << why;
    EXPECT_EQ(again->values, ref.values);
    EXPECT_EQ(again->times, ref.times);

    // Drawn at once, over the stopped record, on CH1's scale.
    const std::size_t from = mark();
    click("MenuBar_ClearRefs_Click");
    ASSERT_EQ(load(kRefB, path), std::nullopt);
    EXPECT_NEAR(drawing(from, kRefBColour).pp, 2 * 64, 6);
}

// A file that is not a scope export is refused with what is wrong, and the reference there
// stays as it was.
TEST_F(ReferenceTraces, AFileThatIsNotAScopeExportChangesNothing) {
    std::string rows;
    for (std::size_t i = 0; i <= kMostReferenceValues; ++i) {
        rows += std::to_string(i) + ",0.5\n";
    }
    struct Row {
        const char* name;
        std::string text;
        const char* why;
    };
    const Row cases[] = {
        {"empty.csv", "", "it has no heading line"},
        {"sweep.csv", "frequency_Hz,level_dBV\n1000,-3\n2000,-4\n",
         "its first line is not the scope export's heading \"time_s,...\""},
        {"column.csv", "time_s,volts\n0,1\n1,2\n",
         "its second column \"volts\" is none of CH1_V, CH2_V or a math column"},
        {"word.csv", "time_s,CH1_V\n0,1\n0.001,one\n", "line 3 does not hold a time and a value"},
        {"comma.csv", "time_s,CH1_V\n0,1\n0,001,2\n",
         "the time of line 3 does not come after the one before"},
        {"nan.csv", "time_s,CH1_V\n0,1\n1,nan\n", "line 3 does not hold a time and a value"},
        {"one.csv", "time_s,CH1_V\n0,1\n", "it holds fewer than two values"},
        {"long.csv", "time_s,CH1_V\n" + rows, "it holds more than 8192 values"},
        {"binary.csv", "time_s,CH1_V\n" + std::string(70000, 'x'), "line 2 is far too long"},
    };
    generatorSine("1", "kHz", "2");
    runScope("Scope CH1", 3);
    ASSERT_EQ(save(kRefA, ReferenceSource::CH1), std::nullopt);
    const ReferenceTrace kept = *mon().refs.traces[kRefA];
    const std::uint64_t revision = mon().refs.revision;
    for (const Row& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(load(kRefA, file(row.name, row.text)), row.why);
    }
    EXPECT_EQ(load(kRefA, dir + "/missing.csv"), "there is no such file");
    EXPECT_EQ(load(kRefA, dir), "it is a folder, not a readable file");
    EXPECT_EQ(mon().refs.traces[kRefA]->values, kept.values);
    EXPECT_EQ(mon().refs.revision, revision);
    EXPECT_FALSE(mon().refs.traces[kRefB]);

    // The File menu says so in a message.
    rig.ui.answers.push_back(dir + "/sweep.csv");
    const std::size_t said = messages().size();
    click("MenuBar_LoadRefA_Click");
    ASSERT_EQ(messagesAfter(said).size(), 1u);
    EXPECT_TRUE(messagesAfter(said)[0].starts_with("REF A was not loaded from " + dir +
                                                   "/sweep.csv: its first line"))
        << messagesAfter(said)[0];
}

}  // namespace
}  // namespace tunx::test
