#include "engine/ResultText.h"

#include "engine/media/FixedText.h"
#include "engine/media/PathName.h"

namespace quillo {

const char* const kSoundFontMissingStatus = "Failure. Requires file \"ct4mgm.sf2\".";
const char* const kNoAudioStatus = "No audio in the file";
const char* const kConversionFailureStatus = "Conversion Failure";
const char* const kCancelledStatus = "Cancelled";

namespace {

std::string FailureText(const FileResult& result) {
  switch (result.failure) {
    case FileResult::Failure::NoAudio:
      return kNoAudioStatus;
    case FileResult::Failure::Refused:
      return result.reason;
    case FileResult::Failure::None:
    case FileResult::Failure::Conversion:
      break;
  }
  if (result.reason.empty()) return kConversionFailureStatus;
  return std::string(kConversionFailureStatus) + " (" + result.reason + ")";
}

}  // namespace

std::string OutputCellText(const FileResult& result, const std::string& outputShown) {
  switch (result.state) {
    case FileResult::State::NotReached:
      return {};
    case FileResult::State::Converted: {
      std::string cell = outputShown.empty() ? FileNamePart(result.outputPath) : outputShown;
      if (!result.note.empty()) cell += " (" + result.note + ")";
      return cell;
    }
    case FileResult::State::Skipped:
      return result.reason;
    case FileResult::State::Cancelled:
      return kCancelledStatus;
    case FileResult::State::Failed:
    case FileResult::State::Partial:
      break;
  }
  return FailureText(result);
}

std::string VolumeCellText(const FileResult& result) {
  if (!result.gain) return {};
  return FixedText(*result.gain * 100.0, 2) + "%";
}

}  // namespace quillo
