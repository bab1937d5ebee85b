// Applying the file associations of the settings.
#include "install/associations.h"

#include "core/text_format.h"
#include "core/win/optional_functions.h"
#include "core/win/registry.h"
#include "core/win/windows.h"
#include "install/association_record_codec.h"
#include "install/association_rules.h"

namespace install {

namespace {

constexpr LONG kAssociationsChanged = 0x08000000;  // SHCNE_ASSOCCHANGED
constexpr const char* kDefaultValue = "";
constexpr const char* kNotAssociated = "Failed to associate file type:  \"%s\".\r\n\r\n";

// One association's work on the registry, with the backup name of the product.
class AssociationWriter {
 public:
  AssociationWriter(const InstallContext& context, core::String backup_name)
      : context_(context), backup_name_(static_cast<core::String&&>(backup_name)) {}

  // Writes text as the default value of the current key, saving the value it replaces.
  bool replace_default(const core::String& text) {
    core::String old_value = key_.read_text(kDefaultValue);
    if (backup_needed(old_value, text, key_.value_exists(backup_name_.text()))) {
      key_.write_string(backup_name_.text(), old_value);
    }
    return key_.write_string(kDefaultValue, text);
  }

  // The default value of sub-key name of the current key, with the directory variables
  // expanded. A text in which a variable stood for nothing would name the wrong file:
  // it is not written.
  bool replace_sub_default(const char* name, const core::String& text) {
    core::String expanded = text;
    if (!core::expand_directory_variables(expanded, context_.env, context_.dirs)) return false;
    if (key_.open_sub(name) == core::KeyOpenResult::Failed) return false;
    bool written = replace_default(expanded);
    key_.close();
    return written;
  }

  // Decides the record's file type and, when the record sets its own, names it in the
  // extension's key. Returns the type, or an empty text after a paragraph in the error
  // report.
  core::String resolve_type(const archive::FileAssociation& association, const core::String& extension) {
    const bool take_existing = association.file_type.is_empty();
    bool opened = key_.open(HKEY_CLASSES_ROOT, extension.text(),
                            take_existing ? core::registry_option::ExistingOnly : 0) != core::KeyOpenResult::Failed;
    core::String current_type = opened ? key_.read_text(kDefaultValue) : core::String();
    FileTypeChoice choice = choose_file_type(association.file_type, opened, current_type);
    AssociationRecord record{extension, choice.file_type, association.verb};
    const char* message = nullptr;
    if (choice.outcome == FileTypeChoice::Outcome::NoLabel) {
      message = "Association failed/no label:  \"%s\".\r\n\r\n";
    } else if (choice.outcome == FileTypeChoice::Outcome::KeyInaccessible) {
      message = "Association failed/key inaccessible:  \"%s\".\r\n\r\n";
    } else if (!is_recordable(record)) {
      // A part that is blank or holds a '\' would write to keys that the uninstaller could
      // not find again (an empty type is HKEY_CLASSES_ROOT itself).
      message = kNotAssociated;
    }
    if (message != nullptr) {
      if (opened) key_.close();
      context_.records.error_report.append(core::format_text(message, {extension}));
      return core::String();
    }
    own_type_ = choice.own_type;
    if (opened) {
      if (own_type_) replace_default(choice.file_type);
      key_.close();
    }
    return choice.file_type;
  }

  // The file type's key: description, icon, verb and command. True when the command was
  // written.
  bool write_type(const archive::FileAssociation& association, const core::String& file_type) {
    if (key_.open(HKEY_CLASSES_ROOT, file_type.text()) == core::KeyOpenResult::Failed) return false;
    if (own_type_ && !association.description.is_blank()) replace_default(association.description);
    if (!association.icon.is_blank()) replace_sub_default("DefaultIcon", association.icon);
    bool done = false;
    if (key_.open_sub("shell") != core::KeyOpenResult::Failed) {
      if ((association.flags & archive::association_flag::DefaultVerb) != 0) replace_default(association.verb);
      if (key_.open_sub(association.verb.text()) != core::KeyOpenResult::Failed) {
        key_.write_string(kDefaultValue, association.verb_text);
        done = replace_sub_default("command", association.command);
        key_.close();
      }
      key_.close();
    }
    key_.close();
    return done;
  }

 private:
  const InstallContext& context_;
  core::String backup_name_;
  core::RegistryKey key_;
  bool own_type_ = false;
};

}  // namespace

core::String apply_associations(const InstallContext& context) {
  const archive::Settings& settings = context.settings;
  const core::String& language = settings.languages.language_name(settings.languages.current_language());
  AssociationWriter writer(context, association_backup_name(settings.product_name));
  core::String records;
  if (settings.file_associations.is_empty()) return records;
  for (const archive::FileAssociation& association : settings.file_associations) {
    if (!association_applies(association, language)) continue;
    core::String extension = dotted_extension(association.extension);
    core::String file_type = writer.resolve_type(association, extension);
    if (file_type.is_empty()) continue;
    bool done = writer.write_type(association, file_type);
    append_association_record(records, AssociationRecord{extension, file_type, association.verb});
    if (!done) context.records.error_report.append(core::format_text(kNotAssociated, {extension}));
  }
  if (auto notify = core::optional_function<core::Optional::SHChangeNotify>()) {
    notify(kAssociationsChanged, 0, nullptr, nullptr);
  }
  return records;
}

}  // namespace install
