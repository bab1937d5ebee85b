// The readers of the project file's sections, shared by project_file.cpp and
// project_lists.cpp.
#pragma once

#include <toml++/toml.h>

#include "qvin/project/project_model.h"
#include "qvin/project/toml_reader.h"

namespace qvin {

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
