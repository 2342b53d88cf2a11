#include "backends/bass/ModuleStream.h"

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "backends/bass/AudioLibrary.h"
#include "engine/media/RegularFile.h"

namespace quillo::audio {

namespace {

// Modules are small; a larger file is no module.
constexpr long kMaxModuleBytes = 256L * 1024 * 1024;

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return {};
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  const long size = std::ftell(file.get());
  if (size <= 0 || size > kMaxModuleBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) return {};
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (std::fread(data.data(), 1, data.size(), file.get()) != data.size()) return {};
  return data;
}

}  // namespace

int RenderRate(int requested, int fallback, int lowest, int highest) {
  if (requested <= 0) return fallback;
  if (requested < lowest) return lowest;
  if (requested > highest) return highest;
  return requested;
}

std::unique_ptr<AudioStream> ModuleStream::Open(const std::string& path, int rate) {
  const std::vector<uint8_t> data = ReadWholeFile(path);
  if (data.empty()) return nullptr;
  int error = 0;
  const char* message = nullptr;
  openmpt_module* module = openmpt_module_create_from_memory2(
      data.data(), data.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
      nullptr, &error, &message, nullptr);
  if (message != nullptr) openmpt_free_string(message);
  if (module == nullptr) return nullptr;
  std::unique_ptr<ModuleStream> stream(new ModuleStream);
  stream->module_ = module;
  openmpt_module_set_repeat_count(module, 0);

  const int renderRate = RenderRate(rate, kDefaultOutputRate, 8000, 192000);
  const double seconds = openmpt_module_get_duration_seconds(module);
  if (!(seconds > 0) || seconds > 24 * 3600.0) return nullptr;
  stream->framesLeft_ = static_cast<uint64_t>(std::llround(seconds * renderRate));
  stream->info_ = {renderRate, 2, false};
  stream->length_ = stream->framesLeft_ * 4;
  return stream;
}

ModuleStream::~ModuleStream() {
  if (module_ != nullptr) openmpt_module_destroy(module_);
}

size_t ModuleStream::Decode(uint8_t* buffer, size_t bytes) {
  size_t frames = bytes / 4;
  if (frames > framesLeft_) frames = static_cast<size_t>(framesLeft_);
  size_t done = 0;
  while (done < frames) {
    const size_t got = openmpt_module_read_interleaved_stereo(
        module_, info_.freq, frames - done, reinterpret_cast<int16_t*>(buffer) + 2 * done);
    if (got == 0) break;
    done += got;
  }
  framesLeft_ -= done;
  return done * 4;
}

}  // namespace quillo::audio
