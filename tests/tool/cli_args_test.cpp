// Option parsing: forms of options and the usage errors.
#include <gtest/gtest.h>

#include "qvin/commands/cli_args.h"
#include "qvin/project/errors.h"

namespace {

constexpr qvin::OptionSpec kSpec[] = {
    {"output", 'o', true}, {"quiet", 'q', false}, {"level", 'l', true}, {"define", 'D', true}};

TEST(CliArgs, ReadsEveryFormOfOption) {
  const std::vector<std::string> args = {"a.toml", "-o", "x.exe", "--level=3", "-q", "--", "-b"};
  const auto parsed = qvin::parse_args(args, kSpec);
  EXPECT_EQ(parsed.positional, (std::vector<std::string>{"a.toml", "-b"}));
  EXPECT_EQ(parsed.value("output"), "x.exe");
  EXPECT_EQ(parsed.value("level"), "3");
  EXPECT_TRUE(parsed.has("quiet"));
  const std::vector<std::string> glued = {"-l9", "--output", "y"};
  EXPECT_EQ(qvin::parse_args(glued, kSpec).value("level"), "9");
  const std::vector<std::string> repeated = {"-D", "a=1", "--define=b=2", "-Dc=3", "-D", "a=4"};
  const auto defines = qvin::parse_args(repeated, kSpec);
  EXPECT_EQ(defines.all("define"), (std::vector<std::string>{"a=1", "b=2", "c=3", "a=4"}));
  EXPECT_EQ(defines.value("define"), "a=4") << "the last one";
  EXPECT_TRUE(defines.all("output").empty());
}

TEST(CliArgs, RefusesWhatItDoesNotKnow) {
  const std::vector<std::vector<std::string>> bad = {
      {"--colour"}, {"-x"}, {"-o"}, {"--quiet=yes"}, {"--level"}};
  for (const auto& args : bad)
    EXPECT_THROW(qvin::parse_args(args, kSpec), qvin::UsageError) << args[0];
}

}  // namespace
