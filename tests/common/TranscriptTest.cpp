#include "ports/Transcript.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tunx
