#include "cli/ResultJson.h"

#include <cstdlib>

#include "cli/JsonLine.h"
#include "engine/ConversionRun.h"

namespace quillo {

namespace {

// The members every line has first: the source and its probed properties.
JsonLine Start(const std::string& path) {
  JsonLine line;
  line.Path("input", path);
  return line;
}

void Properties(JsonLine& line, const FileItem* item) {
  line.Integer("duration", item != nullptr ? item->duration : 0, item && item->duration > 0)
      .Integer("rate", item != nullptr ? item->sampleRate : 0, item && item->sampleRate > 0)
      .Integer("channels", item != nullptr ? item->channels : 0, item && item->channels > 0)
      .Integer("bitrate", item != nullptr ? item->bitRate : 0, item && item->bitRate > 0);
}

// What went wrong, without the "Conversion Failure (...)" around it.
std::string FailureReason(const std::string& status) {
  const std::string prefix = std::string(kConversionFailureStatus) + " (";
  if (status.size() > prefix.size() && status.rfind(prefix, 0) == 0 && status.back() == ')')
    return status.substr(prefix.size(), status.size() - prefix.size() - 1);
  return status;
}

}  // namespace

std::string ConversionJsonLine(const FileItem& item, const FileResult& result, bool cancelled,
                               double seconds) {
  std::string state;
  std::string reason;
  std::string status = result.status;
  switch (result.state) {
    case FileResult::State::Converted:
      state = "ok";
      break;
    case FileResult::State::Skipped:
      state = "skipped";
      reason = status;
      break;
    case FileResult::State::Cancelled:
      state = "cancelled";
      break;
    case FileResult::State::Partial:
      state = "partial";
      reason = FailureReason(status);
      break;
    case FileResult::State::Failed:
      state = status == kNoAudioStatus ? "no-audio" : "failed";
      reason = FailureReason(status);
      break;
    case FileResult::State::NotReached:
      state = cancelled ? "cancelled" : "failed";
      if (status.empty()) status = cancelled ? kCancelledStatus : "Not converted";
      if (!cancelled) reason = "the run ended before this file";
      break;
  }
  JsonLine line = Start(item.path);
  line.Path("output", IsWritten(result.state) ? result.outputPath : "")
      .Text("status", status)
      .Text("state", state);
  const double volume = std::strtod(result.volume.c_str(), nullptr);
  if (result.volume.empty())
    line.Null("volume");
  else
    line.Number("volume", volume, 2);
  Properties(line, &item);
  line.Number("seconds", seconds, 3);
  if (reason.empty())
    line.Null("reason");
  else
    line.Text("reason", reason);
  if (result.note.empty())
    line.Null("note");
  else
    line.Text("note", result.note);
  if (result.fallbackReason.empty())
    line.Null("fallback");
  else
    line.Text("fallback", result.fallbackReason);
  line.Bool("verified", result.verified);
  return line.Line();
}

std::string ProbeJsonLine(const std::string& path, const FileItem* item, const ProbeResult& result,
                          double seconds) {
  JsonLine line = Start(path);
  line.Null("output");
  switch (result.status) {
    case ProbeResult::Status::Added:
      line.Null("status").Text("state", "ok");
      break;
    case ProbeResult::Status::Duplicate:
      line.Text("status", "Already in the list").Text("state", "skipped");
      break;
    case ProbeResult::Status::Failed:
      // A file without sound is told apart as in a conversion.
      line.Text("status", "Failed to load")
          .Text("state", result.detail == kNoAudioStatus ? "no-audio" : "failed");
      break;
  }
  line.Null("volume");
  Properties(line, item);
  line.Number("seconds", seconds, 3);
  if (result.status == ProbeResult::Status::Failed)
    line.Text("reason", result.detail.empty() ? "Failed to load the file" : result.detail);
  else if (result.status == ProbeResult::Status::Duplicate)
    line.Text("reason", "the same file is listed before");
  else
    line.Null("reason");
  line.Null("fallback");
  return line.Line();
}

}  // namespace quillo
