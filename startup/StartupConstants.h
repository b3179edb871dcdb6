// The startup types (nine Run-type registry keys, four autostart folders) and the two
// states of an entry. The type values are stored in "stelmar.dat" and index tables: they
// never change, and new ones are only ever added at the end. Types 11 and 12 are the 32-bit
// view of the machine's Run and RunOnce keys, which exists on 64-bit Windows only.
#pragma once

#include <string>

namespace products::stelmar {

class StartupConstants {
 public:
  static constexpr int LM_RUN_ALWAYS = 0;
  static constexpr int LM_RUN_ONCE = 1;
  static constexpr int LM_RUN_ONCE_EX = 2;
  static constexpr int LM_RUN_SERVICE = 3;
  static constexpr int LM_RUN_SERVICE_ONCE = 4;
  static constexpr int CU_RUN_ALWAYS = 5;
  static constexpr int CU_RUN_ONCE = 6;
  static constexpr int LM_RUN_AUTOSTART = 7;
  static constexpr int LM_RUN_AUTOSTART_USER = 8;
  static constexpr int CU_RUN_AUTOSTART = 9;
  static constexpr int CU_RUN_AUTOSTART_USER = 10;
  static constexpr int LM_RUN_ALWAYS_32 = 11;
  static constexpr int LM_RUN_ONCE_32 = 12;
  static constexpr int MAX_TYPES = 13;

  static constexpr int ENABLED = 0;
  static constexpr int DISABLED = 1;

  // True for 0 to MAX_TYPES - 1: only such a type may index a table.
  static bool isValidType(int type) { return type >= 0 && type < MAX_TYPES; }
  static bool isRegistryType(int type) {
    return (type >= LM_RUN_ALWAYS && type <= CU_RUN_ONCE) || type == LM_RUN_ALWAYS_32 ||
           type == LM_RUN_ONCE_32;
  }
  static bool isAutostartType(int type) {
    return type >= LM_RUN_AUTOSTART && type <= CU_RUN_AUTOSTART_USER;
  }

  // "LM_RUN_ALWAYS" ... "LM_RUN_ONCE_32"; any other value asserts and gives "N/A".
  static std::string typeToString(int type);
};

}  // namespace products::stelmar
