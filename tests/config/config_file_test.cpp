// The configuration model and its text format: bytes read, and written back.
#include <gtest/gtest.h>

#include "config/config_file_io.h"
#include "platform/test_files.h"

TEST(ConfigFileFormat, ReadsLinesAsTheyStandAndWritesThemBack) {
  ScratchDirectory scratch = platform_scratch();
  const std::string path = scratch / "orbstart.cfg";
  // "Ж" takes bytes 1023 and 1024: the reader's first chunk ends inside it.
  const std::string cut = "P=" + std::string(1021, 'a') + "Ж\n";
  // A zero byte hides the rest of its chunk.
  const std::string zeroed =
      "A=1\nX=5" + std::string(1, '\0') + "hidden=1\n" + std::string(1007, 'h');
  // Equal values once, case ignored, nothing trimmed, an empty line a key, any
  // bytes kept, and the launcher's byte-order mark and CR LF line ends.
  const std::pair<std::string, std::string> cases[] = {
      {"B=2\nA=x\n\na=3\nA=X\nA=3 \n#x\n", "B=2\nA=x\nA=3\nA=3 \n#x=\n"},
      {"key=a=b\n=v\n=\n  k \t= v \nlast=no line feed",
       "key=a=b\n=v\n  k \t= v \nlast=no line feed\n"},
      {"\xEF\xBB\xBFV=8.3\r\n\r\nK\xff=/Базы\xc3(\x80 \xe2\x82\r\nW=\xed\xa0\x80\xf8\r\n",
       "\xEF\xBB\xBFV=8.3\r\n\r=\nK\xff=/Базы\xc3(\x80 \xe2\x82\r\nW=\xed\xa0\x80\xf8\r\n"},
      {cut, cut},
      {zeroed + "\nB=2\n", "A=1\nX=5\nB=2\n"},
  };
  for (const auto& [bytes, written] : cases) {
    write_file(path, bytes);
    ConfigFile model;
    read_config_file(widen_lib(path), model);
    write_config_file(widen_lib(path), model);
    EXPECT_EQ(read_file(path), written) << bytes.substr(0, 40);
  }
  // A list is kept as given, an emptied setting moves to the end, a zero unit ends a text.
  ConfigFile model;
  model.addValue(u"key", u"x");
  model.setValues(u"OTHER", {u"a", u"a"});
  model.addValue(u"last", u"z");
  model.setValues(u"key", {});
  EXPECT_TRUE(model.findValues(u"KEY")->empty() && model.findValues(u"absent") == nullptr);
  model.addValue(u"KEY", u"late");
  model.addValue(WideString(u"z\0z", 3), WideString(u"a\0b", 3));
  write_config_file(widen_lib(path), model);
  EXPECT_EQ(read_file(path), "OTHER=a\nOTHER=a\nlast=z\nkey=late\nz=a\n");
}
