#include "remote/Parser.h"

#include <gtest/gtest.h>

#include "remote/LineFramer.h"
#include "remote/Server.h"

namespace tunx::remote {
namespace {

// A header as text: nodes joined by ':', numbers kept, '*' for common commands, '?' for queries.
std::string headerText(const Header& h) {
    std::string out = h.common ? "*" : "";
    for (std::size_t i = 0; i < h.nodes.size(); ++i) {
        out += (i > 0 ? ":" : "") + h.nodes[i].mnemonic;
        if (h.nodes[i].suffix) {
            out += std::to_string(*h.nodes[i].suffix);
        }
    }
    return out + (h.query ? "?" : "");
}

std::vector<std::string> headersOf(const std::string& line) {
    std::vector<std::string> out;
    for (const Unit& u : parseLine(line)) {
        out.push_back(headerText(u.header));
    }
    return out;
}

// The path rule: a header continues from the node above the previous one's last, unless it
// starts at the root; common commands leave the path alone.
TEST(RemoteParser, HeadersFollowThePathRule) {
    const struct {
        const char* line;
        std::vector<std::string> headers;
    } rows[] = {
        {"*IDN?", {"*IDN?"}},
        {"sour:freq 1000;volt 2", {"SOUR:FREQ", "SOUR:VOLT"}},
        {"SOUR:FREQ 1;:OUTP ON;STAT?", {"SOUR:FREQ", "OUTP", "STAT?"}},
        {"SOUR:VOLT:OFFS 1;*CLS;AMPL 2", {"SOUR:VOLT:OFFS", "*CLS", "SOUR:VOLT:AMPL"}},
        {"chan2:scal 0.5;OFFS?", {"CHAN2:SCAL", "CHAN2:OFFS?"}},
        {"  MEAS:VPP? CH1 ; ; ", {"MEAS:VPP?"}},
        {"", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(headersOf(row.line), row.headers) << row.line;
    }
}

TEST(RemoteParser, ReadsEveryKindOfParameter) {
    const std::vector<Unit> units = parseLine(
        "X 1.5E3,-2,+.5, 1 kHz,#HFF,#B101,#Q17,'it''s',\"a\"\"b\",max,#15a\nb;c,1e 2;Y #0r;e\xff");
    ASSERT_EQ(units.size(), 2U);
    const std::vector<Param>& p = units[0].params;
    using K = Param::Kind;
    const struct {
        K kind;
        double number;
        std::string text;
        std::string suffix;
    } expected[] = {{K::Numeric, 1500, "1.5E3", ""}, {K::Numeric, -2, "-2", ""},
                    {K::Numeric, 0.5, "+.5", ""},    {K::Numeric, 1, "1", "KHZ"},
                    {K::Numeric, 255, "#HFF", ""},   {K::Numeric, 5, "#B101", ""},
                    {K::Numeric, 15, "#Q17", ""},    {K::String, 0, "it's", ""},
                    {K::String, 0, "a\"b", ""},      {K::Character, 0, "MAX", ""},
                    {K::Block, 0, "a\nb;c", ""},     {K::Numeric, 100, "1e2", ""}};
    ASSERT_EQ(p.size(), std::size(expected));
    for (std::size_t i = 0; i < p.size(); ++i) {
        EXPECT_EQ(p[i].kind, expected[i].kind) << i;
        EXPECT_EQ(p[i].text, expected[i].text) << i;
        EXPECT_EQ(p[i].suffix, expected[i].suffix) << i;
        if (expected[i].kind == K::Numeric) {
            EXPECT_DOUBLE_EQ(p[i].number, expected[i].number) << i;
        }
    }
    ASSERT_EQ(units[1].params.size(), 1U);
    EXPECT_EQ(units[1].params[0].text, "r;e\xff");  // an indefinite block runs to the end
}

TEST(RemoteParser, RefusesMalformedLinesWithTheirErrorNumber) {
    const struct {
        const char* line;
        int error;
    } rows[] = {
        {"FREQ,1", -102},          {"1FREQ", -102},
        {"FREQ 1 2", -103},        {"FREQ 1;VOLT 2 3", -103},
        {"FREQ 1,,2", -109},       {"FREQ 1,", -109},
        {"FREQ @", -101},          {"FREQ 'abc", -151},
        {"FREQ #15ab", -161},      {"FREQ #2x1", -161},
        {"FREQ .", -120},          {"FREQ 1e999", -120},
        {"FREQ #HZZ", -120},       {"FREQ #X1", -120},
        {"ABCDEFGHIJKLM 1", -112}, {"FREQ ABCDEFGHIJKLM", -144},
        {"*IDN3?", -113},          {"SOUR:", -102},
        {"SOUR::FREQ", -102},      {"FREQ?x", -102},
    };
    for (const auto& row : rows) {
        try {
            parseLine(row.line);
            ADD_FAILURE() << row.line << " was read";
        } catch (const ScpiError& e) {
            EXPECT_EQ(e.number(), row.error) << row.line << ": " << e.what();
        }
    }
}

std::vector<std::string> framed(LineFramer& f, std::initializer_list<std::string> pieces) {
    std::vector<std::string> out;
    for (const std::string& piece : pieces) {
        f.feed(piece);
        while (auto item = f.next()) {
            out.push_back(item->error ? "error " + item->error->text : item->line);
        }
    }
    return out;
}

// Lines end at a line feed except inside a block; a line beyond the limits is skipped to its
// end without being kept and stands as one "Too much data" error.
TEST(RemoteFramer, CutsLinesKeepsBlocksAndSkipsWhatIsTooLong) {
    const LineLimits small{.textBytes = 16, .blockBytes = 32};
    const std::string tooLong = "error Too much data;a line longer than 16 bytes";
    const std::string tooBig = "error Too much data;blocks longer than 32 bytes";
    const struct {
        const char* what;
        std::initializer_list<std::string> pieces;
        std::vector<std::string> lines;
    } rows[] = {
        {"line ends", {"a\nb\r\n", "\n", "\r\n"}, {"a", "b"}},
        {"byte by byte", {"*", "I", "D", "N", "?", "\r", "\n"}, {"*IDN?"}},
        {"a block holds line ends", {"D #15a\nb\r", "c;X\n"}, {"D #15a\nb\rc;X"}},
        {"a block's last byte stays", {"D #11\r\n"}, {"D #11\r"}},
        {"a quote does not hold one", {"S 'a\nb'\n"}, {"S 'a", "b'"}},
        {"text too long", {"0123456789ABCDEFG", "H\nOK\n"}, {tooLong, "OK"}},
        {"blocks too long",
         {"D #218", "0123456789ABCDEFGH", ";#218012345678901234567\n", "OK\n"},
         {tooBig, "OK"}},
        {"a huge block is skipped", {"D #233", std::string(33, '\n'), "x\nOK\n"}, {tooBig, "OK"}},
        {"a length cut short", {"D #3", "1\n"}, {"D #31"}},
    };
    for (const auto& row : rows) {
        LineFramer f(small);
        EXPECT_EQ(framed(f, row.pieces), row.lines) << row.what;
        EXPECT_FALSE(f.partial()) << row.what;
    }
    LineFramer f;
    f.feed(std::string("SOUR:FREQ 1"));
    EXPECT_TRUE(f.partial());
    EXPECT_FALSE(f.next());
}

// Where --serve listens: the port alone is on this computer only.
TEST(RemoteEndpoint, AddressAndPortOrWhyNot) {
    const struct {
        const char* text;
        const char* address;  // nullptr: refused
        int port;
        const char* why;
    } rows[] = {
        {"5025", "127.0.0.1", 5025, ""},
        {"0", "127.0.0.1", 0, ""},
        {"0.0.0.0:5025", "0.0.0.0", 5025, ""},
        {"[::1]:5025", "::1", 5025, ""},
        {"localhost:80", "localhost", 80, ""},
        {"65536", nullptr, 0, "not a port number: 65536"},
        {"50x", nullptr, 0, "not a port number: 50x"},
        {"10.0.0.1:", nullptr, 0, "not a port number: "},
        {":5025", nullptr, 0, "no address before the port in :5025"},
        {"[]:1", nullptr, 0, "no address before the port in []:1"},
    };
    for (const auto& row : rows) {
        std::string why;
        const std::optional<Endpoint> e = parseEndpoint(row.text, why);
        ASSERT_EQ(e.has_value(), row.address != nullptr) << row.text;
        if (e) {
            EXPECT_EQ(e->address, row.address) << row.text;
            EXPECT_EQ(e->port, row.port) << row.text;
        } else {
            EXPECT_EQ(why, row.why) << row.text;
        }
    }
}

}  // namespace
}  // namespace tunx::remote
