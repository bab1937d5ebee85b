// The uninstall key's values as a table.
#include "install/uninstall_values_rules.h"

#include "install/product_flags_codec.h"

namespace install {

namespace {

class ValueTable {
 public:
  explicit ValueTable(core::Vector<UninstallValue>& values) : values_(values) {}

  void text(const char* name, const core::String& text) { add(name, UninstallValue::Kind::Text).text = text; }
  // A text that is deleted instead of written when it is empty.
  void text_or_delete(const char* name, const core::String& text) {
    if (text.is_empty()) {
      add(name, UninstallValue::Kind::Delete);
    } else {
      this->text(name, text);
    }
  }
  void number(const char* name, uint32_t number) { add(name, UninstallValue::Kind::Number).number = number; }
  void number_or_delete(const char* name, uint32_t number) {
    if (number == 0) {
      add(name, UninstallValue::Kind::Delete);
    } else {
      this->number(name, number);
    }
  }
  void remove(const char* name) { add(name, UninstallValue::Kind::Delete); }

 private:
  UninstallValue& add(const char* name, UninstallValue::Kind kind) {
    UninstallValue& value = values_.append();
    value.name = name;
    value.kind = kind;
    return value;
  }

  core::Vector<UninstallValue>& values_;
};

void add_extra_value(core::Vector<UninstallValue>& values, const archive::UninstallData& extra,
                     archive::Environment& environment) {
  UninstallValue& value = values.append();
  value.name = extra.name;
  value.text = extra.data;
  environment.expand_directory_variables(value.text);
  if (value.text.is_empty()) {
    value.kind = UninstallValue::Kind::Delete;
  } else if (extra.type == archive::uninstall_value_type::ExpandableText) {
    value.kind = UninstallValue::Kind::ExpandableText;
  } else if (extra.type == archive::uninstall_value_type::Number) {
    value.kind = UninstallValue::Kind::Number;
    value.number = static_cast<uint32_t>(core::to_int(value.text));
    value.text.clear();
  }
}

}  // namespace

core::String uninstall_arguments(const core::String& key_name) {
  core::String arguments("/u:\"");
  arguments.append(key_name);
  arguments.append('"');
  return arguments;
}

core::String uninstall_command(const core::String& uninstaller_path, const core::String& key_name, bool quiet) {
  core::String command = uninstaller_path;
  command.quote();
  command.append(quiet ? " /a " : " ");
  command.append(uninstall_arguments(key_name));
  return command;
}

ProductVersionNumbers product_version_numbers(const core::String& version) {
  ProductVersionNumbers numbers;
  int32_t dot = version.find_char('.');
  if (dot < 0) return numbers;
  numbers.present = true;
  numbers.major = static_cast<uint32_t>(core::to_int(version));
  const char* after_dot = version.text() + dot + 1;
  numbers.minor = static_cast<uint32_t>(core::parse_int_flags(after_dot, 0));
  return numbers;
}

core::Vector<UninstallValue> uninstall_values(const archive::Settings& settings, const UninstallRunFacts& facts,
                                              archive::Environment& environment) {
  core::Vector<UninstallValue> values;
  ValueTable table(values);
  table.text("UninstallString", uninstall_command(facts.uninstaller_path, settings.uninstall_key, false));
  table.text("QuietUninstallString", uninstall_command(facts.uninstaller_path, settings.uninstall_key, true));
  table.text("DisplayName", settings.product_name);
  table.text("InstallSource", facts.install_source);
  table.text_or_delete("DisplayVersion", settings.product_version);
  table.text_or_delete("Publisher", settings.publisher);
  ProductVersionNumbers version = product_version_numbers(settings.product_version);
  if (version.present) {
    table.number("VersionMajor", version.major);
    table.number("VersionMinor", version.minor);
  }
  table.text_or_delete("ProductRegistry", settings.product_registry);
  table.text_or_delete("ProductStartMenu", settings.start_menu_folder);
  table.text_or_delete("SharedPath", facts.shared_directory);
  table.text_or_delete("ProductFonts", facts.font_list);
  table.text("ProductFlags", write_product_flags({settings.flags, settings.flags2}));
  table.text_or_delete("UninstallBatch1", settings.uninstall_batch_1);
  table.text_or_delete("UninstallBatch2", settings.uninstall_batch_2);
  table.text_or_delete("SharedFiles", facts.shared_files);
  table.text_or_delete("UninstallSubdir", settings.uninstall_subdir);
  table.number_or_delete("ShortcutMode", settings.shortcut_mode);
  table.text("DisplayTitle", facts.display_title);
  table.number("TitleColor", static_cast<uint32_t>(settings.title_color));
  table.number("TopColor", static_cast<uint32_t>(settings.top_color));
  bool mono = settings.top_color == settings.bottom_color;
  if (mono) {
    table.remove("BottomColor");
  } else {
    table.number("BottomColor", static_cast<uint32_t>(settings.bottom_color));
  }
  table.number("MonoColor", mono ? 1 : 0);
  table.number("TitleShadow", settings.title_shadow);
  table.number("TitlePosition", settings.title_position);
  table.text("TitleFont", settings.title_font);
  if (settings.flags & archive::flag::InstallBackgroundBitmap) {
    table.number("BitmapSize", static_cast<uint32_t>(settings.bitmap_size));
    table.number("StretchMode", static_cast<uint32_t>(settings.stretch_mode));
  }
  for (const archive::UninstallData& extra : settings.uninstall_values) add_extra_value(values, extra, environment);
  table.text("InstallLocation", facts.install_directory);
  table.text("InstallDate", facts.install_date);
  return values;
}

}  // namespace install
