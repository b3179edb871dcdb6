// The configuration of stelmar: a text of key=value lines, kept in "stelmar.cfg".
// Standard library only.
#pragma once

#include <string>

namespace util {
namespace config {

class Config;

class ConfigListener {
 public:
  virtual ~ConfigListener() = default;
  virtual void configurationChanged(Config& config) = 0;
};

// Turns a file name into the configuration text (read and unscramble).
class ConfigLoader {
 public:
  virtual ~ConfigLoader() = default;
  virtual std::string load(const std::string& fileName) = 0;
};

// Writes the configuration text to a file (scramble and write).
class ConfigSaver {
 public:
  virtual ~ConfigSaver() = default;
  virtual void save(const std::string& fileName, const std::string& text) = 0;
};

class Config {
 public:
  // getState()
  static constexpr int STATE_LOADED = 0;
  static constexpr int STATE_CHANGED = 1;
  static constexpr int STATE_SAVED = 2;

  virtual ~Config() = default;
  virtual void addListener(ConfigListener* listener) = 0;
  virtual void removeListener(ConfigListener* listener) = 0;
  virtual void notify() = 0;
  virtual void setText(const std::string& text) = 0;
  virtual void load(const std::string& fileName) = 0;
  virtual void reload() = 0;
  virtual void save(const std::string& fileName = std::string()) = 0;
  virtual int getInteger(const std::string& key) const = 0;
  virtual bool getBoolean(const std::string& key) const = 0;
  virtual std::string getString(const std::string& key) const = 0;
  virtual bool hasKey(const std::string& key) const = 0;
  virtual void setBoolean(const std::string& key, bool value) = 0;
  virtual void setInteger(const std::string& key, int value) = 0;
  virtual void setString(const std::string& key, const std::string& value) = 0;
  virtual void commentOutKey(const std::string& key) = 0;
  virtual void removeKey(const std::string& key) = 0;
  virtual void uncommentKey(const std::string& key) = 0;
  virtual int getNumberOfKeys() const = 0;
  virtual const std::string& getText() const = 0;
  virtual int getState() const = 0;
  virtual void parse(const std::string& text) = 0;
};

}  // namespace config
}  // namespace util
