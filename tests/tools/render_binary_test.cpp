// Runs the built kelvora-render the way a user would.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/synthesis.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

namespace fs = std::filesystem;

class RenderBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelvora-render-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program with `args` (a shell word list); returns its exit status.
  int Run(const std::string& args) {
    const std::string command = std::string("'") + KELVORA_RENDER_PATH + "' " + args + " >'" +
                                (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() +
                                "'";
    const int status = std::system(command.c_str());
    stdout_ = Read(dir_ / "stdout");
    stderr_ = Read(dir_ / "stderr");
    fs::remove(dir_ / "stdout");
    fs::remove(dir_ / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::string In(const std::string& name) const { return "'" + (dir_ / name).string() + "'"; }
  bool DirectoryIsEmpty() const { return fs::is_empty(dir_); }

  fs::path dir_;
  std::string stdout_;
  std::string stderr_;
};

std::string PatternImage() {
  std::vector<std::uint8_t> buffer(kTestWaveBufferSize);
  RenderTestPattern(buffer, 1000, 30000, {true, false, true, true, false});
  return std::string(buffer.begin(), buffer.begin() + kWaveHeaderSize + kTwoSecondDataSize);
}

TEST_F(RenderBinary, PatternFileIsTheProgramsImageByteForByte) {
  ASSERT_EQ(Run("pattern --frequency 1000 --volume 30000 --slots 10110 -o " + In("p.wav")), 0)
      << stderr_;
  EXPECT_EQ(Read(dir_ / "p.wav"), PatternImage());
  EXPECT_TRUE(stderr_.empty());
}

TEST_F(RenderBinary, DashWritesTheImageToStandardOutput) {
  ASSERT_EQ(Run("pattern --frequency 1000 --volume 30000 --slots 10110 -o -"), 0) << stderr_;
  EXPECT_EQ(stdout_, PatternImage());
}

TEST_F(RenderBinary, BadInputExitsWith2OneLineAndNoFile) {
  const std::string target = In("out.wav");
  const std::string lines[] = {
      "",
      "whistle -o " + target,
      "chime --volume 30001 -o " + target,
      "chime --volume 100 --volume 100 -o " + target,
      "silence --volume 100 -o " + target,
      "export --frequency inf -o " + target,
      "pattern --frequency 1000 -o " + target,
      "chime --bogus -o " + target,
      "chime -o " + In("missing/out.wav"),
      "chime -o " + In(""),  // the directory itself
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    EXPECT_EQ(Run(line), 2);
    EXPECT_EQ(stderr_.rfind("kelvora-render: ", 0), 0u) << stderr_;
    EXPECT_EQ(stderr_.find('\n'), stderr_.size() - 1) << stderr_;
    EXPECT_TRUE(stdout_.empty());
    EXPECT_TRUE(DirectoryIsEmpty());
  }
}

TEST_F(RenderBinary, FailedWriteToStandardOutputExitsWith2) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string command =
      std::string("'") + KELVORA_RENDER_PATH + "' silence -o - >/dev/full 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

TEST_F(RenderBinary, HelpGoesToStandardOutputWithStatus0) {
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_EQ(stdout_.rfind("Usage: kelvora-render", 0), 0u);
  EXPECT_TRUE(stderr_.empty());
}

}  // namespace
}  // namespace kelvora
