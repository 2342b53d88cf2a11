#include "backends/bass/ModuleStream.h"

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <vector>

#include "backends/bass/AudioLibrary.h"
#include "engine/media/ByteReader.h"

namespace quillo::audio {

// Modules are small; a larger file is no module.
constexpr uint64_t kMaxModuleBytes = 256 * 1024 * 1024;

int RenderRate(int requested, int fallback, int lowest, int highest) {
  if (requested <= 0) return fallback;
  if (requested < lowest) return lowest;
  if (requested > highest) return highest;
  return requested;
}

std::unique_ptr<AudioStream> ModuleStream::Open(const std::string& path, int rate) {
  const std::vector<uint8_t> data = ReadWholeFile(path, kMaxModuleBytes);
  if (data.empty()) return nullptr;
  int error = 0;
  const char* message = nullptr;
  ModulePtr created(openmpt_module_create_from_memory2(
      data.data(), data.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
      nullptr, &error, &message, nullptr));
  if (message != nullptr) openmpt_free_string(message);
  if (!created) return nullptr;
  std::unique_ptr<ModuleStream> stream(new ModuleStream);
  stream->module_ = std::move(created);
  openmpt_module* module = stream->module_.get();
  openmpt_module_set_repeat_count(module, 0);

  const int renderRate = RenderRate(rate, kDefaultOutputRate, 8000, 192000);
  const double seconds = openmpt_module_get_duration_seconds(module);
  if (!(seconds > 0) || seconds > 24 * 3600.0) return nullptr;
  stream->info_ = {renderRate, 2, false, {}};
  stream->SetFrames(static_cast<uint64_t>(std::llround(seconds * renderRate)));
  return stream;
}

size_t ModuleStream::Decode(uint8_t* buffer, size_t bytes) {
  const size_t frames = FramesToDecode(bytes, framesLeft_);
  size_t done = 0;
  while (done < frames) {
    const size_t got = openmpt_module_read_interleaved_stereo(
        module_.get(), info_.freq, frames - done, reinterpret_cast<int16_t*>(buffer) + 2 * done);
    if (got == 0) break;
    done += got;
  }
  framesLeft_ -= done;
  return done * 4;
}

void ReleaseHandle(openmpt_module* module) { openmpt_module_destroy(module); }

}  // namespace quillo::audio
