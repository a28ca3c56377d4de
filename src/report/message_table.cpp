#include "report/message_table.h"

#include "platform/encoding.h"

namespace quillmar {

MessageTable::MessageTable(
    std::initializer_list<std::pair<std::uint32_t, std::string_view>> entries,
    std::string_view other_text)
    : other_text_(Sjis(other_text)) {
  entries_.reserve(entries.size());
  for (const auto& [code, text] : entries) entries_.emplace_back(code, Sjis(text));
}

const std::string& MessageTable::Text(std::uint32_t code) const {
  for (const auto& [entry_code, text] : entries_) {
    if (entry_code == code) return text;
  }
  return other_text_;
}

}  // namespace quillmar
