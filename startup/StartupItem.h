// One startup entry: its type, its state, its name (value name or file name) and its data
// (the command line). A value type that travels between the stores, the interface and the
// dialogs. A disabled registry entry is kept on disk as a raw record:
//   type (4 bytes, little-endian), state (4 bytes, always DISABLED), name, 0, data, 0.
// Needs no Windows call.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace products::stelmar {

class StartupItem {
 public:
  // Fixed part of a raw record: type, state and the two terminating zero bytes.
  static constexpr std::size_t RAW_OVERHEAD = 10;

  StartupItem(int type, int state, const std::string& name, const std::string& data);
  // Parses the raw record at `rawdata`, which holds `size` readable bytes. Never reads past
  // them: gives nothing when the bytes end before the record's name and data do. The
  // record is getRawSize() bytes long. The entry is DISABLED (initial state too) whatever
  // state the record claims, and its type is kept as it is; neither is checked here (the
  // file's loader reports a damaged file once, with all its problems).
  static std::optional<StartupItem> fromRawData(const char* rawdata, std::size_t size);
  // The state a raw record claims (DISABLED for fewer than 8 bytes).
  static int rawState(const char* rawdata, std::size_t size);

  StartupItem(const StartupItem&) = default;
  StartupItem& operator=(const StartupItem&) = default;
  StartupItem(StartupItem&&) = default;
  StartupItem& operator=(StartupItem&&) = default;
  virtual ~StartupItem() = default;

  int getType() const { return _type; }
  int getState() const { return _state; }
  int getInitialState() const { return _initialState; }
  const std::string& getName() const { return _name; }
  const std::string& getData() const { return _data; }
  // True when the current state differs from the state the record was made with.
  bool isChanged() const { return _changed; }
  // Sets the state; the changed flag follows.
  void setState(int state);
  // A DISABLED entry that Windows itself switched off: its value or file is in place, and
  // Windows' own switch keeps it from starting. Set by the stores when they list it; never
  // part of the raw record.
  bool isSwitchedOffByWindows() const { return _switchedOffByWindows; }
  void markSwitchedOffByWindows() { _switchedOffByWindows = true; }

  // The registry value a live entry was listed from, as the registry holds it (its type
  // and bytes), with the command line it read as. Set by the registry stores when they list
  // it; never part of the raw record. Wherever the entry goes with that same command line (a
  // move, an edit of its name), the value is written exactly as it was: a REG_EXPAND_SZ
  // stays one.
  struct SourceValue {
    unsigned long registryType;
    std::string bytes;
    std::string listedData;
  };
  const std::optional<SourceValue>& getSourceValue() const { return _sourceValue; }
  void setSourceValue(SourceValue value) { _sourceValue = std::move(value); }
  // The source value when the entry still has the command line it was listed with.
  const SourceValue* unchangedSourceValue() const {
    return _sourceValue && _sourceValue->listedData == _data ? &*_sourceValue : nullptr;
  }

  // The raw record of a DISABLED entry: exactly getRawSize() bytes.
  std::string toRawData() const;
  std::size_t getRawSize() const { return _name.size() + _data.size() + RAW_OVERHEAD; }

  // "Type: 5\nState: 0\nValue: name\nData: data", as failure reports show an entry.
  std::string toString() const;

  // Same type and byte-for-byte the same name; state and data take no part.
  bool operator==(const StartupItem& other) const {
    return _type == other._type && _name == other._name;
  }
  bool operator!=(const StartupItem& other) const { return !(*this == other); }

 private:
  int _initialState;
  int _type;
  int _state;
  std::string _name;
  std::string _data;
  bool _changed = false;
  bool _switchedOffByWindows = false;
  std::optional<SourceValue> _sourceValue;
};

// A total order consistent with equality: type, then name.
struct StartupItemOrder {
  bool operator()(const StartupItem& a, const StartupItem& b) const {
    if (a.getType() != b.getType()) return a.getType() < b.getType();
    return a.getName() < b.getName();
  }
};

}  // namespace products::stelmar
