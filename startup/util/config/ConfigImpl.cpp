#include "startup/util/config/ConfigImpl.h"

#include <algorithm>
#include <climits>

#include "startup/platform/errorresources/Assertion.h"
#include "startup/platform/errorresources/Exceptions.h"
#include "startup/util/parser/StringTokenizerImpl.h"

namespace util {
namespace config {

const char* const ConfigImpl::FILE_NAME = "stelmar.cfg";

namespace {

const char* const LINE_BREAKS = "\r\n";
const char* const NOT_A_KEY_VALUE_LINE = "Parse error. The line is not a valid key=value line. ";
const char* const DUPLICATE_KEY = "Duplicate key found while parsing. ";
const char* const KEY_DOES_NOT_EXIST = "The key does not exist. ";
const char* const COMMENTED_KEY_NOT_FOUND = "Could not find the commented key. ";
const char* const TRUE_TEXTS[] = {"true", "TRUE", "1"};
const char* const FALSE_TEXTS[] = {"false", "FALSE", "0"};

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// End of the line starting at `start`: its first CR or LF, or the end of the text.
std::size_t lineEnd(const std::string& text, std::size_t start) {
  const std::size_t end = text.find_first_of(LINE_BREAKS, start);
  return end == std::string::npos ? text.size() : end;
}

}  // namespace

ConfigImpl::ConfigImpl(const std::string& fileNameOrText, int source, ConfigLoader& loader,
                       ConfigSaver& saver)
    : _loader(loader), _saver(saver) {
  if (source == FROM_FILE)
    load(fileNameOrText);
  else if (source == FROM_TEXT)
    parse(fileNameOrText);
  else
    STELMAR_ASSERT(false);
  _state = STATE_LOADED;
}

void ConfigImpl::addListener(ConfigListener* listener) {
  if (std::find(_listeners.begin(), _listeners.end(), listener) == _listeners.end())
    _listeners.push_back(listener);
}

void ConfigImpl::removeListener(ConfigListener* listener) {
  _listeners.erase(std::remove(_listeners.begin(), _listeners.end(), listener), _listeners.end());
}

void ConfigImpl::notify() {
  // A listener may remove itself while being told.
  const std::vector<ConfigListener*> listeners = _listeners;
  for (ConfigListener* listener : listeners) listener->configurationChanged(*this);
}

void ConfigImpl::setText(const std::string& text) { parse(text); }

void ConfigImpl::load(const std::string& fileName) {
  const std::string text = _loader.load(fileName);
  _fileName = fileName;
  parse(text);
}

void ConfigImpl::reload() { load(_fileName); }

void ConfigImpl::save(const std::string& fileName) {
  _saver.save(fileName.empty() ? _fileName : fileName, _configText);
  _state = STATE_SAVED;
  notify();
}

std::string ConfigImpl::details() const {
  return "Error details:\nProblems in the configuration file loader (ConfigImpl).\nFilename: " +
         _fileName + "\n";
}

void ConfigImpl::keyFailure(const std::string& message, const std::string& key) const {
  throw KeyDoesNotExistException(message + details() + " Key: '" + key + "'",
                                 message + details() + "\n\nConfiguration text:\n" + _configText);
}

void ConfigImpl::parseFailure(const std::string& message, const std::string& text,
                              const std::string& line, int lineNumber) const {
  throw ParseException(
      message + details() + " Line: " + line + " LineNumber: " + std::to_string(lineNumber),
      message + details() + "\n\nConfiguration text:\n" + text);
}

void ConfigImpl::parse(const std::string& text) {
  if (text == _configText) return;
  _configText = text;

  std::map<std::string, std::string> values;
  parser::StringTokenizerImpl lines(text, LINE_BREAKS);
  for (int lineNumber = 1; lines.hasMoreTokens(); ++lineNumber) {
    const std::string line = lines.nextToken();
    STELMAR_ASSERT(line.size());
    if (line.empty() || line[0] == '#') continue;
    // A line that starts with "=" has no key, whatever follows.
    if (line[0] == '=' || parser::StringTokenizerImpl(line, "=").countTokens() < 2)
      parseFailure(NOT_A_KEY_VALUE_LINE, text, line, lineNumber);
    const std::size_t equals = line.find('=');
    const std::string key = line.substr(0, equals);
    if (values.count(key)) parseFailure(DUPLICATE_KEY, text, line, lineNumber);
    values[key] = line.substr(equals + 1);
  }
  _values.swap(values);
  _state = STATE_CHANGED;
  notify();
}

void ConfigImpl::parseEdit(const std::string& text) {
  const std::string before = _configText;
  try {
    parse(text);
  } catch (const ParseException&) {
    // An edit that breaks the text must not stay behind to be saved.
    _configText = before;
    throw;
  }
}

std::size_t ConfigImpl::locateLine(const std::string& prefix) const {
  const std::string wanted = prefix + "=";
  for (std::size_t pos = _configText.find(wanted); pos != std::string::npos;
       pos = _configText.find(wanted, pos + 1)) {
    if (pos == 0 || isLineBreak(_configText[pos - 1])) return pos;
    STELMAR_ASSERT(pos < _configText.size());
  }
  return std::string::npos;
}

std::string ConfigImpl::getString(const std::string& key) const {
  const auto found = _values.find(key);
  if (found == _values.end()) keyFailure(KEY_DOES_NOT_EXIST, key);
  return found->second;
}

bool ConfigImpl::hasKey(const std::string& key) const { return _values.count(key) != 0; }

int ConfigImpl::getInteger(const std::string& key) const {
  const std::string value = getString(key);
  if (value.empty())
    throw exceptions::NumberFormatException("The empty string cannot be parsed into an integer");
  if (value == "0") return 0;

  std::size_t at = 0;
  bool negative = false;
  if (value[0] == '+' || value[0] == '-') {
    negative = value[0] == '-';
    ++at;
  }
  long long number = 0;
  bool tooBig = false;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
    number = number * 10 + (value[at] - '0');
    if (number > static_cast<long long>(INT_MAX) + 1) {
      tooBig = true;
      break;
    }
  }
  if (negative) number = -number;
  if (number == 0 || tooBig || number > INT_MAX || number < INT_MIN)
    throw exceptions::NumberFormatException("Error parsing the string [" + value +
                                            "] to an integer");
  return static_cast<int>(number);
}

bool ConfigImpl::getBoolean(const std::string& key) const {
  const std::string value = getString(key);
  for (const char* text : TRUE_TEXTS)
    if (value == text) return true;
  for (const char* text : FALSE_TEXTS)
    if (value == text) return false;
  throw exceptions::NumberFormatException(
      "The value, " + value + ", could not be converted into a boolean. " + details());
}

void ConfigImpl::setBoolean(const std::string& key, bool value) {
  setString(key, value ? "true" : "false");
}

void ConfigImpl::setInteger(const std::string& key, int value) {
  setString(key, std::to_string(value));
}

void ConfigImpl::setString(const std::string& key, const std::string& value) {
  // A key or value with a line break would add lines of its own to the file.
  const std::string line = key + "=" + value;
  if (key.empty() || key[0] == '#' || key.find_first_of("=\r\n") != std::string::npos ||
      value.find_first_of(LINE_BREAKS) != std::string::npos)
    parseFailure(NOT_A_KEY_VALUE_LINE, _configText, line, 0);

  std::string text = _configText;
  const std::size_t pos = locateLine(key);
  if (pos == std::string::npos) {
    if (!text.empty() && !isLineBreak(text.back())) text += "\n";
    text += line + "\n";
  } else {
    // The old value is read from the line itself, so that only its characters change.
    const std::size_t start = pos + key.size() + 1;
    text.replace(start, lineEnd(text, start) - start, value);
  }
  parseEdit(text);
}

void ConfigImpl::commentOutKey(const std::string& key) {
  getString(key);
  const std::size_t pos = locateLine(key);
  if (pos == std::string::npos) {
    errorresources::assertion("pos != string::npos", __FILE__, __LINE__);
    return;
  }
  std::string text = _configText;
  text.insert(pos, "#");
  parseEdit(text);
}

void ConfigImpl::uncommentKey(const std::string& key) {
  const std::size_t pos = locateLine("#" + key);
  if (pos == std::string::npos) keyFailure(COMMENTED_KEY_NOT_FOUND, key);
  std::string text = _configText;
  text.erase(pos, 1);
  parseEdit(text);
}

void ConfigImpl::removeKey(const std::string& key) {
  // Only a line of its own: "key=" inside another key's line or a comment is not it.
  const std::size_t pos = locateLine(key);
  if (pos == std::string::npos) return;
  std::string text = _configText;
  text.erase(pos, lineEnd(text, pos) - pos);
  parseEdit(text);
}

int ConfigImpl::getNumberOfKeys() const { return static_cast<int>(_values.size()); }

const std::string& ConfigImpl::getText() const { return _configText; }

int ConfigImpl::getState() const { return _state; }

}  // namespace config
}  // namespace util
