// The configuration model and the text format: reading, writing back, and the
// chunked decoding of the reader.
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
    for (size_t i = 0; i < item.values.size(); ++i) {
      text += (i == 0 ? "" : "|") + narrow_lib(item.values[i]);
    }
    text += ";";
  }
  return text;
}

ConfigFile read_text(const ScratchDirectory& scratch, const std::string& bytes) {
  const std::string path = scratch / "orbstart.cfg";
  write_file(path, bytes);
  ConfigFile configFile;
  read_config_file(widen_lib(path), configFile);
  return configFile;
}

std::string write_model(const ScratchDirectory& scratch, const ConfigFile& configFile) {
  const std::string path = scratch / "written.cfg";
  write_config_file(widen_lib(path), configFile);
  return read_file(path);
}

}  // namespace

TEST(ConfigFileModel, ValuesAndNamesIgnoreLetterCase) {
  ConfigFile model;
  EXPECT_EQ(model.findValues(u"key"), nullptr);
  EXPECT_TRUE(model.addValue(u"key", u"x"));
  EXPECT_FALSE(model.addValue(u"KEY", u"X"));
  EXPECT_TRUE(model.addValue(u"KEY", u"y"));
  EXPECT_EQ(describe(model), "key:x|y;");

  EXPECT_TRUE(model.setValue(u"Key", u"v"));
  EXPECT_EQ(describe(model), "key:v;");
  EXPECT_FALSE(model.setValue(u"key", u"V"));
  EXPECT_TRUE(model.setValue(u"other", u"o"));
  EXPECT_EQ(describe(model), "key:v;other:o;");

  EXPECT_FALSE(model.removeValue(u"key", u"absent"));
  EXPECT_FALSE(model.removeValue(u"absent", u"v"));
  EXPECT_TRUE(model.removeValue(u"KEY", u"V"));
  EXPECT_EQ(model.findValues(u"key"), nullptr);
  EXPECT_EQ(describe(model), "other:o;");
}

TEST(ConfigFileModel, SetValuesKeepsPlaceOrMovesAnEmptiedSettingToTheEnd) {
  ConfigFile model;
  model.addValue(u"a", u"1");
  model.addValue(u"b", u"2");
  model.addValue(u"c", u"3");
  model.setValues(u"B", {u"x", u"x", u"y"});  // stored as given, duplicates kept
  EXPECT_EQ(describe(model), "a:1;b:x|x|y;c:3;");

  model.setValues(u"a", {});
  ASSERT_NE(model.findValues(u"a"), nullptr);
  EXPECT_TRUE(model.findValues(u"a")->empty());
  EXPECT_EQ(describe(model), "b:x|x|y;c:3;a:;");

  model.setValues(u"new", {});
  EXPECT_TRUE(model.addValue(u"A", u"late"));
  EXPECT_EQ(describe(model), "b:x|x|y;c:3;a:late;new:;");

  ScratchDirectory scratch(kOddScratchName);
  EXPECT_EQ(write_model(scratch, model), "b=x\nb=x\nb=y\nc=3\na=late\n");
}

TEST(ConfigFileFormat, SixLineExampleIsReadAndWrittenBackExactly) {
  ScratchDirectory scratch(kOddScratchName);
  const ConfigFile model = read_text(scratch, "B=2\nA=1\n\na=3\r\nA=1\n#x\n");
  EXPECT_EQ(describe(model), "B:2;A:1|3\r;#x:;");
  EXPECT_EQ(write_model(scratch, model), "B=2\nA=1\nA=3\r\n#x=\n");
}

TEST(ConfigFileFormat, LinesSplitAtTheFirstEqualsSignAndNothingIsTrimmed) {
  ScratchDirectory scratch(kOddScratchName);
  const ConfigFile model =
      read_text(scratch, "key=a=b\n=v\n=\n  k \t= v \n\r\n#comment = 1\nlast=no line feed");
  EXPECT_EQ(describe(model), "key:a=b;:v;  k \t: v ;\r:;#comment : 1;last:no line feed;");
  EXPECT_EQ(write_model(scratch, model),
            "key=a=b\n=v\n  k \t= v \n\r=\n#comment = 1\nlast=no line feed\n");
}

