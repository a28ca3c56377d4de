#include "platform/temporary_files.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <vector>

namespace quillmar {
namespace {

struct Temporaries {
  std::mutex mutex;
  std::vector<std::string> paths;
};

Temporaries& Registry() {
  static Temporaries registry;
  return registry;
}

}  // namespace

bool MakeTemporary(const std::string& native_path, const std::function<bool()>& make) {
  Temporaries& registry = Registry();
  std::lock_guard lock(registry.mutex);
  // Room for the path is taken first: once the path is made, remembering it cannot fail.
  registry.paths.push_back(native_path);
  if (!make()) {
    registry.paths.pop_back();
    return false;
  }
  // As made: `make` may fill in a name pattern, keeping its length, so nothing is allocated.
  registry.paths.back().assign(native_path);
  return true;
}

void FinishTemporary(const std::string& native_path, const std::function<void()>& finish) {
  Temporaries& registry = Registry();
  std::lock_guard lock(registry.mutex);
  finish();
  const auto found = std::find(registry.paths.rbegin(), registry.paths.rend(), native_path);
  if (found != registry.paths.rend()) registry.paths.erase(std::next(found).base());
}

void RemoveTemporariesAndExit(int status) {
  Temporaries& registry = Registry();
  // Held until the end: a thread that is about to make a temporary file waits here for ever.
  registry.mutex.lock();
  for (const std::string& path : registry.paths) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  // No flush: another thread may hold a stream; the result lines are flushed one by one.
  ::_exit(status);
}

}  // namespace quillmar
