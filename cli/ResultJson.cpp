#include "cli/ResultJson.h"

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

// The JSON state of a file that ended as `result` says.
const char* StateWord(const FileResult& result, bool cancelled) {
  switch (result.state) {
    case FileResult::State::Converted:
      return "ok";
    case FileResult::State::Skipped:
      return "skipped";
    case FileResult::State::Cancelled:
      return "cancelled";
    case FileResult::State::Partial:
      return "partial";
    case FileResult::State::Failed:
      return result.failure == FileResult::Failure::NoAudio ? "no-audio" : "failed";
    case FileResult::State::NotReached:
      break;
  }
  return cancelled ? "cancelled" : "failed";
}

// Why the file was not converted whole; empty when it was, or was cancelled.
std::string Reason(const FileResult& result, bool cancelled, const std::string& status) {
  switch (result.state) {
    case FileResult::State::Converted:
    case FileResult::State::Cancelled:
      return {};
    case FileResult::State::NotReached:
      return cancelled ? "" : "the run ended before this file";
    case FileResult::State::Skipped:
    case FileResult::State::Partial:
    case FileResult::State::Failed:
      break;
  }
  // A failure the system gave no words for is named by its status.
  return result.reason.empty() ? status : result.reason;
}

}  // namespace

std::string ConversionJsonLine(const FileItem& item, const FileResult& result, bool cancelled) {
  std::string status = OutputCellText(result);
  if (result.state == FileResult::State::NotReached)
    status = cancelled ? kCancelledStatus : "Not converted";
  const std::string reason = Reason(result, cancelled, status);
  JsonLine line = Start(item.path);
  line.Path("output", IsWritten(result.state) ? result.outputPath : "")
      .Text("status", status)
      .Text("state", StateWord(result, cancelled));
  if (result.gain)
    line.Number("volume", *result.gain * 100.0, 2);
  else
    line.Null("volume");
  Properties(line, &item);
  line.Number("seconds", result.seconds, 3);
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
      line.Text("status", "Failed to load").Text("state", result.noAudio ? "no-audio" : "failed");
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
