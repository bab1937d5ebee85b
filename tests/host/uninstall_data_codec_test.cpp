// "Uninstall.DAT": the writer's exact text, round trips through the reader, and the
// reader's guards against texts that the writer never writes.
#include <gtest/gtest.h>

#include <string>

#include "install/uninstall_data_codec.h"

namespace install {
namespace {

UninstallString entry(int32_t id, const char* text) {
  UninstallString s;
  s.id = id;
  s.text = text;
  return s;
}

// The removal items as "F:path|D:path|K:key|".
std::string items_of(const UninstallDataContents& contents) {
  std::string out;
  for (const RemovalItem& item : contents.removal_items) {
    char kind = item.kind == RemovalItem::Kind::File ? 'F' : item.kind == RemovalItem::Kind::Directory ? 'D' : 'K';
    out += std::string(1, kind) + ":" + item.path.text() + "|";
  }
  return out;
}

// The strings as "id=text|".
std::string strings_of(const UninstallDataContents& contents) {
  std::string out;
  for (const UninstallString& s : contents.strings) out += std::to_string(s.id) + "=" + s.text.text() + "|";
  return out;
}

TEST(UninstallDataCodec, WritesTheWholeText) {
  // The removal list as the run's records keep it.
  core::String removal_list = "~C:\\App\\Data\r\nC:\\App\\Data\\a.txt\r\n";
  core::Vector<UninstallString> strings;
  strings.append(entry(10, "Failed:\r\n%s"));
  strings.append(entry(15, "Done"));
  EXPECT_STREQ(write_uninstall_data(removal_list, strings, "").text(),
               "~C:\\App\\Data\r\nC:\\App\\Data\\a.txt\r\n"
               "\r\n\r\n[Strings]\r\n~10\r\nFailed:\r\n%s\r\n~15\r\nDone\r\n");
  EXPECT_STREQ(write_uninstall_data("", strings, ".dmo~!~DemoFile~!~open\r\n").text(),
               "\r\n\r\n[Strings]\r\n~10\r\nFailed:\r\n%s\r\n~15\r\nDone\r\n"
               "\r\n\r\n[Associations]\r\n.dmo~!~DemoFile~!~open\r\n");
}

TEST(UninstallDataCodec, RoundTrips) {
  core::String removal_list;
  const char* directories[] = {"C:\\Program Files\\Demo", "C:\\Program Files\\Demo\\[Strings]",
                               "\\\\server\\share\\Demo ~ tilde"};
  const char* files[] = {"C:\\Program Files\\Demo\\[Associations]", "C:\\Program Files\\Demo\\caf\xE9 \xA9.txt",
                         "C:\\Program Files\\Demo\\semi;colon \"q\".txt", "C:\\Program Files\\Demo\\~x~!~y.txt",
                         "C:\\Program Files\\Demo\\dup.txt", "C:\\Program Files\\Demo\\dup.txt"};
  for (const char* d : directories) removal_list.append_format("~%s\r\n", d);
  for (const char* f : files) removal_list.append_format("%s\r\n", f);
  core::Vector<UninstallString> strings;
  strings.append(entry(10, "Errors:\r\n\r\n%s"));
  strings.append(entry(34, "\"Demo\" was removed; caf\xE9 \xA9"));
  strings.append(entry(53, "Remove?\r\n~ not an entry\r\n[Associations] not a section"));
  strings.append(entry(58, ""));
  strings.append(entry(59, "text with inner\nLF and CR\rends"));
  core::String associations = ".dmo~!~DemoFile~!~open\r\n.caf\xE9~!~Caf\xE9~!~\xD6" "ffnen\r\n";

  UninstallDataContents read = read_uninstall_data(write_uninstall_data(removal_list, strings, associations));
  EXPECT_EQ(items_of(read),
            "D:C:\\Program Files\\Demo|D:C:\\Program Files\\Demo\\[Strings]|D:\\\\server\\share\\Demo ~ tilde|"
            "F:C:\\Program Files\\Demo\\[Associations]|F:C:\\Program Files\\Demo\\caf\xE9 \xA9.txt|"
            "F:C:\\Program Files\\Demo\\semi;colon \"q\".txt|F:C:\\Program Files\\Demo\\~x~!~y.txt|"
            "F:C:\\Program Files\\Demo\\dup.txt|F:C:\\Program Files\\Demo\\dup.txt|");
  // A line of a text that would open an entry or a section is kept behind a blank.
  EXPECT_EQ(strings_of(read),
            "10=Errors:\r\n\r\n%s|34=\"Demo\" was removed; caf\xE9 \xA9|"
            "53=Remove?\r\n ~ not an entry\r\n [Associations] not a section|58=|"
            "59=text with inner\nLF and CR\rends|");
  ASSERT_EQ(read.associations.count(), 2);
  EXPECT_STREQ(read.associations[1].verb.text(), "\xD6" "ffnen");
  EXPECT_STREQ(write_association_records(read.associations).text(), associations.text());
}

TEST(UninstallDataCodec, TrailingWhiteSpaceOfAStringIsNotKept) {
  core::Vector<UninstallString> strings;
  strings.append(entry(15, "Done. \t\r\n\r\n"));
  strings.append(entry(20, "  indented"));
  UninstallDataContents read = read_uninstall_data(write_uninstall_data("", strings, ""));
  EXPECT_EQ(strings_of(read), "15=Done.|20=  indented|");
}

TEST(UninstallDataCodec, ReaderGuards) {
  struct Case {
    const char* label;
    const char* text;
    std::string items;
    std::string strings;
    int32_t associations;
  };
  const Case cases[] = {
      {"empty", "", "", "", 0},
      {"no strings section: all removal list", "C:\\a.txt\r\n~C:\\dir\r\n~5\r\nText\r\n", "F:C:\\a.txt|D:C:\\dir|", "",
       0},
      {"associations only after the strings", "C:\\a.txt\r\n[Associations]\r\n.a~!~A~!~open\r\n", "F:C:\\a.txt|", "", 0},
      {"markers inside a line are text", "C:\\x [Strings] y.txt\r\n", "F:C:\\x [Strings] y.txt|", "", 0},
      {"marker with trailing blanks", "C:\\a.txt\r\n[Strings] \t\r\n~15\r\nDone\r\n", "F:C:\\a.txt|", "15=Done|", 0},
      {"not full paths are skipped",
       "relative\\a.txt\r\n~dir\r\n~C:\r\nC:\\\r\n~C:\\\r\n C:\\lead.txt\r\n?:\\q.txt\r\nC:/slash.txt\r\n\\\\\r\n"
       "\\\\srv\\s\\b.txt\r\nD:\\ok.txt\r\n",
       "F:\\\\srv\\s\\b.txt|F:D:\\ok.txt|", "", 0},
      {"class keys", "!.dmo\r\n!\r\n! \r\n!\\CLSID\r\n!DemoFile\\shell\r\n", "K:.dmo|K:DemoFile\\shell|", "", 0},
      {"numbers outside 1..1000 skip their text",
       "[Strings]\r\n~0\r\nzero\r\n~1001\r\nbig\r\n~-5\r\nneg\r\n~x\r\nnone\r\n~1\r\none\r\n~1000\r\nlast", "",
       "1=one|1000=last|", 0},
      {"a number given twice comes twice", "[Strings]\r\n~34\r\nfirst\r\n~34\r\nsecond\r\n", "", "34=first|34=second|",
       0},
      {"text before the first entry is ignored", "[Strings]\r\nstray\r\n~15\r\nDone", "", "15=Done|", 0},
      {"LF line ends", "C:\\a.txt\n[Strings]\n~15\nDone\n[Associations]\n.a~!~A~!~open\n", "F:C:\\a.txt|", "15=Done|",
       1},
      {"association section ends the last string", "[Strings]\r\n~15\r\nDone\r\n\r\n\r\n[Associations]\r\n.a~!~A~!~open",
       "", "15=Done|", 1},
      {"bad association lines dropped", "[Strings]\r\n[Associations]\r\n.a~!~A~!~open\r\na~!~A~!~open\r\n.b~!~..\\x~!~o\r\n",
       "", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    UninstallDataContents read = read_uninstall_data(c.text);
    EXPECT_EQ(items_of(read), c.items);
    EXPECT_EQ(strings_of(read), c.strings);
    EXPECT_EQ(read.associations.count(), c.associations);
  }
}

TEST(UninstallDataCodec, ManyAssociationsAreAllRead) {
  core::String records;
  for (int32_t i = 0; i < 700; ++i) {
    AssociationRecord r;
    r.extension = core::format_string(".e%d", i);
    r.file_type = "Type";
    r.verb = "open";
    append_association_record(records, r);
  }
  UninstallDataContents read = read_uninstall_data(write_uninstall_data("", core::Vector<UninstallString>(), records));
  EXPECT_EQ(read.associations.count(), 700);
}

}  // namespace
}  // namespace install
