#include "app/system_outputs.h"

#include <chrono>

namespace kelvora {
namespace {

// The menu waits for the answer: a server on the same machine gives it in
// milliseconds, and one that does not answer must not hold the menu long.
constexpr auto kListBound = std::chrono::milliseconds(300);

}  // namespace

std::vector<platform::OutputDevice> SystemOutputs::List() {
  return platform::ListOutputDevices(kListBound);
}

std::string SystemOutputs::DefaultDescription() {
  return platform::DefaultOutputDescription(kListBound);
}

}  // namespace kelvora
