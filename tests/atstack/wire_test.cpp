// The wire protocol's framing and the service address text: what both ends
// rely on to cut a byte stream into messages and to refuse a broken one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "wire.h"

namespace {

using atwire::Decoder;
using nlohmann::json;

std::string Frame(const std::string& head, const std::string& blob = {})
{
    std::string f(8, '\0');
    const uint32_t total = static_cast<uint32_t>(4 + head.size() + blob.size());
    const uint32_t headLength = static_cast<uint32_t>(head.size());
    std::memcpy(f.data(), &total, 4);
    std::memcpy(f.data() + 4, &headLength, 4);
    return f + head + blob;
}

TEST(Wire, MessagesSurviveAnyCutOfTheStream)
{
    const std::string stream = atwire::Encode({{{"op", "pap.write"}, {"id", 3}}, std::string("a\0b", 3)}) +
                               atwire::Encode({{{"op", "x"}, {"id", 4}}, {}});
    Decoder d;
    atwire::Message m;
    std::vector<atwire::Message> got;
    for (char c : stream) {  // one byte at a time
        d.Feed(&c, 1);
        while (d.Next(m) == Decoder::Status::Message)
            got.push_back(m);
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].head["op"], "pap.write");
    EXPECT_EQ(got[0].blob, std::string("a\0b", 3));
    EXPECT_EQ(got[1].head["id"], 4);
    EXPECT_EQ(d.Buffered(), 0u);
}

TEST(Wire, BrokenStreamsStopTheDecoderForGood)
{
    const struct {
        std::string bytes;
        const char* error;
    } cases[] = {
        {std::string("\xff\xff\xff\x7f", 4) + "1234", "frame length"},
        {Frame("[1,2]"), "not a JSON object"},
        {Frame("{\"op\": "), "not a JSON object"},
        {Frame("{\"x\":" + std::string(101, '[') + std::string(101, ']') + "}"), "nested deeper than 100 levels"},
    };
    for (const auto& c : cases) {
        Decoder d;
        d.Feed(c.bytes.data(), c.bytes.size());
        atwire::Message m;
        EXPECT_EQ(d.Next(m), Decoder::Status::Error) << c.error;
        EXPECT_NE(d.Error().find(c.error), std::string::npos) << d.Error();
        const std::string good = atwire::Encode({{{"op", "x"}}, {}});
        d.Feed(good.data(), good.size());
        EXPECT_EQ(d.Next(m), Decoder::Status::Error) << "nothing after a broken frame is trusted";
    }
    // Just within the nesting limit is fine.
    Decoder d;
    const std::string ok = Frame("{\"x\":" + std::string(99, '[') + std::string(99, ']') + "}");
    d.Feed(ok.data(), ok.size());
    atwire::Message m;
    EXPECT_EQ(d.Next(m), Decoder::Status::Message);
}

TEST(Wire, EndpointTexts)
{
    atwire::Endpoint e;
    ASSERT_TRUE(atwire::ParseEndpoint("127.0.0.1:38870", e, false));
    EXPECT_EQ(e.ip[0], 127);
    EXPECT_EQ(e.ip[3], 1);
    EXPECT_EQ(e.port, 38870);
    EXPECT_TRUE(atwire::ParseEndpoint("127.0.0.1:0", e, true));
    EXPECT_FALSE(atwire::ParseEndpoint("127.0.0.1:0", e, false)) << "a library needs a real port";
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", "127.0.0.1:65536", "127.0.0.1:80x", "127.0.0.256:1",
                            "127.0.1:80", "localhost:80", "127.0.0.1: 80", "1.2.3.4.5:6", ""})
        EXPECT_FALSE(atwire::ParseEndpoint(bad, e, true)) << bad;
}

}  // namespace
