// Loading the archive data: placements, volume files and their prompt loop, checks, expansion.
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_data.h"
#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/block_encoder.h"
#include "archive/checksum.h"
#include "archive/format.h"
#include "archive/lzma_data.h"
#include "support/installer_builder.h"

namespace {

using archive::CorruptCode;
using archive::LoadStatus;
using test_support::Bytes;

// Memory whose reads fail from offset `fail_from` on.
class FailingSource : public archive::ByteSource {
 public:
  FailingSource(const Bytes& bytes, int64_t fail_from) : bytes_(bytes), fail_from_(fail_from) {}
  int64_t size() override { return static_cast<int64_t>(bytes_.size()); }
  bool read_at(int64_t offset, void* buf, int n) override {
    archive::MemoryByteSource inner(bytes_.data(), size());
    return offset + n <= fail_from_ && inner.read_at(offset, buf, n);
  }

 private:
  Bytes bytes_;
  int64_t fail_from_;
};

// The disk the user feeds volumes from; every call is logged.
struct Machine : archive::VolumeOpener, archive::VolumePrompt, archive::LoadProgress {
  std::map<std::string, Bytes> files;
  std::map<std::string, int64_t> fail_from;  // reads of that file fail from here on
  std::vector<std::string> log;
  std::function<void(Machine&)> on_ask;       // the user acts before answering
  std::vector<bool> ok_answers, cancel_answers;
  std::vector<int> percents;
  std::vector<archive::LoadStage> stages;

  archive::ByteSource* open_volume(const char* path) override {
    log.push_back(std::string("open ") + path);
    auto it = files.find(path);
    if (it == files.end()) return nullptr;
    auto limit = fail_from.find(path);
    return new FailingSource(it->second, limit == fail_from.end() ? INT64_MAX : limit->second);
  }
  void close_volume(archive::ByteSource* volume) override { delete volume; }
  bool ask_for_volume(int number, char drive, bool after_wrong) override {
    log.push_back("ask " + std::to_string(number) + " " + (drive ? std::string(1, drive) : "-") +
                  (after_wrong ? " wrong" : ""));
    if (on_ask) on_ask(*this);
    return take(ok_answers, true);
  }
  bool confirm_cancel() override {
    log.push_back("cancel?");
    return take(cancel_answers, true);
  }
  void set_progress(int percent) override { percents.push_back(percent); }
  void stage(archive::LoadStage s) override { stages.push_back(s); }

