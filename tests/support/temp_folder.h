#pragma once

#include <string>
#include <string_view>

namespace quillmar::testing {

// A fresh folder under /tmp for one test, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of a name inside the folder.
  std::string operator/(std::string_view name) const;
  // Writes a file inside the folder and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // The bytes of a file inside the folder ("" when it is missing).
  std::string Read(std::string_view name) const;

 private:
  std::string path_;
};

}  // namespace quillmar::testing
