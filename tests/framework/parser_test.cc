#include "framework/parser.h"

#include <gtest/gtest.h>

#include "tests/framework/test_support.h"

namespace Cordra {
namespace {

using CallSpec::ParameterConstraint;
using Frame::ParseArguments;
using Frame::UsageError;
using Testing::Param;

// A spec with one parameter of every kind, shaped like the storage commands'.
class ParserTest : public ::testing::Test {
 protected:
  ParserTest() : spec_(CallSpec::InputSpec::New()) {
    spec_->AddParameter(Param("volume-label", CallSpec::PARAM_STRING, "l"));
    spec_->AddParameter(Param("volume-uuid", CallSpec::PARAM_STRING_LIST, "u"));
    spec_->AddParameter(Param("readonly", CallSpec::PARAM_FLAG, "r"));
    spec_->AddParameter(Param("enabled", CallSpec::PARAM_BOOL, "e"));
    auto depth = Param("maxqueuedepth", CallSpec::PARAM_INT, "q");
    auto range = ParameterConstraint::New(CallSpec::CONSTRAINT_INT_RANGE);
    range->SetIntRange(1, 4294967295LL);
    depth->SetConstraint(range);
    spec_->AddParameter(depth);
    spec_->AddParameter(Param("reclaim-unit", CallSpec::PARAM_INT, "n"));
    auto priority = Param("reclaim-priority", CallSpec::PARAM_STRING, "p");
    auto choices = ParameterConstraint::New(CallSpec::CONSTRAINT_STRING_ENUM);
    for (const char* value : {"none", "low", "medium", "high"}) choices->AddStringEnum(value);
    priority->SetConstraint(choices);
    spec_->AddParameter(priority);
    spec_->AddParameter(Param("unsupported-mount-retry", CallSpec::PARAM_FLAG));
  }

  std::shared_ptr<CallSpec::Input> Parse(const std::vector<std::string>& args) {
    return ParseArguments(*spec_, args);
  }

  std::string Error(const std::vector<std::string>& args) {
    try {
      ParseArguments(*spec_, args);
    } catch (const UsageError& e) {
      return e.what();
    }
    return "(no error)";
  }

  std::shared_ptr<CallSpec::InputSpec> spec_;
};

TEST_F(ParserTest, AcceptsEveryOptionSpelling) {
  auto input =
      Parse({"--volume-label", "ds1", "-u", "a", "--volume-uuid=b", "-r", "--enabled=YES", "-q",
             "4294967295", "--reclaim-unit", "-5", "-p", "low", "--unsupported-mount-retry"});
  EXPECT_EQ("ds1", input->GetParameter("volume-label"));
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), input->GetParameterList("volume-uuid"));
  EXPECT_EQ("a", input->GetParameter("volume-uuid"));  // the first of several
  EXPECT_TRUE(input->IsFlagSet("readonly"));
  EXPECT_TRUE(input->GetParameterBool("enabled"));
  EXPECT_EQ(4294967295LL, input->GetParameterInt("maxqueuedepth"));
  EXPECT_EQ(-5, input->GetParameterInt("reclaim-unit"));
  EXPECT_EQ("low", input->GetParameter("reclaim-priority"));
  EXPECT_TRUE(input->IsFlagSet("unsupported-mount-retry"));
}

TEST_F(ParserTest, ValuesMayBeEmptyOrLookLikeOtherText) {
  auto input = Parse({"--volume-label=", "-u", "-x", "-u", "--", "--volume-uuid=--readonly"});
  EXPECT_TRUE(input->HasParameter("volume-label"));
  EXPECT_EQ("", input->GetParameter("volume-label"));
  EXPECT_EQ((std::vector<std::string>{"-x", "--", "--readonly"}),
            input->GetParameterList("volume-uuid"));
  EXPECT_FALSE(input->HasParameter("readonly"));
}