TEST(ConfigFileFormat, EmptyAndMissingFilesAddNothing) {
  ScratchDirectory scratch(kOddScratchName);
  EXPECT_EQ(describe(read_text(scratch, "")), "");
  EXPECT_EQ(describe(read_text(scratch, "\n\n=\n")), "");

  ConfigFile model;
  model.addValue(u"kept", u"1");
  read_config_file(widen_lib(scratch / "missing.cfg"), model);
  EXPECT_EQ(describe(model), "kept:1;");
  // Reading adds to what the model holds.
  write_file(scratch / "more.cfg", "KEPT=1\nkept=2\n");
  read_config_file(widen_lib(scratch / "more.cfg"), model);
  EXPECT_EQ(describe(model), "kept:1|2;");

  EXPECT_EQ(write_model(scratch, ConfigFile()), "");
}

TEST(ConfigFileFormat, CharactersSplitByTheChunkBoundaryAreReadIntact) {
  ScratchDirectory scratch(kOddScratchName);
  // "Ж" (two bytes) takes bytes 1023 and 1024; a four-byte character and a
  // three-byte one straddle the next two boundaries.
  const std::string first = "P=" + std::string(1021, 'a') + "Ж" + "x\n";
  const std::string second = "Q=" + std::string(2048 - first.size() - 2 - 2, 'b') + "😀" +
                             std::string(1021, 'c') + "€" + "\n";
  ASSERT_EQ((first + second).find("€"), 3071u);
  const ConfigFile model = read_text(scratch, first + second);
  ASSERT_NE(model.findValues(u"P"), nullptr);
  EXPECT_EQ(model.findValues(u"P")->at(0), WideString(1021, u'a') + u"Жx");
  ASSERT_NE(model.findValues(u"q"), nullptr);
  EXPECT_EQ(model.findValues(u"q")->at(0),
            WideString(2048 - first.size() - 4, u'b') + u"😀" + WideString(1021, u'c') + u"€");
  EXPECT_EQ(write_model(scratch, model), first + second);
}

TEST(ConfigFileFormat, UndecodableBytesSurviveReadAndWrite) {
  ScratchDirectory scratch(kOddScratchName);
  // The third line ends its chunk with the start of a character that never
  // completes.
  const std::string bytes = std::string("K\xff=\xc3(\x80 \xe2\x82\n") + "V=ok\xd0\n" +
                            std::string(1005, 'z') + "=\xe2\x82\n" + "W=\xed\xa0\x80\xf8\n";
  ASSERT_EQ(bytes.find("\xe2\x82\nW"), 1022u);
  const ConfigFile model = read_text(scratch, bytes);
  EXPECT_EQ(write_model(scratch, model), bytes);
  ASSERT_NE(model.findValues(u"V"), nullptr);
  EXPECT_EQ(model.findValues(u"V")->at(0), WideString(u"ok") + char16_t(0xDCD0));
}

TEST(ConfigFileFormat, ZeroByteEndsTheTextOfItsChunk) {
  ScratchDirectory scratch(kOddScratchName);
  // The zero byte inside the first chunk hides the rest of that chunk; the
  // pending line goes on in the next chunk.
  std::string bytes = "A=1\nX=5";
  bytes += '\0';
  bytes += "hidden=1\n";
  bytes.resize(1024, 'h');
  bytes += "\nB=2\n";
  EXPECT_EQ(describe(read_text(scratch, bytes)), "A:1;X:5;B:2;");

  // A chunk that starts with a zero byte ends the file; the pending line is kept.
  std::string ended = "A=1\n" + std::string(1024 - 4 - 4, 'z') + "=9\nZ";
  ASSERT_EQ(ended.size(), 1024u);
  ended += '\0';
  ended += "C=3\n";
  EXPECT_EQ(describe(read_text(scratch, ended)), "A:1;" + std::string(1016, 'z') + ":9;Z:;");
}

TEST(ConfigFileFormat, AnsiEncodingIsTheAbsenceOfTheUtf16Mark) {
  ScratchDirectory scratch(kOddScratchName);
  const std::string path = scratch / "probe.cfg";
  EXPECT_FALSE(is_ansi_encoded(widen_lib(path)));
  for (const char* bytes : {"", "A", "\xff\xfe\x41"}) {
    write_file(path, bytes);
    EXPECT_FALSE(is_ansi_encoded(widen_lib(path))) << bytes;
  }
  for (const char* bytes : {"A=", "\xfe\xff"}) {
    write_file(path, bytes);
    EXPECT_TRUE(is_ansi_encoded(widen_lib(path))) << bytes;
  }
}
