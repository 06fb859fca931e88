#include "app/ini_text.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace norvane::app {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The section name of a "[name]" line, or nothing for other lines.
bool SectionOf(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  name = Trim(line.substr(1, line.size() - 2));
  return true;
}

bool KeyOf(std::string_view line, std::string_view& key) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return false;
  const std::size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(trimmed.substr(0, eq));
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string oneLine(value);
  std::replace_if(
      oneLine.begin(), oneLine.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  const std::string entry = std::string(key) + "=" + oneLine;

  std::vector<std::string> lines = SplitLines(text);
  bool inSection = false;
  bool sectionSeen = false;
  std::size_t insertAt = lines.size();  // after the last non-empty line of the section
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (SectionOf(lines[i], name)) {
      if (inSection) break;  // the section ended without the key
      inSection = SameName(name, section);
      if (inSection) {
        sectionSeen = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    std::string_view lineKey;
    if (KeyOf(lines[i], lineKey) && SameName(lineKey, key)) {
      lines[i] = entry;
      insertAt = std::string::npos;
      break;
    }
    if (!Trim(lines[i]).empty()) insertAt = i + 1;
  }
  if (!sectionSeen) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    // Appended piece by piece: gcc 12 at -O3 mistakes `"[" + std::string` for an overflowing copy.
    std::string header = "[";
    header += section;
    header += ']';
    lines.push_back(std::move(header));
    lines.push_back(entry);
  } else if (insertAt != std::string::npos) {
    lines.insert(lines.begin() + std::ptrdiff_t(insertAt), entry);
  }

  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace norvane::app
