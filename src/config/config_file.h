// In-memory model of one launcher configuration file: an ordered list of named
// settings, each with an ordered list of values; names and values compare
// without regard to letter case. Used by one thread at a time (the UI thread).
#pragma once

#include <vector>

#include "text/wide_string.h"

using ConfigValues = std::vector<WideString>;

// Names of the launcher's settings.
extern const char16_t* kConfigFileFieldTemplatesLocation;   // "ConfigurationTemplatesLocation"
extern const char16_t* kConfigFileFieldInstallComponents;   // "InstallComponents"
extern const char16_t* kConfigFileFieldCommonCfgLocation;   // "CommonCfgLocation"
extern const char16_t* kConfigFileFieldDistributionFolder;  // "DistributiveLocation"
extern const char16_t* kConfigFileFieldInstalledFolder;     // "InstalledLocation"
extern const char16_t* kConfigFileFieldCommonBase;          // "CommonInfoBases"
extern const char16_t* kConfigFileFieldDefaultVersion;      // "DefaultVersion"

// One setting: its key in the letter case in which it was first added, and its
// values in the order in which they were added.
struct ConfigFileItem {
  WideString name;
  ConfigValues values;
};

// The settings in the order in which they were created, which is also the
// order in which they are written. No two items have equal names, and addValue
// never gives an item two equal values.
class ConfigFile {
 public:
  // The values of the named setting, or null when there is none. Valid until
  // the model is next changed.
  const ConfigValues* findValues(const WideString& name) const;
  // Appends the value unless the setting already has an equal one (then false);
  // a new setting goes to the end.
  bool addValue(const WideString& name, const WideString& value);
  // Makes the value the setting's only one; false when it already was.
  bool setValue(const WideString& name, const WideString& value);
  // Replaces the setting's values by the list, keeping its place. An empty list
  // moves the setting, with no values, to the end (such a setting writes no line).
  void setValues(const WideString& name, const ConfigValues& values);
  // Removes the first equal value, and the setting when it has no value left.
  bool removeValue(const WideString& name, const WideString& value);

  const std::vector<ConfigFileItem>& items() const { return m_items; }

 private:
  std::vector<ConfigFileItem>::iterator find(const WideString& name);
  std::vector<ConfigFileItem>::const_iterator find(const WideString& name) const;

  std::vector<ConfigFileItem> m_items;
};