TEST_F(ParserTest, BooleansAndIntegersTakeEveryValidSpelling) {
  for (const char* yes : {"true", "TRUE", "1", "yes", "Yes"}) {
    EXPECT_TRUE(Parse({"-e", yes})->GetParameterBool("enabled")) << yes;
  }
  for (const char* no : {"false", "False", "0", "no", "NO"}) {
    auto input = Parse({"-e", no});
    EXPECT_TRUE(input->HasParameter("enabled")) << no;
    EXPECT_FALSE(input->GetParameterBool("enabled")) << no;
  }
  const std::pair<const char*, int64_t> integers[] = {{"-9223372036854775808", INT64_MIN},
                                                      {"9223372036854775807", INT64_MAX},
                                                      {"-0", 0},
                                                      {"000123", 123}};
  for (const auto& i : integers) {
    EXPECT_EQ(i.second, Parse({"-n", i.first})->GetParameterInt("reclaim-unit")) << i.first;
  }
  EXPECT_EQ(1, Parse({"-q", "1"})->GetParameterInt("maxqueuedepth"));
}

TEST_F(ParserTest, RefusesWithTheExactMessage) {
  const std::string kInt = "' for --reclaim-unit: expected a 64-bit integer";
  const std::string kDepth = "expected an integer from 1 to 4294967295";
  const std::string kLevels = "expected one of: none, low, medium, high";
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"-e", "on"}, "Invalid value 'on' for --enabled: expected true or false"},
      {{"-n", "9223372036854775808"}, "Invalid value '9223372036854775808" + kInt},
      {{"-n", "-9223372036854775809"}, "Invalid value '-9223372036854775809" + kInt},
      {{"-n", "12x"}, "Invalid value '12x" + kInt},
      {{"-n", "+3"}, "Invalid value '+3" + kInt},
      {{"-n", " 3"}, "Invalid value ' 3" + kInt},
      {{"-n", "0x10"}, "Invalid value '0x10" + kInt},
      {{"-n", "-"}, "Invalid value '-" + kInt},
      {{"--reclaim-unit", "1e3"}, "Invalid value '1e3" + kInt},
      {{"-q", "4294967296"}, "Invalid value '4294967296' for --maxqueuedepth: " + kDepth},
      {{"--reclaim-priority", "LOW"}, "Invalid value 'LOW' for --reclaim-priority: " + kLevels},
      {{"-p"}, "Missing value for --reclaim-priority: " + kLevels},
      {{"--volume-label"}, "Missing value for --volume-label: expected a string"},
      {{"-l", "-r"}, "Missing value for --volume-label: expected a string"},
      {{"-q", "--readonly"}, "Missing value for --maxqueuedepth: " + kDepth},
      {{"--readonly=yes"}, "Invalid value 'yes' for --readonly: it is a flag and takes no value"},
      {{"-l", "a", "--volume-label=b"}, "Option --volume-label may be given only once"},
      {{"-r", "--readonly"}, "Option --readonly may be given only once"},
      {{"--readonly", "yes"}, "Unexpected argument 'yes': this command takes options only"},
      {{"line\nbreak"}, "Unexpected argument 'line\\nbreak': this command takes options only"},
      {{"--volum-label", "x"}, "Unknown option '--volum-label': did you mean '--volume-label'?"},
      {{"--voluem-uuid=x"}, "Unknown option '--voluem-uuid': did you mean '--volume-uuid'?"},
      {{"-volume-label", "x"}, "Unknown option '-volume-label': did you mean '--volume-label'?"},
      {{"--l", "x"}, "Unknown option '--l': did you mean '-l'?"},
      {{"--reclaim=x"},
       "Unknown option '--reclaim': did you mean '--reclaim-unit' or '--reclaim-priority'?"},
      {{"--volume", "x"},
       "Unknown option '--volume': did you mean '--volume-label' or '--volume-uuid'?"},
      {{"--unit"}, "Unknown option '--unit': did you mean '--reclaim-unit'?"},
      {{"--abel", "x"}, "Unknown option '--abel': did you mean '--volume-label'?"},
      {{"--colour"}, "Unknown option '--colour'"},
      {{"--ol"}, "Unknown option '--ol'"},  // two letters: too short to look inside names
      {{"-z"}, "Unknown option '-z'"},
      {{"-lds1"}, "Unknown option '-lds1'"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.message, Error(c.args));
}

TEST_F(ParserTest, RequiredOptionsAreCheckedAfterTheRest) {
  spec_->FindParameter("volume-label")->SetRequired(true);
  EXPECT_EQ("Missing required option --volume-label", Error({"-r"}));
  // A bad value is reported before the missing option.
  EXPECT_EQ("Invalid value 'x' for --enabled: expected true or false", Error({"-e", "x"}));
  EXPECT_TRUE(Parse({"-l", ""})->HasParameter("volume-label"));
}

}  // namespace
}  // namespace Cordra
