// The wizard's engine without a window: the template directory it proposes
// from the launcher's configuration, and the configuration files that learn
// the directory it installed into.
#include "ui/install_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "config/config_locations.h"
#include "config/starter.h"
#include "support/directory_names.h"
#include "support/wide_text.h"
#include "ui_test_support.h"

namespace {

std::vector<WideString> storedList(bool useBaseLocations) {
  std::vector<WideString> list;
  get_tmplts_list(list, true, useBaseLocations);
  return list;
}

}  // namespace

TEST(InstallSession, ProposesTheFirstWritableConfiguredDirectoryCleaned) {
  Sandbox sandbox;
  const WideString configured = wide(sandbox / "configured");
  const std::pair<std::vector<WideString>, WideString> cases[] = {
      {{u"file://" + configured}, configured},
      {{u"/proc/not/writable", configured + u"\r\n", wide(sandbox / "second")}, configured},
      {{u"http://example.invalid/tmplts"}, u""},
      {{u"/proc/not/writable"}, default_tmplts_dir()},
  };
  for (const auto& [list, proposed] : cases) {
    set_tmplts_list(list, false);
    InstallSession session;
    // The directory is proposed before the kit is looked for.
    EXPECT_EQ(session.prepare(wide(sandbox / "nowhere/orbp8.pkd"), true), "IDS_ERROR_NOSOURCE");
    EXPECT_EQ(session.targetDirectory(), proposed) << narrow_lib(list.front());
  }
}

TEST(InstallSession, RecordsTheInstalledDirectoryFirstInTheFilesTheListCameFrom) {
  Sandbox sandbox;
  const WideString a = wide(sandbox / "a");
  const WideString b = wide(sandbox / "b");
  const WideString installed = wide(sandbox / "installed");
  const auto record = [&] {
    InstallSession session;
    session.prepare(wide(sandbox / "nowhere/orbp8.pkd"), true);
    session.setTargetDirectory(installed + u"/");
    WideString unsaved = u"left over";
    const bool saved = session.recordTemplateDirectory(unsaved);
    return std::make_pair(saved, narrow_lib(unsaved));
  };
  const std::string localFile = narrow_lib(get_local_config_file_path());

  // Only the base file names directories: it alone learns the new one.
  set_tmplts_list({a}, true);
  EXPECT_EQ(record(), std::make_pair(true, std::string()));
  EXPECT_EQ(storedList(true), (std::vector<WideString>{installed, a}));
  EXPECT_FALSE(exists(localFile));

  // A local file is read first, and both files get its list.
  set_tmplts_list({b, a}, false);
  EXPECT_EQ(record(), std::make_pair(true, std::string()));
  EXPECT_EQ(storedList(false), (std::vector<WideString>{installed, b, a}));
  EXPECT_EQ(storedList(true), (std::vector<WideString>{installed, b, a}));

  // A file that cannot be written is named; the other one is still written.
  remove_tree(localFile);
  std::filesystem::create_directories(localFile);
  set_tmplts_list({a}, true);
  EXPECT_EQ(record(), std::make_pair(false, localFile));
  EXPECT_EQ(storedList(true).at(0), installed);
}
