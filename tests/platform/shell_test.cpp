#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "platform/test_files.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"

TEST(Shell, CommandsAndTheirFirstLine) {
  EXPECT_EQ(u"abc", get_one_line_output(u"printf 'abc\\n'; echo second"));
  EXPECT_EQ(u"", get_one_line_output(u"true"));
  const WideString longLine = get_one_line_output(u"printf '%0300d\\n' 0");
  EXPECT_EQ(WideString(253, u'0'), longLine);
  const int status = run_linux_command("exit 3");
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(3, WEXITSTATUS(status));
}

TEST(Shell, WideFileOpening) {
  ScratchDirectory scratch("platform-", ".");
  EXPECT_EQ(nullptr, _wfopen(wide(scratch / "missing"), u"r"));
  write_file(scratch / "\xC3\xA9t\xC3\xA9", "bytes");
  FILE* const file = _wfopen(wide(scratch.path()) + u"/\u00E9t\u00E9", u"rt, ccs=UNICODE");
  ASSERT_NE(nullptr, file);
  char buffer[16] = {};
  EXPECT_EQ(5u, fread(buffer, 1, sizeof buffer, file));
  EXPECT_STREQ("bytes", buffer);
  fclose(file);
  Sleep(0);
  Sleep(-5);
}
