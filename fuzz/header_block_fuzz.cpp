// Fuzz target: the settings and the language tables read from arbitrary header blocks.
// Nothing may read out of bounds or size a list from a damaged count; whatever reads
// cleanly must write back to a block that reads the same.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "archive/environment.h"
#include "archive/language_tables.h"
#include "archive/memory_stream.h"
#include "archive/settings.h"

namespace {

void fail(const char* what) {
  fprintf(stderr, "header_block_fuzz: %s\n", what);
  abort();
}

void check_settings(const uint8_t* data, int32_t size) {
  archive::MemoryStream stream(data, size);
  archive::Settings settings;
  archive::CorruptCode code = archive::read_all_stored_settings(stream, 1 << 20, settings);
  if (stream.position() > stream.size()) fail("position past the end");
  if (code != archive::CorruptCode::None) return;

  archive::MemoryStream written;
  if (archive::write_settings(written, settings) != archive::CorruptCode::None) fail("read settings do not write");
  if (!written.seek(0)) fail("seek");
  archive::Settings again;
  if (archive::read_all_stored_settings(written, 1 << 20, again) != archive::CorruptCode::None)
    fail("written settings do not read");
  if (!(again == settings)) fail("settings changed on the way round");

  archive::NeutralEnvironment environment;
  archive::apply_settings_defaults(settings, core::String(), environment);
  for (int32_t id = -1; id <= settings.languages.string_count(); id += 7)
    settings.languages.localised(id, settings.product_name, environment.windows_directory());
}

void check_tables(const uint8_t* data, int32_t size) {
  archive::MemoryStream stream(data, size);
  archive::LanguageTables tables;
  if (archive::load_language_tables(stream, tables) != archive::CorruptCode::None) {
    if (tables.language_count() != 0) fail("tables kept after a failure");
    return;
  }
  if (tables.current_language() < 0 || tables.current_language() >= tables.language_count()) fail("preselection");
  archive::MemoryStream written;
  if (archive::write_language_tables(written, tables) != archive::CorruptCode::None) fail("tables do not write");
  if (!written.seek(0)) fail("seek");
  archive::LanguageTables again;
  if (archive::load_language_tables(written, again) != archive::CorruptCode::None) fail("tables do not read");
  if (!(again == tables)) fail("tables changed on the way round");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  check_settings(data, static_cast<int32_t>(size));
  check_tables(data, static_cast<int32_t>(size));
  return 0;
}
