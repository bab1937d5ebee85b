// The readers of the project file's sections and of its defines, shared by the
// project file's sources.
#pragma once

#include <toml++/toml.h>

#include "qvin/project/defines.h"
#include "qvin/project/project_model.h"
#include "qvin/project/toml_reader.h"

namespace qvin {

// Replaces every ${name} in the text values of `root` (keys stay as written) with the
// define's value: `command_line` first, else the [defines] table of `root`, which is
// read here and then removed from `root`. "$${" stands for a literal "${". Values are
// inserted as they are, never expanded again. Throws ProjectError at the text for an
// undefined name or a reference that is not ${name}, at the entry for a [defines] entry
// that no text uses, and naming the -D option for a command-line define no text uses.
void expand_defines(toml::table& root, const Defines& command_line, const TomlReader& reader);

// Each reads one table or array of tables of the document into `project`.
void read_files(const TomlReader& reader, const toml::node& node, Project& project);
void read_deletions(const TomlReader& reader, const toml::node& node, Project& project);
void read_associations(const TomlReader& reader, const toml::node& node, Project& project);
void read_uninstall_values(const TomlReader& reader, const toml::node& node, Project& project);
void read_languages(const TomlReader& reader, const toml::node* node, Project& project);

// The tables of an array of tables, each checked to be a table; `name` is the key.
std::vector<const toml::table*> table_array(const TomlReader& reader, const toml::node& node,
                                            std::string_view name);

}  // namespace qvin