  static bool take(std::vector<bool>& answers, bool otherwise) {
    if (answers.empty()) return otherwise;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

const char kDirectory[] = "D:\\setup";
const char kBase[] = "data";
std::string volume_path(int number) { return std::string(kDirectory) + "\\" + kBase + std::to_string(number) + ".QVA"; }

// An installer ready to load: its bytes, section and header.
struct Loaded {
  Bytes installer;
  archive::ArchiveSection section;
  archive::ArchiveHeader header;
  std::vector<Bytes> volumes;
};

void open_installer(Loaded& l) {
  archive::MemoryByteSource file(l.installer.data(), static_cast<int64_t>(l.installer.size()));
  ASSERT_EQ(archive::find_archive_section(file, l.section), CorruptCode::None);
  archive::SliceByteSource bytes = archive::archive_section_bytes(file, l.section);
  ASSERT_EQ(archive::read_archive_header(bytes, l.header), CorruptCode::None);
}

Loaded make(const Bytes& data, int64_t volume_size = 0) {
  test_support::ArchiveRecipe recipe;
  recipe.data = data;
  recipe.volume_size = volume_size;
  const test_support::BuiltInstaller built = test_support::build_installer(test_support::make_program(), recipe);
  EXPECT_EQ(built.error, archive::WriteError::None);
  Loaded l;
  l.installer = built.installer;
  l.volumes = built.volumes;
  open_installer(l);
  return l;
}

void put_volumes(Machine& m, const Loaded& l) {
  for (size_t i = 0; i < l.volumes.size(); ++i) m.files[volume_path(static_cast<int>(i) + 2)] = l.volumes[i];
}

struct Result {
  archive::LoadResult result;
  Bytes data;
  const uint8_t* bytes = nullptr;
  int volumes_read = 0;
};

Result load(Loaded& l, Machine& m, bool in_file, bool compressed = false) {
  archive::MemoryByteSource file(l.installer.data(), static_cast<int64_t>(l.installer.size()));
  archive::MemoryByteSource image(l.installer.data() + l.section.raw_offset, l.section.virtual_size);
  archive::DataSources sources;
  sources.image_section = &image;
  sources.file = &file;
  sources.data_in_file = in_file;
  sources.compressed = compressed;
  sources.volume_base_name = kBase;
  sources.installer_directory = kDirectory;
  sources.first_volume_id = test_support::ArchiveRecipe().first_volume_id;
  archive::ArchiveData data;
  Result r;
  r.result = archive::load_archive_data(l.header, l.section, sources, m, m, m, data);
  r.data.assign(data.bytes, data.bytes + data.length);
  r.bytes = data.bytes;
  r.volumes_read = data.volumes_read;
  return r;
}

TEST(LoadArchiveData, BothPlacementsWithAndWithoutVolumes) {
  const Bytes data = test_support::noise(30000);
  struct Case {
    const char* label;
    bool in_file;
    int64_t volume_size;
    bool sign;
  };
  const Case cases[] = {
      {"image", false, 0, false},          {"file", true, 0, false},
      {"image, volumes", false, 0x2800, false}, {"file, volumes", true, 0x2800, false},
      {"file, signed", true, 0, true},     {"file, volumes, signed", true, 0x2800, true},
      {"image, volumes, signed", false, 0x2800, true},
  };
  for (const Case& c : cases) {
    Loaded l = make(data, c.volume_size);
    if (c.sign) {
      test_support::add_certificate(l.installer);
      open_installer(l);
    }
    Machine m;
    put_volumes(m, l);
    const Result r = load(l, m, c.in_file);
    ASSERT_EQ(r.result.status, LoadStatus::Loaded) << c.label;
    EXPECT_EQ(r.data, data) << c.label;
    EXPECT_EQ(r.volumes_read, static_cast<int>(l.volumes.size())) << c.label;
    EXPECT_EQ(m.percents.size(), l.volumes.size()) << c.label;
    EXPECT_TRUE(std::find(m.log.begin(), m.log.end(), "cancel?") == m.log.end()) << c.label;
    const std::vector<archive::LoadStage> stages = {archive::LoadStage::Checking, archive::LoadStage::Checked};
    EXPECT_EQ(m.stages, stages) << c.label;
    if (c.volume_size == 0) {
      EXPECT_TRUE(m.log.empty()) << c.label << ": no volume opened";
    } else {
      EXPECT_EQ(m.log.front(), "open " + volume_path(2)) << c.label;
      EXPECT_LE(static_cast<int64_t>(l.installer.size()), c.volume_size + (c.sign ? 0x400 : 0)) << c.label;
    }
  }
  // Whole and uncompressed in the image: used in place.
  Loaded l = make(data);
  Machine m;
  const Result r = load(l, m, false);
  EXPECT_EQ(r.bytes, l.installer.data() + l.section.raw_offset + l.header.data_offset);
}

TEST(LoadArchiveData, ProgressBeforeEachVolume) {
  // M = 3000 with 1000 bytes in the image: 15 % before volume 2, then 25 % before volume 3.
  const Bytes data = test_support::noise(3000);
  Loaded l = make(data);
  l.header.image_data_end = static_cast<int32_t>(l.header.data_offset + 1000);
  Machine m;
  const uint32_t id = test_support::ArchiveRecipe().first_volume_id;
  core::String v2, v3;
  archive::write_volume(id, data.data() + 1000, 1000, v2);
  archive::write_volume(id + 1, data.data() + 2000, 1000, v3);
  m.files[volume_path(2)] = test_support::bytes_of(v2);
  m.files[volume_path(3)] = test_support::bytes_of(v3);
  const Result r = load(l, m, false);
  ASSERT_EQ(r.result.status, LoadStatus::Loaded);
  EXPECT_EQ(r.data, data);
  EXPECT_EQ(m.percents, (std::vector<int>{15, 25}));
}

TEST(LoadArchiveData, AsksUntilTheRightVolumeOrACancel) {
  const Bytes data = test_support::noise(30000);
  Loaded l = make(data, 0x4000);
  ASSERT_EQ(l.volumes.size(), 2u);
  const std::string v2 = volume_path(2), v3 = volume_path(3);
  Bytes wrong_id = l.volumes[0];
  wrong_id[0] ^= 1;
  const Bytes four_bytes(l.volumes[0].begin(), l.volumes[0].begin() + 4);
  Bytes longer = l.volumes[1];
  longer.insert(longer.end(), 500, 0xEE);  // more than is missing: the rest is not data
  struct Case {
    const char* label;
    std::function<void(Machine&)> setup;
    LoadStatus status;
    std::vector<std::string> log;
  };
  auto insert_later = [&](Machine& m, const std::string& path, const Bytes& bytes) {
    m.on_ask = [=](Machine& mm) { mm.files[path] = bytes; mm.on_ask = nullptr; };
  };
  const Case cases[] = {
      {"present", [&](Machine& m) { m.files[v2] = l.volumes[0]; m.files[v3] = l.volumes[1]; }, LoadStatus::Loaded,
       {"open " + v2, "open " + v3}},
      {"inserted when asked",
       [&](Machine& m) { m.files[v3] = l.volumes[1]; insert_later(m, v2, l.volumes[0]); }, LoadStatus::Loaded,
       {"open " + v2, "ask 2 D", "open " + v2, "open " + v3}},
      {"wrong identifier, then right",
       [&](Machine& m) { m.files[v2] = wrong_id; m.files[v3] = l.volumes[1]; insert_later(m, v2, l.volumes[0]); },
       LoadStatus::Loaded, {"open " + v2, "ask 2 D wrong", "open " + v2, "open " + v3}},
      {"four bytes is a wrong volume",
       [&](Machine& m) { m.files[v2] = four_bytes; m.files[v3] = l.volumes[1]; insert_later(m, v2, l.volumes[0]); },
       LoadStatus::Loaded, {"open " + v2, "ask 2 D wrong", "open " + v2, "open " + v3}},
      {"a volume with more than is missing", [&](Machine& m) { m.files[v2] = l.volumes[0]; m.files[v3] = longer; },
       LoadStatus::Loaded, {"open " + v2, "open " + v3}},
      {"cancel confirmed",
       [&](Machine& m) { m.files[v2] = l.volumes[0]; m.ok_answers = {false}; m.cancel_answers = {true}; },
       LoadStatus::Cancelled, {"open " + v2, "open " + v3, "ask 3 D", "cancel?"}},
      {"cancel withdrawn, then still missing, then inserted",
       [&](Machine& m) {
         m.files[v2] = l.volumes[0];
         m.ok_answers = {false, true};
         m.cancel_answers = {false};
         int asked = 0;
         m.on_ask = [&, asked](Machine& mm) mutable {
           if (++asked == 2) mm.files[v3] = l.volumes[1];
         };
       },
       LoadStatus::Loaded,
       {"open " + v2, "open " + v3, "ask 3 D", "cancel?", "open " + v3, "ask 3 D wrong", "open " + v3}},
  };
  for (const Case& c : cases) {
    Machine m;
    c.setup(m);
    const Result r = load(l, m, false);
    EXPECT_EQ(r.result.status, c.status) << c.label;
    EXPECT_EQ(m.log, c.log) << c.label;
    if (c.status == LoadStatus::Loaded) {
      EXPECT_EQ(r.data, data) << c.label;
    }
  }
}

TEST(LoadArchiveData, DamageGivesItsCode) {
  const Bytes plain = test_support::noise(5000);
  Bytes packed(archive::encode_block_bound(5000));
  packed.resize(archive::encode_block(plain.data(), 5000, packed.data(), static_cast<int64_t>(packed.size())));
  struct Case {
    const char* label;
    Bytes data;
    bool in_file;
    bool compressed;
    std::function<void(Loaded&, Machine&)> damage;
    LoadStatus status;
    CorruptCode code;
  };
  const Case cases[] = {
      {"compressed", packed, false, true, [](Loaded&, Machine&) {}, LoadStatus::Loaded, CorruptCode::None},
      {"empty and compressed", {}, true, true, [](Loaded&, Machine&) {}, LoadStatus::Loaded, CorruptCode::None},
      {"data checksum", plain, false, false, [](Loaded& l, Machine&) { l.header.data_sum ^= 1; },
       LoadStatus::Corrupt, CorruptCode::DataChecksum},
      {"not a compressed block", plain, false, true, [](Loaded&, Machine&) {}, LoadStatus::Corrupt,
       CorruptCode::DataDecompress},
      {"image data end before D", plain, false, false,
       [](Loaded& l, Machine&) { l.header.image_data_end = static_cast<int32_t>(l.header.data_offset - 1); },
       LoadStatus::Corrupt, CorruptCode::BadImageDataEnd},
      {"image data end past the section", plain, false, false,
       [](Loaded& l, Machine&) { l.header.image_data_end = static_cast<int32_t>(l.section.virtual_size + 1); },
       LoadStatus::Corrupt, CorruptCode::BadImageDataEnd},
      {"image data end is not used for data in the file", plain, true, false,
       [](Loaded& l, Machine&) { l.header.image_data_end = 0; }, LoadStatus::Loaded, CorruptCode::None},
      {"volume unreadable", plain, false, false,
       [](Loaded& l, Machine& m) {
         l.header.image_data_end = static_cast<int32_t>(l.header.data_offset + 10);
         core::String v;
         archive::write_volume(test_support::ArchiveRecipe().first_volume_id, l.installer.data() +
                                   l.section.raw_offset + l.header.data_offset + 10, 4990, v);
         m.files[volume_path(2)] = test_support::bytes_of(v);
         m.fail_from[volume_path(2)] = 100;
       },
       LoadStatus::Corrupt, CorruptCode::VolumeUnreadable},
  };
  for (const Case& c : cases) {
    Loaded l = make(c.data);
    Machine m;
    c.damage(l, m);
    const Result r = load(l, m, c.in_file, c.compressed);
    EXPECT_EQ(r.result.status, c.status) << c.label;
    EXPECT_EQ(r.result.code, c.code) << c.label;
    if (c.status == LoadStatus::Loaded) {
      EXPECT_EQ(r.data, c.compressed && !c.data.empty() ? plain : c.data) << c.label;
    }
  }
}

// Data coded with LZMA (format 13.3): "abracadabra..." as liblzma codes it, behind its header.
TEST(LoadArchiveData, LzmaCodedDataFromFormat13_3) {
  const uint8_t stream[] = {0x00, 0x30, 0x98, 0x8a, 0xaa, 0x9a, 0x59, 0xf5, 0x11, 0xd8, 0x40, 0xc3, 0x86,
                            0xc9, 0x4f, 0xf0, 0xed, 0x48, 0xdc, 0x5f, 0xff, 0xff, 0xe7, 0x6a, 0x00, 0x00};
  const std::string text = "abracadabra, abracadabra, abracadabra!\n";
  archive::LzmaProperties properties;
  properties.dictionary_size = 1 << 16;
  Bytes stored(archive::kLzmaDataHeaderSize);
  archive::write_lzma_data_header(properties, static_cast<int64_t>(text.size()), stored.data());
  stored.insert(stored.end(), stream, stream + sizeof(stream));
  Bytes damaged = stored;
  damaged[archive::kLzmaDataHeaderSize + 8] ^= 0x40;
  struct Case {
    const char* label;
    const Bytes& data;
    int32_t version;
    CorruptCode code;
  };
  const Case cases[] = {
      {"LZMA in 13.3", stored, archive::header::kLzmaVersion, CorruptCode::None},
      {"LZMA taken for the block codec", stored, archive::header::kBlockCodecVersion, CorruptCode::DataDecompress},
      {"a damaged stream", damaged, archive::header::kLzmaVersion, CorruptCode::DataDecompress},
  };
  for (const Case& c : cases) {
    Loaded l = make(c.data);
    l.header.format_version = c.version;
    Machine m;
    const Result r = load(l, m, false, true);
    EXPECT_EQ(r.result.code, c.code) << c.label;
    if (c.code == CorruptCode::None) {
      EXPECT_EQ(std::string(r.data.begin(), r.data.end()), text) << c.label;
    }
  }
}

TEST(LoadArchiveData, UnreadableInstallerIsTheUncodedReadFailure) {
  Loaded l = make(test_support::noise(3000));
  FailingSource file(l.installer, static_cast<int64_t>(l.installer.size()) - 10);
  archive::MemoryByteSource image(l.installer.data() + l.section.raw_offset, l.section.virtual_size);
  archive::DataSources sources;
  sources.image_section = &image;
  sources.file = &file;
  sources.data_in_file = true;
  l.header.data_length = static_cast<int32_t>(l.installer.size());  // reaches the unreadable end
  Machine m;
  archive::ArchiveData data;
  archive::LoadResult r = archive::load_archive_data(l.header, l.section, sources, m, m, m, data);
  EXPECT_EQ(r.status, LoadStatus::ReadFailed);
  EXPECT_STREQ(archive::kDataReadFailedMessage, "Error code 2: failed to read archive data");
}

TEST(VolumeFileName, IsBaseNumberAndExtension) {
  EXPECT_STREQ(archive::volume_file_name("Setup", 2).text(), "Setup2.QVA");
  EXPECT_STREQ(archive::volume_file_name("disk ", 12).text(), "disk 12.QVA");
}

}  // namespace
