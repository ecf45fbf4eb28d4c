// Runs the built kelvora-render the way a user would.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "sound/player.h"
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
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs the program with `args` (a shell word list); returns its exit status.
  int Run(const std::string& args) {
    const std::string command = std::string("'") + KELVORA_RENDER_PATH + "' " + args + " >'" +
                                (dir / "stdout").string() + "' 2>'" + (dir / "stderr").string() +
                                "'";
    const int status = std::system(command.c_str());
    standardOutput = Read(dir / "stdout");
    standardError = Read(dir / "stderr");
    fs::remove(dir / "stdout");
    fs::remove(dir / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Runs `script` with bash in the directory, the program as $R; returns its exit status.
  int Shell(const std::string& script) {
    ::setenv("R", KELVORA_RENDER_PATH, 1);
    const std::string command = "cd '" + dir.string() + "' && bash -c '" + script + "' 2>'" +
                                (dir / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    standardError = Read(dir / "stderr");
    fs::remove(dir / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string In(const std::string& name) const { return "'" + (dir / name).string() + "'"; }
  bool DirectoryIsEmpty() const { return fs::is_empty(dir); }

  fs::path dir;
  std::string standardOutput;
  std::string standardError;
};

std::string PatternImage() {
  std::vector<std::uint8_t> buffer(kTestWaveBufferSize);
  RenderTestPattern(buffer, 1000, 30000, {true, false, true, true, false});
  return std::string(buffer.begin(), buffer.begin() + kWaveHeaderSize + kTwoSecondDataSize);
}

// Header and data of what `render` leaves in a buffer of `size` bytes.
template <typename Render>
std::string Image(std::size_t size, Render render) {
  std::vector<std::uint8_t> buffer(size);
  render(std::span<std::uint8_t>(buffer));
  return std::string(buffer.begin(), buffer.begin() + kWaveHeaderSize + WaveDataSize(buffer));
}

// The chime or the buzz: the two are only ever rendered together.
std::string ChimeOrBuzz(bool chime) {
  std::vector<std::uint8_t> other(chime ? kBuzzWaveBufferSize : kChimeWaveBufferSize);
  return Image(chime ? kChimeWaveBufferSize : kBuzzWaveBufferSize, [&](auto image) {
    chime ? RenderChimeAndBuzz(image, other, 15000) : RenderChimeAndBuzz(other, image, 15000);
  });
}

TEST_F(RenderBinary, EverySoundIsItsRenderersImageByteForByte) {
  const struct {
    std::string args;
    std::string image;
  } cases[] = {
      {"pattern --frequency 1000 --volume 30000 --slots 10110", PatternImage()},
      {"continuous --frequency 12340 --volume 15000",
       Image(kTestWaveBufferSize, [](auto b) { RenderContinuousTone(b, 12340, 15000); })},
      {"silence", Image(kTestWaveBufferSize, [](auto b) { RenderSilence(b); })},
      {"chime --volume 15000", ChimeOrBuzz(true)},
      {"buzz --volume 15000", ChimeOrBuzz(false)},
      {"sample --volume 300",
       Image(kSampleWaveBufferSize, [](auto b) { RenderVolumeSample(b, 300); })},
      {"export --frequency 440.5 --fade --volume 15000",
       Image(kExportWaveBufferSize, [](auto b) { RenderExportTone(b, 440.5, 15000, true); })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    ASSERT_EQ(Run(c.args + " -o " + In("out.wav")), 0) << standardError;
    EXPECT_TRUE(Read(dir / "out.wav") == c.image);
  }
}

TEST_F(RenderBinary, StandardOutputByAnyNameIsWrittenAsItIsOpen) {
  const struct {
    const char* script;  // leaves the output in f
    const char* before;  // what f held before
  } cases[] = {
      {"printf EARLIER >f; \"$R\" chime --volume 15000 -o /dev/stdout >>f", "EARLIER"},
      {"\"$R\" chime --volume 15000 -o /dev/stdout | cat >f", ""},
      {"\"$R\" chime --volume 15000 -o >(cat >f); wait $!", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(Shell(c.script), 0) << standardError;
    EXPECT_TRUE(Read(dir / "f") == c.before + ChimeOrBuzz(true));
    fs::remove(dir / "f");
  }
}

TEST_F(RenderBinary, PatternFileIsTheProgramsImageByteForByte) {
  ASSERT_EQ(Run("pattern --frequency 1000 --volume 30000 --slots 10110 -o " + In("p.wav")), 0)
      << standardError;
  EXPECT_EQ(Read(dir / "p.wav"), PatternImage());
  EXPECT_TRUE(standardError.empty());
}

TEST_F(RenderBinary, DashWritesTheImageToStandardOutput) {
  ASSERT_EQ(Run("pattern --frequency 1000 --volume 30000 --slots 10110 -o -"), 0) << standardError;
  EXPECT_EQ(standardOutput, PatternImage());
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
      // Control characters are shown escaped, never as line breaks.
      "chime --volume '1\n2' -o " + target,
      "chime -o " + In("missing\n\t\x1b[2J/out.wav"),
      "'sil\rence' -o " + target,
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    EXPECT_EQ(Run(line), 2);
    EXPECT_EQ(standardError.rfind("kelvora-render: ", 0), 0u) << standardError;
    EXPECT_EQ(standardError.find('\n'), standardError.size() - 1) << standardError;
    // The final newline is its only control character.
    EXPECT_EQ(std::count_if(standardError.begin(), standardError.end(),
                            [](unsigned char c) { return c < 0x20 || c == 0x7f; }),
              1)
        << standardError;
    EXPECT_TRUE(standardOutput.empty());
    EXPECT_TRUE(DirectoryIsEmpty());
  }
}

TEST_F(RenderBinary, FailedWriteToStandardOutputExitsWith2) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  for (const char* script :
       {"\"$R\" silence -o - >/dev/full", "\"$R\" --help >/dev/full", "\"$R\" --help >&-"}) {
    SCOPED_TRACE(script);
    EXPECT_EQ(Shell(script), 2);
    EXPECT_EQ(standardError.rfind("kelvora-render: ", 0), 0u) << standardError;
    EXPECT_EQ(standardError.find('\n'), standardError.size() - 1) << standardError;
  }
}

TEST_F(RenderBinary, HelpGoesToStandardOutputWithStatus0) {
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_EQ(standardOutput.rfind("Usage: kelvora-render", 0), 0u);
  EXPECT_TRUE(standardError.empty());
}

}  // namespace
}  // namespace kelvora
