#include "config/config_file.h"

#include <algorithm>

const char16_t* kConfigFileFieldTemplatesLocation = u"ConfigurationTemplatesLocation";
const char16_t* kConfigFileFieldInstallComponents = u"InstallComponents";
const char16_t* kConfigFileFieldCommonCfgLocation = u"CommonCfgLocation";
const char16_t* kConfigFileFieldDistributionFolder = u"DistributiveLocation";
const char16_t* kConfigFileFieldInstalledFolder = u"InstalledLocation";
const char16_t* kConfigFileFieldCommonBase = u"CommonInfoBases";
const char16_t* kConfigFileFieldDefaultVersion = u"DefaultVersion";

namespace {

bool equal_nocase(const WideString& a, const WideString& b) { return compare_nocase(a, b) == 0; }

ConfigValues::iterator find_value(ConfigValues& values, const WideString& value) {
  return std::find_if(values.begin(), values.end(),
                      [&value](const WideString& v) { return equal_nocase(v, value); });
}

}  // namespace

std::vector<ConfigFileItem>::iterator ConfigFile::find(const WideString& name) {
  return std::find_if(m_items.begin(), m_items.end(), [&name](const ConfigFileItem& item) {
    return equal_nocase(item.name, name);
  });
}

std::vector<ConfigFileItem>::const_iterator ConfigFile::find(const WideString& name) const {
  return std::find_if(m_items.begin(), m_items.end(), [&name](const ConfigFileItem& item) {
    return equal_nocase(item.name, name);
  });
}

const ConfigValues* ConfigFile::findValues(const WideString& name) const {
  const auto item = find(name);
  return item == m_items.end() ? nullptr : &item->values;
}

bool ConfigFile::addValue(const WideString& name, const WideString& value) {
  const auto item = find(name);
  if (item == m_items.end()) {
    m_items.push_back(ConfigFileItem{name, ConfigValues{value}});
    return true;
  }
  if (find_value(item->values, value) != item->values.end()) return false;
  item->values.push_back(value);
  return true;
}

bool ConfigFile::setValue(const WideString& name, const WideString& value) {
  const auto item = find(name);
  if (item == m_items.end()) {
    m_items.push_back(ConfigFileItem{name, ConfigValues{value}});
    return true;
  }
  if (item->values.size() == 1 && equal_nocase(item->values.front(), value)) return false;
  item->values.assign(1, value);
  return true;
}

void ConfigFile::setValues(const WideString& name, const ConfigValues& values) {
  auto item = find(name);
  if (!values.empty()) {
    if (item == m_items.end()) {
      m_items.push_back(ConfigFileItem{name, values});
    } else {
      item->values = values;
    }
    return;
  }
  // An emptied setting goes to the end, so that a later addValue puts its
  // lines after every other setting.
  if (item != m_items.end()) m_items.erase(item);
  m_items.push_back(ConfigFileItem{name, ConfigValues{}});
}

bool ConfigFile::removeValue(const WideString& name, const WideString& value) {
  const auto item = find(name);
  if (item == m_items.end()) return false;
  const auto found = find_value(item->values, value);
  if (found == item->values.end()) return false;
  item->values.erase(found);
  if (item->values.empty()) m_items.erase(item);
  return true;
}
