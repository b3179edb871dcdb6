#include "cleaner/host/PresetNames.h"

namespace presetnames {

namespace {

bool IsBlank(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

bool NeedsQuotes(const std::string& name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
  }
  return false;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string Encode(const std::vector<std::string>& names) {
  if (names.size() == 1 && names[0].empty()) return "\"\"";
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) text += ',';
    if (!NeedsQuotes(names[i])) {
      text += names[i];
      continue;
    }
    text += '"';
    for (char c : names[i]) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

std::vector<std::string> Decode(const std::string& text) {
  std::vector<std::string> names;
  // A NUL ends the text, as it would for the platform's string functions.
  const std::string::size_type n = text.find('\0') == std::string::npos ? text.size() : text.find('\0');
  std::string::size_type i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  while (i < n) {
    std::string name;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            name += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        name += text[i++];
      }
    } else {
      while (i < n && static_cast<unsigned char>(text[i]) > 32 && text[i] != ',') name += text[i++];
    }
    names.push_back(name);
    while (i < n && IsBlank(text[i])) ++i;
    if (i < n && text[i] == ',') {
      ++i;
      while (i < n && IsBlank(text[i])) ++i;
    }
  }
  return names;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsReserved(const std::string& name) { return SameName(name, "PLUGINS") || SameName(name, "MORVEL"); }

}  // namespace presetnames
