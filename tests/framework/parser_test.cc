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

TEST_F(ParserTest, BooleansTakeSeveralSpellingsInAnyCase) {
  for (const char* yes : {"true", "TRUE", "1", "yes", "Yes"}) {
    EXPECT_TRUE(Parse({"-e", yes})->GetParameterBool("enabled")) << yes;
  }
  for (const char* no : {"false", "False", "0", "no", "NO"}) {
    auto input = Parse({"-e", no});
    EXPECT_TRUE(input->HasParameter("enabled")) << no;
    EXPECT_FALSE(input->GetParameterBool("enabled")) << no;
  }
  EXPECT_EQ("Invalid value 'on' for --enabled: expected true or false", Error({"-e", "on"}));
}

TEST_F(ParserTest, IntegersAreCheckedForFormOverflowAndRange) {
  EXPECT_EQ(INT64_MIN, Parse({"-n", "-9223372036854775808"})->GetParameterInt("reclaim-unit"));
  EXPECT_EQ(INT64_MAX, Parse({"-n", "9223372036854775807"})->GetParameterInt("reclaim-unit"));
  EXPECT_EQ(1, Parse({"-q", "1"})->GetParameterInt("maxqueuedepth"));
  EXPECT_EQ("Invalid value '9223372036854775808' for --reclaim-unit: expected a 64-bit integer",
            Error({"-n", "9223372036854775808"}));
  EXPECT_EQ("Invalid value '-9223372036854775809' for --reclaim-unit: expected a 64-bit integer",
            Error({"-n", "-9223372036854775809"}));
  for (const char* bad : {"12x", "+3", " 3", "0x10", "-", "1e3"}) {
    EXPECT_EQ(
        "Invalid value '" + std::string(bad) + "' for --reclaim-unit: expected a 64-bit integer",
        Error({"--reclaim-unit", bad}));
  }
  EXPECT_EQ("Invalid value '0' for --maxqueuedepth: expected an integer from 1 to 4294967295",
            Error({"--maxqueuedepth", "0"}));
  EXPECT_EQ(
      "Invalid value '4294967296' for --maxqueuedepth: expected an integer from 1 to 4294967295",
      Error({"-q", "4294967296"}));
}

TEST_F(ParserTest, EnumerationsAcceptOnlyTheirValues) {
  EXPECT_EQ("Invalid value 'LOW' for --reclaim-priority: expected one of: none, low, medium, high",
            Error({"--reclaim-priority", "LOW"}));
  EXPECT_EQ("Missing value for --reclaim-priority: expected one of: none, low, medium, high",
            Error({"-p"}));
}

TEST_F(ParserTest, ReportsMisuseOfOptions) {
  EXPECT_EQ("Missing value for --volume-label: expected a string", Error({"--volume-label"}));
  EXPECT_EQ("Missing value for --volume-label: expected a string", Error({"-l", "-r"}));
  EXPECT_EQ("Missing value for --maxqueuedepth: expected an integer from 1 to 4294967295",
            Error({"-q", "--readonly"}));
  EXPECT_EQ("Invalid value 'yes' for --readonly: it is a flag and takes no value",
            Error({"--readonly=yes"}));
  EXPECT_EQ("Option --volume-label may be given only once", Error({"-l", "a", "--volume-label=b"}));
  EXPECT_EQ("Option --readonly may be given only once", Error({"-r", "--readonly"}));
  EXPECT_EQ("Unexpected argument 'yes': this command takes options only",
            Error({"--readonly", "yes"}));
  EXPECT_EQ("Unexpected argument 'line\\nbreak': this command takes options only",
            Error({"line\nbreak"}));
}

TEST_F(ParserTest, SuggestsTheNearestOptionName) {
  EXPECT_EQ("Unknown option '--volum-label': did you mean '--volume-label'?",
            Error({"--volum-label", "x"}));
  EXPECT_EQ("Unknown option '--voluem-uuid': did you mean '--volume-uuid'?",
            Error({"--voluem-uuid=x"}));
  EXPECT_EQ("Unknown option '-volume-label': did you mean '--volume-label'?",
            Error({"-volume-label", "x"}));
  EXPECT_EQ("Unknown option '--l': did you mean '-l'?", Error({"--l", "x"}));
  EXPECT_EQ("Unknown option '--colour'", Error({"--colour"}));
  EXPECT_EQ("Unknown option '-z'", Error({"-z"}));
  EXPECT_EQ("Unknown option '-lds1'", Error({"-lds1"}));
}

TEST_F(ParserTest, RequiredOptionsAreCheckedAfterTheRest) {
  spec_->FindParameter("volume-label")->SetRequired(true);
  EXPECT_EQ("Missing required option --volume-label", Error({"-r"}));
  // A bad value is reported before the missing option.
  EXPECT_EQ("Invalid value 'x' for --enabled: expected true or false", Error({"-e", "x"}));
  EXPECT_TRUE(Parse({"-l", ""})->HasParameter("volume-label"));
}

TEST_F(ParserTest, NothingGivenReadsAsEmptyValues) {
  auto input = Parse({});
  EXPECT_FALSE(input->HasParameter("volume-label"));
  EXPECT_EQ("", input->GetParameter("volume-label"));
  EXPECT_EQ(0, input->GetParameterInt("maxqueuedepth"));
  EXPECT_FALSE(input->GetParameterBool("enabled"));
  EXPECT_FALSE(input->IsFlagSet("readonly"));
  EXPECT_TRUE(input->GetParameterList("volume-uuid").empty());
}

}  // namespace
}  // namespace Cordra
