// The configuration model and the text format: what a file's bytes read as,
// and what the model writes back.
#include "config/config_file.h"

#include <gtest/gtest.h>

#include <string>

#include "config/config_file_io.h"
#include "support/file_contents.h"
#include "support/scratch_directory.h"
#include "test_files.h"

namespace {

// "name:value|value;" for every item, values narrowed.
std::string describe(const ConfigFile& configFile) {
  std::string text;
  for (const ConfigFileItem& item : configFile.items()) {
    text += narrow_lib(item.name) + ":";
    for (const WideString& value : item.values) text += narrow_lib(value) + "|";
    text += ";";
  }
  return text;
}

}  // namespace

TEST(ConfigFileModel, NamesAndValuesIgnoreLetterCaseAndKeepTheirOrder) {
  ConfigFile model;
  EXPECT_TRUE(model.addValue(u"key", u"x"));
  EXPECT_FALSE(model.addValue(u"KEY", u"X"));
  EXPECT_TRUE(model.addValue(u"Key", u"y"));
  EXPECT_TRUE(model.setValue(u"other", u"o"));
  EXPECT_FALSE(model.setValue(u"OTHER", u"O"));
  EXPECT_TRUE(model.addValue(u"last", u"z"));
  EXPECT_EQ(describe(model), "key:x|y|;other:o|;last:z|;");
  EXPECT_TRUE(model.setValue(u"key", u"y"));
  model.setValues(u"OTHER", {u"a", u"a"});  // stored as given, in its place
  EXPECT_EQ(describe(model), "key:y|;other:a|a|;last:z|;");

  model.setValues(u"key", {});  // an emptied setting moves to the end
  EXPECT_TRUE(model.findValues(u"KEY")->empty());
  EXPECT_TRUE(model.addValue(u"KEY", u"late"));
  EXPECT_FALSE(model.removeValue(u"last", u"absent"));
  EXPECT_FALSE(model.removeValue(u"absent", u"z"));
  EXPECT_TRUE(model.removeValue(u"LAST", u"Z"));
  EXPECT_EQ(model.findValues(u"last"), nullptr);
  EXPECT_EQ(describe(model), "other:a|a|;key:late|;");
}

TEST(ConfigFileFormat, ReadsLinesAsTheyStandAndWritesThemBack) {
  ScratchDirectory scratch(kOddScratchName);
  const std::string path = scratch / "orbstart.cfg";
  // "Ж" takes bytes 1023 and 1024, so that the first chunk of the reader
  // ends inside it; undecodable bytes stay what they are.
  const std::string cut = "P=" + std::string(1021, 'a') + "Ж\n";
  std::string zeroed = "A=1\nX=5";  // a zero byte hides the rest of its chunk
  zeroed += std::string(1, '\0') + "hidden=1\n";
  zeroed.resize(1024, 'h');
  const struct {
    std::string bytes, model, written;
  } cases[] = {
      {"B=2\nA=1\n\na=3\r\nA=1\n#x\n", "B:2|;A:1|3\r|;#x:|;", "B=2\nA=1\nA=3\r\n#x=\n"},
      {"key=a=b\n=v\n=\n  k \t= v \nlast=no line feed",
       "key:a=b|;:v|;  k \t: v |;last:no line feed|;",
       "key=a=b\n=v\n  k \t= v \nlast=no line feed\n"},
      {"", "", ""},
      {cut, "P:" + cut.substr(2, 1023) + "|;", cut},
      {"K\xff=\xc3(\x80 \xe2\x82\nW=\xed\xa0\x80\xf8\n",
       "K\xff:\xc3(\x80 \xe2\x82|;W:\xed\xa0\x80\xf8|;",
       "K\xff=\xc3(\x80 \xe2\x82\nW=\xed\xa0\x80\xf8\n"},
      {zeroed + "\nB=2\n", "A:1|;X:5|;B:2|;", "A=1\nX=5\nB=2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 40));
    write_file(path, c.bytes);
    ConfigFile model;
    read_config_file(widen_lib(path), model);
    EXPECT_EQ(describe(model), c.model);
    write_config_file(widen_lib(path), model);
    EXPECT_EQ(read_file(path), c.written);
  }
  // Reading adds to the model; a missing file adds nothing.
  ConfigFile model;
  model.addValue(u"kept", u"1");
  read_config_file(widen_lib(scratch / "missing.cfg"), model);
  write_file(path, "KEPT=1\nkept=2\n");
  read_config_file(widen_lib(path), model);
  EXPECT_EQ(describe(model), "kept:1|2|;");
  // A zero unit ends a key or value, as it would end the text of its chunk.
  model.addValue(WideString(u"z\0z", 3), WideString(u"a\0b", 3));
  write_config_file(widen_lib(path), model);
  EXPECT_EQ(read_file(path), "kept=1\nkept=2\nz=a\n");
}

TEST(ConfigFileFormat, AnsiEncodingIsTheAbsenceOfTheUtf16Mark) {
  ScratchDirectory scratch(kOddScratchName);
  const std::string path = scratch / "probe.cfg";
  EXPECT_FALSE(is_ansi_encoded(widen_lib(path)));
  for (const auto& [bytes, ansi] : {std::pair{"", false},
                                    {"A", false},
                                    {"\xff\xfe\x41", false},
                                    {"A=", true},
                                    {"\xfe\xff", true}}) {
    write_file(path, bytes);
    EXPECT_EQ(is_ansi_encoded(widen_lib(path)), ansi) << bytes;
  }
}
