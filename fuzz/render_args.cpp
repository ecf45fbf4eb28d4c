// kelvora-render's argument parser, the bytes split into arguments at each
// NUL (as a command line arrives). It either renders with options within
// their documented ranges, which the same sound's canonical arguments give
// again, or prints help when asked, or gives a one-line error.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tools/render_options.h"

using namespace kelvora;

namespace {

using Kind = RenderSoundKind;

std::string_view NameOf(Kind kind) {
  switch (kind) {
    case Kind::Pattern:
      return "pattern";
    case Kind::Continuous:
      return "continuous";
    case Kind::Silence:
      return "silence";
    case Kind::Chime:
      return "chime";
    case Kind::Buzz:
      return "buzz";
    case Kind::Sample:
      return "sample";
    case Kind::Export:
      return "export";
  }
  return {};
}

std::vector<std::string> CanonicalArguments(const RenderOptions& o) {
  std::vector<std::string> args{std::string(NameOf(o.sound))};
  if (o.sound == Kind::Pattern || o.sound == Kind::Continuous) {
    args.insert(args.end(), {"--frequency", std::to_string(o.frequency)});
  }
  if (o.sound == Kind::Export) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, o.exportFrequency, std::chars_format::fixed).ptr;
    args.insert(args.end(), {"--frequency", std::string(text, end)});
  }
  if (o.sound != Kind::Silence) args.insert(args.end(), {"--volume", std::to_string(o.volume)});
  if (o.sound == Kind::Pattern) {
    std::string slots;
    for (const bool s : o.slots) slots += s ? '1' : '0';
    args.insert(args.end(), {"--slots", slots});
  }
  if (o.fade) args.emplace_back("--fade");
  args.insert(args.end(), {"-o", o.output});
  return args;
}

bool Same(const RenderOptions& a, const RenderOptions& b) {
  return a.sound == b.sound && a.frequency == b.frequency &&
         a.exportFrequency == b.exportFrequency && a.volume == b.volume && a.slots == b.slots &&
         a.fade == b.fade && a.output == b.output;
}

void CheckOptions(const RenderOptions& o, const std::string& sound) {
  FUZZ_CHECK(NameOf(o.sound) == sound);
  const bool tone = o.sound == Kind::Pattern || o.sound == Kind::Continuous;
  FUZZ_CHECK(tone ? o.frequency >= 20 && o.frequency <= 22000 : o.frequency == 0);
  const bool exported = o.sound == Kind::Export;
  FUZZ_CHECK(exported ? o.exportFrequency > 0.1 && o.exportFrequency <= 24000
                      : o.exportFrequency == 0);
  FUZZ_CHECK(o.volume >= 0 && o.volume <= 30000);
  if (o.sound == Kind::Silence) FUZZ_CHECK(o.volume == 9000);
  if (o.sound != Kind::Pattern) FUZZ_CHECK(o.slots == (std::array<bool, 5>{}));
  if (!exported) FUZZ_CHECK(!o.fade);
  FUZZ_CHECK(o.output == "-" || (!o.output.empty() && o.output[0] != '-'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
    args.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }

  const RenderCommand command = ParseRenderArguments(args);
  bool help = false;
  for (const std::string& a : args) help = help || a == "--help" || a == "-h";
  FUZZ_CHECK((command.action == RenderCommand::Action::Help) == help);
  switch (command.action) {
    case RenderCommand::Action::Help:
      break;
    case RenderCommand::Action::Error: {
      const std::string_view suffix = " (see --help)";
      FUZZ_CHECK(command.error.size() > suffix.size() && command.error.ends_with(suffix));
      for (const char c : command.error) {
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
      }
      break;
    }
    case RenderCommand::Action::Render: {
      CheckOptions(command.options, args.front());
      const RenderCommand again = ParseRenderArguments(CanonicalArguments(command.options));
      FUZZ_CHECK(again.action == RenderCommand::Action::Render &&
                 Same(again.options, command.options));
      break;
    }
  }
  return 0;
}
