// The list of template directories that the launcher's configuration files
// name under "ConfigurationTemplatesLocation": read merged from the local and
// the all-users file, and stored into the local file. UI thread only.
#pragma once

#include <vector>

#include "config/config_file.h"
#include "text/wide_string.h"

// Reads the files of one pair of locations (regular or base) and maintains the
// template list in them. Short-lived: one object per read or store.
class Starter {
 public:
  explicit Starter(bool useBaseLocations);

  // Reads the all-users file, then the local file; a failure reading either
  // leaves what was read and is otherwise ignored.
  void loadConfig();
  // Appends the key's values from the sources, local first or last, skipping
  // values already taken (letter case ignored); with stopAfterSecond the third
  // source is not visited.
  void getConfigFilesValues(bool localFirst, const WideString& key, std::vector<WideString>& list,
                            bool stopAfterSecond) const;
  // Appends the merged, cleaned template list.
  void getTmpltsList(std::vector<WideString>& list, bool localFirst);
  // Stores the list without duplicates as the local file's template list.
  // Throws the int 1 or 2 when the file cannot be written.
  void setTmpltsList(const std::vector<WideString>& list);

  // Turns every backslash into "/".
  static void replaceWrongSeparators(std::vector<WideString>& list);
  // Keeps the first of entries that are equal ignoring letter case and a final
  // separator; the survivors are not changed.
  static void removePathDuplicates(std::vector<WideString>& list);

  // Writes the local file, creating its directory first when the file is
  // missing, and once more after a failed write. Throws the int 1 or 2.
  void saveLocalConfigFile() const;

 private:
  WideString localConfigPath() const;
  WideString allUsersConfigPath() const;

  ConfigFile localConfig;
  ConfigFile allUsersConfig;
  ConfigFile extraConfig;  // a third source that nothing fills
  bool useBaseLocations;
};

// Appends the merged template list of the chosen pair of files to `list`.
void get_tmplts_list(std::vector<WideString>& list, bool localFirst, bool useBaseLocations);
// Stores `list` as the template list of the chosen pair's local file. Throws
// the int 1 or 2 when the file cannot be written.
void set_tmplts_list(const std::vector<WideString>& list, bool useBaseLocations);
