#include "tools/render_options.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelvora {
namespace {

using Args = std::vector<std::string>;
using Action = RenderCommand::Action;

TEST(RenderArguments, GoodCommandLines) {
  struct Case {
    Args args;
    RenderSoundKind sound;
    std::int32_t frequency;
    double exportFrequency;
    std::int32_t volume;
    std::array<bool, 5> slots;
    bool fade;
    std::string output;
  };
  const Case cases[] = {
      {{"pattern", "--frequency", "1000", "--volume", "30000", "--slots", "10110", "-o", "p.wav"},
       RenderSoundKind::Pattern,
       1000,
       0.0,
       30000,
       {true, false, true, true, false},
       false,
       "p.wav"},
      {{"pattern", "-o", "-", "--slots", "00001", "--frequency", "20"},
       RenderSoundKind::Pattern,
       20,
       0.0,
       9000,
       {false, false, false, false, true},
       false,
       "-"},
      {{"continuous", "--frequency", "22000", "--volume", "0", "-o", "c.wav"},
       RenderSoundKind::Continuous,
       22000,
       0.0,
       0,
       {},
       false,
       "c.wav"},
      {{"continuous", "--frequency", "12345", "-o", "c.wav"},
       RenderSoundKind::Continuous,
       12345,
       0.0,
       9000,
       {},
       false,
       "c.wav"},
      {{"silence", "-o", "s.wav"}, RenderSoundKind::Silence, 0, 0.0, 9000, {}, false, "s.wav"},
      {{"chime", "--volume", "15000", "-o", "x"},
       RenderSoundKind::Chime,
       0,
       0.0,
       15000,
       {},
       false,
       "x"},
      {{"buzz", "-o", "x"}, RenderSoundKind::Buzz, 0, 0.0, 9000, {}, false, "x"},
      {{"sample", "--volume", "300", "-o", "x"},
       RenderSoundKind::Sample,
       0,
       0.0,
       300,
       {},
       false,
       "x"},
      {{"export", "--frequency", "440.5", "--fade", "-o", "e.wav"},
       RenderSoundKind::Export,
       0,
       440.5,
       9000,
       {},
       true,
       "e.wav"},
      {{"export", "--frequency", "24000", "-o", "e.wav"},
       RenderSoundKind::Export,
       0,
       24000.0,
       9000,
       {},
       false,
       "e.wav"},
      {{"export", "--frequency", ".11", "-o", "e.wav"},
       RenderSoundKind::Export,
       0,
       0.11,
       9000,
       {},
       false,
       "e.wav"},
      {{"export", "--frequency", "7.", "-o", "e.wav"},
       RenderSoundKind::Export,
       0,
       7.0,
       9000,
       {},
       false,
       "e.wav"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    SCOPED_TRACE(line);
    const RenderCommand command = ParseRenderArguments(c.args);
    ASSERT_EQ(command.action, Action::Render) << command.error;
    EXPECT_EQ(command.options.sound, c.sound);
    EXPECT_EQ(command.options.frequency, c.frequency);
    EXPECT_EQ(command.options.exportFrequency, c.exportFrequency);
    EXPECT_EQ(command.options.volume, c.volume);
    EXPECT_EQ(command.options.slots, c.slots);
    EXPECT_EQ(command.options.fade, c.fade);
    EXPECT_EQ(command.options.output, c.output);
  }
}

TEST(RenderArguments, BadCommandLinesGiveOneLineNamingTheProblem) {
  struct Case {
    Args args;
    std::string mentions;
  };
  const Case cases[] = {
      {{}, "no sound"},
      {{"tone", "-o", "x"}, "unknown sound 'tone'"},
      {{"silence", "-o", "x", "--loud"}, "unknown option '--loud'"},
      {{"silence", "-o", "x", "extra"}, "unexpected argument 'extra'"},
      {{"silence", "--volume", "100", "-o", "x"}, "--volume does not apply"},
      {{"continuous", "--frequency", "1000", "--slots", "11111", "-o", "x"}, "--slots"},
      {{"pattern", "--frequency", "1000", "--fade", "--slots", "11111", "-o", "x"}, "--fade"},
      {{"chime", "--frequency", "1000", "-o", "x"}, "--frequency does not apply"},
      {{"export", "--frequency", "440", "--fade", "--fade", "-o", "x"}, "--fade given twice"},
      {{"chime", "--volume", "1", "--volume", "2", "-o", "x"}, "--volume given twice"},
      {{"chime", "-o", "x", "-o", "y"}, "-o given twice"},
      {{"chime", "-o"}, "-o needs a value"},
      {{"chime", "-o", "x", "--volume"}, "--volume needs a value"},
      {{"chime", "-o", ""}, "-o needs a file name"},
      {{"chime", "-o", "--volume"}, "-o needs a file name"},
      {{"chime"}, "needs -o"},
      {{"pattern", "--slots", "11111", "-o", "x"}, "needs --frequency"},
      {{"pattern", "--frequency", "1000", "-o", "x"}, "needs --slots"},
      {{"export", "-o", "x"}, "needs --frequency"},
      // Out of range or malformed values.
      {{"chime", "--volume", "30001", "-o", "x"}, "--volume must be"},
      {{"chime", "--volume", "-1", "-o", "x"}, "--volume must be"},
      {{"chime", "--volume", "9k", "-o", "x"}, "--volume must be"},
      {{"chime", "--volume", " 9", "-o", "x"}, "--volume must be"},
      {{"chime", "--volume", "+9", "-o", "x"}, "--volume must be"},
      {{"chime", "--volume", "99999999999", "-o", "x"}, "--volume must be"},
      {{"pattern", "--frequency", "19", "--slots", "11111", "-o", "x"}, "from 20 to 22000"},
      {{"pattern", "--frequency", "22001", "--slots", "11111", "-o", "x"}, "from 20 to 22000"},
      {{"continuous", "--frequency", "1000.0", "-o", "x"}, "whole number"},
      {{"pattern", "--frequency", "1000", "--slots", "1111", "-o", "x"}, "five characters"},
      {{"pattern", "--frequency", "1000", "--slots", "111111", "-o", "x"}, "five characters"},
      {{"pattern", "--frequency", "1000", "--slots", "1a101", "-o", "x"}, "five characters"},
      {{"export", "--frequency", "0.1", "-o", "x"}, "above 0.1"},
      {{"export", "--frequency", "0", "-o", "x"}, "above 0.1"},
      {{"export", "--frequency", "24000.01", "-o", "x"}, "up to 24000"},
      {{"export", "--frequency", "-440", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "inf", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "nan", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "0x1p4", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "4.4e2", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "440,5", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "4.4.0", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", ".", "-o", "x"}, "decimal number"},
      {{"export", "--frequency", "", "-o", "x"}, "decimal number"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    SCOPED_TRACE(line);
    const RenderCommand command = ParseRenderArguments(c.args);
    ASSERT_EQ(command.action, Action::Error);
    EXPECT_NE(command.error.find(c.mentions), std::string::npos) << command.error;
    EXPECT_EQ(command.error.find('\n'), std::string::npos);
  }
}

TEST(RenderArguments, HelpWinsWherever) {
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"pattern", "--help"},
                           Args{"nonsense", "--volume", "x", "--help"}}) {
    EXPECT_EQ(ParseRenderArguments(args).action, Action::Help);
  }
  EXPECT_NE(RenderUsage().find("kelvora-render export"), std::string::npos);
}

// A fresh, empty directory for one test, removed afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvora-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~ScratchDirectory() { std::filesystem::remove_all(m_path); }
  const std::filesystem::path& path() const { return m_path; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path m_path;
};

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WriteImageFile, WritesExactlyTheBytesAndReplacesAnOldFile) {
  ScratchDirectory dir;
  const auto target = dir.path() / "out.wav";
  std::ofstream(target) << "old content that is longer than the new one";
  const std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 0, 1, 2, 255};
  std::string error;
  ASSERT_TRUE(WriteImageFile(target.string(), bytes.data(), bytes.size(), &error)) << error;
  EXPECT_EQ(ReadFile(target), bytes);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.wav"});  // no temporary left
}

TEST(WriteImageFile, WritesThroughASymbolicLink) {
  ScratchDirectory dir;
  const auto real = dir.path() / "real.wav";
  std::ofstream(real) << "old";
  std::filesystem::create_symlink(real, dir.path() / "link.wav");
  const std::vector<std::uint8_t> bytes = {1, 2, 3};
  std::string error;
  ASSERT_TRUE(WriteImageFile((dir.path() / "link.wav").string(), bytes.data(), 3, &error));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.wav"));
  EXPECT_EQ(ReadFile(real), bytes);
}

TEST(WriteImageFile, FailuresLeaveNoFileAndSayWhy) {
  ScratchDirectory dir;
  std::filesystem::create_directory(dir.path() / "sub");
  const std::vector<std::uint8_t> bytes(1000, 7);
  std::vector<std::string> paths = {(dir.path() / "missing" / "x.wav").string(),
                                    (dir.path() / "sub").string()};
  if (std::filesystem::exists("/dev/full")) paths.push_back("/dev/full");  // a device that is full
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    std::string error;
    EXPECT_FALSE(WriteImageFile(path, bytes.data(), bytes.size(), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"sub"});
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "sub"));
}

}  // namespace
}  // namespace kelvora
