// The replay program's command line and its JSON lines.

#include "tools/trace/JsonLine.h"
#include "tools/trace/TraceOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {
bool Parse(std::vector<const char*> args, TraceOptions& options)
{
    std::string error;
    const bool accepted = ParseTraceOptions(static_cast<int>(args.size()), args.data(), options, error);
    EXPECT_EQ(accepted, error.empty()) << error;
    return accepted;
}
} // namespace

TEST(TraceOptions, ReadsEveryOptionAndItsLimits)
{
    TraceOptions options;
    ASSERT_TRUE(Parse({"--seed", "4294967295", "--frames", "12", "--elapsed", "-2147483648,0,2147483647", "--every",
                       "5", "--snapshot", "12:a.png", "--snapshot", "1:dir/b:c.png", "--size", "8192x1", "--drawing",
                       "plain", "--pixels", "run.rgba"},
                      options));
    EXPECT_EQ(4294967295u, options.seed);
    EXPECT_EQ(12u, options.frames);
    EXPECT_EQ((std::vector<int32_t>{INT32_MIN, 0, INT32_MAX}), options.elapsed);
    EXPECT_EQ(5u, options.every);
    ASSERT_EQ(2u, options.snapshots.size());
    EXPECT_EQ(12u, options.snapshots[0].frame);
    EXPECT_EQ("dir/b:c.png", options.snapshots[1].path);
    EXPECT_EQ(8192, options.width);
    EXPECT_EQ(1, options.height);
    EXPECT_TRUE(options.plainDrawing);
    EXPECT_EQ("run.rgba", options.pixelsPath);

    TraceOptions defaults;
    ASSERT_TRUE(Parse({"--frames", "0", "--seed", "0"}, defaults));
    EXPECT_EQ(std::vector<int32_t>{16}, defaults.elapsed);
    EXPECT_EQ(1u, defaults.every);
    EXPECT_EQ(1024, defaults.width);
    EXPECT_EQ(768, defaults.height);
    EXPECT_FALSE(defaults.plainDrawing);
    EXPECT_EQ(1.0, defaults.scale);
    EXPECT_TRUE(defaults.pixelsPath.empty());
}

TEST(TraceOptions, RefusesWhatItCannotRunExactly)
{
    const std::vector<std::vector<const char*>> refused = {
        {"--seed", "1"},
        {"--frames", "3"},
        {"--seed", "1", "--frames"},
        {"--seed", "4294967296", "--frames", "3"},
        {"--seed", "-1", "--frames", "3"},
        {"--seed", "0x10", "--frames", "3"},
        {"--seed", " 1", "--frames", "3"},
        {"--seed", "1", "--frames", "3", "--elapsed", "16,,16"},
        {"--seed", "1", "--frames", "3", "--elapsed", "16,"},
        {"--seed", "1", "--frames", "3", "--elapsed", "2147483648"},
        {"--seed", "1", "--frames", "3", "--every", "0"},
        {"--seed", "1", "--frames", "3", "--snapshot", "0:a.png"},
        {"--seed", "1", "--frames", "3", "--snapshot", "4:a.png"},
        {"--seed", "1", "--frames", "3", "--snapshot", "2:"},
        {"--seed", "1", "--frames", "3", "--size", "0x10"},
        {"--seed", "1", "--frames", "3", "--size", "8193x10"},
        {"--seed", "1", "--frames", "3", "--size", "640"},
        {"--seed", "1", "--frames", "3", "--drawing", "Plain"},
        {"--seed", "1", "--frames", "3", "--scale", "0.2"},
        {"--seed", "1", "--frames", "3", "--pixels", ""},
        {"--seed", "1", "--frames", "3", "extra"},
    };
    for (const std::vector<const char*>& args : refused) {
        TraceOptions options;
        std::string error;
        EXPECT_FALSE(ParseTraceOptions(static_cast<int>(args.size()), args.data(), options, error))
            << args[args.size() - 1];
        EXPECT_FALSE(error.empty());
    }
}

TEST(JsonLine, NestsWithCommasAndPrintsDoublesThatReadBackExactly)
{
    JsonLine line;
    line.Open('{');
    line.Key("a");
    line.Integer(-7);
    line.Key("b");
    line.Open('[');
    line.Number(0.1);
    line.Number(16.0);
    line.Number(-1e-300);
    line.Close(']');
    line.Key("c");
    line.Open('{');
    line.Close('}');
    line.Close('}');
    EXPECT_EQ("{\"a\":-7,\"b\":[0.10000000000000001,16,-1e-300],\"c\":{}}", line.Text());
    EXPECT_TRUE(line.AllFinite());

    for (double value : {1.0 / 3.0, 5004.0223395489365, std::nextafter(1.0, 2.0), 4.9e-324}) {
        line.Reset();
        line.Number(value);
        EXPECT_EQ(value, std::strtod(line.Text().c_str(), nullptr)) << line.Text();
    }
}

TEST(JsonLine, PrintsNullForAValueThatIsNotFiniteAndSaysSo)
{
    JsonLine line;
    line.Open('[');
    line.Number(1.0);
    line.Number(std::numeric_limits<double>::quiet_NaN());
    line.Number(-std::numeric_limits<double>::infinity());
    line.Close(']');
    EXPECT_EQ("[1,null,null]", line.Text());
    EXPECT_FALSE(line.AllFinite());
    line.Reset();
    line.Number(2.0);
    EXPECT_TRUE(line.AllFinite());
}
