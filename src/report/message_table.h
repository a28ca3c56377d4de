#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmar {

// A fixed table from a numeric code to a Japanese text, with a text for every other code.
// The texts are written in UTF-8 and held in Shift_JIS, converted once when the table is
// built. Each reporting context of the system owns one table.
class MessageTable {
 public:
  MessageTable(std::initializer_list<std::pair<std::uint32_t, std::string_view>> entries,
               std::string_view other_text);

  const std::string& Text(std::uint32_t code) const;

 private:
  std::vector<std::pair<std::uint32_t, std::string>> entries_;
  std::string other_text_;
};

}  // namespace quillmar
