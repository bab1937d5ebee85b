// The installer's side of loading the archive data: files, questions, progress.
#include "app/data_loading.h"

#include "core/text_format.h"
#include "core/win/file.h"
#include "install/file_byte_source.h"
#include "ui/progress_dialog.h"
#include "ui/reporting.h"
#include "ui/run_state.h"

namespace app {
namespace {

// One open volume file, read through the File object.
struct OpenVolume final : archive::ByteSource {
  core::File file;
  install::FileByteSource reader{file};

  int64_t size() override { return reader.size(); }
  bool read_at(int64_t offset, void* buf, int n) override { return reader.read_at(offset, buf, n); }
};

class FileVolumes final : public archive::VolumeOpener {
 public:
  archive::ByteSource* open_volume(const char* path) override {
    OpenVolume* volume = new OpenVolume;
    if (volume->file.open(path, core::file_open::ReadShared) != core::OpenResult::Opened) {
      delete volume;
      return nullptr;
    }
    return volume;
  }
  // Only sources made by open_volume come back here.
  void close_volume(archive::ByteSource* source) override { delete static_cast<OpenVolume*>(source); }
};

class VolumeQuestions final : public archive::VolumePrompt {
 public:
  bool ask_for_volume(int number, char drive, bool after_wrong_volume) override {
    core::String text;
    if (after_wrong_volume) {
      text.append(ui::localised(archive::text_id::WrongVolume));
      text.append("\r\n\r\n");
    }
    const core::String& request = ui::localised(archive::text_id::VolumeRequest);
    text.append(core::format_text(request.text(), {number, core::FormatArgument::character(drive)}));
    const core::String& caption = ui::localised(archive::text_id::VolumeCaption);
    return ui::message_box(text.text(), caption.text(), MB_ICONQUESTION | MB_OKCANCEL) == IDOK;
  }
  // The progress dialog's cancel question ends the run itself on yes.
  bool confirm_cancel() override {
    ui::confirm_cancel();
    return false;
  }
};

class ShownProgress final : public archive::LoadProgress {
 public:
  void set_progress(int percent) override { ui::set_progress(percent); }
  void stage(archive::LoadStage stage) override {
    const int pause = ui::run_state().settings.min_status_time;
    switch (stage) {
      case archive::LoadStage::Checking:
        ui::wait_minimum(pause);
        ui::set_status_and_progress(archive::text_id::StatusChecking, 36);
        break;
      case archive::LoadStage::Checked:
      case archive::LoadStage::Decompressed:
        ui::wait_minimum(pause);
        break;
      case archive::LoadStage::Decompressing:
        ui::set_status_and_progress(archive::text_id::StatusDecompressing, 40);
        break;
    }
  }
};

}  // namespace

void load_data_or_exit(const archive::ArchiveHeader& header, const archive::ArchiveSection& section,
                       archive::ByteSource& image_section, archive::ByteSource& file, archive::ArchiveData& data) {
  const ui::RunState& state = ui::run_state();
  const archive::DataSources sources =
      archive::data_sources(state.settings, image_section, file, state.environment.installer_directory.text());

  FileVolumes volumes;
  VolumeQuestions questions;
  ShownProgress progress;
  archive::LoadResult result = archive::load_archive_data(header, section, sources, volumes, questions, progress, data);
  switch (result.status) {
    case archive::LoadStatus::Loaded:
      return;
    case archive::LoadStatus::Corrupt:
      ui::report_corrupt(result.code);
    case archive::LoadStatus::ReadFailed:
      ui::fatal_error(archive::kDataReadFailedMessage);
    case archive::LoadStatus::Cancelled:
      ui::exit_installer();
  }
}

}  // namespace app
