#include "tests/support/scratch.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace talvo::testing {

TempFolder::TempFolder(std::string_view name) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() /
            ("talvo-" + std::string(name) + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) return;
  }
  throw std::runtime_error("cannot make a temporary folder for " + std::string(name));
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string CommandOutput(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    if (status) *status = -1;
    return out;
  }
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  const int ended = pclose(pipe);
  if (status) *status = ended;
  return out;
}

bool WaitUntil(const std::function<bool()>& condition, int timeout_ms,
               const std::function<void()>& turn) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    turn();
  }
  return true;
}

}  // namespace talvo::testing
