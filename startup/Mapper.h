// A one-to-one map between two key types, kept in step both ways (tree items and startup
// types or entries of the dialogs).
#pragma once

#include <map>

#include "startup/platform/errorresources/Assertion.h"

namespace products::stelmar {

template <typename First, typename Second>
class Mapper {
 public:
  // `first` must not be present yet; an earlier pair is kept.
  void insert(const First& first, const Second& second) {
    STELMAR_ASSERT(!exists(first));
    if (exists(first)) return;
    // One to one: a second value already paired stays with its first.
    STELMAR_ASSERT(!secondExists(second));
    if (secondExists(second)) return;
    _firstToSecond.emplace(first, second);
    _secondToFirst.emplace(second, first);
  }
  // A value-initialised Second, after a failed check, when `first` is not present.
  Second getSecond(const First& first) const {
    STELMAR_ASSERT(exists(first));
    const auto i = _firstToSecond.find(first);
    return i == _firstToSecond.end() ? Second() : i->second;
  }
  First getFirst(const Second& second) const {
    STELMAR_ASSERT(secondExists(second));
    const auto i = _secondToFirst.find(second);
    return i == _secondToFirst.end() ? First() : i->second;
  }
  bool exists(const First& first) const { return _firstToSecond.count(first) != 0; }
  bool secondExists(const Second& second) const { return _secondToFirst.count(second) != 0; }
  std::size_t size() const { return _firstToSecond.size(); }

 private:
  std::map<First, Second> _firstToSecond;
  std::map<Second, First> _secondToFirst;
};

}  // namespace products::stelmar
