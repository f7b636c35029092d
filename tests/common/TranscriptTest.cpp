#include "ports/Transcript.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ports/Recording.h"

namespace tunx {
namespace {

TEST(TranscriptEscape, LineBreaksAndBackslashes) {
    struct Row {
        const char* in;
        const char* out;
    };
    for (const Row& r : {Row{"plain", "plain"}, Row{"a\r\nb", "a\\nb"}, Row{"a\nb", "a\\nb"},
                         Row{"'.\r\n", "'.\\n"}, Row{"C:\\dir\\f", "C:\\\\dir\\\\f"},
                         Row{"\\n", "\\\\n"}, Row{" x ", " x "}}) {
        EXPECT_EQ(Transcript::escape(r.in), r.out) << r.in;
    }
}

TEST(TranscriptCoordinate, WholeNumbersPlainOthersWithAtMostThreeDecimals) {
    const std::pair<double, const char*> rows[] = {{0, "0"},
                                                   {12, "12"},
                                                   {-3, "-3"},
                                                   {704, "704"},
                                                   {-3.5, "-3.5"},
                                                   {0.125, "0.125"},
                                                   {1.25, "1.25"},
                                                   {2.1, "2.1"},
                                                   {1.0004, "1"},
                                                   {1.0006, "1.001"},
                                                   {-0.0004, "0"},
                                                   {-0.0, "0"},
                                                   {12.3456, "12.346"},
                                                   {99.9999, "100"},
                                                   {1e6, "1000000"},
                                                   {-1234.5678, "-1234.568"}};
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(Transcript::coordinate(value), text) << value;
    }
}

// Counts the flushes that reach the stream.
class FlushCounter : public std::stringbuf {
  public:
    int flushes = 0;

  protected:
    int sync() override {
        ++flushes;
        return std::stringbuf::sync();
    }
};

TEST(TranscriptStream, LinesGoOutAsTheyHappenAndAreFlushedOnlyWhenAsked) {
    FlushCounter buffer;
    std::ostream out(&buffer);
    {
        Transcript t(out);
        for (int i = 0; i < 100; ++i) {
            t.write("sleep " + std::to_string(i));
        }
        EXPECT_EQ(buffer.flushes, 0);
        EXPECT_TRUE(t.lines().empty());  // what goes out is not kept as well
        t.flush();
        EXPECT_EQ(buffer.flushes, 1);
        EXPECT_TRUE(buffer.str().starts_with("sleep 0\nsleep 1\n"));
        t.write("mark end");
    }
    EXPECT_EQ(buffer.flushes, 2);  // the transcript flushes what it holds when it goes
    EXPECT_TRUE(buffer.str().ends_with("sleep 99\nmark end\n"));
}

// A canvas that keeps what reached it.
class KeptCanvas : public Canvas {
  public:
    void Line(double, double, double, double, Colour colour, int, LineStyle) override {
        calls.push_back("line " + std::to_string(colour));
    }
    void Clear() override { calls.push_back("clear"); }
    Colour BackColor() const override { return colour::kWhite; }
    std::vector<std::string> calls;
};

TEST(RecordingCanvas, WritesTheLinesOfTheContractWhileLinesAreOn) {
    KeptCanvas inner;
    Transcript t;
    RecordingCanvas canvas(inner, t);
    canvas.Line(1, 2, 3, 4, colour::kRed, 2, LineStyle::Solid);  // lines are off at first
    canvas.Clear();
    EXPECT_TRUE(t.lines().empty());
    canvas.setLines(true);
    struct Row {
        double x1, y1, x2, y2;
        Colour colour;
        int width;
        LineStyle style;
        const char* line;
    };
    for (const Row& r : {
             Row{0, 0, 704, 576, colour::kBlack, 1, LineStyle::Dotted, "line 0 0 704 576 0 1 dot"},
             Row{10.5, 20.25, 30, 40.125, colour::kRed, 2, LineStyle::Solid,
                 "line 10.5 20.25 30 40.125 255 2 solid"},
             Row{-1, 0.0001, 2.3456, 7, colour::kYellow, 2, LineStyle::Solid,
                 "line -1 0 2.346 7 65535 2 solid"},
             Row{5, 5, 6, 6, colour::kWhite, 1, LineStyle::Solid, "line 5 5 6 6 16777215 1 solid"},
             // In the picture's background colour, whatever that is (white here).
             Row{1, 1, 2, 2, colour::kPictureBack, 2, LineStyle::Solid,
                 "line 1 1 2 2 back 2 solid"},
         }) {
        const auto before = t.lines().size();
        canvas.Line(r.x1, r.y1, r.x2, r.y2, r.colour, r.width, r.style);
        EXPECT_EQ(t.lines().size(), before + 1);
        EXPECT_EQ(t.lines().back(), r.line);
    }
    canvas.Clear();
    EXPECT_EQ(t.lines().back(), "clear");
    EXPECT_EQ(canvas.BackColor(), colour::kWhite);
    canvas.setLines(false);
    canvas.Line(1, 2, 3, 4, colour::kRed, 2, LineStyle::Solid);
    EXPECT_EQ(t.lines().size(), 6U);
    // Every call reached the picture, recorded or not, the back colour as it was given.
    EXPECT_EQ(inner.calls.size(), 9U);
    EXPECT_EQ(inner.calls[6], "line " + std::to_string(colour::kPictureBack));
}

}  // namespace
}  // namespace tunx
