// The installation settings of the header block: fields, flag bits, reader with checks and defaults, writer.
#include "archive/settings.h"

#include "archive/field_io.h"
#include "core/paths.h"

namespace archive {

namespace {

// A count, then that many zero-terminated texts.
template <class Io>
bool transfer_texts(Io& io, core::Array<core::String>& texts, int32_t max_count, CorruptCode code) {
  int32_t count = texts.count();
  io.i32(count);
  if (io.stop_unless(count >= 0 && count <= max_count, code)) return true;
  if (io.make_room(texts, count, 1)) return true;
  for (int32_t i = 0; i < count; ++i) io.text(texts[i]);
  return false;
}

// A count, then that many records of at least `min_bytes` each.
template <class Io, class T>
bool transfer_records(Io& io, core::Array<T>& records, int32_t max_count, int32_t min_bytes, CorruptCode code) {
  int32_t count = records.count();
  io.i32(count);
  if (io.stop_unless(count >= 0 && count <= max_count, code)) return true;
  if (io.make_room(records, count, min_bytes)) return true;
  for (int32_t i = 0; i < count; ++i) transfer(io, records[i]);
  return false;
}

// Rules until the end text. A rule read while more than 1000 are held is refused.
template <class Io>
bool transfer_deletion_rules(Io& io, core::Array<FileDeletion>& rules) {
  if constexpr (Io::kReading) {
    // The vector reallocates on every change of size, so it grows in steps and is cut to
    // the rules read at the end.
    rules.clear();
    int32_t held = 0;
    bool stopped = false;
    for (;;) {
      core::String specification;
      io.text(specification);
      if ((stopped = io.stop_unless(true, CorruptCode::None))) break;
      if (specification == kDeletionListEnd) break;
      if ((stopped = io.stop_unless(held <= settings_limit::MaxDeletionRulesHeld, CorruptCode::TooManyDeletionRules)))
        break;
      if (held == rules.count()) rules.set_count(held * 2 + 8);
      FileDeletion& rule = rules[held++];
      rule.specification = static_cast<core::String&&>(specification);
      transfer_condition(io, rule);
    }
    rules.set_count(held);
    return stopped;
  } else {
    for (int32_t i = 0; i < rules.count(); ++i) {
      FileDeletion& rule = rules[i];
      // A rule named like the end text would end the list early.
      if (rule.specification == kDeletionListEnd) io.unfit();
      io.stop_unless(i <= settings_limit::MaxDeletionRulesHeld, CorruptCode::TooManyDeletionRules);
      io.text(rule.specification);
      transfer_condition(io, rule);
    }
    core::String end(kDeletionListEnd);
    io.text(end);
    return false;
  }
}

// Entries 2 to 44. Flag-dependent fields follow the flags already in `s`.
template <class Io>
CorruptCode transfer_body(Io& io, Settings& s, int64_t file_size) {
  io.u16(s.min_status_time);
  if (io.stop_unless(s.min_status_time <= settings_limit::MaxMinStatusTime, CorruptCode::BadMinStatusTime))
    return io.result();
  io.u8(s.shortcut_mode);
  io.file_time(s.uninstaller_stamp);
  io.text(s.publisher);
  io.text(s.stored_product_name);
  io.text(s.shared_path);
  io.text(s.start_menu_folder);
  io.text(s.default_install_dir);
  io.text(s.product_version);
  io.text(s.product_registry);
  io.i32(s.bitmap_size);
  if (io.stop_unless(s.bitmap_size >= 0 && s.bitmap_size <= settings_limit::MaxBitmapSize,
                     CorruptCode::BadBitmapSize))
    return io.result();
  io.i32(s.stretch_mode);
  if (transfer_texts(io, s.licence_texts, settings_limit::MaxLicenceCount, CorruptCode::BadLicenceCount))
    return io.result();
  if (transfer_texts(io, s.readme_texts, settings_limit::MaxReadmeCount, CorruptCode::BadReadmeCount))
    return io.result();
  io.text(s.uninstall_subdir);
  io.text(s.volume_base_name);
  if (io.stop_unless(!s.volume_base_name.is_blank(), CorruptCode::BlankVolumeBaseName)) return io.result();
  io.text(s.uninstaller_name);
  io.text(s.uninstall_key);
  io.i32(s.title_color);
  io.u8(s.title_shadow);
  io.u8(s.title_position);
  io.text(s.title_font);
  io.i32(s.top_color);
  io.i32(s.bottom_color);
  int32_t bitmap_length = s.bitmap.length();
  io.i32(bitmap_length);
  io.byte_block(s.bitmap, bitmap_length);
  if (s.flags & flag::AddOn) {
    io.text(s.master_product);
  } else if constexpr (Io::kReading) {
    s.master_product.clear();
  }
  io.text(s.desktop_folder);
  io.text32(s.desktop_folder_icon);
  io.text(s.pre_install_batch);
  io.text(s.post_install_batch);
  io.text(s.exit_batch);
  io.text(s.uninstall_batch_1);
  io.text(s.uninstall_batch_2);
  io.calendar_date(s.reserved);
  io.i32(s.excluded_systems);
  io.u8(s.data_placement);
  io.i32(s.first_volume_id);
  UninstallerPatch& patch = s.uninstaller_patch;
  if (s.flags & flag::UninstallSupport) {
    io.i32(patch.offset);
    if (io.stop_unless(patch.offset >= 0 && patch.offset <= file_size, CorruptCode::BadUninstallerPatch))
      return io.result();
    if (patch.offset > 0) {
      int32_t length = patch.bytes.length();
      io.i32(length);
      io.byte_block(patch.bytes, length);
    } else if constexpr (Io::kReading) {
      patch.bytes.clear();
    }
  } else if constexpr (Io::kReading) {
    patch = UninstallerPatch();
  }
  if (transfer_deletion_rules(io, s.deletion_rules)) return io.result();
  if (transfer_records(io, s.file_associations, settings_limit::MaxAssociationCount, kMinAssociationBytes,
                       CorruptCode::BadAssociationCount))
    return io.result();
  if (transfer_records(io, s.uninstall_values, settings_limit::MaxUninstallValueCount, kMinUninstallDataBytes,
                       CorruptCode::BadUninstallValueCount))
    return io.result();
  CorruptCode tables;
  if constexpr (Io::kReading) {
    tables = load_language_tables(io.stream(), s.languages);
  } else {
    tables = write_language_tables(io.stream(), s.languages);
  }
  if (io.stop_with(tables)) return io.result();
  uint32_t end_marker = kSettingsEndMarker;
  io.u32(end_marker);
  if (io.stop_unless(end_marker == kSettingsEndMarker, CorruptCode::BadEndMarker)) return io.result();
  return io.finish();
}

// Replaces every `placeholder` (ignoring case) in text with `value`.
void replace_placeholder(core::String& text, const char* placeholder, const core::String& value) {
  text.replace(placeholder, value.text(), core::search::IgnoreCase, 0, core::kAll);
}

}  // namespace

CorruptCode read_settings_flags(MemoryStream& stream, Settings& settings) {
  FieldReader io(stream, CorruptCode::BadEndMarker);
  io.u32(settings.flags);
  io.u32(settings.flags2);
  return io.finish();
}

CorruptCode read_stored_settings(MemoryStream& stream, int64_t file_size, Settings& settings) {
  FieldReader io(stream, CorruptCode::BadEndMarker);
  return transfer_body(io, settings, file_size);
}

CorruptCode read_all_stored_settings(MemoryStream& stream, int64_t file_size, Settings& settings) {
  const CorruptCode code = read_settings_flags(stream, settings);
  if (code != CorruptCode::None) return code;
  return read_stored_settings(stream, file_size, settings);
}

void apply_settings_defaults(Settings& s, const core::String& product_name_override, Environment& environment) {
  s.product_name = product_name_override.is_empty() ? s.stored_product_name : product_name_override;
  const core::String& product = s.product_name;

  if (s.shared_path.is_blank()) s.shared_path = s.publisher.is_blank() ? product : s.publisher;
  if (s.flags & flag::UninstallSupport) {
    core::resolve_path(s.shared_path, environment.common_files_directory().text());
    environment.create_directories(s.shared_path);
  } else {
    s.shared_path.clear();
  }

  if (s.start_menu_folder.is_empty()) {
    s.start_menu_folder = s.publisher;
    if (!s.publisher.is_empty()) s.start_menu_folder.append('\\');
    s.start_menu_folder.append(product);
  }

  if (s.default_install_dir.is_empty()) {
    s.default_install_dir = product;
  } else {
    replace_placeholder(s.default_install_dir, kWindowsPlaceholder, environment.windows_directory());
    environment.expand_directory_variables(s.default_install_dir);
  }
  // "<master>" stands for the master product's directory, found later by the driver.
  if (s.default_install_dir.equals("<master>", false) != 0)
    core::resolve_path(s.default_install_dir, environment.program_files_directory().text());

  if (s.uninstall_key.is_blank()) s.uninstall_key = product;
  if ((s.flags & flag::AddOn) && s.master_product.is_blank()) s.master_product = product;
}

CorruptCode read_settings(MemoryStream& stream, int64_t file_size, const core::String& product_name_override,
                          Environment& environment, Settings& settings) {
  const CorruptCode code = read_stored_settings(stream, file_size, settings);
  if (code == CorruptCode::None) apply_settings_defaults(settings, product_name_override, environment);
  return code;
}

CorruptCode write_settings(MemoryStream& stream, const Settings& settings) {
  // The writer only reads the fields; transfer takes them by reference for both sides.
  Settings& fields = const_cast<Settings&>(settings);
  FieldWriter io(stream, CorruptCode::BadEndMarker);
  io.u32(fields.flags);
  io.u32(fields.flags2);
  // The uninstaller patch offset is checked against the executable, which is not known here.
  return transfer_body(io, fields, INT64_MAX);
}

}  // namespace archive
