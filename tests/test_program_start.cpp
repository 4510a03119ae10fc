// The start-up that both editions share: the language is in use before any notice is made, the
// refusals come in one order, and only a start that is accepted puts the run's choices in force.
#include "services/program/program_start.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "services/program/run_choices.h"

namespace {

const std::string kDataDir = std::string(ZORVAN_SOURCE_DIR) + "/data";

ProgramStart start_with(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "zorvan2");
  return start_program(
      {static_cast<int>(arguments.size()), arguments.data(), nullptr, {}, kDataDir});
}

class ProgramStartTest : public ::testing::Test {
 protected:
  void TearDown() override { set_up_language("hu", {}, kDataDir); }
  ScopedRunChoices choices_{RunChoices{}};
};

}  // namespace

TEST_F(ProgramStartTest, RefusalsComeInOneOrderInTheChosenLanguage) {
  // The argument not understood is told in the language --lang chose, though --lang comes
  // after it, and before the answer out of range.
  const ProgramStart bad_argument = start_with({"--bogus", "--n", "3", "--lang", "en"});
  EXPECT_FALSE(bad_argument.ok);
  EXPECT_NE(bad_argument.notice.find("--bogus"), std::string::npos);
  EXPECT_EQ(current_language(), "en");
  const ProgramStart bad_language = start_with({"--lang", "xx", "--n", "3"});
  EXPECT_FALSE(bad_language.ok);
  EXPECT_NE(bad_language.notice.find("xx"), std::string::npos);
  const ProgramStart bad_answer = start_with({"--n", "3", "--save", "/no/such/folder"});
  EXPECT_FALSE(bad_answer.ok);
  EXPECT_NE(bad_answer.notice.find("140"), std::string::npos);
  const ProgramStart no_folder = start_with({"--save", "/no/such/folder"});
  EXPECT_FALSE(no_folder.ok);
  EXPECT_NE(no_folder.notice.find("/no/such/folder"), std::string::npos);
  EXPECT_EQ(run_choices().seed, 0u) << "a refused start put its choices in force";
}

TEST_F(ProgramStartTest, AnAcceptedStartPutsTheRunsChoicesInForce) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  const ProgramStart start =
      start_with({"--seed", "7", "--n", "20", "--k", "5", "--save", folder.c_str(), "--zoom", "2"});
  ASSERT_TRUE(start.ok) << start.notice;
  EXPECT_EQ(start.options.zoom, 2);
  EXPECT_EQ(run_choices().seed, 7u);
  EXPECT_EQ(run_choices().insect_count, 20);
  EXPECT_EQ(run_choices().box1_count, 5);
  EXPECT_EQ(run_choices().save_folder, folder);
}
