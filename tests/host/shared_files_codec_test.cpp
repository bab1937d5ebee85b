// "SharedFiles" and the quoted runs it is made of: round trips, the writer's exact text,
// the reader's markers and its stops.
#include <gtest/gtest.h>

#include <string>

#include "install/quoted_run_codec.h"
#include "install/shared_files_codec.h"

namespace install {
namespace {

SharedFile shared(const char* target, char marker) {
  SharedFile file;
  file.target = target;
  file.marker = marker;
  return file;
}

TEST(QuotedRun, CutsWhatItWrote) {
  const char* runs[] = {"", "plain", "two \"quoted\" words", "\"", "\"\"", "a;b~c", "line\r\nend", "\xA9\xE9 caf\xE9 "};
  for (const char* run : runs) {
    SCOPED_TRACE(run);
    core::String text;
    append_quoted_run(text, run);
    text.append(";rest");
    EXPECT_STREQ(cut_quoted_run(text).text(), run);
    EXPECT_STREQ(text.text(), ";rest");
  }
}

TEST(QuotedRun, CutsOddTexts) {
  struct Case {
    const char* text;
    const char* run;
    const char* rest;
  };
  const Case cases[] = {
      {"no quote", "", "no quote"},     // not a run: nothing cut
      {"\"unclosed", "unclosed", ""},   // the rest of the text
      {"\"a\"\"", "a\"", ""},           // a doubled quote at the end
      {"\"\"", "", ""},                 // an empty run
      {"\"a\" \"b\"", "a", " \"b\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    core::String text(c.text);
    EXPECT_STREQ(cut_quoted_run(text).text(), c.run);
    EXPECT_STREQ(text.text(), c.rest);
  }
}

TEST(SharedFilesCodec, WritesQuotedEntriesWithMarkers) {
  core::Vector<SharedFile> files;
  EXPECT_STREQ(write_shared_files(files).text(), "");
  files.append(shared("C:\\Windows\\System32\\a.dll", shared_marker::None));
  files.append(shared("C:\\Windows\\System32\\b.ocx", shared_marker::ComServer));
  files.append(shared("C:\\Windows\\System32\\c.tlb", shared_marker::TypeLibrary));
  files.append(shared("C:\\Common\\d.dll", shared_marker::Permanent));
  EXPECT_STREQ(write_shared_files(files).text(),
               "\"C:\\Windows\\System32\\a.dll\";\"C:\\Windows\\System32\\b.ocx^\";"
               "\"C:\\Windows\\System32\\c.tlb\xA9\";\"C:\\Common\\d.dll \"");
}

TEST(SharedFilesCodec, RoundTrips) {
  struct Case {
    const char* target;
    char marker;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Common Files\\x.dll", shared_marker::None},
      {"C:\\Common\\semi;colon.dll", shared_marker::ComServer},
      {"C:\\Common\\quote\"d.dll", shared_marker::TypeLibrary},
      {"C:\\Common\\tilde~!~.dll", shared_marker::Permanent},
      {"C:\\Common\\\xA9 copyright\\lib.dll", shared_marker::None},       // 0xA9 inside a path
      {"C:\\Common\\caf\xE9\\lib\xA9.tlb", shared_marker::TypeLibrary},
      {"C:\\Common\\lib\xA9", shared_marker::ComServer},                    // 0xA9 right before a marker
      {"C:\\Common\\lib^", shared_marker::TypeLibrary},
      {"C:\\Common\\line\r\nbreak.dll", shared_marker::Permanent},
      {"C:\\Common\\dup.dll", shared_marker::None},
      {"C:\\Common\\dup.dll", shared_marker::None},                          // listed twice, read twice
  };
  core::Vector<SharedFile> files;
  for (const Case& c : cases) files.append(shared(c.target, c.marker));
  core::Vector<SharedFile> read = read_shared_files(write_shared_files(files));
  ASSERT_EQ(read.count(), files.count());
  for (int32_t i = 0; i < read.count(); ++i) {
    SCOPED_TRACE(cases[i].target);
    EXPECT_STREQ(read[i].target.text(), cases[i].target);
    EXPECT_EQ(read[i].marker, cases[i].marker);
  }
}

TEST(SharedFilesCodec, ReaderStops) {
  struct Case {
    const char* label;
    const char* text;
    std::string targets;  // read targets, each followed by '|'
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"not quoted", "C:\\a.dll;\"C:\\b.dll\"", ""},
      {"empty entry ends the list", "\"C:\\a.dll\";\"\";\"C:\\b.dll\"", "C:\\a.dll|"},
      {"a marker alone ends the list", "\"^\";\"C:\\b.dll\"", ""},
      {"no ';' between entries", "\"C:\\a.dll\"\"C:\\b.dll\"", "C:\\a.dll\"C:\\b.dll|"},
      {"garbage after an entry", "\"C:\\a.dll\";x", "C:\\a.dll|"},
      {"unclosed last entry", "\"C:\\a.dll\";\"C:\\b.dll", "C:\\a.dll|C:\\b.dll|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string targets;
    for (const SharedFile& file : read_shared_files(c.text)) targets += std::string(file.target.text()) + "|";
    EXPECT_EQ(targets, c.targets);
  }
}

TEST(SharedFilesCodec, ReaderTakesOneMarker) {
  // The writer puts one marker after the path, so only one comes off: a path that itself
  // ends in a marker character keeps it.
  struct Case {
    const char* text;
    const char* target;
    char marker;
  };
  const Case cases[] = {
      {"\"C:\\a.ocx^\"", "C:\\a.ocx", shared_marker::ComServer},
      {"\"C:\\a.dll \"", "C:\\a.dll", shared_marker::Permanent},
      {"\"C:\\a.tlb\xA9\"", "C:\\a.tlb", shared_marker::TypeLibrary},
      {"\"C:\\a\xA9^\"", "C:\\a\xA9", shared_marker::ComServer},
      {"\"C:\\a\xA9 \"", "C:\\a\xA9", shared_marker::Permanent},
      {"\"C:\\a^\xA9\"", "C:\\a^", shared_marker::TypeLibrary},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    core::Vector<SharedFile> read = read_shared_files(c.text);
    ASSERT_EQ(read.count(), 1);
    EXPECT_STREQ(read[0].target.text(), c.target);
    EXPECT_EQ(read[0].marker, c.marker);
  }
}

}  // namespace
}  // namespace install
