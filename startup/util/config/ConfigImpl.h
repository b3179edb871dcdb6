// The configuration text of stelmar: parsed into keys and values, edited in place so that
// comments and the order of lines survive, saved back whole.
//
// Text format: lines separated by any run of CR and LF; "#" at the start of a line makes
// it a comment (this is also how a key is commented out); every other line is key=value,
// the value being everything after the first "=". No blanks are trimmed; keys are
// case-sensitive and appear once. Standard library only.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "startup/util/config/Config.h"

namespace util {
namespace config {

class ConfigImpl : public Config {
 public:
  // Sources of the construction.
  static constexpr int FROM_FILE = 0;  // the first argument is a file name: load it
  static constexpr int FROM_TEXT = 1;  // the first argument is the configuration text itself

  static const char* const FILE_NAME;  // "stelmar.cfg"

  // The loader and saver are not owned and must outlive the configuration.
  ConfigImpl(const std::string& fileNameOrText, int source, ConfigLoader& loader,
             ConfigSaver& saver);
  ~ConfigImpl() override = default;

  void addListener(ConfigListener* listener) override;
  void removeListener(ConfigListener* listener) override;
  void notify() override;
  void setText(const std::string& text) override;
  void load(const std::string& fileName) override;
  void reload() override;
  void save(const std::string& fileName = std::string()) override;
  int getInteger(const std::string& key) const override;
  bool getBoolean(const std::string& key) const override;
  std::string getString(const std::string& key) const override;
  bool hasKey(const std::string& key) const override;
  void setBoolean(const std::string& key, bool value) override;
  void setInteger(const std::string& key, int value) override;
  void setString(const std::string& key, const std::string& value) override;
  void commentOutKey(const std::string& key) override;
  void removeKey(const std::string& key) override;
  void uncommentKey(const std::string& key) override;
  int getNumberOfKeys() const override;
  const std::string& getText() const override;
  int getState() const override;
  void parse(const std::string& text) override;

 private:
  // Start of the line that begins with `prefix` + "=", or npos.
  std::size_t locateLine(const std::string& prefix) const;
  // Parses an edited text; when it does not parse, the text stays as it was before the edit.
  void parseEdit(const std::string& text);
  std::string details() const;
  [[noreturn]] void keyFailure(const std::string& message, const std::string& key) const;
  [[noreturn]] void parseFailure(const std::string& message, const std::string& text,
                                 const std::string& line, int lineNumber) const;

  std::vector<ConfigListener*> _listeners;
  std::string _fileName;
  std::string _configText;
  ConfigLoader& _loader;
  ConfigSaver& _saver;
  std::map<std::string, std::string> _values;
  int _state = STATE_LOADED;
};

}  // namespace config
}  // namespace util
